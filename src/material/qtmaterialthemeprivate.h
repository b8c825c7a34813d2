#pragma once

#include <QColor>
#include <QFont>
#include <QVector>

class QtMaterialTheme;

// Data of one theme: 15 colour slots and 13 fonts, indexed by their enumerations.
class QtMaterialThemePrivate
{
public:
    static constexpr int ColorCount = 15;
    static constexpr int FontCount = 13;

    explicit QtMaterialThemePrivate(QtMaterialTheme *q)
        : q(q), colors(ColorCount), fonts(FontCount)
    {
    }

    QtMaterialTheme *const q;
    QVector<QColor> colors;
    QVector<QFont> fonts;
};
