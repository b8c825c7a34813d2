#include "simpanel.h"

QByteArray SimPanel::switchFrame(quint8 switchNo, bool on, quint8 targetSubnet, quint8 targetDevice) const
{
    QByteArray payload;
    payload.append(char(switchNo));
    payload.append(char(on ? 0xFF : 0x00));
    return frame(UniversalSwitch, targetSubnet, targetDevice, payload);
}

QList<SimFrame> SimPanel::answers() const
{
    QList<SimFrame> out;
    for (const SimFrame &f : requests()) {
        if (f.code == UniversalSwitchAnswer)
            out.append(f);
    }
    return out;
}
