#include "textutil.h"

#include <cstring>

int utf8PrefixLength(const QByteArray &utf8, int maxBytes)
{
    if (maxBytes <= 0)
        return 0;
    if (utf8.size() <= maxBytes)
        return utf8.size();
    int n = maxBytes;
    // Step back over continuation bytes (10xxxxxx) to the start of the character
    // that would be cut, and cut before it.
    while (n > 0 && (static_cast<unsigned char>(utf8.at(n)) & 0xC0) == 0x80)
        --n;
    return n;
}

void copyUtf8Field(char *field, size_t size, const QByteArray &utf8)
{
    if (!field || size == 0)
        return;
    const int n = utf8PrefixLength(utf8, static_cast<int>(size) - 1);
    std::memset(field, 0, size);
    if (n > 0)
        std::memcpy(field, utf8.constData(), static_cast<size_t>(n));
}
