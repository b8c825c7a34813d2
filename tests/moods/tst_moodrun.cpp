// Running moods through the real transport ("DNS Server" style to simulated
// devices on 127.0.0.2:6000): the frames of each stored group, byte for byte and
// in order, at least 50 ms apart by the devices' receive times, and "Send
// successfully" only after the last wait. Also the records' fixed text fields.

#include "testmain.h"

#include "../operation/climatebus.h"
#include "moodproject.h"
#include "projectfixture.h"
#include "stepfault.h"

#include "moods/mood.h"
#include "moods/mooditem.h"
#include "moods/moodsequencer.h"

#include <qtmaterialstyle.h>

#include <QFontMetrics>
#include <QSignalSpy>
#include <QtTest>

#include <chrono>
#include <cstring>

using namespace moodproject;

namespace {

qint64 nowNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

} // namespace

class TestMoodRun : public QObject
{
    Q_OBJECT

    varnotest::ProjectFolder m_project;
    climatefix::BusRig m_bus;

private slots:
    void initTestCase()
    {
        if (!climatefix::BusRig::available())
            QSKIP("runs only inside the private network namespace of ./test (VARNO_NETNS=1)");
        QString error;
        QVERIFY2(m_bus.open(&error), qPrintable(error));
    }
    void cleanupTestCase() { m_bus.close(); }

    void run_data();
    void run();
    void pressesAndRecords();
};

void TestMoodRun::run_data()
{
    QTest::addColumn<QStringList>("flags");  // light, ac1, ac2, fh1, fh2, diy
    QTest::addColumn<QStringList>("rows");   // L:light, U:unit, C:command
    QTest::addColumn<QStringList>("frames"); // "code sub/dev payload"
    QTest::addColumn<int>("steps");          // frames and empty steps, 50 ms each
    QTest::addColumn<QString>("fault");      // "statement text@step" failed while the steps are read

    const QStringList workedFlags{"1", "1", "0", "1", "0", "1"};
    const QStringList workedInput = QStringList{"L:1,1,1,20,1,70,0,0",
                                                "L:2,2,1,21,1,10,0,1",
                                                "L:2,2,1,21,2,20,0,2",
                                                "L:2,2,1,21,3,30,0,3",
                                                "L:2,2,1,21,4,40,0,4",
                                                "L:3,7,1,22,2,100,5,0",
                                                "L:4,8,1,23,3,15380,0,0",
                                                "L:5,6,1,24,1,3323080,0,0",
                                                "U:0,1,1,30,1,1,0,2,0,35,22,23,25",
                                                "U:1,0,1,31,3,1,1,3,0,24,22,23,25",
                                                "U:2,0,1,32,1,1,0,0,28,0,0,0,0",
                                                "C:1,1,40,89,1,100,0,0",
                                                "C:2,1,41,94,1,2,3,4"};
    QTest::newRow("worked mood") << workedFlags << workedInput
                                 << QStringList{"0031 1/20 01460000",   "0031 1/21 010a0000",
                                                "0031 1/21 02140000",   "0031 1/21 031e0000",
                                                "0031 1/21 04280000",   "0002 1/22 0205",
                                                "0031 1/23 033c0000",   "0031 1/23 67140000",
                                                "2034 1/24 0132b400c8", "e01c 1/30 0bff",
                                                "e01c 1/30 0cff",       "e01c 1/30 0eff",
                                                "e01c 1/30 1aff",       "e0ee 1/31 020118130116171900",
                                                "e3d8 1/32 1401000001", "e3d8 1/32 181c000001",
                                                "0031 1/40 01640000"}
                                 << 18 << QString();
    QTest::newRow("ac2 alone sends both, panel unit 1")
        << QStringList{"0", "0", "1", "0", "0", "0"}
        << QStringList{"U:0,0,1,31,1,1,0,1,0,35,22,23,25", "U:1,0,1,33,0,0,1,2,0,20,21,22,23",
                       "L:1,1,1,20,1,70,0,0"}
        << QStringList{"e0ee 1/31 0123010116171900", "e0ee 1/33 0014120115161700"} << 2 << QString();
    QTest::newRow("scene off, ir off, rgb of three, circuit 2")
        << QStringList{"1", "1", "0", "0", "1", "0"}
        << QStringList{"L:1,7,1,22,4,0,9,0",           "L:2,2,1,21,1,10,0,1",
                       "L:2,2,1,21,2,20,0,2",          "L:2,2,1,21,3,30,0,3",
                       "L:2,2,1,21,0,40,0,4",          "U:0,1,1,30,2,0,0,1,0,24,22,23,25",
                       "U:3,0,1,32,2,1,0,0,28,0,0,0,0"}
        << QStringList{"0002 1/22 0400", "0031 1/21 010a0000", "0031 1/21 02140000", "0031 1/21 031e0000",
                       "e01c 1/30 6eff", "e3d8 1/32 231401",   "e3d8 1/32 23181c"}
        << 8 << QString();
    QTest::newRow("diy forms and the low byte")
        << QStringList{"0", "0", "0", "0", "0", "1"}
        << QStringList{"C:3,1,50,115,1,2,3,4", "C:1,1,50,112,300,2,3,4", "C:2,1,50,0,1,2,3,4",
                       "C:4,1,50,113,5,6,7,8"}
        << QStringList{"201a 1/50 012c020304", "202a 1/50 0102030400", "201a 1/50 0205060708"} << 4
        << QString();
    // A row that fails to read: nothing of the mood goes out, and the failure is said.
    for (const QString fault : {"light rows@and (rgb=0 or rgb=1)@3", "an RGB set@light_id=2 and rgb=3@1",
                                "air conditioners@(air_conditioner_no=0 or@2", "commands@tbl_mood_command@2",
                                "floor heating@(air_conditioner_no=2 or@1"})
        QTest::newRow(qPrintable("failed read: " + fault.section('@', 0, 0)))
            << workedFlags << workedInput << QStringList() << 0 << fault.section('@', 1);
}

void TestMoodRun::run()
{
    QFETCH(QStringList, flags);
    QFETCH(QStringList, rows);
    QFETCH(QStringList, frames);
    QFETCH(int, steps);
    QFETCH(QString, fault);

    m_project.reset();
    QVERIFY(addMood(1, 1, QStringLiteral("Evening"), flags));
    for (const QString &row : rows) {
        const QString values = row.mid(2);
        const bool ok = row.startsWith('L')   ? addMoodLight(1, 1, values)
                        : row.startsWith('U') ? addMoodUnit(1, 1, values)
                                              : addMoodCommand(1, 1, values);
        QVERIFY2(ok, qPrintable(row));
    }
    m_bus.clear();
    QSignalSpy info(&gl_socket, &BroadcastSocket::signalsInformation);
    MoodItem tile(loadRoomMoods(1).value(0));
    StepFault::arm(fault.section('@', 0, 0), fault.section('@', 1).toInt()); // none without a fault
    QTest::mousePress(&tile, Qt::LeftButton);
    QVERIFY(info.count() == 1 || info.wait(5000));
    const qint64 reported = nowNs();
    QCOMPARE(info.count(), 1);
    QCOMPARE(info.first().first().toString(),
             QString(fault.isEmpty() ? "Send successfully" : "Failed to send the mood!"));
    QVERIFY(fault.isEmpty() || StepFault::fired());
    SimBus::pump(100);

    const QList<SimFrame> got = m_bus.sent();
    QStringList text;
    for (const SimFrame &f : got) {
        QVERIFY(f.valid);
        QCOMPARE(int(f.sourceSubnet), 1);
        QCOMPARE(int(f.sourceDevice), 254);
        text << QStringLiteral("%1 %2/%3 %4")
                    .arg(f.code, 4, 16, QLatin1Char('0'))
                    .arg(f.targetSubnet)
                    .arg(f.targetDevice)
                    .arg(QString::fromLatin1(f.payload.toHex()));
    }
    QCOMPARE(text, frames);
    for (int i = 1; i < got.size(); ++i)
        QVERIFY2(got[i].arrivalNs - got[i - 1].arrivalNs >= 50000000,
                 qPrintable(QStringLiteral("frame %1 came %2 ns after the one before")
                                .arg(i)
                                .arg(got[i].arrivalNs - got[i - 1].arrivalNs)));
    // Every step, the last included, waits 50 ms before the report.
    QVERIFY(got.isEmpty() || reported - got.first().arrivalNs >= qint64(steps) * 50000000);
}

void TestMoodRun::pressesAndRecords()
{
    m_project.reset();
    // Empty flag columns read as 0; a 300-byte name of two-byte letters is cut at
    // a letter to at most 127 bytes and terminated.
    const QString longName = QString(150, QChar(0x00E9));
    QVERIFY(addMood(2, 1, longName, {"", "", "", "", "", ""}, QStringLiteral("moods_3.jpg")));
    QVERIFY(addMoodLight(2, 1, "1,1,1,20,1,70,0,0"));
    QVERIFY(addMood(3, 1, QStringLiteral("Bob's"), {"0", "0", "0", "0", "0", "1"}));
    QVERIFY(addMoodCommand(3, 1, "1,1,40,89,1,100,0,0"));
    const QList<mood> moods = loadRoomMoods(1);
    QCOMPARE(moods.size(), 2);
    const mood &blank = moods[0];
    QCOMPARE(blank.light_bool + blank.ac1_bool + blank.ac2_bool + blank.floor_heat1_bool + blank.diy_bool,
             0);
    QCOMPARE(int(std::strlen(blank.mood_name)), 126);
    QCOMPARE(blank.name(), longName.left(63));
    QCOMPARE(moods[1].name(), QStringLiteral("Bob's"));

    // Nothing stored to send: the report comes at once, in the press.
    m_bus.clear();
    QSignalSpy info(&gl_socket, &BroadcastSocket::signalsInformation);
    MoodItem quiet(blank);
    quiet.resize(MoodItem::TileWidth, MoodItem::TileHeight);
    // The long name is drawn cut at the tile's width, with an ellipsis: the tile
    // looks as one named with the cut text does.
    const QFontMetrics metrics(QtMaterialStyle::instance().themeFont(Material::FontType(8)), &quiet);
    const QString cut = metrics.elidedText(blank.name(), Qt::ElideRight, MoodItem::TileWidth - 20);
    QVERIFY(cut.endsWith(QChar(0x2026)));
    mood shortened = blank;
    qstrncpy(shortened.mood_name, cut.toUtf8().constData(), sizeof shortened.mood_name);
    MoodItem expected(shortened);
    expected.resize(quiet.size());
    QCOMPARE(quiet.grab().toImage(), expected.grab().toImage());
    QCOMPARE(quiet.picturePath(), QStringLiteral(":/myImages/jpg/moods/moods_3.jpg"));
    QTest::mousePress(&quiet, Qt::LeftButton);
    QCOMPARE(info.count(), 1);

    // A right-button press runs a mood; the double click that follows does not.
    MoodItem diy(moods[1]);
    QTest::mousePress(&diy, Qt::RightButton);
    QMouseEvent dbl(QEvent::MouseButtonDblClick, QPointF(5, 5), Qt::RightButton, Qt::RightButton,
                    Qt::NoModifier);
    QApplication::sendEvent(&diy, &dbl);
    QVERIFY(info.wait(3000));
    QTRY_VERIFY(!MoodSequencer::instance().isBusy());
    SimBus::pump(100);
    QCOMPARE(info.count(), 2);
    QCOMPARE(m_bus.sent().size(), 1);

    // A project switch drops the run under way and those waiting (their ids are the project's
    // before): nothing more is built, sent or reported.
    int built = 0, steps = 0;
    const MoodStep step = [&steps] { ++steps; };
    for (const char *text : {"first", "second"})
        MoodSequencer::instance().enqueue(
            [&](QList<MoodStep> &out) { ++built; out = {step, step}; return true; }, text, QString());
    emit gl_socket.signalsProjectStateChanged(QStringLiteral("Other"));
    SimBus::pump(300);
    QVERIFY(!MoodSequencer::instance().isBusy() && built == 1 && steps == 1 && info.count() == 2);
}

VARNO_TEST_MAIN(TestMoodRun)
#include "tst_moodrun.moc"
