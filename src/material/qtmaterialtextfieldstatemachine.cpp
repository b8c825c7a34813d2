#include "qtmaterialtextfieldstatemachine.h"
#include "qtmaterialtextfield.h"
#include "qtmaterialtextfieldlabel.h"

#include <QEventTransition>
#include <QPropertyAnimation>
#include <QState>

QtMaterialTextFieldStateMachine::QtMaterialTextFieldStateMachine(QtMaterialTextField *parent)
    : QStateMachine(parent),
      m_textField(parent),
      m_normalState(new QState),
      m_focusedState(new QState)
{
    addState(m_normalState);
    addState(m_focusedState);
    setInitialState(m_normalState);

    auto addFocusTransition = [this](QState *from, QState *to, QEvent::Type type,
                                     QEasingCurve::Type easing) {
        auto *transition = new QEventTransition(m_textField, type);
        transition->setTargetState(to);
        from->addTransition(transition);

        auto *animation = new QPropertyAnimation(this, "progress", this);
        animation->setEasingCurve(easing);
        animation->setDuration(310);
        transition->addAnimation(animation);
    };
    addFocusTransition(m_normalState, m_focusedState, QEvent::FocusIn, QEasingCurve::InCubic);
    addFocusTransition(m_focusedState, m_normalState, QEvent::FocusOut, QEasingCurve::OutCubic);

    m_normalState->assignProperty(this, "progress", 0);
    m_focusedState->assignProperty(this, "progress", 1);

    setupProperties();
    connect(m_textField, &QLineEdit::textChanged, this,
            &QtMaterialTextFieldStateMachine::setupProperties);
}

QtMaterialTextFieldStateMachine::~QtMaterialTextFieldStateMachine() = default;

void QtMaterialTextFieldStateMachine::setLabel(QtMaterialTextFieldLabel *label)
{
    if (m_label)
        delete m_label;

    if (m_offsetAnimation) {
        removeDefaultAnimation(m_offsetAnimation);
        delete m_offsetAnimation;
        m_offsetAnimation = nullptr;
    }
    if (m_colorAnimation) {
        removeDefaultAnimation(m_colorAnimation);
        delete m_colorAnimation;
        m_colorAnimation = nullptr;
    }

    m_label = label;

    if (m_label) {
        m_offsetAnimation = new QPropertyAnimation(m_label, "offset", this);
        m_offsetAnimation->setDuration(210);
        m_offsetAnimation->setEasingCurve(QEasingCurve::OutCubic);
        addDefaultAnimation(m_offsetAnimation);

        m_colorAnimation = new QPropertyAnimation(m_label, "color", this);
        m_colorAnimation->setDuration(210);
        addDefaultAnimation(m_colorAnimation);
    }

    setupProperties();
}

void QtMaterialTextFieldStateMachine::setProgress(qreal progress)
{
    m_progress = progress;
    m_textField->update();
}

void QtMaterialTextFieldStateMachine::setupProperties()
{
    if (m_label) {
        const int m = m_textField->textMargins().top();
        const bool hasText = !m_textField->text().isEmpty();

        m_normalState->assignProperty(m_label, "offset", hasText ? QPointF(0, 12 - m)
                                                                 : QPointF(0, 26));
        m_focusedState->assignProperty(m_label, "offset", QPointF(0, 12 - m));
        m_focusedState->assignProperty(m_label, "color", m_textField->inkColor());
        m_focusedState->assignProperty(m_label, "scale", 0.5);
        m_normalState->assignProperty(m_label, "color", m_textField->labelColor());
        m_normalState->assignProperty(m_label, "scale", 1);

        // A field that gets text floats its label at once; an emptied one keeps the
        // label where it is until the normal state is next entered.
        if (m_label->offset().y() != 0 && hasText)
            m_label->setOffset(QPointF(0, 12 - m));
        else if (!m_textField->hasFocus() && m_label->offset().y() <= 0 && !hasText)
            m_label->setOffset(QPointF(0, 26));

        m_label->setColor(m_textField->labelColor());
        m_label->update();
    }
    m_textField->update();
}
