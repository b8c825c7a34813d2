#pragma once

// The process-wide objects and texts that the whole application shares. They are
// defined, in this order, in globals.cpp and live until the process exits.

#include <QString>

class BroadcastSocket;
class CppSQLite3DB;

// Network style of the current project.
enum NetStyle {
    NetStyleLocalNetwork = 0, // "Local Network": UDP broadcast on port 6000
    NetStyleCloudServer = 1,  // "Cloud Server": TCP to the server on port 6010
    NetStyleDnsServer = 2     // "DNS Server": UDP to the address resolved from the router's domain
};

extern QString gl_curPath;       // application folder, root of database/ and skin/
extern BroadcastSocket gl_socket; // the bus transport and signal hub
extern QString gl_ip_port_mac;   // the IP module's MAC, eight hex pairs joined by "-"
extern QString gl_password;      // the IP module's password
extern QString gl_server_ip;     // the cloud server's address or name
extern QString gl_domain_name;   // the router's domain name
extern QString gl_host_ip;       // own IPv4 address
extern CppSQLite3DB gl_sqlite3db; // connection to the current project's database
extern QString gl_subId;         // own bus subnet id (settings "address"/"subId")
extern QString gl_devId;         // own bus device id (settings "address"/"devId")
extern QString gl_lockPassword;  // settings lock password
extern QString gl_retainDays;    // days of log and message history kept

extern int gl_net_style;         // the current NetStyle
extern int screen_cx;            // primary screen width
extern int screen_cy;            // primary screen height
