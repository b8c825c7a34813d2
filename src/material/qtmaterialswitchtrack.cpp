#include "qtmaterialswitchtrack.h"
#include "qtmaterialswitch.h"

#include <QPainter>

QtMaterialSwitchTrack::QtMaterialSwitchTrack(QtMaterialSwitch *parent)
    : QWidget(parent), m_switch(parent)
{
}

QtMaterialSwitchTrack::~QtMaterialSwitchTrack() = default;

void QtMaterialSwitchTrack::setTrackColor(const QColor &color)
{
    m_trackColor = color;
    update();
}

void QtMaterialSwitchTrack::paintEvent(QPaintEvent *event)
{
    Q_UNUSED(event)

    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);

    if (m_switch->isEnabled()) {
        painter.setBrush(m_trackColor);
        painter.setOpacity(0.8);
    } else {
        painter.setBrush(m_switch->disabledColor());
        painter.setOpacity(0.6);
    }

    // A pill 14 pixels in from both ends, centred across the track.
    const bool horizontal = m_switch->orientation() == Qt::Horizontal;
    const int shortSide = horizontal ? height() : width();
    const int longSide = horizontal ? width() : height();
    const int q = shortSide / 4;
    const int thickness = shortSide / 2 - 8;
    const int radius = q - 4;
    if (horizontal)
        painter.drawRoundedRect(QRect(14, q + 4, longSide - 28, thickness), radius, radius);
    else
        painter.drawRoundedRect(QRect(q + 4, 14, thickness, longSide - 28), radius, radius);
}
