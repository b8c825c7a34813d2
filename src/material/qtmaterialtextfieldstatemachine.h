#pragma once

#include <QStateMachine>

class QPropertyAnimation;
class QState;
class QtMaterialTextField;
class QtMaterialTextFieldLabel;

// Moves a text field between its normal and focused states: the progress of the ink
// bar, and the label's place, size and colour.
class QtMaterialTextFieldStateMachine : public QStateMachine
{
    Q_OBJECT

    Q_PROPERTY(qreal progress WRITE setProgress READ progress)

public:
    explicit QtMaterialTextFieldStateMachine(QtMaterialTextField *parent);
    ~QtMaterialTextFieldStateMachine() override;

    void setLabel(QtMaterialTextFieldLabel *label);

    void setProgress(qreal progress);
    qreal progress() const { return m_progress; }

    QState *normalState() const { return m_normalState; }
    QState *focusedState() const { return m_focusedState; }
    QPropertyAnimation *offsetAnimation() const { return m_offsetAnimation; }
    QPropertyAnimation *colorAnimation() const { return m_colorAnimation; }

public slots:
    void setupProperties();

private:
    Q_DISABLE_COPY(QtMaterialTextFieldStateMachine)

    QtMaterialTextField *const m_textField;
    QState *const m_normalState;
    QState *const m_focusedState;
    QtMaterialTextFieldLabel *m_label = nullptr;
    QPropertyAnimation *m_offsetAnimation = nullptr;
    QPropertyAnimation *m_colorAnimation = nullptr;
    qreal m_progress = 0;
};
