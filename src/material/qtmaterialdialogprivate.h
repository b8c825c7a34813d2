#pragma once

#include "qtmaterialstatetransitionevent.h"

#include <QtGlobal>

class QStackedLayout;
class QStateMachine;
class QtMaterialDialog;
class QtMaterialDialogProxy;
class QtMaterialDialogWindow;

// Data and set-up of a dialog: the card, the stack that shows either the card or
// its stand-in image, and the two-state machine that fades between them.
class QtMaterialDialogPrivate
{
    Q_DISABLE_COPY(QtMaterialDialogPrivate)
    Q_DECLARE_PUBLIC(QtMaterialDialog)

public:
    explicit QtMaterialDialogPrivate(QtMaterialDialog *q);
    ~QtMaterialDialogPrivate();

    void init();
    // Posts the transition, or keeps it until the machine runs.
    void request(QtMaterialStateTransitionType kind);

    QtMaterialDialog *const q_ptr;
    QtMaterialDialogWindow *dialogWindow = nullptr;
    QStackedLayout *proxyStack = nullptr;
    QStateMachine *stateMachine = nullptr;
    QtMaterialDialogProxy *proxy = nullptr;
    // The last show or hide asked for before the machine ran (0: none).
    int pendingKind = 0;
};
