#pragma once

// The addresses the bus link uses on the local network: the computer's own IPv4
// address (gl_host_ip) and the broadcast address of its network.

#include <QHostAddress>
#include <QString>

// Keeps gl_host_ip current: when it is no longer one of the machine's IPv4
// addresses (other than 127.0.0.1), the first such address replaces it and is
// stored in the project's tbl_network row. With no usable address it stays.
void getHostIP();

// The broadcast address of the interface entry that carries gl_host_ip, or
// 255.255.255.255 when no entry does.
QHostAddress getBroadcastIp();

// Reads an IPv4 text as four decimal fields separated by points and stores the
// low byte of each, in text order; a missing field or one that does not parse
// gives 0.
void ipv4TextToBytes(const QString &text, unsigned char bytes[4]);

// The text of an address as an IPv4 dotted quad when it is IPv4 or an
// IPv4-mapped IPv6 address ("::ffff:a.b.c.d"), else its usual text.
QString ipv4Text(const QHostAddress &address);
