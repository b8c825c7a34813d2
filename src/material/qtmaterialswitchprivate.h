#pragma once

#include "qtmaterialswitch.h"

#include <QColor>
#include <QPointer>

class QSignalTransition;
class QState;
class QStateMachine;
class QtMaterialSwitchRippleOverlay;
class QtMaterialSwitchThumb;
class QtMaterialSwitchTrack;

// Data and set-up of a switch: its thumb and track, the ripple overlay on the
// parent and the two-state machine that slides the thumb and fades the colours.
class QtMaterialSwitchPrivate
{
    Q_DISABLE_COPY(QtMaterialSwitchPrivate)
    Q_DECLARE_PUBLIC(QtMaterialSwitch)

public:
    explicit QtMaterialSwitchPrivate(QtMaterialSwitch *q);
    ~QtMaterialSwitchPrivate();

    void init();
    void setupProperties();

    QtMaterialSwitch *const q_ptr;
    QtMaterialSwitchTrack *track = nullptr;
    QtMaterialSwitchThumb *thumb = nullptr;
    // Lives on the parent widget; guarded because the parent may go first.
    QPointer<QtMaterialSwitchRippleOverlay> rippleOverlay;
    QStateMachine *stateMachine = nullptr;
    QState *offState = nullptr;
    QState *onState = nullptr;
    QSignalTransition *toOnTransition = nullptr;
    QSignalTransition *toOffTransition = nullptr;
    Qt::Orientation orientation = Qt::Horizontal;
    QColor disabledColor;
    QColor activeColor;
    QColor inactiveColor;
    QColor trackColor;
    QColor textColor;
    bool useThemeColors = true;
};
