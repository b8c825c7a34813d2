#include "colorconversion.h"

#include <algorithm>

namespace {

const float OneThird = 1.0f / 3.0f;
const float TwoThirds = 2.0f / 3.0f;

float component(float p, float q, float t)
{
    if (t < 0.0f)
        t += 1.0f;
    if (t > 1.0f)
        t -= 1.0f;
    float c = p;
    if (6.0f * t < 1.0f)
        c = p + (q - p) * 6.0f * t;
    else if (2.0f * t < 1.0f)
        c = q;
    else if (3.0f * t < 2.0f)
        c = p + (q - p) * (TwoThirds - t) * 6.0f;
    return c * 255.0f;
}

unsigned char toByte(float value)
{
    // Clamped, then truncated toward zero: 127.5 gives 127.
    return static_cast<unsigned char>(std::clamp(value, 0.0f, 255.0f));
}

} // namespace

void RGBtoHSL(const tagCOLOR_RGB *rgb, tagCOLOR_HSL *hsl)
{
    const float r = rgb->red / 255.0f;
    const float g = rgb->green / 255.0f;
    const float b = rgb->blue / 255.0f;
    const float maxValue = std::max({r, g, b});
    const float minValue = std::min({r, g, b});

    float hue = 240.0f;
    float saturation = 0.0f;
    const float luminance = (maxValue + minValue) / 2.0f;

    if (maxValue != minValue) {
        const float d = maxValue - minValue;
        if (maxValue == r && g >= b)
            hue = 60.0f * (g - b) / d;
        else if (maxValue == r)
            hue = 60.0f * (g - b) / d + 360.0f;
        else if (maxValue == g)
            hue = 60.0f * (b - r) / d + 120.0f;
        else
            hue = 60.0f * (r - g) / d + 240.0f;

        if (luminance == 0.0f)
            saturation = 0.0f;
        else if (luminance <= 0.5f)
            saturation = d / (maxValue + minValue);
        else
            saturation = d / (2.0f - (maxValue + minValue));
    }

    hsl->hue = std::clamp(hue, 0.0f, 360.0f);
    hsl->saturation = saturation > 1.0f ? 100.0f : std::max(saturation, 0.0f) * 100.0f;
    hsl->luminance = luminance > 1.0f ? 100.0f : luminance * 100.0f;
}

void HSLtoRGB(const tagCOLOR_HSL *hsl, tagCOLOR_RGB *rgb)
{
    const float l = hsl->luminance / 100.0f;
    float r = 0.0f;
    float g = 0.0f;
    float b = 0.0f;
    if (hsl->saturation == 0.0f) {
        r = g = b = l * 255.0f;
    } else {
        const float s = hsl->saturation / 100.0f;
        const float q = l < 0.5f ? l * (1.0f + s) : s + l - s * l;
        const float p = 2.0f * l - q;
        const float h = hsl->hue / 360.0f;
        r = component(p, q, h + OneThird);
        g = component(p, q, h);
        b = component(p, q, h - OneThird);
    }
    rgb->red = toByte(r);
    rgb->green = toByte(g);
    rgb->blue = toByte(b);
}

void RGB2HSL(unsigned char r, unsigned char g, unsigned char b, float *h, float *s, float *l)
{
    tagCOLOR_RGB rgb;
    rgb.red = r;
    rgb.green = g;
    rgb.blue = b;
    tagCOLOR_HSL hsl;
    RGBtoHSL(&rgb, &hsl);
    *h = hsl.hue * 240.0f / 360.0f;
    *s = hsl.saturation * 240.0f / 100.0f;
    *l = 240.0f * hsl.luminance / 100.0f;
}

void HSL2RGB(float h, float s, float l, unsigned char *r, unsigned char *g, unsigned char *b)
{
    tagCOLOR_HSL hsl;
    hsl.hue = h * 360.0f / 240.0f;
    hsl.saturation = s * 100.0f / 240.0f;
    hsl.luminance = l * 100.0f / 240.0f;
    tagCOLOR_RGB rgb;
    HSLtoRGB(&hsl, &rgb);
    *r = rgb.red;
    *g = rgb.green;
    *b = rgb.blue;
}
