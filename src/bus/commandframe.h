#pragma once

// What the command builders share: cutting values to payload bytes and handing
// a payload to gl_socket with the length byte 11 + n.

#include <initializer_list>

inline unsigned char byteOf(int value)
{
    return static_cast<unsigned char>(value & 0xFF);
}

// Sends one frame with the given operation code to subnet/device (low bytes).
void sendBusCommand(unsigned short code, int subnet, int device,
                    std::initializer_list<unsigned char> payload);
void sendBusCommand(unsigned short code, int subnet, int device, const unsigned char *payload,
                    unsigned int n);

// The schedule setters: operation 0x2024 with the caller's whole payload, sub-code
// included. Nothing is sent when n is above 244.
void sendSchedule(int subnet, int device, const unsigned char *data, unsigned int n);
