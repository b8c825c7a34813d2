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
//
// The stream is judged as if its bytes came one at a time, so how it is cut
// changes nothing, and each byte costs the same whatever it is: a place that
// may start a frame is judged once, when the last byte its length claims has
// come, and its CRC is judged from the CRCs carried along the stream, not by a
// pass over the bytes it claims.

#include <QtGlobal>

#include <cstdint>
#include <vector>

class StreamFrames
{
public:
    // The longest frame handed on: one receive buffer.
    static constexpr int MaxFrame = 8192;

    StreamFrames();

    void append(const char *data, int n);
    // Moves the next whole frame to out (room for MaxFrame bytes) and answers its
    // size; 0 when no whole frame is buffered.
    int take(unsigned char *out);
    void clear();
    // Bytes kept: less than MaxFrame after take() answered 0, whatever was appended.
    int buffered() const { return int(end() - m_head); }
    // The memory held for the bytes kept and their marks: bounded by what one
    // append brings, not by the length of the stream.
    size_t footprint() const { return m_bytes.capacity() + m_marks.capacity() * sizeof(unsigned short); }

private:
    enum Kind { Login = 0, Bus = 1 };
    // More places than the longest frame spans, and a power of two: the places whose
    // frames may still end, and the ends they wait for, each have a slot of their own.
    static constexpr int Ring = 16384;
    static constexpr int RingMask = Ring - 1;

    qint64 end() const { return m_origin + qint64(m_size); }
    unsigned char *room(qint64 n);
    void compact();

    // The bytes from stream position m_origin on, and the CRC marks of the points
    // between them (m_marks[i] before m_bytes[i], m_marks[m_size] after the last):
    // a frame's CRC holds when the marks of its two ends are equal. Only the first
    // m_size bytes are kept ones.
    std::vector<unsigned char> m_bytes;
    std::vector<unsigned short> m_marks;
    size_t m_size = 0;
    // The stream's CRC after the last byte kept.
    unsigned short m_crc = 0;
    qint64 m_origin = 0;
    // The first byte neither taken nor skipped.
    qint64 m_head = 0;
    // The stream has been judged up to here.
    qint64 m_judged = 0;
    // Places waiting for their frame's end, one list for each end (by its slot):
    // an entry is a place's slot times two plus its kind; -1 ends a list.
    std::vector<std::int16_t> m_waiting;
    std::vector<std::int16_t> m_next;
    // For each place's slot, a bit for each kind of frame it may still start.
    std::vector<unsigned char> m_open;
};
