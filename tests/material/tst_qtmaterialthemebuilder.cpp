// Theme builder: themes from two colours, random themes, luminance, contrast and the
// contrasted colour.

#include "../support/testmain.h"

#include "qtmaterialtheme.h"
#include "qtmaterialthemebuilder.h"

#include <cstdlib>

class TestMaterialThemeBuilder : public QObject
{
    Q_OBJECT

private slots:
    void themeFromColors_data();
    void themeFromColors();
    void onColorsFollowDarkness_data();
    void onColorsFollowDarkness();
    void randomTheme();
    void luminance_data();
    void luminance();
    void contrast_data();
    void contrast();
    void contrastedColor_data();
    void contrastedColor();
};

void TestMaterialThemeBuilder::themeFromColors_data()
{
    QTest::addColumn<bool>("dark");
    QTest::addColumn<QColor>("canvas");
    QTest::addColumn<QColor>("text");
    QTest::addColumn<QColor>("border");

    QTest::newRow("light") << false << QColor("#E1E1E1") << QColor("#323232")
                           << QColor("#C8C8C8");
    QTest::newRow("dark") << true << QColor("#323232") << QColor("#E1E1E1")
                          << QColor("#4B4B4B");
}

void TestMaterialThemeBuilder::themeFromColors()
{
    QFETCH(bool, dark);
    QFETCH(QColor, canvas);
    QFETCH(QColor, text);
    QFETCH(QColor, border);

    const QColor primary("#2196F3");
    const QColor accent("#FF9800");
    QScopedPointer<QtMaterialTheme> theme(
        QtMaterialThemeBuilder::createThemeFromColors(primary, accent, dark));
    QVERIFY(theme);
    QVERIFY(!theme->parent());

    QCOMPARE(theme->color(Material::PrimaryColor), primary);
    QCOMPARE(theme->color(Material::PrimaryLightColor), primary.lighter(150));
    QCOMPARE(theme->color(Material::PrimaryDarkColor), primary.darker(200));
    QCOMPARE(theme->color(Material::AccentColor), accent);
    QCOMPARE(theme->color(Material::AccentLightColor), accent.lighter(150));
    QCOMPARE(theme->color(Material::AccentDarkColor), accent.darker(200));
    QCOMPARE(theme->color(Material::CanvasColor), canvas);
    QCOMPARE(theme->color(Material::TextColor), text);
    QCOMPARE(theme->color(Material::BorderColor), border);

    // Slots 9, 12, 13 and 14 keep the defaults.
    const QtMaterialTheme defaults;
    for (Material::ThemeColor slot : {Material::AlternateTextColor, Material::DisabledColor,
                                      Material::DisabledLightColor,
                                      Material::DisabledFillColor})
        QCOMPARE(theme->color(slot), defaults.color(slot));
    // Fonts are the default ones.
    QCOMPARE(theme->font(Material::Body1), defaults.font(Material::Body1));
}

void TestMaterialThemeBuilder::onColorsFollowDarkness_data()
{
    QTest::addColumn<QColor>("color");
    QTest::addColumn<QColor>("expected");

    // CMYK black below 129 (a light colour) gives black, else white.
    QTest::newRow("white") << QColor(Qt::white) << QColor(Qt::black);
    QTest::newRow("yellow") << QColor("#FFEB3B") << QColor(Qt::black);
    QTest::newRow("blue 500") << QColor("#2196F3") << QColor(Qt::black);
    QTest::newRow("black") << QColor(Qt::black) << QColor(Qt::white);
    QTest::newRow("grey 900") << QColor("#212121") << QColor(Qt::white);
    // The CMYK black of a pure hue is 255 less its value: 129 at 126, 128 at 127.
    QTest::newRow("value 126") << QColor(126, 0, 0) << QColor(Qt::white);
    QTest::newRow("value 127") << QColor(127, 0, 0) << QColor(Qt::black);
    QTest::newRow("blue value 126") << QColor(0, 0, 126) << QColor(Qt::white);
}

void TestMaterialThemeBuilder::onColorsFollowDarkness()
{
    QFETCH(QColor, color);
    QFETCH(QColor, expected);

    QScopedPointer<QtMaterialTheme> theme(
        QtMaterialThemeBuilder::createThemeFromColors(color, color, false));
    QCOMPARE(theme->color(Material::OnPrimaryColor), expected);
    QCOMPARE(theme->color(Material::BlackColor), expected);
}

void TestMaterialThemeBuilder::randomTheme()
{
    std::srand(7);
    int dark = 0;
    for (int i = 0; i < 40; ++i) {
        QScopedPointer<QtMaterialTheme> theme(QtMaterialThemeBuilder::createRandomTheme());
        QVERIFY(theme);
        QVERIFY(!theme->parent());

        const QColor primary = theme->color(Material::PrimaryColor);
        QVERIFY(primary.hsvSaturation() >= 80 && primary.hsvSaturation() <= 254);
        QVERIFY(primary.value() >= 80 && primary.value() <= 254);
        QCOMPARE(primary.alpha(), 255);

        const QColor accent = theme->color(Material::AccentColor);
        QCOMPARE(accent.hsvSaturation(), 250);
        QCOMPARE(accent.value(), 250);
        // The accent hue lies 50 to 309 degrees from the primary's.
        const int distance = (accent.hsvHue() - primary.hsvHue() + 360) % 360;
        QVERIFY2(distance >= 49 && distance <= 310, qPrintable(QString::number(distance)));

        const QColor canvas = theme->color(Material::CanvasColor);
        QVERIFY(canvas == QColor("#323232") || canvas == QColor("#E1E1E1"));
        dark += canvas == QColor("#323232");
    }
    // Both kinds come up.
    QVERIFY(dark > 0 && dark < 40);
}

void TestMaterialThemeBuilder::luminance_data()
{
    QTest::addColumn<QColor>("color");
    QTest::addColumn<float>("expected");

    QTest::newRow("black") << QColor(Qt::black) << 0.0f;
    QTest::newRow("white") << QColor(Qt::white) << 1.0f;
    QTest::newRow("red") << QColor(Qt::red) << 0.2126f;
    QTest::newRow("green") << QColor(Qt::green) << 0.7152f;
    QTest::newRow("blue") << QColor(Qt::blue) << 0.0722f;
    // 10 / 255 lies below the linear threshold: 0.0392 / 12.92 each.
    QTest::newRow("very dark grey") << QColor(10, 10, 10) << float(10.0 / 255 / 12.92);
    QTest::newRow("mid grey") << QColor(128, 128, 128) << 0.2158605f;
}

void TestMaterialThemeBuilder::luminance()
{
    QFETCH(QColor, color);
    QFETCH(float, expected);
    QVERIFY2(qAbs(QtMaterialThemeBuilder::colorRLuminance(color) - expected) < 1e-5f,
             qPrintable(QString::number(QtMaterialThemeBuilder::colorRLuminance(color))));
}

void TestMaterialThemeBuilder::contrast_data()
{
    QTest::addColumn<QColor>("a");
    QTest::addColumn<QColor>("b");
    QTest::addColumn<float>("expected");

    QTest::newRow("black on white") << QColor(Qt::black) << QColor(Qt::white) << 21.0f;
    QTest::newRow("white on black") << QColor(Qt::white) << QColor(Qt::black) << 21.0f;
    QTest::newRow("same blue") << QColor("#2196F3") << QColor("#2196F3") << 1.0f;
    QTest::newRow("same black") << QColor(Qt::black) << QColor(Qt::black) << 1.0f;
    QTest::newRow("mid grey on white") << QColor(128, 128, 128) << QColor(Qt::white)
                                       << float(1.05 / (0.2158605 + 0.05));
}

void TestMaterialThemeBuilder::contrast()
{
    QFETCH(QColor, a);
    QFETCH(QColor, b);
    QFETCH(float, expected);
    const float c = QtMaterialThemeBuilder::colorContrast(a, b);
    QVERIFY2(qAbs(c - expected) < 1e-4f, qPrintable(QString::number(c)));
}

void TestMaterialThemeBuilder::contrastedColor_data()
{
    QTest::addColumn<QColor>("color");
    QTest::addColumn<QColor>("background");
    QTest::addColumn<float>("ratio");
    QTest::addColumn<int>("factor");
    QTest::addColumn<int>("steps");

    // A ratio below 1 is raised to 1, which every pair meets: one step.
    QTest::newRow("ratio 0.5, darker than ground") << QColor(100, 100, 100)
                                                   << QColor(Qt::white) << 0.5f << 105 << 1;
    QTest::newRow("ratio 0.5, lighter than ground") << QColor(100, 100, 100)
                                                    << QColor(Qt::black) << 0.5f << 95 << 1;
    // Mid grey on white reaches 7 (the highest ratio asked for) after some darkening.
    QTest::newRow("mid grey on white, 20 is 7") << QColor(128, 128, 128) << QColor(Qt::white)
                                                << 20.0f << 105 << -1;
    QTest::newRow("mid grey on white, 4.5") << QColor(128, 128, 128) << QColor(Qt::white)
                                            << 4.5f << 105 << -1;
    // A dark grey on black is lightened, but never gets far: 31 steps at most.
    QTest::newRow("dark grey on black, 7") << QColor(10, 10, 10) << QColor(Qt::black) << 7.0f
                                           << 95 << 31;
}

void TestMaterialThemeBuilder::contrastedColor()
{
    QFETCH(QColor, color);
    QFETCH(QColor, background);
    QFETCH(float, ratio);
    QFETCH(int, factor);
    QFETCH(int, steps);

    const QColor result = QtMaterialThemeBuilder::contrastedColor(color, background, ratio);

    // Expected: step until a pass measured the wanted ratio, one step after it.
    const float wanted = qBound(1.0f, ratio, 7.0f);
    QColor expected = color;
    int taken = 0;
    for (; taken < 31;) {
        const float measured = QtMaterialThemeBuilder::colorContrast(expected, background);
        expected = expected.darker(factor);
        ++taken;
        if (measured >= wanted)
            break;
    }
    if (steps > 0)
        QCOMPARE(taken, steps);
    else
        QVERIFY(taken > 1 && taken < 31);
    QCOMPARE(result, expected);
    if (steps < 0)
        QVERIFY(QtMaterialThemeBuilder::colorContrast(result, background) >= wanted);
}

VARNO_TEST_MAIN(TestMaterialThemeBuilder)
#include "tst_qtmaterialthemebuilder.moc"
