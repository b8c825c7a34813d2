#include "light.h"

#include "store/textutil.h"

void light::copyText(char *field, size_t size, const QString &text)
{
    copyUtf8Field(field, size, text.toUtf8());
}

bool light::hasWhiteSet() const
{
    return subnet_id[3] >= 1 && device_id[3] >= 1 && channel[3] >= 1;
}

bool light::isOn() const
{
    if (light_type == LightRGB) {
        for (int level : brightness) {
            if (level >= 1)
                return true;
        }
        return false;
    }
    return brightness[0] > 0;
}

int light::packedBrightness() const
{
    switch (light_type) {
    case LightHSB:
        return brightness[0] * 65536 + brightness[1] * 256 + brightness[2];
    case LightDaliDT8:
        return brightness[0] * 256 + brightness[1];
    default:
        return brightness[0];
    }
}

void light::unpackBrightness(int stored)
{
    switch (light_type) {
    case LightHSB:
        brightness[0] = (stored >> 16) & 0xFF;
        brightness[1] = (stored >> 8) & 0xFF;
        brightness[2] = stored & 0xFF;
        break;
    case LightDaliDT8:
        brightness[0] = (stored >> 8) & 0xFF;
        brightness[1] = stored & 0xFF;
        break;
    default:
        brightness[0] = stored;
        break;
    }
}
