#include "streamframes.h"

#include "bus/crc.h"

#include <QIODevice>

#include <cstring>

namespace {

enum class Start { None, Partial, Whole };

// Header before the length of bus and long frames: address, mark, AA AA or BB BB.
constexpr int HeaderSize = 16;
// The smallest lengths the receivers take (their frame checks).
constexpr int MinLoginFrame = 9;
constexpr int MinBusLength = 11;
constexpr int MinLongLength = 12;

// Whether the frame of total bytes at p, its CRC over p[crcFrom ..], is whole yet.
Start judge(unsigned char *p, int available, int total, int crcFrom, int &size)
{
    if (available < total)
        return Start::Partial;
    if (!checkCrc(p + crcFrom, static_cast<unsigned short>(total - 2 - crcFrom)))
        return Start::None;
    size = total;
    return Start::Whole;
}

// What begins at p, of which available bytes have come: no frame, maybe a frame
// once more bytes come, or a whole frame of size bytes.
Start startOf(unsigned char *p, int available, int &size)
{
    Start login = Start::None;
    if (p[0] == 0xCC && (available < 2 || p[1] == 0xCC)) {
        if (available < 4) {
            login = Start::Partial;
        } else {
            const int total = p[2] << 8 | p[3];
            if (total >= MinLoginFrame && total <= StreamFrames::MaxFrame)
                login = judge(p, available, total, 0, size);
        }
        if (login == Start::Whole)
            return login;
    }
    Start bus = Start::None;
    if (available <= 14) {
        bus = Start::Partial;
    } else if ((p[14] == 0xAA || p[14] == 0xBB) && (available < 16 || p[15] == p[14])) {
        const bool isLong = p[14] == 0xBB;
        if (available < HeaderSize + (isLong ? 2 : 1)) {
            bus = Start::Partial;
        } else {
            const int length = isLong ? (p[16] << 8 | p[17]) : p[16];
            if (length >= (isLong ? MinLongLength : MinBusLength)
                && HeaderSize + length <= StreamFrames::MaxFrame)
                bus = judge(p, available, HeaderSize + length, HeaderSize, size);
        }
    }
    if (bus == Start::Whole)
        return bus;
    return login == Start::Partial || bus == Start::Partial ? Start::Partial : Start::None;
}

} // namespace

void StreamFrames::compact()
{
    if (m_head == 0)
        return;
    m_bytes.remove(0, m_head);
    m_checked = qMax(0, m_checked - m_head);
    m_head = 0;
}

qint64 StreamFrames::readFrom(QIODevice &device)
{
    compact();
    const int kept = m_bytes.size();
    m_bytes.resize(kept + MaxFrame);
    const qint64 got = device.read(m_bytes.data() + kept, MaxFrame);
    m_bytes.resize(kept + int(qMax<qint64>(got, 0)));
    return got;
}

void StreamFrames::append(const char *data, int n)
{
    compact();
    m_bytes.append(data, n);
}

int StreamFrames::take(unsigned char *out)
{
    auto *bytes = reinterpret_cast<unsigned char *>(m_bytes.data());
    const int end = m_bytes.size();
    int size = 0;
    Start start = Start::None;
    while (m_head < end && (start = startOf(bytes + m_head, end - m_head, size)) == Start::None)
        m_head = qMax(m_head + 1, m_checked);
    if (m_head == end) {
        clear();
        return 0;
    }
    int at = m_head;
    if (start == Start::Partial) {
        // A start still waiting for its rest is no frame when a whole one stands
        // inside the bytes it claims. What starts nothing is judged once.
        at = -1;
        bool noneSoFar = true;
        for (int next = qMax(m_head + 1, m_checked); next < end && at < 0; ++next) {
            const Start found = startOf(bytes + next, end - next, size);
            if (found == Start::Whole)
                at = next;
            else if (found == Start::None && noneSoFar)
                m_checked = next + 1;
            else
                noneSoFar = false;
        }
        if (at < 0)
            return 0;
    }
    std::memcpy(out, bytes + at, size_t(size));
    m_head = at + size;
    return size;
}

void StreamFrames::clear()
{
    m_bytes.clear();
    m_head = 0;
    m_checked = 0;
}
