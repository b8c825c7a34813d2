#pragma once

// The colours that a light's card and the colour dialog show for its levels.
// Levels are shown on the 0-255 scale as level * 255 / 100; a device that reports
// a level above 100 is shown at full strength, while the record keeps the level
// as reported.

#include "operation/light.h"

#include <QColor>

// level * 255 / 100 in integers, held within 0 to 255.
int displayLevel(int level);

// "RGB": red, green and blue from brightness[0], [1] and [2].
QColor displayColourOfRgb(const light &rec);

// "HSB RGB": HSL2RGB of hue brightness[1], saturation brightness[2] and
// luminance brightness[0] * 120 / 100.
QColor displayColourOfHsb(const light &rec);

// "Dali DT8": the swatch colour of a colour-temperature position 0-100, from
// white (6500 K) to deep amber (2700 K) in six steps.
QColor displayColourOfTemperature(int position);
