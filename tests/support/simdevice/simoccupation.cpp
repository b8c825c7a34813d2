#include "simoccupation.h"

SimOccupation::SimOccupation(quint8 subnet, quint8 device, int channels, quint16 deviceType)
    : SimDevice(subnet, device, deviceType)
    , m_occupied(qBound(1, channels, 100), false)
{}

void SimOccupation::setOccupied(int channel, bool occupied)
{
    if (channel >= 1 && channel <= channels())
        m_occupied[channel - 1] = occupied;
}

bool SimOccupation::isOccupied(int channel) const
{
    return channel >= 1 && channel <= channels() && m_occupied.at(channel - 1);
}

void SimOccupation::reset()
{
    m_occupied.fill(false);
    clearAnswers();
    clearRequests();
}

void SimOccupation::answer(const SimFrame &request, QList<QByteArray> &replies)
{
    SimDevice::answer(request, replies);
    if (request.code != GetStatus)
        return;
    QByteArray out;
    out.append(char(Success));
    out.append(char(channels()));
    out.append(QByteArray(channels(), '\0'));
    for (bool occupied : qAsConst(m_occupied))
        out.append(char(occupied ? 0 : 1));
    replies.append(replyTo(request, Status, out));
}
