#include "qtmaterialslidertrack.h"
#include "qtmaterialslider.h"
#include "qtmaterialsliderprivate.h"
#include "qtmaterialsliderthumb.h"

#include <QEvent>
#include <QPainter>

QtMaterialSliderTrack::QtMaterialSliderTrack(QtMaterialSliderThumb *thumb,
                                             QtMaterialSlider *slider)
    : QtMaterialOverlayWidget(slider->parentWidget()), m_slider(slider), m_thumb(thumb)
{
    slider->installEventFilter(this);
    setAttribute(Qt::WA_TransparentForMouseEvents, true);
    if (parentWidget())
        setGeometry(overlayGeometry());

    connect(slider, &QAbstractSlider::sliderMoved, this, [this] { update(); });
}

QtMaterialSliderTrack::~QtMaterialSliderTrack() = default;

void QtMaterialSliderTrack::setFillColor(const QColor &color)
{
    m_fillColor = color;
    update();
}

void QtMaterialSliderTrack::setTrackWidth(int width)
{
    m_trackWidth = width;
    update();
}

bool QtMaterialSliderTrack::eventFilter(QObject *obj, QEvent *event)
{
    if (m_slider && obj == m_slider.data())
        QtMaterialSliderPrivate::followSlider(this, m_slider.data(), event);
    return QtMaterialOverlayWidget::eventFilter(obj, event);
}

void QtMaterialSliderTrack::paintEvent(QPaintEvent *event)
{
    Q_UNUSED(event)

    // A hidden slider shows no track.
    if (!m_slider || m_slider->isHidden() || m_slider->parentWidget() != parentWidget())
        return;

    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);

    const bool disabled = !m_slider->isEnabled();
    const QBrush valueBrush(disabled ? m_slider->disabledColor() : m_slider->thumbColor());
    const QBrush restBrush(disabled ? m_slider->disabledColor() : m_fillColor);

    const bool horizontal = m_slider->orientation() == Qt::Horizontal;
    const int margin = QtMaterialSliderPrivate::Margin;
    const int w = m_slider->width();
    const int h = m_slider->height();
    const int length = m_slider->d_func()->usableLength();
    const int offset = m_thumb ? m_thumb->offset() : 0;
    const qreal tw = m_trackWidth;

    QRectF box;
    QRectF valuePart;
    QRectF restPart;
    if (horizontal) {
        painter.translate(m_slider->x() + margin, m_slider->y() + h / 2 - tw * 0.5);
        box = QRectF(0, 0, length, tw);
        valuePart = QRectF(0, 0, offset, tw);
        restPart = QRectF(offset, 0, w, tw).intersected(box);
    } else {
        painter.translate(m_slider->x() + w / 2 - tw * 0.5, m_slider->y() + margin);
        box = QRectF(0, 0, tw, length);
        valuePart = QRectF(0, 0, tw, offset);
        restPart = QRectF(0, offset, tw, h).intersected(box);
    }

    if (disabled) {
        // A gap opens around the small knob, along the slider's long axis.
        if (horizontal) {
            if (valuePart.width() >= 9)
                valuePart.setWidth(valuePart.width() - 6);
            else
                valuePart = QRectF();
            if (restPart.width() >= 9)
                restPart.setLeft(restPart.left() + 6);
            else
                restPart = QRectF();
        } else {
            if (valuePart.height() >= 9)
                valuePart.setHeight(valuePart.height() - 6);
            else
                valuePart = QRectF();
            if (restPart.height() >= 9)
                restPart.setTop(restPart.top() + 6);
            else
                restPart = QRectF();
        }
    }

    if (m_slider->invertedAppearance())
        qSwap(valuePart, restPart);

    if (restPart.isValid())
        painter.fillRect(restPart, restBrush);
    if (valuePart.isValid())
        painter.fillRect(valuePart, valueBrush);
}
