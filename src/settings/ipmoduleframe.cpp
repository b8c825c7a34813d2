#include "ipmoduleframe.h"

#include "store/conversions.h"

#include <cstring>

namespace {

constexpr int PayloadStart = 25;
constexpr int HeaderBytes = 16;   // bytes before the length byte
constexpr int FrameOverhead = 11; // length byte .. target device, and the CRC
constexpr quint8 Ok = 0xF8;

} // namespace

IpModuleFrame IpModuleFrame::decode(const quint8 *frame, qlonglong length)
{
    IpModuleFrame out;
    if (!frame || length < PayloadStart + 2)
        return out;
    const int lengthByte = frame[16];
    if (lengthByte < FrameOverhead || HeaderBytes + lengthByte > length)
        return out;
    // Payload bytes that the frame really holds.
    const int n = lengthByte - FrameOverhead;
    const quint8 *p = frame + PayloadStart;
    const quint16 code = quint16((frame[21] << 8) | frame[22]);
    out.subnet = frame[17];
    out.device = frame[18];

    if (code == JoinCode) {
        // Byte 45 is payload byte 20; the MAC fills bytes 50-57.
        if (n < 33 || (p[20] != 0xFB && p[20] != 0xFC))
            return out;
        out.mac = QString::asprintf("%02X-%02X-%02X-%02X-%02X-%02X-%02X-%02X", p[25], p[26], p[27], p[28],
                                    p[29], p[30], p[31], p[32]);
        out.kind = Join;
        return out;
    }
    if (code != Answer || n < 2)
        return out;

    switch (p[0]) {
    case 0x08:
        out.success = p[1] == Ok;
        // A refusal needs no more than its result byte; a success its whole layout.
        if (out.success) {
            if (n < 13)
                return out;
            out.address = QString::asprintf("%d.%d.%d.%d", p[2], p[3], p[4], p[5]);
            out.port = quint16((p[6] << 8) | p[7]);
            out.password = QString::fromLatin1(reinterpret_cast<const char *>(p + 8),
                                               int(qstrnlen(reinterpret_cast<const char *>(p + 8), 4)));
            out.style = p[12];
        }
        out.kind = ServerInfo;
        break;
    case 0x09:
        out.success = p[1] == Ok;
        out.kind = ServerWritten;
        break;
    case 0xBC: {
        if (p[1] != 0x01 || n < 2 + DomainBytes)
            return out;
        unsigned char text[DomainBytes + 1] = {};
        letterFilter(text, const_cast<unsigned char *>(p + 2), DomainBytes, false);
        const char *chars = reinterpret_cast<const char *>(text);
        out.domain = QString::fromUtf8(chars, int(qstrnlen(chars, DomainBytes)));
        out.success = true;
        out.kind = Domain;
        break;
    }
    case 0xBD:
        if (p[1] != 0x01 || n < 3)
            return out;
        out.success = p[2] == Ok;
        out.kind = DomainWritten;
        break;
    default:
        break;
    }
    return out;
}
