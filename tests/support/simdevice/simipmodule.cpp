#include "simipmodule.h"

#include <QHostAddress>

SimIpModule::SimIpModule(quint8 subnet, quint8 device, quint16 deviceType)
    : SimDevice(subnet, device, deviceType)
{}

QString SimIpModule::serverAddress() const
{
    return QStringLiteral("%1.%2.%3.%4")
        .arg(quint8(m_address.at(0)))
        .arg(quint8(m_address.at(1)))
        .arg(quint8(m_address.at(2)))
        .arg(quint8(m_address.at(3)));
}

QString SimIpModule::domain() const
{
    const int end = m_domain.indexOf('\0');
    return QString::fromUtf8(m_domain.left(end < 0 ? m_domain.size() : end));
}

void SimIpModule::setServer(const QString &address, quint16 port, const QByteArray &password, quint8 style)
{
    const quint32 ip = QHostAddress(address).toIPv4Address();
    m_address = QByteArray(4, '\0');
    for (int i = 0; i < 4; ++i)
        m_address[i] = char((ip >> (24 - 8 * i)) & 0xFF);
    m_port = port;
    m_password = password.left(4).leftJustified(4, '\0');
    m_style = style;
}

void SimIpModule::setDomainField(const QByteArray &bytes)
{
    m_domain = bytes.left(48).leftJustified(48, '\0');
}

void SimIpModule::setDomain(const QString &domain)
{
    setDomainField(domain.toUtf8());
}

namespace {

void setFlag(QList<quint8> &list, quint8 subCode, bool on)
{
    list.removeAll(subCode);
    if (on)
        list.append(subCode);
}

} // namespace

void SimIpModule::setRefused(quint8 subCode, bool refused)
{
    setFlag(m_refused, subCode, refused);
}

void SimIpModule::setSilent(quint8 subCode, bool silent)
{
    setFlag(m_silent, subCode, silent);
}

void SimIpModule::setShortAnswer(quint8 subCode, bool tooShort)
{
    setFlag(m_short, subCode, tooShort);
}

void SimIpModule::answerFrom(quint8 subnet, quint8 device)
{
    m_fromSubnet = subnet;
    m_fromDevice = device;
}

void SimIpModule::reset()
{
    m_refused.clear();
    m_silent.clear();
    m_short.clear();
    m_fromSubnet = -1;
    m_fromDevice = -1;
    clearAnswers();
    clearRequests();
}

QByteArray SimIpModule::joinFrame(quint8 flag) const
{
    // Payload bytes 25-57 of the frame: byte 45 the flag, 50-57 the MAC.
    QByteArray payload(33, '\0');
    payload[20] = char(flag);
    payload.replace(25, 8, m_mac.left(8).leftJustified(8, '\0'));
    return frame(JoinCode, 0xFF, 0xFF, payload);
}

QByteArray SimIpModule::shortJoinFrame() const
{
    QByteArray payload(21, '\0');
    payload[20] = char(0xFB);
    return frame(JoinCode, 0xFF, 0xFF, payload);
}

QByteArray SimIpModule::answerFrame(const SimFrame &request, const QByteArray &payload) const
{
    if (m_fromSubnet < 0)
        return replyTo(request, SettingsAnswer, payload);
    return SimFrame::build(headerIp(), quint8(m_fromSubnet), quint8(m_fromDevice), deviceType(),
                           SettingsAnswer, request.sourceSubnet, request.sourceDevice, payload);
}

void SimIpModule::answer(const SimFrame &request, QList<QByteArray> &replies)
{
    SimDevice::answer(request, replies);
    if (request.code != Settings || request.payload.isEmpty())
        return;
    const QByteArray &p = request.payload;
    const quint8 sub = quint8(p.at(0));
    if (m_silent.contains(sub))
        return;
    const char result = char(m_refused.contains(sub) ? Refused : Ok);
    QByteArray out;
    switch (sub) {
    case 0x08:
        out.append(char(0x08)).append(result);
        out.append(m_address);
        out.append(char(m_port >> 8)).append(char(m_port & 0xFF));
        out.append(m_password);
        out.append(char(m_style));
        break;
    case 0x09:
        if (p.size() < 12)
            return;
        if (!m_refused.contains(sub)) {
            m_address = p.mid(1, 4);
            m_port = quint16((quint8(p.at(5)) << 8) | quint8(p.at(6)));
            m_password = p.mid(7, 4);
            m_style = quint8(p.at(11));
        }
        out.append(char(0x09)).append(result);
        break;
    case 0xBC:
        if (p.size() < 2 || quint8(p.at(1)) != 0x01)
            return;
        out.append(char(0xBC)).append(char(0x01)).append(m_domain);
        break;
    case 0xBD:
        if (p.size() < 50 || quint8(p.at(1)) != 0x01)
            return;
        if (!m_refused.contains(sub))
            m_domain = p.mid(2, 48);
        out.append(char(0xBD)).append(char(0x01)).append(result);
        break;
    default:
        return;
    }
    if (m_short.contains(sub))
        out.truncate(sub == 0xBD ? 2 : sub == 0x09 ? 1 : 12);
    replies.append(answerFrame(request, out));
}
