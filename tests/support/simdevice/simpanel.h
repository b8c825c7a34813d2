#pragma once

// A wall panel: raises universal-switch frames (0xE01C, switch number and state)
// and records the answers (0xE01D) it hears.

#include "simdevice.h"

class SimPanel : public SimDevice
{
public:
    static constexpr quint16 UniversalSwitch = 0xE01C;
    static constexpr quint16 UniversalSwitchAnswer = 0xE01D;

    SimPanel(quint8 subnet, quint8 device)
        : SimDevice(subnet, device, 0x0095)
    {}

    // The frame a panel sends when switch number switchNo turns on or off.
    QByteArray switchFrame(quint8 switchNo, bool on, quint8 targetSubnet = 255,
                           quint8 targetDevice = 255) const;
    // The answers heard so far.
    QList<SimFrame> answers() const;
};
