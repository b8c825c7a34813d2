#pragma once

// CRC-16/XMODEM of the bus frames and login frames: polynomial 0x1021, initial
// value 0, no reflection, no final XOR, stored high byte first.

#include <cstddef>

// CRC over data[0 .. n-1].
unsigned short crc16Xmodem(const unsigned char *data, size_t n);

// Marks for the points of a byte stream, such that the bytes between two points have
// a CRC of zero, as a message followed by its own CRC has, exactly when the two
// points' marks are equal: comparing them takes the same time however far apart the
// points are. crc is the stream's CRC at the point position bytes from its start;
// the marks of the points after data[0], ..., data[n-1] go to out[0 .. n-1]. Answers
// the stream's CRC after data[n-1].
unsigned short crc16XmodemMarks(unsigned short crc, unsigned long long position,
                                const unsigned char *data, size_t n, unsigned short *out);
// The mark of the point position bytes from the stream's start, where its CRC is crc.
unsigned short crc16XmodemMark(unsigned short crc, unsigned long long position);

// Computes the CRC over data[0 .. n-1] and stores it at data[n] (high byte) and
// data[n+1] (low byte). The buffer must hold n + 2 bytes.
void packCrc(unsigned char *data, unsigned short n);

// True when data[n] and data[n+1] hold the CRC over data[0 .. n-1], high byte
// first. The buffer must hold n + 2 bytes.
bool checkCrc(unsigned char *data, unsigned short n);
