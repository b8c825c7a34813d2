// Every command builder, checked on the wire: gl_socket opens the "DNS Server"
// style towards the simulated bus on 127.0.0.2:6000, which parses each frame
// with its own decoder and CRC.

#include "testmain.h"

#include "bus/broadcastsocket.h"
#include "bus/commandbuilders.h"
#include "simbus.h"
#include "store/globals.h"

#include <QtTest>

#include <functional>
#include <vector>

namespace {

// A frame the builders never send, sent after each builder: once it arrives,
// everything the builder sent has arrived before it.
constexpr quint16 MarkerCode = 0x7FFF;

struct BuilderCase
{
    const char *name;
    std::function<void()> call;
    int code;            // -1: nothing may be sent
    int targetSubnet;
    int targetDevice;
    const char *payload; // hex
};

airConditioner sampleAc()
{
    airConditioner ac;
    ac.status = 1;
    ac.current_cool_temperature = 24;
    ac.mode = 1;
    ac.speed = 2;
    ac.current_heat_temperature = 28;
    ac.current_auto_temperature = 25;
    ac.current_dry_temperature = 23;
    ac.current_temperature = 99; // not part of the command
    return ac;
}

QByteArray schedule(int n, char first)
{
    QByteArray data(n, '\x05');
    if (n > 0)
        data[0] = first;
    return data;
}

const std::vector<BuilderCase> &cases()
{
    static const QString longDomain(60, QLatin1Char('d'));
    static QByteArray buf244 = schedule(244, 0x23);
    static QByteArray buf245 = schedule(245, 0x23);
    static QByteArray buf3 = QByteArray::fromHex("230102");
    static QByteArray buf2 = QByteArray::fromHex("2901");
    static const std::vector<BuilderCase> list = {
        // Lights, scenes, occupation, firmware
        {"firmware", [] { fn_getFirmwareVersion(1, 10); }, 0xEFFD, 1, 10, ""},
        {"light get channel", [] { fn_light_getChannelStatus(1, 10, 3); }, 0x0033, 1, 10, "03"},
        {"light set channel", [] { fn_light_setChannelStatus(1, 10, 2, 100); }, 0x0031, 1, 10,
         "02640000"},
        {"light set channel, values cut to bytes",
         [] { fn_light_setChannelStatus(257, 266, 258, 356); }, 0x0031, 1, 10, "02640000"},
        {"light get hsb", [] { fn_light_getHSBRgbStatus(2, 20, 1); }, 0x2036, 2, 20, "01"},
        {"light set hsb", [] { fn_light_setHSBRgbStatus(2, 20, 1, 10, 20, 30); }, 0x2034, 2, 20,
         "010a14001e"},
        {"light scene status", [] { fn_light_setSceneStatus(1, 10, 2, 5); }, 0x0002, 1, 10, "0205"},
        {"light scene up", [] { fn_light_setScene(1, 10, 3, true); }, 0xF03C, 1, 10, "0387"},
        {"light scene down", [] { fn_light_setScene(1, 10, 3, false); }, 0xF03C, 1, 10, "0307"},
        {"occupation", [] { fn_occupation_getStatus(4, 40); }, 0x012C, 4, 40, ""},
        {"light get schedule", [] { fn_light_getSchedule(1, 10, 7); }, 0x2024, 1, 10, "22ff07"},
        {"light set schedule",
         [] { fn_light_setSchedule(1, 10, reinterpret_cast<unsigned char *>(buf3.data()), 3); },
         0x2024, 1, 10, "230102"},
        {"light set schedule, 245 bytes",
         [] { fn_light_setSchedule(1, 10, reinterpret_cast<unsigned char *>(buf245.data()), 245); },
         -1, 0, 0, ""},
        {"light set schedule, negative size",
         [] { fn_light_setSchedule(1, 10, reinterpret_cast<unsigned char *>(buf3.data()), -1); },
         -1, 0, 0, ""},
        // Panel air conditioners
        {"ac temperature unit", [] { fn_ac_getTemperatureUnit(5, 50); }, 0xE120, 5, 50, ""},
        {"ac mode speed flags, channel", [] { fn_ac_panel_getModeSpeedFlag(5, 50, 1); }, 0xE124, 5,
         50, "01"},
        {"ac mode speed flags", [] { fn_ac_panel_getModeSpeedFlag(5, 50); }, 0xE124, 5, 50, ""},
        {"ac ranges, channel", [] { fn_ac_panel_getTemperatureRang(5, 50, 2); }, 0x1900, 5, 50,
         "02"},
        {"ac ranges", [] { fn_ac_panel_getTemperatureRang(5, 50); }, 0x1900, 5, 50, ""},
        {"ac get prms, channel", [] { fn_ac_panel_getPrms(5, 50, 1); }, 0xE0EC, 5, 50, "01"},
        {"ac get prms", [] { fn_ac_panel_getPrms(5, 50); }, 0xE0EC, 5, 50, ""},
        {"ac set prms",
         [] {
             airConditioner ac = sampleAc();
             fn_ac_panel_setPrms(5, 50, ac);
         },
         0xE0EE, 5, 50, "011812011c191700"},
        {"ac set prms, channel",
         [] {
             airConditioner ac = sampleAc();
             fn_ac_panel_setPrms(5, 50, 2, ac);
         },
         0xE0EE, 5, 50, "02011812011c191700"},
        // Infrared air conditioners
        {"ir room temperature", [] { fn_ac_ir_getRoomTemperature(6, 60); }, 0xE3E7, 6, 60, "00"},
        {"ir on", [] { fn_ac_ir_setStatus(6, 60, 0, 1); }, 0xE01C, 6, 60, "0bff"},
        {"ir off", [] { fn_ac_ir_setStatus(6, 60, 0, 0); }, 0xE01C, 6, 60, "0aff"},
        {"ir on, port B", [] { fn_ac_ir_setStatus(6, 60, 1, 5); }, 0xE01C, 6, 60, "6fff"},
        {"ir off, port B", [] { fn_ac_ir_setStatus(6, 60, 1, -1); }, 0xE01C, 6, 60, "6eff"},
        {"ir on, unit 2", [] { fn_ac_ir_setStatus(6, 60, 2, 1); }, 0xE01C, 6, 60, "00ff"},
        {"ir mode cool, port B", [] { fn_ac_ir_setMode(6, 60, 1, 0); }, 0xE01C, 6, 60, "70ff"},
        {"ir mode heat", [] { fn_ac_ir_setMode(6, 60, 0, 1); }, 0xE01C, 6, 60, "20ff"},
        {"ir mode fan", [] { fn_ac_ir_setMode(6, 60, 0, 2); }, 0xE01C, 6, 60, "1fff"},
        {"ir mode auto", [] { fn_ac_ir_setMode(6, 60, 0, 3); }, 0xE01C, 6, 60, "34ff"},
        {"ir mode 4", [] { fn_ac_ir_setMode(6, 60, 0, 4); }, 0xE01C, 6, 60, "33ff"},
        {"ir mode 5", [] { fn_ac_ir_setMode(6, 60, 0, 5); }, 0xE01C, 6, 60, "00ff"},
        {"ir speed cool 0", [] { fn_ac_ir_setSpeed(6, 60, 0, 0, 0); }, 0xE01C, 6, 60, "10ff"},
        {"ir speed cool 3", [] { fn_ac_ir_setSpeed(6, 60, 0, 0, 3); }, 0xE01C, 6, 60, "0dff"},
        {"ir speed heat 3", [] { fn_ac_ir_setSpeed(6, 60, 0, 1, 3); }, 0xE01C, 6, 60, "21ff"},
        {"ir speed auto 2, port B", [] { fn_ac_ir_setSpeed(6, 60, 1, 3, 2); }, 0xE01C, 6, 60,
         "9aff"},
        {"ir speed in fan mode", [] { fn_ac_ir_setSpeed(6, 60, 0, 2, 1); }, 0xE01C, 6, 60, "00ff"},
        {"ir speed 4", [] { fn_ac_ir_setSpeed(6, 60, 0, 0, 4); }, 0xE01C, 6, 60, "00ff"},
        {"ir temperature auto, port B", [] { fn_ac_ir_setTemperature(6, 60, 1, 3, 26); }, 0xE01C, 6,
         60, "a6ff"},
        {"ir temperature cool", [] { fn_ac_ir_setTemperature(6, 60, 0, 0, 26); }, 0xE01C, 6, 60,
         "1aff"},
        {"ir temperature heat", [] { fn_ac_ir_setTemperature(6, 60, 0, 1, 26); }, 0xE01C, 6, 60,
         "2eff"},
        {"ir temperature in fan mode", [] { fn_ac_ir_setTemperature(6, 60, 0, 2, 26); }, 0xE01C, 6,
         60, "00ff"},
        {"ir temperature wraps", [] { fn_ac_ir_setTemperature(6, 60, 1, 3, 200); }, 0xE01C, 6, 60,
         "54ff"},
        // Floor heating
        {"fh range, channel", [] { fn_fh_getTemperatureRange(7, 70, 1); }, 0xA13E, 7, 70, "01"},
        {"fh range, short form", [] { fn_fh_getTemperatureRange(7, 70, 0); }, 0xA13E, 7, 70, ""},
        {"fh status, channel", [] { fn_fh_getStatus(7, 70, 1); }, 0x1944, 7, 70, "01"},
        {"fh status, short form", [] { fn_fh_getStatus(7, 70, 0); }, 0x1944, 7, 70, ""},
        {"fh on, channel", [] { fn_fh_setStatus(7, 70, 2, 1); }, 0xE3D8, 7, 70, "231401"},
        {"fh on, short form", [] { fn_fh_setStatus(7, 70, 0, 1); }, 0xE3D8, 7, 70, "1401000001"},
        {"fh set point, channel", [] { fn_fh_setTemperature(7, 70, 1, 22); }, 0xE3D8, 7, 70,
         "231816"},
        {"fh set point, short form", [] { fn_fh_setTemperature(7, 70, -1, 22); }, 0xE3D8, 7, 70,
         "1816000001"},
        // Schedules and energy
        {"ac get schedule", [] { fn_ac_getSchedule(1, 10, 3, 4); }, 0x2024, 1, 10, "280304"},
        {"fh get schedule", [] { fn_fh_getSchedule(1, 10, 3, 4); }, 0x2024, 1, 10, "2a0304"},
        {"ac set schedule",
         [] { fn_ac_setSchedule(1, 10, reinterpret_cast<unsigned char *>(buf2.data()), 2); },
         0x2024, 1, 10, "2901"},
        {"fh set schedule",
         [] { fn_fh_setSchedule(1, 10, reinterpret_cast<unsigned char *>(buf2.data()), 2); },
         0x2024, 1, 10, "2901"},
        {"fh set schedule, 244 bytes",
         [] { fn_fh_setSchedule(1, 10, reinterpret_cast<unsigned char *>(buf244.data()), 244); },
         0x2024, 1, 10, "*244"},
        {"ac set schedule, 245 bytes",
         [] { fn_ac_setSchedule(1, 10, reinterpret_cast<unsigned char *>(buf245.data()), 245); },
         -1, 0, 0, ""},
        {"energy power", [] { fn_energy_consumption_getPower(1, 10); }, 0x2024, 1, 10, "34"},
        {"energy consumption", [] { fn_energy_consumption_getConsumption(1, 10, 3, true); }, 0x2024,
         1, 10, "320200"},
        {"energy consumption, other", [] { fn_energy_consumption_getConsumption(1, 10, 3, false); },
         0x2024, 1, 10, "300200"},
        // IP module and project transfer
        {"server info", [] { fn_network_getServerInfo(8, 80); }, 0x2024, 8, 80, "08"},
        {"set server info",
         [] { fn_network_setServerInfo(8, 80, "192.168.1.20", "ab12", 6010, 1); }, 0x2024, 8, 80,
         "09c0a80114177a6162313201"},
        {"set server info, short password and odd address",
         [] { fn_network_setServerInfo(8, 80, "10.x.3", "ab", 80, 0); }, 0x2024, 8, 80,
         "090a00030000506162000000"},
        {"set server info, long password",
         [] { fn_network_setServerInfo(8, 80, "1.2.3.4", QString::fromUtf8("pässword"), 1, 2); },
         0x2024, 8, 80, "0901020304000170c3a47302"},
        {"server domain", [] { fn_network_getServerDomain(8, 80); }, 0x2024, 8, 80, "bc01"},
        {"set server domain, empty", [] { fn_network_setServerDomain(8, 80, QString()); }, 0x2024,
         8, 80, "*domain:"},
        {"set server domain, 60 bytes", [] { fn_network_setServerDomain(8, 80, longDomain); },
         0x2024, 8, 80, "*domain-long"},
        {"set server domain, short",
         [] { fn_network_setServerDomain(8, 80, QStringLiteral("home.example")); }, 0x2024, 8, 80,
         "*domain:home.example"},
        {"download announcement",
         [] { fn_download_db_broadcastAddress(1234, "192.168.1.20", 8080); }, 0x2025, 255, 255,
         "3804d2c0a801141f90"},
        {"upload broadcast", [] { fn_upload_db_broadcast(); }, 0x2024, 255, 255, "38"},
    };
    return list;
}

QByteArray expectedPayload(const QByteArray &pattern)
{
    if (pattern == "*244") {
        QByteArray data(244, '\x05');
        data[0] = 0x23;
        return data;
    }
    if (pattern.startsWith("*domain")) {
        // The domain's text, NUL-padded to 48 bytes; a longer one is cut.
        const QByteArray text = pattern == "*domain-long" ? QByteArray(48, 'd') : pattern.mid(8);
        QByteArray data = QByteArray::fromHex("bd01") + text;
        data.append(QByteArray(50 - data.size(), '\0'));
        return data;
    }
    QByteArray hex = pattern;
    hex.replace(' ', "");
    return QByteArray::fromHex(hex);
}

} // namespace

class TestBusCommands : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void firmwareQueryBytes();
    void builders_data();
    void builders();
    void irSwitchNumbers_data();
    void irSwitchNumbers();

private:
    QList<SimFrame> sentBy(const std::function<void()> &call);
    SimBus m_sim;
};

void TestBusCommands::initTestCase()
{
    QVERIFY2(m_sim.listenUdp(QHostAddress(QStringLiteral("127.0.0.2")), 6000),
             qPrintable(m_sim.errorString()));
    gl_net_style = NetStyleDnsServer;
    gl_domain_name = QStringLiteral("127.0.0.2");
    gl_ip_port_mac = QStringLiteral("00-11-22-33-44-55-66-77");
    gl_host_ip = QStringLiteral("192.168.1.5");
    gl_socket.setId(1, 254);
    gl_socket.setKeepAliveInterval(3600 * 1000);
    QVERIFY(gl_socket.createSocket());
}

void TestBusCommands::cleanupTestCase()
{
    gl_socket.closeSocket();
}

QList<SimFrame> TestBusCommands::sentBy(const std::function<void()> &call)
{
    m_sim.clear();
    call();
    gl_socket.sendCommand(11, MarkerCode, 255, 255, nullptr, 0);
    QElapsedTimer timer;
    timer.start();
    while (m_sim.framesWithCode(MarkerCode).isEmpty() && timer.elapsed() < 3000)
        SimBus::pump(2);
    QList<SimFrame> frames = m_sim.frames();
    if (!frames.isEmpty() && frames.last().code == MarkerCode)
        frames.removeLast();
    else
        frames.append(SimFrame()); // the marker never came: fail the comparison
    return frames;
}

void TestBusCommands::firmwareQueryBytes()
{
    const QList<SimFrame> frames = sentBy([] { fn_getFirmwareVersion(3, 33); });
    QCOMPARE(frames.size(), 1);
    const QByteArray expected = QByteArray::fromHex("c0a80105") + "VOVERUDIZI"
        + QByteArray::fromHex("aaaa0b01feccc2effd0321");
    const quint16 crc = SimFrame::crc16(expected.mid(16));
    QCOMPARE(frames.first().raw.toHex(),
             (expected + char(crc >> 8) + char(crc & 0xFF)).toHex());
    QCOMPARE(frames.first().raw.size(), 27);
}

void TestBusCommands::builders_data()
{
    QTest::addColumn<int>("index");
    for (size_t i = 0; i < cases().size(); ++i)
        QTest::newRow(cases()[i].name) << int(i);
}

void TestBusCommands::builders()
{
    QFETCH(int, index);
    const BuilderCase &c = cases()[size_t(index)];
    const QList<SimFrame> frames = sentBy(c.call);
    if (c.code < 0) {
        QCOMPARE(frames.size(), 0);
        return;
    }
    QCOMPARE(frames.size(), 1);
    const SimFrame &frame = frames.first();
    const QByteArray payload = expectedPayload(c.payload);
    QVERIFY(frame.valid);
    QCOMPARE(int(frame.length), 11 + payload.size());
    QCOMPARE(frame.raw.size(), 27 + payload.size());
    QCOMPARE(frame.sourceSubnet, quint8(1));
    QCOMPARE(frame.sourceDevice, quint8(254));
    QCOMPARE(frame.deviceType, quint16(0xCCC2));
    QCOMPARE(int(frame.code), c.code);
    QCOMPARE(int(frame.targetSubnet), c.targetSubnet);
    QCOMPARE(int(frame.targetDevice), c.targetDevice);
    QCOMPARE(frame.payload.toHex(), payload.toHex());
}

void TestBusCommands::irSwitchNumbers_data()
{
    QTest::addColumn<int>("unit");
    QTest::addColumn<int>("mode");
    QTest::addColumn<QList<int>>("speeds");
    QTest::addColumn<int>("temperatureOffset");
    // Unit 0; unit 1 adds 100 to each number.
    QTest::newRow("cool") << 0 << 0 << QList<int>{16, 15, 14, 13} << 0;
    QTest::newRow("heat") << 0 << 1 << QList<int>{36, 35, 34, 33} << 20;
    QTest::newRow("auto") << 0 << 3 << QList<int>{56, 55, 54, 53} << 40;
    QTest::newRow("cool, port B") << 1 << 0 << QList<int>{116, 115, 114, 113} << 100;
    QTest::newRow("heat, port B") << 1 << 1 << QList<int>{136, 135, 134, 133} << 120;
    QTest::newRow("auto, port B") << 1 << 3 << QList<int>{156, 155, 154, 153} << 140;
    QTest::newRow("fan") << 0 << 2 << QList<int>{0, 0, 0, 0} << -1;
    QTest::newRow("mode 4") << 0 << 4 << QList<int>{0, 0, 0, 0} << -1;
    QTest::newRow("unit 2") << 2 << 0 << QList<int>{0, 0, 0, 0} << -1;
    QTest::newRow("unit -1") << -1 << 1 << QList<int>{0, 0, 0, 0} << -1;
}

void TestBusCommands::irSwitchNumbers()
{
    QFETCH(int, unit);
    QFETCH(int, mode);
    QFETCH(QList<int>, speeds);
    QFETCH(int, temperatureOffset);
    for (int speed = 0; speed < 4; ++speed)
        QCOMPARE(acIrSpeedSwitch(unit, mode, speed), speeds.at(speed));
    for (int t : {16, 26, 30}) {
        const int expected = temperatureOffset < 0 ? 0 : (t + temperatureOffset) % 256;
        QCOMPARE(acIrTemperatureSwitch(unit, mode, t), expected);
    }
}

VARNO_TEST_MAIN(TestBusCommands)
#include "tst_buscommands.moc"
