#include "networkcommands.h"

#include "bus/commandframe.h"
#include "bus/localaddress.h"

#include <QByteArray>

#include <algorithm>
#include <cstring>

namespace {

constexpr unsigned short ModuleCommand = 0x2024;
constexpr unsigned short ModuleAnswer = 0x2025;
constexpr int DomainField = 48;
constexpr int PasswordField = 4;

} // namespace

void fn_network_getServerInfo(int subnet, int device)
{
    sendBusCommand(ModuleCommand, subnet, device, {0x08});
}

void fn_network_setServerInfo(int subnet, int device, QString ip, QString password,
                              unsigned short port, unsigned char flag)
{
    unsigned char payload[12] = {};
    payload[0] = 0x09;
    ipv4TextToBytes(ip, payload + 1);
    payload[5] = static_cast<unsigned char>(port >> 8);
    payload[6] = static_cast<unsigned char>(port & 0xFF);
    const QByteArray pass = password.toUtf8();
    std::memcpy(payload + 7, pass.constData(), std::min<size_t>(pass.size(), PasswordField));
    payload[11] = flag;
    sendBusCommand(ModuleCommand, subnet, device, payload, sizeof payload);
}

void fn_network_getServerDomain(int subnet, int device)
{
    sendBusCommand(ModuleCommand, subnet, device, {0xBC, 0x01});
}

void fn_network_setServerDomain(int subnet, int device, QString domain)
{
    unsigned char payload[2 + DomainField] = {};
    payload[0] = 0xBD;
    payload[1] = 0x01;
    const QByteArray text = domain.toUtf8();
    std::memcpy(payload + 2, text.constData(), std::min<size_t>(text.size(), DomainField));
    sendBusCommand(ModuleCommand, subnet, device, payload, sizeof payload);
}

void fn_download_db_broadcastAddress(unsigned short code, QString ip, unsigned short port)
{
    unsigned char payload[9] = {};
    payload[0] = 0x38;
    payload[1] = static_cast<unsigned char>(code >> 8);
    payload[2] = static_cast<unsigned char>(code & 0xFF);
    ipv4TextToBytes(ip, payload + 3);
    payload[7] = static_cast<unsigned char>(port >> 8);
    payload[8] = static_cast<unsigned char>(port & 0xFF);
    sendBusCommand(ModuleAnswer, 0xFF, 0xFF, payload, sizeof payload);
}

void fn_upload_db_broadcast()
{
    sendBusCommand(ModuleCommand, 0xFF, 0xFF, {0x38});
}

void fn_energy_consumption_getPower(int subnet, int device)
{
    sendBusCommand(ModuleCommand, subnet, device, {0x34});
}

void fn_energy_consumption_getConsumption(int subnet, int device, int a, bool b)
{
    sendBusCommand(ModuleCommand, subnet, device, {byteOf(b ? 0x32 : 0x30), byteOf(a - 1), 0});
}
