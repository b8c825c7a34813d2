// Frame text fields, temperature scales and the small text validators.

#include "testmain.h"

#include "store/conversions.h"

#include <QByteArray>
#include <QtTest>

class TestConversions : public QObject
{
    Q_OBJECT

private slots:
    void letterFilter_data()
    {
        QTest::addColumn<QByteArray>("source");
        QTest::addColumn<int>("len");
        QTest::addColumn<bool>("stop");
        QTest::addColumn<int>("answer");
        QTest::addColumn<QByteArray>("copied"); // destination after the call (starts as 'x' fill)

        const QByteArray fill(8, 'x');
        QTest::newRow("length 0") << QByteArray("ABCDEFGH") << 0 << true << 0 << fill;
        QTest::newRow("negative length") << QByteArray("ABCDEFGH") << -3 << false << 0 << fill;
        QTest::newRow("all unset") << QByteArray(8, '\xFF') << 8 << false << 0 << fill;
        QTest::newRow("all unset, stop") << QByteArray(8, '\xFF') << 8 << true << 0 << fill;
        QTest::newRow("printable") << QByteArray("V1.02abc") << 8 << true << 0 << QByteArray("V1.02abc");
        QTest::newRow("zero at 5 stops")
            << QByteArray("V1.02\0zz", 8) << 8 << true << 5 << QByteArray("V1.02xxx");
        QTest::newRow("zero at 5 copied without stop")
            << QByteArray("V1.02\0zz", 8) << 8 << false << 0 << QByteArray("V1.02\0zz", 8);
        QTest::newRow("first byte non-printable") << QByteArray("\x01"
                                                                "BCDEFGH")
                                                  << 8 << true << 0 << fill;
        QTest::newRow("partly unset")
            << QByteArray("AB\xFF\xFF\xFF\xFF\xFF\xFF") << 8 << true << 2 << QByteArray("ABxxxxxx");
        QTest::newRow("only len bytes")
            << QByteArray("ABCDEFGH") << 3 << false << 0 << QByteArray("ABCxxxxx");
        QTest::newRow("tilde and blank kept")
            << QByteArray("~ ~ ~ ~ ") << 8 << true << 0 << QByteArray("~ ~ ~ ~ ");
        QTest::newRow("DEL stops") << QByteArray("abc\x7F"
                                                 "defg")
                                   << 8 << true << 3 << QByteArray("abcxxxxx");
    }
    void letterFilter()
    {
        QFETCH(QByteArray, source);
        QFETCH(int, len);
        QFETCH(bool, stop);
        QFETCH(int, answer);
        QFETCH(QByteArray, copied);
        QByteArray dst(8, 'x');
        QByteArray src = source;
        QCOMPARE(::letterFilter(reinterpret_cast<unsigned char *>(dst.data()),
                                reinterpret_cast<unsigned char *>(src.data()), len, stop),
                 answer);
        QCOMPARE(dst, copied);
    }

    void fahrenheit_data()
    {
        QTest::addColumn<int>("celsius");
        QTest::addColumn<int>("fahrenheit");
        QTest::newRow("freezing") << 0 << 32;
        QTest::newRow("room") << 25 << 77;
        QTest::newRow("body 98.6") << 37 << 99;
        QTest::newRow("minus forty") << -40 << -40;
        QTest::newRow("100") << 100 << 212;
        QTest::newRow("-18 gives -0.4") << -18 << 0;
        QTest::newRow("-20 gives -4") << -20 << -4;
        QTest::newRow("-21 gives -5.8") << -21 << -6;
    }
    void fahrenheit()
    {
        QFETCH(int, celsius);
        QFETCH(int, fahrenheit);
        QCOMPARE(get_Fahrenheit_Temperature(celsius), fahrenheit);
    }

    void celsius_data()
    {
        QTest::addColumn<int>("fahrenheit");
        QTest::addColumn<int>("celsius");
        QTest::newRow("32") << 32 << 0;
        QTest::newRow("77") << 77 << 25;
        QTest::newRow("33 gives 0.56") << 33 << 1;
        QTest::newRow("31 gives -0.56") << 31 << -1;
        QTest::newRow("-40") << -40 << -40;
        QTest::newRow("0 gives -17.8") << 0 << -18;
        QTest::newRow("212") << 212 << 100;
    }
    void celsius()
    {
        QFETCH(int, fahrenheit);
        QFETCH(int, celsius);
        QCOMPARE(get_Celsius_Temperature(fahrenheit), celsius);
    }

    void ipMac_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        QTest::newRow("eight pairs") << "01-A2-03-04-05-06-FF-08" << true;
        QTest::newRow("seven pairs") << "01-02-03-04-05-06-07" << false;
        QTest::newRow("nine pairs") << "01-02-03-04-05-06-07-08-09" << false;
        QTest::newRow("trailing dash") << "01-02-03-04-05-06-07-08-" << true;
        QTest::newRow("leading and doubled") << "-01-02--03-04-05-06-07-08" << true;
        QTest::newRow("no dash") << "0102030405060708" << false;
        QTest::newRow("empty") << "" << false;
        QTest::newRow("any eight pieces") << "a-bb-ccc-d-e-f-g-hello" << true;
    }
    void ipMac()
    {
        QFETCH(QString, text);
        QFETCH(bool, valid);
        QCOMPARE(isValidIpMacAddress(text), valid);
    }

    void checkNumber()
    {
        for (int c = 0; c < 256; ++c)
            QCOMPARE(::checkNumber(static_cast<unsigned char>(c)), c >= '0' && c <= '9');
    }

    void version_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<float>("version");
        QTest::newRow("V1.02") << "V1.02" << 1.02f;
        QTest::newRow("V12.5") << "V12.5" << 2.5f;
        QTest::newRow("3.141") << "3.141" << 3.14f;
        QTest::newRow("none") << "firmware" << 0.0f;
        QTest::newRow("point without digit after") << "v1. and 2.0" << 2.0f;
        QTest::newRow("empty") << "" << 0.0f;
        QTest::newRow("after non-ASCII") << QString::fromUtf8("版本 V2.07 beta") << 2.07f;

        const QString filler124(124, QLatin1Char('a'));
        QTest::newRow("run at 124, two digits cut by the buffer") << filler124 + "1.55" << 1.5f;
        QTest::newRow("run at 124 in a 127-byte text") << filler124 + "1.5" << 1.5f;
        QTest::newRow("run at 125 beyond 127 bytes") << QString(125, 'a') + "1.5" << 0.0f;
        QTest::newRow("run far beyond the buffer") << QString(300, 'a') + "V1.02" << 0.0f;
        // 42 three-byte characters fill 126 bytes; the run after them is cut off.
        QTest::newRow("long multi-byte text") << QString(42, QChar(0x6587)) + "1.5" << 0.0f;
        QTest::newRow("multi-byte text cut at a character")
            << QString(2, QChar(0x6587)) + "9.8" + QString(200, QChar(0x6587)) << 9.8f;
    }
    void version()
    {
        QFETCH(QString, text);
        QFETCH(float, version);
        const float got = getVersion(text);
        if (version == 0.0f)
            QCOMPARE(got, 0.0f);
        else
            QVERIFY2(qFuzzyCompare(got, version), qPrintable(QString::number(got)));
    }
};

VARNO_TEST_MAIN(TestConversions)
#include "tst_conversions.moc"
