#include "qtmaterialautocompletestatemachine.h"

#include <QGraphicsOpacityEffect>
#include <QPropertyAnimation>
#include <QSignalTransition>
#include <QState>
#include <QWidget>

QtMaterialAutoCompleteStateMachine::QtMaterialAutoCompleteStateMachine(QWidget *menu)
    : QStateMachine(menu),
      m_menu(menu),
      m_closedState(new QState),
      m_openState(new QState),
      m_closingState(new QState),
      m_effect(new QGraphicsOpacityEffect),
      m_opacityAnimation(new QPropertyAnimation(m_effect, "opacity", this))
{
    addState(m_closedState);
    addState(m_openState);
    addState(m_closingState);
    setInitialState(m_closedState);

    m_closedState->addTransition(this, &QtMaterialAutoCompleteStateMachine::shouldOpen,
                                 m_openState);
    m_openState->addTransition(this, &QtMaterialAutoCompleteStateMachine::shouldClose,
                               m_closedState);
    m_openState->addTransition(this, &QtMaterialAutoCompleteStateMachine::shouldFade,
                               m_closingState);
    m_closingState->addTransition(m_opacityAnimation, &QAbstractAnimation::finished,
                                  m_closedState);

    m_closedState->assignProperty(menu, "visible", false);
    m_openState->assignProperty(menu, "visible", true);

    menu->setGraphicsEffect(m_effect);
    m_openState->assignProperty(m_effect, "opacity", 1);
    m_closingState->assignProperty(m_effect, "opacity", 0);
    m_closedState->assignProperty(m_effect, "opacity", 0);

    m_opacityAnimation->setDuration(240);
    addDefaultAnimation(m_opacityAnimation);
}

QtMaterialAutoCompleteStateMachine::~QtMaterialAutoCompleteStateMachine() = default;
