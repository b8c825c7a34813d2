// The light card without a bus: what it makes of the replies it is handed, what
// it writes and logs, what it shows, and that it can be deleted at any moment.

#include "testmain.h"

#include "lightfixture.h"
#include "operation/colorlabel.h"
#include "operation/colorpickerctrl.h"
#include "operation/colorselectdlg.h"
#include "operation/lightitem.h"
#include "operation/lightsliderctrl.h"
#include "shell/sliderctrl.h"

#include <QLabel>
#include <QPointer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>
#include <qtmateriallabel.h>
#include <qtmaterialslider.h>

using namespace lightfix;

namespace {

// The reply of the module at 1/20 with a given code and payload.
QByteArray reply(quint16 code, const QByteArray &payload, quint8 device = 20)
{
    return moduleFrame(1, device, code, payload);
}

} // namespace

class TestLightItem : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    int m_db = 0;

    // A visible card for the light row r.
    std::unique_ptr<LightItem> card(const Row &r)
    {
        insertLight(r);
        auto item = std::make_unique<LightItem>(loadLight(r.lightId), false);
        item->show();
        return item;
    }

    // Set k of the "RGB" light 1, on module 1/30 at channel k + 1.
    static Row rgbSet(int k, int brightness = 0)
    {
        Row r;
        r.type = LightRGB;
        r.device = 30;
        r.channel = k + 1;
        r.rgb = k + 1;
        r.brightness = brightness;
        return r;
    }

private slots:
    void initTestCase()
    {
        Q_INIT_RESOURCE(pictures);
        gl_socket.setId(1, 254);
        screen_cx = 800;
        screen_cy = 600;
    }

    void init()
    {
        openProject(m_dir.filePath(QStringLiteral("p%1.db3").arg(++m_db)));
        DeviceItem::setIntervalScale(1.0);
    }

    void cleanupTestCase() { gl_sqlite3db.close(); }

    // ---------------------------------------------------------------- replies

    void repliesAreDecodedByType_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("channel");
        QTest::addColumn<int>("usId");
        QTest::addColumn<int>("stored");   // brightness column before
        QTest::addColumn<int>("code");
        QTest::addColumn<QByteArray>("payload");
        QTest::addColumn<bool>("taken");
        QTest::addColumn<QList<int>>("levels"); // brightness[0..2] after
        QTest::addColumn<int>("column");         // brightness column after
        QTest::addColumn<QString>("event");

        const QString none;
        QTest::newRow("on/off level") << int(LightOnOff) << 2 << 0 << 0 << 0x0034
                                      << bytes({4, 0, 100, 0, 0}) << true << QList<int>{100, 0, 0} << 100
                                      << "status is on";
        QTest::newRow("adjust level of channel 3") << int(LightAdjust) << 3 << 0 << 0 << 0x0034
                                                   << bytes({4, 10, 20, 30, 40}) << true
                                                   << QList<int>{30, 0, 0} << 30 << "status is 30%";
        QTest::newRow("adjust level 0 logs off") << int(LightAdjust) << 1 << 0 << 9 << 0x0034
                                                 << bytes({1, 0}) << true << QList<int>{0, 0, 0} << 0
                                                 << "status is off";
        QTest::newRow("channel above the count") << int(LightAdjust) << 5 << 0 << 9 << 0x0034
                                                 << bytes({4, 10, 20, 30, 40, 50}) << false
                                                 << QList<int>{9, 0, 0} << 9 << none;
        QTest::newRow("channel beyond the payload") << int(LightAdjust) << 3 << 0 << 9 << 0x0034
                                                    << bytes({4, 10, 20}) << false << QList<int>{9, 0, 0}
                                                    << 9 << none;
        QTest::newRow("empty level reply") << int(LightAdjust) << 1 << 0 << 9 << 0x0034 << QByteArray()
                                           << false << QList<int>{9, 0, 0} << 9 << none;
        QTest::newRow("confirmation") << int(LightAdjust) << 2 << 0 << 9 << 0x0032 << bytes({2, 0xF8, 55})
                                      << true << QList<int>{55, 0, 0} << 55 << "status is 55%";
        QTest::newRow("confirmation without success") << int(LightAdjust) << 2 << 0 << 9 << 0x0032
                                                      << bytes({2, 0xF5, 55}) << false
                                                      << QList<int>{9, 0, 0} << 9 << none;
        QTest::newRow("confirmation of another channel") << int(LightAdjust) << 2 << 0 << 9 << 0x0032
                                                         << bytes({3, 0xF8, 55}) << false
                                                         << QList<int>{9, 0, 0} << 9 << none;
        QTest::newRow("short confirmation") << int(LightOnOff) << 2 << 0 << 0 << 0x0032 << bytes({2, 0xF8})
                                            << false << QList<int>{0, 0, 0} << 0 << none;
        QTest::newRow("hsb state packs three bytes")
            << int(LightHSB) << 1 << 0 << 0 << 0x2037 << bytes({0xF8, 1, 0, 0, 0, 80, 120, 200}) << true
            << QList<int>{80, 120, 200} << (80 * 65536 + 120 * 256 + 200)
            << "status is red=16,green=187,blue=186";
        QTest::newRow("hsb confirmation alike")
            << int(LightHSB) << 1 << 0 << 0 << 0x2035 << bytes({0xF8, 1, 0, 0, 0, 100, 0, 240}) << true
            << QList<int>{100, 0, 240} << (100 * 65536 + 240) << "status is red=255,green=0,blue=0";
        QTest::newRow("hsb without success") << int(LightHSB) << 1 << 0 << 0 << 0x2037
                                             << bytes({0xF5, 1, 0, 0, 0, 80, 120, 200}) << false
                                             << QList<int>{0, 0, 0} << 0 << none;
        QTest::newRow("hsb of another channel") << int(LightHSB) << 1 << 0 << 0 << 0x2037
                                                << bytes({0xF8, 2, 0, 0, 0, 80, 120, 200}) << false
                                                << QList<int>{0, 0, 0} << 0 << none;
        QTest::newRow("hsb shorter than its layout") << int(LightHSB) << 1 << 0 << 0 << 0x2037
                                                     << bytes({0xF8, 1, 0, 0, 0, 80, 120}) << false
                                                     << QList<int>{0, 0, 0} << 0 << none;
        QTest::newRow("scene on") << int(LightScene) << 3 << 5 << 100 << 0x0003 << bytes({3, 5}) << true
                                  << QList<int>{100, 0, 0} << 100 << "status is on";
        QTest::newRow("scene 0") << int(LightScene) << 3 << 5 << 0 << 0x0003 << bytes({3, 0}) << true
                                 << QList<int>{0, 0, 0} << 0 << "status is off";
        QTest::newRow("another scene") << int(LightScene) << 3 << 5 << 100 << 0x0003 << bytes({3, 6})
                                       << false << QList<int>{100, 0, 0} << 100 << none;
        QTest::newRow("another area") << int(LightScene) << 3 << 5 << 100 << 0x0003 << bytes({4, 5})
                                      << false << QList<int>{100, 0, 0} << 100 << none;
        QTest::newRow("short scene reply") << int(LightScene) << 3 << 5 << 100 << 0x0003 << bytes({3})
                                           << false << QList<int>{100, 0, 0} << 100 << none;
        QTest::newRow("dali level") << int(LightDaliDT8) << 2 << 0 << (10 * 256 + 50) << 0x0032
                                    << bytes({2, 0xF8, 40}) << true << QList<int>{40, 50, 0}
                                    << (40 * 256 + 50) << "status is level 40%,temperature is 4600(kelvin)";
        QTest::newRow("dali colour temperature") << int(LightDaliDT8) << 2 << 0 << (10 * 256 + 50) << 0x0032
                                                 << bytes({102, 0xF8, 100}) << true << QList<int>{10, 100, 0}
                                                 << (10 * 256 + 100)
                                                 << "status is level 10%,temperature is 2700(kelvin)";
        QTest::newRow("dali other channel") << int(LightDaliDT8) << 2 << 0 << (10 * 256 + 50) << 0x0032
                                            << bytes({3, 0xF8, 40}) << false << QList<int>{10, 50, 0}
                                            << (10 * 256 + 50) << none;
        QTest::newRow("dali failure") << int(LightDaliDT8) << 2 << 0 << (10 * 256 + 50) << 0x0032
                                      << bytes({2, 0xF5, 40}) << false << QList<int>{10, 50, 0}
                                      << (10 * 256 + 50) << none;
        QTest::newRow("levels mean nothing to a scene") << int(LightScene) << 1 << 5 << 0 << 0x0034
                                                        << bytes({1, 100}) << false << QList<int>{0, 0, 0}
                                                        << 0 << none;
        QTest::newRow("levels mean nothing to hsb") << int(LightHSB) << 1 << 0 << 0 << 0x0034
                                                    << bytes({1, 100}) << false << QList<int>{0, 0, 0} << 0
                                                    << none;
    }

    void repliesAreDecodedByType()
    {
        QFETCH(int, type);
        QFETCH(int, channel);
        QFETCH(int, usId);
        QFETCH(int, stored);
        QFETCH(int, code);
        QFETCH(QByteArray, payload);
        QFETCH(bool, taken);
        QFETCH(QList<int>, levels);
        QFETCH(int, column);
        QFETCH(QString, event);

        Row r;
        r.type = type;
        r.channel = channel;
        r.usId = usId;
        r.brightness = stored;
        auto item = card(r);
        QVERIFY(!item->status());

        deliver(reply(quint16(code), payload));
        for (int k = 0; k < 3; ++k)
            QCOMPARE(item->getLight().brightness[k], levels[k]);
        QCOMPARE(storedBrightness(1), column);
        QCOMPARE(item->status(), taken);
        if (event.isEmpty())
            QCOMPARE(logRows(), QStringList());
        else
            QCOMPARE(logRows(), QStringList{QStringLiteral("light_Lamp:") + event});
    }

    void otherSourcesAndHiddenCardsAreIgnored()
    {
        Row r;
        r.brightness = 9;
        auto shown = card(r);
        deliver(reply(0x0034, bytes({1, 77}), 21)); // another device
        deliver(moduleFrame(2, 20, 0x0034, bytes({1, 77}))); // another subnet
        QCOMPARE(shown->getLight().brightness[0], 9);

        shown->hide();
        deliver(reply(0x0034, bytes({1, 77})));
        QCOMPARE(shown->getLight().brightness[0], 9);
        QCOMPARE(storedBrightness(1), 9);
        QVERIFY(logRows().isEmpty());

        // A card of the 3-D view takes replies while hidden.
        LightItem inView(loadLight(1), true);
        deliver(reply(0x0034, bytes({1, 77})));
        QCOMPARE(inView.getLight().brightness[0], 77);
        QCOMPARE(storedBrightness(1), 77);
    }

    void damagedFramesAreIgnored_data()
    {
        QTest::addColumn<QByteArray>("frame");
        const QByteArray good = reply(0x0034, bytes({1, 77}));
        QByteArray badCrc = good;
        badCrc[badCrc.size() - 1] = char(badCrc.at(badCrc.size() - 1) ^ 0x55);
        QByteArray longLength = good;
        longLength[16] = char(good.at(16) + 4); // announces more than arrived
        QByteArray elsewhere = SimFrame::build(QByteArray(4, '\0'), 1, 20, ModuleType, 0x0034, 1, 99,
                                               bytes({1, 77}));
        QTest::newRow("bad crc") << badCrc;
        QTest::newRow("length beyond the datagram") << longLength;
        QTest::newRow("cut short") << good.left(26);
        QTest::newRow("for another installation") << elsewhere;
    }

    void damagedFramesAreIgnored()
    {
        QFETCH(QByteArray, frame);
        Row r;
        r.brightness = 9;
        auto item = card(r);
        deliver(frame);
        QCOMPARE(item->getLight().brightness[0], 9);
        QCOMPARE(storedBrightness(1), 9);
        QVERIFY(!item->status());
    }

    void firmwareTextIsStored_data()
    {
        QTest::addColumn<QByteArray>("payload");
        QTest::addColumn<QString>("version");
        QTest::newRow("plain") << QByteArray("HDL V2.05") << "HDL V2.05";
        QTest::newRow("with a quote") << QByteArray("Bob's V1.0") << "Bob's V1.0";
        QTest::newRow("percent markers") << QByteArray("V%3 %4%1") << "V%3 %4%1";
        QTest::newRow("stops at the first unprintable byte") << QByteArray("V3.1\0garbage", 12) << "V3.1";
        QTest::newRow("never set") << QByteArray(8, '\xFF') << "";
        QTest::newRow("empty") << QByteArray() << "";
        QTest::newRow("cut to 63") << QByteArray(100, 'x') << QString(63, QLatin1Char('x'));
    }

    void firmwareTextIsStored()
    {
        QFETCH(QByteArray, payload);
        QFETCH(QString, version);
        Row r;
        auto item = card(r);
        deliver(moduleFrame(1, 20, 0xEFFE, payload, 0x0123));
        QCOMPARE(column(1, QStringLiteral("version")).toString(), version);
        QCOMPARE(column(1, QStringLiteral("original_type")).toInt(), 0x0123);
        QCOMPARE(QString::fromLatin1(item->getLight().version[0]), version);
        QCOMPARE(item->getLight().original_type[0], 0x0123);
        // The firmware reply only moves the refresh on to the level query.
        QVERIFY(!item->status());
    }

    void daliEndsItsRefreshWithTheFirmwareReply()
    {
        Row r;
        r.type = LightDaliDT8;
        r.brightness = 60 * 256 + 25;
        auto item = card(r);
        deliver(moduleFrame(1, 20, 0xEFFE, QByteArray("DT8 1.2"), 0x0300));
        QVERIFY(item->status());
        QCOMPARE(column(1, QStringLiteral("version")).toString(), QStringLiteral("DT8 1.2"));
        QCOMPARE(item->getLight().brightness[0], 60);
        QCOMPARE(item->getLight().brightness[1], 25);
        QVERIFY(logRows().isEmpty());
    }

    void sceneIgnoresFirmware()
    {
        Row r;
        r.type = LightScene;
        auto item = card(r);
        deliver(moduleFrame(1, 20, 0xEFFE, QByteArray("S 1.0"), 0x0300));
        QCOMPARE(column(1, QStringLiteral("version")).toString(), QString());
    }

    void rgbSetsAnswerOneByOne_data()
    {
        QTest::addColumn<bool>("white");
        QTest::newRow("red, green, blue") << false;
        QTest::newRow("with white") << true;
    }

    void rgbSetsAnswerOneByOne()
    {
        QFETCH(bool, white);
        // Each colour on a module of its own: 1/31, 1/32, 1/33 (and 1/34), channel 1.
        for (int k = 0; k < (white ? 4 : 3); ++k) {
            Row r;
            r.type = LightRGB;
            r.name = QStringLiteral("Strip");
            r.device = 31 + k;
            r.rgb = k + 1;
            insertLight(r);
        }
        LightItem item(loadLight(1), false);
        item.show();
        QCOMPARE(item.getLight().hasWhiteSet(), white);

        deliver(moduleFrame(1, 31, 0xEFFE, QByteArray("R")));
        deliver(moduleFrame(1, 32, 0xEFFE, QByteArray("G")));
        QCOMPARE(column(1, QStringLiteral("version"), 1).toString(), QStringLiteral("R"));
        QCOMPARE(column(1, QStringLiteral("version"), 2).toString(), QStringLiteral("G"));
        QCOMPARE(column(1, QStringLiteral("version"), 3).toString(), QString());

        deliver(moduleFrame(1, 31, 0x0034, bytes({1, 100})));
        deliver(moduleFrame(1, 32, 0x0034, bytes({1, 50})));
        QVERIFY(!item.status());
        deliver(moduleFrame(1, 33, 0x0034, bytes({1, 20})));
        QCOMPARE(item.status(), !white);
        if (white) {
            deliver(moduleFrame(1, 34, 0x0034, bytes({1, 70})));
            QVERIFY(item.status());
            QCOMPARE(storedBrightness(1, 4), 70);
        }
        QCOMPARE(storedBrightness(1, 1), 100);
        QCOMPARE(storedBrightness(1, 2), 50);
        QCOMPARE(storedBrightness(1, 3), 20);
        // Logged once, when every set has answered.
        QCOMPARE(logRows(), QStringList{"light_Strip:status is red=255,green=127,blue=51"});
        QCOMPARE(item.colourSwatch()->backgroundColor(), QColor(255, 127, 51));
    }

    void rgbOnOneModuleIsMarkedByOneReply()
    {
        for (int k = 0; k < 4; ++k) {
            Row r = rgbSet(k);
            r.name = QStringLiteral("Strip");
            insertLight(r);
        }
        LightItem item(loadLight(1), false);
        item.show();
        deliver(moduleFrame(1, 30, 0xEFFE, QByteArray("RGBW 2"), 0x0260));
        for (int rgb = 1; rgb <= 4; ++rgb) {
            QCOMPARE(column(1, QStringLiteral("version"), rgb).toString(), QStringLiteral("RGBW 2"));
            QCOMPARE(column(1, QStringLiteral("original_type"), rgb).toInt(), 0x0260);
        }
        deliver(moduleFrame(1, 30, 0x0034, bytes({4, 10, 20, 30, 40})));
        QVERIFY(item.status());
        for (int k = 0; k < 4; ++k)
            QCOMPARE(item.getLight().brightness[k], 10 * (k + 1));
        QCOMPARE(storedBrightness(1, 4), 40);
    }

    void levelsAbove100AreShownClampedAndKept()
    {
        for (int k = 0; k < 3; ++k)
            insertLight(rgbSet(k));
        LightItem item(loadLight(1), false);
        item.show();
        deliver(moduleFrame(1, 30, 0x0034, bytes({3, 200, 100, 0})));
        QCOMPARE(item.colourSwatch()->backgroundColor(), QColor(255, 255, 0));
        QCOMPARE(item.getLight().brightness[0], 200);
        QCOMPARE(storedBrightness(1, 1), 200);
        QCOMPARE(logRows(), QStringList{"light_Lamp:status is red=510,green=255,blue=0"});
    }

    // ---------------------------------------------------------------- record

    void brightnessPackingRoundTrips_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<QList<int>>("levels");
        QTest::addColumn<int>("packed");
        QTest::newRow("adjust") << int(LightAdjust) << QList<int>{73, 0, 0} << 73;
        QTest::newRow("scene") << int(LightScene) << QList<int>{100, 0, 0} << 100;
        QTest::newRow("hsb") << int(LightHSB) << QList<int>{100, 240, 17} << (100 * 65536 + 240 * 256 + 17);
        QTest::newRow("dali") << int(LightDaliDT8) << QList<int>{64, 100, 0} << (64 * 256 + 100);
    }

    void brightnessPackingRoundTrips()
    {
        QFETCH(int, type);
        QFETCH(QList<int>, levels);
        QFETCH(int, packed);
        light rec;
        rec.light_type = type;
        for (int k = 0; k < 3; ++k)
            rec.brightness[k] = levels[k];
        QCOMPARE(rec.packedBrightness(), packed);
        light back;
        back.light_type = type;
        back.unpackBrightness(packed);
        for (int k = 0; k < 3; ++k)
            QCOMPARE(back.brightness[k], levels[k]);

        Row r;
        r.type = type;
        r.brightness = packed;
        insertLight(r);
        const light loaded = loadLight(1);
        for (int k = 0; k < 3; ++k)
            QCOMPARE(loaded.brightness[k], levels[k]);
        QCOMPARE(loaded.saved_level[0], 0);
    }

    void loaderSkipsUnaddressedLightsAndFillsSets()
    {
        Row plain;
        plain.lightId = 2;
        insertLight(plain);
        Row unaddressed;
        unaddressed.lightId = 3;
        unaddressed.subnet = 0;
        insertLight(unaddressed);
        for (int k = 0; k < 3; ++k) {
            Row set;
            set.lightId = 1;
            set.type = LightRGB;
            set.device = 40 + k;
            set.channel = 5;
            set.brightness = 11 * (k + 1);
            set.rgb = k + 1;
            insertLight(set);
        }
        const QVector<light> lights = loadRoomLights(Room);
        QCOMPARE(lights.size(), 2);
        QCOMPARE(lights[0].light_id, 1);
        QCOMPARE(lights[1].light_id, 2);
        QCOMPARE(lights[0].device_id[2], 42);
        QCOMPARE(lights[0].brightness[2], 33);
        QCOMPARE(lights[0].rgb[2], 3);
        QCOMPARE(lights[0].device_id[3], 0);
        QVERIFY(!lights[0].hasWhiteSet());
    }

    void longNamesAreCutAtACharacterBoundary()
    {
        light rec;
        // 126 ASCII bytes, then a two-byte character that does not fit in 127.
        const QString name = QString(126, QLatin1Char('a')) + QString::fromUtf8("é") + QStringLiteral("b");
        light::setText(rec.light_remark, name);
        QCOMPARE(QByteArray(rec.light_remark).size(), 126);
        QCOMPARE(rec.remark(), QString(126, QLatin1Char('a')));
        light::setText(rec.icon_name_of_light_on, QString(100, QChar(0x20AC))); // three bytes each
        QCOMPARE(QByteArray(rec.icon_name_of_light_on).size(), 63);
        QCOMPARE(QString::fromUtf8(rec.icon_name_of_light_on), QString(21, QChar(0x20AC)));
    }

    // Several cards of one light live at once (a room's tab, the "Lighting" page,
    // the 3-D view). Each reply is stored and logged, whatever another card, or
    // a wall panel through the row, did meanwhile; the log alone drops repeats.
    void everyReplyIsStoredAndLoggedAcrossCards()
    {
        Row r;
        r.type = LightOnOff;
        insertLight(r);
        LightItem first(loadLight(1), false);
        LightItem second(loadLight(1), false);
        struct Step
        {
            LightItem *card;
            int level;
            const char *event;
            const char *rowBefore; // a change of the row by someone else, or nothing
        };
        const Step steps[] = {{&first, 0, "status is off", nullptr},
                              {&second, 100, "status is on", nullptr},
                              {&first, 0, "status is off", nullptr},
                              {&first, 0, "status is off", "update tbl_light set brightness=100"}};
        for (const Step &s : steps) {
            if (s.rowBefore)
                gl_sqlite3db.execDML(QLatin1String(s.rowBefore));
            first.setVisible(s.card == &first);
            second.setVisible(s.card == &second);
            deliver(reply(0x0034, bytes({1, s.level})));
            QCOMPARE(s.card->getLight().brightness[0], s.level);
            QCOMPARE(storedBrightness(1), s.level);
            QCOMPARE(logRows().last(), QStringLiteral("light_Lamp:") + QLatin1String(s.event));
        }
        QCOMPARE(logRows(), (QStringList{"light_Lamp:status is off", "light_Lamp:status is on",
                                         "light_Lamp:status is off"}));
        // The light's row made anew (as an edit of the light does): still written.
        gl_sqlite3db.execDML(QStringLiteral("delete from tbl_light"));
        insertLight(r);
        deliver(reply(0x0034, bytes({1, 100})));
        QCOMPARE(storedBrightness(1), 100);
    }

    // ---------------------------------------------------------------- display

    void cardShowsItsRecord()
    {
        Row r;
        r.type = LightDaliDT8;
        r.name = QStringLiteral("A rather long name for a light above the reception desk");
        r.brightness = 45 * 256 + 100;
        auto item = card(r);
        QTRY_COMPARE(item->brightnessSlider()->value(), 45);
        QCOMPARE(item->temperatureSlider()->value(), 100);
        QCOMPARE(item->temperatureSlider()->valueText(), QStringLiteral("2700K"));
        QCOMPARE(item->colourSwatch()->backgroundColor(), QColor(0xDA, 0x67, 0x13));
        QCOMPARE(item->picturePath(), QStringLiteral(":/myImages/png/light/light_01_on.png"));
        QVERIFY(item->nameText().endsWith(QChar(0x2026)));
        QVERIFY(item->fontMetrics().horizontalAdvance(item->nameText()) <= 200);
        QCOMPARE(item->size(), QSize(500, 320));
        // Showing the record sends nothing and marks no change.
        QVERIFY(!item->status());
    }

    // The card's fill follows the light (on #1F2933, off #3D5366), the offline
    // marks sit in the top row, and the rows of the grid stand 20 pixels apart.
    void cardPaintsOnOffAndOffline_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("brightness");
        QTest::addColumn<QColor>("fill");
        const QColor on(0x1F, 0x29, 0x33);
        const QColor off(0x3D, 0x53, 0x66);
        QTest::newRow("on/off, on") << int(LightOnOff) << 100 << on;
        QTest::newRow("adjust, off") << int(LightAdjust) << 0 << off;
        QTest::newRow("hsb, on") << int(LightHSB) << (80 * 65536 + 40 * 256 + 200) << on;
        QTest::newRow("scene, off") << int(LightScene) << 0 << off;
        QTest::newRow("dali, on") << int(LightDaliDT8) << (70 * 256 + 40) << on;
    }

    void cardPaintsOnOffAndOffline()
    {
        QFETCH(int, type);
        QFETCH(int, brightness);
        QFETCH(QColor, fill);
        Row r;
        r.type = type;
        r.brightness = brightness;
        auto item = card(r);
        QTRY_VERIFY(!item->isFirstDisplayPending());
        QImage shot = item->grab().toImage();
        QCOMPARE(shot.pixelColor(250, 40), fill);
        // Rounded corners: the very corner is not the fill.
        QVERIFY(shot.pixelColor(0, 0) != fill);

        item->disconnected(true);
        QVERIFY(item->isOfflineShown());
        auto *mark = item->findChildren<QLabel *>().value(0);
        QVERIFY(mark && mark->isVisible());
        QCOMPARE(mark->size(), QSize(36, 36));
        // Row 0 (the marks) and row 1 (the name) are 20 apart.
        const QList<QtMaterialLabel *> labels = item->findChildren<QtMaterialLabel *>();
        QtMaterialLabel *nameLabel = nullptr;
        for (QtMaterialLabel *label : labels) {
            if (label->text() == item->nameText())
                nameLabel = label;
        }
        QVERIFY(nameLabel);
        QCOMPARE(nameLabel->geometry().top() - mark->geometry().bottom() - 1, 20);
        // The mark's picture is drawn over the fill.
        shot = item->grab().toImage();
        int covered = 0;
        const QRect area = mark->geometry();
        for (int y = area.top(); y <= area.bottom(); ++y) {
            for (int x = area.left(); x <= area.right(); ++x)
                covered += shot.pixelColor(x, y) != fill ? 1 : 0;
        }
        QVERIFY2(covered > 100, qPrintable(QString::number(covered)));
    }

    // ---------------------------------------------------------------- operation

    void allOnRestoresTheSavedLevel_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("loaded");
        QTest::addColumn<QList<int>>("sequence"); // hub values
        QTest::addColumn<QList<int>>("levels");   // brightness[0] after each
        QTest::newRow("first all-on of a dimmer is 100") << int(LightAdjust) << 0 << QList<int>{100}
                                                         << QList<int>{100};
        QTest::newRow("off then on restores") << int(LightAdjust) << 40 << QList<int>{0, 100}
                                              << QList<int>{0, 40};
        // The second all-off keeps the level in force, 0: the next all-on is a full one.
        QTest::newRow("off twice then on is full") << int(LightAdjust) << 40 << QList<int>{0, 0, 100}
                                                   << QList<int>{0, 0, 100};
        QTest::newRow("dali off twice") << int(LightDaliDT8) << (40 * 256) << QList<int>{0, 0, 100}
                                        << QList<int>{0, 0, 100};
        QTest::newRow("hsb keeps its level") << int(LightHSB) << (30 * 65536) << QList<int>{0, 100}
                                             << QList<int>{0, 30};
        QTest::newRow("on/off takes the value") << int(LightOnOff) << 0 << QList<int>{100, 0}
                                                << QList<int>{100, 0};
        QTest::newRow("scene takes the value") << int(LightScene) << 0 << QList<int>{100, 0}
                                               << QList<int>{100, 0};
    }

    void allOnRestoresTheSavedLevel()
    {
        QFETCH(int, type);
        QFETCH(int, loaded);
        QFETCH(QList<int>, sequence);
        QFETCH(QList<int>, levels);
        Row r;
        r.type = type;
        r.brightness = loaded;
        auto item = card(r);
        for (int i = 0; i < sequence.size(); ++i) {
            emit gl_socket.signalsLightStatus(sequence[i]);
            QCOMPARE(item->getLight().brightness[0], levels[i]);
        }
        // Nothing is written before the module confirms.
        QCOMPARE(storedBrightness(1), loaded);
    }

    void rgbAllOnAndOff()
    {
        for (int k = 0; k < 3; ++k)
            insertLight(rgbSet(k, 10 * (k + 1)));
        LightItem item(loadLight(1), false);
        item.show();
        emit gl_socket.signalsLightStatus(0);
        QCOMPARE(item.getLight().brightness[2], 0);
        QVERIFY(!item.getLight().isOn());
        emit gl_socket.signalsLightStatus(100);
        QCOMPARE(item.getLight().brightness[0], 10);
        QCOMPARE(item.getLight().brightness[2], 30);

        // Two all-offs: the second keeps the zeros, so the next all-on is full white.
        emit gl_socket.signalsLightStatus(0);
        emit gl_socket.signalsLightStatus(0);
        emit gl_socket.signalsLightStatus(100);
        for (int k = 0; k < 3; ++k)
            QCOMPARE(item.getLight().brightness[k], 100);
        item.hide();

        LightItem fresh(loadLight(1), false);
        fresh.show();
        // Loaded levels are only kept by an all-off: the first all-on gives full white.
        emit gl_socket.signalsLightStatus(100);
        QCOMPARE(fresh.getLight().brightness[1], 100);
    }

    void hiddenCardsIgnoreAllOn()
    {
        Row r;
        r.brightness = 0;
        insertLight(r);
        QWidget page;
        LightItem item(loadLight(1), true, &page); // the 3-D flag does not count here
        emit gl_socket.signalsLightStatus(100);
        QCOMPARE(item.getLight().brightness[0], 0);
    }

    void clickTogglesAndSwatchOpensTheDialog()
    {
        for (int k = 0; k < 3; ++k)
            insertLight(rgbSet(k));
        LightItem item(loadLight(1), false);
        item.show();
        QVERIFY(QTest::qWaitForWindowExposed(&item));

        QTest::mouseClick(&item, Qt::LeftButton, {}, QPoint(250, 20));
        QCOMPARE(item.getLight().brightness[1], 100);
        QTest::mouseClick(&item, Qt::LeftButton, {}, QPoint(250, 20));
        QCOMPARE(item.getLight().brightness[1], 0);

        // A press on the swatch opens the dialog; pressing its centre accepts.
        bool sawDialog = false;
        QTimer::singleShot(300, this, [&] {
            auto *dlg = qobject_cast<ColorSelectDlg *>(QApplication::activeModalWidget());
            sawDialog = dlg != nullptr;
            if (!dlg)
                return;
            dlg->slider(QStringLiteral("Green"))->setValue(255);
            dlg->slider(QStringLiteral("Blue"))->setValue(128);
            QTest::mouseClick(dlg->colorWheel(), Qt::LeftButton, {},
                              QRectF(dlg->colorWheel()->rect()).center().toPoint());
        });
        QTest::mouseClick(&item, Qt::LeftButton, {}, item.colourSwatch()->geometry().center());
        QVERIFY(sawDialog);
        QCOMPARE(item.getLight().brightness[0], 0);
        QCOMPARE(item.getLight().brightness[1], 100);
        QCOMPARE(item.getLight().brightness[2], 50);
        QCOMPARE(item.colourSwatch()->backgroundColor(), QColor(0, 255, 127));
    }

    void slidersAreIgnoredWhileTheCardShowsItsState()
    {
        Row r;
        r.brightness = 20;
        auto item = card(r);
        QTRY_COMPARE(item->brightnessSlider()->value(), 20);
        // Pushed by a reply: no change of the user's.
        deliver(reply(0x0034, bytes({1, 80})));
        QCOMPARE(item->brightnessSlider()->value(), 80);
        QVERIFY(item->status());
        // Moved by the user: a send is pending, the refresh state is cleared.
        item->brightnessSlider()->slider()->setValue(30);
        QCOMPARE(item->getLight().brightness[0], 30);
        QVERIFY(!item->status());
    }

    // ---------------------------------------------------------------- lifetime

    void deletingWithRunningTimersIsSafe_data()
    {
        QTest::addColumn<QString>("phase");
        QTest::newRow("first display") << "display";
        QTest::newRow("delayed start") << "delay";
        QTest::newRow("polling") << "poll";
        QTest::newRow("sending") << "send";
        QTest::newRow("slider pause") << "slider";
    }

    void deletingWithRunningTimersIsSafe()
    {
        QFETCH(QString, phase);
        DeviceItem::setIntervalScale(0.01);
        Row r;
        insertLight(r);
        auto *item = new LightItem(loadLight(1), false);
        item->show();
        if (phase == QLatin1String("delay"))
            item->getStatus(300);
        else if (phase == QLatin1String("poll"))
            item->getStatus(0);
        else if (phase == QLatin1String("send"))
            item->setStatus();
        else if (phase == QLatin1String("slider"))
            item->brightnessSlider()->slider()->setValue(40);
        QSignalSpy lost(&gl_socket, &BroadcastSocket::signalsInformation);
        delete item;
        QTest::qWait(200);
        QCOMPARE(lost.count(), 0);
    }

    void deletedByTheLostMessage()
    {
        DeviceItem::setIntervalScale(0.01);
        Row r;
        r.name = QStringLiteral("Desk");
        insertLight(r);
        QPointer<LightItem> item = new LightItem(loadLight(1), false);
        item->show();
        QStringList messages;
        auto c = connect(&gl_socket, &BroadcastSocket::signalsInformation, this, [&](QString text) {
            messages.append(text);
            delete item.data(); // a page rebuilding its cards
        });
        item->getStatus(0);
        QTRY_VERIFY(item.isNull());
        QTest::qWait(50);
        disconnect(c);
        QCOMPARE(messages, QStringList{"Desk lost connection"});
    }

    void deletedWhileAReplyIsHandedOut()
    {
        Row a;
        a.lightId = 1;
        insertLight(a);
        Row b;
        b.lightId = 2;
        insertLight(b);
        QPointer<LightItem> first;
        // Connected before the cards: it runs first and deletes one of them.
        auto c = connect(&gl_socket, &BroadcastSocket::dataIsComming, this,
                         [&](quint8 *, qlonglong) { delete first.data(); });
        first = new LightItem(loadLight(1), false);
        first->show();
        LightItem second(loadLight(2), false);
        second.show();
        deliver(reply(0x0034, bytes({1, 66})));
        disconnect(c);
        QVERIFY(first.isNull());
        QCOMPARE(second.getLight().brightness[0], 66);
        QCOMPARE(storedBrightness(2), 66);
    }

    void deletedWhileItsColourDialogIsOpen()
    {
        Row r;
        r.type = LightHSB;
        insertLight(r);
        QPointer<LightItem> item = new LightItem(loadLight(1), false);
        item->show();
        QVERIFY(QTest::qWaitForWindowExposed(item.data()));
        bool closed = false;
        QTimer::singleShot(200, this, [&] {
            delete item.data();
            if (auto *dlg = qobject_cast<ColorSelectDlg *>(QApplication::activeModalWidget())) {
                closed = true;
                QTest::mouseClick(dlg->colorWheel(), Qt::LeftButton, {},
                                  QRectF(dlg->colorWheel()->rect()).center().toPoint());
            }
        });
        // Only a press: the card is gone before a release could reach it.
        QTest::mousePress(item.data(), Qt::LeftButton, {}, item->colourSwatch()->geometry().center());
        QVERIFY(closed);
        QVERIFY(item.isNull());
    }
};

VARNO_TEST_MAIN(TestLightItem)
#include "tst_lightitem.moc"
