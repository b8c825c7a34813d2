#pragma once

#include <QStateMachine>

class QGraphicsOpacityEffect;
class QPropertyAnimation;
class QState;
class QWidget;

// Opens, closes and fades the menu of an auto-complete field. Closing fades the
// menu out; nothing reopens it before the fade has ended.
class QtMaterialAutoCompleteStateMachine : public QStateMachine
{
    Q_OBJECT

public:
    explicit QtMaterialAutoCompleteStateMachine(QWidget *menu);
    ~QtMaterialAutoCompleteStateMachine() override;

    QState *closedState() const { return m_closedState; }
    QState *openState() const { return m_openState; }
    QState *closingState() const { return m_closingState; }
    QPropertyAnimation *opacityAnimation() const { return m_opacityAnimation; }
    QGraphicsOpacityEffect *effect() const { return m_effect; }

signals:
    void shouldOpen();
    void shouldClose();
    void shouldFade();

private:
    Q_DISABLE_COPY(QtMaterialAutoCompleteStateMachine)

    QWidget *const m_menu;
    QState *const m_closedState;
    QState *const m_openState;
    QState *const m_closingState;
    QGraphicsOpacityEffect *const m_effect;
    QPropertyAnimation *const m_opacityAnimation;
};
