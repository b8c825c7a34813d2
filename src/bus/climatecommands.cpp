#include "climatecommands.h"

#include "bus/airconditioner.h"
#include "bus/commandframe.h"

namespace {

constexpr unsigned short UniversalSwitch = 0xE01C;

void sendIrSwitch(int subnet, int device, int switchNo)
{
    sendBusCommand(UniversalSwitch, subnet, device, {byteOf(switchNo), 0xFF});
}

// Unit 1 (the second port) uses the numbers of unit 0 plus 100.
int forUnit(int unit, int switchNo)
{
    if (switchNo == 0 || (unit != 0 && unit != 1))
        return 0;
    return (switchNo + 100 * unit) & 0xFF;
}

unsigned char modeAndSpeed(const airConditioner &ac)
{
    return byteOf((ac.mode << 4) | ac.speed);
}

} // namespace

void fn_ac_getTemperatureUnit(int subnet, int device)
{
    sendBusCommand(0xE120, subnet, device, {});
}

void fn_ac_panel_getModeSpeedFlag(int subnet, int device, int channel)
{
    sendBusCommand(0xE124, subnet, device, {byteOf(channel)});
}

void fn_ac_panel_getModeSpeedFlag(int subnet, int device)
{
    sendBusCommand(0xE124, subnet, device, {});
}

void fn_ac_panel_getTemperatureRang(int subnet, int device, int channel)
{
    sendBusCommand(0x1900, subnet, device, {byteOf(channel)});
}

void fn_ac_panel_getTemperatureRang(int subnet, int device)
{
    sendBusCommand(0x1900, subnet, device, {});
}

void fn_ac_panel_getPrms(int subnet, int device, int channel)
{
    sendBusCommand(0xE0EC, subnet, device, {byteOf(channel)});
}

void fn_ac_panel_getPrms(int subnet, int device)
{
    sendBusCommand(0xE0EC, subnet, device, {});
}

void fn_ac_panel_setPrms(int subnet, int device, int channel, airConditioner &ac)
{
    sendBusCommand(0xE0EE, subnet, device,
                   {byteOf(channel), byteOf(ac.status), byteOf(ac.current_cool_temperature),
                    modeAndSpeed(ac), 1, byteOf(ac.current_heat_temperature),
                    byteOf(ac.current_auto_temperature), byteOf(ac.current_dry_temperature), 0});
}

void fn_ac_panel_setPrms(int subnet, int device, airConditioner &ac)
{
    sendBusCommand(0xE0EE, subnet, device,
                   {byteOf(ac.status), byteOf(ac.current_cool_temperature), modeAndSpeed(ac), 1,
                    byteOf(ac.current_heat_temperature), byteOf(ac.current_auto_temperature),
                    byteOf(ac.current_dry_temperature), 0});
}

void fn_ac_ir_getRoomTemperature(int subnet, int device)
{
    sendBusCommand(0xE3E7, subnet, device, {0});
}

int acIrStatusSwitch(int unit, int status)
{
    return forUnit(unit, status >= 1 ? 11 : 10);
}

int acIrModeSwitch(int unit, int mode)
{
    static const int numbers[] = {12, 32, 31, 52, 51};
    if (mode < 0 || mode > 4)
        return 0;
    return forUnit(unit, numbers[mode]);
}

int acIrSpeedSwitch(int unit, int mode, int speed)
{
    if (speed < 0 || speed > 3)
        return 0;
    int first = 0; // the number of speed 0 in this mode
    switch (mode) {
    case 0: first = 16; break;
    case 1: first = 36; break;
    case 3: first = 56; break;
    default: return 0;
    }
    return forUnit(unit, first - speed);
}

int acIrTemperatureSwitch(int unit, int mode, int temperature)
{
    int offset = 0;
    switch (mode) {
    case 0: offset = 0; break;
    case 1: offset = 20; break;
    case 3: offset = 40; break;
    default: return 0;
    }
    if (unit != 0 && unit != 1)
        return 0;
    return (temperature + offset + 100 * unit) & 0xFF;
}

void fn_ac_ir_setStatus(int subnet, int device, int unit, int status)
{
    sendIrSwitch(subnet, device, acIrStatusSwitch(unit, status));
}

void fn_ac_ir_setMode(int subnet, int device, int unit, int mode)
{
    sendIrSwitch(subnet, device, acIrModeSwitch(unit, mode));
}

void fn_ac_ir_setSpeed(int subnet, int device, int unit, int mode, int speed)
{
    sendIrSwitch(subnet, device, acIrSpeedSwitch(unit, mode, speed));
}

void fn_ac_ir_setTemperature(int subnet, int device, int unit, int mode, int temperature)
{
    sendIrSwitch(subnet, device, acIrTemperatureSwitch(unit, mode, temperature));
}

void fn_fh_getTemperatureRange(int subnet, int device, int channel)
{
    if (channel >= 1)
        sendBusCommand(0xA13E, subnet, device, {byteOf(channel)});
    else
        sendBusCommand(0xA13E, subnet, device, {});
}

void fn_fh_getStatus(int subnet, int device, int channel)
{
    if (channel >= 1)
        sendBusCommand(0x1944, subnet, device, {byteOf(channel)});
    else
        sendBusCommand(0x1944, subnet, device, {});
}

void fn_fh_setStatus(int subnet, int device, int channel, int value)
{
    // The channel itself is not sent; 0x14 selects the on/off item.
    if (channel >= 1)
        sendBusCommand(0xE3D8, subnet, device, {0x23, 0x14, byteOf(value)});
    else
        sendBusCommand(0xE3D8, subnet, device, {0x14, byteOf(value), 0, 0, 1});
}

void fn_fh_setTemperature(int subnet, int device, int channel, int temperature)
{
    // 0x18 selects the set point.
    if (channel >= 1)
        sendBusCommand(0xE3D8, subnet, device, {0x23, 0x18, byteOf(temperature)});
    else
        sendBusCommand(0xE3D8, subnet, device, {0x18, byteOf(temperature), 0, 0, 1});
}

void fn_ac_getSchedule(int subnet, int device, int a, int b)
{
    sendBusCommand(0x2024, subnet, device, {0x28, byteOf(a), byteOf(b)});
}

void fn_fh_getSchedule(int subnet, int device, int a, int b)
{
    sendBusCommand(0x2024, subnet, device, {0x2A, byteOf(a), byteOf(b)});
}

void fn_ac_setSchedule(int subnet, int device, unsigned char *data, unsigned char n)
{
    sendSchedule(subnet, device, data, n);
}

void fn_fh_setSchedule(int subnet, int device, unsigned char *data, unsigned char n)
{
    sendSchedule(subnet, device, data, n);
}
