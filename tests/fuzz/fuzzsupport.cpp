#include "fuzzsupport.h"

#include "bus/broadcastsocket.h"
#include "bus/crc.h"
#include "store/cppsqlite3db.h"
#include "store/globals.h"
#include "store/projectlist.h"
#include "store/startupconfig.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

#include <cstdlib>

namespace fuzz {

void setUp()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    // Everything the targets write lies in a temporary folder of their own.
    static QTemporaryDir &home = *new QTemporaryDir;
    QDir(home.path()).mkpath(QStringLiteral("home"));
    QDir(home.path()).mkpath(QStringLiteral("config"));
    QDir(home.path()).mkpath(QStringLiteral("app"));
    qputenv("HOME", QFile::encodeName(home.path() + QStringLiteral("/home")));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.path() + QStringLiteral("/config")));
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("TZ", "UTC");
    static int argc = 1;
    static char name[] = "fuzz";
    static char *argv[] = {name, nullptr};
    // Made once and never destroyed: the targets run until the process ends,
    // and the database's statics must not outlive a destroyed application.
    new QApplication(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Kest"));
    QCoreApplication::setApplicationName(QStringLiteral("Varno"));
    screen_cx = 1920;
    screen_cy = 1080;
    initConfig(home.path() + QStringLiteral("/app"));
    gl_curPath = home.path() + QStringLiteral("/app");
    preInitProject();
    // Millions of inputs: the project's writes need not reach the disk.
    gl_sqlite3db.execDML(QStringLiteral("PRAGMA synchronous=OFF"));
    gl_sqlite3db.execDML(QStringLiteral("PRAGMA journal_mode=MEMORY"));
    // Closed before the driver's own statics go at exit.
    std::atexit([] { gl_sqlite3db.close(); });
    gl_subId = QStringLiteral("1");
    gl_devId = QStringLiteral("254");
    gl_socket.setId(1, 254);
    qSetMessagePattern(QString());
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &, const QString &msg) {
        if (type == QtFatalMsg) {
            fprintf(stderr, "%s\n", qPrintable(msg));
            abort();
        }
    });
}

QByteArray frameTo(uint8_t subnet, uint8_t device, uint16_t code, const QByteArray &payload)
{
    const QByteArray body = payload.left(BroadcastSocket::MaxPayload);
    unsigned char b[27 + BroadcastSocket::MaxPayload] = {};
    b[0] = 127;
    b[3] = 2;
    memcpy(b + 4, "VOVERUDIZI", 10);
    b[14] = 0xAA;
    b[15] = 0xAA;
    b[16] = uint8_t(11 + body.size());
    b[17] = subnet;
    b[18] = device;
    b[19] = 0x02;
    b[20] = 0x58;
    b[21] = uint8_t(code >> 8);
    b[22] = uint8_t(code);
    b[23] = 1;
    b[24] = 254;
    memcpy(b + 25, body.constData(), size_t(body.size()));
    packCrc(b + 16, uint16_t(b[16] - 2));
    return QByteArray(reinterpret_cast<const char *>(b), 27 + body.size());
}

void deliver(QByteArray bytes)
{
    // The transport hands on at most one buffer, from a buffer of its own.
    bytes = bytes.left(BroadcastSocket::BufferSize);
    emit gl_socket.dataIsComming(reinterpret_cast<quint8 *>(bytes.data()), bytes.size());
}

} // namespace fuzz
