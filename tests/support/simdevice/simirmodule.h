#pragma once

// An infrared module that drives air conditioners through universal switches.
// It reports its temperature unit (0xE120/0xE121) and the room temperature as a
// signed byte (0xE3E7/0xE3E8), and takes universal-switch frames (0xE01C) without
// ever answering them.

#include "simdevice.h"

class SimIrModule : public SimDevice
{
public:
    static constexpr quint16 GetUnit = 0xE120;
    static constexpr quint16 Unit = 0xE121;
    static constexpr quint16 GetRoomTemperature = 0xE3E7;
    static constexpr quint16 RoomTemperature = 0xE3E8;
    static constexpr quint16 UniversalSwitch = 0xE01C;

    SimIrModule(quint8 subnet, quint8 device, quint16 deviceType = 0x0172);

    void setTemperatureUnit(int unit) { m_unit = unit; }
    // Degrees Celsius, -128 to 127.
    void setRoomTemperature(int celsius) { m_room = celsius; }

    // The switch numbers received, in order.
    QList<int> switchNumbers() const;

    void reset();

protected:
    void answer(const SimFrame &request, QList<QByteArray> &replies) override;

private:
    int m_unit = 0;
    int m_room = 22;
};
