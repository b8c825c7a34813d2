#pragma once

// The frames of a byte stream (the "Cloud Server" link). TCP keeps no frame
// boundaries: a read may hold several frames, part of one, or bytes that are
// none. The bytes read are kept here and split by the frames' own lengths:
//   bus frames    AA AA at bytes 14-15, 16 + the length byte (byte 16) long;
//   long frames   BB BB at bytes 14-15, 16 + the 16-bit length (bytes 16-17);
//   login frames  CC CC at bytes 0-1, the 16-bit total length at bytes 2-3.
// A frame is whole once its bytes are there and its CRC holds. A frame cut
// across reads waits for its rest; bytes that cannot start a frame are skipped.
// A start whose length promises more than has come (a wrong length byte) is
// given up as soon as a whole frame stands behind it.

#include <QByteArray>

class QIODevice;

class StreamFrames
{
public:
    // The longest frame handed on: one receive buffer.
    static constexpr int MaxFrame = 8192;

    // Reads what the device has, at most MaxFrame bytes; answers the bytes read.
    qint64 readFrom(QIODevice &device);
    void append(const char *data, int n);
    // Moves the next whole frame to out (room for MaxFrame bytes) and answers its
    // size; 0 when no whole frame is buffered.
    int take(unsigned char *out);
    void clear();
    // Bytes kept: less than MaxFrame after take() answered 0.
    int buffered() const { return m_bytes.size() - m_head; }

private:
    void compact();

    QByteArray m_bytes;
    int m_head = 0;
    // Every place between the head and this one is known to start no frame.
    int m_checked = 0;
};
