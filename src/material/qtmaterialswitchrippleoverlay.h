#pragma once

#include "qtmaterialrippleoverlay.h"

class QtMaterialSwitch;
class QtMaterialSwitchThumb;
class QtMaterialSwitchTrack;

// The ripple overlay of a switch. It lies on the switch's parent around the switch
// and moves with the thumb, so that the ripple spreads from the thumb.
class QtMaterialSwitchRippleOverlay : public QtMaterialRippleOverlay
{
    Q_OBJECT

public:
    QtMaterialSwitchRippleOverlay(QtMaterialSwitchThumb *thumb, QtMaterialSwitchTrack *track,
                                  QtMaterialSwitch *parent);
    ~QtMaterialSwitchRippleOverlay() override;

public slots:
    void addSwitchRipple();

protected:
    bool eventFilter(QObject *obj, QEvent *event) override;
    QRect overlayGeometry() const override;

private:
    Q_DISABLE_COPY(QtMaterialSwitchRippleOverlay)

    QtMaterialSwitch *const m_switch;
    QtMaterialSwitchThumb *const m_thumb;
    QtMaterialSwitchTrack *const m_track;
};
