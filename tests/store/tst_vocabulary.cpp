// The fixed rows of the DIY command vocabulary tables.

#include "testmain.h"

#include "store/cppsqlite3db.h"
#include "store/globals.h"
#include "store/queryhelpers.h"
#include "store/schema.h"
#include "store/vocabulary.h"

#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>

using Seeder = std::function<void()>;
Q_DECLARE_METATYPE(Seeder)

class TestVocabulary : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    int m_fileNo = 0;

    void exec(const QString &sql) { QVERIFY2(gl_sqlite3db.execDML(sql), qPrintable(sql)); }
    int count(const QString &sql) { return getValueFromDb(sql, QStringLiteral("n")); }
    void seedAll()
    {
        initTableFntType();
        initTableFntPrm1();
        initTableComP2Item();
        initTableComP3Item();
    }

    void addTables(const QString &table, const Seeder &seeder)
    {
        QTest::addRow("%s", qPrintable(table)) << table << seeder;
    }

private slots:
    void init()
    {
        gl_sqlite3db.close();
        gl_sqlite3db.setDbName(m_dir.filePath(QStringLiteral("voc%1.db3").arg(++m_fileNo)));
        for (const char *table : {"tbl_fnt_type", "tbl_fnt_prm1", "tbl_comp2_item", "tbl_comp3_item"})
            exec(createStatement(QString::fromLatin1(table)));
    }
    void cleanupTestCase() { gl_sqlite3db.close(); }

    void policyCounts_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<int>("policy");
        QTest::addColumn<int>("rows");
        auto add = [](const char *table, const QList<int> &counts) {
            for (int i = 0; i < counts.size(); ++i)
                QTest::addRow("%s policy %d", table, i + 1)
                    << QString::fromLatin1(table) << i + 1 << counts[i];
        };
        add("tbl_fnt_type", {19, 16, 16});
        add("tbl_fnt_prm1", {3, 39, 6});
        add("tbl_comp2_item", {2, 3, 61, 4, 5, 5, 10, 8, 4, 6, 4, 3, 6, 2, 4});
        add("tbl_comp3_item", {2, 2, 16, 80, 2, 22});
    }
    void policyCounts()
    {
        QFETCH(QString, table);
        QFETCH(int, policy);
        QFETCH(int, rows);
        seedAll();
        QCOMPARE(
            count(QStringLiteral("select count(*) as n from %1 where policy=%2").arg(table).arg(policy)),
            rows);
        // Positions run from 0 without gaps, and texts are unique within a list.
        QCOMPARE(count(QStringLiteral("select count(distinct [index]) as n from %1 where policy=%2 "
                                      "and [index]>=0 and [index]<%3")
                           .arg(table)
                           .arg(policy)
                           .arg(rows)),
                 rows);
        QCOMPARE(count(QStringLiteral("select count(distinct item) as n from %1 where policy=%2")
                           .arg(table)
                           .arg(policy)),
                 rows);
    }

    void seederReplacesWholeTable_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<Seeder>("seeder");
        QTest::addColumn<int>("rows");
        QTest::newRow("tbl_fnt_type") << "tbl_fnt_type" << Seeder(initTableFntType) << 51;
        QTest::newRow("tbl_fnt_prm1") << "tbl_fnt_prm1" << Seeder(initTableFntPrm1) << 48;
        QTest::newRow("tbl_comp2_item") << "tbl_comp2_item" << Seeder(initTableComP2Item) << 127;
        QTest::newRow("tbl_comp3_item") << "tbl_comp3_item" << Seeder(initTableComP3Item) << 124;
    }
    void seederReplacesWholeTable()
    {
        QFETCH(QString, table);
        QFETCH(Seeder, seeder);
        QFETCH(int, rows);
        exec(QStringLiteral("insert into %1(policy,[index],value,item) values(1,0,5,'stale')").arg(table));
        seeder();
        QCOMPARE(count(QStringLiteral("select count(*) as n from %1").arg(table)), rows);
        QVERIFY(!isRecordExist(QStringLiteral("select * from %1 where item='stale'").arg(table)));
        QStringList first;
        getTextsFromDb(QStringLiteral("select item from %1 order by id").arg(table), QStringLiteral("item"),
                       first);
        seeder();
        QStringList second;
        getTextsFromDb(QStringLiteral("select item from %1 order by id").arg(table), QStringLiteral("item"),
                       second);
        QCOMPARE(second, first);
        QCOMPARE(second.size(), rows);
    }

    void failedSeedKeepsOldRows_data() { seederReplacesWholeTable_data(); }
    void failedSeedKeepsOldRows()
    {
        QFETCH(QString, table);
        QFETCH(Seeder, seeder);
        // A table that refuses a late row of the seed: the delete and every insert
        // before it must be undone together.
        exec(QStringLiteral("drop table %1").arg(table));
        exec(
            createStatement(table).replace(QStringLiteral("item nvarchar"),
                                           QStringLiteral("item nvarchar check(item<>'UPB Scene' and "
                                                          "item<>'Panel FH x' and item<>'Play Specify Song' "
                                                          "and item<>'Reduce' and item<>'Open')")));
        exec(QStringLiteral("insert into %1(policy,[index],value,item) values(1,0,5,'old')").arg(table));
        seeder();
        QStringList items;
        QCOMPARE(
            getTextsFromDb(QStringLiteral("select item from %1").arg(table), QStringLiteral("item"), items),
            1);
        QCOMPARE(items, QStringList{QStringLiteral("old")});
    }

    void exactRows_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<int>("policy");
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("value");
        QTest::addColumn<QString>("item");
        auto row = [](const char *table, int policy, int index, int value, const QString &item) {
            QTest::addRow("%s %d/%d %s", table, policy, index, qPrintable(item))
                << QString::fromLatin1(table) << policy << index << value << item;
        };
        row("tbl_fnt_type", 1, 0, 0, "Invalid Switch");
        row("tbl_fnt_type", 1, 3, 88, "Universal Switch");
        row("tbl_fnt_type", 1, 18, 121, "Zigbee Channel");
        row("tbl_fnt_type", 2, 8, 12, "Infrared Control");
        row("tbl_fnt_type", 3, 3, 3, "Invalid Switch");
        row("tbl_fnt_type", 3, 8, 11, "Broadcast Curtain");
        row("tbl_fnt_type", 3, 11, 17, "Security Module");
        row("tbl_fnt_prm1", 1, 2, 2, "Remote");
        row("tbl_fnt_prm1", 2, 37, 45, "Panel AC x");
        row("tbl_fnt_prm1", 2, 38, 46, "Panel FH x");
        row("tbl_fnt_prm1", 3, 0, 1, "Source Control");
        row("tbl_fnt_prm1", 3, 2, 3, "Play List/Radio Channel");
        row("tbl_comp2_item", 1, 1, 255, "On");
        row("tbl_comp2_item", 2, 2, 2, "Off");
        row("tbl_comp2_item", 3, 0, 0,
            QString::fromUtf8("0\xC2\xB0"
                              "C"));
        row("tbl_comp2_item", 3, 25, 25,
            QString::fromUtf8("25\xC2\xB0"
                              "C"));
        row("tbl_comp2_item", 3, 60, 60,
            QString::fromUtf8("60\xC2\xB0"
                              "C"));
        row("tbl_comp2_item", 7, 5, 6, "Off/Disarm");
        row("tbl_comp2_item", 7, 9, 10, "Slient Panic");
        row("tbl_comp2_item", 8, 2, 3, "WIFI/FTP");
        row("tbl_comp2_item", 8, 4, 7, "AUX2");
        row("tbl_comp2_item", 13, 1, 4, "Set Temperature");
        row("tbl_comp2_item", 13, 5, 10, "Reduce");
        row("tbl_comp2_item", 15, 0, 3, "Floor Heater Power");
        row("tbl_comp3_item", 3, 0, 1, "Zone1 Reduce VOL");
        row("tbl_comp3_item", 3, 6, 13, "Zone2 VOL Value");
        row("tbl_comp3_item", 3, 15, 34, "Zone4 Mute");
        row("tbl_comp3_item", 4, 0, 79, "VOL:0%");
        row("tbl_comp3_item", 4, 1, 78, "VOL:1%");
        row("tbl_comp3_item", 4, 2, 77, "VOL:3%");
        row("tbl_comp3_item", 4, 78, 1, "VOL:99%");
        row("tbl_comp3_item", 4, 79, 0, "VOL:100%");
        row("tbl_comp3_item", 5, 0, 1, "OFF");
        row("tbl_comp3_item", 5, 1, 0, "ON");
        row("tbl_comp3_item", 6, 0, 0, "Close");
        row("tbl_comp3_item", 6, 21, 187, "Open");
    }
    void exactRows()
    {
        QFETCH(QString, table);
        QFETCH(int, policy);
        QFETCH(int, index);
        QFETCH(int, value);
        QFETCH(QString, item);
        seedAll();
        const QString where = QStringLiteral("where policy=%1 and [index]=%2").arg(policy).arg(index);
        QString text;
        QVERIFY(getTextFromDb(QStringLiteral("select item from %1 %2").arg(table, where),
                              QStringLiteral("item"), text));
        QCOMPARE(text, item);
        QCOMPARE(getValueFromDb(QStringLiteral("select value from %1 %2").arg(table, where),
                                QStringLiteral("value")),
                 value);
        // The editor's lookups by text and by value find the same position.
        QCOMPARE(getValueFromDb(QStringLiteral("select [index] from %1 where policy=%2 and item='%3'")
                                    .arg(table)
                                    .arg(policy)
                                    .arg(sqlText(item)),
                                QStringLiteral("index")),
                 index);
    }

    void textsAreStoredAsUtf8()
    {
        seedAll();
        QString hex;
        QVERIFY(getTextFromDb(
            QStringLiteral("select hex(item) as h from tbl_comp2_item where policy=3 and [index]=25"),
            QStringLiteral("h"), hex));
        QCOMPARE(hex, QStringLiteral("3235C2B043"));
    }

    void broadcastKindsShareValues()
    {
        seedAll();
        QSqlQuery q =
            gl_sqlite3db.execQuery(QStringLiteral("select value,flag,item from tbl_fnt_type where policy=1 "
                                                  "and (value=85 or value=89) order by id"));
        QStringList got;
        while (q.next())
            got << QStringLiteral("%1/%2/%3")
                       .arg(q.value(0).toInt())
                       .arg(q.value(1).toInt())
                       .arg(q.value(2).toString());
        q.finish();
        QCOMPARE(got, (QStringList{"85/0/Scene Switch", "89/0/Single Channel Lighting",
                                   "85/1/Broadcast Scene", "89/1/Broadcast Channel"}));
        QCOMPARE(count(QStringLiteral("select count(*) as n from tbl_fnt_type where flag<>0")), 2);
    }

    void editorListOfKinds()
    {
        seedAll();
        QStringList kinds;
        QCOMPARE(
            getTextsFromDb(QStringLiteral("select item from tbl_fnt_type where policy=1 and value !=117 "
                                          "and value !=118 order by [index] asc"),
                           QStringLiteral("item"), kinds),
            17);
        QCOMPARE(kinds.first(), QStringLiteral("Invalid Switch"));
        QCOMPARE(kinds.at(15), QStringLiteral("Modbus Register"));
        QCOMPARE(kinds.last(), QStringLiteral("Zigbee Channel"));
    }
};

VARNO_TEST_MAIN(TestVocabulary)
#include "tst_vocabulary.moc"
