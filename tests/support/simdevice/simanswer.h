#pragma once

// A scripted answer of a simulated device to one operation code: the device's
// normal reply, silence, a given reply, a damaged copy of the normal reply, or
// raw bytes (an empty or oversized datagram, noise). Any of them may be delayed.

#include <QByteArray>

// One datagram (or TCP write) a device sends, after delayMs.
struct SimOutput
{
    QByteArray bytes;
    int delayMs = 0;
};

class SimAnswer
{
public:
    enum Kind {
        Normal,     // what the device kind answers
        Silent,     // nothing
        Reply,      // a well-formed frame with the given code and payload
        BadCrc,     // the normal reply with its CRC inverted
        ShortFrame, // the normal reply cut to its first bytes
        BadLength,  // the normal reply with another length byte (CRC left as it was)
        Raw         // the given bytes, as they are
    };

    SimAnswer() = default;

    static SimAnswer normal() { return SimAnswer(Normal); }
    static SimAnswer silent() { return SimAnswer(Silent); }
    static SimAnswer reply(quint16 code, const QByteArray &payload);
    static SimAnswer badCrc() { return SimAnswer(BadCrc); }
    static SimAnswer shortFrame(int keepBytes = 20);
    static SimAnswer badLength(quint8 lengthByte);
    static SimAnswer raw(const QByteArray &bytes);
    static SimAnswer emptyDatagram() { return raw(QByteArray()); }
    static SimAnswer oversized(int size = 8193);

    // The same answer, sent after ms milliseconds.
    SimAnswer delayed(int ms) const;
    // The same answer, used for the next request only.
    SimAnswer once() const;

    // Turns the device's normal replies into what this answer sends.
    QList<SimOutput> apply(const QByteArray &headerIp, quint8 subnet, quint8 device,
                           quint16 deviceType, quint8 targetSubnet, quint8 targetDevice,
                           const QList<QByteArray> &normalReplies) const;

    Kind kind() const { return m_kind; }
    bool isOnce() const { return m_once; }

private:
    explicit SimAnswer(Kind kind) : m_kind(kind) {}

    Kind m_kind = Normal;
    quint16 m_code = 0;
    QByteArray m_bytes;
    int m_keep = 20;
    quint8 m_lengthByte = 0;
    int m_delayMs = 0;
    bool m_once = false;
};
