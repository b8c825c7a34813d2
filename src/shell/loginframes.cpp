#include "loginframes.h"

#include "bus/crc.h"
#include "store/globals.h"
#include "store/keystore.h"
#include "store/machineinfo.h"

#include <cstdio>

namespace {

// The first four UTF-8 bytes of the module's password; missing bytes stay 0.
void putPassword(unsigned char *at)
{
    const QByteArray password = gl_password.toUtf8();
    for (int i = 0; i < 4 && i < password.size(); ++i)
        at[i] = static_cast<unsigned char>(password.at(i));
}

// The eight numbers of the module's MAC text ("%02x-...", hex); numbers that
// cannot be read stay 0.
void putMac(unsigned char *at)
{
    unsigned int mac[8] = {};
    const QByteArray text = gl_ip_port_mac.toUtf8();
    std::sscanf(text.constData(), "%02x-%02x-%02x-%02x-%02x-%02x-%02x-%02x", &mac[0], &mac[1], &mac[2],
                &mac[3], &mac[4], &mac[5], &mac[6], &mac[7]);
    for (int i = 0; i < 8; ++i)
        at[i] = static_cast<unsigned char>(mac[i] & 0xFF);
}

} // namespace

QByteArray buildCloudLoginFrame(const QString &clientId)
{
    unsigned char frame[kCloudLoginLength] = {};
    frame[0] = 0xCC;
    frame[1] = 0xCC;
    frame[2] = 0x00;
    frame[3] = kCloudLoginLength;
    frame[4] = 0x00;
    frame[5] = 0xA2;
    frame[6] = 0x01;
    frame[7] = 0x00;
    putPassword(frame + 8);
    putMac(frame + 12);
    frame[20] = static_cast<unsigned char>(gl_subId.toInt() & 0xFF);
    frame[21] = static_cast<unsigned char>(gl_devId.toInt() & 0xFF);
    int n = 0;
    for (const QChar c : clientId) {
        if (n >= 32)
            break;
        if (c.isLetterOrNumber())
            frame[22 + n++] = static_cast<unsigned char>(c.unicode() & 0xFF);
    }
    packCrc(frame, kCloudLoginLength - 2);
    return QByteArray(reinterpret_cast<const char *>(frame), kCloudLoginLength);
}

QByteArray buildDnsLoginFrame()
{
    unsigned char frame[kDnsLoginLength] = {};
    frame[0] = 0xCC;
    frame[1] = 0xCC;
    frame[2] = 0x00;
    frame[3] = kDnsLoginLength;
    frame[4] = 0x00;
    frame[5] = 0xA5;
    frame[6] = 0x00;
    putPassword(frame + 7);
    putMac(frame + 11);
    packCrc(frame, kDnsLoginLength - 2);
    return QByteArray(reinterpret_cast<const char *>(frame), kDnsLoginLength);
}

QString cloudClientId()
{
    QString id;
    getRegKey(QStringLiteral("machineUniqueId"), id);
    if (id.isEmpty()) {
        id = MachineInfo::machineUniqueId();
        setRegKey(QStringLiteral("machineUniqueId"), id);
    }
    return id;
}

bool readLoginAnswer(const unsigned char *buffer, long long length, bool &ok, QString &text)
{
    if (length < 9)
        return false;
    const int code = (buffer[4] << 8) | buffer[5];
    const QString mac = gl_ip_port_mac;
    const QString password = gl_password;
    if (code == 0x00A3) {
        // The result byte must lie before the two CRC bytes.
        if (length < 16)
            return false;
        ok = false;
        switch (buffer[13]) {
        case 0:
            ok = true;
            text = QStringLiteral("Success");
            break;
        case 1:
            text = QStringLiteral("MAC(%1) error").arg(mac);
            break;
        case 2:
            text = QStringLiteral("IPPORT(%1) offline").arg(mac);
            break;
        case 3:
            text = QStringLiteral("Password(%1) error").arg(password);
            break;
        case 4:
            text = QStringLiteral("IPPORT(%1) firmware version too low").arg(mac);
            break;
        default:
            text = QStringLiteral("Failed to connect cloud server");
            break;
        }
        return true;
    }
    if (code == 0x00A4) {
        if (length < 12)
            return false;
        ok = false;
        switch (buffer[9]) {
        case 1:
            ok = true;
            text = QStringLiteral("Success");
            break;
        case 2:
            text = QStringLiteral("A2 trigger A4");
            break;
        case 3:
            text = QStringLiteral("Password(%1) error").arg(password);
            break;
        case 4:
            text = QStringLiteral("MAC(%1) error").arg(mac);
            break;
        case 5:
            text = QStringLiteral("MAC(%1) and password(%2) error").arg(mac, password);
            break;
        case 6:
            text = QStringLiteral("Full");
            break;
        default:
            text = QStringLiteral("Failed To connect dns server");
            break;
        }
        return true;
    }
    return false;
}
