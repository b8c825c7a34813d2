#pragma once

#include <QColor>
#include <Qt>

class QtMaterialCanvas;

// Data and set-up of a canvas.
class QtMaterialCanvasPrivate
{
    Q_DISABLE_COPY(QtMaterialCanvasPrivate)
    Q_DECLARE_PUBLIC(QtMaterialCanvas)

public:
    explicit QtMaterialCanvasPrivate(QtMaterialCanvas *q);
    virtual ~QtMaterialCanvasPrivate();

    void init();
    void updateOrientation();

    QtMaterialCanvas *const q_ptr;
    Qt::Orientation orientation = Qt::Vertical;
    bool useThemeColors = true;
    QColor backgroundColor;
};
