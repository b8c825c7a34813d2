#pragma once

#include <QEasingCurve>
#include <QStateMachine>

class QPropertyAnimation;
class QState;
class QtMaterialDrawer;
class QtMaterialDrawerWidget;

// Slides a drawer's panel in and out through four states (closed, opening, opened,
// closing) and darkens the rest of the parent while it is out.
class QtMaterialDrawerStateMachine : public QStateMachine
{
    Q_OBJECT

    Q_PROPERTY(qreal opacity WRITE setOpacity READ opacity)

public:
    // Milliseconds of every slide.
    static constexpr int SlideDuration = 220;

    QtMaterialDrawerStateMachine(QtMaterialDrawerWidget *drawer, QtMaterialDrawer *parent);
    ~QtMaterialDrawerStateMachine() override;

    void setOpacity(qreal opacity);
    qreal opacity() const { return m_opacity; }

    bool isInClosedState() const;
    // The panel's offset while closed: fully out of view beyond the left edge.
    int closedOffset() const;
    void updatePropertyAssignments();

    QState *closedState() const { return m_closedState; }
    QState *openingState() const { return m_openingState; }
    QState *openedState() const { return m_openedState; }
    QState *closingState() const { return m_closingState; }

signals:
    void signalOpen();
    void signalClose();

private:
    Q_DISABLE_COPY(QtMaterialDrawerStateMachine)

    QPropertyAnimation *offsetAnimation(QEasingCurve::Type easing);
    QPropertyAnimation *opacityAnimation();

    QtMaterialDrawerWidget *const m_drawer;
    QtMaterialDrawer *const m_main;
    QState *const m_openingState;
    QState *const m_openedState;
    QState *const m_closingState;
    QState *const m_closedState;
    qreal m_opacity = 0;
};
