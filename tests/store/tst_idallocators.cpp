// Allocation of the application's record numbers over real project databases.

#include "testmain.h"

#include "store/cppsqlite3db.h"
#include "store/globals.h"
#include "store/idallocators.h"
#include "store/schema.h"
#include "stepfault.h"

#include <QTemporaryDir>
#include <QtTest>

#include <functional>

using Allocator = std::function<int()>;
Q_DECLARE_METATYPE(Allocator)
using LightRows = QList<QPair<int, int>>; // (light_id, rgb)

class TestIdAllocators : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    int m_fileNo = 0;

    // A fresh database file holding every project table, empty.
    void freshDatabase()
    {
        gl_sqlite3db.close();
        gl_sqlite3db.setDbName(m_dir.filePath(QStringLiteral("ids%1.db3").arg(++m_fileNo)));
        for (const TableSchema &table : projectTables())
            QVERIFY(gl_sqlite3db.execDML(QString::fromLatin1(table.createSql)));
    }
    void exec(const QString &sql) { QVERIFY2(gl_sqlite3db.execDML(sql), qPrintable(sql)); }
    void addAirConditioner(int room, int no)
    {
        exec(QStringLiteral("insert into tbl_air_conditioner(air_conditioner_no,remark,room_id) "
                            "values(%1,'unit',%2)")
                 .arg(no)
                 .arg(room));
    }

private slots:
    void init() { freshDatabase(); }
    void cleanupTestCase() { gl_sqlite3db.close(); }

    void projectWideNumbers_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("column");
        QTest::addColumn<Allocator>("allocate");
        QTest::addColumn<QList<int>>("taken");
        QTest::addColumn<int>("expected");

        struct Target
        {
            const char *table;
            const char *column;
            Allocator allocate;
        };
        const Target targets[] = {
            {"tbl_room_template", "room_template_id", getRoomTemplateId},
            {"tbl_region", "region_id", getRegionId},
            {"tbl_floor", "floor_id", getFloorId},
            {"tbl_room", "room_id", getRoomId},
            {"tbl_template_light", "template_light_id", getTemplateLightId},
            {"tbl_panel", "panel_id", getPanelId},
            {"tbl_template_panel", "template_panel_id", getTemplatePanelId},
            {"tbl_message", "message_id", getMessageId},
            {"tbl_mood", "mood_id", getMoodId},
        };
        for (const Target &t : targets) {
            auto row = [&](const char *name, QList<int> taken, int expected) {
                QTest::addRow("%s: %s", t.table, name)
                    << QString::fromLatin1(t.table) << QString::fromLatin1(t.column) << t.allocate << taken
                    << expected;
            };
            row("empty", {}, 1);
            row("1 2 3", {1, 2, 3}, 4);
            row("2 3", {2, 3}, 1);
            row("1 3", {1, 3}, 2);
            row("unordered with duplicates", {3, 1, 3, 2, 1, 5}, 4);
            row("zero and negative do not count", {0, -4, 1}, 2);
        }
        // Beyond the old habit of small tables: no upper limit.
        QList<int> many;
        for (int i = 1; i <= 300; ++i)
            many << i;
        QTest::newRow("tbl_room: 300 taken") << "tbl_room"
                                             << "room_id" << Allocator(getRoomId) << many << 301;
    }
    void projectWideNumbers()
    {
        QFETCH(QString, table);
        QFETCH(QString, column);
        QFETCH(Allocator, allocate);
        QFETCH(QList<int>, taken);
        QFETCH(int, expected);
        for (int n : taken)
            exec(QStringLiteral("insert into %1(%2) values(%3)").arg(table, column).arg(n));
        QCOMPARE(allocate(), expected);
        // Not reserved: asking again without an insert gives the same number.
        QCOMPARE(allocate(), expected);
    }

    void nullAndTextValuesDoNotTakeNumbers()
    {
        exec(QStringLiteral("insert into tbl_room(room_name) values('no number')"));
        exec(QStringLiteral("insert into tbl_room(room_id) values('x')"));
        exec(QStringLiteral("insert into tbl_room(room_id) values(2)"));
        QCOMPARE(getRoomId(), 1);
    }

    void floorNumbersAreProjectWide()
    {
        exec(QStringLiteral("insert into tbl_floor(floor_name,floor_id,region_id) values('G',1,1)"));
        // A second region cannot have floor number 1 while any floor holds it.
        QCOMPARE(getFloorId(), 2);
    }

    void lightsCountOncePerLight_data()
    {
        QTest::addColumn<LightRows>("rows");
        QTest::addColumn<int>("expected");
        QTest::newRow("empty") << LightRows{} << 1;
        QTest::newRow("four channel rows of light 5") << LightRows{{5, 1}, {5, 2}, {5, 3}, {5, 4}} << 1;
        QTest::newRow("single rows 1 and 2") << LightRows{{1, 0}, {2, 0}} << 3;
        QTest::newRow("only later channel rows hold 1") << LightRows{{1, 2}, {1, 3}, {2, 0}} << 1;
        QTest::newRow("first channel row holds 1") << LightRows{{1, 1}, {1, 2}} << 2;
    }
    void lightsCountOncePerLight()
    {
        QFETCH(LightRows, rows);
        QFETCH(int, expected);
        for (const auto &row : rows)
            exec(QStringLiteral("insert into tbl_light(light_id,rgb,room_id) values(%1,%2,1)")
                     .arg(row.first)
                     .arg(row.second));
        QCOMPARE(getLightId(), expected);
    }

    void airConditionerNumbers_data()
    {
        QTest::addColumn<QList<int>>("thisRoom");
        QTest::addColumn<QList<int>>("otherRoom");
        QTest::addColumn<int>("ac");
        QTest::addColumn<int>("fh");
        QTest::newRow("empty room") << QList<int>{} << QList<int>{} << 0 << 2;
        QTest::newRow("both air conditioners") << QList<int>{0, 1} << QList<int>{} << 2 << 2;
        QTest::newRow("only unit 1") << QList<int>{1} << QList<int>{} << 0 << 2;
        QTest::newRow("only circuit 3") << QList<int>{3} << QList<int>{} << 0 << 2;
        QTest::newRow("both circuits") << QList<int>{2, 3} << QList<int>{} << 0 << 4;
        QTest::newRow("everything") << QList<int>{0, 1, 2, 3} << QList<int>{} << 2 << 4;
        QTest::newRow("other room does not count") << QList<int>{} << QList<int>{0, 1, 2, 3} << 0 << 2;
        QTest::newRow("mixed rooms") << QList<int>{0, 2} << QList<int>{1, 3} << 1 << 3;
    }
    void airConditionerNumbers()
    {
        QFETCH(QList<int>, thisRoom);
        QFETCH(QList<int>, otherRoom);
        QFETCH(int, ac);
        QFETCH(int, fh);
        for (int no : thisRoom)
            addAirConditioner(7, no);
        for (int no : otherRoom)
            addAirConditioner(8, no);
        QCOMPARE(getACNO(7), ac);
        QCOMPARE(getFHNO(7), fh);
    }

    // A read that fails is not "no row takes this number": the allocator answers
    // -1, so the number of a room or light that could not be read is never
    // handed out twice.
    void failedReadGivesNoNumber_data()
    {
        QTest::addColumn<QString>("failure");
        QTest::newRow("table missing") << "drop";
        QTest::newRow("second row fails to read") << "step";
    }
    void failedReadGivesNoNumber()
    {
        QFETCH(QString, failure);
        for (int id : {1, 2, 3})
            exec(QStringLiteral("insert into tbl_mood(mood_id) values(%1)").arg(id));
        addAirConditioner(1, 0);
        addAirConditioner(1, 1);
        addAirConditioner(1, 2);
        if (failure == QLatin1String("drop")) {
            exec(QStringLiteral("drop table tbl_mood"));
            exec(QStringLiteral("drop table tbl_air_conditioner"));
        }
        const QList<QPair<QString, Allocator>> allocators = {
            {QStringLiteral("from tbl_mood"), getMoodId},
            {QStringLiteral("air_conditioner_no<=1"), [] { return getACNO(1); }},
            {QStringLiteral("air_conditioner_no>1"), [] { return getFHNO(1); }},
        };
        for (const auto &allocator : allocators) {
            StepFault::arm(allocator.first, failure == QLatin1String("step") ? 2 : 0);
            QCOMPARE(allocator.second(), -1);
            QCOMPARE(StepFault::fired(), failure == QLatin1String("step"));
            StepFault::disarm();
        }
        if (failure == QLatin1String("step"))
            QCOMPARE(getMoodId(), 4);
    }
};

VARNO_TEST_MAIN(TestIdAllocators)
#include "tst_idallocators.moc"
