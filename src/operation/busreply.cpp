#include "busreply.h"

#include <algorithm>

BusReply::BusReply(const quint8 *data, qint64 size)
    : m_data(data)
    , m_size(data ? int(std::clamp<qint64>(size, 0, 1 << 20)) : 0)
{
}

quint8 BusReply::at(int i) const
{
    if (i < 0 || i >= m_size || i >= frameSize())
        return 0;
    return m_data[i];
}

int BusReply::payloadSize() const
{
    // Without the CRC's two bytes, within what arrived.
    const int announced = int(lengthByte()) - 11;
    const int received = m_size - PayloadOffset - 2;
    return std::max(0, std::min(announced, received));
}

quint8 BusReply::payload(int i) const
{
    if (i < 0 || i >= payloadSize())
        return 0;
    return m_data[PayloadOffset + i];
}

QByteArray BusReply::payloadBytes() const
{
    const int n = payloadSize();
    if (n <= 0)
        return QByteArray();
    return QByteArray(reinterpret_cast<const char *>(m_data + PayloadOffset), n);
}
