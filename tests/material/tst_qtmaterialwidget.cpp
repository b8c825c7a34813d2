// Plain material widget and the label materializer.

#include "../support/testmain.h"
#include "materialtestutil.h"

#include "qtmaterializer.h"
#include "qtmaterializerlabel.h"
#include "qtmaterialstyle.h"
#include "qtmaterialtheme.h"
#include "qtmaterialwidget.h"

#include <QLabel>

namespace {

const QColor DarkBackground(0x26, 0x34, 0x40);

} // namespace

class TestMaterialWidget : public QObject
{
    Q_OBJECT

private slots:
    void widgetFillsWithCanvasColour();
    void widgetOwnColour();
    void materialiserGivesBodyFontAndTextColour();
    void materialiserFollowsThemeChanges();
    void screenshotOnDarkBackground();
};

void TestMaterialWidget::widgetFillsWithCanvasColour()
{
    QtMaterialWidget widget;
    QVERIFY(widget.useThemeColors());
    QCOMPARE(widget.backgroundColor(),
             QtMaterialStyle::instance().themeColor(Material::CanvasColor));
    widget.resize(40, 30);
    widget.show();
    QVERIFY(QTest::qWaitForWindowExposed(&widget));
    const QImage image = widget.grab().toImage();
    QCOMPARE(materialtest::countColor(image, Qt::white), 40 * 30);
}

void TestMaterialWidget::widgetOwnColour()
{
    QtMaterialWidget widget;
    widget.setBackgroundColor(Qt::red);
    QVERIFY(!widget.useThemeColors());
    QCOMPARE(widget.backgroundColor(), QColor(Qt::red));
    widget.resize(20, 20);
    QCOMPARE(materialtest::countColor(widget.grab().toImage(), Qt::red), 400);

    widget.setUseThemeColors(true);
    QCOMPARE(widget.backgroundColor(), QColor(Qt::white));
    // An invalid own colour falls back to the theme.
    widget.setBackgroundColor(QColor());
    QVERIFY(!widget.useThemeColors());
    QCOMPARE(widget.backgroundColor(), QColor(Qt::white));
}

void TestMaterialWidget::materialiserGivesBodyFontAndTextColour()
{
    QLabel label("Text");
    QCOMPARE(QtMaterializer::materialise(&label), &label);
    QCOMPARE(label.findChildren<QtMaterializerLabel *>().size(), 1);

    const QFont body = QtMaterialStyle::instance().themeFont(Material::Body1);
    QCOMPARE(label.font().family(), body.family());
    QCOMPARE(label.font().pointSizeF(), body.pointSizeF());
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        QCOMPARE(label.palette().color(group, QPalette::WindowText), QColor("#212121"));
    QCOMPARE(QtMaterializer::materialise(nullptr), static_cast<QLabel *>(nullptr));
}

void TestMaterialWidget::materialiserFollowsThemeChanges()
{
    QLabel label("Text");
    QtMaterializer::materialise(&label);

    QtMaterialStyle &style = QtMaterialStyle::instance();
    auto *theme = new QtMaterialTheme;
    theme->setColor(Material::TextColor, QColor(Qt::red));
    QFont big = theme->font(Material::Body1);
    big.setPointSize(30);
    theme->setFont(Material::Body1, big);
    style.setTheme(theme);

    QCOMPARE(label.palette().color(QPalette::WindowText), QColor(Qt::red));
    QCOMPARE(label.font().pointSize(), 30);

    // A label changed by hand gets the theme again at the next style change.
    label.setFont(QFont("DejaVu Sans", 8));
    style.setTheme(new QtMaterialTheme);
    QCOMPARE(label.palette().color(QPalette::WindowText), QColor("#212121"));
    QCOMPARE(label.font().pointSize(), 16);
    QTest::qWait(10);
}

void TestMaterialWidget::screenshotOnDarkBackground()
{
    QWidget host;
    QPalette p = host.palette();
    p.setColor(QPalette::Window, DarkBackground);
    host.setPalette(p);
    host.setAutoFillBackground(true);
    host.resize(260, 100);

    auto *paper = new QtMaterialWidget(&host);
    paper->setGeometry(10, 10, 240, 80);
    auto *label = QtMaterializer::materialise(new QLabel("Materialised label", paper));
    label->setGeometry(12, 20, 220, 40);
    host.show();
    QVERIFY(QTest::qWaitForWindowExposed(&host));

    const QImage image = materialtest::screenshot(&host, "materialwidget");
    QCOMPARE(materialtest::countColor(image, DarkBackground, QRect(0, 0, 260, 10)), 2600);
    QVERIFY(materialtest::countColor(image, Qt::white, QRect(10, 10, 240, 80)) > 240 * 60);
    QVERIFY(materialtest::countColor(image, QColor("#212121"), QRect(22, 30, 220, 40), 40) > 20);
}

VARNO_TEST_MAIN(TestMaterialWidget)
#include "tst_qtmaterialwidget.moc"
