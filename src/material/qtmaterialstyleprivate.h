#pragma once

class QtMaterialStyle;
class QtMaterialTheme;

// Data of the style: its owner and the current theme.
class QtMaterialStylePrivate
{
public:
    explicit QtMaterialStylePrivate(QtMaterialStyle *q) : q(q) {}

    QtMaterialStyle *const q;
    QtMaterialTheme *theme = nullptr;
};
