// The retry lanes on their own, with time as plain numbers: how long a failing lane
// waits, the order in which due lanes are visited, items put back, and which items
// go at the limit.

#include "testmain.h"

#include "store/retrylanes.h"

#include <QtTest>

namespace {

using Lanes = RetryLanes<int, int>;

// Runs script on lanes and answers what it met, separated by spaces: "key:item" for
// each head taken, "-n" when n items were given up. The steps:
//   +K    a new item to lane K (K*10, K*10+1, ...)
//   K!T   the head of lane K fails at time T
//   pT    the lanes whose next try has come by time T become due
//   vN    the heads of the first N due lanes are taken; v* takes every due one
//   <K    the item taken last from lane K goes back to the head of its lane
QString run(Lanes &lanes, const QString &script)
{
    QHash<int, int> added;
    QHash<int, QList<int>> taken;
    QStringList met;
    const auto gaveUp = [&met](int count) {
        if (count > 0)
            met << QStringLiteral("-%1").arg(count);
    };
    for (const QString &step : script.split(' ', Qt::SkipEmptyParts)) {
        const QChar op = step.at(0);
        const int arg = step.mid(1).toInt();
        if (op == '+') {
            gaveUp(lanes.append(arg, arg * 10 + added[arg]++));
        } else if (step.contains('!')) {
            gaveUp(lanes.failed(step.section('!', 0, 0).toInt(), step.section('!', 1).toInt()));
        } else if (op == 'p') {
            lanes.promote(arg);
        } else if (op == '<' && !taken[arg].isEmpty()) {
            lanes.putBack(arg, taken[arg].takeLast());
        } else if (op == 'v') {
            int key = 0;
            for (int n = step == "v*" ? -1 : arg; n != 0 && lanes.nextDue(key); --n) {
                taken[key] << lanes.head(key);
                met << QStringLiteral("%1:%2").arg(key).arg(lanes.head(key));
                lanes.done(key);
            }
        }
    }
    return met.join(' ');
}

// Every item still kept, lane by lane in the order of the keys.
QString left(Lanes &lanes)
{
    QStringList items;
    for (int key = 0; key < 10; ++key) {
        for (; lanes.holds(key); lanes.done(key))
            items << QStringLiteral("%1:%2").arg(key).arg(lanes.head(key));
    }
    return items.join(' ');
}

} // namespace

class TestRetryLanes : public QObject
{
    Q_OBJECT

private slots:
    // A lane failing at each try waits 1, then twice as long each time, but never
    // longer than 30; it is not due a moment before its next try and due at it.
    void waitGrows_data()
    {
        QTest::addColumn<int>("failures");
        QTest::addColumn<qint64>("wait");
        QTest::newRow("first") << 1 << qint64(1);
        QTest::newRow("second") << 2 << qint64(2);
        QTest::newRow("fifth") << 5 << qint64(16);
        QTest::newRow("sixth, at the cap") << 6 << qint64(30);
        QTest::newRow("tenth") << 10 << qint64(30);
    }
    void waitGrows()
    {
        QFETCH(int, failures);
        Lanes lanes(100);
        lanes.append(7, 70);
        qint64 now = 1000;
        for (int i = 0; i < failures; ++i) {
            QVERIFY(lanes.isDue(7));
            lanes.failed(7, now);
            QVERIFY(!lanes.isDue(7));
            lanes.promote(lanes.nextTry() - 1);
            QVERIFY(!lanes.isDue(7));
            if (i + 1 < failures) {
                now = lanes.nextTry();
                lanes.promote(now);
            }
        }
        QTEST(lanes.nextTry() - now, "wait");
        QCOMPARE(lanes.waiting(), 1);
    }

    void drains_data()
    {
        QTest::addColumn<int>("limit");
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("met");
        QTest::addColumn<QString>("left");
        const QString nine = "+1 +1 +1 +2 +2 +2 +3 +3 +3 +9 +9 ";
        QTest::newRow("only due lanes, in the order they became due")
            << 100 << "+3 +8 +5 3!2 8!0 5!1 p0 v* p9 v*"
            << "8:80 5:50 3:30" << "";
        QTest::newRow("on from the lane where it stopped, then those due since")
            << 100 << "+1 1!0 +7 +7 +4 v1 p1 +2 v*"
            << "7:70 7:71 4:40 1:10 2:20" << "";
        QTest::newRow("put back at the head, in the order taken")
            << 100 << "+1 +1 +1 +2 v2 <1 <1 v*"
            << "1:10 1:11 1:10 1:11 1:12 2:20" << "";
        QTest::newRow("lanes put back anew go first, in the order taken")
            << 100 << "+1 +2 +3 v2 <2 <1 v*"
            << "1:10 2:20 1:10 2:20 3:30" << "";
        QTest::newRow("the limit: only the failing lane's items count")
            << 1 << nine + "2!0"
            << "-2" << "1:10 1:11 1:12 2:22 3:30 3:31 3:32 9:90 9:91";
        QTest::newRow("the limit: the lane failing longest, not the first made")
            << 4 << nine + "3!0 1!0"
            << "-2" << "1:10 1:11 1:12 2:20 2:21 2:22 3:32 9:90 9:91";
        QTest::newRow("the limit: the longest emptied, then the next longest")
            << 2 << nine + "2!0 3!0 1!0"
            << "-1 -3 -3" << "1:11 1:12 9:90 9:91";
        QTest::newRow("the limit: an item added to a lane failing later")
            << 6 << nine + "3!0 1!0 +1"
            << "-1" << "1:10 1:11 1:12 1:13 2:20 2:21 2:22 3:31 3:32 9:90 9:91";
    }
    void drains()
    {
        QFETCH(int, limit);
        QFETCH(QString, script);
        Lanes lanes(limit);
        QTEST(run(lanes, script), "met");
        QVERIFY(lanes.waiting() <= limit);
        QTEST(left(lanes), "left");
        QVERIFY(lanes.isEmpty() && lanes.size() == 0 && lanes.waiting() == 0);
    }
};

VARNO_TEST_MAIN(TestRetryLanes)
#include "tst_retrylanes.moc"
