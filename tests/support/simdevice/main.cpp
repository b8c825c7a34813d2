// varno-simdevice: simulated field devices on the bus, for tests and trying the
// application by hand inside a private network namespace.
//
//   varno-simdevice [--udp ADDR[:PORT]] [--tcp ADDR[:PORT]] [--header-ip ADDR]
//                   [--device SUB/DEV[/FIRMWARE]]... [--silent CODE]...
//                   [--reply CODE=HEXCODE:HEXPAYLOAD]... [--exit-on-eof]
//                   [--cloud-result N] [--dns-result N]
//                   [--light SUB/DEV[/CHANNELS]]... [--ac-panel SUB/DEV[/UNITS]]...
//                   [--ir-module SUB/DEV]... [--floor-heat SUB/DEV[/CIRCUITS]]...
//                   [--occupation SUB/DEV[/CHANNELS]]... [--panel SUB/DEV]...
//                   [--ip-module SUB/DEV]...
//                   [--commands] [--quiet] [--times]
//
// Prints "READY" once listening, then one line per frame received
// ("RX <sender>:<port> <hex>") and per answer sent ("TX <hex>"), unless --quiet.
// With --times each RX line is followed by "AT <ns>", the frame's arrival time
// on the system clock in nanoseconds since the epoch.
// Runs until it is terminated, or (with --exit-on-eof) until its standard input
// is closed. --silent and --reply apply to every device. With --commands, each
// line of standard input is a command:
//   levels                     prints "LEVELS SUB/DEV L1 L2 ..." for every light
//                              and then "END"
//   switch SUB/DEV NO on|off   the panel SUB/DEV raises universal switch NO, sent
//                              to the last sender; prints "SENT"
//   join SUB/DEV [FLAG]        the IP module SUB/DEV sends its join frame (byte 45
//                              FLAG in hex, FB by default) to the last sender;
//                              prints "SENT"
//   module SUB/DEV             prints "MODULE SUB/DEV <server> <port> <password>
//                              <style> <domain>" for the IP module, then "END"

#include "simacpanel.h"
#include "simbus.h"
#include "simfloorheat.h"
#include "simipmodule.h"
#include "simirmodule.h"
#include "simlight.h"
#include "simoccupation.h"
#include "simpanel.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QHash>
#include <QSocketNotifier>
#include <QTextStream>

#include <functional>

#include <cstdio>
#include <unistd.h>

namespace {

bool splitAddress(const QString &text, quint16 defaultPort, QHostAddress &address, quint16 &port)
{
    const int colon = text.lastIndexOf(QLatin1Char(':'));
    QString host = text;
    port = defaultPort;
    if (colon > 0 && !text.contains(QLatin1String("::"))) {
        bool ok = false;
        port = text.mid(colon + 1).toUShort(&ok);
        if (!ok)
            return false;
        host = text.left(colon);
    }
    return address.setAddress(host);
}

quint16 parseCode(const QString &text, bool *ok)
{
    return text.toUShort(ok, 16);
}

// "SUB/DEV[/N]": an address and an optional count (fallback when absent).
bool parseAddress(const QString &text, int fallback, quint8 &subnet, quint8 &device, int &count)
{
    const QStringList parts = text.split(QLatin1Char('/'));
    if (parts.size() < 2 || parts.size() > 3)
        return false;
    bool okSub = false;
    bool okDev = false;
    bool okCount = true;
    const int sub = parts[0].toInt(&okSub);
    const int dev = parts[1].toInt(&okDev);
    count = parts.size() > 2 ? parts[2].toInt(&okCount) : fallback;
    if (!okSub || !okDev || !okCount || sub < 0 || sub > 255 || dev < 0 || dev > 255 || count < 1
        || count > 64)
        return false;
    subnet = quint8(sub);
    device = quint8(dev);
    return true;
}

void printLine(const QString &line)
{
    QTextStream out(stdout);
    out << line << '\n';
    out.flush();
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("varno-simdevice"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Simulated Varno field devices."));
    parser.addHelpOption();
    parser.addOption({QStringLiteral("udp"), QStringLiteral("Listen for datagrams."),
                      QStringLiteral("addr[:port]")});
    parser.addOption({QStringLiteral("tcp"), QStringLiteral("Listen for TCP connections."),
                      QStringLiteral("addr[:port]")});
    parser.addOption({QStringLiteral("header-ip"),
                      QStringLiteral("Address written into the devices' frames."),
                      QStringLiteral("addr")});
    parser.addOption({QStringLiteral("device"), QStringLiteral("A device (repeatable)."),
                      QStringLiteral("sub/dev[/firmware]")});
    parser.addOption({QStringLiteral("silent"),
                      QStringLiteral("Operation code (hex) the devices do not answer."),
                      QStringLiteral("code")});
    parser.addOption({QStringLiteral("reply"),
                      QStringLiteral("Answer an operation code with a given frame."),
                      QStringLiteral("code=replycode:hexpayload")});
    parser.addOption({QStringLiteral("cloud-result"),
                      QStringLiteral("Answer cloud logins with this result code (0 = success)."),
                      QStringLiteral("n")});
    parser.addOption({QStringLiteral("dns-result"),
                      QStringLiteral("Answer DNS logins with this result code (1 = success)."),
                      QStringLiteral("n")});
    parser.addOption({QStringLiteral("exit-on-eof"),
                      QStringLiteral("Quit when standard input is closed.")});
    parser.addOption({QStringLiteral("light"), QStringLiteral("A lighting module (repeatable)."),
                      QStringLiteral("sub/dev[/channels]")});
    parser.addOption({QStringLiteral("ac-panel"),
                      QStringLiteral("A panel running air conditioners (repeatable)."),
                      QStringLiteral("sub/dev[/units]")});
    parser.addOption({QStringLiteral("ir-module"), QStringLiteral("An infrared module (repeatable)."),
                      QStringLiteral("sub/dev")});
    parser.addOption({QStringLiteral("floor-heat"),
                      QStringLiteral("A floor-heating controller (repeatable)."),
                      QStringLiteral("sub/dev[/circuits]")});
    parser.addOption({QStringLiteral("occupation"), QStringLiteral("An occupation sensor (repeatable)."),
                      QStringLiteral("sub/dev[/channels]")});
    parser.addOption({QStringLiteral("panel"), QStringLiteral("A wall panel (repeatable)."),
                      QStringLiteral("sub/dev")});
    parser.addOption({QStringLiteral("ip-module"), QStringLiteral("An IP module (repeatable)."),
                      QStringLiteral("sub/dev")});
    parser.addOption({QStringLiteral("commands"),
                      QStringLiteral("Read commands from standard input, one per line.")});
    parser.addOption({QStringLiteral("quiet"), QStringLiteral("Print no RX and TX lines.")});
    parser.addOption({QStringLiteral("times"), QStringLiteral("Print each frame's arrival time.")});
    parser.process(app);

    SimBus bus;
    QTextStream err(stderr);

    // Every device on the bus, in the order given.
    QList<SimDevice *> devices;
    QList<SimLight *> lights;
    QHash<quint16, SimPanel *> panels;
    QHash<quint16, SimIpModule *> ipModules;
    auto key = [](quint8 subnet, quint8 device) { return quint16(subnet << 8 | device); };

    const QStringList deviceArgs = parser.values(QStringLiteral("device"));
    for (const QString &entry : deviceArgs) {
        const QStringList parts = entry.split(QLatin1Char('/'));
        bool okSub = false;
        bool okDev = false;
        const int sub = parts.value(0).toInt(&okSub);
        const int dev = parts.value(1).toInt(&okDev);
        if (parts.size() < 2 || !okSub || !okDev || sub < 0 || sub > 255 || dev < 0 || dev > 255) {
            err << "bad --device " << entry << '\n';
            return 2;
        }
        SimDevice *device = bus.addDevice(std::make_unique<SimDevice>(quint8(sub), quint8(dev)));
        if (parts.size() > 2)
            device->setFirmware(parts.mid(2).join(QLatin1Char('/')).toUtf8());
        devices.append(device);
    }

    // The device kinds: option, count when none is given, and how one is made.
    struct KindOption
    {
        const char *name;
        int fallbackCount;
        std::function<SimDevice *(quint8, quint8, int)> make;
    };
    const QList<KindOption> kinds = {
        {"light", 4,
         [&](quint8 sub, quint8 dev, int n) {
             SimLight *light = bus.add<SimLight>(sub, dev, n);
             lights.append(light);
             return light;
         }},
        {"ac-panel", 1, [&](quint8 sub, quint8 dev, int n) { return bus.add<SimAcPanel>(sub, dev, n); }},
        {"ir-module", 1, [&](quint8 sub, quint8 dev, int) { return bus.add<SimIrModule>(sub, dev); }},
        {"floor-heat", 1,
         [&](quint8 sub, quint8 dev, int n) { return bus.add<SimFloorHeat>(sub, dev, n); }},
        {"occupation", 4,
         [&](quint8 sub, quint8 dev, int n) { return bus.add<SimOccupation>(sub, dev, n); }},
        {"panel", 1,
         [&](quint8 sub, quint8 dev, int) {
             SimPanel *panel = bus.add<SimPanel>(sub, dev);
             panels.insert(key(sub, dev), panel);
             return panel;
         }},
        {"ip-module", 1,
         [&](quint8 sub, quint8 dev, int) {
             SimIpModule *module = bus.add<SimIpModule>(sub, dev);
             ipModules.insert(key(sub, dev), module);
             return module;
         }},
    };
    for (const KindOption &kind : kinds) {
        for (const QString &entry : parser.values(QLatin1String(kind.name))) {
            quint8 sub = 0;
            quint8 dev = 0;
            int count = 0;
            if (!parseAddress(entry, kind.fallbackCount, sub, dev, count)) {
                err << "bad --" << kind.name << ' ' << entry << '\n';
                return 2;
            }
            devices.append(kind.make(sub, dev, count));
        }
    }
    if (devices.isEmpty())
        devices.append(bus.addDevice(std::make_unique<SimDevice>(1, 10)));

    for (const QString &text : parser.values(QStringLiteral("silent"))) {
        bool ok = false;
        const quint16 code = parseCode(text, &ok);
        if (!ok) {
            err << "bad --silent " << text << '\n';
            return 2;
        }
        for (SimDevice *device : qAsConst(devices))
            device->setAnswer(code, SimAnswer::silent());
    }
    for (const QString &text : parser.values(QStringLiteral("reply"))) {
        const int eq = text.indexOf(QLatin1Char('='));
        const int colon = text.indexOf(QLatin1Char(':'), eq);
        bool okCode = false;
        bool okReply = false;
        const quint16 code = parseCode(text.left(eq), &okCode);
        const quint16 replyCode = parseCode(text.mid(eq + 1, colon < 0 ? -1 : colon - eq - 1),
                                            &okReply);
        if (eq < 0 || !okCode || !okReply) {
            err << "bad --reply " << text << '\n';
            return 2;
        }
        const QByteArray payload =
            colon < 0 ? QByteArray() : QByteArray::fromHex(text.mid(colon + 1).toLatin1());
        for (SimDevice *device : qAsConst(devices))
            device->setAnswer(code, SimAnswer::reply(replyCode, payload));
    }

    QHostAddress address;
    quint16 port = 0;
    bool listening = false;
    if (parser.isSet(QStringLiteral("cloud-result")))
        bus.loginServer().setCloudResult(quint8(parser.value(QStringLiteral("cloud-result")).toUInt()));
    if (parser.isSet(QStringLiteral("dns-result")))
        bus.loginServer().setDnsResult(quint8(parser.value(QStringLiteral("dns-result")).toUInt()));
    if (parser.isSet(QStringLiteral("udp"))) {
        if (!splitAddress(parser.value(QStringLiteral("udp")), 6000, address, port)
            || !bus.listenUdp(address, port)) {
            err << "cannot listen for datagrams on " << parser.value(QStringLiteral("udp")) << ": "
                << bus.errorString() << '\n';
            return 1;
        }
        listening = true;
    }
    if (parser.isSet(QStringLiteral("tcp"))) {
        if (!splitAddress(parser.value(QStringLiteral("tcp")), 6010, address, port)
            || !bus.listenTcp(address, port)) {
            err << "cannot listen for connections on " << parser.value(QStringLiteral("tcp"))
                << ": " << bus.errorString() << '\n';
            return 1;
        }
        listening = true;
    }
    if (!listening) {
        err << "nothing to listen on: give --udp or --tcp\n";
        return 2;
    }
    if (parser.isSet(QStringLiteral("header-ip")))
        bus.setHeaderAddress(QHostAddress(parser.value(QStringLiteral("header-ip"))));

    if (!parser.isSet(QStringLiteral("quiet"))) {
        const bool times = parser.isSet(QStringLiteral("times"));
        QObject::connect(&bus, &SimBus::frameReceived, [times](const SimFrame &frame) {
            printLine(QStringLiteral("RX %1:%2 %3")
                          .arg(frame.sender.toString())
                          .arg(frame.senderPort)
                          .arg(frame.hex()));
            if (times)
                printLine(QStringLiteral("AT %1").arg(frame.arrivalNs));
        });
        QObject::connect(&bus, &SimBus::bytesSent, [](const QByteArray &bytes) {
            printLine(QStringLiteral("TX %1").arg(QString::fromLatin1(bytes.toHex(' '))));
        });
    }

    // One command line of standard input.
    auto runCommand = [&](const QString &line) {
        const QStringList words = line.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (words.isEmpty())
            return;
        if (words[0] == QLatin1String("levels") && words.size() == 1) {
            for (SimLight *light : qAsConst(lights)) {
                QStringList levels;
                for (int channel = 1; channel <= light->channels(); ++channel)
                    levels.append(QString::number(light->level(channel)));
                printLine(QStringLiteral("LEVELS %1/%2 %3")
                              .arg(light->subnet())
                              .arg(light->device())
                              .arg(levels.join(QLatin1Char(' '))));
            }
            printLine(QStringLiteral("END"));
            return;
        }
        quint8 sub = 0;
        quint8 dev = 0;
        int unused = 0;
        bool okNo = false;
        const int switchNo = words.value(2).toInt(&okNo);
        const QString state = words.value(3);
        if (words[0] == QLatin1String("switch") && words.size() == 4
            && parseAddress(words[1], 1, sub, dev, unused) && panels.contains(key(sub, dev)) && okNo
            && switchNo >= 0 && switchNo <= 255
            && (state == QLatin1String("on") || state == QLatin1String("off"))) {
            const bool on = state == QLatin1String("on");
            bus.sendRaw(panels.value(key(sub, dev))->switchFrame(quint8(switchNo), on));
            printLine(QStringLiteral("SENT"));
            return;
        }
        if (words[0] == QLatin1String("join") && (words.size() == 2 || words.size() == 3)
            && parseAddress(words[1], 1, sub, dev, unused) && ipModules.contains(key(sub, dev))) {
            bool okFlag = true;
            const uint flag = words.size() == 3 ? words[2].toUInt(&okFlag, 16) : 0xFB;
            if (okFlag && flag <= 0xFF) {
                bus.sendRaw(ipModules.value(key(sub, dev))->joinFrame(quint8(flag)));
                printLine(QStringLiteral("SENT"));
                return;
            }
        }
        if (words[0] == QLatin1String("module") && words.size() == 2
            && parseAddress(words[1], 1, sub, dev, unused) && ipModules.contains(key(sub, dev))) {
            const SimIpModule *module = ipModules.value(key(sub, dev));
            printLine(QStringLiteral("MODULE %1/%2 %3 %4 %5 %6 %7")
                          .arg(sub)
                          .arg(dev)
                          .arg(module->serverAddress())
                          .arg(module->port())
                          .arg(QString::fromLatin1(module->password().toHex()))
                          .arg(module->style())
                          .arg(module->domain()));
            printLine(QStringLiteral("END"));
            return;
        }
        err << "bad command " << line << '\n';
        err.flush();
    };

    // Ends with its standard input, so a test that goes away takes it along.
    const bool commands = parser.isSet(QStringLiteral("commands"));
    const bool exitOnEof = parser.isSet(QStringLiteral("exit-on-eof"));
    QByteArray pendingInput;
    QSocketNotifier stdinWatch(STDIN_FILENO, QSocketNotifier::Read);
    stdinWatch.setEnabled(commands || exitOnEof);
    QObject::connect(&stdinWatch, &QSocketNotifier::activated, [&] {
        char buffer[256];
        const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (n <= 0) {
            stdinWatch.setEnabled(false);
            if (exitOnEof)
                app.quit();
            return;
        }
        if (!commands)
            return;
        pendingInput.append(buffer, int(n));
        int end = 0;
        while ((end = pendingInput.indexOf('\n')) >= 0) {
            runCommand(QString::fromUtf8(pendingInput.left(end)));
            pendingInput.remove(0, end + 1);
        }
    });

    printLine(QStringLiteral("READY"));
    return app.exec();
}
