#include "streamframes.h"

#include "bus/crc.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace {

// Header before the length of bus and long frames: address, mark, AA AA or BB BB.
constexpr int HeaderSize = 16;
// A place's header is judged once the 4 bytes of its marks and length have come:
// bytes 0-3 of a login frame, bytes 14-17 of a bus or long frame.
constexpr int LoginLook = 4;
constexpr int BusLook = HeaderSize + 2;
// The smallest lengths the receivers take (their frame checks).
constexpr int MinLoginFrame = 9;
constexpr int MinBusLength = 11;
constexpr int MinLongLength = 12;
// Bytes before the head are dropped once they are this many, and as many as are kept.
constexpr size_t CompactFrom = 4096;

} // namespace

StreamFrames::StreamFrames()
{
    clear();
}

void StreamFrames::clear()
{
    m_bytes.clear();
    m_crc = 0;
    m_marks.assign(1, crc16XmodemMark(0, 0));
    m_size = 0;
    m_origin = m_head = m_judged = 0;
    m_waiting.assign(Ring, -1);
    m_next.assign(2 * Ring, -1);
    m_open.assign(Ring, 0);
}

void StreamFrames::compact()
{
    const size_t dead = size_t(m_head - m_origin);
    if (dead < CompactFrom || dead < m_size - dead)
        return;
    const size_t kept = m_size - dead;
    std::memmove(m_bytes.data(), m_bytes.data() + dead, kept);
    std::memmove(m_marks.data(), m_marks.data() + dead, (kept + 1) * sizeof(unsigned short));
    m_size = kept;
    m_origin = m_head;
}

unsigned char *StreamFrames::room(qint64 n)
{
    compact();
    const size_t needed = m_size + size_t(n);
    if (m_bytes.size() < needed) {
        const size_t grown = std::max(needed, 2 * m_bytes.size());
        m_bytes.resize(grown);
        m_marks.resize(grown + 1);
    }
    return m_bytes.data() + m_size;
}

void StreamFrames::append(const char *data, int n)
{
    if (n <= 0)
        return;
    std::memcpy(room(n), data, size_t(n));
    m_crc = crc16XmodemMarks(m_crc, quint64(end()), m_bytes.data() + m_size, size_t(n),
                             m_marks.data() + m_size + 1);
    m_size += size_t(n);
}

int StreamFrames::take(unsigned char *out)
{
    // Kept in locals: the stores into the tables below could otherwise alias every
    // member, which the compiler would then load again at each byte.
    const qint64 origin = m_origin;
    const qint64 last = end();
    const unsigned char *bytes = m_bytes.data();
    const unsigned short *marks = m_marks.data();
    std::int16_t *waiting = m_waiting.data();
    std::int16_t *next = m_next.data();
    unsigned char *open = m_open.data();
    const qint64 head = m_head;
    qint64 now = m_judged;
    // The frame that ends first among those that hold (the first of them to start,
    // where several end together). Every other place seen before it ends lies
    // inside it: taking it leaves none of them behind.
    qint64 firstPlace = -1;
    qint64 firstEnd = -1;
    const auto found = [&](qint64 place, qint64 frameEnd) {
        if (firstEnd < 0 || frameEnd < firstEnd || (frameEnd == firstEnd && place < firstPlace))
            firstPlace = place, firstEnd = frameEnd;
    };
    // The CRC covers a login frame whole, a bus or long frame from its length on;
    // followed by the CRC itself, that span's CRC is zero.
    const auto holds = [&](qint64 place, Kind kind, qint64 frameEnd) {
        return marks[place + (kind == Login ? 0 : HeaderSize) - origin] == marks[frameEnd - origin];
    };
    // A frame whose bytes have all come is judged at once; one still waiting for its
    // end is judged then.
    const auto judge = [&](qint64 place, Kind kind, qint64 frameEnd) {
        if (frameEnd <= last) {
            if (holds(place, kind, frameEnd))
                found(place, frameEnd);
            return;
        }
        const int entry = int(place & RingMask) << 1 | kind;
        std::int16_t &first = waiting[frameEnd & RingMask];
        next[entry] = first;
        first = std::int16_t(entry);
        open[place & RingMask] |= static_cast<unsigned char>(1 << kind);
    };
    while (now < last) {
        ++now;
        // The four bytes that came last: the marks and length of a login frame that
        // starts with them, or of a bus or long frame that started 14 bytes earlier.
        const unsigned char *b = now >= head + LoginLook ? bytes + (now - LoginLook - origin) : nullptr;
        if (b && b[1] == b[0]) {
            if (b[0] == 0xCC) {
                const int total = b[2] << 8 | b[3];
                if (total >= MinLoginFrame && total <= MaxFrame)
                    judge(now - LoginLook, Login, now - LoginLook + total);
            } else if ((b[0] == 0xAA || b[0] == 0xBB) && now >= head + BusLook) {
                const bool isLong = b[0] == 0xBB;
                const int length = isLong ? (b[2] << 8 | b[3]) : b[2];
                if (length >= (isLong ? MinLongLength : MinBusLength) && HeaderSize + length <= MaxFrame)
                    judge(now - BusLook, Bus, now - BusLook + HeaderSize + length);
            }
        }
        // The places that waited for their frames to end here.
        std::int16_t &first = waiting[now & RingMask];
        for (int entry = std::exchange(first, std::int16_t(-1)); entry >= 0; entry = next[entry]) {
            const int slot = entry >> 1;
            const Kind kind = Kind(entry & 1);
            const qint64 place = now - ((now - slot) & RingMask);
            open[slot] &= static_cast<unsigned char>(~(1 << kind));
            if (place >= head && holds(place, kind, now))
                found(place, now);
        }
        if (firstEnd == now) {
            const int size = int(now - firstPlace);
            std::memcpy(out, bytes + (firstPlace - origin), size_t(size));
            m_head = m_judged = now;
            return size;
        }
    }
    // No whole frame: what cannot start one any more is skipped, up to the first
    // place still waiting for its end, or whose header has not all come. A place
    // waits for an end past the last byte, at most one longest frame after it: the
    // places further back wait for nothing, however much one append brought, and the
    // slots of those left are theirs alone.
    qint64 skipped = std::max(head, last - MaxFrame + 1);
    while (skipped < last - BusLook + 1 && !open[skipped & RingMask])
        ++skipped;
    m_head = skipped;
    m_judged = now;
    return 0;
}
