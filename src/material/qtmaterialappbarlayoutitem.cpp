#include "qtmaterialappbarlayoutitem.h"

#include <QAction>

QtMaterialAppBarLayoutItem::QtMaterialAppBarLayoutItem(QWidget *widget, QAction *action)
    : QWidgetItem(widget), m_action(action)
{
}

QtMaterialAppBarLayoutItem::~QtMaterialAppBarLayoutItem() = default;

bool QtMaterialAppBarLayoutItem::isEmpty() const
{
    return !m_action || !m_action->isVisible();
}
