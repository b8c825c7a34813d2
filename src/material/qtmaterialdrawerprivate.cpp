#include "qtmaterialdrawerprivate.h"
#include "qtmaterialdrawer.h"
#include "qtmaterialdrawerstatemachine.h"
#include "qtmaterialdrawerwidget.h"

#include <QVBoxLayout>

QtMaterialDrawerPrivate::QtMaterialDrawerPrivate(QtMaterialDrawer *q)
    : q_ptr(q)
{
}

QtMaterialDrawerPrivate::~QtMaterialDrawerPrivate() = default;

void QtMaterialDrawerPrivate::init()
{
    Q_Q(QtMaterialDrawer);

    drawerWidget = new QtMaterialDrawerWidget;
    stateMachine = new QtMaterialDrawerStateMachine(drawerWidget, q);
    window = new QWidget;
    width = 250;
    clickToClose = false;
    autoRaise = true;
    overlay = false;

    auto *layout = new QVBoxLayout;
    layout->addWidget(window);
    drawerWidget->setLayout(layout);
    drawerWidget->setFixedWidth(width + QtMaterialDrawerWidget::ShadowWidth);
    drawerWidget->setParent(q);

    // The machine enters its closed state only when the event loop next runs; the
    // closed state's values are in place from the start instead, and an opening
    // asked for in the meantime follows once the machine runs.
    stateMachine->updatePropertyAssignments();
    drawerWidget->setOffset(stateMachine->closedOffset());
    stateMachine->setOpacity(0);

    QObject::connect(stateMachine, &QStateMachine::started, q, [this]() {
        if (pendingOpen)
            request(true);
        pendingOpen = false;
    });
    stateMachine->start();
    q->hide();
}

void QtMaterialDrawerPrivate::request(bool open)
{
    if (!stateMachine->isRunning())
        pendingOpen = open;
    else if (open)
        emit stateMachine->signalOpen();
    else
        emit stateMachine->signalClose();
}
