#pragma once

#include "qtmaterialcheckable.h"

#include <QColor>
#include <QPointer>

class QSignalTransition;
class QState;
class QStateMachine;
class QtMaterialCheckableIcon;
class QtMaterialRippleOverlay;

// Data and set-up of a checkable; the check box and the radio button extend it.
class QtMaterialCheckablePrivate
{
    Q_DISABLE_COPY(QtMaterialCheckablePrivate)
    Q_DECLARE_PUBLIC(QtMaterialCheckable)

public:
    explicit QtMaterialCheckablePrivate(QtMaterialCheckable *q);
    virtual ~QtMaterialCheckablePrivate();

    void init();

    // The overlay's place: the button's geometry in its parent, 8 pixels larger on
    // every side, so that the ripple may spread beyond the button.

    QtMaterialCheckable *const q_ptr;
    // Lives on the parent widget; guarded because the parent may go first.
    QPointer<QtMaterialRippleOverlay> rippleOverlay;
    QtMaterialCheckableIcon *checkedIcon = nullptr;
    QtMaterialCheckableIcon *uncheckedIcon = nullptr;
    QStateMachine *stateMachine = nullptr;
    QState *uncheckedState = nullptr;
    QState *checkedState = nullptr;
    QState *disabledUncheckedState = nullptr;
    QState *disabledCheckedState = nullptr;
    QSignalTransition *uncheckedTransition = nullptr;
    QSignalTransition *checkedTransition = nullptr;
    QtMaterialCheckable::LabelPosition labelPosition = QtMaterialCheckable::LabelOnRight;
    QColor checkedColor;
    QColor uncheckedColor;
    QColor textColor;
    QColor disabledColor;
    bool useThemeColors = true;
};
