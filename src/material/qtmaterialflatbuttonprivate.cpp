#include "qtmaterialflatbuttonprivate.h"
#include "qtmaterialflatbutton.h"
#include "qtmaterialflatbuttonstatemachine.h"
#include "qtmaterialrippleoverlay.h"
#include "qtmaterialstyle.h"

#include <QEventTransition>
#include <QGraphicsDropShadowEffect>
#include <QPainterPath>
#include <QPropertyAnimation>
#include <QState>
#include <QStateMachine>

QtMaterialFlatButtonPrivate::QtMaterialFlatButtonPrivate(QtMaterialFlatButton *q)
    : q_ptr(q)
{
}

QtMaterialFlatButtonPrivate::~QtMaterialFlatButtonPrivate() = default;

void QtMaterialFlatButtonPrivate::init()
{
    Q_Q(QtMaterialFlatButton);

    // The field defaults are set by the member initialisers.
    q->setStyle(&QtMaterialStyle::instance());
    q->setAttribute(Qt::WA_Hover);
    q->setMouseTracking(true);
    q->setFont(QtMaterialStyle::instance().themeFont(Material::ButtonText));

    rippleOverlay = new QtMaterialRippleOverlay(q);
    QPainterPath path;
    path.addRoundedRect(q->rect(), cornerRadius, cornerRadius);
    rippleOverlay->setClipShape(path);
    rippleOverlay->setClipEnabled(true);

    stateMachine = new QtMaterialFlatButtonStateMachine(q);
    stateMachine->setupProperties();
    stateMachine->startAnimations();
}

void QtMaterialFlatButtonPrivate::initRaiseEffect()
{
    Q_Q(QtMaterialFlatButton);

    shadowEffect = new QGraphicsDropShadowEffect;
    shadowEffect->setBlurRadius(7);
    shadowEffect->setOffset(QPointF(0, 2));
    shadowEffect->setColor(QColor(0, 0, 0, 75));
    if (!q->isEnabled())
        shadowEffect->setEnabled(false);
    q->setGraphicsEffect(shadowEffect);

    q->setMinimumHeight(42);
    baseOpacity = 0.3;
    stateMachine->setupProperties();

    raiseMachine = new QStateMachine(q);
    raiseNormalState = new QState(raiseMachine);
    raisePressedState = new QState(raiseMachine);

    raiseNormalState->assignProperty(shadowEffect, "offset", QPointF(0, 2));
    raiseNormalState->assignProperty(shadowEffect, "blurRadius", 7);
    raisePressedState->assignProperty(shadowEffect, "offset", QPointF(0, 5));
    raisePressedState->assignProperty(shadowEffect, "blurRadius", 29);

    auto *transition = new QEventTransition(q, QEvent::MouseButtonPress);
    transition->setTargetState(raisePressedState);
    raiseNormalState->addTransition(transition);

    transition = new QEventTransition(q, QEvent::MouseButtonDblClick);
    transition->setTargetState(raisePressedState);
    raiseNormalState->addTransition(transition);

    transition = new QEventTransition(q, QEvent::MouseButtonRelease);
    transition->setTargetState(raiseNormalState);
    raisePressedState->addTransition(transition);

    auto *animation = new QPropertyAnimation(shadowEffect, "offset", raiseMachine);
    animation->setDuration(100);
    raiseMachine->addDefaultAnimation(animation);

    animation = new QPropertyAnimation(shadowEffect, "blurRadius", raiseMachine);
    animation->setDuration(100);
    raiseMachine->addDefaultAnimation(animation);

    raiseMachine->setInitialState(raiseNormalState);
    raiseMachine->start();
}

void QtMaterialFlatButtonPrivate::removeRaiseEffect()
{
    Q_Q(QtMaterialFlatButton);

    // The machine animates the effect: it goes first.
    delete raiseMachine;
    raiseMachine = nullptr;
    raiseNormalState = nullptr;
    raisePressedState = nullptr;

    if (shadowEffect) {
        if (q->graphicsEffect() == shadowEffect)
            q->setGraphicsEffect(nullptr);
        shadowEffect = nullptr;
    }
}

bool QtMaterialFlatButtonPrivate::isTranparent() const
{
    return type == Material::TextButton || type == Material::OutlinedButton;
}
