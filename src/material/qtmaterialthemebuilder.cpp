#include "qtmaterialthemebuilder.h"
#include "qtmaterialtheme.h"

#include <QtMath>
#include <cstdlib>

namespace {

float linearComponent(qreal c)
{
    if (c <= 0.03928)
        return float(c / 12.92);
    return float(qPow((c + 0.055) / 1.055, 2.4));
}

QColor contrastingBlackOrWhite(const QColor &color)
{
    return color.black() < 129 ? QColor(Qt::black) : QColor(Qt::white);
}

} // namespace

QtMaterialTheme *QtMaterialThemeBuilder::createThemeFromColors(const QColor &primary,
                                                               const QColor &accent, bool dark)
{
    auto *theme = new QtMaterialTheme;

    theme->setColor(Material::PrimaryColor, primary);
    theme->setColor(Material::PrimaryDarkColor, primary.darker(200));
    theme->setColor(Material::PrimaryLightColor, primary.lighter(150));
    theme->setColor(Material::OnPrimaryColor, contrastingBlackOrWhite(primary));
    theme->setColor(Material::AccentColor, accent);
    theme->setColor(Material::AccentDarkColor, accent.darker(200));
    theme->setColor(Material::AccentLightColor, accent.lighter(150));
    theme->setColor(Material::BlackColor, contrastingBlackOrWhite(accent));
    theme->setColor(Material::CanvasColor, dark ? QColor(0x32, 0x32, 0x32)
                                                : QColor(0xE1, 0xE1, 0xE1));
    theme->setColor(Material::TextColor, dark ? QColor(0xE1, 0xE1, 0xE1)
                                              : QColor(0x32, 0x32, 0x32));
    theme->setColor(Material::BorderColor, dark ? QColor(0x4B, 0x4B, 0x4B)
                                                : QColor(0xC8, 0xC8, 0xC8));
    return theme;
}

QtMaterialTheme *QtMaterialThemeBuilder::createRandomTheme()
{
    // The draws are sequenced one by one: their order is part of the result.
    const int hue = std::rand() % 360;
    const int saturation = std::rand() % 175 + 80;
    const int value = std::rand() % 175 + 80;
    const QColor primary = QColor::fromHsv(hue, saturation, value, 255);

    const int accentHue = (hue + 50 + std::rand() % 260) % 360;
    const QColor accent = QColor::fromHsv(accentHue, 250, 250, 255);

    const bool dark = std::rand() % 2 == 0;
    return createThemeFromColors(primary, accent, dark);
}

float QtMaterialThemeBuilder::colorRLuminance(const QColor &color)
{
    const float r = linearComponent(color.redF());
    const float g = linearComponent(color.greenF());
    const float b = linearComponent(color.blueF());
    return 0.2126f * r + 0.7152f * g + 0.0722f * b;
}

float QtMaterialThemeBuilder::colorContrast(const QColor &a, const QColor &b)
{
    const float la = colorRLuminance(a);
    const float lb = colorRLuminance(b);
    const float lighter = qMax(la, lb);
    const float darker = qMin(la, lb);
    return (lighter + 0.05f) / (darker + 0.05f);
}

QColor QtMaterialThemeBuilder::contrastedColor(const QColor &color, const QColor &background,
                                               float ratio)
{
    const float wanted = qBound(1.0f, ratio, 7.0f);
    // Below the background's lightness the colour goes darker, else lighter.
    const int factor = color.lightness() < background.lightness() ? 105 : 95;

    QColor result = color;
    for (int i = 0; i < 31; ++i) {
        const float contrast = colorContrast(result, background);
        result = result.darker(factor);
        if (contrast >= wanted)
            break;
    }
    return result;
}
