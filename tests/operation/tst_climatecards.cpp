// The air-conditioner and floor-heating cards, the mode and fan-speed chooser and
// the occupation and master item, fed with replies through the hub as the
// transport hands them over (no bus needed): display, decoding, malformed
// replies, write-back (also by two cards of one unit) and the device-event log.

#include "testmain.h"

#include "climatefixture.h"
#include "operation/acitem.h"
#include "operation/floorheatitem.h"
#include "operation/irsequence.h"
#include "operation/modespeeditem.h"
#include "operation/modespeedselectdlg.h"
#include "operation/occupationmasteritem.h"
#include "shell/sliderctrl.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QThread>
#include <QLabel>
#include <QPointer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>
#include <qtmaterialgroupbox.h>
#include <qtmaterialiconbutton.h>
#include <qtmateriallabel.h>
#include <qtmaterialslider.h>

#include <memory>

using namespace climatefix;

namespace {

const QString Celsius = QStringLiteral("\u00B0C");
const QString Fahrenheit = QStringLiteral("\u00B0F");

// The tiles of a chooser from top to bottom.
QList<ModeSpeedItem *> tilesOf(ModeSpeedSelectDlg &dlg)
{
    QList<ModeSpeedItem *> tiles = dlg.tileBox()->findChildren<ModeSpeedItem *>();
    dlg.show();
    QApplication::processEvents();
    std::sort(tiles.begin(), tiles.end(),
              [](ModeSpeedItem *a, ModeSpeedItem *b) { return a->y() < b->y(); });
    return tiles;
}

// A clock read as every event begins to be handled, or when marked: whatever is
// done while an event is handled (a timer's tick) began no later than its reading.
class EventClock : public QObject
{
public:
    EventClock()
    {
        m_clock.start();
        QCoreApplication::instance()->installEventFilter(this);
    }
    ~EventClock() override { QCoreApplication::instance()->removeEventFilter(this); }

    // Microseconds since the clock started.
    qint64 now() const { return m_clock.nsecsElapsed() / 1000; }
    void mark() { m_last = now(); }
    // The latest reading: at the latest event or mark.
    qint64 last() const { return m_last; }

protected:
    bool eventFilter(QObject *, QEvent *) override
    {
        mark();
        return false;
    }

private:
    QElapsedTimer m_clock;
    qint64 m_last = 0;
};

// Waits until the card has shown its record the first time.
void shown(DeviceItem *card)
{
    if (!QTest::qWaitFor([card] { return !card->isFirstDisplayPending(); }, 5000))
        QTest::qFail("the card did not show its record", __FILE__, __LINE__);
}

} // namespace

class TestClimateCards : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    int m_db = 0;

    std::unique_ptr<ACItem> acCard(const Unit &u)
    {
        insertUnit(u);
        auto item = std::make_unique<ACItem>(loadUnit(u.no), false);
        item->show();
        shown(item.get());
        return item;
    }

    std::unique_ptr<FloorHeatItem> fhCard(const Unit &u)
    {
        insertUnit(u);
        auto item = std::make_unique<FloorHeatItem>(loadUnit(u.no), false);
        item->show();
        shown(item.get());
        return item;
    }

    static Unit floorUnit()
    {
        Unit u;
        u.no = 2;
        u.name = QStringLiteral("Bath floor");
        u.device = 50;
        return u;
    }

private slots:
    void initTestCase()
    {
        Q_INIT_RESOURCE(pictures);
        gl_socket.setId(1, 254);
        screen_cx = 1280;
        screen_cy = 800;
    }

    void init()
    {
        ++m_db;
        openProject(m_dir.filePath(QStringLiteral("f%1").arg(m_db)),
                    m_dir.filePath(QStringLiteral("p%1.db3").arg(m_db)));
        DeviceItem::setIntervalScale(1.0);
    }

    void cleanupTestCase() { gl_sqlite3db.close(); }

    // --- tiles and chooser -------------------------------------------------

    void tilePictures_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("value");
        QTest::addColumn<QString>("picture");
        QTest::newRow("mode cool") << 0 << 0 << "icon-acmode-cool.png";
        QTest::newRow("mode heat") << 0 << 1 << "icon-acmode-heat.png";
        QTest::newRow("mode fan") << 0 << 2 << "icon-acmode-fan.png";
        QTest::newRow("mode auto") << 0 << 3 << "icon-acmode-auto.png";
        QTest::newRow("mode 7 as cool") << 0 << 7 << "icon-acmode-cool.png";
        QTest::newRow("speed auto") << 1 << 0 << "icon-fan-auto.png";
        QTest::newRow("speed high") << 1 << 1 << "icon-fan-high.png";
        QTest::newRow("speed medium") << 1 << 2 << "icon-fan-medium.png";
        QTest::newRow("speed low") << 1 << 3 << "icon-fan-low.png";
        QTest::newRow("speed 7 as auto") << 1 << 7 << "icon-fan-auto.png";
        QTest::newRow("other kind is a mode") << 5 << 1 << "icon-acmode-heat.png";
    }

    void tilePictures()
    {
        QFETCH(int, kind);
        QFETCH(int, value);
        QFETCH(QString, picture);
        const QString path = ModeSpeedItem::picturePath(kind, value);
        QCOMPARE(path, QStringLiteral(":/myImages/png/airConditioner/") + picture);
        QVERIFY2(!QImage(path).isNull(), qPrintable(path));
    }

    void tilePaintsItsPictureCentred()
    {
        QCOMPARE(ModeSpeedItem::pictureRect(80, 80, false), QRect(16, 16, 48, 48));
        QCOMPARE(ModeSpeedItem::pictureRect(80, 80, true), QRect(22, 22, 36, 36));
        ModeSpeedItem bare(0, 1, QString());
        QCOMPARE(bare.size(), QSize(80, 80));
        QImage shot(bare.size(), QImage::Format_ARGB32);
        shot.fill(Qt::transparent);
        bare.render(&shot, QPoint(), QRegion(), QWidget::DrawChildren);
        // A circle: the corner stays clear, the rim is the tile colour.
        QCOMPARE(shot.pixelColor(1, 1).alpha(), 0);
        QCOMPARE(shot.pixelColor(40, 4), QColor(0x1F, 0x29, 0x33));
    }

    void tileReportsItsValueOnlyForAPressReleasedInside()
    {
        ModeSpeedItem tile(1, 2, QString());
        tile.show();
        QSignalSpy edit(&tile, &ModeSpeedItem::signalsEdit);
        QTest::mouseClick(&tile, Qt::LeftButton, {}, QPoint(40, 40));
        QCOMPARE(edit.count(), 1);
        QCOMPARE(edit.at(0).at(0).toInt(), 2);
        QTest::mousePress(&tile, Qt::LeftButton, {}, QPoint(40, 40));
        QTest::mouseMove(&tile, QPoint(200, 200));
        QTest::mouseRelease(&tile, Qt::LeftButton, {}, QPoint(200, 200));
        QCOMPARE(edit.count(), 1);
    }

    void chooserLists_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QStringList>("captions");
        QTest::addColumn<QList<int>>("values");
        QTest::newRow("modes") << 0 << QStringList{"Auto", "Cool", "Heat", "Fan"} << QList<int>{3, 0, 1, 2};
        QTest::newRow("fan speeds") << 1 << QStringList{"Auto", "Low", "Med", "High"}
                                    << QList<int>{0, 3, 2, 1};
    }

    void chooserLists()
    {
        QFETCH(int, kind);
        QFETCH(QStringList, captions);
        QFETCH(QList<int>, values);
        ModeSpeedSelectDlg dlg;
        dlg.kind = kind;
        dlg.initDlgCtrl();
        QCOMPARE(dlg.size(), QSize(120, 400));
        QVERIFY(dlg.windowFlags() & Qt::FramelessWindowHint);
        const QList<ModeSpeedItem *> tiles = tilesOf(dlg);
        QStringList shownCaptions;
        QList<int> shownValues;
        for (ModeSpeedItem *tile : tiles) {
            shownCaptions.append(tile->getCaption());
            shownValues.append(tile->getValue());
            QCOMPARE(tile->getKind(), kind);
        }
        QCOMPARE(shownCaptions, captions);
        QCOMPARE(shownValues, values);
    }

    void chooserEndsWithThePressedValue()
    {
        ModeSpeedSelectDlg dlg;
        dlg.kind = 1;
        dlg.initDlgCtrl();
        pressInChooser(QStringLiteral("Low"));
        QCOMPARE(dlg.exec(), 1);
        QCOMPARE(dlg.value, 3);
    }

    void chooserClosedWithoutAChoice()
    {
        ModeSpeedSelectDlg dlg;
        dlg.kind = 0;
        dlg.initDlgCtrl();
        pressInChooser(QString());
        QCOMPARE(dlg.exec(), 0);
        QCOMPARE(dlg.value, 0);
    }

    // --- air-conditioner card ----------------------------------------------

    void acDisplay_data()
    {
        QTest::addColumn<int>("status");
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("speed");
        QTest::addColumn<QString>("label");
        QTest::addColumn<bool>("sliderShown");
        QTest::addColumn<int>("low");
        QTest::addColumn<int>("high");
        QTest::addColumn<int>("modeTile");
        QTest::addColumn<int>("speedTile");
        // Limits 16-17-18 and 30-29-28; set points cool 24, heat 22, auto 23.
        QTest::newRow("off") << 0 << 1 << 2 << "OFF" << false << -1 << -1 << -1 << 2;
        QTest::newRow("cool") << 1 << 0 << 1 << "24" + Celsius << true << 16 << 30 << 0 << 1;
        QTest::newRow("heat") << 1 << 1 << 2 << "22" + Celsius << true << 17 << 29 << 1 << 2;
        QTest::newRow("fan") << 1 << 2 << 3 << "FAN" << false << -1 << -1 << 2 << 3;
        QTest::newRow("auto") << 1 << 3 << 0 << "23" + Celsius << true << 18 << 28 << 3 << 0;
        QTest::newRow("mode 5 shows cool") << 1 << 5 << 9 << "24" + Celsius << true << 16 << 30 << 0 << 0;
    }

    void acDisplay()
    {
        QFETCH(int, status);
        QFETCH(int, mode);
        QFETCH(int, speed);
        QFETCH(QString, label);
        QFETCH(bool, sliderShown);
        QFETCH(int, low);
        QFETCH(int, high);
        QFETCH(int, modeTile);
        QFETCH(int, speedTile);
        Unit u;
        u.status = status;
        u.mode = mode;
        u.speed = speed;
        u.room = 21;
        u.low = QStringLiteral("16-17-18");
        u.high = QStringLiteral("30-29-28");
        auto card = acCard(u);
        QCOMPARE(card->size(), QSize(500, 320));
        QCOMPARE(card->setPointText(), label);
        QCOMPARE(card->roomTemperatureText(), "Room 21" + Celsius);
        QCOMPARE(card->setPointSlider()->isVisible(), sliderShown);
        QCOMPARE(card->modeTile()->isVisible(), status >= 1);
        QCOMPARE(card->speedTile()->isVisible(), status >= 1);
        QCOMPARE(card->speedTile()->getValue(), speedTile);
        QCOMPARE(
            card->powerPicturePath(),
            QStringLiteral(":/myImages/png/airConditioner/icon-ac-power-%1.png").arg(status ? "on" : "off"));
        if (modeTile >= 0)
            QCOMPARE(card->modeTile()->getValue(), modeTile);
        if (low >= 0) {
            QCOMPARE(card->setPointSlider()->slider()->minimum(), low);
            QCOMPARE(card->setPointSlider()->slider()->maximum(), high);
        }
        // The display itself sends and logs nothing.
        QVERIFY(logRows().isEmpty());
        QVERIFY(!card->status());
    }

    void acHidesTheRoomTemperatureOnRequest()
    {
        Unit u;
        u.roomType = 1;
        auto card = acCard(u);
        QVERIFY(!card->isRoomTemperatureShown());
    }

    void acPanelParametersAreDecoded_data()
    {
        QTest::addColumn<int>("channel");
        QTest::addColumn<int>("size");
        QTest::addColumn<quint16>("code");
        QTest::addColumn<QByteArray>("payload");
        const QByteArray params = bytes({1, 24, 0x12, 1, 21, 26, 0, 23, 25, 0});
        QTest::newRow("plain parameters, unit 1") << 1 << 37 << quint16(0xE0ED) << params;
        QTest::newRow("channel form of unit 1") << 1 << 39 << quint16(0xE0ED) << bytes({0xF8, 0}) + params;
        QTest::newRow("channel form of unit 3") << 3 << 39 << quint16(0xE0ED) << bytes({0xF8, 2}) + params;
        QTest::newRow("plain set reply") << 1 << 38 << quint16(0xE0EF) << bytes({0xF8}) + params;
        QTest::newRow("channel set reply") << 2 << 39 << quint16(0xE0EF) << bytes({0xF8, 1}) + params;
    }

    void acPanelParametersAreDecoded()
    {
        QFETCH(int, channel);
        QFETCH(int, size);
        QFETCH(quint16, code);
        QFETCH(QByteArray, payload);
        Unit u;
        u.channel = channel;
        u.low = QStringLiteral("16-16-16");
        u.high = QStringLiteral("30-30-30");
        auto card = acCard(u);
        const QByteArray frame = deviceFrame(1, 40, code, payload);
        QCOMPARE(frame.size(), size);
        deliver(frame);

        const airConditioner rec = card->getAirConditioner();
        QCOMPARE(rec.status, 1);
        QCOMPARE(rec.mode, 1);  // 0x12: heat
        QCOMPARE(rec.speed, 2); // medium
        QCOMPARE(rec.current_cool_temperature, 24);
        QCOMPARE(rec.room_temperature, 21);
        QCOMPARE(rec.current_heat_temperature, 26);
        QCOMPARE(rec.current_auto_temperature, 23);
        QCOMPARE(rec.current_dry_temperature, 25);
        QVERIFY(card->status());
        QCOMPARE(card->setPointText(), "26" + Celsius);
        QCOMPARE(column(0, QStringLiteral("mode")).toInt(), 1);
        QCOMPARE(column(0, QStringLiteral("speed")).toInt(), 2);
        QCOMPARE(column(0, QStringLiteral("current_heat_temperature")).toInt(), 26);
        QCOMPARE(column(0, QStringLiteral("current_dry_temperature")).toInt(), 25);
        QCOMPARE(logRows(), QStringList{"0|ac_Lounge AC|room temperature is 21" + Celsius +
                                        ",heat mode,setting temperature is 26" + Celsius + ",medium speed"});
    }

    void acRangesReplyStoresLimits()
    {
        Unit u;
        u.status = 1;
        u.mode = 3;
        u.low = QStringLiteral("0-0-0");
        u.high = QStringLiteral("60-60-60");
        auto card = acCard(u);
        deliver(deviceFrame(1, 40, 0x1901, bytes({16, 30, 16, 30, 18, 28, 0, 0, 0})));
        QCOMPARE(column(0, QStringLiteral("low_limit")).toString(), QStringLiteral("16-16-18"));
        QCOMPARE(column(0, QStringLiteral("high_limit")).toString(), QStringLiteral("30-30-28"));
        deliver(deviceFrame(1, 40, 0xE0ED, bytes({1, 24, 0x30, 1, 21, 26, 0, 23, 25, 0})));
        QCOMPARE(card->setPointSlider()->slider()->minimum(), 18);
        QCOMPARE(card->setPointSlider()->slider()->maximum(), 28);
    }

    // Replies that must change nothing: no field, no row, no log, no end of the
    // refresh.
    void acMalformedRepliesAreIgnored_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("channel");
        QTest::addColumn<quint16>("code");
        QTest::addColumn<QByteArray>("payload");
        const QByteArray params = bytes({1, 24, 0x12, 1, 21, 26, 0, 23, 25, 0});
        QTest::newRow("unit reply without its byte") << 0 << 1 << quint16(0xE121) << QByteArray();
        QTest::newRow("room temperature without payload") << 1 << 1 << quint16(0xE3E8) << QByteArray();
        QTest::newRow("room temperature without its byte") << 1 << 1 << quint16(0xE3E8) << bytes({0});
        QTest::newRow("room temperature, not 0 first") << 1 << 1 << quint16(0xE3E8) << bytes({1, 30});
        QTest::newRow("modes count beyond its slots")
            << 0 << 1 << quint16(0xE125) << bytes({9, 0, 1, 2, 3, 4, 0, 1, 2, 3, 4});
        QTest::newRow("speeds count beyond its slots")
            << 0 << 1 << quint16(0xE125) << bytes({4, 0, 1, 2, 3, 200, 0, 1, 2, 3, 4});
        QTest::newRow("modes reply, short") << 0 << 1 << quint16(0xE125) << bytes({4, 0, 1, 2, 3});
        QTest::newRow("ranges reply, short") << 0 << 1 << quint16(0x1901) << bytes({16, 30, 16, 30, 18, 28});
        QTest::newRow("ranges channel form, other unit")
            << 0 << 3 << quint16(0x1901) << bytes({0xF8, 1, 16, 30, 16, 30, 18, 28, 0, 0});
        QTest::newRow("parameters, other unit") << 0 << 3 << quint16(0xE0ED) << bytes({0xF8, 1}) + params;
        QTest::newRow("parameters, plain for unit 2") << 0 << 2 << quint16(0xE0ED) << params;
        QTest::newRow("parameters, no success byte")
            << 0 << 2 << quint16(0xE0ED) << bytes({0xF5, 1}) + params;
        QTest::newRow("set reply, channel form for unit 1")
            << 0 << 1 << quint16(0xE0EF) << bytes({0xF8, 0}) + params;
        QTest::newRow("parameters to an IR card") << 1 << 1 << quint16(0xE0ED) << params;
        QTest::newRow("room temperature to a panel card") << 0 << 1 << quint16(0xE3E8) << bytes({0, 30});
    }

    void acMalformedRepliesAreIgnored()
    {
        QFETCH(int, type);
        QFETCH(int, channel);
        QFETCH(quint16, code);
        QFETCH(QByteArray, payload);
        Unit u;
        u.type = type;
        u.channel = channel;
        u.unit = 1; // a reply read from missing bytes would show as 0
        u.low = QStringLiteral("16-16-16");
        u.high = QStringLiteral("30-30-30");
        auto card = acCard(u);
        const airConditioner old = card->getAirConditioner();
        deliver(deviceFrame(1, 40, code, payload));
        const airConditioner now = card->getAirConditioner();
        QVERIFY(std::memcmp(&old, &now, sizeof old) == 0);
        QCOMPARE(column(0, QStringLiteral("low_limit")).toString(), QStringLiteral("16-16-16"));
        QCOMPARE(column(0, QStringLiteral("status")).toInt(), 0);
        QCOMPARE(column(0, QStringLiteral("room_temperature")).toInt(), 0);
        QCOMPARE(column(0, QStringLiteral("temperature_unit")).toInt(), 1);
        QVERIFY(logRows().isEmpty());
        QVERIFY(!card->status());
    }

    void acTakesFramesOnlyFromItsDeviceAndWhileShown()
    {
        Unit u;
        auto card = acCard(u);
        const QByteArray params = bytes({1, 24, 0x12, 1, 21, 26, 0, 23, 25, 0});
        deliver(deviceFrame(1, 41, 0xE0ED, params));
        QVERIFY(!card->status());
        card->hide();
        deliver(deviceFrame(1, 40, 0xE0ED, params));
        QVERIFY(!card->status());
        QCOMPARE(card->getAirConditioner().status, 0);
        // The 3-D view's cards take frames while hidden.
        ACItem inView(loadUnit(0), true);
        deliver(deviceFrame(1, 40, 0xE0ED, params));
        QVERIFY(inView.status());
        QCOMPARE(inView.getAirConditioner().status, 1);
    }

    void acIrRoomTemperature_data()
    {
        QTest::addColumn<int>("unit");
        QTest::addColumn<int>("shown");
        QTest::addColumn<QString>("text");
        QTest::newRow("Celsius") << 0 << -5 << "Room -5" + Celsius;
        QTest::newRow("Fahrenheit") << 1 << 23 << "Room 23" + Fahrenheit;
    }

    void acIrRoomTemperature()
    {
        QFETCH(int, unit);
        QFETCH(int, shown);
        QFETCH(QString, text);
        Unit u;
        u.type = 1;
        u.unit = unit;
        auto card = acCard(u);
        deliver(deviceFrame(1, 40, 0xE3E8, bytes({0, 0xFB})));
        QCOMPARE(card->getAirConditioner().room_temperature, shown);
        QCOMPARE(column(0, QStringLiteral("room_temperature")).toInt(), shown);
        QCOMPARE(card->roomTemperatureText(), text);
        QVERIFY(card->status());
        QVERIFY(logRows().isEmpty()); // the room temperature alone is not logged
    }

    void firmwareTextIsStoredAsSent()
    {
        Unit u;
        auto card = acCard(u);
        deliver(deviceFrame(1, 40, 0xEFFE, QByteArray("HDL'AC 2.1\x01junk"), 0x0271));
        QCOMPARE(column(0, QStringLiteral("version")).toString(), QStringLiteral("HDL'AC 2.1"));
        QCOMPARE(column(0, QStringLiteral("original_type")).toInt(), 0x0271);
        // Percent sequences in the text are the device's, not placeholders.
        deliver(deviceFrame(1, 40, 0xEFFE, QByteArray("V%1 %2 %3")));
        QCOMPARE(column(0, QStringLiteral("version")).toString(), QStringLiteral("V%1 %2 %3"));
        // A text longer than the field is cut, never overrun.
        deliver(deviceFrame(1, 40, 0xEFFE, QByteArray(200, 'V')));
        QCOMPARE(column(0, QStringLiteral("version")).toString(), QString(127, QLatin1Char('V')));
        QCOMPARE(int(strnlen(card->getAirConditioner().version, 128)), 127);
    }

    void textFieldsAreCutAtACharacterBoundary()
    {
        airConditioner rec;
        // 63 two-byte characters and one more: 128 bytes do not fit into 127.
        setClimateText(rec.remark, QString(64, QChar(0x00E9)));
        QCOMPARE(int(strnlen(rec.remark, sizeof rec.remark)), 126);
        QCOMPARE(climateText(rec.remark), QString(63, QChar(0x00E9)));
        setClimateText(rec.remark, QStringLiteral("Bob's AC"));
        QCOMPARE(climateText(rec.remark), QStringLiteral("Bob's AC"));
    }

    void namesWithQuotesAreLogged()
    {
        Unit u;
        u.name = QStringLiteral("Bob's AC");
        u.status = 1;
        auto card = acCard(u);
        QCOMPARE(card->nameText(), QStringLiteral("Bob's AC"));
        card->generateLog();
        QCOMPARE(logRows().size(), 1);
        QVERIFY(logRows().first().startsWith(QStringLiteral("0|ac_Bob's AC|room temperature is 0")));
    }

    // --- log texts ----------------------------------------------------------

    void logTexts_data()
    {
        QTest::addColumn<bool>("floor");
        QTest::addColumn<int>("status");
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("setPoint");
        QTest::addColumn<int>("speed");
        QTest::addColumn<int>("unit");
        QTest::addColumn<QString>("low");
        QTest::addColumn<QString>("high");
        QTest::addColumn<QString>("logged");
        const QString r = "room temperature is 21" + Celsius;
        const QString rf = "room temperature is 21" + Fahrenheit;
        QTest::newRow("ac heat below the range")
            << false << 1 << 1 << 19 << 2 << 0 << "20"
            << "35"
            << "1|ac_Unit|" + r + ",heat mode,setting temperature is 19" + Celsius +
                   ",the lower effective temperature limit(20" + Celsius +
                   ") has been exceeded,medium speed";
        QTest::newRow("ac heat at the low limit")
            << false << 1 << 1 << 20 << 2 << 0 << "20"
            << "35"
            << "0|ac_Unit|" + r + ",heat mode,setting temperature is 20" + Celsius + ",medium speed";
        QTest::newRow("ac cool above the range")
            << false << 1 << 0 << 36 << 1 << 0 << "20"
            << "35"
            << "1|ac_Unit|" + r + ",cool mode,setting temperature is 36" + Celsius +
                   ",the upper effective temperature limit(35" + Celsius + ") has been exceeded,high speed";
        QTest::newRow("ac auto at the high limit")
            << false << 1 << 3 << 35 << 3 << 0 << "20"
            << "35"
            << "0|ac_Unit|" + r + ",auto mode,setting temperature is 35" + Celsius + ",low speed";
        QTest::newRow("ac fan mode never alerts") << false << 1 << 2 << 99 << 0 << 0 << "20"
                                                  << "35"
                                                  << "0|ac_Unit|" + r + ",fan mode,auto speed";
        QTest::newRow("ac mode 5 logs as cool")
            << false << 1 << 5 << 24 << 7 << 0 << "20"
            << "35"
            << "0|ac_Unit|" + r + ",cool mode,setting temperature is 24" + Celsius + ",auto speed";
        QTest::newRow("ac off") << false << 0 << 1 << 5 << 2 << 0 << "20"
                                << "35"
                                << "0|ac_Unit|" + r + ",status is off";
        QTest::newRow("ac Fahrenheit") << false << 1 << 1 << 70 << 2 << 1 << "20"
                                       << "35"
                                       << "1|ac_Unit|" + rf + ",heat mode,setting temperature is 70" +
                                              Fahrenheit + ",the upper effective temperature limit(35" +
                                              Fahrenheit + ") has been exceeded,medium speed";
        QTest::newRow("range texts that are no numbers count as 0")
            << false << 1 << 0 << 24 << 0 << 0 << "low"
            << "high"
            << "1|ac_Unit|" + r + ",cool mode,setting temperature is 24" + Celsius +
                   ",the upper effective temperature limit(0" + Celsius + ") has been exceeded,auto speed";
        QTest::newRow("fh above the range")
            << true << 1 << 0 << 36 << 0 << 0 << "20"
            << "35"
            << "1|fh_Unit|" + r + ",setting temperature is 36" + Celsius +
                   ",the upper effective temperature limit(35" + Celsius + ") has been exceeded";
        QTest::newRow("fh at the high limit") << true << 1 << 0 << 35 << 0 << 0 << "20"
                                              << "35"
                                              << "0|fh_Unit|" + r + ",setting temperature is 35" + Celsius;
        QTest::newRow("fh below the range")
            << true << 1 << 0 << 12 << 0 << 0 << "20"
            << "35"
            << "1|fh_Unit|" + r + ",setting temperature is 12" + Celsius +
                   ",the lower effective temperature limit(20" + Celsius + ") has been exceeded";
        QTest::newRow("fh off") << true << 0 << 0 << 40 << 0 << 0 << "20"
                                << "35"
                                << "0|fh_Unit|" + r + ",status is off";
    }

    void logTexts()
    {
        QFETCH(bool, floor);
        QFETCH(int, status);
        QFETCH(int, mode);
        QFETCH(int, setPoint);
        QFETCH(int, speed);
        QFETCH(int, unit);
        QFETCH(QString, low);
        QFETCH(QString, high);
        QFETCH(QString, logged);
        setIndoorRange(low, high);
        airConditioner rec;
        rec.air_conditioner_no = floor ? 2 : 0;
        rec.room_id = Room;
        rec.status = status;
        rec.mode = mode;
        rec.speed = speed;
        rec.temperature_unit = unit;
        rec.room_temperature = 21;
        rec.current_temperature = setPoint;
        rec.current_cool_temperature = setPoint;
        rec.current_heat_temperature = setPoint;
        rec.current_auto_temperature = setPoint;
        setClimateText(rec.remark, QStringLiteral("Unit"));
        std::unique_ptr<ClimateItem> card;
        if (floor)
            card = std::make_unique<FloorHeatItem>(rec, false);
        else
            card = std::make_unique<ACItem>(rec, false);
        card->generateLog();
        QCOMPARE(logRows(), QStringList{logged});
        // The same event again is not repeated.
        card->generateLog();
        QCOMPARE(logRows().size(), 1);
    }

    // --- floor-heating card -------------------------------------------------

    void fhStateReplyPicksTheSetPoint_data()
    {
        QTest::addColumn<int>("channel");
        QTest::addColumn<QByteArray>("payload");
        QTest::addColumn<int>("size");
        QTest::addColumn<int>("setPoint");
        QTest::addColumn<int>("status");
        // Unit, room, status, mode, set points of modes 1 to 4.
        QTest::newRow("plain, mode 3") << 1 << bytes({0, 19, 1, 3, 21, 22, 27, 24}) << 35 << 27 << 1;
        QTest::newRow("plain, mode 1") << 1 << bytes({0, 19, 1, 1, 21, 22, 27, 24}) << 35 << 21 << 1;
        QTest::newRow("plain, mode 4") << 1 << bytes({0, 19, 0, 4, 21, 22, 27, 24}) << 35 << 24 << 0;
        QTest::newRow("plain, mode 0 keeps it")
            << 1 << bytes({0, 19, 1, 0, 21, 22, 27, 24}) << 35 << 30 << 1;
        QTest::newRow("plain, mode 9 keeps it")
            << 1 << bytes({0, 19, 1, 9, 21, 22, 27, 24}) << 35 << 30 << 1;
        QTest::newRow("channel form of circuit 1")
            << 1 << bytes({0, 0, 19, 1, 2, 21, 22, 27, 24}) << 36 << 22 << 1;
        QTest::newRow("channel form of circuit 3")
            << 3 << bytes({2, 0, 19, 1, 2, 21, 26, 27, 24}) << 36 << 26 << 1;
    }

    void fhStateReplyPicksTheSetPoint()
    {
        QFETCH(int, channel);
        QFETCH(QByteArray, payload);
        QFETCH(int, size);
        QFETCH(int, setPoint);
        QFETCH(int, status);
        Unit u = floorUnit();
        u.channel = channel;
        u.current = 30;
        auto card = fhCard(u);
        const QByteArray frame = deviceFrame(1, 50, 0x1945, payload);
        QCOMPARE(frame.size(), size);
        deliver(frame);
        QVERIFY(card->status());
        const airConditioner rec = card->getAirConditioner();
        QCOMPARE(rec.current_temperature, setPoint);
        QCOMPARE(rec.status, status);
        QCOMPARE(rec.room_temperature, 19);
        QCOMPARE(column(2, QStringLiteral("current_temperature")).toInt(), setPoint);
        QCOMPARE(column(2, QStringLiteral("room_temperature")).toInt(), 19);
        QCOMPARE(column(2, QStringLiteral("status")).toInt(), status);
        QCOMPARE(card->setPointText(), status ? QString::number(setPoint) + Celsius : QStringLiteral("OFF"));
        QCOMPARE(logRows().size(), 1);
    }

    void fhMalformedRepliesAreIgnored_data()
    {
        QTest::addColumn<int>("channel");
        QTest::addColumn<quint16>("code");
        QTest::addColumn<QByteArray>("payload");
        QTest::newRow("state, short") << 1 << quint16(0x1945) << bytes({0, 19, 1, 3});
        QTest::newRow("state, other circuit")
            << 3 << quint16(0x1945) << bytes({1, 0, 19, 1, 2, 21, 26, 27, 24});
        QTest::newRow("state, plain for circuit 2")
            << 2 << quint16(0x1945) << bytes({0, 19, 1, 3, 21, 22, 27, 24});
        QTest::newRow("range without success") << 1 << quint16(0xA13F) << bytes({0xF5, 5, 35, 0, 0});
        QTest::newRow("range, other circuit") << 2 << quint16(0xA13F) << bytes({0, 0xF8, 5, 35, 0, 0});
        QTest::newRow("confirmation, other item") << 1 << quint16(0xE3D9) << bytes({0x15, 1});
        QTest::newRow("confirmation, short") << 1 << quint16(0xE3D9) << bytes({0x14});
        QTest::newRow("confirmation, channel form without its mark")
            << 2 << quint16(0xE3D9) << bytes({0x22, 0x14, 1});
    }

    void fhMalformedRepliesAreIgnored()
    {
        QFETCH(int, channel);
        QFETCH(quint16, code);
        QFETCH(QByteArray, payload);
        Unit u = floorUnit();
        u.channel = channel;
        u.low = QStringLiteral("10");
        auto card = fhCard(u);
        const airConditioner old = card->getAirConditioner();
        deliver(deviceFrame(1, 50, code, payload));
        const airConditioner now = card->getAirConditioner();
        QVERIFY(std::memcmp(&old, &now, sizeof old) == 0);
        QCOMPARE(column(2, QStringLiteral("low_limit")).toString(), QStringLiteral("10"));
        QCOMPARE(column(2, QStringLiteral("status")).toInt(), 0);
        QVERIFY(logRows().isEmpty());
        QVERIFY(!card->status());
    }

    void fhRangeAndConfirmations()
    {
        Unit u = floorUnit();
        u.status = 1;
        auto card = fhCard(u);
        deliver(deviceFrame(1, 50, 0xA13F, bytes({0xF8, 5, 35, 0, 0})));
        QCOMPARE(column(2, QStringLiteral("low_limit")).toString(), QStringLiteral("5"));
        QCOMPARE(column(2, QStringLiteral("high_limit")).toString(), QStringLiteral("35"));
        deliver(deviceFrame(1, 50, 0xE3D9, bytes({0x18, 28})));
        QVERIFY(card->status());
        QCOMPARE(column(2, QStringLiteral("current_temperature")).toInt(), 28);
        QCOMPARE(card->setPointSlider()->slider()->minimum(), 5);
        QCOMPARE(card->setPointSlider()->slider()->maximum(), 35);
        QCOMPARE(card->setPointSlider()->value(), 28);
        deliver(deviceFrame(1, 50, 0xE3D9, bytes({0x14, 0})));
        QCOMPARE(column(2, QStringLiteral("status")).toInt(), 0);
        QCOMPARE(card->setPointText(), QStringLiteral("OFF"));
        QVERIFY(!card->setPointSlider()->isVisible());
        QCOMPARE(logRows().size(), 2);
    }

    // --- occupation and master ----------------------------------------------

    void occupationAndMasterDecoding_data()
    {
        QTest::addColumn<quint16>("code");
        QTest::addColumn<int>("device");
        QTest::addColumn<QByteArray>("payload");
        QTest::addColumn<QString>("occupation");
        QTest::addColumn<QString>("master");
        // Occupation sensor 1/20 channel 2, master 1/30 channel 3.
        QTest::newRow("occupied") << quint16(0x012D) << 20 << bytes({0xF8, 4, 9, 9, 9, 9, 1, 0, 1, 1})
                                  << "Occupied"
                                  << "Unknown";
        QTest::newRow("unoccupied") << quint16(0x012D) << 20 << bytes({0xF8, 4, 0, 0, 0, 0, 0, 5, 0, 0})
                                    << "Unoccupied"
                                    << "Unknown";
        QTest::newRow("state byte beyond the frame")
            << quint16(0x012D) << 20 << bytes({0xF8, 4, 0, 0, 0, 0, 1}) << "Unknown"
            << "Unknown";
        QTest::newRow("no channels") << quint16(0x012D) << 20 << bytes({0xF8, 0, 0, 0}) << "Unknown"
                                     << "Unknown";
        QTest::newRow("channel beyond the count")
            << quint16(0x012D) << 20 << bytes({0xF8, 1, 0, 0}) << "Unknown"
            << "Unknown";
        QTest::newRow("no success byte")
            << quint16(0x012D) << 20 << bytes({0xF5, 4, 0, 0, 0, 0, 0, 0, 0, 0}) << "Unknown"
            << "Unknown";
        QTest::newRow("occupation from another device")
            << quint16(0x012D) << 21 << bytes({0xF8, 4, 0, 0, 0, 0, 0, 0, 0, 0}) << "Unknown"
            << "Unknown";
        QTest::newRow("master on") << quint16(0x0034) << 30 << bytes({4, 0, 0, 55, 0}) << "Unknown"
                                   << "On";
        QTest::newRow("master off") << quint16(0x0034) << 30 << bytes({4, 100, 100, 0, 100}) << "Unknown"
                                    << "Off";
        QTest::newRow("master level beyond the frame")
            << quint16(0x0034) << 30 << bytes({4, 100, 100}) << "Unknown"
            << "Unknown";
        QTest::newRow("master channel beyond the count")
            << quint16(0x0034) << 30 << bytes({2, 100, 100}) << "Unknown"
            << "Unknown";
        QTest::newRow("master confirmation") << quint16(0x0032) << 30 << bytes({3, 0xF8, 100}) << "Unknown"
                                             << "On";
        QTest::newRow("confirmation of another channel")
            << quint16(0x0032) << 30 << bytes({2, 0xF8, 100}) << "Unknown"
            << "Unknown";
        QTest::newRow("confirmation without success")
            << quint16(0x0032) << 30 << bytes({3, 0xF5, 100}) << "Unknown"
            << "Unknown";
        QTest::newRow("confirmation, short") << quint16(0x0032) << 30 << bytes({3, 0xF8}) << "Unknown"
                                             << "Unknown";
    }

    void occupationAndMasterDecoding()
    {
        QFETCH(quint16, code);
        QFETCH(int, device);
        QFETCH(QByteArray, payload);
        QFETCH(QString, occupation);
        QFETCH(QString, master);
        gl_sqlite3db.execDML(QStringLiteral("insert into tbl_occupation(subnet_id,device_id,channel,status,"
                                            "room_id) values(1,20,2,0,%1)")
                                 .arg(Room));
        gl_sqlite3db.execDML(QStringLiteral("insert into tbl_master(subnet_id,device_id,channel,status,"
                                            "room_id) values(1,30,3,0,%1)")
                                 .arg(Room));
        OccupationMasterItem item(36, 36);
        item.setOccupationMaster(loadOccupationMaster(Room));
        item.show();
        QVERIFY(item.isOccupationShown());
        QVERIFY(item.isMasterShown());
        deliver(deviceFrame(1, quint8(device), code, payload));
        QCOMPARE(item.occupationText(), occupation);
        QCOMPARE(item.masterText(), master);

        auto stateOf = [](const QString &text) {
            if (text == QLatin1String("Occupied") || text == QLatin1String("On"))
                return 2;
            if (text == QLatin1String("Unoccupied") || text == QLatin1String("Off"))
                return 1;
            return 0;
        };
        QCOMPARE(tableStatus(QStringLiteral("tbl_occupation")).toInt(), stateOf(occupation));
        QCOMPARE(tableStatus(QStringLiteral("tbl_master")).toInt(), stateOf(master));
        QStringList expectedLog;
        if (stateOf(occupation))
            expectedLog << "0|occupation|status is " + occupation.toLower();
        if (stateOf(master))
            expectedLog << "0|master|status is " + master.toLower();
        QCOMPARE(logRows(), expectedLog);
        // A switch confirmation ends any cycle; a lone occupation reply does not.
        QCOMPARE(item.status(), code == 0x0032 && stateOf(master) != 0);
        const QString picture = item.masterPicture();
        QVERIFY(picture.startsWith(QStringLiteral(":/myImages/png/master_")));
    }

    void occupationItemHidesIncompleteParts()
    {
        OccupationMasterItem item(24, 24);
        occupationMaster rec;
        rec.room_id = Room;
        rec.occupation_subnet_id = 1;
        rec.occupation_device_id = 20;
        rec.occupation_channel = 0; // incomplete
        rec.master_subnet_id = 1;
        rec.master_device_id = 30;
        rec.master_channel = 1;
        rec.master_status = 1;
        item.setOccupationMaster(rec);
        QVERIFY(!item.isOccupationShown());
        QVERIFY(item.isMasterShown());
        QCOMPARE(item.masterText(), QStringLiteral("Off"));
        QCOMPARE(item.masterPicture(), QStringLiteral(":/myImages/png/master_off.png"));
        QCOMPARE(item.masterButton()->size(), QSize(24, 24));
    }

    // --- infrared frames ----------------------------------------------------

    void irFramesKeepTheirGap()
    {
        IrSequence sequence;
        EventClock clock;
        // Each frame notes when it left and when what sent it (the append, or the
        // sequence's tick) began: from the one to the next frame's leaving a busy
        // machine can only add time, never take it away.
        QList<qint64> began;
        QList<qint64> sent;
        auto frame = [&] {
            began.append(clock.last());
            sent.append(clock.now());
        };
        auto gap = [&](int i) { return sent[i] - began[i - 1]; };
        clock.mark();
        for (int i = 0; i < 4; ++i)
            sequence.append(frame);
        QCOMPARE(sent.size(), 1); // the first one at once
        QCOMPARE(sequence.pending(), 3);
        QThread::msleep(80); // a busy thread delays the rest, never shortens a gap
        QTRY_COMPARE(sent.size(), 4);
        for (int i = 1; i < sent.size(); ++i)
            QVERIFY2(gap(i) >= 50000, qPrintable(QString::number(gap(i))));

        // A frame after a long pause goes out at once; one right after it waits.
        QTest::qWait(60);
        clock.mark();
        sequence.append(frame);
        QCOMPARE(sent.size(), 5);
        sequence.append(frame);
        QCOMPARE(sent.size(), 5);
        QTRY_COMPARE(sent.size(), 6);
        QVERIFY2(gap(5) >= 50000, qPrintable(QString::number(gap(5))));
    }

    void deletedSequenceDropsItsFrames()
    {
        int sent = 0;
        auto sequence = std::make_unique<IrSequence>();
        for (int i = 0; i < 3; ++i)
            sequence->append([&sent] { ++sent; });
        sequence.reset();
        QTest::qWait(150);
        QCOMPARE(sent, 1);
    }

    // --- safety -------------------------------------------------------------

    void cardDeletedWhileTheChooserIsOpen()
    {
        Unit u;
        u.status = 1;
        auto card = acCard(u);
        QPointer<ACItem> watch(card.get());
        auto *timer = new QTimer;
        timer->setInterval(10);
        connect(timer, &QTimer::timeout, timer, [&card, timer] {
            auto *dlg = qobject_cast<ModeSpeedSelectDlg *>(QApplication::activeModalWidget());
            if (!dlg)
                return;
            timer->stop();
            timer->deleteLater();
            card.reset(); // the page rebuilt its cards
            for (ModeSpeedItem *tile : dlg->tileBox()->findChildren<ModeSpeedItem *>()) {
                if (tile->getCaption() == QLatin1String("Heat"))
                    QTest::mouseClick(tile, Qt::LeftButton, {}, QPoint(40, 40));
            }
        });
        timer->start();
        QTest::mouseClick(card->modeTile(), Qt::LeftButton, {}, QPoint(40, 40));
        QTRY_VERIFY(watch.isNull());
        QTest::qWait(50);
        QCOMPARE(column(0, QStringLiteral("mode")).toInt(), 0);
    }

    void cardDeletedWhileItsTimersRun()
    {
        DeviceItem::setIntervalScale(0.02);
        QSignalSpy info(&gl_socket, &BroadcastSocket::signalsInformation);
        Unit u;
        auto card = acCard(u);
        card->getStatus(0);
        QTest::qWait(30);
        card.reset();
        auto ir = acCard([] {
            Unit v;
            v.no = 1;
            v.type = 1;
            v.status = 0;
            return v;
        }());
        QTest::mouseClick(ir->powerButton(), Qt::LeftButton);
        QVERIFY(ir->pendingIrFrames() > 0);
        QPointer<QObject> frames(ir->findChild<IrSequence *>());
        QVERIFY(frames);
        ir.reset();
        QVERIFY(frames.isNull()); // its waiting frames went with it
        // A card asked after both, on the same ticks, gives up first: no tick
        // reached the deleted cards, which never tell of a lost connection.
        auto witness = fhCard(floorUnit());
        witness->getStatus(0);
        QTRY_VERIFY(!info.isEmpty());
        QCOMPARE(info.at(0).at(0).toString(), QStringLiteral("Bath floor lost connection"));
        QCOMPARE(info.size(), 1);
    }

    // --- cards of one unit ---------------------------------------------------

    // Two cards of one unit live at once: each reply is stored and logged,
    // whatever the other card stored meanwhile.
    void everySetPointReplyIsStoredAcrossCards()
    {
        setIndoorRange(QStringLiteral("16"), QStringLiteral("30"));
        Unit u;
        u.status = 1;
        auto first = acCard(u);
        ACItem second(loadUnit(0), false);
        second.show();
        shown(&second);
        // The card's fill, #3D5366, under its controls.
        QCOMPARE(second.grab().toImage().pixelColor(250, 160), QColor(0x3D, 0x53, 0x66));
        const QString logged = QStringLiteral("0|ac_Lounge AC|room temperature is 21") + Celsius +
                               QStringLiteral(",cool mode,setting temperature is %1") + Celsius +
                               QStringLiteral(",auto speed");
        for (const auto &[card, setPoint] : {std::pair<ACItem *, int>{first.get(), 24}, {&second, 26},
                                            {first.get(), 24}}) {
            first->setVisible(card == first.get());
            second.setVisible(card == &second);
            deliver(deviceFrame(1, 40, 0xE0ED, bytes({1, setPoint, 0x00, 1, 21, 22, 0, 23, 25, 0})));
            QCOMPARE(card->getAirConditioner().current_cool_temperature, setPoint);
            QCOMPARE(column(0, QStringLiteral("current_cool_temperature")).toInt(), setPoint);
            QCOMPARE(logRows().last(), logged.arg(setPoint));
        }
        QCOMPARE(logRows(), (QStringList{logged.arg(24), logged.arg(26), logged.arg(24)}));
    }
};

VARNO_TEST_MAIN(TestClimateCards)
#include "tst_climatecards.moc"
