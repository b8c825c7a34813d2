#pragma once

#include <QColor>
#include <QStateMachine>

class QState;
class QtMaterialSlider;
class QtMaterialSliderThumb;
class QtMaterialSliderTrack;

// Animates a slider's thumb and track. One region sizes the knob and its halo
// (inactive, focused with a breathing halo, sliding); the other shows the knob as
// a ring at the minimum and filled above it.
class QtMaterialSliderStateMachine : public QStateMachine
{
    Q_OBJECT

public:
    QtMaterialSliderStateMachine(QtMaterialSlider *slider, QtMaterialSliderThumb *thumb,
                                 QtMaterialSliderTrack *track);
    ~QtMaterialSliderStateMachine() override;

    void setupProperties();

    QState *inactiveState() const { return m_inactiveState; }
    QState *focusState() const { return m_focusState; }
    QState *slidingState() const { return m_slidingState; }
    QState *pulseOutState() const { return m_pulseOutState; }
    QState *pulseInState() const { return m_pulseInState; }
    QState *minState() const { return m_minState; }
    QState *normalState() const { return m_normalState; }

private:
    Q_DISABLE_COPY(QtMaterialSliderStateMachine)

    QColor backgroundColor() const;

    QtMaterialSlider *const m_slider;
    QtMaterialSliderThumb *const m_thumb;
    QtMaterialSliderTrack *const m_track;
    QState *const m_topState;
    QState *const m_fstState;
    QState *const m_sndState;
    QState *const m_inactiveState;
    QState *const m_focusState;
    QState *const m_slidingState;
    QState *const m_pulseOutState;
    QState *const m_pulseInState;
    QState *const m_minState;
    QState *const m_normalState;
};
