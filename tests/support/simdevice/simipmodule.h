#pragma once

// The site's IP module: its settings exchange (operation 0x2024 answered with
// 0x2025 for the sub-codes 08 server query, 09 server write, BC 01 domain query
// and BD 01 domain write) over the server address, port, password, server style
// and domain it keeps, and its join frame (0x000F) sent on demand. A test can
// make it refuse (F5 in place of F8), stay silent, answer from another address
// or send answers too short for their layout.

#include "simdevice.h"

#include <QByteArray>
#include <QString>

class SimIpModule : public SimDevice
{
public:
    static constexpr quint16 Settings = 0x2024;
    static constexpr quint16 SettingsAnswer = 0x2025;
    static constexpr quint16 JoinCode = 0x000F;
    static constexpr quint8 Ok = 0xF8;
    static constexpr quint8 Refused = 0xF5;

    SimIpModule(quint8 subnet, quint8 device, quint16 deviceType = 0x0BE9);

    // What the module keeps.
    QString serverAddress() const;
    quint16 port() const { return m_port; }
    QByteArray password() const { return m_password; }
    quint8 style() const { return m_style; }
    QByteArray domainField() const { return m_domain; }
    QString domain() const;
    QByteArray mac() const { return m_mac; }

    void setServer(const QString &address, quint16 port, const QByteArray &password, quint8 style);
    // 48 bytes as they are (e.g. 48 x FF for a module never given one), or a text.
    void setDomainField(const QByteArray &bytes);
    void setDomain(const QString &domain);
    void setMac(const QByteArray &eightBytes) { m_mac = eightBytes; }

    // Scripts, per sub-code (0x08, 0x09, 0xBC, 0xBD).
    void setRefused(quint8 subCode, bool refused);
    void setSilent(quint8 subCode, bool silent);
    void setShortAnswer(quint8 subCode, bool tooShort);
    // Answers carry this source address instead of the module's own.
    void answerFrom(quint8 subnet, quint8 device);
    void reset();

    // The join frame to 255/255 with byte 45 set to flag and the module's MAC.
    QByteArray joinFrame(quint8 flag = 0xFB) const;
    // The same frame cut (length byte and CRC made to match) so that it ends
    // before the MAC.
    QByteArray shortJoinFrame() const;

protected:
    void answer(const SimFrame &request, QList<QByteArray> &replies) override;

private:
    QByteArray answerFrame(const SimFrame &request, const QByteArray &payload) const;

    QByteArray m_address = QByteArray(4, '\0');
    quint16 m_port = 0;
    QByteArray m_password = QByteArray(4, '\0');
    quint8 m_style = 0;
    QByteArray m_domain = QByteArray(48, '\0');
    QByteArray m_mac = QByteArray::fromHex("0A1B2C3D4E5F6071");
    QList<quint8> m_refused;
    QList<quint8> m_silent;
    QList<quint8> m_short;
    int m_fromSubnet = -1;
    int m_fromDevice = -1;
};
