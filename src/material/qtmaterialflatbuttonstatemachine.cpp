#include "qtmaterialflatbuttonstatemachine.h"
#include "qtmaterialflatbutton.h"
#include "qtmaterialstatetransition.h"

#include <QEventTransition>
#include <QFocusEvent>
#include <QPropertyAnimation>
#include <QSequentialAnimationGroup>

QtMaterialFlatButtonStateMachine::QtMaterialFlatButtonStateMachine(QtMaterialFlatButton *parent)
    : QStateMachine(parent),
      m_button(parent),
      m_topLevelState(new QState(QState::ParallelStates)),
      m_configState(new QState(m_topLevelState)),
      m_checkableState(new QState(m_topLevelState)),
      m_checkedState(new QState(m_checkableState)),
      m_uncheckedState(new QState(m_checkableState)),
      m_neutralState(new QState(m_configState)),
      m_neutralFocusedState(new QState(m_configState)),
      m_hoveredState(new QState(m_configState)),
      m_hoveredFocusedState(new QState(m_configState)),
      m_pressedState(new QState(m_configState)),
      m_haloAnimation(new QSequentialAnimationGroup(this))
{
    Q_ASSERT(parent);

    parent->installEventFilter(this);

    addState(m_topLevelState);
    setInitialState(m_topLevelState);

    m_configState->setInitialState(m_neutralState);
    const bool checked = m_button->isChecked();
    m_checkableState->setInitialState(checked ? m_checkedState : m_uncheckedState);

    // The machine enters its initial states only once the event loop runs; the
    // values of those states are set here so that the button paints correctly
    // before that.
    m_checkedOverlayProgress = checked ? 1 : 0;
    m_overlayOpacity = 0;
    m_haloOpacity = 0;
    m_haloSize = 0;

    addTransition(m_button, QEvent::FocusIn, m_neutralState, m_neutralFocusedState);
    addTransition(m_button, QEvent::FocusOut, m_neutralFocusedState, m_neutralState);
    addTransition(m_button, QEvent::Enter, m_neutralState, m_hoveredState);
    addTransition(m_button, QEvent::Leave, m_hoveredState, m_neutralState);
    addTransition(m_button, QEvent::Enter, m_neutralFocusedState, m_hoveredFocusedState);
    addTransition(m_button, QEvent::Leave, m_hoveredFocusedState, m_neutralFocusedState);
    addTransition(m_button, QEvent::FocusIn, m_hoveredState, m_hoveredFocusedState);
    addTransition(m_button, QEvent::FocusOut, m_hoveredFocusedState, m_hoveredState);

    // A press sets its values at once: no animations on this transition.
    auto *pressed = new QtMaterialStateTransition(KindButtonPressed);
    pressed->setTargetState(m_pressedState);
    m_hoveredState->addTransition(pressed);

    addTransition(m_button, QEvent::Leave, m_pressedState, m_neutralFocusedState);
    addTransition(m_button, QEvent::FocusOut, m_pressedState, m_hoveredState);

    m_neutralState->assignProperty(this, "haloSize", 0);
    m_neutralFocusedState->assignProperty(this, "haloSize", 0.7);
    m_hoveredState->assignProperty(this, "haloSize", 0);
    m_pressedState->assignProperty(this, "haloSize", 4);
    m_hoveredFocusedState->assignProperty(this, "haloSize", 0.7);

    // Halo pulse, running as long as the button lives.
    auto *grow = new QPropertyAnimation(this);
    grow->setTargetObject(this);
    grow->setPropertyName("haloScaleFactor");
    grow->setStartValue(0.56);
    grow->setEndValue(0.63);
    grow->setEasingCurve(QEasingCurve::InOutSine);
    grow->setDuration(840);
    m_haloAnimation->addAnimation(grow);

    auto *shrink = new QPropertyAnimation(this);
    shrink->setTargetObject(this);
    shrink->setPropertyName("haloScaleFactor");
    shrink->setStartValue(0.63);
    shrink->setEndValue(0.56);
    shrink->setEasingCurve(QEasingCurve::InOutSine);
    shrink->setDuration(840);
    m_haloAnimation->addAnimation(shrink);

    m_haloAnimation->setLoopCount(-1);

    // Checked region.
    auto *toChecked = new QtMaterialStateTransition(KindButtonChecked);
    toChecked->setTargetState(m_checkedState);
    m_uncheckedState->addTransition(toChecked);
    auto *checkedAnimation = new QPropertyAnimation(this, "checkedOverlayProgress", this);
    checkedAnimation->setDuration(200);
    toChecked->addAnimation(checkedAnimation);

    auto *toUnchecked = new QtMaterialStateTransition(KindButtonUnchecked);
    toUnchecked->setTargetState(m_uncheckedState);
    m_checkedState->addTransition(toUnchecked);
    auto *uncheckedAnimation = new QPropertyAnimation(this, "checkedOverlayProgress", this);
    uncheckedAnimation->setDuration(200);
    toUnchecked->addAnimation(uncheckedAnimation);

    m_checkedState->assignProperty(this, "checkedOverlayProgress", 1);
    m_uncheckedState->assignProperty(this, "checkedOverlayProgress", 0);
}

QtMaterialFlatButtonStateMachine::~QtMaterialFlatButtonStateMachine() = default;

void QtMaterialFlatButtonStateMachine::setOverlayOpacity(qreal opacity)
{
    if (m_overlayOpacity == opacity)
        return;
    m_overlayOpacity = opacity;
    if (m_button->overlayStyle() != Material::OverlayOff)
        m_button->update();
}

void QtMaterialFlatButtonStateMachine::setCheckedOverlayProgress(qreal progress)
{
    if (m_checkedOverlayProgress == progress)
        return;
    m_checkedOverlayProgress = progress;
    m_button->update();
}

void QtMaterialFlatButtonStateMachine::setHaloOpacity(qreal opacity)
{
    if (m_haloOpacity == opacity)
        return;
    m_haloOpacity = opacity;
    m_button->update();
}

void QtMaterialFlatButtonStateMachine::setHaloSize(qreal size)
{
    if (m_haloSize == size)
        return;
    m_haloSize = size;
    m_button->update();
}

void QtMaterialFlatButtonStateMachine::setHaloScaleFactor(qreal factor)
{
    if (m_haloScaleFactor == factor)
        return;
    m_haloScaleFactor = factor;
    if (m_button->isHaloVisible() && m_button->hasFocus())
        m_button->update();
}

void QtMaterialFlatButtonStateMachine::startAnimations()
{
    m_haloAnimation->start();
    start();
}

void QtMaterialFlatButtonStateMachine::setupProperties()
{
    const qreal baseOpacity = m_button->baseOpacity();

    m_neutralState->assignProperty(this, "overlayOpacity", 0);
    m_neutralState->assignProperty(this, "haloOpacity", 0);
    m_neutralFocusedState->assignProperty(this, "overlayOpacity", 0);
    m_neutralFocusedState->assignProperty(this, "haloOpacity", baseOpacity);
    m_hoveredState->assignProperty(this, "overlayOpacity", baseOpacity);
    m_hoveredState->assignProperty(this, "haloOpacity", 0);
    m_hoveredFocusedState->assignProperty(this, "overlayOpacity", baseOpacity);
    m_hoveredFocusedState->assignProperty(this, "haloOpacity", baseOpacity);
    m_pressedState->assignProperty(this, "overlayOpacity", baseOpacity);
    m_pressedState->assignProperty(this, "haloOpacity", 0);

    m_button->update();
}

void QtMaterialFlatButtonStateMachine::updateCheckedStatus()
{
    const bool checked = m_button->isChecked();
    if (m_wasChecked == checked)
        return;
    m_wasChecked = checked;

    if (!isRunning()) {
        // Before the machine runs, a posted event would be dropped: the checked
        // region starts in the matching state instead.
        m_checkableState->setInitialState(checked ? m_checkedState : m_uncheckedState);
        setCheckedOverlayProgress(checked ? 1 : 0);
        return;
    }
    postKind(checked ? KindButtonChecked : KindButtonUnchecked);
}

bool QtMaterialFlatButtonStateMachine::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusIn) {
        auto *focusEvent = static_cast<QFocusEvent *>(event);
        if (focusEvent->reason() == Qt::MouseFocusReason) {
            if (isRunning())
                postKind(KindButtonPressed);
            return true;
        }
    }
    return QStateMachine::eventFilter(watched, event);
}

void QtMaterialFlatButtonStateMachine::addTransition(QAbstractTransition *transition,
                                                     QState *fromState, QState *toState)
{
    transition->setTargetState(toState);

    auto *animation = new QPropertyAnimation(this, "overlayOpacity", this);
    animation->setDuration(150);
    transition->addAnimation(animation);

    animation = new QPropertyAnimation(this, "haloOpacity", this);
    animation->setDuration(170);
    transition->addAnimation(animation);

    animation = new QPropertyAnimation(this, "haloSize", this);
    animation->setDuration(350);
    animation->setEasingCurve(QEasingCurve::OutCubic);
    transition->addAnimation(animation);

    fromState->addTransition(transition);
}

void QtMaterialFlatButtonStateMachine::addTransition(QObject *object, QEvent::Type eventType,
                                                     QState *fromState, QState *toState)
{
    addTransition(new QEventTransition(object, eventType), fromState, toState);
}

void QtMaterialFlatButtonStateMachine::postKind(QtMaterialStateTransitionType kind)
{
    postEvent(new QtMaterialStateTransitionEvent(kind));
}
