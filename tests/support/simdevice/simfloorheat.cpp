#include "simfloorheat.h"

SimFloorHeat::SimFloorHeat(quint8 subnet, quint8 device, int circuits, quint16 deviceType)
    : SimDevice(subnet, device, deviceType)
    , m_circuits(qBound(1, circuits, 16))
{}

SimFloorHeat::Circuit &SimFloorHeat::circuit(int number)
{
    if (!isCircuit(number))
        return m_scratch;
    return m_circuits[number - 1];
}

void SimFloorHeat::reset(int circuits)
{
    m_circuits = QVector<Circuit>(qBound(1, circuits, 16));
    m_low = 5;
    m_high = 35;
    m_lastAddressed = 2;
    clearAnswers();
    clearRequests();
}

QList<SimFrame> SimFloorHeat::requestsWithCode(quint16 code) const
{
    QList<SimFrame> found;
    for (const SimFrame &frame : requests()) {
        if (frame.code == code)
            found.append(frame);
    }
    return found;
}

void SimFloorHeat::apply(Circuit &c, int item, int value)
{
    if (item == PowerItem)
        c.status = value;
    else if (item == SetPointItem && c.mode >= 1 && c.mode <= 4)
        c.setPoints[c.mode - 1] = value;
}

void SimFloorHeat::answer(const SimFrame &request, QList<QByteArray> &replies)
{
    SimDevice::answer(request, replies);
    const QByteArray &p = request.payload;
    auto byte = [&p](int i) { return int(quint8(p.at(i))); };

    switch (request.code) {
    case GetRange: {
        QByteArray out;
        if (!p.isEmpty()) {
            if (!isCircuit(byte(0) + 1))
                return;
            out.append(char(byte(0)));
        }
        out.append(char(Success)).append(char(m_low)).append(char(m_high));
        out.append(2, '\0');
        replies.append(replyTo(request, Range, out));
        break;
    }
    case GetState: {
        const int number = p.isEmpty() ? 1 : byte(0) + 1;
        if (!isCircuit(number))
            return;
        QByteArray out;
        if (!p.isEmpty()) {
            out.append(char(number - 1));
            m_lastAddressed = number;
        }
        const Circuit &c = circuit(number);
        out.append(char(c.unit)).append(char(c.room)).append(char(c.status)).append(char(c.mode));
        for (int sp : c.setPoints)
            out.append(char(sp));
        replies.append(replyTo(request, State, out));
        break;
    }
    case Command:
        if (p.size() == 5) {
            apply(circuit(1), byte(0), byte(1));
            replies.append(replyTo(request, Confirmation, p.left(2)));
        } else if (p.size() == 3 && byte(0) == ChannelMark) {
            apply(circuit(m_lastAddressed), byte(1), byte(2));
            replies.append(replyTo(request, Confirmation, p));
        }
        break;
    default:
        break;
    }
}
