#include "qtmaterialstatetransition.h"

QtMaterialStateTransition::QtMaterialStateTransition(QtMaterialStateTransitionType type)
    : m_type(type)
{
}

bool QtMaterialStateTransition::eventTest(QEvent *event)
{
    if (event->type() != QtMaterialStateTransitionEvent::EventType)
        return false;
    return static_cast<QtMaterialStateTransitionEvent *>(event)->kind == m_type;
}

void QtMaterialStateTransition::onTransition(QEvent *event)
{
    Q_UNUSED(event)
}
