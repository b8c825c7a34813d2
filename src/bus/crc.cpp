#include "crc.h"

#include <array>
#include <cstdint>

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

inline unsigned short step(unsigned short crc, unsigned char byte)
{
    return static_cast<unsigned short>((crc << 8) ^ crcTable[static_cast<unsigned char>((crc >> 8) ^ byte)]);
}

// The CRC of a stream is its bits as a polynomial times x^16, modulo
// G = x^16 + x^12 + x^5 + 1 = (x + 1) * F, F = 0xF01F of degree 15, and x has the full
// order 2^15 - 1 modulo F. So the CRC carried n bytes further over zeros is the CRC
// times x^(8n), and a CRC modulo F is a power of x whose exponent the table gives:
// multiplying by x^(8n) adds 8n to it. Modulo x + 1 a CRC is its parity, which the
// multiplication keeps.
constexpr unsigned int Factor = 0xF01F;
constexpr unsigned int Order = 32767;

constexpr std::array<std::uint16_t, 32768> makeLogarithms()
{
    std::array<std::uint16_t, 32768> of {};
    unsigned int value = 1;
    for (unsigned int exponent = 0; exponent < Order; ++exponent) {
        of[value] = static_cast<std::uint16_t>(exponent);
        value <<= 1;
        if (value & 0x8000)
            value ^= Factor;
    }
    return of;
}

constexpr std::array<std::uint16_t, 32768> logarithms = makeLogarithms();

} // namespace

unsigned short crc16Xmodem(const unsigned char *data, size_t n)
{
    unsigned short crc = 0;
    for (size_t i = 0; i < n; ++i)
        crc = step(crc, data[i]);
    return crc;
}

namespace {

// The CRC of the bytes between two points of a stream, P and Q its CRCs there and n
// bytes apart, is Q - P * x^(8n) modulo G. It is zero when Q * x^(-8q) == P * x^(-8p),
// p and q the points' positions: the mark of a point is its CRC times x^(-8p), as its
// parity (modulo x + 1) and its logarithm (modulo F), or Order for zero.
inline unsigned short mark(unsigned int crc, unsigned int shift)
{
    const unsigned int reduced = crc ^ (-(crc >> 15) & Factor);
    unsigned int exponent = logarithms[reduced] + shift;
    exponent -= exponent >= Order ? Order : 0;
    exponent = reduced ? exponent : Order;
    return static_cast<unsigned short>(unsigned(__builtin_parity(crc)) << 15 | exponent);
}

// x^(-8p) as an exponent: Order - 8p modulo Order.
inline unsigned int shiftAt(unsigned long long position)
{
    return unsigned((Order - 8 * (position % Order) % Order) % Order);
}

} // namespace

unsigned short crc16XmodemMark(unsigned short crc, unsigned long long position)
{
    return mark(crc, shiftAt(position));
}

unsigned short crc16XmodemMarks(unsigned short crc, unsigned long long position,
                                const unsigned char *data, size_t n, unsigned short *out)
{
    unsigned int shift = shiftAt(position);
    for (size_t i = 0; i < n; ++i) {
        crc = step(crc, data[i]);
        shift = shift >= 8 ? shift - 8 : shift + Order - 8;
        out[i] = mark(crc, shift);
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
