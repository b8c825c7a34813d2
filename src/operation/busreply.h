#pragma once

// A received bus frame as the device items read it, with every read bounded by
// the frame's own length: byte 16 the length byte (11 plus the payload length),
// 17 and 18 the source subnet and device, 19 and 20 the source device type,
// 21 and 22 the operation code, 23 and 24 the target, the payload from byte 25,
// then two CRC bytes.

#include <QByteArray>
#include <QtGlobal>

class BusReply
{
public:
    static constexpr int PayloadOffset = 25;

    // data holds size received bytes; the reply only reads within them.
    BusReply(const quint8 *data, qint64 size);

    // The bytes received.
    int size() const { return m_size; }
    // The frame's own byte count, 16 plus its length byte.
    int frameSize() const { return 16 + lengthByte(); }
    // Frame byte i; 0 outside the frame.
    quint8 at(int i) const;

    quint8 lengthByte() const { return m_size > 16 ? m_data[16] : 0; }
    quint8 sourceSubnet() const { return at(17); }
    quint8 sourceDevice() const { return at(18); }
    quint16 deviceType() const { return quint16(at(19) << 8 | at(20)); }
    quint16 code() const { return quint16(at(21) << 8 | at(22)); }
    bool isFrom(int subnet, int device) const
    {
        return sourceSubnet() == subnet && sourceDevice() == device;
    }

    // Payload bytes the length byte announces and the received bytes hold.
    int payloadSize() const;
    // Whether the payload holds at least count bytes.
    bool hasPayload(int count) const { return payloadSize() >= count; }
    // Payload byte i; 0 beyond the payload (callers check hasPayload first).
    quint8 payload(int i) const;
    // The payload as bytes.
    QByteArray payloadBytes() const;

private:
    const quint8 *m_data;
    int m_size;
};
