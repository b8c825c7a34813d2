#include "qtmaterialwidgetprivate.h"

QtMaterialWidgetPrivate::QtMaterialWidgetPrivate(QtMaterialWidget *q)
    : q_ptr(q)
{
}

QtMaterialWidgetPrivate::~QtMaterialWidgetPrivate() = default;

void QtMaterialWidgetPrivate::init()
{
    useThemeColors = true;
}
