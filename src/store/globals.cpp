#include "globals.h"

#include "bus/broadcastsocket.h"
#include "store/cppsqlite3db.h"

// Construction order matters: the transport is built before the texts it reads,
// the database object after them. Destruction runs in reverse.
QString gl_curPath;
BroadcastSocket gl_socket;
QString gl_ip_port_mac;
QString gl_password;
QString gl_server_ip;
QString gl_domain_name;
QString gl_host_ip;
CppSQLite3DB gl_sqlite3db;
QString gl_subId;
QString gl_devId;
QString gl_lockPassword;
QString gl_retainDays;

int gl_net_style = 0;
int screen_cx = 0;
int screen_cy = 0;
