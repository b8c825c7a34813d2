#include "qtmaterialswitchrippleoverlay.h"
#include "qtmaterialripple.h"
#include "qtmaterialswitch.h"
#include "qtmaterialswitchthumb.h"
#include "qtmaterialswitchtrack.h"

#include <QEvent>

QtMaterialSwitchRippleOverlay::QtMaterialSwitchRippleOverlay(QtMaterialSwitchThumb *thumb,
                                                             QtMaterialSwitchTrack *track,
                                                             QtMaterialSwitch *parent)
    : QtMaterialRippleOverlay(nullptr), m_switch(parent), m_thumb(thumb), m_track(track)
{
    connect(parent, &QAbstractButton::toggled, this, &QtMaterialSwitchRippleOverlay::addSwitchRipple);
    thumb->installEventFilter(this);
    // The geometry comes from overlayGeometry(); the switch is only followed.
    followWidget(parent, FollowGeometry());
}

QtMaterialSwitchRippleOverlay::~QtMaterialSwitchRippleOverlay() = default;

void QtMaterialSwitchRippleOverlay::addSwitchRipple()
{
    if (!m_switch->isEnabled())
        return;

    const bool horizontal = m_switch->orientation() == Qt::Horizontal;
    const int t = (horizontal ? m_track->height() : m_track->width()) / 2;
    auto *ripple = new QtMaterialRipple(QPoint(t + 10, t + 20));
    ripple->setColor(m_track->trackColor());
    ripple->setRadiusEndValue(t + 10);
    ripple->setOpacityStartValue(0.8);
    addRipple(ripple);
}

bool QtMaterialSwitchRippleOverlay::eventFilter(QObject *obj, QEvent *event)
{
    // The thumb repaints whenever it moves: the overlay goes with it and the ripples
    // take the track's colour of the moment.
    if (event->type() == QEvent::Paint && obj == m_thumb) {
        const QRect r = overlayGeometry();
        if (parentWidget() && geometry() != r)
            setGeometry(r);
        const QColor color = m_track->trackColor();
        for (QtMaterialRipple *ripple : ripples())
            ripple->setColor(color);
    }
    return QtMaterialRippleOverlay::eventFilter(obj, event);
}

QRect QtMaterialSwitchRippleOverlay::overlayGeometry() const
{
    const int offset = static_cast<int>(m_thumb->offset());
    const QRect g = m_switch->geometry();
    if (m_switch->orientation() == Qt::Horizontal)
        return g.adjusted(offset - 10, -20, offset + 10, 20);
    return g.adjusted(-10, offset - 20, 10, offset + 20);
}
