#pragma once

// Command builders for air conditioners (through a panel or an infrared module)
// and floor heating. Each sends one bus frame through gl_socket at once; subnet,
// device and every value placed in a payload byte are cut to their low byte.

struct airConditioner;

// Panel air conditioners. The forms with a channel address one unit of a panel
// that drives several.
void fn_ac_getTemperatureUnit(int subnet, int device);                   // 0xE120
void fn_ac_panel_getModeSpeedFlag(int subnet, int device, int channel);  // 0xE124
void fn_ac_panel_getModeSpeedFlag(int subnet, int device);
void fn_ac_panel_getTemperatureRang(int subnet, int device, int channel); // 0x1900
void fn_ac_panel_getTemperatureRang(int subnet, int device);
void fn_ac_panel_getPrms(int subnet, int device, int channel);           // 0xE0EC
void fn_ac_panel_getPrms(int subnet, int device);
// 0xE0EE: status, cool set point, mode and speed, 1, heat, auto and dry set
// points, 0 (behind the channel in the channel form).
void fn_ac_panel_setPrms(int subnet, int device, int channel, airConditioner &ac);
void fn_ac_panel_setPrms(int subnet, int device, airConditioner &ac);

// Infrared air conditioners: universal switches 0xE01C of the IR module. The
// unit is 0 or 1 (the port); a combination without a switch number sends 0.
void fn_ac_ir_getRoomTemperature(int subnet, int device);                // 0xE3E7
void fn_ac_ir_setStatus(int subnet, int device, int unit, int status);
void fn_ac_ir_setMode(int subnet, int device, int unit, int mode);
void fn_ac_ir_setSpeed(int subnet, int device, int unit, int mode, int speed);
void fn_ac_ir_setTemperature(int subnet, int device, int unit, int mode, int temperature);

// The universal-switch numbers of the IR builders.
int acIrStatusSwitch(int unit, int status);
int acIrModeSwitch(int unit, int mode);
int acIrSpeedSwitch(int unit, int mode, int speed);
int acIrTemperatureSwitch(int unit, int mode, int temperature);

// Floor heating: a channel of 1 or more is addressed, below 1 the short form is
// used.
void fn_fh_getTemperatureRange(int subnet, int device, int channel);     // 0xA13E
void fn_fh_getStatus(int subnet, int device, int channel);               // 0x1944
void fn_fh_setStatus(int subnet, int device, int channel, int value);    // 0xE3D8
void fn_fh_setTemperature(int subnet, int device, int channel, int temperature); // 0xE3D8

// Schedules (operation 0x2024). The setters send the n bytes of data unchanged
// as the payload; nothing is sent when n is above 244.
void fn_ac_getSchedule(int subnet, int device, int a, int b);
void fn_fh_getSchedule(int subnet, int device, int a, int b);
void fn_ac_setSchedule(int subnet, int device, unsigned char *data, unsigned char n);
void fn_fh_setSchedule(int subnet, int device, unsigned char *data, unsigned char n);
