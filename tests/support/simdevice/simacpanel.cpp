#include "simacpanel.h"

SimAcPanel::SimAcPanel(quint8 subnet, quint8 device, int units, quint16 deviceType)
    : SimDevice(subnet, device, deviceType)
    , m_units(qBound(1, units, 16))
{}

SimAcPanel::AcUnit &SimAcPanel::unit(int number)
{
    if (!isUnit(number))
        return m_scratch;
    return m_units[number - 1];
}

void SimAcPanel::reset(int units)
{
    m_units = QVector<AcUnit>(qBound(1, units, 16));
    m_temperatureUnit = 0;
    m_channelFormForPlain = false;
    clearAnswers();
    clearRequests();
}

QList<SimFrame> SimAcPanel::requestsWithCode(quint16 code) const
{
    QList<SimFrame> found;
    for (const SimFrame &frame : requests()) {
        if (frame.code == code)
            found.append(frame);
    }
    return found;
}

// Status, cool set point, mode and speed, 1, room, heat, 0, auto, dry, 0.
QByteArray SimAcPanel::parameters(const AcUnit &u) const
{
    QByteArray p;
    p.append(char(u.status));
    p.append(char(u.cool));
    p.append(char(u.mode * 16 + u.speed));
    p.append(char(1));
    p.append(char(u.room));
    p.append(char(u.heat));
    p.append('\0');
    p.append(char(u.autoPoint));
    p.append(char(u.dry));
    p.append('\0');
    return p;
}

void SimAcPanel::answer(const SimFrame &request, QList<QByteArray> &replies)
{
    SimDevice::answer(request, replies);
    const QByteArray &p = request.payload;
    auto byte = [&p](int i) { return int(quint8(p.at(i))); };
    // Channel forms carry the unit index first.
    const bool channelForm = request.code == SetParameters ? p.size() == 9 : !p.isEmpty();
    const int number = channelForm ? byte(0) + 1 : 1;
    if (request.code != GetUnit && !isUnit(number))
        return;
    AcUnit &u = unit(number);

    switch (request.code) {
    case GetUnit:
        replies.append(replyTo(request, Unit, QByteArray(1, char(m_temperatureUnit))));
        break;
    case GetModes: {
        QByteArray out;
        if (!channelForm) {
            out.append(char(u.modes.size()));
            for (int i = 0; i < 4; ++i)
                out.append(char(i < u.modes.size() ? u.modes[i] : 0));
            out.append(char(u.speeds.size()));
            for (int i = 0; i < 5; ++i)
                out.append(char(i < u.speeds.size() ? u.speeds[i] : 0));
        } else {
            out.append(char(Success)).append(char(number - 1));
            for (int m = 0; m < 4; ++m)
                out.append(char(u.modes.contains(m) ? 1 : 0));
            for (int s = 0; s < 5; ++s)
                out.append(char(u.speeds.contains(s) ? 1 : 0));
            out.append('\0');
        }
        replies.append(replyTo(request, Modes, out));
        break;
    }
    case GetRanges: {
        QByteArray out;
        if (channelForm)
            out.append(char(Success)).append(char(number - 1));
        out.append(char(u.lowCool)).append(char(u.highCool));
        out.append(char(u.lowHeat)).append(char(u.highHeat));
        out.append(char(u.lowAuto)).append(char(u.highAuto));
        out.append(char(u.dry)).append(char(u.dry));
        if (!channelForm)
            out.append('\0');
        replies.append(replyTo(request, Ranges, out));
        break;
    }
    case GetParameters: {
        QByteArray out;
        if (channelForm || m_channelFormForPlain)
            out.append(char(Success)).append(char(number - 1));
        out.append(parameters(u));
        replies.append(replyTo(request, Parameters, out));
        break;
    }
    case SetParameters: {
        const int first = channelForm ? 1 : 0;
        if (p.size() < first + 8)
            return;
        u.status = byte(first);
        u.cool = byte(first + 1);
        u.mode = byte(first + 2) / 16;
        u.speed = byte(first + 2) % 16;
        u.heat = byte(first + 4);
        u.autoPoint = byte(first + 5);
        u.dry = byte(first + 6);
        QByteArray out;
        out.append(char(Success));
        if (channelForm)
            out.append(char(number - 1));
        out.append(parameters(u));
        replies.append(replyTo(request, ParametersSet, out));
        break;
    }
    default:
        break;
    }
}
