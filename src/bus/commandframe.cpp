#include "commandframe.h"

#include "bus/broadcastsocket.h"
#include "store/globals.h"

#include <QDebug>

void sendBusCommand(unsigned short code, int subnet, int device, const unsigned char *payload,
                    unsigned int n)
{
    if (n > unsigned(BroadcastSocket::MaxPayload)) {
        qDebug() << "command" << Qt::hex << code << "not sent: payload of" << Qt::dec << n
                 << "bytes";
        return;
    }
    unsigned char bytes[BroadcastSocket::MaxPayload] = {};
    for (unsigned int i = 0; i < n; ++i)
        bytes[i] = payload[i];
    gl_socket.sendCommand(static_cast<unsigned char>(11 + n), code, byteOf(subnet), byteOf(device),
                          bytes, n);
}

void sendBusCommand(unsigned short code, int subnet, int device,
                    std::initializer_list<unsigned char> payload)
{
    sendBusCommand(code, subnet, device, payload.begin(), static_cast<unsigned int>(payload.size()));
}

void sendSchedule(int subnet, int device, const unsigned char *data, unsigned int n)
{
    if (n > unsigned(BroadcastSocket::MaxPayload) || (n > 0 && !data))
        return;
    sendBusCommand(0x2024, subnet, device, data, n);
}
