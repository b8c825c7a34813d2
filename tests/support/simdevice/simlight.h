#pragma once

// A lighting module of any light type: a number of channels with a level each
// (0x0033/0x0034 read, 0x0031/0x0032 set), a colour temperature per channel set
// through channel + 100 (the "Dali DT8" form), brightness, hue and saturation
// per channel (0x2036/0x2037 read, 0x2034/0x2035 set) and a scene per area
// (0x0002/0x0003). Scene steps (0xF03C) are taken without an answer. Scripts set
// through the base (silence, short frames, bad CRC, ...) take precedence.

#include "simdevice.h"

#include <QHash>
#include <QVector>

class SimLight : public SimDevice
{
public:
    static constexpr quint16 GetLevels = 0x0033;
    static constexpr quint16 Levels = 0x0034;
    static constexpr quint16 SetLevel = 0x0031;
    static constexpr quint16 LevelSet = 0x0032;
    static constexpr quint16 GetHsb = 0x2036;
    static constexpr quint16 Hsb = 0x2037;
    static constexpr quint16 SetHsb = 0x2034;
    static constexpr quint16 HsbSet = 0x2035;
    static constexpr quint16 SetScene = 0x0002;
    static constexpr quint16 SceneSet = 0x0003;
    static constexpr quint16 SceneStep = 0xF03C;
    static constexpr quint8 Success = 0xF8;
    static constexpr quint8 Failure = 0xF5;

    struct Colour
    {
        int brightness = 0;
        int hue = 0;
        int saturation = 0;
    };

    SimLight(quint8 subnet, quint8 device, int channels = 4, quint16 deviceType = 0x0258);

    int channels() const { return m_levels.size(); }
    // Levels, colour temperatures and colours of channels 1 to channels().
    int level(int channel) const;
    void setLevel(int channel, int level);
    int colourTemperature(int channel) const;
    void setColourTemperature(int channel, int position);
    Colour colour(int channel) const { return m_colours.value(channel); }
    void setColour(int channel, const Colour &colour) { m_colours.insert(channel, colour); }
    // The scene last recalled in an area; -1 when none was.
    int scene(int area) const { return m_scenes.value(area, -1); }

    // Back to the state after construction; scripts and the request list too.
    void reset();
    // The requests of one operation code, in order.
    QList<SimFrame> requestsWithCode(quint16 code) const;

protected:
    void answer(const SimFrame &request, QList<QByteArray> &replies) override;

private:
    bool isChannel(int channel) const { return channel >= 1 && channel <= channels(); }
    QByteArray colourPayload(int channel) const;

    QVector<int> m_levels;
    QVector<int> m_temperatures;
    QHash<int, Colour> m_colours;
    QHash<int, int> m_scenes;
};
