#include "transferannouncer.h"

#include "simframe.h"

#include <QUdpSocket>

TransferAnnouncer::TransferAnnouncer(const QHostAddress &from)
    : m_socket(new QUdpSocket)
    , m_from(from)
{
    m_socket->bind(from, 0);
}

TransferAnnouncer::~TransferAnnouncer()
{
    delete m_socket;
}

QByteArray TransferAnnouncer::frame(quint16 code, const QString &ip, quint16 port, quint16 operation)
{
    const QHostAddress address(ip);
    QByteArray payload;
    payload.append(char(0x38));
    payload.append(char(code >> 8)).append(char(code & 0xFF));
    payload.append(SimFrame::ipBytes(address));
    payload.append(char(port >> 8)).append(char(port & 0xFF));
    return SimFrame::build(SimFrame::ipBytes(address), 1, 200, 0xFFFE, operation, 255, 255, payload);
}

bool TransferAnnouncer::send(const QByteArray &bytes, const QHostAddress &to, quint16 port)
{
    return m_socket->writeDatagram(bytes, to, port) == bytes.size();
}
