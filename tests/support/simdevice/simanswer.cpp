#include "simanswer.h"

#include "simframe.h"

#include <QList>

SimAnswer SimAnswer::reply(quint16 code, const QByteArray &payload)
{
    SimAnswer answer(Reply);
    answer.m_code = code;
    answer.m_bytes = payload;
    return answer;
}

SimAnswer SimAnswer::shortFrame(int keepBytes)
{
    SimAnswer answer(ShortFrame);
    answer.m_keep = keepBytes;
    return answer;
}

SimAnswer SimAnswer::badLength(quint8 lengthByte)
{
    SimAnswer answer(BadLength);
    answer.m_lengthByte = lengthByte;
    return answer;
}

SimAnswer SimAnswer::raw(const QByteArray &bytes)
{
    SimAnswer answer(Raw);
    answer.m_bytes = bytes;
    return answer;
}

SimAnswer SimAnswer::oversized(int size)
{
    return raw(QByteArray(size, '\x5A'));
}

SimAnswer SimAnswer::delayed(int ms) const
{
    SimAnswer answer = *this;
    answer.m_delayMs = ms;
    return answer;
}

SimAnswer SimAnswer::once() const
{
    SimAnswer answer = *this;
    answer.m_once = true;
    return answer;
}

QList<SimOutput> SimAnswer::apply(const QByteArray &headerIp, quint8 subnet, quint8 device,
                                  quint16 deviceType, quint8 targetSubnet, quint8 targetDevice,
                                  const QList<QByteArray> &normalReplies) const
{
    QList<QByteArray> out;
    switch (m_kind) {
    case Normal:
        out = normalReplies;
        break;
    case Silent:
        break;
    case Reply:
        out.append(SimFrame::build(headerIp, subnet, device, deviceType, m_code, targetSubnet,
                                   targetDevice, m_bytes));
        break;
    case BadCrc:
        for (QByteArray frame : normalReplies) {
            if (frame.size() >= 2) {
                frame[frame.size() - 1] = char(~frame.at(frame.size() - 1));
                frame[frame.size() - 2] = char(~frame.at(frame.size() - 2));
            }
            out.append(frame);
        }
        break;
    case ShortFrame:
        for (const QByteArray &frame : normalReplies)
            out.append(frame.left(m_keep));
        break;
    case BadLength:
        for (QByteArray frame : normalReplies) {
            if (frame.size() > 16)
                frame[16] = char(m_lengthByte);
            out.append(frame);
        }
        break;
    case Raw:
        out.append(m_bytes);
        break;
    }
    QList<SimOutput> outputs;
    for (const QByteArray &bytes : out)
        outputs.append(SimOutput{bytes, m_delayMs});
    return outputs;
}
