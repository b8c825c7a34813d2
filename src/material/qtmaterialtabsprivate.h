#pragma once

#include "material.h"

#include <QColor>
#include <QSize>

class QtMaterialGroupBox;
class QtMaterialTab;
class QtMaterialTabs;

// Data and set-up of a tab bar.
class QtMaterialTabsPrivate
{
    Q_DISABLE_COPY(QtMaterialTabsPrivate)
    Q_DECLARE_PUBLIC(QtMaterialTabs)

public:
    explicit QtMaterialTabsPrivate(QtMaterialTabs *q);
    virtual ~QtMaterialTabsPrivate();

    void init();
    // The tab at the index of the tab box's layout, if there is one.
    QtMaterialTab *tabAt(int index) const;

    QtMaterialTabs *const q_ptr;
    QtMaterialGroupBox *tabBox = nullptr;
    int tabCount = 0;
    Material::RippleStyle rippleStyle = Material::RippleFromCentre;
    int currentIndex = -1;
    QSize iconSize = QSize(48, 48);
    bool haloVisible = false;
    bool useThemeColors = true;
    QColor inkColor;
    QColor backgroundColor;
    QColor textColor;
};
