#include "simdevice.h"

SimDevice::SimDevice(quint8 subnet, quint8 device, quint16 deviceType)
    : m_subnet(subnet), m_device(device), m_deviceType(deviceType)
{
}

SimDevice::~SimDevice() = default;

void SimDevice::setAnswer(quint16 code, const SimAnswer &answer)
{
    m_answers.insert(code, answer);
}

void SimDevice::clearAnswer(quint16 code)
{
    m_answers.remove(code);
}

void SimDevice::clearAnswers()
{
    m_answers.clear();
    m_default = SimAnswer::normal();
}

QList<QPair<quint8, quint8>> SimDevice::sources() const
{
    QList<QPair<quint8, quint8>> found;
    for (const SimFrame &frame : m_requests)
        found.append(qMakePair(frame.sourceSubnet, frame.sourceDevice));
    return found;
}

bool SimDevice::accepts(const SimFrame &frame) const
{
    if (frame.kind != SimFrame::Bus || !frame.valid)
        return false;
    return (frame.targetSubnet == m_subnet && frame.targetDevice == m_device)
        || (frame.targetSubnet == 0xFF && frame.targetDevice == 0xFF);
}

QList<SimOutput> SimDevice::respond(const SimFrame &request)
{
    m_requests.append(request);
    QList<QByteArray> normal;
    answer(request, normal);

    SimAnswer script = m_default;
    const auto it = m_answers.constFind(request.code);
    if (it != m_answers.constEnd()) {
        script = it.value();
        if (script.isOnce())
            m_answers.remove(request.code);
    }
    return script.apply(m_headerIp, m_subnet, m_device, m_deviceType, request.sourceSubnet,
                        request.sourceDevice, normal);
}

QByteArray SimDevice::frame(quint16 code, quint8 targetSubnet, quint8 targetDevice,
                            const QByteArray &payload) const
{
    return SimFrame::build(m_headerIp, m_subnet, m_device, m_deviceType, code, targetSubnet,
                           targetDevice, payload);
}

QByteArray SimDevice::replyTo(const SimFrame &request, quint16 code, const QByteArray &payload) const
{
    return frame(code, request.sourceSubnet, request.sourceDevice, payload);
}

void SimDevice::answer(const SimFrame &request, QList<QByteArray> &replies)
{
    if (request.code == FirmwareQuery)
        replies.append(replyTo(request, FirmwareAnswer, m_firmware));
}
