#pragma once

#include <QEvent>

// What happened, as told by a widget to its own state machine.
enum QtMaterialStateTransitionType {
    // Snackbar
    KindSnackbarShow = 1,
    KindSnackbarHide,
    KindSnackbarWait,
    KindSnackbarNext,
    // Flat button
    KindButtonPressed,
    KindButtonChecked,
    KindButtonUnchecked,
    // Slider
    KindSliderToMinimum = 10,
    KindSliderFromMinimum,
    KindSliderHoverEnter,
    KindSliderHoverLeave,
    // Dialog
    KindDialogShow,
    KindDialogHide,
    // Scroll bar
    KindScrollBarValueChanged
};

// The event (type QEvent::User + 1) that carries a state-transition kind.
class QtMaterialStateTransitionEvent : public QEvent
{
public:
    static constexpr QEvent::Type EventType = QEvent::Type(QEvent::User + 1);

    explicit QtMaterialStateTransitionEvent(QtMaterialStateTransitionType type)
        : QEvent(EventType), kind(type)
    {
    }

    QtMaterialStateTransitionType kind;
};
