// The light card's polling cycle against simulated lighting modules on
// 127.0.0.2:6000 ("DNS Server" style). Runs only inside the private network
// namespace of ./test (VARNO_NETNS=1).

#include "testmain.h"

#include "lightfixture.h"
#include "operation/lightitem.h"
#include "operation/lightsliderctrl.h"
#include "simbus.h"
#include "simlight.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>
#include <qtmaterialiconbutton.h>
#include <qtmaterialslider.h>

using namespace lightfix;

namespace {

const QHostAddress SimAddress(QStringLiteral("127.0.0.2"));

// "code:device:payload" of a frame the application sent.
QString describe(const SimFrame &f)
{
    return QStringLiteral("%1:%2:%3")
        .arg(f.code, 4, 16, QLatin1Char('0'))
        .arg(f.targetDevice)
        .arg(QString::fromLatin1(f.payload.toHex()));
}

} // namespace

class TestLightCycle : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    int m_db = 0;
    std::unique_ptr<SimBus> m_sim;
    QElapsedTimer m_clock;
    QList<qint64> m_times; // arrival of each bus frame, ms on m_clock
    QList<SimLight *> m_lights;

    SimLight *module(quint8 device) { return static_cast<SimLight *>(m_sim->device(1, device)); }

    QList<SimFrame> sent(quint16 code = 0) const
    {
        return code ? m_sim->framesWithCode(code) : m_sim->busFrames();
    }

    QStringList sentText(quint16 code = 0) const
    {
        QStringList out;
        for (const SimFrame &f : sent(code))
            out.append(describe(f));
        return out;
    }

    // Arrival times of the frames with that code.
    QList<qint64> timesOf(quint16 code) const
    {
        QList<qint64> out;
        const QList<SimFrame> frames = m_sim->busFrames();
        for (int i = 0; i < frames.size() && i < m_times.size(); ++i) {
            if (frames[i].code == code)
                out.append(m_times[i]);
        }
        return out;
    }

    void clearFrames()
    {
        m_sim->clear();
        m_times.clear();
    }

    bool waitForCode(quint16 code, int count, int timeoutMs = 3000)
    {
        QElapsedTimer t;
        t.start();
        while (sent(code).size() < count && t.elapsed() < timeoutMs)
            SimBus::pump(5);
        return sent(code).size() >= count;
    }

    std::unique_ptr<LightItem> card(const Row &r, QWidget *parent = nullptr)
    {
        insertLight(r);
        auto item = std::make_unique<LightItem>(loadLight(r.lightId), false, parent);
        if (!parent)
            item->show();
        return item;
    }

private slots:
    void initTestCase()
    {
        if (qEnvironmentVariable("VARNO_NETNS") != QLatin1String("1"))
            QSKIP("needs the private network namespace of ./test (VARNO_NETNS=1)");
        Q_INIT_RESOURCE(pictures);
        gl_socket.setId(1, 254);
        gl_net_style = NetStyleDnsServer;
        gl_domain_name = QStringLiteral("127.0.0.2");
        gl_ip_port_mac = QStringLiteral("00-11-22-33-44-55-66-77");
        gl_host_ip = QStringLiteral("192.168.1.5");
        gl_socket.setKeepAliveInterval(3600 * 1000);

        m_sim = std::make_unique<SimBus>();
        QVERIFY2(m_sim->listenUdp(SimAddress, 6000), qPrintable(m_sim->errorString()));
        for (quint8 device : {20, 30, 40, 50, 60})
            m_lights.append(m_sim->add<SimLight>(quint8(1), device, 4));
        for (quint8 device : {31, 32, 33, 34})
            m_lights.append(m_sim->add<SimLight>(quint8(1), device, 1));
        connect(m_sim.get(), &SimBus::frameReceived, this, [this](const SimFrame &f) {
            if (f.kind == SimFrame::Bus)
                m_times.append(m_clock.elapsed());
        });
        QVERIFY(gl_socket.createSocket());
        m_clock.start();
    }

    void init()
    {
        openProject(m_dir.filePath(QStringLiteral("p%1.db3").arg(++m_db)));
        DeviceItem::setIntervalScale(1.0);
        for (SimLight *l : qAsConst(m_lights)) {
            l->reset();
            l->setFirmware("SIM-FW 1.0");
        }
        SimBus::pump(20);
        clearFrames();
    }

    void cleanupTestCase()
    {
        gl_socket.closeSocket();
        gl_sqlite3db.close();
    }

    void silentLightGivesUpAfterTenQueries()
    {
        DeviceItem::setIntervalScale(0.05); // ticks of 50 ms
        module(20)->setDefaultAnswer(SimAnswer::silent());
        Row r;
        r.name = QStringLiteral("Reading lamp");
        auto item = card(r);
        QSignalSpy info(&gl_socket, &BroadcastSocket::signalsInformation);
        const qint64 start = m_clock.elapsed();
        item->getStatus(0);
        QTRY_VERIFY_WITH_TIMEOUT(item->status(), 3000);
        // The tick after the tenth frame says so; then nothing more comes.
        QTRY_COMPARE_WITH_TIMEOUT(info.count(), 1, 3000);
        SimBus::pump(300);

        QCOMPARE(sentText(), QVector<QString>(10, QStringLiteral("effd:20:")).toList());
        // Query i goes out on tick i, not before i ticks from the start (a coarse
        // tick may come a little early). Gaps between arrivals say nothing: a
        // late tick is followed by one on time.
        const QList<qint64> times = timesOf(0xEFFD);
        for (int i = 1; i < times.size(); ++i)
            QVERIFY2(times[i] - start >= qint64(i * 50 * 0.9),
                     qPrintable(QString::number(times[i] - start)));
        QCOMPARE(info.count(), 1);
        QCOMPARE(info.at(0).at(0).toString(), QStringLiteral("Reading lamp lost connection"));
        QVERIFY(item->isOfflineShown());

        // A new refresh hides the marks again.
        item->getStatus(0);
        QVERIFY(!item->isOfflineShown());
    }

    void queriesKeepTheirSecond()
    {
        module(20)->setDefaultAnswer(SimAnswer::silent());
        Row r;
        auto item = card(r);
        // The first query goes out at once: with the next tick 1000 s away, the
        // one query that comes can only be that one.
        DeviceItem::setIntervalScale(1000.0);
        item->getStatus(0);
        QVERIFY(waitForCode(0xEFFD, 1, 2500));
        emit gl_socket.signalsStopRefresh(false);
        clearFrames();
        // The next one a tick later: not before 1000 ms (a coarse tick may come a
        // little early), however late a busy machine lets it come.
        DeviceItem::setIntervalScale(1.0);
        const qint64 start = m_clock.elapsed();
        item->getStatus(0);
        QVERIFY(waitForCode(0xEFFD, 2, 5000));
        const QList<qint64> times = timesOf(0xEFFD);
        QVERIFY2(times[1] - start >= 900, qPrintable(QString::number(times[1] - start)));
        // A page change stops the cycle.
        emit gl_socket.signalsStopRefresh(false);
        SimBus::pump(1100);
        QCOMPARE(sent(0xEFFD).size(), 2);
        QVERIFY(!item->status());
    }

    void delayedStart()
    {
        Row r;
        auto item = card(r);
        const qint64 start = m_clock.elapsed();
        item->getStatus(300);
        // Not before the delay, however late a busy machine lets it come.
        QVERIFY(waitForCode(0xEFFD, 1, 5000));
        QVERIFY(timesOf(0xEFFD).first() - start >= 280);
        // The module's answers end that cycle: no late reply brings a query below.
        QTRY_VERIFY_WITH_TIMEOUT(item->status(), 5000);

        // Stopped while it waits: nothing is ever sent.
        clearFrames();
        item->getStatus(300);
        emit gl_socket.signalsStopRefresh(false);
        SimBus::pump(500);
        QVERIFY(sent().isEmpty());
    }

    void answeringLightIsReadAndLogged()
    {
        module(20)->setFirmware("V2.05'b");
        module(20)->setLevel(2, 60);
        Row r;
        r.channel = 2;
        auto item = card(r);
        // The level query follows the firmware reply at once, not at the next
        // tick: with every tick 1000 s away, only the reply can bring it.
        DeviceItem::setIntervalScale(1000.0);
        item->getStatus(0);
        QTRY_VERIFY_WITH_TIMEOUT(item->status(), 2000);
        DeviceItem::setIntervalScale(1.0);
        QCOMPARE(sentText(), (QStringList{"effd:20:", "0033:20:02"}));
        QCOMPARE(column(1, QStringLiteral("original_type")).toInt(), int(module(20)->deviceType()));
        QCOMPARE(column(1, QStringLiteral("version")).toString(), QStringLiteral("V2.05'b"));
        QCOMPARE(storedBrightness(1), 60);
        QCOMPARE(item->brightnessSlider()->value(), 60);
        QCOMPARE(logRows(), QStringList{"light_Lamp:status is 60%"});

        // The same state again logs nothing; a new one does.
        item->getStatus(0);
        QTRY_VERIFY_WITH_TIMEOUT(item->status(), 2000);
        QCOMPARE(logRows().size(), 1);
        module(20)->setLevel(2, 30);
        item->getStatus(0);
        QTRY_VERIFY_WITH_TIMEOUT(item->status(), 2000);
        QCOMPARE(logRows(), (QStringList{"light_Lamp:status is 60%", "light_Lamp:status is 30%"}));
        QCOMPARE(storedBrightness(1), 30);
    }

    void clickSendsAndResendsUntilConfirmed()
    {
        DeviceItem::setIntervalScale(0.1);
        module(20)->setAnswer(SimLight::SetLevel, SimAnswer::silent());
        Row r;
        r.type = LightOnOff;
        auto item = card(r);
        QVERIFY(QTest::qWaitForWindowExposed(item.get()));
        // The click sends at once: with the resend 100 s away, the one command
        // that comes can only be that one.
        DeviceItem::setIntervalScale(100.0);
        QTest::mouseClick(item.get(), Qt::LeftButton, {}, QPoint(250, 20));
        QVERIFY(waitForCode(0x0031, 1, 2500));
        // Resent every (shortened) second while unconfirmed.
        DeviceItem::setIntervalScale(0.1);
        item->setStatus();
        QVERIFY(waitForCode(0x0031, 3));
        QVERIFY(!item->status());
        module(20)->clearAnswer(SimLight::SetLevel);
        QTRY_VERIFY_WITH_TIMEOUT(item->status(), 2000);
        const int count = sent(0x0031).size();
        SimBus::pump(400);
        QCOMPARE(sent(0x0031).size(), count);
        QCOMPARE(sentText(0x0031).first(), QStringLiteral("0031:20:01640000"));
        QCOMPARE(module(20)->level(1), 100);
        QCOMPARE(storedBrightness(1), 100);
        QCOMPARE(logRows(), QStringList{"light_Lamp:status is on"});
    }

    void resendComesASecondLater()
    {
        module(20)->setAnswer(SimLight::SetLevel, SimAnswer::silent().once());
        Row r;
        r.type = LightOnOff;
        auto item = card(r);
        const qint64 start = m_clock.elapsed();
        item->setStatus();
        QTRY_VERIFY_WITH_TIMEOUT(item->status(), 5000);
        const QList<qint64> times = timesOf(0x0031);
        QCOMPARE(times.size(), 2);
        // The resend goes out on the tick, not before 1000 ms (a coarse tick may be
        // a little early).
        QVERIFY2(times[1] - start >= 900, qPrintable(QString::number(times[1] - start)));
    }

    void sliderMovesSendOneCommand()
    {
        Row r;
        r.channel = 3;
        auto item = card(r);
        QTRY_COMPARE(item->brightnessSlider()->valueText(), QStringLiteral("0%"));
        QTRY_VERIFY(!item->isFirstDisplayPending()); // past the first display
        // The pause three times as long (3000 ms), so that the movements, 300 ms
        // apart, cannot be overtaken by it even on a busy machine.
        DeviceItem::setIntervalScale(3.0);
        qint64 last = 0;
        for (int value : {30, 40, 50}) {
            last = m_clock.elapsed();
            item->brightnessSlider()->slider()->setValue(value);
            SimBus::pump(300);
        }
        QVERIFY(waitForCode(0x0031, 1, 8000));
        QTRY_VERIFY_WITH_TIMEOUT(item->status(), 3000);
        SimBus::pump(100);
        QCOMPARE(sentText(0x0031), QStringList{"0031:20:03320000"});
        // Each movement starts the wait anew: the command leaves a full pause after
        // the last one (a coarse timer may come a little early; the clock was read
        // just before the movement, so a busy machine only adds to the difference).
        const qint64 after = timesOf(0x0031).first() - last;
        QVERIFY2(after >= 2700, qPrintable(QString::number(after)));
        QCOMPARE(module(20)->level(3), 50);
        QCOMPARE(storedBrightness(1), 50);
    }

    void lateAnswerLeavesTheNewerLevel_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("held"); // the request whose answer comes late
        QTest::addColumn<int>("level"); // 0: the slider is moved there before it comes
        QTest::addColumn<int>("late");  // times it comes in the pause; -1: once the newer level is confirmed
        const int set = SimLight::SetLevel;
        QTest::newRow("confirmation") << int(LightAdjust) << set << 0 << 1;
        QTest::newRow("confirmation, twice") << int(LightAdjust) << set << 0 << 2;
        QTest::newRow("confirmation after the newer one's") << int(LightAdjust) << set << 0 << -1;
        QTest::newRow("level read") << int(LightAdjust) << int(SimLight::GetLevels) << 0 << 1;
        QTest::newRow("dali firmware read") << int(LightDaliDT8) << 0xEFFD << 0 << 1;
        QTest::newRow("dali confirmation after the newer one's") << int(LightDaliDT8) << set << 0 << -1;
        QTest::newRow("nothing newer: shown") << int(LightAdjust) << int(SimLight::GetLevels) << 50 << 1;
    }

    void lateAnswerLeavesTheNewerLevel()
    {
        QFETCH(int, type);
        QFETCH(int, held);
        QFETCH(int, level);
        QFETCH(int, late);
        const bool dali = type == LightDaliDT8; // whose record packs level * 256 + temperature
        Row r{1, type, QStringLiteral("Lamp"), 1, dali ? 60 : 20, 2, dali ? 20 * 256 + 40 : 20};
        SimLight *device = module(quint8(r.device));
        device->setLevel(2, 50);
        const auto item = card(r);
        QTRY_VERIFY(!item->isFirstDisplayPending());
        DeviceItem::setIntervalScale(0.1);
        device->setAnswer(quint16(held), SimAnswer::silent());
        held == SimLight::SetLevel ? item->brightnessSlider()->slider()->setValue(38) : item->getStatus(0);
        QVERIFY(waitForCode(quint16(held), 1));
        device->clearAnswer(quint16(held));
        const QList<SimOutput> answer = device->respond(device->requestsWithCode(quint16(held)).last());
        QCOMPARE(answer.size(), 1);
        if (level == 0)
            item->brightnessSlider()->slider()->setValue(0);
        for (int i = 0; i < late; ++i)
            deliver(answer.first().bytes); // while the newer level waits out its pause
        QTRY_VERIFY_WITH_TIMEOUT(item->status(), 3000);
        if (late < 0)
            deliver(answer.first().bytes);
        QCOMPARE((QList<int>{device->level(2), item->brightnessSlider()->value(),
                             item->getLight().brightness[0], storedBrightness(1)}),
                 (QList<int>{level, level, level, dali ? level * 256 + 40 : level}));
    }

    void allOnAndOffThroughTheHub()
    {
        Row a;
        a.lightId = 1;
        a.channel = 1;
        a.brightness = 40;
        auto first = card(a);
        Row b;
        b.lightId = 2;
        b.channel = 2;
        auto second = card(b);
        QWidget hiddenPage;
        Row c;
        c.lightId = 3;
        c.channel = 3;
        auto hidden = card(c, &hiddenPage);

        emit gl_socket.signalsLightStatus(0);
        QTRY_VERIFY_WITH_TIMEOUT(first->status() && second->status(), 2000);
        QCOMPARE(sentText(0x0031), (QStringList{"0031:20:01000000", "0031:20:02000000"}));
        clearFrames();

        emit gl_socket.signalsLightStatus(100);
        QTRY_VERIFY_WITH_TIMEOUT(first->status() && second->status(), 2000);
        QCOMPARE(sentText(0x0031), (QStringList{"0031:20:01280000", "0031:20:02640000"}));
        QCOMPARE(module(20)->level(1), 40);
        QCOMPARE(module(20)->level(2), 100);
        QCOMPARE(storedBrightness(1), 40);
        QCOMPARE(storedBrightness(2), 100);
        SimBus::pump(200);
        // The card on the hidden page sent nothing.
        for (const SimFrame &f : sent())
            QVERIFY(f.payload.isEmpty() || quint8(f.payload.at(0)) != 3);
        QVERIFY(!hidden->status());
    }

    void rgbGoesSetBySet_data()
    {
        QTest::addColumn<QList<int>>("devices");
        QTest::addColumn<QList<int>>("channels");
        QTest::addColumn<QStringList>("refresh");
        QTest::addColumn<QStringList>("commands");

        QTest::newRow("a module per colour")
            << QList<int>{31, 32, 33} << QList<int>{1, 1, 1}
            << QStringList{"effd:31:", "effd:32:", "effd:33:", "0033:31:01", "0033:32:01", "0033:33:01"}
            << QStringList{"0031:31:01640000", "0031:32:01640000", "0031:33:01640000"};
        QTest::newRow("with a white module")
            << QList<int>{31, 32, 33, 34} << QList<int>{1, 1, 1, 1}
            << QStringList{"effd:31:", "effd:32:", "effd:33:", "effd:34:", "0033:31:01", "0033:32:01",
                           "0033:33:01", "0033:34:01"}
            << QStringList{"0031:31:01640000", "0031:32:01640000", "0031:33:01640000", "0031:34:01640000"};
        QTest::newRow("four channels of one module")
            << QList<int>{30, 30, 30, 30} << QList<int>{1, 2, 3, 4}
            << QStringList{"effd:30:", "0033:30:01"}
            << QStringList{"0031:30:01640000", "0031:30:02640000", "0031:30:03640000", "0031:30:04640000"};
    }

    void rgbGoesSetBySet()
    {
        QFETCH(QList<int>, devices);
        QFETCH(QList<int>, channels);
        QFETCH(QStringList, refresh);
        QFETCH(QStringList, commands);
        for (int k = 0; k < devices.size(); ++k) {
            Row r;
            r.type = LightRGB;
            r.name = QStringLiteral("Cove");
            r.device = devices[k];
            r.channel = channels[k];
            r.rgb = k + 1;
            insertLight(r);
            module(quint8(devices[k]))->setLevel(channels[k], 10 + k);
        }
        LightItem item(loadLight(1), false);
        item.show();
        item.getStatus(0);
        QTRY_VERIFY_WITH_TIMEOUT(item.status(), 2000);
        QCOMPARE(sentText(), refresh);
        for (int k = 0; k < devices.size(); ++k) {
            QCOMPARE(storedBrightness(1, k + 1), 10 + k);
            QCOMPARE(column(1, QStringLiteral("version"), k + 1).toString(), QStringLiteral("SIM-FW 1.0"));
        }
        QCOMPARE(logRows(), QStringList{"light_Cove:status is red=25,green=28,blue=30"});

        clearFrames();
        emit gl_socket.signalsLightStatus(0);
        QTRY_VERIFY_WITH_TIMEOUT(item.status(), 2000);
        clearFrames();
        emit gl_socket.signalsLightStatus(100); // back to the levels read
        QTRY_VERIFY_WITH_TIMEOUT(item.status(), 2000);
        QStringList restored = commands;
        for (int k = 0; k < restored.size(); ++k)
            restored[k].replace(10, 2, QStringLiteral("%1").arg(10 + k, 2, 16, QLatin1Char('0')));
        QCOMPARE(sentText(0x0031), restored);
        for (int k = 0; k < devices.size(); ++k)
            QCOMPARE(module(quint8(devices[k]))->level(channels[k]), 10 + k);
    }

    void hsbLightPacksItsState()
    {
        module(40)->setColour(2, SimLight::Colour{80, 120, 200});
        Row r;
        r.type = LightHSB;
        r.device = 40;
        r.channel = 2;
        auto item = card(r);
        item->getStatus(0);
        QTRY_VERIFY_WITH_TIMEOUT(item->status(), 2000);
        QCOMPARE(sentText(), (QStringList{"effd:40:", "2036:40:02"}));
        QCOMPARE(storedBrightness(1), 80 * 65536 + 120 * 256 + 200);

        clearFrames();
        emit gl_socket.signalsLightStatus(0);
        QTRY_VERIFY_WITH_TIMEOUT(item->status(), 2000);
        // Channel, brightness, hue, 0, saturation.
        QCOMPARE(sentText(), QStringList{"2034:40:02007800c8"});
        QCOMPARE(storedBrightness(1), 120 * 256 + 200);
        clearFrames();
        emit gl_socket.signalsLightStatus(100);
        QTRY_VERIFY_WITH_TIMEOUT(item->status(), 2000);
        QCOMPARE(sentText(), QStringList{"2034:40:02507800c8"});
        QCOMPARE(storedBrightness(1), 80 * 65536 + 120 * 256 + 200);
    }

    void sceneLightRecallsScenes()
    {
        DeviceItem::setIntervalScale(0.1);
        Row r;
        r.type = LightScene;
        r.device = 50;
        r.channel = 3;
        r.usId = 5;
        auto item = card(r);
        QVERIFY(QTest::qWaitForWindowExposed(item.get()));
        item->getStatus(0);
        QVERIFY(item->status());
        SimBus::pump(100);
        QVERIFY(sent().isEmpty());

        QTest::mouseClick(item.get(), Qt::LeftButton, {}, QPoint(250, 20));
        QTRY_VERIFY_WITH_TIMEOUT(item->status(), 1000);
        QTest::mouseClick(item.get(), Qt::LeftButton, {}, QPoint(250, 20));
        QTRY_VERIFY_WITH_TIMEOUT(item->status(), 1000);
        QCOMPARE(sentText(), (QStringList{"0002:50:0305", "0002:50:0300"}));
        QCOMPARE(module(50)->scene(3), 0);
        QCOMPARE(storedBrightness(1), 0);
        QCOMPARE(logRows(), (QStringList{"light_Lamp:status is on", "light_Lamp:status is off"}));

        clearFrames();
        QTest::mouseClick(item->sceneAddButton(), Qt::LeftButton);
        QTest::mouseClick(item->sceneReduceButton(), Qt::LeftButton);
        SimBus::pump(400); // several ticks: scene steps are not repeated
        QCOMPARE(sentText(), (QStringList{"f03c:50:0387", "f03c:50:0307"}));
    }

    void daliLightSetsLevelAndTemperature()
    {
        DeviceItem::setIntervalScale(0.1);
        Row r;
        r.type = LightDaliDT8;
        r.device = 60;
        r.channel = 2;
        r.brightness = 30 * 256 + 50;
        auto item = card(r);
        QTRY_COMPARE(item->temperatureSlider()->value(), 50);
        item->getStatus(0);
        QTRY_VERIFY_WITH_TIMEOUT(item->status(), 1000);
        SimBus::pump(300);
        QCOMPARE(sentText(), QStringList{"effd:60:"});

        clearFrames();
        item->temperatureSlider()->slider()->setValue(75); // device value 25
        QTRY_VERIFY_WITH_TIMEOUT(item->status(), 1000);
        QCOMPARE(sentText(), QStringList{"0031:60:66190000"});
        QCOMPARE(module(60)->colourTemperature(2), 25);
        QCOMPARE(storedBrightness(1), 30 * 256 + 25);

        clearFrames();
        item->brightnessSlider()->slider()->setValue(90);
        QTRY_VERIFY_WITH_TIMEOUT(item->status(), 1000);
        QCOMPARE(sentText(), QStringList{"0031:60:025a0000"});
        QCOMPARE(storedBrightness(1), 90 * 256 + 25);
        QCOMPARE(logRows().last(),
                 QStringLiteral("light_Lamp:status is level 90%,temperature is 5550(kelvin)"));
    }

    void shortRepliesKeepTheRetriesGoing_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<bool>("command");
        QTest::addColumn<int>("request");
        QTest::addColumn<int>("code");
        QTest::addColumn<QByteArray>("payload");
        QTest::newRow("level beyond the payload") << int(LightAdjust) << false << 0x0033 << 0x0034
                                                  << bytes({4, 10, 20});
        QTest::newRow("hsb shorter than its layout") << int(LightHSB) << false << 0x2036 << 0x2037
                                                     << bytes({0xF8, 3, 0, 0, 0, 80, 120});
        QTest::newRow("confirmation without its level") << int(LightAdjust) << true << 0x0031 << 0x0032
                                                        << bytes({3, 0xF8});
        QTest::newRow("scene reply without its scene") << int(LightScene) << true << 0x0002 << 0x0003
                                                       << bytes({3});
    }

    void shortRepliesKeepTheRetriesGoing()
    {
        QFETCH(int, type);
        QFETCH(bool, command);
        QFETCH(int, request);
        QFETCH(int, code);
        QFETCH(QByteArray, payload);
        DeviceItem::setIntervalScale(0.05);
        module(20)->setAnswer(quint16(request), SimAnswer::reply(quint16(code), payload));
        Row r;
        r.type = type;
        r.channel = 3;
        r.brightness = 9;
        auto item = card(r);
        QSignalSpy info(&gl_socket, &BroadcastSocket::signalsInformation);
        if (command)
            item->setStatus();
        else
            item->getStatus(0);
        // Done after the tenth frame; the marks and the message come at the next tick.
        QTRY_VERIFY_WITH_TIMEOUT(item->status(), 3000);
        QTRY_COMPARE(info.count(), 1);
        QVERIFY(item->isOfflineShown());
        QVERIFY(sent(quint16(request)).size() >= 9);
        QCOMPARE(storedBrightness(1), 9);
        QVERIFY(logRows().isEmpty());
    }
};

VARNO_TEST_MAIN(TestLightCycle)
#include "tst_lightcycle.moc"
