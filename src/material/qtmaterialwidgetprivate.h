#pragma once

#include <QColor>
#include <QtGlobal>

class QtMaterialWidget;

// Data of a plain material widget.
class QtMaterialWidgetPrivate
{
    Q_DISABLE_COPY(QtMaterialWidgetPrivate)
    Q_DECLARE_PUBLIC(QtMaterialWidget)

public:
    explicit QtMaterialWidgetPrivate(QtMaterialWidget *q);
    ~QtMaterialWidgetPrivate();

    void init();

    QtMaterialWidget *const q_ptr;
    bool useThemeColors = true;
    QColor backgroundColor;
};
