#include "simframe.h"

quint16 SimFrame::crc16(const QByteArray &data)
{
    quint16 crc = 0;
    for (const char c : data) {
        crc ^= static_cast<quint16>(static_cast<quint8>(c) << 8);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 0x8000) ? static_cast<quint16>((crc << 1) ^ 0x1021)
                                 : static_cast<quint16>(crc << 1);
    }
    return crc;
}

QByteArray SimFrame::ipBytes(const QHostAddress &address)
{
    bool ok = false;
    const quint32 v4 = address.toIPv4Address(&ok);
    QByteArray bytes(4, '\0');
    if (ok) {
        bytes[0] = char(v4 >> 24);
        bytes[1] = char(v4 >> 16);
        bytes[2] = char(v4 >> 8);
        bytes[3] = char(v4);
    }
    return bytes;
}

SimFrame SimFrame::parse(const QByteArray &bytes)
{
    SimFrame frame;
    frame.raw = bytes;
    const auto at = [&bytes](int i) { return static_cast<quint8>(bytes.at(i)); };

    if (bytes.size() >= 2 && at(0) == 0xCC && at(1) == 0xCC) {
        frame.kind = Login;
        if (bytes.size() >= 4) {
            const quint16 crc = crc16(bytes.left(bytes.size() - 2));
            frame.valid = at(bytes.size() - 2) == (crc >> 8) && at(bytes.size() - 1) == (crc & 0xFF);
        }
        return frame;
    }
    if (bytes.size() < 16 || at(14) != 0xAA || at(15) != 0xAA)
        return frame;

    frame.kind = Bus;
    frame.headerIp = bytes.left(4);
    if (bytes.size() < 25)
        return frame;
    frame.length = at(16);
    frame.sourceSubnet = at(17);
    frame.sourceDevice = at(18);
    frame.deviceType = static_cast<quint16>((at(19) << 8) | at(20));
    frame.code = static_cast<quint16>((at(21) << 8) | at(22));
    frame.targetSubnet = at(23);
    frame.targetDevice = at(24);
    const int total = 16 + frame.length;
    if (frame.length < 11 || total > bytes.size())
        return frame;
    frame.payload = bytes.mid(25, frame.length - 11);
    const quint16 crc = crc16(bytes.mid(16, frame.length - 2));
    frame.valid = at(total - 2) == (crc >> 8) && at(total - 1) == (crc & 0xFF);
    return frame;
}

QByteArray SimFrame::build(const QByteArray &headerIp, quint8 sourceSubnet, quint8 sourceDevice,
                           quint16 deviceType, quint16 code, quint8 targetSubnet,
                           quint8 targetDevice, const QByteArray &payload)
{
    QByteArray frame = headerIp.left(4);
    frame.append(QByteArray(4 - frame.size(), '\0'));
    frame.append("VOVERUDIZI");
    frame.append(char(0xAA));
    frame.append(char(0xAA));
    frame.append(char(11 + payload.size()));
    frame.append(char(sourceSubnet));
    frame.append(char(sourceDevice));
    frame.append(char(deviceType >> 8));
    frame.append(char(deviceType & 0xFF));
    frame.append(char(code >> 8));
    frame.append(char(code & 0xFF));
    frame.append(char(targetSubnet));
    frame.append(char(targetDevice));
    frame.append(payload);
    const quint16 crc = crc16(frame.mid(16));
    frame.append(char(crc >> 8));
    frame.append(char(crc & 0xFF));
    return frame;
}
