#pragma once

#include "material.h"

#include <QColor>
#include <QSize>
#include <QString>

class QtMaterialAppBar;
class QtMaterialAppBarLayout;
class QtMaterialIconButton;
class QtMaterialLabel;

// Data and set-up of an app bar.
class QtMaterialAppBarPrivate
{
    Q_DISABLE_COPY(QtMaterialAppBarPrivate)
    Q_DECLARE_PUBLIC(QtMaterialAppBar)

public:
    explicit QtMaterialAppBarPrivate(QtMaterialAppBar *q);
    ~QtMaterialAppBarPrivate();

    void init();

    // Makes, re-icons or removes the navigation button.
    void setNavIconType(Material::NavIconType type);
    // Title label and every button take the bar's foreground colour.
    void updateChildrenColor();
    void setIconSize(const QSize &size);

    QtMaterialAppBar *const q_ptr;
    QtMaterialAppBarLayout *layout = nullptr;
    QtMaterialIconButton *navButton = nullptr;
    QtMaterialLabel *titleLabel = nullptr;
    Material::NavIconType navIconType = Material::NavIconNone;
    QString title;
    QSize iconSize = QSize(48, 48);
    bool useThemeColors = true;
    QColor foregroundColor;
    QColor backgroundColor;
};
