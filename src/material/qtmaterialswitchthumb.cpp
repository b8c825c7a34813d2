#include "qtmaterialswitchthumb.h"
#include "qtmaterialswitch.h"

#include <QGraphicsDropShadowEffect>
#include <QPainter>

QtMaterialSwitchThumb::QtMaterialSwitchThumb(QtMaterialSwitch *parent)
    : QWidget(parent), m_switch(parent)
{
    auto *effect = new QGraphicsDropShadowEffect;
    effect->setBlurRadius(6);
    effect->setColor(QColor(0, 0, 0, 80));
    effect->setOffset(QPointF(0, 1));
    setGraphicsEffect(effect);
}

QtMaterialSwitchThumb::~QtMaterialSwitchThumb() = default;

void QtMaterialSwitchThumb::setShift(qreal shift)
{
    if (m_shift == shift)
        return;
    m_shift = shift;
    updateOffset();
}

void QtMaterialSwitchThumb::setThumbColor(const QColor &color)
{
    m_thumbColor = color;
    update();
}

void QtMaterialSwitchThumb::updateOffset()
{
    const QSize s = size();
    m_offset = m_shift * (qMax(s.width(), s.height()) - qMin(s.width(), s.height()));
    update();
}

void QtMaterialSwitchThumb::resizeEvent(QResizeEvent *event)
{
    updateOffset();
    QWidget::resizeEvent(event);
}

void QtMaterialSwitchThumb::paintEvent(QPaintEvent *event)
{
    Q_UNUSED(event)

    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);

    const bool horizontal = m_switch->orientation() == Qt::Horizontal;
    const int diameter = qMin(width(), height()) - 10;
    const QRectF disc = horizontal ? QRectF(5 + m_offset, 5, diameter, diameter)
                                   : QRectF(5, 5 + m_offset, diameter, diameter);

    if (m_switch->isEnabled()) {
        painter.setBrush(m_thumbColor);
        painter.drawEllipse(disc);
    } else {
        painter.setBrush(Qt::white);
        painter.drawEllipse(disc);
        painter.setBrush(m_switch->disabledColor());
        painter.drawEllipse(disc);
    }
}
