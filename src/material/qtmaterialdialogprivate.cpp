#include "qtmaterialdialogprivate.h"
#include "qtmaterialdialog.h"
#include "qtmaterialdialogproxy.h"
#include "qtmaterialdialogwindow.h"
#include "qtmaterialstatetransition.h"

#include <QGraphicsDropShadowEffect>
#include <QPropertyAnimation>
#include <QStackedLayout>
#include <QState>
#include <QStateMachine>
#include <QVBoxLayout>

namespace {

const int kShadowAlpha = 200;
// The card's offset while hidden: the outer layout's bottom margin that lifts it
// 100 pixels above the centre.
const int kHiddenOffset = 200;

QColor shadow(int alpha)
{
    return QColor(0, 0, 0, alpha);
}

} // namespace

QtMaterialDialogPrivate::QtMaterialDialogPrivate(QtMaterialDialog *q)
    : q_ptr(q)
{
}

QtMaterialDialogPrivate::~QtMaterialDialogPrivate() = default;

void QtMaterialDialogPrivate::init()
{
    Q_Q(QtMaterialDialog);

    dialogWindow = new QtMaterialDialogWindow(q);
    proxyStack = new QStackedLayout;
    stateMachine = new QStateMachine(q);
    proxy = new QtMaterialDialogProxy(dialogWindow, proxyStack, q);

    auto *layout = new QVBoxLayout;
    q->setLayout(layout);

    auto *widget = new QWidget;
    widget->setLayout(proxyStack);
    widget->setMinimumWidth(400);

    auto *effect = new QGraphicsDropShadowEffect;
    effect->setColor(shadow(kShadowAlpha));
    effect->setBlurRadius(64);
    effect->setOffset(0, 13);
    widget->setGraphicsEffect(effect);

    layout->addWidget(widget);
    layout->setAlignment(widget, Qt::AlignCenter);

    proxyStack->addWidget(dialogWindow);
    proxyStack->addWidget(proxy);
    proxyStack->setCurrentIndex(1);

    q->setAttribute(Qt::WA_TransparentForMouseEvents);

    auto *hiddenState = new QState;
    auto *visibleState = new QState;
    hiddenState->setObjectName(QStringLiteral("hidden"));
    visibleState->setObjectName(QStringLiteral("visible"));
    stateMachine->addState(hiddenState);
    stateMachine->addState(visibleState);
    stateMachine->setInitialState(hiddenState);

    auto *show = new QtMaterialStateTransition(KindDialogShow);
    show->setTargetState(visibleState);
    hiddenState->addTransition(show);
    auto *hide = new QtMaterialStateTransition(KindDialogHide);
    hide->setTargetState(hiddenState);
    visibleState->addTransition(hide);

    visibleState->assignProperty(proxy, "opacity", 1);
    visibleState->assignProperty(effect, "color", shadow(kShadowAlpha));
    visibleState->assignProperty(dialogWindow, "offset", 0);
    hiddenState->assignProperty(proxy, "opacity", 0);
    hiddenState->assignProperty(effect, "color", shadow(0));
    hiddenState->assignProperty(dialogWindow, "offset", kHiddenOffset);

    auto addAnimation = [this](QObject *target, const char *property, QEasingCurve::Type easing) {
        auto *animation = new QPropertyAnimation(target, property, stateMachine);
        animation->setDuration(QtMaterialDialog::TransitionDuration);
        animation->setEasingCurve(easing);
        stateMachine->addDefaultAnimation(animation);
    };
    addAnimation(proxy, "opacity", QEasingCurve::Linear);
    addAnimation(effect, "color", QEasingCurve::Linear);
    addAnimation(dialogWindow, "offset", QEasingCurve::OutCirc);

    QObject::connect(visibleState, &QState::propertiesAssigned, proxy,
                     &QtMaterialDialogProxy::makeOpaque);
    QObject::connect(hiddenState, &QState::propertiesAssigned, proxy,
                     &QtMaterialDialogProxy::makeTransparent);

    // The machine enters its initial state only when the event loop next runs;
    // the hidden state's values are in place from the start instead, and a show
    // or hide asked for in the meantime is handed on once the machine runs.
    proxy->makeTransparent();
    effect->setColor(shadow(0));
    dialogWindow->setOffset(kHiddenOffset);

    QObject::connect(stateMachine, &QStateMachine::started, q, [this]() {
        if (pendingKind)
            request(QtMaterialStateTransitionType(pendingKind));
        pendingKind = 0;
    });
    stateMachine->start();
}

void QtMaterialDialogPrivate::request(QtMaterialStateTransitionType kind)
{
    if (stateMachine->isRunning())
        stateMachine->postEvent(new QtMaterialStateTransitionEvent(kind));
    else
        pendingKind = kind;
}
