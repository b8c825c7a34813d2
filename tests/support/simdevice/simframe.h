#pragma once

// One unit of bus traffic as the simulated devices see it: a bus frame (AA AA),
// a login frame (CC CC) or anything else (keep-alive text, noise). The CRC here
// is computed bit by bit, independently of the application's table.

#include <QByteArray>
#include <QHostAddress>
#include <QMetaType>
#include <QString>

class SimFrame
{
public:
    enum Kind { Bus, Login, Other };

    Kind kind = Other;
    QByteArray raw;              // the bytes as received
    QHostAddress sender;         // UDP sender or TCP peer
    quint16 senderPort = 0;
    // When the frame arrived, in nanoseconds since the epoch: the kernel's receive
    // time for UDP where the system tells it, else the time it was read.
    qint64 arrivalNs = 0;

    // Bus frame fields, filled when kind is Bus and the header is complete.
    bool valid = false;          // whole, length byte consistent, CRC good
    QByteArray headerIp;         // bytes 0-3
    quint8 length = 0;           // byte 16
    quint8 sourceSubnet = 0;
    quint8 sourceDevice = 0;
    quint16 deviceType = 0;
    quint16 code = 0;
    quint8 targetSubnet = 0;
    quint8 targetDevice = 0;
    QByteArray payload;

    QString hex() const { return QString::fromLatin1(raw.toHex(' ')); }

    static SimFrame parse(const QByteArray &bytes);
    static QByteArray build(const QByteArray &headerIp, quint8 sourceSubnet, quint8 sourceDevice,
                            quint16 deviceType, quint16 code, quint8 targetSubnet,
                            quint8 targetDevice, const QByteArray &payload);
    static quint16 crc16(const QByteArray &data);
    // Four header bytes of an IPv4 address (zeros for anything else).
    static QByteArray ipBytes(const QHostAddress &address);
};

Q_DECLARE_METATYPE(SimFrame)
