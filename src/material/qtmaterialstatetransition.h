#pragma once

#include "qtmaterialstatetransitionevent.h"

#include <QAbstractTransition>

// A transition that fires on a state-transition event of one kind.
class QtMaterialStateTransition : public QAbstractTransition
{
    Q_OBJECT

public:
    explicit QtMaterialStateTransition(QtMaterialStateTransitionType type);

    QtMaterialStateTransitionType transitionType() const { return m_type; }

protected:
    bool eventTest(QEvent *event) override;
    void onTransition(QEvent *event) override;

private:
    QtMaterialStateTransitionType m_type;
};
