// varno-simdevice: simulated field devices on the bus, for tests and trying the
// application by hand inside a private network namespace.
//
//   varno-simdevice [--udp ADDR[:PORT]] [--tcp ADDR[:PORT]] [--header-ip ADDR]
//                   [--device SUB/DEV[/FIRMWARE]]... [--silent CODE]...
//                   [--reply CODE=HEXCODE:HEXPAYLOAD]... [--exit-on-eof]
//                   [--cloud-result N] [--dns-result N]
//
// Prints "READY" once listening, then one line per frame received
// ("RX <sender>:<port> <hex>") and per answer sent ("TX <hex>"). Runs until it
// is terminated, or (with --exit-on-eof) until its standard input is closed.

#include "simbus.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QSocketNotifier>
#include <QTextStream>

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
    parser.process(app);

    SimBus bus;
    QTextStream err(stderr);

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
    }
    if (deviceArgs.isEmpty())
        bus.addDevice(std::make_unique<SimDevice>(1, 10));

    for (const QString &text : parser.values(QStringLiteral("silent"))) {
        bool ok = false;
        const quint16 code = parseCode(text, &ok);
        if (!ok) {
            err << "bad --silent " << text << '\n';
            return 2;
        }
        for (const QString &entry : deviceArgs.isEmpty() ? QStringList{"1/10"} : deviceArgs) {
            const QStringList parts = entry.split(QLatin1Char('/'));
            bus.device(quint8(parts[0].toInt()), quint8(parts[1].toInt()))
                ->setAnswer(code, SimAnswer::silent());
        }
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
        for (const QString &entry : deviceArgs.isEmpty() ? QStringList{"1/10"} : deviceArgs) {
            const QStringList parts = entry.split(QLatin1Char('/'));
            bus.device(quint8(parts[0].toInt()), quint8(parts[1].toInt()))
                ->setAnswer(code, SimAnswer::reply(replyCode, payload));
        }
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

    QObject::connect(&bus, &SimBus::frameReceived, [](const SimFrame &frame) {
        printLine(QStringLiteral("RX %1:%2 %3")
                      .arg(frame.sender.toString())
                      .arg(frame.senderPort)
                      .arg(frame.hex()));
    });
    QObject::connect(&bus, &SimBus::bytesSent, [](const QByteArray &bytes) {
        printLine(QStringLiteral("TX %1").arg(QString::fromLatin1(bytes.toHex(' '))));
    });

    // Ends with its standard input, so a test that goes away takes it along.
    QSocketNotifier stdinWatch(STDIN_FILENO, QSocketNotifier::Read);
    stdinWatch.setEnabled(parser.isSet(QStringLiteral("exit-on-eof")));
    QObject::connect(&stdinWatch, &QSocketNotifier::activated, [&app, &stdinWatch] {
        char buffer[256];
        if (::read(STDIN_FILENO, buffer, sizeof buffer) <= 0) {
            stdinWatch.setEnabled(false);
            app.quit();
        }
    });

    printLine(QStringLiteral("READY"));
    return app.exec();
}
