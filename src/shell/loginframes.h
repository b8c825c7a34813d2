#pragma once

// The login frames of the "Cloud Server" and "DNS Server" styles and the texts of
// their answers.

#include <QByteArray>
#include <QString>

constexpr int kCloudLoginLength = 56;
constexpr int kDnsLoginLength = 23;

// The cloud login request (operation 0x00A2) with the given client identifier.
QByteArray buildCloudLoginFrame(const QString &clientId);
// The DNS login request (operation 0x00A5).
QByteArray buildDnsLoginFrame();

// The client identifier of the cloud login: the key store's "machineUniqueId",
// filled from the machine's id the first time it is empty.
QString cloudClientId();

// Reads a login answer that checkRecvBuff_0xCCCC accepted. Answers false for an
// operation other than 0x00A3 and 0x00A4, or an answer too short to hold its
// result byte before the CRC; otherwise fills ok and text.
bool readLoginAnswer(const unsigned char *buffer, long long length, bool &ok, QString &text);
