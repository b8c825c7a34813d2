#include "lightcommands.h"

#include "bus/broadcastsocket.h"
#include "bus/commandframe.h"

void fn_getFirmwareVersion(int subnet, int device)
{
    sendBusCommand(0xEFFD, subnet, device, {});
}

void fn_light_getChannelStatus(int subnet, int device, int channel)
{
    sendBusCommand(0x0033, subnet, device, {byteOf(channel)});
}

void fn_light_setChannelStatus(int subnet, int device, int channel, int level)
{
    sendBusCommand(0x0031, subnet, device, {byteOf(channel), byteOf(level), 0, 0});
}

void fn_light_getHSBRgbStatus(int subnet, int device, int channel)
{
    sendBusCommand(0x2036, subnet, device, {byteOf(channel)});
}

void fn_light_setHSBRgbStatus(int subnet, int device, int channel, int first, int second, int third)
{
    sendBusCommand(0x2034, subnet, device,
                   {byteOf(channel), byteOf(first), byteOf(second), 0, byteOf(third)});
}

void fn_light_setSceneStatus(int subnet, int device, int area, int scene)
{
    sendBusCommand(0x0002, subnet, device, {byteOf(area), byteOf(scene)});
}

void fn_light_setScene(int subnet, int device, int channel, bool up)
{
    sendBusCommand(0xF03C, subnet, device, {byteOf(channel), byteOf(up ? 0x87 : 0x07)});
}

void fn_occupation_getStatus(int subnet, int device)
{
    sendBusCommand(0x012C, subnet, device, {});
}

void fn_light_getSchedule(int subnet, int device, int x)
{
    sendBusCommand(0x2024, subnet, device, {0x22, 0xFF, byteOf(x)});
}

void fn_light_setSchedule(int subnet, int device, unsigned char *data, int n)
{
    if (n < 0 || n > BroadcastSocket::MaxPayload)
        return;
    sendSchedule(subnet, device, data, static_cast<unsigned int>(n));
}
