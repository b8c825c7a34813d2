#include "lightcolours.h"

#include "bus/colorconversion.h"

#include <algorithm>

int displayLevel(int level)
{
    return std::clamp(level * 255 / 100, 0, 255);
}

QColor displayColourOfRgb(const light &rec)
{
    return QColor(displayLevel(rec.brightness[0]), displayLevel(rec.brightness[1]),
                  displayLevel(rec.brightness[2]));
}

QColor displayColourOfHsb(const light &rec)
{
    unsigned char r = 0;
    unsigned char g = 0;
    unsigned char b = 0;
    HSL2RGB(float(rec.brightness[1]), float(rec.brightness[2]),
            float(rec.brightness[0]) * 120.0f / 100.0f, &r, &g, &b);
    return QColor(r, g, b);
}

QColor displayColourOfTemperature(int position)
{
    static const QColor steps[] = {QColor(Qt::white), QColor(0xFF, 0xFA, 0xD0), QColor(0xFE, 0xEF, 0x60),
                                   QColor(0xF5, 0xBE, 0x18), QColor(0xE4, 0x8A, 0x00),
                                   QColor(0xDA, 0x67, 0x13)};
    // 16 is 100 / 6 in integers.
    const int index = std::clamp(position / 16, 0, 5);
    return steps[index];
}
