#pragma once

#include <QStateMachine>
#include <QTimer>

class QPropertyAnimation;
class QState;
class QtMaterialScrollBar;

// Fades a scroll bar in when the pointer enters it or its value changes, and out
// when the pointer leaves or a second after the change that showed it.
class QtMaterialScrollBarStateMachine : public QStateMachine
{
    Q_OBJECT

    Q_PROPERTY(qreal opacity WRITE setOpacity READ opacity)

public:
    // Milliseconds a scroll bar shown by a value change stays before fading out.
    static constexpr int ScrolledDuration = 1000;
    // Milliseconds of every fade.
    static constexpr int FadeDuration = 340;

    explicit QtMaterialScrollBarStateMachine(QtMaterialScrollBar *parent);
    ~QtMaterialScrollBarStateMachine() override;

    void setOpacity(qreal opacity);
    qreal opacity() const { return m_opacity; }

    QState *hiddenState() const { return m_hiddenState; }
    QState *hoveredState() const { return m_hoveredState; }
    QState *scrolledState() const { return m_scrolledState; }
    QTimer *timer() { return &m_timer; }
    QPropertyAnimation *fadeAnimation() const { return m_animation; }

private:
    Q_DISABLE_COPY(QtMaterialScrollBarStateMachine)

    QtMaterialScrollBar *const m_scrollBar;
    QState *const m_hoveredState;
    QState *const m_scrolledState;
    QState *const m_hiddenState;
    QTimer m_timer;
    QPropertyAnimation *m_animation = nullptr;
    qreal m_opacity = 0;
};
