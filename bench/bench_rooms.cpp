// The "Lighting" page of a large project: 100 rooms with 10 lights each, read
// from simulated lighting modules (the varno-simdevice program on
// 127.0.0.2:6000, "DNS Server" style, so its work is not counted here).
//
// Figures, each beside the same figure for an empty project in the same run:
// - the time to build and show the page (entry, room blocks, cards, first paint);
// - the CPU time of this process per second while every light is polled, with
//   modules that answer and with modules that never answer; every reply is
//   written into tbl_light and logged, and the rows written are counted.
//
//   bench_rooms [rooms] [lights per room]      (default 100 10)

#include "bus/broadcastsocket.h"
#include "operation/deviceitem.h"
#include "operation/pagedeviceoperatelighting.h"
#include "operation/roomitem.h"
#include "roomproject.h"
#include "shell/refreshingctrl.h"
#include "store/cppsqlite3db.h"
#include "store/globals.h"
#include "store/projectlist.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <sys/resource.h>

namespace {

QTextStream out(stdout);

double cpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// Runs the event loop for ms milliseconds; tick, when given, every 20 ms.
void runFor(int ms, const std::function<void()> &tick = {})
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    QTimer ticker;
    if (tick) {
        QObject::connect(&ticker, &QTimer::timeout, &loop, tick);
        ticker.start(20);
    }
    loop.exec();
}

// The simulated modules, one per room, in a process of their own.
class Modules
{
public:
    bool start(int rooms, int lights, bool silent)
    {
        QStringList args{QStringLiteral("--udp"), QStringLiteral("127.0.0.2:6000"),
                         QStringLiteral("--quiet"), QStringLiteral("--exit-on-eof")};
        for (int room = 1; room <= rooms; ++room)
            args << QStringLiteral("--light")
                 << QStringLiteral("%1/%2/%3").arg(subnet(room)).arg(device(room)).arg(lights);
        if (silent) {
            for (const char *code : {"effd", "0033", "0031"})
                args << QStringLiteral("--silent") << QLatin1String(code);
        }
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process.start(QStringLiteral(VARNO_SIMDEVICE_PATH), args);
        if (!process.waitForStarted(5000))
            return false;
        QByteArray seen;
        QElapsedTimer t;
        t.start();
        while (!seen.contains("READY") && t.elapsed() < 5000) {
            process.waitForReadyRead(100);
            seen += process.readAll();
        }
        return seen.contains("READY");
    }
    ~Modules()
    {
        if (process.state() == QProcess::NotRunning)
            return;
        process.closeWriteChannel();
        if (!process.waitForFinished(3000)) {
            process.kill();
            process.waitForFinished(3000);
        }
    }
    static int subnet(int room) { return 1 + (room - 1) / 200; }
    static int device(int room) { return 1 + (room - 1) % 200; }

private:
    QProcess process;
};

void fillProject(int rooms, int lights)
{
    using namespace roomproject;
    gl_sqlite3db.execDML(QStringLiteral("begin"));
    addRegion(1, QStringLiteral("North"));
    addFloor(1, 1, QStringLiteral("Ground"));
    int lightId = 1;
    for (int room = 1; room <= rooms; ++room) {
        addRoom(room, QStringLiteral("Room %1").arg(room), 1, 1,
                QStringLiteral("room_%1").arg(1 + room % 52));
        for (int c = 1; c <= lights; ++c) {
            Light l;
            l.room = room;
            l.lightId = lightId++;
            l.name = QStringLiteral("Light %1-%2").arg(room).arg(c);
            l.subnet = Modules::subnet(room);
            l.device = Modules::device(room);
            l.channel = c;
            addLight(l);
        }
    }
    gl_sqlite3db.execDML(QStringLiteral("commit"));
}

struct Shown
{
    double ms = 0;
    int cards = 0;
};

// Entry of the page as the navigation does it, up to the first paint.
Shown buildAndShow(PageDeviceOperateLighting &page)
{
    QElapsedTimer t;
    t.start();
    page.show();
    emit gl_socket.signalsStopRefresh(false);
    emit gl_socket.signalsPageEnter(QString(), QString());
    QCoreApplication::processEvents();
    page.repaint();
    Shown shown;
    shown.ms = double(t.nsecsElapsed()) / 1e6;
    for (RoomItem *room : page.roomItems())
        shown.cards += room->cards().size();
    return shown;
}

// The median over repeats of the first entry of a new page and of a later entry
// of the same page (which also removes the blocks of the first).
void medianBuild(int repeats, int &cards, double &first, double &again)
{
    QList<double> firsts;
    QList<double> agains;
    for (int i = 0; i < repeats; ++i) {
        auto page = std::make_unique<PageDeviceOperateLighting>(QStringLiteral("Lighting"),
                                                                QStringLiteral("Lighting"));
        page->resize(1920, 1080);
        emit gl_socket.signalsStopRefresh(false);
        const Shown shown = buildAndShow(*page);
        firsts.append(shown.ms);
        cards = shown.cards;
        // The page settles before it is entered again, as it does between two visits.
        runFor(500);
        agains.append(buildAndShow(*page).ms);
        emit gl_socket.signalsStopRefresh(false);
    }
    std::sort(firsts.begin(), firsts.end());
    std::sort(agains.begin(), agains.end());
    first = firsts.at(firsts.size() / 2);
    again = agains.at(agains.size() / 2);
}

struct Polled
{
    double cpuPerSecond = 0;
    double refreshSeconds = 0;
    bool finished = false;
};

// CPU per wall second over `seconds` after the page's entry; refreshSeconds is
// when its refresh header said it was done.
Polled pollFor(PageDeviceOperateLighting &page, int seconds)
{
    Polled polled;
    QElapsedTimer wall;
    const double cpu0 = cpuSeconds();
    wall.start();
    page.startRefresh();
    runFor(seconds * 1000, [&] {
        if (!polled.finished &&
            page.refreshControl()->statusText() == QLatin1String("Refresh Successfully")) {
            polled.finished = true;
            polled.refreshSeconds = double(wall.elapsed()) / 1000.0;
        }
    });
    polled.cpuPerSecond = (cpuSeconds() - cpu0) / (double(wall.elapsed()) / 1000.0);
    emit gl_socket.signalsStopRefresh(false);
    return polled;
}

QString ratio(double value, double baseline)
{
    if (baseline <= 0.0)
        return QStringLiteral("n/a");
    return QString::number(value / baseline, 'f', 1) + QLatin1Char('x');
}

} // namespace

int main(int argc, char *argv[])
{
    QTemporaryDir home;
    qputenv("HOME", home.path().toUtf8());
    qputenv("XDG_CONFIG_HOME", (home.path() + QStringLiteral("/config")).toUtf8());
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    const int rooms = args.size() > 1 ? std::max(1, args.at(1).toInt()) : 100;
    const int lights = args.size() > 2 ? std::clamp(args.at(2).toInt(), 1, 64) : 10;
    // Polling runs through the stagger of every block, and ten tries for silent modules.
    const int answeredWindow = rooms / 10 + 3;
    const int silentWindow = rooms / 10 + 12;

    QTemporaryDir folder;
    gl_curPath = folder.path();
    preInitProject();
    screen_cx = 1920;
    screen_cy = 1080;
    gl_socket.setId(1, 254);
    gl_net_style = NetStyleDnsServer;
    gl_domain_name = QStringLiteral("127.0.0.2");
    gl_ip_port_mac = QStringLiteral("00-11-22-33-44-55-66-77");
    gl_host_ip = QStringLiteral("192.168.1.5");
    gl_socket.setKeepAliveInterval(3600 * 1000);
    if (!gl_socket.createSocket()) {
        out << "cannot open the bus\n";
        return 1;
    }

    out << "Lighting page, " << rooms << " rooms x " << lights << " lights\n";
    out.flush();

    // The empty project first: the baselines.
    int emptyCards = 0;
    double emptyBuild = 0;
    double emptyAgain = 0;
    medianBuild(3, emptyCards, emptyBuild, emptyAgain);
    PageDeviceOperateLighting emptyPage(QStringLiteral("Lighting"), QStringLiteral("Lighting"));
    emptyPage.resize(1920, 1080);
    buildAndShow(emptyPage);
    const Polled emptyPoll = pollFor(emptyPage, answeredWindow);
    emptyPage.hide();

    fillProject(rooms, lights);
    int cards = 0;
    double build = 0;
    double again = 0;
    medianBuild(3, cards, build, again);
    out << QStringLiteral("build and show:   %1 ms for %2 cards, empty page %3 ms (%4)\n")
               .arg(build, 0, 'f', 1)
               .arg(cards)
               .arg(emptyBuild, 0, 'f', 1)
               .arg(ratio(build, emptyBuild));
    out << QStringLiteral("entered again:    %1 ms, empty page %2 ms (%3)\n")
               .arg(again, 0, 'f', 1)
               .arg(emptyAgain, 0, 'f', 1)
               .arg(ratio(again, emptyAgain));
    out.flush();

    for (const bool silent : {false, true}) {
        Modules modules;
        if (!modules.start(rooms, lights, silent)) {
            out << "cannot start " << VARNO_SIMDEVICE_PATH << '\n';
            return 1;
        }
        PageDeviceOperateLighting page(QStringLiteral("Lighting"), QStringLiteral("Lighting"));
        page.resize(1920, 1080);
        buildAndShow(page);
        emit gl_socket.signalsStopRefresh(false);
        runFor(200);
        // The rows change behind the cards (as a wall panel's change would reach
        // them): the modules report 0, so a row that holds 0 afterwards was written.
        roomproject::exec(QStringLiteral("update tbl_light set brightness=55"));
        const Polled polled = pollFor(page, silent ? silentWindow : answeredWindow);
        out << QStringLiteral("polling (%1): %2 % of a core over %3 s, empty page %4 % (%5); "
                              "refresh %6\n")
                   .arg(silent ? QStringLiteral("modules silent") : QStringLiteral("modules answer"))
                   .arg(polled.cpuPerSecond * 100.0, 0, 'f', 2)
                   .arg(silent ? silentWindow : answeredWindow)
                   .arg(emptyPoll.cpuPerSecond * 100.0, 0, 'f', 2)
                   .arg(ratio(polled.cpuPerSecond, emptyPoll.cpuPerSecond))
                   .arg(polled.finished
                            ? QStringLiteral("done after %1 s").arg(polled.refreshSeconds, 0, 'f', 1)
                            : QStringLiteral("not done"));
        if (!silent) {
            // Every reply is stored and logged, changed or not.
            out << QStringLiteral("replies stored:   %1 of %2 lights written, %3 device events logged\n")
                       .arg(roomproject::value(QStringLiteral("select count(*) from tbl_light where "
                                                              "brightness=0"))
                                .toInt())
                       .arg(cards)
                       .arg(roomproject::value(QStringLiteral("select count(*) from tbl_log")).toInt());
        }
        out.flush();
        page.hide();
    }
    gl_socket.closeSocket();
    gl_sqlite3db.close();
    return 0;
}
