#pragma once

// A floor-heating controller with one or more circuits. Circuit 1 answers the
// plain forms, every circuit the forms with the circuit index (number - 1):
// set-point range 0xA13E/0xA13F, state 0x1944/0x1945, and the commands 0xE3D8/
// 0xE3D9 for power (item 0x14) and set point (item 0x18). The command's channel
// form carries no index; the controller applies it to the circuit last asked for
// in the channel form (circuit 2 until then).

#include "simdevice.h"

#include <QVector>

class SimFloorHeat : public SimDevice
{
public:
    static constexpr quint16 GetRange = 0xA13E;
    static constexpr quint16 Range = 0xA13F;
    static constexpr quint16 GetState = 0x1944;
    static constexpr quint16 State = 0x1945;
    static constexpr quint16 Command = 0xE3D8;
    static constexpr quint16 Confirmation = 0xE3D9;
    static constexpr quint8 Success = 0xF8;
    static constexpr quint8 ChannelMark = 0x23;
    static constexpr quint8 PowerItem = 0x14;
    static constexpr quint8 SetPointItem = 0x18;

    struct Circuit
    {
        int unit = 0;
        int room = 22;
        int status = 0;
        int mode = 1;                        // 1 to 4 pick a set point
        int setPoints[4] = {20, 21, 22, 23}; // of modes 1 to 4
    };

    SimFloorHeat(quint8 subnet, quint8 device, int circuits = 1, quint16 deviceType = 0x0210);

    int circuits() const { return m_circuits.size(); }
    Circuit &circuit(int number);
    void setRange(int low, int high)
    {
        m_low = low;
        m_high = high;
    }

    void reset(int circuits = 1);
    QList<SimFrame> requestsWithCode(quint16 code) const;

protected:
    void answer(const SimFrame &request, QList<QByteArray> &replies) override;

private:
    bool isCircuit(int number) const { return number >= 1 && number <= circuits(); }
    void apply(Circuit &c, int item, int value);

    QVector<Circuit> m_circuits;
    Circuit m_scratch;
    int m_low = 5;
    int m_high = 35;
    int m_lastAddressed = 2;
};
