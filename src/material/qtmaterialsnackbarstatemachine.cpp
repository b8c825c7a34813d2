#include "qtmaterialsnackbarstatemachine.h"
#include "qtmaterialsnackbar.h"
#include "qtmaterialstatetransition.h"

#include <QEvent>
#include <QPropertyAnimation>
#include <QState>

QtMaterialSnackbarStateMachine::QtMaterialSnackbarStateMachine(QtMaterialSnackbar *parent)
    : QStateMachine(parent), m_snackbar(parent)
{
    Q_ASSERT(parent);

    m_timer.setSingleShot(true);

    m_hiddenState = new QState(this);
    m_visibleState = new QState(this);
    m_finalState = new QState(this);
    m_hiddenState->setObjectName(QStringLiteral("hidden"));
    m_visibleState->setObjectName(QStringLiteral("visible"));
    m_finalState->setObjectName(QStringLiteral("final"));

    setInitialState(m_hiddenState);

    auto addTransition = [](QState *from, QtMaterialStateTransitionType kind, QState *to) {
        auto *transition = new QtMaterialStateTransition(kind);
        transition->setTargetState(to);
        from->addTransition(transition);
    };
    addTransition(m_hiddenState, KindSnackbarShow, m_visibleState);
    addTransition(m_hiddenState, KindSnackbarHide, m_visibleState);
    addTransition(m_visibleState, KindSnackbarHide, m_finalState);
    addTransition(m_finalState, KindSnackbarWait, m_hiddenState);
    addTransition(m_finalState, KindSnackbarNext, m_visibleState);

    connect(m_visibleState, SIGNAL(propertiesAssigned()), this, SLOT(snackbarShown()));
    connect(m_finalState, SIGNAL(propertiesAssigned()), parent, SLOT(dequeue()));

    m_animation = new QPropertyAnimation(this, "offset", this);
    m_animation->setEasingCurve(QEasingCurve::OutCubic);
    m_animation->setDuration(SlideDuration);
    addDefaultAnimation(m_animation);

    m_hiddenState->assignProperty(this, "offset", 1);
    m_visibleState->assignProperty(this, "offset", 0);
    m_finalState->assignProperty(this, "offset", 1);

    connect(&m_timer, &QTimer::timeout, this, &QtMaterialSnackbarStateMachine::progress);

    m_snackbar->installEventFilter(this);
}

QtMaterialSnackbarStateMachine::~QtMaterialSnackbarStateMachine() = default;

void QtMaterialSnackbarStateMachine::setOffset(qreal offset)
{
    m_offset = offset;
    m_snackbar->update();
}

void QtMaterialSnackbarStateMachine::progress()
{
    m_timer.stop();
    postEvent(new QtMaterialStateTransitionEvent(KindSnackbarHide));
    if (m_snackbar->clickToDismissMode())
        m_snackbar->setAttribute(Qt::WA_TransparentForMouseEvents, true);
}

void QtMaterialSnackbarStateMachine::snackbarShown()
{
    m_timer.start(m_snackbar->autoHideDuration());
    if (m_snackbar->clickToDismissMode())
        m_snackbar->setAttribute(Qt::WA_TransparentForMouseEvents, false);
}

bool QtMaterialSnackbarStateMachine::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_snackbar && event->type() == QEvent::MouseButtonPress
        && m_snackbar->clickToDismissMode())
        progress();
    return QStateMachine::eventFilter(watched, event);
}
