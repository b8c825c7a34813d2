// flood_sender: pushes a steady stream of datagrams at a Varno for a flood test.
//
//   flood_sender ADDR PORT RATE SECONDS MODULES
//
// Sends RATE datagrams a second for SECONDS seconds to ADDR:PORT, a mix of:
// level replies (0x0034) of the lighting modules 1/1 .. 1/MODULES with ten
// channels each, valid frames from unknown addresses, frames with a bad CRC,
// frames whose length byte does not fit, empty datagrams and datagrams of
// 8193 bytes. Prints what it sent by kind, then "DONE".

#include "simframe.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QHostAddress>
#include <QTextStream>
#include <QTimer>
#include <QUdpSocket>

#include <array>

namespace {

enum Kind { KnownReply, UnknownAddress, BadCrc, WrongLength, Empty, Oversized, Kinds };
const char *const KindNames[Kinds] = {"known-reply", "unknown-address", "bad-crc", "wrong-length",
                                      "empty", "oversized"};
// Out of every 20 datagrams.
const std::array<Kind, 20> Mix = {KnownReply, KnownReply,     KnownReply,     KnownReply,  KnownReply,
                                  KnownReply, UnknownAddress, UnknownAddress, UnknownAddress,
                                  UnknownAddress, BadCrc,     BadCrc,         BadCrc,      WrongLength,
                                  WrongLength,  WrongLength,  Empty,          Empty,       Oversized,
                                  Oversized};

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    if (argc < 6) {
        out << "usage: flood_sender ADDR PORT RATE SECONDS MODULES\n";
        return 2;
    }
    const QHostAddress target(QString::fromLatin1(argv[1]));
    const quint16 port = quint16(QByteArray(argv[2]).toUInt());
    const int rate = QByteArray(argv[3]).toInt();
    const int seconds = QByteArray(argv[4]).toInt();
    const int modules = qMax(1, QByteArray(argv[5]).toInt());
    const QByteArray headerIp = SimFrame::ipBytes(QHostAddress(QStringLiteral("10.77.0.2")));

    QUdpSocket socket;
    if (!socket.bind(QHostAddress(QHostAddress::AnyIPv4), 0)) {
        out << "cannot bind: " << socket.errorString() << '\n';
        return 1;
    }
    std::array<qint64, Kinds> sent{};
    qint64 total = 0;
    quint32 seed = 12345;
    auto random = [&seed] {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 16) & 0x7FFF;
    };
    const QByteArray oversized(8193, '\x5A');

    QElapsedTimer clock;
    clock.start();
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, &app, [&] {
        const qint64 elapsed = clock.elapsed();
        if (elapsed >= qint64(seconds) * 1000) {
            tick.stop();
            for (int k = 0; k < Kinds; ++k)
                out << KindNames[k] << ' ' << sent[k] << '\n';
            out << "total " << total << "\nDONE\n";
            out.flush();
            app.quit();
            return;
        }
        // Catch up with the schedule: RATE a second since the start.
        const qint64 due = elapsed * rate / 1000;
        while (total < due) {
            const Kind kind = Mix[size_t(total % qint64(Mix.size()))];
            QByteArray datagram;
            const quint8 device = quint8(1 + random() % modules);
            QByteArray levels(1, char(10));
            for (int c = 0; c < 10; ++c)
                levels.append(char(random() % 101));
            switch (kind) {
            case KnownReply:
                datagram = SimFrame::build(headerIp, 1, device, 0x0258, 0x0034, 1, 254, levels);
                break;
            case UnknownAddress:
                datagram = SimFrame::build(headerIp, 9, quint8(random()), 0x0258, quint16(random()), 1,
                                           254, levels);
                break;
            case BadCrc:
                datagram = SimFrame::build(headerIp, 1, device, 0x0258, 0x0034, 1, 254, levels);
                datagram[datagram.size() - 1] = char(datagram[datagram.size() - 1] ^ 0x55);
                break;
            case WrongLength:
                datagram = SimFrame::build(headerIp, 1, device, 0x0258, 0x0034, 1, 254, levels);
                datagram[16] = char(quint8(datagram[16]) + 1 + random() % 200);
                break;
            case Empty:
                break;
            case Oversized:
                datagram = oversized;
                break;
            case Kinds:
                break;
            }
            socket.writeDatagram(datagram, target, port);
            ++sent[kind];
            ++total;
        }
    });
    tick.start(1);
    return app.exec();
}
