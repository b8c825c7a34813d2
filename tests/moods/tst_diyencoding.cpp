// The encoding of a DIY command from a snapshot of the editor's controls: the
// worked examples, choices without a row, and the readings of negative, oversized
// and unreadable numbers.

#include "moods/diycommandencoding.h"
#include "projectfixture.h"
#include "store/queryhelpers.h"
#include "testmain.h"

#include <QtTest>

using Bytes = QList<int>;
Q_DECLARE_METATYPE(Bytes)

namespace {

// A row: the type text, the Prm line edits and combo boxes (from Prm1 on), the
// slider, the time field and the expected type and four bytes.
void row(const char *name, const char *type, const QStringList &numbers, const QStringList &choices,
         int slider, const char *time, const Bytes &expected)
{
    QTest::newRow(name) << QString::fromUtf8(type) << numbers << choices << slider << QString::fromUtf8(time)
                        << expected;
}

const QStringList none;

} // namespace

class TestDiyEncoding : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { QVERIFY(m_folder.isValid()); }

    void encode_data()
    {
        QTest::addColumn<QString>("type");
        QTest::addColumn<QStringList>("numbers");
        QTest::addColumn<QStringList>("choices");
        QTest::addColumn<int>("slider");
        QTest::addColumn<QString>("time");
        QTest::addColumn<Bytes>("expected");
        // The worked examples; every type and choice also goes through the fields'
        // round trip.
        row("coil", "Modbus Coil", {"300"}, {"", "On"}, 0, "", {115, 1, 44, 1, 0});
        row("register", "Modbus Register", {"65535", "1000"}, none, 0, "", {116, 255, 255, 3, 232});
        row("song", "Audio Player", {"", "4", "1000"}, {"Play Specify Song"}, 0, "", {103, 6, 4, 3, 232});
        row("channel 1:30", "Single Channel Lighting", {"3"}, none, 80, "1:30", {89, 3, 80, 0, 90});
        row("channel 10:00", "Single Channel Lighting", {"3"}, none, 80, "10:00", {89, 3, 80, 2, 88});
        row("broadcast scene", "Broadcast Scene", {"All Areas", "9"}, none, 0, "", {85, 255, 9, 0, 0});
        row("broadcast channel", "Broadcast Channel", {"17"}, none, 50, "0:5", {89, 255, 50, 0, 5});
        row("universal on", "Universal Switch", {"5", "", "30"}, {"", "On"}, 0, "", {88, 5, 255, 30, 0});
        row("panel on", "Panel Control", none, {"AC Power", "On"}, 0, "", {95, 3, 1, 0, 0});
        row("upb activate", "UPB Scene", {"9", "", "", "3"}, {"", "Scene", "Activate"}, 0, "",
            {113, 9, 0, 1, 3});
        row("upb level", "UPB Scene", {"9", "", "40"}, {"", "Go To Level"}, 0, "", {113, 9, 1, 40, 0});
        row("panel ac 1", "Panel Control", none, {"Panel AC 1", "Set Temperature", "24°C"}, 0, "",
            {95, 25, 4, 24, 0});
        row("panel ac x", "Panel Control", {"", "3"}, {"Panel AC x", "", "AC Mode", "Heat"}, 0, "",
            {95, 45, 3, 6, 1});
        row("low byte", "Invalid Switch", {"300", "x"}, none, 0, "", {0, 44, 0, 0, 0});
        // Choices without a row: the byte and those after it stay 0.
        row("panel ac no row", "Panel Control", {"", "", "2"}, {"Panel AC 1", "Bogus", "On"}, 0, "",
            {95, 25, 0, 0, 0});
        row("panel ac x no row", "Panel Control", {"", "2", "", "2"}, {"Panel AC x", "", "Nope"}, 0, "",
            {95, 45, 2, 0, 0});
        row("audio raise", "Audio Player", none, {"Volume Control", "VOL", "Zone4 Raise VOL", "ON"}, 0, "",
            {103, 5, 1, 32, 0});
        row("dim up", "Dim Up", {"5", "6"}, none, 0, "", {117, 0, 0, 0, 0});
        row("no type", "", {"5", "6"}, none, 0, "", {0, 5, 6, 0, 0});
        // Negative and unreadable numbers and time parts read as 0; digits beyond an
        // int are held at its end, never 0.
        row("negative", "Zigbee Channel", {"-1", "-256", "+7", "9999999999"}, none, 0, "",
            {121, 0, 0, 7, 255});
        row("negative time", "Single Channel Lighting", {"1"}, none, 5, "-1:-5", {89, 1, 5, 0, 0});
        row("negative seconds", "Single Channel Lighting", {"1"}, none, 5, "2:-5", {89, 1, 5, 0, 120});
        row("unreadable time", "Single Channel Lighting", {"1"}, none, 5, "ab", {89, 1, 5, 0, 0});
        row("negative address", "Modbus Register", {"-300", "-1"}, none, 0, "", {116, 0, 0, 0, 0});
        // Texts are quoted: a type text holding a quote is one text, not SQL.
        row("quoted type", "Modbus Coil' or item='Zigbee Channel", {"5", "6"}, none, 0, "", {0, 5, 6, 0, 0});
        row("quoted choice", "Security Module", {"1"}, {"", "Bob's Mode"}, 0, "", {102, 1, 77, 0, 0});
    }

    void encode()
    {
        QFETCH(QString, type);
        QFETCH(QStringList, numbers);
        QFETCH(QStringList, choices);
        QFETCH(int, slider);
        QFETCH(QString, time);
        QFETCH(Bytes, expected);
        QVERIFY(gl_sqlite3db.execDML(
            QStringLiteral("insert into tbl_comp2_item(policy,[index],value,item) values(7,10,77,'%1')")
                .arg(sqlText(QStringLiteral("Bob's Mode")))));
        DiyControls controls;
        controls.type = type;
        for (int column = 0; column < 4; ++column) {
            controls.number[column] = numbers.value(column);
            controls.choice[column] = choices.value(column);
        }
        controls.slider = slider;
        controls.time = time;
        const DiyCommandBytes bytes = encodeDiyCommand(controls);
        const Bytes got{bytes.command_type, bytes.prm1, bytes.prm2, bytes.prm3, bytes.prm4};
        QCOMPARE(got, expected);
        gl_sqlite3db.execDML(QStringLiteral("delete from tbl_comp2_item where policy=7 and value=77"));
    }

private:
    varnotest::ProjectFolder m_folder;
};

VARNO_TEST_MAIN(TestDiyEncoding)
#include "tst_diyencoding.moc"
