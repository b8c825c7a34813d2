#pragma once

#include "qtmaterialprogress.h"

#include <QColor>

class QPropertyAnimation;
class QtMaterialProgressDelegate;

// Data of a progress bar and the endless animation of its indeterminate block.
class QtMaterialProgressPrivate
{
    Q_DISABLE_COPY(QtMaterialProgressPrivate)
    Q_DECLARE_PUBLIC(QtMaterialProgress)

public:
    explicit QtMaterialProgressPrivate(QtMaterialProgress *q);
    ~QtMaterialProgressPrivate();

    void init();

    QtMaterialProgress *const q_ptr;
    QtMaterialProgressDelegate *delegate = nullptr;
    QPropertyAnimation *animation = nullptr;
    Material::ProgressType progressType = Material::ProgressIndeterminate;
    QColor progressColor;
    QColor backgroundColor;
    bool useThemeColors = true;
};
