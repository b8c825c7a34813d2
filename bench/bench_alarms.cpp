// Alarms at scale, over the bus ("DNS Server" style, the panels on 127.0.0.2): a
// sender thread raises one alarm on each of 1,000 panel/switch pairs of subnet 1
// (and further rounds over them when asked for more), 2 ms apart, while a healthy
// panel of subnet 2 raises an alarm every 200 ms; a receiver thread counts the
// answers. Three phases:
//   baseline: nothing fails, every alarm is stored as it arrives;
//   fault:    every look-up of a subnet 1 panel fails at every step; the sender
//             goes on, then only the healthy panel, once a second, for 20 s;
//   mending:  the fault ends, and the next ticks store what was kept.
// Prints for each phase the frames answered, the healthy alarms' time from sending
// to stored and shown, the longest hold of the window (the worst lateness of a
// 5 ms timer), and the main thread's CPU time while it waits; then how long the
// mending took, and what was given up and said.
//
// Runs inside a private network namespace: ./bench/run does that.
//   bench_alarms [alarms]      (default 1000)

#include "benchsupport.h"
#include "roomproject.h"
#include "simpanel.h"
#include "stepfault.h"

#include "bus/broadcastsocket.h"
#include "records/messagebar.h"
#include "shell/panelmessageintake.h"
#include "store/cppsqlite3db.h"
#include "store/globals.h"
#include "store/projectlist.h"
#include "store/startupconfig.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QGridLayout>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <ctime>
#include <functional>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

QTextStream out(stdout);

constexpr int Pairs = 1000;
constexpr int SwitchesPerPanel = 9;
constexpr int HealthySubnet = 2;
constexpr int HealthyDevice = 20;

using bench::address;
using bench::threadCpuSeconds;

// The panels: one socket on 127.0.0.2:6000 that sends the frames of a schedule
// and counts the answers.
struct Panels
{
    struct Send
    {
        int atMs;
        QByteArray frame;
        bool healthy;
    };
    int fd = -1;
    std::atomic<bool> stop{false};
    std::atomic<int> answers{0};
    std::atomic<int> sent{0};
    std::vector<Clock::time_point> healthySent;
    std::atomic<int> healthyCount{0};
    std::thread receiver;

    bool open()
    {
        fd = ::socket(AF_INET, SOCK_DGRAM, 0);
        const sockaddr_in self = address("127.0.0.2", BroadcastSocket::BusPort);
        int on = 1;
        setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
        int size = 4 << 20;
        setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &size, sizeof size);
        timeval wait{0, 100000};
        setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof wait);
        if (fd < 0 || ::bind(fd, reinterpret_cast<const sockaddr *>(&self), sizeof self) != 0) {
            if (fd >= 0)
                ::close(fd);
            return false;
        }
        healthySent.resize(100000);
        receiver = std::thread([this] {
            unsigned char buffer[2048];
            while (!stop) {
                const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
                if (n >= 23 && buffer[21] == 0xE0 && buffer[22] == 0x1D)
                    ++answers;
            }
        });
        return true;
    }
    void close()
    {
        stop = true;
        receiver.join();
        ::close(fd);
    }
    // Sends the schedule from a thread of its own; done is set at its end.
    std::thread play(std::vector<Send> schedule, std::atomic<bool> &done)
    {
        return std::thread([this, schedule = std::move(schedule), &done] {
            const sockaddr_in app = address("127.0.0.1", BroadcastSocket::BusPort);
            const Clock::time_point start = Clock::now();
            for (const Send &s : schedule) {
                std::this_thread::sleep_until(start + std::chrono::milliseconds(s.atMs));
                if (s.healthy)
                    healthySent[size_t(healthyCount)] = Clock::now();
                ::sendto(fd, s.frame.constData(), size_t(s.frame.size()), 0,
                         reinterpret_cast<const sockaddr *>(&app), sizeof app);
                ++sent;
                if (s.healthy)
                    ++healthyCount;
            }
            done = true;
        });
    }
};

// alarms of the pairs, 2 ms apart, and a healthy alarm every healthyMs until
// lastMs, from the first millisecond on.
std::vector<Panels::Send> schedule(int alarms, int healthyMs, int lastMs)
{
    std::vector<Panels::Send> sends;
    for (int i = 0; i < alarms; ++i) {
        const int pair = i % Pairs;
        SimPanel panel(1, quint8(1 + pair / SwitchesPerPanel));
        sends.push_back({2 * i, panel.switchFrame(quint8(1 + pair % SwitchesPerPanel), true), false});
    }
    const QByteArray healthy = SimPanel(HealthySubnet, HealthyDevice).switchFrame(9, true);
    for (int at = 1; at <= std::max(lastMs, 2 * alarms); at += healthyMs)
        sends.push_back({at, healthy, true});
    std::stable_sort(sends.begin(), sends.end(),
                     [](const Panels::Send &a, const Panels::Send &b) { return a.atMs < b.atMs; });
    return sends;
}

int count(const QString &sql)
{
    return roomproject::value(sql).toInt();
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Kest"));
    QCoreApplication::setApplicationName(QStringLiteral("Varno-bench"));
    const int alarms = argc > 1 ? std::max(1, atoi(argv[1])) : Pairs;
    if (qEnvironmentVariable("VARNO_NETNS") != QLatin1String("1")) {
        out << "bench_alarms: needs a private network namespace (./bench/run); skipped\n";
        return 0;
    }

    // Beside the program, on disk: /tmp may be a RAM file system.
    QTemporaryDir folder(QCoreApplication::applicationDirPath() + QStringLiteral("/alarms-XXXXXX"));
    if (!folder.isValid())
        return 1;
    initConfig(folder.path());
    gl_curPath = folder.path();
    preInitProject();
    roomproject::addRegion(1, QStringLiteral("North"));
    roomproject::addFloor(1, 1, QStringLiteral("1F"));
    roomproject::addRoom(7, QStringLiteral("Room 101"), 1, 1);
    gl_sqlite3db.beginTransaction();
    for (int i = 0; i < (Pairs + SwitchesPerPanel - 1) / SwitchesPerPanel; ++i)
        roomproject::addPanel(7, i + 1, 1, i + 1);
    roomproject::addPanel(7, 500, HealthySubnet, HealthyDevice);
    for (int s = 1; s <= SwitchesPerPanel; ++s)
        roomproject::addMessage(10 + s, 1, QStringLiteral("Alarm %1").arg(s), s);
    gl_sqlite3db.commitTransaction();

    // The window's part: the intake and the bar, fed as the main window feeds them.
    gl_socket.setId(1, 254);
    gl_net_style = NetStyleDnsServer;
    gl_domain_name = QStringLiteral("127.0.0.2");
    gl_ip_port_mac = QStringLiteral("00-11-22-33-44-55-66-77");
    PanelMessageIntake intake;
    MessageBar bar;
    bar.sound()->setOutputProbe([]() { return false; });
    bar.resize(1920, MessageBar::BarHeight); // as the main window places it
    bar.show();
    QObject::connect(&gl_socket, &BroadcastSocket::dataIsComming, &intake,
                     [&intake](quint8 *buffer, qlonglong length) { intake.takeFrame(buffer, length); });
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, &intake, &PanelMessageIntake::slotsUniversalSwitch);
    QObject::connect(&tick, &QTimer::timeout, &bar, &MessageBar::showWaiting);
    tick.start(1000);
    Panels panels;
    if (!panels.open()) {
        out << "bench_alarms: cannot bind 127.0.0.2:6000\n";
        out.flush();
        return 1;
    }
    if (!gl_socket.createSocket()) {
        out << "bench_alarms: the bus socket could not be opened\n";
        out.flush();
        return 1;
    }
    int notices = 0, noticed = 0;
    QObject::connect(&gl_socket, &BroadcastSocket::signalsInformation, [&](const QString &text) {
        static const QRegularExpression number(QStringLiteral("^(\\d+) panel message"));
        const QRegularExpressionMatch match = number.match(text);
        if (match.hasMatch()) {
            ++notices;
            noticed += match.captured(1).toInt();
        }
    });


    // The worst lateness of a 5 ms timer, and the healthy tiles' times.
    qint64 worst = 0;
    QElapsedTimer sinceTick;
    QTimer probe;
    int tilesAtStart = 0, healthySeen = 0;
    bool watchHealthy = false;
    std::vector<double> latencies;
    QObject::connect(&probe, &QTimer::timeout, [&]() {
        worst = std::max(worst, sinceTick.elapsed() - 5);
        sinceTick.restart();
        if (!watchHealthy || !bar.tileGrid())
            return;
        // While the fault lasts, every new tile is a healthy alarm.
        while (healthySeen < bar.tileGrid()->count() - tilesAtStart && healthySeen < panels.healthyCount) {
            latencies.push_back(std::chrono::duration<double, std::milli>(
                                    Clock::now() - panels.healthySent[size_t(healthySeen)])
                                    .count());
            ++healthySeen;
        }
    });
    sinceTick.start();
    probe.start(5);

    const auto runUntil = [&app](const std::function<bool()> &done, int timeoutMs) {
        QElapsedTimer t;
        t.start();
        QTimer check;
        QObject::connect(&check, &QTimer::timeout, [&]() {
            if (done() || t.elapsed() > timeoutMs)
                app.quit();
        });
        check.start(10);
        app.exec();
        return done();
    };
    const auto report = [&](const char *phase, int sent, double cpu, double wall) {
        std::vector<double> l = latencies;
        std::sort(l.begin(), l.end());
        out << QStringLiteral("  %1: %2 of %3 frames answered; longest hold %4 ms")
                   .arg(QLatin1String(phase))
                   .arg(panels.answers.load())
                   .arg(sent)
                   .arg(worst);
        if (!l.empty())
            out << QStringLiteral("; healthy alarms shown after %1 ms (median), %2 ms (worst), %3 of %4")
                       .arg(l[l.size() / 2], 0, 'f', 0)
                       .arg(l.back(), 0, 'f', 0)
                       .arg(l.size())
                       .arg(panels.healthyCount.load());
        if (wall > 0)
            out << QStringLiteral("; CPU %1 % of a core").arg(100 * cpu / wall, 0, 'f', 1);
        out << "\n";
        out.flush();
    };

    out << alarms << " alarms on " << std::min(alarms, Pairs) << " panel/switch pairs of subnet 1:\n";

    // Baseline: nothing fails.
    std::atomic<bool> played{false};
    {
        std::thread sender = panels.play(schedule(alarms, 200, 0), played);
        QElapsedTimer t;
        t.start();
        // Every alarm read from the socket (and answered) is stored and shown.
        runUntil(
            [&]() {
                const int rows = count("select count(*) from tbl_message_log");
                return played && rows >= panels.answers && intake.unstored() == 0 && bar.waiting() == 0 &&
                       bar.tileGrid() && bar.tileGrid()->count() == rows;
            },
            60000);
        sender.join();
        const qint64 shown = t.elapsed();
        runUntil([]() { return false; }, 500); // the last answers
        report("baseline", panels.sent, 0, 0);
        out << QStringLiteral("  baseline: every alarm stored and shown %1 s after the first was sent\n")
                   .arg(shown / 1000.0, 0, 'f', 2);
    }
    roomproject::exec(QStringLiteral("delete from tbl_message_log"));
    emit gl_socket.signalsProjectStateChanged(QStringLiteral("Home")); // the bar and the intake start afresh
    runUntil([]() { return false; }, 500);                               // the old tiles deleted

    // The fault, with the sender going on beside it.
    panels.answers = 0;
    panels.sent = 0;
    panels.healthyCount = 0;
    worst = 0;
    played = false;
    tilesAtStart = bar.tileGrid() ? bar.tileGrid()->count() : 0;
    watchHealthy = true;
    StepFault::arm(QStringLiteral("subnet_id=1 and"), -1);
    {
        std::thread sender = panels.play(schedule(alarms, 200, 0), played);
        runUntil([&]() { return bool(played); }, 600000);
        sender.join();
        runUntil([]() { return false; }, 500); // the last answers
        report("fault, the frames arriving", panels.sent, 0, 0);
    }
    // Waiting: only the healthy panel, once a second.
    const int sentBefore = panels.sent;
    const int answeredBefore = panels.answers;
    {
        latencies.clear();
        healthySeen = 0;
        tilesAtStart = bar.tileGrid() ? bar.tileGrid()->count() : 0;
        panels.healthyCount = 0;
        worst = 0;
        played = false;
        const double cpu0 = threadCpuSeconds();
        QElapsedTimer wall;
        wall.start();
        std::thread sender = panels.play(schedule(0, 1000, 20000), played);
        runUntil([&]() { return bool(played); }, 60000);
        sender.join();
        runUntil([]() { return false; }, 500);
        const double cpu = threadCpuSeconds() - cpu0;
        panels.answers -= answeredBefore;
        report("fault, waiting 20 s", panels.sent - sentBefore, cpu, wall.elapsed() / 1000.0);
    }
    const int kept = intake.unstored();
    const int faultSteps = StepFault::steps();
    StepFault::disarm();
    watchHealthy = false;

    // Mending: the fault ends; the next ticks store what was kept.
    worst = 0;
    const int storedBefore = count("select count(*) from tbl_message_log");
    QElapsedTimer mending;
    mending.start();
    const bool mended = runUntil(
        [&]() {
            return intake.unstored() == 0 &&
                   bar.tileGrid()->count() == count("select count(*) from tbl_message_log");
        },
        120000);
    const int faultRows = count("select count(*) from tbl_message_log") - storedBefore;
    out << QStringLiteral("  mending: %1 kept, %2 stored after the fault ended, in %3 s%4; "
                          "longest hold %5 ms\n")
               .arg(kept)
               .arg(faultRows)
               .arg(mending.elapsed() / 1000.0, 0, 'f', 2)
               .arg(mended ? QString() : QStringLiteral(" (not finished)"))
               .arg(worst);
    out << QStringLiteral("  failed look-up steps during the fault: %1\n").arg(faultSteps);
    out << QStringLiteral("  given up: %1 (alarms minus kept); said: %2 in %3 notice(s)\n")
               .arg(alarms - kept)
               .arg(noticed)
               .arg(notices);
    panels.close();
    gl_socket.closeSocket();
    gl_sqlite3db.close();
    return 0;
}
