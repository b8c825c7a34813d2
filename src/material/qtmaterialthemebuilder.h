#pragma once

#include <QColor>

class QtMaterialTheme;

// Derives whole themes from two colours (or from random ones) and measures the
// luminance and contrast of colours. Every theme returned is new, has no parent and
// belongs to the caller.
class QtMaterialThemeBuilder
{
public:
    static QtMaterialTheme *createThemeFromColors(const QColor &primary, const QColor &accent,
                                                  bool dark);
    static QtMaterialTheme *createRandomTheme();

    // Relative luminance, 0 (black) to 1 (white).
    static float colorRLuminance(const QColor &color);
    // Contrast ratio, 1 (equal) to 21 (black on white).
    static float colorContrast(const QColor &a, const QColor &b);
    // The colour stepped darker or lighter, away from the background, until it
    // contrasts with it by the ratio (1 to 7), at most 31 steps.
    static QColor contrastedColor(const QColor &color, const QColor &background, float ratio);
};
