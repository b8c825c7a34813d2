#pragma once

// Sends the receiving installation's bus announcement (operation 0x2025, payload
// 38, code, IPv4 address, port) to an installation's bus port, as another
// installation waiting for projects would.

#include <QByteArray>
#include <QHostAddress>
#include <QString>

class QUdpSocket;

class TransferAnnouncer
{
public:
    // Datagrams leave from `from` (the address the installation hears its bus on).
    explicit TransferAnnouncer(const QHostAddress &from);
    ~TransferAnnouncer();

    // The 36-byte frame, from 1/200 to 255/255.
    static QByteArray frame(quint16 code, const QString &ip, quint16 port, quint16 operation = 0x2025);

    bool send(const QByteArray &bytes, const QHostAddress &to, quint16 port = 6000);

private:
    QUdpSocket *m_socket;
    QHostAddress m_from;
};
