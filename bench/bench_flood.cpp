// Flood: Varno on the "Lighting" page of a project of 100 rooms x 10 lights, in
// the "Local Network" style on a veth pair, while a sender in the devices'
// namespace pushes 10,000 datagrams a second for 60 seconds (replies of known
// lights, frames of unknown addresses, bad CRCs, wrong lengths, empty and
// 8193-byte datagrams). The simulated devices are stopped for the flood, so every
// level written during it comes from a reply of the flood. Prints the resident
// memory at the start, after 30 s and at the end, the worst lateness of a 50 ms
// timer (how long the event loop did not turn), how many of the valid replies
// reached the cards (decoded and their levels stored), how long a light press
// takes to be confirmed after the flood, and whether anything but the lights'
// states and logs was written.
//
// Runs inside a private network namespace as root: ./bench/run does that.
//   bench_flood [seconds] [rate]

#include "app/mainwindow.h"
#include "bus/broadcastsocket.h"
#include "operation/lightitem.h"
#include "pathtest.h"
#include "roomproject.h"
#include "shell/mydialog.h"
#include "store/cppsqlite3db.h"
#include "store/globals.h"
#include "store/projectlist.h"
#include "vethpair.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>

#include <cstdio>

namespace {

constexpr int Rooms = 100;
constexpr int LightsPerRoom = 10;

QTextStream &out()
{
    static QTextStream stream(stdout);
    return stream;
}

// Resident memory of this process in KiB.
long residentKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    }
    return -1;
}

// A digest of every table but the lights' states and the log.
QByteArray projectDigest()
{
    QCryptographicHash hash(QCryptographicHash::Sha1);
    QSqlQuery tables = gl_sqlite3db.execQuery(
        QStringLiteral("select name from sqlite_master where type='table' order by name"));
    QStringList names;
    while (tables.next())
        names.append(tables.value(0).toString());
    tables.finish();
    for (const QString &table : names) {
        if (table == QLatin1String("tbl_light") || table == QLatin1String("tbl_log"))
            continue;
        QSqlQuery rows = gl_sqlite3db.execQuery(QStringLiteral("select * from %1 order by rowid").arg(table));
        while (rows.next()) {
            for (int i = 0; i < rows.record().count(); ++i)
                hash.addData(rows.value(i).toString().toUtf8() + '\x1f');
        }
        hash.addData(table.toUtf8());
    }
    return hash.result().toHex();
}

void wait(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

template<typename Done>
bool waitFor(Done done, int ms)
{
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > ms)
            return false;
        wait(5);
    }
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir home;
    qputenv("HOME", QFile::encodeName(home.path()));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.path()));
    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Kest"));
    QCoreApplication::setApplicationName(QStringLiteral("Varno"));
    const int seconds = argc > 1 ? qMax(2, QByteArray(argv[1]).toInt()) : 60;
    const int rate = argc > 2 ? qMax(1, QByteArray(argv[2]).toInt()) : 10000;
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &, const QString &msg) {
        if (type != QtDebugMsg && type != QtInfoMsg)
            fprintf(stderr, "%s\n", qPrintable(msg));
    });

    varnotest::VethPair bed;
    if (!bed.setUp()) {
        out() << "bench_flood: skipped: " << bed.error() << '\n';
        return 0;
    }
    QStringList simArgs{QStringLiteral("--udp"), QStringLiteral("0.0.0.0:6000"), QStringLiteral("--header-ip"),
                        varnotest::VethPair::deviceAddress(), QStringLiteral("--quiet"),
                        QStringLiteral("--exit-on-eof")};
    for (int d = 1; d <= Rooms; ++d)
        simArgs << QStringLiteral("--light") << QStringLiteral("1/%1/%2").arg(d).arg(LightsPerRoom);
    QProcess devices;
    devices.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    bed.startInDevices(devices, QStringLiteral(VARNO_SIMDEVICE_PATH), simArgs);
    if (!devices.waitForStarted() || !waitFor([&] { return devices.peek(64).contains("READY"); }, 5000)) {
        out() << "bench_flood: the simulated devices did not start\n";
        return 1;
    }

    // The project: one region, one floor, 100 rooms of 10 lights on module room/1..10.
    QTemporaryDir folder;
    varnotest::useApplicationFolder(folder.path());
    gl_sqlite3db.execDML(QStringLiteral("begin"));
    roomproject::addRegion(1, QStringLiteral("Block"));
    roomproject::addFloor(1, 1, QStringLiteral("Ground"));
    int lightId = 1;
    for (int r = 1; r <= Rooms; ++r) {
        roomproject::addRoom(r, QStringLiteral("Room %1").arg(r), 1, 1);
        for (int c = 1; c <= LightsPerRoom; ++c) {
            roomproject::Light l;
            l.room = r;
            l.lightId = lightId++;
            l.name = QStringLiteral("Light %1-%2").arg(r).arg(c);
            l.device = r;
            l.channel = c;
            roomproject::addLight(l);
        }
    }
    gl_sqlite3db.execDML(QStringLiteral("commit"));

    MainWindow window(nullptr);
    window.showNormal();
    window.resize(1920, 1080);
    emit gl_socket.signalsPageIdChanged(QStringLiteral("Lighting"), QStringLiteral("Lighting"));
    MyDialog *lighting = nullptr;
    for (MyDialog *p : window.pages()) {
        if (p->getId() == QLatin1String("Lighting"))
            lighting = p;
    }
    if (!lighting) {
        out() << "bench_flood: the Lighting page did not open\n";
        return 1;
    }
    const QList<LightItem *> cards = lighting->findChildren<LightItem *>();
    // Every card has read its light once before the flood starts.
    waitFor([&] {
        for (LightItem *card : cards) {
            if (!card->status())
                return false;
        }
        return true;
    }, 60000);
    const QByteArray digestBefore = projectDigest();

    // Every level a card stores during the flood is counted; with the devices
    // stopped, each valid reply of a module is stored once by each of its cards.
    varnotest::endProcess(devices);
    gl_sqlite3db.execDML(QStringLiteral("create temp table flood_writes(n integer)"));
    gl_sqlite3db.execDML(QStringLiteral("create temp trigger flood_count after update of brightness on "
                                        "tbl_light begin insert into flood_writes values(1); end"));

    // The event loop's pulse: the worst lateness of a 50 ms timer.
    QElapsedTimer pulseClock;
    qint64 lastPulse = 0;
    qint64 worstLate = 0;
    QTimer pulse;
    pulse.setTimerType(Qt::PreciseTimer);
    QObject::connect(&pulse, &QTimer::timeout, [&] {
        const qint64 now = pulseClock.elapsed();
        worstLate = qMax(worstLate, now - lastPulse - 50);
        lastPulse = now;
    });
    const long rssStart = residentKiB();
    long rssMiddle = -1;
    QProcess sender;
    sender.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    pulseClock.start();
    pulse.start(50);
    bed.startInDevices(sender, QStringLiteral(VARNO_FLOOD_SENDER_PATH),
                       {varnotest::VethPair::ownAddress(), QStringLiteral("6000"), QString::number(rate),
                        QString::number(seconds), QString::number(Rooms)});
    QTimer::singleShot(seconds * 500, [&] { rssMiddle = residentKiB(); });
    QByteArray senderOutput;
    waitFor([&] {
        senderOutput += sender.readAllStandardOutput();
        return senderOutput.contains("DONE");
    }, (seconds + 30) * 1000);
    const long rssEnd = residentKiB();
    pulse.stop();
    // The replies still on their way when the sender stopped.
    wait(500);
    qint64 levelWrites = 0;
    {
        QSqlQuery count = gl_sqlite3db.execQuery(QStringLiteral("select count(*) from flood_writes"));
        if (count.next())
            levelWrites = count.value(0).toLongLong();
    }
    gl_sqlite3db.execDML(QStringLiteral("drop trigger flood_count"));
    qint64 validSent = 0;
    for (const QByteArray &line : senderOutput.split('\n')) {
        if (line.startsWith("known-reply "))
            validSent = line.mid(12).toLongLong();
    }
    const qint64 validStored = levelWrites / LightsPerRoom;

    // The devices answer again for the press.
    QProcess devicesAgain;
    devicesAgain.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    bed.startInDevices(devicesAgain, QStringLiteral(VARNO_SIMDEVICE_PATH), simArgs);
    if (!devicesAgain.waitForStarted()
        || !waitFor([&] { return devicesAgain.peek(64).contains("READY"); }, 5000)) {
        out() << "bench_flood: the simulated devices did not start again\n";
        return 1;
    }

    // A press after the flood: the card sends and the module confirms.
    LightItem *card = cards.value(cards.size() / 2);
    QElapsedTimer pressClock;
    bool answered = false;
    if (card) {
        emit gl_socket.signalsStopRefresh(false);
        // The card's own press action (the page's kinetic scroller would hold a
        // synthetic press back): switch the light on, then wait for the module.
        pressClock.start();
        QMetaObject::invokeMethod(card, "slotsLightStatus", Q_ARG(int, 100));
        answered = waitFor([&] { return card->status(); }, 5000);
    }
    const qint64 pressMs = pressClock.elapsed();
    const QByteArray digestAfter = projectDigest();

    out() << "datagrams sent by kind:\n" << QString::fromLatin1(senderOutput).replace("DONE\n", "");
    out() << QString::asprintf("resident memory: start %ld KiB, after %d s %ld KiB, end %ld KiB "
                               "(growth %.1f %%)\n",
                               rssStart, seconds / 2, rssMiddle, rssEnd,
                               rssStart > 0 ? 100.0 * (rssEnd - rssStart) / rssStart : 0.0);
    out() << QString::asprintf("worst lateness of a 50 ms timer: %lld ms\n", worstLate);
    out() << QString::asprintf("valid replies that reached the cards (decoded, levels stored): %lld of %lld "
                               "(%.1f %%; %lld level writes by %d cards a reply)\n",
                               validStored, validSent, validSent > 0 ? 100.0 * validStored / validSent : 0.0,
                               levelWrites, LightsPerRoom);
    out() << QString::asprintf("light press confirmed after the flood: %s in %lld ms\n",
                               answered ? "yes" : "NO", pressMs);
    out() << "project tables other than the lights and the log: "
          << (digestBefore == digestAfter ? "unchanged" : "CHANGED") << '\n';
    out().flush();

    varnotest::endProcess(devicesAgain);
    gl_socket.closeSocket();
    gl_sqlite3db.close();
    return answered && digestBefore == digestAfter ? 0 : 1;
}
