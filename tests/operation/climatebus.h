#pragma once

// The simulated bus of the climate tests: devices on 127.0.0.2:6000 ("DNS
// Server" style), every frame the application sends with its arrival time.
// Only inside the private network namespace of ./test (VARNO_NETNS=1).

#include "bus/broadcastsocket.h"
#include "cardtimers.h"
#include "climatefixture.h"
#include "operation/deviceitem.h"
#include "simanswer.h"
#include "simbus.h"
#include "store/globals.h"

#include <QElapsedTimer>
#include <QHostAddress>
#include <QStringList>

#include <memory>

namespace climatefix {

class BusRig
{
public:
    static bool available() { return qEnvironmentVariable("VARNO_NETNS") == QLatin1String("1"); }

    // Opens the simulated devices' end and the application's socket.
    bool open(QString *error)
    {
        gl_socket.setId(1, 254);
        gl_net_style = NetStyleDnsServer;
        gl_domain_name = QStringLiteral("127.0.0.2");
        gl_ip_port_mac = QStringLiteral("00-11-22-33-44-55-66-77");
        gl_host_ip = QStringLiteral("192.168.1.5");
        gl_socket.setKeepAliveInterval(3600 * 1000);
        sim = std::make_unique<SimBus>();
        if (!sim->listenUdp(QHostAddress(QStringLiteral("127.0.0.2")), 6000)) {
            *error = sim->errorString();
            return false;
        }
        QObject::connect(sim.get(), &SimBus::frameReceived, sim.get(), [this](const SimFrame &f) {
            if (f.kind == SimFrame::Bus)
                times.append(clock.elapsed());
        });
        clock.start();
        if (!gl_socket.createSocket()) {
            *error = QStringLiteral("the application's socket did not open");
            return false;
        }
        return true;
    }

    void close()
    {
        gl_socket.closeSocket();
        sim.reset();
    }

    void clear()
    {
        SimBus::pump(20);
        sim->clear();
        times.clear();
    }

    QList<SimFrame> sent(quint16 code = 0) const
    {
        return code ? sim->framesWithCode(code) : sim->busFrames();
    }

    // "code:device:payload" of every frame sent (of that code).
    QStringList sentText(quint16 code = 0) const
    {
        QStringList out;
        for (const SimFrame &f : sent(code))
            out.append(QStringLiteral("%1:%2:%3")
                           .arg(f.code, 4, 16, QLatin1Char('0'))
                           .arg(f.targetDevice)
                           .arg(QString::fromLatin1(f.payload.toHex())));
        return out;
    }

    // Arrival times (ms on the rig's clock) of the frames of that code.
    QList<qint64> timesOf(quint16 code) const
    {
        QList<qint64> out;
        const QList<SimFrame> frames = sim->busFrames();
        for (int i = 0; i < frames.size() && i < times.size(); ++i) {
            if (frames[i].code == code)
                out.append(times[i]);
        }
        return out;
    }

    bool waitForCode(quint16 code, int count, int timeoutMs = 3000) const
    {
        QElapsedTimer t;
        t.start();
        while (sent(code).size() < count && t.elapsed() < timeoutMs)
            SimBus::pump(5);
        return sent(code).size() >= count;
    }

    qint64 now() const { return clock.elapsed(); }

    std::unique_ptr<SimBus> sim;
    QElapsedTimer clock;
    QList<qint64> times;
};


// Rows "inThePause": the device answers the set point sent first only after the card sent a
// newer one (28), in the newer one's pause (it must still go out) or after its confirmation.
inline void lateAnswerRows()
{
    QTest::addColumn<bool>("inThePause");
    QTest::newRow("in the newer one's pause") << true;
    QTest::newRow("after the newer one's confirmation") << false;
}
template <class Sim, class Item>
bool answerSetPointLate(Sim *sim, quint16 code, Item *item, int first)
{
    QFETCH(bool, inThePause);
    DeviceItem::setIntervalScale(0.1);
    sim->setAnswer(code, SimAnswer::silent());
    item->setPointSlider()->slider()->setValue(first);
    if (!QTest::qWaitFor([&] { return !sim->requestsWithCode(code).isEmpty(); }, 5000))
        return false;
    sim->clearAnswer(code);
    const QList<SimOutput> late = sim->respond(sim->requestsWithCode(code).last());
    item->setPointSlider()->slider()->setValue(28);
    if (inThePause)
        deliver(late.value(0).bytes);
    const bool confirmed = QTest::qWaitFor([item] { return item->status(); }, 5000);
    if (!inThePause)
        deliver(late.value(0).bytes);
    return late.size() == 1 && confirmed;
}

} // namespace climatefix
