#include "localaddress.h"

#include "store/cppsqlite3db.h"
#include "store/globals.h"
#include "store/queryhelpers.h"

#include <QNetworkInterface>
#include <QStringList>

namespace {

bool isCandidate(const QHostAddress &address)
{
    return !address.isNull() && address.protocol() == QAbstractSocket::IPv4Protocol
        && address != QHostAddress(QHostAddress::LocalHost);
}

} // namespace

void getHostIP()
{
    const QList<QHostAddress> addresses = QNetworkInterface::allAddresses();
    for (const QHostAddress &address : addresses) {
        if (isCandidate(address) && address.toString() == gl_host_ip)
            return;
    }
    for (const QHostAddress &address : addresses) {
        if (!isCandidate(address))
            continue;
        gl_host_ip = address.toString();
        gl_sqlite3db.execDML(QStringLiteral("update tbl_network set host_ip='%1'")
                                 .arg(sqlText(gl_host_ip)));
        return;
    }
}

QHostAddress getBroadcastIp()
{
    const QList<QNetworkInterface> interfaces = QNetworkInterface::allInterfaces();
    for (const QNetworkInterface &iface : interfaces) {
        const QList<QNetworkAddressEntry> entries = iface.addressEntries();
        for (const QNetworkAddressEntry &entry : entries) {
            if (isCandidate(entry.ip()) && entry.ip().toString() == gl_host_ip) {
                // A point-to-point entry has no broadcast address; the limited
                // broadcast is the only sensible destination then.
                if (entry.broadcast().isNull())
                    return QHostAddress(QHostAddress::Broadcast);
                return entry.broadcast();
            }
        }
    }
    return QHostAddress(QHostAddress::Broadcast);
}

void ipv4TextToBytes(const QString &text, unsigned char bytes[4])
{
    const QStringList fields = text.split(QLatin1Char('.'));
    for (int i = 0; i < 4; ++i) {
        bytes[i] = 0;
        if (i >= fields.size())
            continue;
        bool ok = false;
        const int value = fields.at(i).trimmed().toInt(&ok, 10);
        if (ok)
            bytes[i] = static_cast<unsigned char>(value & 0xFF);
    }
}

QString ipv4Text(const QHostAddress &address)
{
    bool isV4 = false;
    const quint32 v4 = address.toIPv4Address(&isV4);
    if (isV4)
        return QHostAddress(v4).toString();
    return address.toString();
}
