#pragma once

// A wall panel that runs one or more air conditioners. Unit 1 answers the plain
// forms (no unit index), every unit the channel forms (unit index = number - 1):
// temperature unit 0xE120/0xE121, modes and fan speeds 0xE124/0xE125, set-point
// ranges 0x1900/0x1901, parameters 0xE0EC/0xE0ED and the parameter command
// 0xE0EE/0xE0EF. Scripts set through the base take precedence.

#include "simdevice.h"

#include <QVector>

class SimAcPanel : public SimDevice
{
public:
    static constexpr quint16 GetUnit = 0xE120;
    static constexpr quint16 Unit = 0xE121;
    static constexpr quint16 GetModes = 0xE124;
    static constexpr quint16 Modes = 0xE125;
    static constexpr quint16 GetRanges = 0x1900;
    static constexpr quint16 Ranges = 0x1901;
    static constexpr quint16 GetParameters = 0xE0EC;
    static constexpr quint16 Parameters = 0xE0ED;
    static constexpr quint16 SetParameters = 0xE0EE;
    static constexpr quint16 ParametersSet = 0xE0EF;
    static constexpr quint8 Success = 0xF8;

    struct AcUnit
    {
        int status = 0;
        int mode = 0;  // 0 cool, 1 heat, 2 fan, 3 auto
        int speed = 0; // 0 auto, 1 high, 2 medium, 3 low
        int cool = 24;
        int heat = 22;
        int autoPoint = 23;
        int dry = 25;
        int room = 21;
        QVector<int> modes{0, 1, 2, 3};
        QVector<int> speeds{0, 1, 2, 3};
        int lowCool = 16, highCool = 30;
        int lowHeat = 16, highHeat = 30;
        int lowAuto = 18, highAuto = 28;
    };

    SimAcPanel(quint8 subnet, quint8 device, int units = 1, quint16 deviceType = 0x0095);

    int units() const { return m_units.size(); }
    // Unit 1 to units(); a number outside gives a scratch unit.
    AcUnit &unit(int number);
    void setTemperatureUnit(int unit) { m_temperatureUnit = unit; }
    // Answers a plain parameters query in the channel form with unit index 0.
    void setPlainParametersInChannelForm(bool on) { m_channelFormForPlain = on; }

    void reset(int units = 1);
    QList<SimFrame> requestsWithCode(quint16 code) const;

protected:
    void answer(const SimFrame &request, QList<QByteArray> &replies) override;

private:
    bool isUnit(int number) const { return number >= 1 && number <= units(); }
    QByteArray parameters(const AcUnit &u) const;

    QVector<AcUnit> m_units;
    AcUnit m_scratch;
    int m_temperatureUnit = 0;
    bool m_channelFormForPlain = false;
};
