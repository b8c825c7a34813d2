#include "conversions.h"

#include "store/textutil.h"

#include <QStringList>

#include <cmath>

namespace {

constexpr int kVersionBufferSize = 128;

bool isPrintable(unsigned char c)
{
    return c >= 0x20 && c <= 0x7E;
}

} // namespace

int letterFilter(unsigned char *dst, unsigned char *src, int len, bool stop)
{
    if (len < 1 || !dst || !src)
        return 0;
    bool allUnset = true;
    for (int i = 0; i < len; ++i) {
        if (src[i] != 0xFF) {
            allUnset = false;
            break;
        }
    }
    if (allUnset)
        return 0;
    for (int i = 0; i < len; ++i) {
        if (!isPrintable(src[i]) && stop)
            return i;
        dst[i] = src[i];
    }
    return 0;
}

int get_Celsius_Temperature(int fahrenheit)
{
    const double celsius = static_cast<double>(fahrenheit - 32) * 5.0 / 9.0;
    return static_cast<int>(std::lround(celsius));
}

int get_Fahrenheit_Temperature(int celsius)
{
    const double fahrenheit = static_cast<double>(celsius) * 1.8 + 32.0;
    return static_cast<int>(std::lround(fahrenheit));
}

bool isValidIpMacAddress(const QString &text)
{
    if (text.isEmpty())
        return false;
    return text.split(QLatin1Char('-'), Qt::SkipEmptyParts).size() == 8;
}

bool checkNumber(unsigned char c)
{
    return c >= '0' && c <= '9';
}

float getVersion(const QString &text)
{
    // The working buffer always keeps its last byte as a terminator: a longer text
    // is cut to 127 bytes at a character boundary.
    char buffer[kVersionBufferSize];
    copyUtf8Field(buffer, sizeof buffer, text.toUtf8());

    const auto isDigit = [&buffer](int i) { return checkNumber(static_cast<unsigned char>(buffer[i])); };
    for (int i = 0; i <= kVersionBufferSize - 3; ++i) {
        if (!isDigit(i) || buffer[i + 1] != '.' || !isDigit(i + 2))
            continue;
        int end = i + 2;
        if (i + 3 < kVersionBufferSize && isDigit(i + 3))
            end = i + 3;
        return QString::fromLatin1(buffer + i, end - i + 1).toFloat();
    }
    return 0.0f;
}
