#pragma once

// An occupation sensor with a number of channels: 0x012C is answered with 0x012D
// carrying 0xF8, the channel count n, a block of n bytes, and one state byte per
// channel (0 occupied, anything else unoccupied).

#include "simdevice.h"

#include <QVector>

class SimOccupation : public SimDevice
{
public:
    static constexpr quint16 GetStatus = 0x012C;
    static constexpr quint16 Status = 0x012D;
    static constexpr quint8 Success = 0xF8;

    SimOccupation(quint8 subnet, quint8 device, int channels = 4, quint16 deviceType = 0x0134);

    int channels() const { return m_occupied.size(); }
    void setOccupied(int channel, bool occupied);
    bool isOccupied(int channel) const;

    void reset();

protected:
    void answer(const SimFrame &request, QList<QByteArray> &replies) override;

private:
    QVector<bool> m_occupied;
};
