#pragma once

#include "qtmaterialpaper.h"

#include <QColor>

// Data of a paper: its own colour and whether the theme's colour is used instead.
class QtMaterialPaperPrivate
{
    Q_DISABLE_COPY(QtMaterialPaperPrivate)
    Q_DECLARE_PUBLIC(QtMaterialPaper)

public:
    explicit QtMaterialPaperPrivate(QtMaterialPaper *q);
    ~QtMaterialPaperPrivate();

    void init();

    QtMaterialPaper *const q_ptr;
    bool useThemeColors = true;
    QColor backgroundColor;
};
