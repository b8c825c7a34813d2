#include "qtmaterialsliderthumb.h"
#include "qtmaterialslider.h"
#include "qtmaterialsliderprivate.h"

#include <QEvent>
#include <QPainter>

QtMaterialSliderThumb::QtMaterialSliderThumb(QtMaterialSlider *slider)
    : QtMaterialOverlayWidget(slider->parentWidget()), m_slider(slider)
{
    slider->installEventFilter(this);
    setAttribute(Qt::WA_TransparentForMouseEvents, true);
    if (parentWidget())
        setGeometry(overlayGeometry());
}

QtMaterialSliderThumb::~QtMaterialSliderThumb() = default;

void QtMaterialSliderThumb::setDiameter(qreal diameter)
{
    m_diameter = diameter;
    updateThumb();
}

void QtMaterialSliderThumb::setBorderWidth(qreal width)
{
    m_borderWidth = width;
    updateThumb();
}

void QtMaterialSliderThumb::setBorderColor(const QColor &color)
{
    m_borderColor = color;
    updateThumb();
}

void QtMaterialSliderThumb::setFillColor(const QColor &color)
{
    m_fillColor = color;
    updateThumb();
}

void QtMaterialSliderThumb::setHaloSize(qreal size)
{
    m_haloSize = size;
    updateThumb();
}

void QtMaterialSliderThumb::setHaloColor(const QColor &color)
{
    m_haloColor = color;
    updateThumb();
}

void QtMaterialSliderThumb::setOffset(int offset)
{
    m_offset = offset;
    update();
}

QRect QtMaterialSliderThumb::thumbArea() const
{
    if (!m_slider)
        return QRect();
    const QRectF box = m_slider->d_func()->thumbBoundingRect();
    return box.toAlignedRect().translated(m_slider->pos());
}

void QtMaterialSliderThumb::updateThumb()
{
    // Only the knob's box changes while the properties animate.
    update(thumbArea().adjusted(-2, -2, 2, 2));
}

bool QtMaterialSliderThumb::eventFilter(QObject *obj, QEvent *event)
{
    if (m_slider && obj == m_slider.data())
        QtMaterialSliderPrivate::followSlider(this, m_slider.data(), event);
    return QtMaterialOverlayWidget::eventFilter(obj, event);
}

void QtMaterialSliderThumb::paintEvent(QPaintEvent *event)
{
    Q_UNUSED(event)

    // A hidden slider shows no thumb.
    if (!m_slider || m_slider->isHidden() || m_slider->parentWidget() != parentWidget())
        return;

    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);

    const QRectF box = m_slider->d_func()->thumbBoundingRect();
    const QPointF c(m_slider->x() + box.x() + QtMaterialSliderPrivate::ThumbBox / 2,
                    m_slider->y() + box.y() + QtMaterialSliderPrivate::ThumbBox / 2);

    // The halo.
    painter.setPen(Qt::NoPen);
    painter.setBrush(m_haloColor);
    painter.setOpacity(0.15);
    painter.drawEllipse(c, m_haloSize / 2, m_haloSize / 2);
    painter.setOpacity(1);

    // The knob: filled above the minimum, a ring at it; small when disabled.
    const bool disabled = !m_slider->isEnabled();
    const bool atMinimum = m_slider->value() == m_slider->minimum();

    if (disabled && atMinimum)
        painter.setBrush(Qt::NoBrush);
    else
        painter.setBrush(disabled ? m_slider->disabledColor() : m_fillColor);

    if (disabled && !atMinimum) {
        painter.setPen(Qt::NoPen);
    } else {
        const qreal width = disabled ? 1.7 : m_borderWidth;
        // A zero width would draw a hairline: no border then.
        if (width > 0)
            painter.setPen(QPen(m_borderColor, width));
        else
            painter.setPen(Qt::NoPen);
    }

    const qreal diameter = disabled ? 7 : m_diameter;
    painter.drawEllipse(c, diameter / 2, diameter / 2);
}
