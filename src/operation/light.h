#pragma once

// One light of a room, passed by value: the room card, the lighting tab and the
// 3-D view fill it from tbl_light, the light item keeps its own copy with the
// current values, and the colour dialog edits a copy. A light has up to four
// channel sets (an address and a level each); only the "RGB" type uses more than
// the first.

#include <QString>

#include <cstddef>
#include <cstdint>

// The values stored in light_type.
enum LightType {
    LightOnOff = 0,   // "On/Off": brightness[0] 0 off, 100 on
    LightAdjust = 1,  // "Adjust": brightness[0] level 0-100 %
    LightRGB = 2,     // "RGB": brightness[0..3] red, green, blue, white levels 0-100 %
    LightHSB = 6,     // "HSB RGB": brightness[0] 0-100, [1] hue 0-240, [2] saturation 0-240
    LightScene = 7,   // "Scene": brightness[0] 0 off, 100 on; channel is the area
    LightDaliDT8 = 8  // "Dali DT8": brightness[0] level, [1] colour-temperature position 0-100
};

struct light
{
    static constexpr int Sets = 4;

    int32_t light_id = 0;
    int32_t light_type = 0;
    int32_t us_id = 0;               // "Scene": the scene recalled when switched on
    int32_t fade = 0;                // carried along
    int32_t room_id = 0;
    int32_t rgb[Sets] = {};          // per set: the rgb column of its row
    int32_t saved_level[Sets] = {};  // per set: kept by the last all-off for the next all-on
    int32_t brightness[Sets] = {};   // per set: the current value, by type
    int32_t subnet_id[Sets] = {};
    int32_t device_id[Sets] = {};
    int32_t channel[Sets] = {};      // per set: channel; for "Scene" the area
    int32_t original_type[Sets] = {};
    char version[Sets][64] = {};     // per set: the firmware text, NUL-terminated
    char icon_name_of_light_on[64] = {};
    char icon_name_of_light_off[64] = {};
    char light_remark[128] = {};     // the light's name, UTF-8, NUL-terminated

    // Copies text into a fixed-size field as UTF-8, cut at a character boundary
    // and always terminated.
    template<size_t N>
    static void setText(char (&field)[N], const QString &text)
    {
        copyText(field, N, text);
    }
    static void copyText(char *field, size_t size, const QString &text);

    QString remark() const { return QString::fromUtf8(light_remark); }

    // The fourth ("white") set of an "RGB" light exists only when its subnet,
    // device and channel are all 1 or more.
    bool hasWhiteSet() const;
    // "RGB": any level is 1 or more; every other type: brightness[0] above 0.
    bool isOn() const;

    // The brightness column of the light's first row: brightness[0] for most types,
    // b0 * 65536 + b1 * 256 + b2 for "HSB RGB", b0 * 256 + b1 for "Dali DT8".
    int packedBrightness() const;
    // The reverse, as the loaders read the column back.
    void unpackBrightness(int stored);
};
