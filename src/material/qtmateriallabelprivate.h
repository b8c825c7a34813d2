#pragma once

#include "material.h"

#include <QColor>
#include <QPointer>

class QtMaterialLabel;
class QtMaterialRippleOverlay;

// Data and set-up of a label.
class QtMaterialLabelPrivate
{
    Q_DISABLE_COPY(QtMaterialLabelPrivate)
    Q_DECLARE_PUBLIC(QtMaterialLabel)

public:
    explicit QtMaterialLabelPrivate(QtMaterialLabel *q);
    virtual ~QtMaterialLabelPrivate();

    void init();
    void applyColors();

    Material::FontType fontType = Material::Body1;
    bool useThemeColors = true;
    QColor color;
    // Lives on the label's parent, not on the label; guarded because the parent
    // may delete it before the label.
    QPointer<QtMaterialRippleOverlay> rippleOverlay;
    QtMaterialLabel *const q_ptr;
};
