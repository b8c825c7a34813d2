#include "simirmodule.h"

SimIrModule::SimIrModule(quint8 subnet, quint8 device, quint16 deviceType)
    : SimDevice(subnet, device, deviceType)
{}

QList<int> SimIrModule::switchNumbers() const
{
    QList<int> numbers;
    for (const SimFrame &frame : requests()) {
        if (frame.code == UniversalSwitch && !frame.payload.isEmpty())
            numbers.append(quint8(frame.payload.at(0)));
    }
    return numbers;
}

void SimIrModule::reset()
{
    m_unit = 0;
    m_room = 22;
    clearAnswers();
    clearRequests();
}

void SimIrModule::answer(const SimFrame &request, QList<QByteArray> &replies)
{
    SimDevice::answer(request, replies);
    switch (request.code) {
    case GetUnit:
        replies.append(replyTo(request, Unit, QByteArray(1, char(m_unit))));
        break;
    case GetRoomTemperature: {
        QByteArray out;
        out.append('\0');
        out.append(char(qint8(m_room)));
        replies.append(replyTo(request, RoomTemperature, out));
        break;
    }
    default:
        // Universal switches are taken silently.
        break;
    }
}
