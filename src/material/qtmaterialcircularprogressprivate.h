#pragma once

#include "material.h"

#include <QColor>

class QtMaterialCircularProgress;
class QtMaterialCircularProgressDelegate;

// Data and set-up of a circular progress indicator.
class QtMaterialCircularProgressPrivate
{
    Q_DISABLE_COPY(QtMaterialCircularProgressPrivate)
    Q_DECLARE_PUBLIC(QtMaterialCircularProgress)

public:
    explicit QtMaterialCircularProgressPrivate(QtMaterialCircularProgress *q);
    ~QtMaterialCircularProgressPrivate();

    void init();

    QtMaterialCircularProgress *const q_ptr;
    QtMaterialCircularProgressDelegate *delegate = nullptr;
    Material::ProgressType progressType = Material::ProgressIndeterminate;
    QColor color;
    qreal penWidth = 6.25;
    int size = 64;
    bool useThemeColors = true;
};
