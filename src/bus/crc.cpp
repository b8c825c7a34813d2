#include "crc.h"

#include <array>

namespace {

// Entry i is the CRC of the single byte i.
constexpr std::array<unsigned short, 256> makeTable()
{
    std::array<unsigned short, 256> table {};
    for (unsigned int i = 0; i < 256; ++i) {
        unsigned int crc = i << 8;
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 0x8000) ? ((crc << 1) ^ 0x1021) : (crc << 1);
        table[i] = static_cast<unsigned short>(crc & 0xFFFF);
    }
    return table;
}

constexpr std::array<unsigned short, 256> crcTable = makeTable();

} // namespace

unsigned short crc16Xmodem(const unsigned char *data, size_t n)
{
    unsigned short crc = 0;
    for (size_t i = 0; i < n; ++i) {
        const unsigned char index = static_cast<unsigned char>((crc >> 8) ^ data[i]);
        crc = static_cast<unsigned short>((crc << 8) ^ crcTable[index]);
    }
    return crc;
}

void packCrc(unsigned char *data, unsigned short n)
{
    const unsigned short crc = crc16Xmodem(data, n);
    data[n] = static_cast<unsigned char>(crc >> 8);
    data[n + 1] = static_cast<unsigned char>(crc & 0xFF);
}

bool checkCrc(unsigned char *data, unsigned short n)
{
    const unsigned short crc = crc16Xmodem(data, n);
    return data[n] == static_cast<unsigned char>(crc >> 8)
        && data[n + 1] == static_cast<unsigned char>(crc & 0xFF);
}
