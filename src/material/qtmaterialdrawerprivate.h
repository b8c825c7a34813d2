#pragma once

#include <QtGlobal>

class QWidget;
class QtMaterialDrawer;
class QtMaterialDrawerStateMachine;
class QtMaterialDrawerWidget;

// Data and set-up of a drawer.
class QtMaterialDrawerPrivate
{
    Q_DISABLE_COPY(QtMaterialDrawerPrivate)
    Q_DECLARE_PUBLIC(QtMaterialDrawer)

public:
    explicit QtMaterialDrawerPrivate(QtMaterialDrawer *q);
    ~QtMaterialDrawerPrivate();

    void init();
    // Starts the slide in or out, or keeps the wish until the machine runs.
    void request(bool open);

    QtMaterialDrawer *const q_ptr;
    QtMaterialDrawerWidget *drawerWidget = nullptr;
    QtMaterialDrawerStateMachine *stateMachine = nullptr;
    QWidget *window = nullptr;
    int width = 250;
    bool clickToClose = false;
    bool autoRaise = true;
    bool overlay = false;
    // Opened before the machine ran: opens once it does.
    bool pendingOpen = false;
};
