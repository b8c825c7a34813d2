#include "qtmaterialsliderstatemachine.h"
#include "qtmaterialslider.h"
#include "qtmaterialsliderthumb.h"
#include "qtmaterialslidertrack.h"
#include "qtmaterialstatetransition.h"

#include <QAbstractTransition>
#include <QEventTransition>
#include <QPropertyAnimation>
#include <QSignalTransition>
#include <QState>

QtMaterialSliderStateMachine::QtMaterialSliderStateMachine(QtMaterialSlider *slider,
                                                           QtMaterialSliderThumb *thumb,
                                                           QtMaterialSliderTrack *track)
    : QStateMachine(slider),
      m_slider(slider),
      m_thumb(thumb),
      m_track(track),
      m_topState(new QState(QState::ParallelStates)),
      m_fstState(new QState(m_topState)),
      m_sndState(new QState(m_topState)),
      m_inactiveState(new QState(m_fstState)),
      m_focusState(new QState(m_fstState)),
      m_slidingState(new QState(m_fstState)),
      m_pulseOutState(new QState(m_focusState)),
      m_pulseInState(new QState(m_focusState)),
      m_minState(new QState(m_sndState)),
      m_normalState(new QState(m_sndState))
{
    addState(m_topState);
    setInitialState(m_topState);

    m_focusState->setInitialState(m_pulseOutState);
    m_fstState->setInitialState(m_inactiveState);
    m_sndState->setInitialState(m_minState);

    m_inactiveState->assignProperty(thumb, "diameter", 11);
    m_focusState->assignProperty(thumb, "diameter", 11);
    m_slidingState->assignProperty(thumb, "diameter", 17);
    m_inactiveState->assignProperty(thumb, "haloSize", 0);
    m_slidingState->assignProperty(thumb, "haloSize", 0);
    m_pulseOutState->assignProperty(thumb, "haloSize", 35);
    m_pulseInState->assignProperty(thumb, "haloSize", 28);

    // Every animation belongs to the machine.
    auto animate = [this](QObject *target, const char *property, int duration = -1,
                          QEasingCurve::Type easing = QEasingCurve::Linear) {
        auto *animation = new QPropertyAnimation(target, property, this);
        if (duration >= 0)
            animation->setDuration(duration);
        animation->setEasingCurve(easing);
        return animation;
    };

    // Focus and hover: the halo grows and the track darkens.
    auto addFocusAnimations = [&](QAbstractTransition *transition) {
        transition->addAnimation(animate(thumb, "haloSize", -1, QEasingCurve::InOutSine));
        transition->addAnimation(animate(track, "fillColor"));
    };

    QAbstractTransition *transition = new QtMaterialStateTransition(KindSliderHoverEnter);
    transition->setTargetState(m_focusState);
    addFocusAnimations(transition);
    m_inactiveState->addTransition(transition);

    transition = new QEventTransition(slider, QEvent::FocusIn);
    transition->setTargetState(m_focusState);
    addFocusAnimations(transition);
    m_inactiveState->addTransition(transition);

    transition = new QEventTransition(slider, QEvent::FocusOut);
    transition->setTargetState(m_inactiveState);
    addFocusAnimations(transition);
    m_focusState->addTransition(transition);

    transition = new QtMaterialStateTransition(KindSliderHoverLeave);
    transition->setTargetState(m_inactiveState);
    addFocusAnimations(transition);
    m_focusState->addTransition(transition);

    // While focused the halo breathes between its two sizes.
    transition = new QSignalTransition(m_pulseOutState, &QState::propertiesAssigned);
    transition->setTargetState(m_pulseInState);
    transition->addAnimation(animate(thumb, "haloSize", 1000, QEasingCurve::InOutSine));
    m_pulseOutState->addTransition(transition);

    transition = new QSignalTransition(m_pulseInState, &QState::propertiesAssigned);
    transition->setTargetState(m_pulseOutState);
    transition->addAnimation(animate(thumb, "haloSize", 1000, QEasingCurve::InOutSine));
    m_pulseInState->addTransition(transition);

    // Pressing grows the knob and hides the halo.
    transition = new QSignalTransition(slider, &QAbstractSlider::sliderPressed);
    transition->setTargetState(m_slidingState);
    transition->addAnimation(animate(thumb, "diameter", 70));
    transition->addAnimation(animate(thumb, "haloSize", -1, QEasingCurve::InOutSine));
    m_focusState->addTransition(transition);

    transition = new QSignalTransition(slider, &QAbstractSlider::sliderReleased);
    transition->setTargetState(m_focusState);
    transition->addAnimation(animate(thumb, "diameter", 70));
    transition->addAnimation(animate(thumb, "haloSize", -1, QEasingCurve::InOutSine));
    m_slidingState->addTransition(transition);

    // At the minimum the knob is a ring; above it, a filled disc.
    auto addMinimumAnimations = [&](QAbstractTransition *transition) {
        transition->addAnimation(animate(thumb, "fillColor", 200));
        transition->addAnimation(animate(thumb, "haloColor", 300));
        transition->addAnimation(animate(thumb, "borderColor", 200));
        transition->addAnimation(animate(thumb, "borderWidth", 200));
    };

    transition = new QtMaterialStateTransition(KindSliderFromMinimum);
    transition->setTargetState(m_normalState);
    addMinimumAnimations(transition);
    m_minState->addTransition(transition);

    transition = new QtMaterialStateTransition(KindSliderToMinimum);
    transition->setTargetState(m_minState);
    addMinimumAnimations(transition);
    m_normalState->addTransition(transition);

    m_minState->assignProperty(thumb, "borderWidth", 2);
    m_normalState->assignProperty(thumb, "borderWidth", 0);

    setupProperties();
}

QtMaterialSliderStateMachine::~QtMaterialSliderStateMachine() = default;

QColor QtMaterialSliderStateMachine::backgroundColor() const
{
    if (const QWidget *parent = m_slider->parentWidget())
        return parent->palette().color(m_slider->backgroundRole());
    return m_slider->palette().color(QPalette::Base);
}

void QtMaterialSliderStateMachine::setupProperties()
{
    const QColor trackColor = m_slider->trackColor();
    const QColor thumbColor = m_slider->thumbColor();
    const QColor background = backgroundColor();
    const QColor lightTrack = trackColor.lighter(130);

    m_inactiveState->assignProperty(m_track, "fillColor", lightTrack);
    m_focusState->assignProperty(m_track, "fillColor", trackColor);
    m_slidingState->assignProperty(m_track, "fillColor", trackColor);

    m_minState->assignProperty(m_thumb, "fillColor", background);
    m_minState->assignProperty(m_thumb, "haloColor", trackColor);
    m_minState->assignProperty(m_thumb, "borderColor", trackColor);

    m_normalState->assignProperty(m_thumb, "fillColor", thumbColor);
    m_normalState->assignProperty(m_thumb, "haloColor", thumbColor);
    m_normalState->assignProperty(m_thumb, "borderColor", thumbColor);

    // Show the new colours at once.
    const bool inactive = m_inactiveState->active() || configuration().isEmpty();
    m_track->setFillColor(inactive ? lightTrack : trackColor);

    const bool atMinimum = !m_normalState->active()
                           && (m_minState->active() || m_slider->value() == m_slider->minimum());
    m_thumb->setFillColor(atMinimum ? background : thumbColor);
    m_thumb->setHaloColor(atMinimum ? trackColor : thumbColor);
    m_thumb->setBorderColor(atMinimum ? trackColor : thumbColor);

    m_slider->update();
    m_thumb->update();
    m_track->update();
}
