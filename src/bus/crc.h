#pragma once

// CRC-16/XMODEM of the bus frames and login frames: polynomial 0x1021, initial
// value 0, no reflection, no final XOR, stored high byte first.

#include <cstddef>

// CRC over data[0 .. n-1].
unsigned short crc16Xmodem(const unsigned char *data, size_t n);

// Computes the CRC over data[0 .. n-1] and stores it at data[n] (high byte) and
// data[n+1] (low byte). The buffer must hold n + 2 bytes.
void packCrc(unsigned char *data, unsigned short n);

// True when data[n] and data[n+1] hold the CRC over data[0 .. n-1], high byte
// first. The buffer must hold n + 2 bytes.
bool checkCrc(unsigned char *data, unsigned short n);
