#include "qtmaterialscrollbarstatemachine.h"
#include "qtmaterialscrollbar.h"
#include "qtmaterialstatetransition.h"

#include <QEventTransition>
#include <QPropertyAnimation>
#include <QSignalTransition>
#include <QState>

QtMaterialScrollBarStateMachine::QtMaterialScrollBarStateMachine(QtMaterialScrollBar *parent)
    : QStateMachine(parent),
      m_scrollBar(parent),
      m_hoveredState(new QState(this)),
      m_scrolledState(new QState(this)),
      m_hiddenState(new QState(this))
{
    Q_ASSERT(parent);

    m_hoveredState->setObjectName(QStringLiteral("hovered"));
    m_scrolledState->setObjectName(QStringLiteral("scrolled"));
    m_hiddenState->setObjectName(QStringLiteral("hidden"));
    m_timer.setSingleShot(true);

    setInitialState(m_hiddenState);

    auto *enter = new QEventTransition(m_scrollBar, QEvent::Enter);
    enter->setTargetState(m_hoveredState);
    m_hiddenState->addTransition(enter);

    auto *changed = new QtMaterialStateTransition(KindScrollBarValueChanged);
    changed->setTargetState(m_scrolledState);
    m_hiddenState->addTransition(changed);

    auto *leave = new QEventTransition(m_scrollBar, QEvent::Leave);
    leave->setTargetState(m_hiddenState);
    m_hoveredState->addTransition(leave);

    m_scrolledState->addTransition(&m_timer, &QTimer::timeout, m_hiddenState);

    enter = new QEventTransition(m_scrollBar, QEvent::Enter);
    enter->setTargetState(m_hoveredState);
    m_scrolledState->addTransition(enter);

    m_hiddenState->assignProperty(this, "opacity", 0);
    m_hoveredState->assignProperty(this, "opacity", 1);
    m_scrolledState->assignProperty(this, "opacity", 1);

    connect(m_scrolledState, &QState::entered, this,
            [this]() { m_timer.start(ScrolledDuration); });

    m_animation = new QPropertyAnimation(this, "opacity", this);
    m_animation->setDuration(FadeDuration);
    addDefaultAnimation(m_animation);
}

QtMaterialScrollBarStateMachine::~QtMaterialScrollBarStateMachine()
{
    // The transition on the timer must not outlive it.
    m_timer.stop();
}

void QtMaterialScrollBarStateMachine::setOpacity(qreal opacity)
{
    m_opacity = opacity;
    m_scrollBar->update();
}
