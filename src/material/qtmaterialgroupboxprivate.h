#pragma once

#include "material.h"

#include <QColor>

class QtMaterialGroupBox;

// Data and set-up of a group box.
class QtMaterialGroupBoxPrivate
{
    Q_DISABLE_COPY(QtMaterialGroupBoxPrivate)
    Q_DECLARE_PUBLIC(QtMaterialGroupBox)

public:
    explicit QtMaterialGroupBoxPrivate(QtMaterialGroupBox *q);
    virtual ~QtMaterialGroupBoxPrivate();

    void init();
    void applyColors();

    Material::FontType fontType = Material::Body1;
    bool useThemeColors = true;
    QColor color;
    QtMaterialGroupBox *const q_ptr;
};
