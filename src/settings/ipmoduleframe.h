#pragma once

// What the network settings page takes from the IP module: its answers to the
// settings exchange (operation 0x2025, sub-codes 08, 09, BC 01, BD 01) and its
// join frame (operation 0x000F). Every field is read only after the frame's
// length byte shows that the frame holds it; anything shorter is ignored.

#include <QString>
#include <QtGlobal>

class IpModuleFrame
{
public:
    enum Kind {
        Ignored,       // not one of the frames below, or too short for its layout
        Join,          // 0x000F with byte 45 FB or FC: address and MAC
        ServerInfo,    // 0x2025 / 08: server address, port, password, style
        ServerWritten, // 0x2025 / 09
        Domain,        // 0x2025 / BC 01: the domain
        DomainWritten  // 0x2025 / BD 01
    };

    static constexpr quint16 Command = 0x2024;
    static constexpr quint16 Answer = 0x2025;
    static constexpr quint16 JoinCode = 0x000F;
    static constexpr int DomainBytes = 48;

    // frame: a whole bus frame of length bytes that passed the transport's check.
    static IpModuleFrame decode(const quint8 *frame, qlonglong length);

    Kind kind = Ignored;
    bool success = false; // answers: the module took or gave the settings
    quint8 subnet = 0;    // the sender (bytes 17, 18)
    quint8 device = 0;
    QString address;  // ServerInfo: "a.b.c.d"
    quint16 port = 0; // ServerInfo
    QString password; // ServerInfo: up to 4 characters, ending at the first NUL
    int style = 0;    // ServerInfo: 0 none, 1 server IP, 2 domain
    QString domain;   // Domain: up to 48 bytes of UTF-8, ending at the first NUL
    QString mac;      // Join: "%02X-...-%02X", eight bytes
};
