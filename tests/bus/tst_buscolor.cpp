// Colour conversions between RGB bytes and hue/saturation/luminance.

#include "testmain.h"

#include "bus/colorconversion.h"

#include <QtTest>

class TestBusColor : public QObject
{
    Q_OBJECT

private slots:
    void rgbToHsl_data();
    void rgbToHsl();
    void hslToRgb_data();
    void hslToRgb();
    void scale240_data();
    void scale240();
    void rgbToScale240();
};

void TestBusColor::rgbToHsl_data()
{
    QTest::addColumn<int>("r");
    QTest::addColumn<int>("g");
    QTest::addColumn<int>("b");
    QTest::addColumn<double>("hue");
    QTest::addColumn<double>("saturation");
    QTest::addColumn<double>("luminance");
    QTest::newRow("red") << 255 << 0 << 0 << 0.0 << 100.0 << 50.0;
    QTest::newRow("green") << 0 << 255 << 0 << 120.0 << 100.0 << 50.0;
    QTest::newRow("blue") << 0 << 0 << 255 << 240.0 << 100.0 << 50.0;
    QTest::newRow("red to purple") << 255 << 0 << 128 << 329.882 << 100.0 << 50.0;
    QTest::newRow("black") << 0 << 0 << 0 << 240.0 << 0.0 << 0.0;
    QTest::newRow("white") << 255 << 255 << 255 << 240.0 << 0.0 << 100.0;
    QTest::newRow("grey") << 128 << 128 << 128 << 240.0 << 0.0 << 50.196;
    QTest::newRow("dark teal, luminance below half") << 0 << 64 << 64 << 180.0 << 100.0 << 12.549;
    QTest::newRow("pale yellow, luminance above half")
        << 255 << 255 << 204 << 60.0 << 100.0 << 90.0;
    QTest::newRow("red and green tie goes to red") << 255 << 255 << 0 << 60.0 << 100.0 << 50.0;
}

void TestBusColor::rgbToHsl()
{
    QFETCH(int, r);
    QFETCH(int, g);
    QFETCH(int, b);
    QFETCH(double, hue);
    QFETCH(double, saturation);
    QFETCH(double, luminance);
    tagCOLOR_RGB rgb;
    rgb.red = static_cast<unsigned char>(r);
    rgb.green = static_cast<unsigned char>(g);
    rgb.blue = static_cast<unsigned char>(b);
    tagCOLOR_HSL hsl;
    RGBtoHSL(&rgb, &hsl);
    QVERIFY2(qAbs(hsl.hue - hue) < 0.01, qPrintable(QString::number(hsl.hue)));
    QVERIFY2(qAbs(hsl.saturation - saturation) < 0.01, qPrintable(QString::number(hsl.saturation)));
    QVERIFY2(qAbs(hsl.luminance - luminance) < 0.01, qPrintable(QString::number(hsl.luminance)));
}

void TestBusColor::hslToRgb_data()
{
    QTest::addColumn<double>("hue");
    QTest::addColumn<double>("saturation");
    QTest::addColumn<double>("luminance");
    QTest::addColumn<int>("r");
    QTest::addColumn<int>("g");
    QTest::addColumn<int>("b");
    QTest::newRow("red") << 0.0 << 100.0 << 50.0 << 255 << 0 << 0;
    QTest::newRow("green") << 120.0 << 100.0 << 50.0 << 0 << 255 << 0;
    QTest::newRow("blue") << 240.0 << 100.0 << 50.0 << 0 << 0 << 255;
    QTest::newRow("grey truncates 127.5") << 77.0 << 0.0 << 50.0 << 127 << 127 << 127;
    QTest::newRow("another hue, same grey") << 300.0 << 0.0 << 50.0 << 127 << 127 << 127;
    QTest::newRow("white") << 0.0 << 0.0 << 100.0 << 255 << 255 << 255;
    QTest::newRow("luminance above 100, grey") << 0.0 << 0.0 << 130.0 << 255 << 255 << 255;
    QTest::newRow("luminance above 100, colour") << 200.0 << 80.0 << 150.0 << 255 << 255 << 255;
    QTest::newRow("dark red") << 0.0 << 100.0 << 25.0 << 127 << 0 << 0;
    QTest::newRow("orange") << 30.0 << 100.0 << 50.0 << 255 << 127 << 0;
}

void TestBusColor::hslToRgb()
{
    QFETCH(double, hue);
    QFETCH(double, saturation);
    QFETCH(double, luminance);
    QFETCH(int, r);
    QFETCH(int, g);
    QFETCH(int, b);
    tagCOLOR_HSL hsl;
    hsl.hue = float(hue);
    hsl.saturation = float(saturation);
    hsl.luminance = float(luminance);
    tagCOLOR_RGB rgb;
    HSLtoRGB(&hsl, &rgb);
    QCOMPARE(int(rgb.red), r);
    QCOMPARE(int(rgb.green), g);
    QCOMPARE(int(rgb.blue), b);
}

void TestBusColor::scale240_data()
{
    QTest::addColumn<double>("h");
    QTest::addColumn<double>("s");
    QTest::addColumn<double>("l");
    QTest::addColumn<int>("r");
    QTest::addColumn<int>("g");
    QTest::addColumn<int>("b");
    QTest::newRow("green") << 80.0 << 240.0 << 120.0 << 0 << 255 << 0;
    QTest::newRow("white") << 160.0 << 0.0 << 240.0 << 255 << 255 << 255;
    QTest::newRow("red") << 0.0 << 240.0 << 120.0 << 255 << 0 << 0;
    QTest::newRow("black") << 100.0 << 120.0 << 0.0 << 0 << 0 << 0;
}

void TestBusColor::scale240()
{
    QFETCH(double, h);
    QFETCH(double, s);
    QFETCH(double, l);
    QFETCH(int, r);
    QFETCH(int, g);
    QFETCH(int, b);
    unsigned char red = 1;
    unsigned char green = 1;
    unsigned char blue = 1;
    HSL2RGB(float(h), float(s), float(l), &red, &green, &blue);
    QCOMPARE(int(red), r);
    QCOMPARE(int(green), g);
    QCOMPARE(int(blue), b);
}

void TestBusColor::rgbToScale240()
{
    float h = -1;
    float s = -1;
    float l = -1;
    RGB2HSL(128, 128, 128, &h, &s, &l);
    QVERIFY(qAbs(h - 160.0f) < 0.001f);
    QCOMPARE(s, 0.0f);
    QVERIFY(qAbs(l - 120.47f) < 0.01f);

    RGB2HSL(0, 0, 255, &h, &s, &l);
    QVERIFY(qAbs(h - 160.0f) < 0.001f);
    QVERIFY(qAbs(s - 240.0f) < 0.001f);
    QVERIFY(qAbs(l - 120.0f) < 0.001f);
}

VARNO_TEST_MAIN(TestBusColor)
#include "tst_buscolor.moc"
