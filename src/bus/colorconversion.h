#pragma once

// Conversions between red/green/blue bytes and hue/saturation/luminance, used to
// paint and set colour lights. All arithmetic is in single precision.

struct tagCOLOR_RGB
{
    unsigned char red = 0;
    unsigned char green = 0;
    unsigned char blue = 0;
};

struct tagCOLOR_HSL
{
    float hue = 0.0f;        // 0 to 360 degrees
    float saturation = 0.0f; // 0 to 100
    float luminance = 0.0f;  // 0 to 100
};

// Hue in degrees, saturation and luminance in percent. A grey has hue 240.
void RGBtoHSL(const tagCOLOR_RGB *rgb, tagCOLOR_HSL *hsl);
void HSLtoRGB(const tagCOLOR_HSL *hsl, tagCOLOR_RGB *rgb);

// The same with all three components on a scale of 0 to 240.
void RGB2HSL(unsigned char r, unsigned char g, unsigned char b, float *h, float *s, float *l);
void HSL2RGB(float h, float s, float l, unsigned char *r, unsigned char *g, unsigned char *b);
