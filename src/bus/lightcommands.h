#pragma once

// Command builders for lights, scenes, the occupation sensor and the firmware
// query. Each sends one bus frame through gl_socket at once; subnet, device and
// every value placed in a payload byte are cut to their low byte.

// 0xEFFD, answered by 0xEFFE with the firmware version text.
void fn_getFirmwareVersion(int subnet, int device);

void fn_light_getChannelStatus(int subnet, int device, int channel);                 // 0x0033
void fn_light_setChannelStatus(int subnet, int device, int channel, int level);      // 0x0031
void fn_light_getHSBRgbStatus(int subnet, int device, int channel);                  // 0x2036
void fn_light_setHSBRgbStatus(int subnet, int device, int channel, int first, int second,
                              int third);                                            // 0x2034
void fn_light_setSceneStatus(int subnet, int device, int area, int scene);           // 0x0002
void fn_light_setScene(int subnet, int device, int channel, bool up);                // 0xF03C
void fn_occupation_getStatus(int subnet, int device);                                // 0x012C

// Light schedules (operation 0x2024).
void fn_light_getSchedule(int subnet, int device, int x);
// Sends the n bytes of data unchanged as the payload; nothing is sent when n is
// negative or above 244.
void fn_light_setSchedule(int subnet, int device, unsigned char *data, int n);
