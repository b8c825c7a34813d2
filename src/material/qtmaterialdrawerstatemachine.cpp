#include "qtmaterialdrawerstatemachine.h"
#include "qtmaterialdrawer.h"
#include "qtmaterialdrawerwidget.h"

#include <QPropertyAnimation>
#include <QSignalTransition>
#include <QState>

QtMaterialDrawerStateMachine::QtMaterialDrawerStateMachine(QtMaterialDrawerWidget *drawer,
                                                           QtMaterialDrawer *parent)
    : QStateMachine(parent),
      m_drawer(drawer),
      m_main(parent),
      m_openingState(new QState),
      m_openedState(new QState),
      m_closingState(new QState),
      m_closedState(new QState)
{
    m_openingState->setObjectName(QStringLiteral("opening"));
    m_openedState->setObjectName(QStringLiteral("opened"));
    m_closingState->setObjectName(QStringLiteral("closing"));
    m_closedState->setObjectName(QStringLiteral("closed"));
    addState(m_openingState);
    addState(m_openedState);
    addState(m_closingState);
    addState(m_closedState);
    setInitialState(m_closedState);

    // closed -> opening: the panel slides in while the parent darkens; opened once
    // the darkening is done.
    QSignalTransition *transition = m_closedState->addTransition(
        this, &QtMaterialDrawerStateMachine::signalOpen, m_openingState);
    transition->addAnimation(offsetAnimation(QEasingCurve::OutCirc));
    QPropertyAnimation *animation = opacityAnimation();
    transition->addAnimation(animation);
    m_openingState->addTransition(animation, &QAbstractAnimation::finished, m_openedState);

    // opening -> closing, then closed once the panel is out.
    transition = m_openingState->addTransition(
        this, &QtMaterialDrawerStateMachine::signalClose, m_closingState);
    transition->addAnimation(opacityAnimation());
    animation = offsetAnimation(QEasingCurve::InCirc);
    transition->addAnimation(animation);
    m_closingState->addTransition(animation, &QAbstractAnimation::finished, m_closedState);

    // opened -> closing, then closed once the darkening is gone.
    transition = m_openedState->addTransition(
        this, &QtMaterialDrawerStateMachine::signalClose, m_closingState);
    transition->addAnimation(offsetAnimation(QEasingCurve::InCirc));
    animation = opacityAnimation();
    transition->addAnimation(animation);
    m_closingState->addTransition(animation, &QAbstractAnimation::finished, m_closedState);

    updatePropertyAssignments();
}

QtMaterialDrawerStateMachine::~QtMaterialDrawerStateMachine() = default;

QPropertyAnimation *QtMaterialDrawerStateMachine::offsetAnimation(QEasingCurve::Type easing)
{
    auto *animation = new QPropertyAnimation(m_drawer, "offset", this);
    animation->setDuration(SlideDuration);
    animation->setEasingCurve(easing);
    return animation;
}

QPropertyAnimation *QtMaterialDrawerStateMachine::opacityAnimation()
{
    auto *animation = new QPropertyAnimation(this, "opacity", this);
    animation->setDuration(SlideDuration);
    return animation;
}

void QtMaterialDrawerStateMachine::setOpacity(qreal opacity)
{
    m_opacity = opacity;
    m_main->update();
}

bool QtMaterialDrawerStateMachine::isInClosedState() const
{
    return m_closedState->active();
}

int QtMaterialDrawerStateMachine::closedOffset() const
{
    return -m_drawer->width() - 32;
}

void QtMaterialDrawerStateMachine::updatePropertyAssignments()
{
    const int closed = closedOffset();

    m_closingState->assignProperty(m_drawer, "offset", closed);
    m_closingState->assignProperty(this, "opacity", 0);

    m_closedState->assignProperty(m_drawer, "offset", closed);
    m_closedState->assignProperty(this, "opacity", 0);

    m_openingState->assignProperty(m_drawer, "offset", 0);
    m_openingState->assignProperty(this, "opacity", 0.4);
}
