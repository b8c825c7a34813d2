#include "simlight.h"

SimLight::SimLight(quint8 subnet, quint8 device, int channels, quint16 deviceType)
    : SimDevice(subnet, device, deviceType)
    , m_levels(qBound(1, channels, 240), 0)
    , m_temperatures(qBound(1, channels, 240), 0)
{
}

int SimLight::level(int channel) const
{
    return isChannel(channel) ? m_levels.at(channel - 1) : 0;
}

void SimLight::setLevel(int channel, int level)
{
    if (isChannel(channel))
        m_levels[channel - 1] = level;
}

int SimLight::colourTemperature(int channel) const
{
    return isChannel(channel) ? m_temperatures.at(channel - 1) : 0;
}

void SimLight::setColourTemperature(int channel, int position)
{
    if (isChannel(channel))
        m_temperatures[channel - 1] = position;
}

void SimLight::reset()
{
    m_levels.fill(0);
    m_temperatures.fill(0);
    m_colours.clear();
    m_scenes.clear();
    clearAnswers();
    clearRequests();
}

QList<SimFrame> SimLight::requestsWithCode(quint16 code) const
{
    QList<SimFrame> found;
    for (const SimFrame &frame : requests()) {
        if (frame.code == code)
            found.append(frame);
    }
    return found;
}

QByteArray SimLight::colourPayload(int channel) const
{
    const Colour c = colour(channel);
    QByteArray payload;
    payload.append(char(Success));
    payload.append(char(channel));
    payload.append(3, '\0');
    payload.append(char(c.brightness));
    payload.append(char(c.hue));
    payload.append(char(c.saturation));
    return payload;
}

void SimLight::answer(const SimFrame &request, QList<QByteArray> &replies)
{
    SimDevice::answer(request, replies);
    const QByteArray &p = request.payload;
    auto byte = [&p](int i) { return int(quint8(p.at(i))); };

    switch (request.code) {
    case GetLevels: {
        QByteArray payload;
        payload.append(char(channels()));
        for (int level : qAsConst(m_levels))
            payload.append(char(level));
        replies.append(replyTo(request, Levels, payload));
        break;
    }
    case SetLevel: {
        if (p.size() < 2)
            break;
        const int channel = byte(0);
        const int level = byte(1);
        QByteArray payload;
        payload.append(char(channel));
        if (isChannel(channel)) {
            setLevel(channel, level);
            payload.append(char(Success)).append(char(level));
        } else if (isChannel(channel - 100)) {
            setColourTemperature(channel - 100, level);
            payload.append(char(Success)).append(char(level));
        } else {
            payload.append(char(Failure)).append('\0');
        }
        replies.append(replyTo(request, LevelSet, payload));
        break;
    }
    case GetHsb:
        if (!p.isEmpty() && isChannel(byte(0)))
            replies.append(replyTo(request, Hsb, colourPayload(byte(0))));
        break;
    case SetHsb:
        if (p.size() >= 5 && isChannel(byte(0))) {
            setColour(byte(0), Colour{byte(1), byte(2), byte(4)});
            replies.append(replyTo(request, HsbSet, colourPayload(byte(0))));
        }
        break;
    case SetScene:
        if (p.size() >= 2) {
            m_scenes.insert(byte(0), byte(1));
            replies.append(replyTo(request, SceneSet, p.left(2)));
        }
        break;
    default:
        break;
    }
}
