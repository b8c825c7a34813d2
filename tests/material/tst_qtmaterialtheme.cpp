#include "materialtestutil.h"
#include "testmain.h"

#include "qtmaterialstyle.h"
#include "qtmaterialtheme.h"

#include <QFile>
#include <QFontDatabase>
#include <QFontInfo>
#include <QPainter>
#include <QPointer>
#include <QSignalSpy>
#include <QTest>

namespace {

// Counts the style-change events a widget receives.
class StyleProbe : public QWidget
{
public:
    int styleChanges = 0;

protected:
    bool event(QEvent *event) override
    {
        if (event->type() == QEvent::StyleChange)
            ++styleChanges;
        return QWidget::event(event);
    }
};

QColor rgba(int r, int g, int b, qreal alpha)
{
    QColor c(r, g, b);
    c.setAlphaF(alpha);
    return c;
}

} // namespace

class TestQtMaterialTheme : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void defaultColors_data();
    void defaultColors();
    void palette_data();
    void palette();
    void paletteIsComplete();
    void fonts_data();
    void fonts();
    void fontRoleOutOfRange();
    void setColorFromPalette();
    void iconPath_data();
    void iconPath();
    void iconsRender_data();
    void iconsRender();
    void missingIconIsEmpty();

    void instanceIsSingleton();
    void robotoIsAvailable();
    void setNullThemeChangesNothing();
    void setSameThemeTellsWidgetsButKeepsIt();
    void setNewThemeReplacesAndDeletesOld();
    void widgetWithOwnStyleIsSkipped();
};

void TestQtMaterialTheme::init()
{
    // Every test starts from a fresh default theme.
    QtMaterialStyle::instance().setTheme(new QtMaterialTheme);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void TestQtMaterialTheme::defaultColors_data()
{
    QTest::addColumn<int>("slot");
    QTest::addColumn<QColor>("expected");

    QTest::newRow("PrimaryColor") << int(Material::PrimaryColor) << QColor("#2196F3");
    QTest::newRow("PrimaryLightColor") << int(Material::PrimaryLightColor) << QColor("#BBDEFB");
    QTest::newRow("PrimaryDarkColor") << int(Material::PrimaryDarkColor) << QColor("#1976D2");
    QTest::newRow("OnPrimaryColor") << int(Material::OnPrimaryColor) << QColor("#FFFFFF");
    QTest::newRow("AccentColor") << int(Material::AccentColor) << QColor("#FF9800");
    QTest::newRow("AccentLightColor") << int(Material::AccentLightColor) << QColor("#FFAC33");
    QTest::newRow("AccentDarkColor") << int(Material::AccentDarkColor) << QColor("#B26A00");
    QTest::newRow("BlackColor") << int(Material::BlackColor) << QColor("#000000");
    QTest::newRow("TextColor") << int(Material::TextColor) << QColor("#212121");
    QTest::newRow("AlternateTextColor") << int(Material::AlternateTextColor) << QColor("#FFFFFF");
    QTest::newRow("CanvasColor") << int(Material::CanvasColor) << QColor("#FFFFFF");
    QTest::newRow("BorderColor") << int(Material::BorderColor) << QColor("#E0E0E0");
    QTest::newRow("DisabledColor") << int(Material::DisabledColor) << rgba(0, 0, 0, 0.26);
    QTest::newRow("DisabledLightColor") << int(Material::DisabledLightColor)
                                        << rgba(0, 0, 0, 0.12);
    QTest::newRow("DisabledFillColor") << int(Material::DisabledFillColor) << QColor("#E0E0E0");
}

void TestQtMaterialTheme::defaultColors()
{
    QFETCH(int, slot);
    QFETCH(QColor, expected);

    const QColor actual = QtMaterialStyle::instance().themeColor(Material::ThemeColor(slot));
    QVERIFY(actual.isValid());
    QCOMPARE(actual.rgb(), expected.rgb());
    QCOMPARE(actual.alphaF(), expected.alphaF());
    // The theme object answers the same as the style.
    QCOMPARE(QtMaterialStyle::instance().theme()->color(Material::ThemeColor(slot)), actual);
}

void TestQtMaterialTheme::palette_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QColor>("expected");

    QTest::newRow("0 red50") << 0 << QColor("#FFEBEE");
    QTest::newRow("5 red500") << 5 << QColor("#F44336");
    QTest::newRow("13 redA700") << 13 << QColor("#D50000");
    QTest::newRow("14 pink50") << int(Material::pink50) << QColor("#FCE4EC");
    QTest::newRow("47 deepPurple500") << int(Material::deepPurple500) << QColor("#673AB7");
    QTest::newRow("71 blue100") << 71 << QColor("#BBDEFB");
    QTest::newRow("75 blue500") << 75 << QColor("#2196F3");
    QTest::newRow("77 blue700") << 77 << QColor("#1976D2");
    QTest::newRow("108 cyanA100") << 108 << QColor("#84FFFF");
    QTest::newRow("131 green500") << int(Material::green500) << QColor("#4CAF50");
    QTest::newRow("201 orange500") << 201 << QColor("#FF9800");
    QTest::newRow("223 deepOrangeA700") << 223 << QColor("#DD2C00");
    QTest::newRow("224 brown50") << 224 << QColor("#EFEBE9");
    QTest::newRow("229 brown500") << 229 << QColor("#795548");
    QTest::newRow("234 blueGrey50") << 234 << QColor("#ECEFF1");
    QTest::newRow("243 blueGrey900") << 243 << QColor("#263238");
    QTest::newRow("247 grey300") << 247 << QColor("#E0E0E0");
    QTest::newRow("253 grey900") << 253 << QColor("#212121");
    QTest::newRow("254 black") << 254 << QColor("#000000");
    QTest::newRow("255 white") << 255 << QColor("#FFFFFF");
    QTest::newRow("256 transparent") << 256 << rgba(0, 0, 0, 0);
    QTest::newRow("257 blackAlpha100") << 257 << rgba(0, 0, 0, 1);
    QTest::newRow("258 blackAlpha87") << 258 << rgba(0, 0, 0, 0.87);
    QTest::newRow("259 blackAlpha54") << 259 << rgba(0, 0, 0, 0.54);
    QTest::newRow("260 blackAlpha26") << 260 << rgba(0, 0, 0, 0.26);
    QTest::newRow("261 blackAlpha12") << 261 << rgba(0, 0, 0, 0.12);
    QTest::newRow("262 whiteAlpha100") << 262 << rgba(255, 255, 255, 1);
    QTest::newRow("263 whiteAlpha87") << 263 << rgba(255, 255, 255, 0.87);
    QTest::newRow("264 whiteAlpha54") << 264 << rgba(255, 255, 255, 0.54);
}

void TestQtMaterialTheme::palette()
{
    QFETCH(int, index);
    QFETCH(QColor, expected);

    const QColor actual = QtMaterialTheme::color(Material::Color(index));
    QVERIFY(actual.isValid());
    QCOMPARE(actual.rgb(), expected.rgb());
    QCOMPARE(actual.alphaF(), expected.alphaF());
}

void TestQtMaterialTheme::paletteIsComplete()
{
    // Every entry is valid; the hues are opaque and differ from their neighbours.
    for (int i = 0; i <= Material::whiteAlpha54; ++i)
        QVERIFY2(QtMaterialTheme::color(Material::Color(i)).isValid(), qPrintable(QString::number(i)));
    for (int i = 1; i <= Material::grey900; ++i) {
        QCOMPARE(QtMaterialTheme::color(Material::Color(i)).alpha(), 255);
        QVERIFY2(QtMaterialTheme::color(Material::Color(i))
                     != QtMaterialTheme::color(Material::Color(i - 1)),
                 qPrintable(QString::number(i)));
    }
    // The table is built once and shared.
    QCOMPARE(&QtMaterialTheme::color(Material::blue500), &QtMaterialTheme::color(Material::blue500));
}

void TestQtMaterialTheme::fonts_data()
{
    QTest::addColumn<int>("role");
    QTest::addColumn<int>("pointSize");
    QTest::addColumn<int>("weight");
    QTest::addColumn<qreal>("spacing");
    QTest::addColumn<bool>("upperCase");

    QTest::newRow("Headline1") << int(Material::Headline1) << 96 << 25 << -1.5 << false;
    QTest::newRow("Headline2") << int(Material::Headline2) << 60 << 25 << -0.5 << false;
    QTest::newRow("Headline3") << int(Material::Headline3) << 48 << 50 << 0.0 << false;
    QTest::newRow("Headline4") << int(Material::Headline4) << 34 << 50 << 0.25 << false;
    QTest::newRow("Headline5") << int(Material::Headline5) << 24 << 50 << 0.0 << false;
    QTest::newRow("Headline6") << int(Material::Headline6) << 20 << 57 << 0.15 << false;
    QTest::newRow("Subtitle1") << int(Material::Subtitle1) << 16 << 50 << 0.15 << false;
    QTest::newRow("Subtitle2") << int(Material::Subtitle2) << 14 << 57 << 0.1 << false;
    QTest::newRow("Body1") << int(Material::Body1) << 16 << 50 << 0.5 << false;
    QTest::newRow("Body2") << int(Material::Body2) << 14 << 50 << 0.25 << false;
    QTest::newRow("ButtonText") << int(Material::ButtonText) << 14 << 57 << 1.25 << true;
    QTest::newRow("Caption") << int(Material::Caption) << 12 << 50 << 0.4 << false;
    QTest::newRow("Overline") << int(Material::Overline) << 10 << 50 << 1.5 << false;
}

void TestQtMaterialTheme::fonts()
{
    QFETCH(int, role);
    QFETCH(int, pointSize);
    QFETCH(int, weight);
    QFETCH(qreal, spacing);
    QFETCH(bool, upperCase);

    const QFont font = QtMaterialStyle::instance().themeFont(Material::FontType(role));
    QCOMPARE(font.family(), QStringLiteral("Roboto"));
    QCOMPARE(font.pointSize(), pointSize);
    QCOMPARE(font.weight(), weight);
    QCOMPARE(font.italic(), false);
    QCOMPARE(font.letterSpacingType(), QFont::AbsoluteSpacing);
    // QFont keeps the spacing in 1/64 pixel steps.
    QVERIFY2(qAbs(font.letterSpacing() - spacing) < 1.0 / 64,
             qPrintable(QString::number(font.letterSpacing())));
    QCOMPARE(font.capitalization(), upperCase ? QFont::AllUppercase : QFont::MixedCase);
}

void TestQtMaterialTheme::fontRoleOutOfRange()
{
    QtMaterialTheme theme;
    QCOMPARE(theme.font(Material::FontType(13)), theme.font(Material::Body1));
    QCOMPARE(theme.font(Material::FontType(40)), theme.font(Material::Body1));

    const QFont before = theme.font(Material::Body1);
    theme.setFont(Material::FontType(13), QFont(QStringLiteral("Serif"), 40));
    QCOMPARE(theme.font(Material::Body1), before);
    QCOMPARE(theme.font(Material::FontType(13)), before);

    QFont big(QStringLiteral("Roboto"), 33);
    theme.setFont(Material::Caption, big);
    QCOMPARE(theme.font(Material::Caption), big);
}

void TestQtMaterialTheme::setColorFromPalette()
{
    QtMaterialTheme theme;
    theme.setColor(Material::PrimaryColor, Material::red500);
    QCOMPARE(theme.color(Material::PrimaryColor), QColor("#F44336"));
    theme.setColor(Material::AccentColor, QColor(1, 2, 3));
    QCOMPARE(theme.color(Material::AccentColor), QColor(1, 2, 3));
    // A theme not handed to the style changes nothing there.
    QCOMPARE(QtMaterialStyle::instance().themeColor(Material::PrimaryColor), QColor("#2196F3"));
}

void TestQtMaterialTheme::iconPath_data()
{
    QTest::addColumn<QString>("category");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("expected");

    QTest::newRow("content/add") << "content" << "add"
                                 << ":/myImages/icons/qtmaterial/content/svg/production/ic_add_24px.svg";
    QTest::newRow("navigation/close")
        << "navigation" << "close"
        << ":/myImages/icons/qtmaterial/navigation/svg/production/ic_close_24px.svg";
    QTest::newRow("file/cloud_upload")
        << "file" << "cloud_upload"
        << ":/myImages/icons/qtmaterial/file/svg/production/ic_cloud_upload_24px.svg";
    QTest::newRow("empty") << "" << "" << ":/myImages/icons/qtmaterial//svg/production/ic__24px.svg";
}

void TestQtMaterialTheme::iconPath()
{
    QFETCH(QString, category);
    QFETCH(QString, name);
    QFETCH(QString, expected);

    QCOMPARE(QtMaterialTheme::iconPath(category, name), expected);
}

void TestQtMaterialTheme::iconsRender_data()
{
    QTest::addColumn<QString>("category");
    QTest::addColumn<QString>("name");

    // Every icon that the application asks for.
    const char *const icons[][2] = {
        {"navigation", "close"},          {"navigation", "menu"},
        {"navigation", "arrow_back"},     {"navigation", "expand_less"},
        {"content", "add"},               {"content", "remove"},
        {"content", "save"},              {"file", "cloud_upload"},
        {"file", "cloud_download"},       {"toggle", "check_box"},
        {"toggle", "check_box_outline_blank"}, {"toggle", "radio_button_checked"},
        {"toggle", "radio_button_unchecked"},
    };
    for (const auto &icon : icons)
        QTest::newRow(qPrintable(QString::fromLatin1(icon[0]) + QLatin1Char('/') + icon[1]))
            << QString::fromLatin1(icon[0]) << QString::fromLatin1(icon[1]);
}

void TestQtMaterialTheme::iconsRender()
{
    QFETCH(QString, category);
    QFETCH(QString, name);

    const QString path = QtMaterialTheme::iconPath(category, name);
    QVERIFY2(QFile::exists(path), qPrintable(path));

    const QIcon icon = QtMaterialTheme::icon(category, name);
    QVERIFY(!icon.isNull());
    const QImage image = icon.pixmap(48, 48).toImage().convertToFormat(QImage::Format_ARGB32);
    QCOMPARE(image.size(), QSize(48, 48));

    // A single-colour shape on a transparent ground: some pixels are covered, the
    // corners are clear, and no covered pixel has a colour other than black.
    int covered = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            if (qAlpha(p) == 0)
                continue;
            ++covered;
            QVERIFY2(qRed(p) == 0 && qGreen(p) == 0 && qBlue(p) == 0,
                     qPrintable(QStringLiteral("(%1,%2)").arg(x).arg(y)));
        }
    }
    QVERIFY2(covered > 48, qPrintable(QString::number(covered)));
    QVERIFY(covered < 48 * 48);
    QCOMPARE(qAlpha(image.pixel(0, 0)), 0);
    QCOMPARE(qAlpha(image.pixel(47, 47)), 0);

    // Saved on a light ground for a person to look at.
    QImage sheet(image.size(), QImage::Format_RGB32);
    sheet.fill(Qt::white);
    QPainter(&sheet).drawImage(0, 0, image);
    sheet.save(materialtest::screenshotDir() + QStringLiteral("/icon_%1_%2.png").arg(category, name));
}

void TestQtMaterialTheme::missingIconIsEmpty()
{
    const QIcon icon = QtMaterialTheme::icon(QStringLiteral("content"), QStringLiteral("no_such"));
    QVERIFY(icon.pixmap(24, 24).isNull());
}

void TestQtMaterialTheme::instanceIsSingleton()
{
    QtMaterialStyle *first = &QtMaterialStyle::instance();
    QCOMPARE(&QtMaterialStyle::instance(), first);
    QVERIFY(first->theme());
    QCOMPARE(first->theme()->parent(), first);

    // Later calls register no further fonts.
    const int families = QFontDatabase().families().size();
    QtMaterialStyle::instance();
    QCOMPARE(QFontDatabase().families().size(), families);
}

void TestQtMaterialTheme::robotoIsAvailable()
{
    QtMaterialStyle::instance();
    QVERIFY(QFontDatabase().families().contains(QStringLiteral("Roboto")));

    const QFontInfo body(QtMaterialStyle::instance().themeFont(Material::Body1));
    QCOMPARE(body.family(), QStringLiteral("Roboto"));
    const QFontInfo button(QtMaterialStyle::instance().themeFont(Material::ButtonText));
    QCOMPARE(button.family(), QStringLiteral("Roboto"));
    QCOMPARE(button.weight(), 57);
}

void TestQtMaterialTheme::setNullThemeChangesNothing()
{
    QtMaterialStyle &style = QtMaterialStyle::instance();
    QtMaterialTheme *current = style.theme();
    StyleProbe probe;
    QSignalSpy spy(&style, &QtMaterialStyle::themeChanged);

    style.setTheme(nullptr);

    QCOMPARE(style.theme(), current);
    QCOMPARE(probe.styleChanges, 0);
    QCOMPARE(spy.count(), 0);
}

void TestQtMaterialTheme::setSameThemeTellsWidgetsButKeepsIt()
{
    QtMaterialStyle &style = QtMaterialStyle::instance();
    QPointer<QtMaterialTheme> current = style.theme();
    StyleProbe probe;
    QSignalSpy spy(&style, &QtMaterialStyle::themeChanged);

    style.setTheme(current);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    QVERIFY(current);
    QCOMPARE(style.theme(), current.data());
    QCOMPARE(probe.styleChanges, 1);
    QCOMPARE(spy.count(), 1);
}

void TestQtMaterialTheme::setNewThemeReplacesAndDeletesOld()
{
    QtMaterialStyle &style = QtMaterialStyle::instance();
    QPointer<QtMaterialTheme> old = style.theme();
    StyleProbe probe;
    QSignalSpy spy(&style, &QtMaterialStyle::themeChanged);

    auto *theme = new QtMaterialTheme;
    theme->setColor(Material::PrimaryColor, Material::red500);
    style.setTheme(theme);

    QCOMPARE(style.theme(), theme);
    QCOMPARE(theme->parent(), &style);
    QCOMPARE(style.themeColor(Material::PrimaryColor), QColor("#F44336"));
    QCOMPARE(probe.styleChanges, 1);
    QCOMPARE(spy.count(), 1);

    // The old theme is deleted from the event loop, not at once.
    QVERIFY(old);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!old);
}

void TestQtMaterialTheme::widgetWithOwnStyleIsSkipped()
{
    StyleProbe own;
    own.setStyle(&QtMaterialStyle::instance());
    StyleProbe plain;
    const int ownBefore = own.styleChanges;

    QtMaterialStyle::instance().setTheme(new QtMaterialTheme);

    QCOMPARE(own.styleChanges, ownBefore);
    QCOMPARE(plain.styleChanges, 1);
}

VARNO_TEST_MAIN(TestQtMaterialTheme)
#include "tst_qtmaterialtheme.moc"
