// The minutes-and-seconds field: typing bounds, setText/getText, editing end.

#include "moods/timectrl.h"
#include "testmain.h"

#include <QtTest>
#include <qtmateriallineedit.h>

class TestTimeCtrl : public QObject
{
    Q_OBJECT
private slots:
    // action: "type" into the seconds field, "type-minutes", "set" the text, or set
    // it and then empty the minutes field and end its editing.
    void field_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("text");
        QTest::newRow("75 typed") << "type" << "75" << ":59" << "0:59";
        QTest::newRow("59 typed") << "type" << "59" << ":59" << "0:59";
        QTest::newRow("negative kept") << "type-minutes" << "-3" << "-3:" << "-3:0";
        QTest::newRow("90:10") << "set" << "90:10" << "59:10" << "59:10";
        QTest::newRow("7") << "set" << "7" << "7:0" << "7:0";
        QTest::newRow("empty") << "set" << "" << "0:0" << "0:0";
        QTest::newRow("0:5") << "set" << "0:5" << "0:5" << "0:5";
        QTest::newRow("beyond int") << "set" << "99999999999:3" << "59:3" << "59:3";
        QTest::newRow("no number") << "set" << ":40" << "0:0" << "0:0";
        QTest::newRow("emptied") << "empty" << "12:4" << "0:4" << "0:4";
    }

    void field()
    {
        QFETCH(QString, action);
        QFETCH(QString, input);
        QFETCH(QString, shown);
        QFETCH(QString, text);
        TimeCtrl time;
        if (action == QLatin1String("type")) {
            QTest::keyClicks(time.secondsField(), input);
        } else if (action == QLatin1String("type-minutes")) {
            QTest::keyClicks(time.minutesField(), input);
        } else {
            time.setText(input);
        }
        if (action == QLatin1String("empty")) {
            time.minutesField()->clear();
            QCOMPARE(time.getText(), text); // still being edited: reads as 0
            QCOMPARE(time.minutesField()->text(), QString());
            emit time.minutesField()->editingFinished();
        }
        QCOMPARE(time.minutesField()->text() + QLatin1Char(':') + time.secondsField()->text(), shown);
        QCOMPARE(time.getText(), text);
    }
};

VARNO_TEST_MAIN(TestTimeCtrl)
#include "tst_timectrl.moc"
