#pragma once

// Command builders for the IP module's network settings, the project-transfer
// announcements and energy metering. All use operation 0x2024 with a sub-code as
// the first payload byte (the announcement uses 0x2025); the module answers
// 0x2024 with 0x2025 carrying the same sub-code.

#include <QString>

void fn_network_getServerInfo(int subnet, int device);
// ip as four decimal fields, the port high byte first, the first four bytes of
// the password's UTF-8 text (zero-filled), then the flag.
void fn_network_setServerInfo(int subnet, int device, QString ip, QString password,
                              unsigned short port, unsigned char flag);
void fn_network_getServerDomain(int subnet, int device);
// The domain's UTF-8 text, NUL-padded or cut to 48 bytes.
void fn_network_setServerDomain(int subnet, int device, QString domain);

// To 255/255: the receiving installation's code, IPv4 address and port.
void fn_download_db_broadcastAddress(unsigned short code, QString ip, unsigned short port);
void fn_upload_db_broadcast();

void fn_energy_consumption_getPower(int subnet, int device);
void fn_energy_consumption_getConsumption(int subnet, int device, int a, bool b);
