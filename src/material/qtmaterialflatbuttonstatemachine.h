#pragma once

#include "qtmaterialstatetransitionevent.h"

#include <QEvent>
#include <QStateMachine>

class QAbstractTransition;
class QSequentialAnimationGroup;
class QState;
class QtMaterialFlatButton;

// Drives the animated values of a flat button: the hover overlay, the focus halo
// and the checked overlay.
class QtMaterialFlatButtonStateMachine : public QStateMachine
{
    Q_OBJECT

    Q_PROPERTY(qreal overlayOpacity WRITE setOverlayOpacity READ overlayOpacity)
    Q_PROPERTY(qreal checkedOverlayProgress WRITE setCheckedOverlayProgress
                   READ checkedOverlayProgress)
    Q_PROPERTY(qreal haloOpacity WRITE setHaloOpacity READ haloOpacity)
    Q_PROPERTY(qreal haloSize WRITE setHaloSize READ haloSize)
    Q_PROPERTY(qreal haloScaleFactor WRITE setHaloScaleFactor READ haloScaleFactor)

public:
    explicit QtMaterialFlatButtonStateMachine(QtMaterialFlatButton *parent);
    ~QtMaterialFlatButtonStateMachine() override;

    void setOverlayOpacity(qreal opacity);
    qreal overlayOpacity() const { return m_overlayOpacity; }

    void setCheckedOverlayProgress(qreal progress);
    qreal checkedOverlayProgress() const { return m_checkedOverlayProgress; }

    void setHaloOpacity(qreal opacity);
    qreal haloOpacity() const { return m_haloOpacity; }

    void setHaloSize(qreal size);
    qreal haloSize() const { return m_haloSize; }

    void setHaloScaleFactor(qreal factor);
    qreal haloScaleFactor() const { return m_haloScaleFactor; }

    void startAnimations();
    void setupProperties();
    void updateCheckedStatus();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

    void addTransition(QAbstractTransition *transition, QState *fromState, QState *toState);
    void addTransition(QObject *object, QEvent::Type eventType, QState *fromState,
                       QState *toState);

private:
    Q_DISABLE_COPY(QtMaterialFlatButtonStateMachine)

    void postKind(QtMaterialStateTransitionType kind);

    QtMaterialFlatButton *const m_button;
    QState *const m_topLevelState;
    QState *const m_configState;
    QState *const m_checkableState;
    QState *const m_checkedState;
    QState *const m_uncheckedState;
    QState *const m_neutralState;
    QState *const m_neutralFocusedState;
    QState *const m_hoveredState;
    QState *const m_hoveredFocusedState;
    QState *const m_pressedState;
    QSequentialAnimationGroup *const m_haloAnimation;
    qreal m_overlayOpacity = 0;
    qreal m_checkedOverlayProgress = 0;
    qreal m_haloOpacity = 0;
    qreal m_haloSize = 0.8;
    qreal m_haloScaleFactor = 1;
    bool m_wasChecked = false;
};
