// The retry lanes on their own, with time as plain numbers.

#include "testmain.h"

#include "store/retrylanes.h"

#include <QtTest>

using Lanes = RetryLanes<int, int>;

class TestRetryLanes : public QObject
{
    Q_OBJECT

private slots:
    // Steps: +K an item to lane K (K*10, K*10+1, ...); K!T lane K's head fails at T; @ the next try;
    // pT the lanes whose next try has come by T become due; vN (v*) the heads of the first N (all) due
    // lanes are taken; <K the item taken last from lane K goes back; xV item V is removed wherever it
    // waits; eK<V lane K gives up its items below V from the head on; w the waiting count. Met: "K:item"
    // for each head taken, "-n" when n items were given up, "@T", "wN", then after "|" the items left.
    void drains_data()
    {
        QTest::addColumn<int>("limit");
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("met");
        QTest::newRow("waits 1, twice as long, up to 30; due at its next try, not sooner") << 1
            << "+7 7!0 @ 7!1 @ 7!3 @ 7!7 @ 7!15 @ 7!31 @ p60 v1 p61 v1" << "@1 @3 @7 @15 @31 @61 7:70 |";
        const QString nine = "+1 +1 +1 +2 +2 +2 +3 +3 +3 +9 +9 ";
        QTest::newRow("only due lanes, in the order they became due")
            << 100 << "+3 +8 +5 3!2 8!0 5!1 p0 v* p9 v*" << "8:80 5:50 3:30 |";
        QTest::newRow("on from the lane where it stopped, then those due since")
            << 100 << "+1 1!0 +7 +7 +4 v1 p1 +2 v*" << "7:70 7:71 4:40 1:10 2:20 |";
        QTest::newRow("put back at the head, in the order taken")
            << 100 << "+1 +1 +1 +2 v2 <1 <1 v*" << "1:10 1:11 1:10 1:11 1:12 2:20 |";
        QTest::newRow("lanes put back anew go first, in the order taken")
            << 100 << "+1 +2 +3 v2 <2 <1 v*" << "1:10 2:20 1:10 2:20 3:30 |";
        QTest::newRow("the limit: only the failing lane's items count")
            << 1 << nine + "2!0" << "-2 | 1:10 1:11 1:12 2:22 3:30 3:31 3:32 9:90 9:91";
        QTest::newRow("the limit: the lane failing longest, not the first made")
            << 4 << nine + "3!0 1!0" << "-2 | 1:10 1:11 1:12 2:20 2:21 2:22 3:32 9:90 9:91";
        QTest::newRow("the limit: the longest emptied, then the next longest")
            << 2 << nine + "2!0 3!0 1!0" << "-1 -3 -3 | 1:11 1:12 9:90 9:91";
        QTest::newRow("the limit: an item added to a lane failing later")
            << 6 << nine + "3!0 1!0 +1" << "-1 | 1:10 1:11 1:12 1:13 2:20 2:21 2:22 3:31 3:32 9:90 9:91";
        QTest::newRow("removed items wait no more, and free room below the limit")
            << 2 << "+1 +1 +2 1!0 x11 w +1 w" << "-1 w1 w2 | 1:10 1:12 2:20";
        QTest::newRow("put back on a failing lane: it waits again")
            << 2 << "+1 +1 1!0 p1 v1 1!2 <1 w +1" << "1:10 w2 -1 | 1:11 1:12";
        QTest::newRow("every expired item given up, not only the head")
            << 100 << "+1 +1 +1 +2 1!0 e1<12 w e2<99 w" << "-2 w1 -1 w1 | 1:12";
    }
    void drains()
    {
        QFETCH(int, limit);
        QFETCH(QString, script);
        Lanes lanes(limit);
        QHash<int, int> added;
        QHash<int, QList<int>> taken;
        QStringList met;
        const auto gaveUp = [&met](int n) { met << (n > 0 ? QStringLiteral("-%1").arg(n) : QString()); };
        for (const QString &step : script.split(' ', Qt::SkipEmptyParts)) {
            const int arg = step.mid(1).toInt();
            if (step[0] == '+')
                gaveUp(lanes.append(arg, arg * 10 + added[arg]++));
            else if (step.contains('!'))
                gaveUp(lanes.failed(step.section('!', 0, 0).toInt(), step.section('!', 1).toInt()));
            else if (step[0] == '@')
                met << QStringLiteral("@%1").arg(lanes.nextTry());
            else if (step[0] == 'p')
                lanes.promote(arg);
            else if (step[0] == '<' && !taken[arg].isEmpty())
                lanes.putBack(arg, taken[arg].takeLast());
            else if (step[0] == 'x')
                gaveUp(lanes.removeIf([arg](int item) { return item == arg; }));
            else if (step[0] == 'e')
                gaveUp(lanes.giveUpExpired(step.mid(1).section('<', 0, 0).toInt(), [&step](int item) {
                    return item < step.section('<', 1).toInt();
                }));
            else if (step[0] == 'w')
                met << QStringLiteral("w%1").arg(lanes.waiting());
            int count = step[0] != 'v' ? 0 : step == "v*" ? 100 : arg;
            for (int key = 0; count-- > 0 && lanes.nextDue(key); lanes.done(key)) {
                taken[key] << lanes.head(key);
                met << QStringLiteral("%1:%2").arg(key).arg(lanes.head(key));
            }
        }
        QVERIFY(lanes.waiting() <= limit);
        met << "|";
        for (int key = 0; key < 10; ++key) {
            for (; lanes.holds(key); lanes.done(key))
                met << QStringLiteral("%1:%2").arg(key).arg(lanes.head(key));
        }
        met.removeAll(QString());
        QTEST(met.join(' '), "met");
        QVERIFY(lanes.isEmpty() && lanes.size() == 0 && lanes.waiting() == 0);
    }
};

VARNO_TEST_MAIN(TestRetryLanes)
#include "tst_retrylanes.moc"
