#include "qtmaterialpaperprivate.h"
#include "qtmaterialstyle.h"

QtMaterialPaperPrivate::QtMaterialPaperPrivate(QtMaterialPaper *q)
    : q_ptr(q)
{
}

QtMaterialPaperPrivate::~QtMaterialPaperPrivate() = default;

void QtMaterialPaperPrivate::init()
{
    // Made first: the style's creation tells every widget of a style change.
    QtMaterialStyle::instance();
    useThemeColors = true;
    backgroundColor = QColor();
}
