// Tab bar and tabs: a new bar, adding, choosing and clearing tabs, how a tab
// paints itself, and the ink bar.

#include "materialtestutil.h"
#include "qtmaterialcanvas.h"
#include "qtmaterialgroupbox.h"
#include "qtmaterialrippleoverlay.h"
#include "qtmaterialstyle.h"
#include "qtmaterialtab.h"
#include "qtmaterialtabs.h"
#include "qtmaterialtabsinkbar.h"
#include "qtmaterialtheme.h"
#include "testmain.h"

#include <QGridLayout>
#include <QPainter>
#include <QPointer>
#include <QPropertyAnimation>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace materialtest;

namespace {

const QColor kBar(0x1F, 0x29, 0x33);
const QColor kLime(0xAB, 0xD2, 0x65);
const QColor kAccent(0xFF, 0x98, 0x00);
const QColor kWhite(Qt::white);
const QColor kRed(0xE5, 0x39, 0x35);

QtMaterialGroupBox *tabBoxOf(QtMaterialTabs *tabs)
{
    return tabs->findChild<QtMaterialGroupBox *>();
}

QtMaterialTab *tabAt(QtMaterialTabs *tabs, int index)
{
    QLayout *layout = tabBoxOf(tabs)->layout();
    if (!layout || !layout->itemAt(index))
        return nullptr;
    return qobject_cast<QtMaterialTab *>(layout->itemAt(index)->widget());
}

QImage grabImage(QWidget *w)
{
    return w->grab().toImage().convertToFormat(QImage::Format_ARGB32);
}

// A red square on transparent ground, written as a PNG picture.
QString writePicture(const QTemporaryDir &dir)
{
    QImage image(48, 48, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.fillRect(QRect(8, 8, 32, 32), kRed);
    painter.end();
    const QString path = dir.filePath(QStringLiteral("room.png"));
    image.save(path);
    return path;
}

} // namespace

class TestTabs : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void newBar();
    void newBarIsDark();
    void tabDefaults();
    void addingTabsMakesFirstCurrent();
    void tabsSitLeftAligned();
    void clickingATab();
    void setCurrentIndexAlwaysEmits_data();
    void setCurrentIndexAlwaysEmits();
    void setTabActiveChangesOnlyTheTab();
    void clearLeavesCurrentIndex();
    void tabAccessors_data();
    void tabAccessors();
    void tabSizeHint();
    void pictureInOwnColoursIconTinted();
    void inkBar();
};

void TestTabs::initTestCase()
{
    QtMaterialTheme::registerResources();
}

void TestTabs::newBar()
{
    QtMaterialTabs tabs(nullptr);

    QCOMPARE(tabs.minimumHeight(), 100);
    QCOMPARE(tabs.maximumHeight(), 100);
    QCOMPARE(tabs.count(), 0);
    QCOMPARE(tabs.property("count").toInt(), 0);
    QCOMPARE(tabs.currentIndex(), -1);
    QCOMPARE(tabs.iconSize(), QSize(48, 48));
    QCOMPARE(tabs.rippleStyle(), Material::RippleFromCentre);
    QVERIFY(!tabs.isHaloVisible());
    QVERIFY(tabs.useThemeColors());
    QCOMPARE(tabs.inkColor(), kAccent);
    QCOMPARE(tabs.backgroundColor(), kBar);
    QCOMPARE(tabs.textColor(), kWhite);
    QVERIFY(tabs.autoFillBackground());
    QCOMPARE(tabs.palette().color(QPalette::Window), kBar);
    QCOMPARE(tabs.style(), &QtMaterialStyle::instance());
    QCOMPARE(tabs.font().capitalization(), QFont::AllUppercase);

    // The row lives in a borderless box inside a sideways canvas.
    auto *canvas = tabs.findChild<QtMaterialCanvas *>();
    QVERIFY(canvas);
    QCOMPARE(canvas->orientation(), Qt::Horizontal);
    QCOMPARE(canvas->backgroundColor(), kBar);
    QVERIFY(canvas->widgetResizable());
    QtMaterialGroupBox *box = tabBoxOf(&tabs);
    QCOMPARE(canvas->widget(), box);
    QCOMPARE(box->styleSheet(), QStringLiteral("QGroupBox{border:none;}"));
    QVERIFY(box->title().isEmpty());
    QVERIFY(!box->layout());
}

void TestTabs::newBarIsDark()
{
    QtMaterialTabs tabs(nullptr);
    tabs.resize(400, 100);
    tabs.show();
    QVERIFY(QTest::qWaitForWindowExposed(&tabs));
    QCOMPARE(tabs.height(), 100);

    const QImage image = screenshot(&tabs, QStringLiteral("tabs_empty"));
    QCOMPARE(countColor(image, kBar, 0), 400 * 100);
}

void TestTabs::tabDefaults()
{
    QtMaterialTabs tabs(nullptr);
    tabs.addTab(QStringLiteral("Lighting"));
    QtMaterialTab *tab = tabAt(&tabs, 0);
    QVERIFY(tab);

    QCOMPARE(tab->tabs(), &tabs);
    QCOMPARE(tab->minimumHeight(), 50);
    QCOMPARE(tab->cornerRadius(), 0.0);
    QCOMPARE(tab->role(), Material::PrimaryRole);
    QCOMPARE(tab->type(), Material::FilledButton);
    QCOMPARE(tab->baseOpacity(), 0.25);
    QCOMPARE(tab->backgroundColor(), kBar);
    QCOMPARE(tab->foregroundColor(), kWhite);
    QCOMPARE(tab->rippleStyle(), Material::RippleFromCentre);
    QVERIFY(!tab->isHaloVisible());
    QVERIFY(!tab->hasImage());
    QVERIFY(tab->imagePath().isEmpty());
    QCOMPARE(tab->text(), QStringLiteral("Lighting"));
}

void TestTabs::addingTabsMakesFirstCurrent()
{
    QtMaterialTabs tabs(nullptr);
    QSignalSpy spy(&tabs, &QtMaterialTabs::currentChanged);

    tabs.addTab(QStringLiteral("Lighting"));
    tabs.addTab(QStringLiteral("Air"));
    tabs.addTab(QStringLiteral("Moods"));

    QCOMPARE(spy.count(), 0);
    QCOMPARE(tabs.count(), 3);
    QCOMPARE(tabs.currentIndex(), 0);
    QVERIFY(tabAt(&tabs, 0)->isActive());
    QVERIFY(!tabAt(&tabs, 1)->isActive());
    QVERIFY(!tabAt(&tabs, 2)->isActive());

    auto *grid = qobject_cast<QGridLayout *>(tabBoxOf(&tabs)->layout());
    QVERIFY(grid);
    QCOMPARE(grid->spacing(), 0);
    QCOMPARE(grid->contentsMargins(), QMargins());
    for (int i = 0; i < 3; ++i) {
        int row, column, rowSpan, columnSpan;
        grid->getItemPosition(i, &row, &column, &rowSpan, &columnSpan);
        QCOMPARE(row, 0);
        QCOMPARE(column, i);
        QCOMPARE(tabs.tabText(i), QStringList({"Lighting", "Air", "Moods"}).at(i));
    }
}

void TestTabs::tabsSitLeftAligned()
{
    QtMaterialTabs tabs(nullptr);
    tabs.resize(900, 100);
    const QString icon = QtMaterialTheme::iconPath(QStringLiteral("content"),
                                                   QStringLiteral("add"));
    tabs.addTab(icon, QStringLiteral("Lighting"));
    tabs.addTab(icon, QStringLiteral("Air conditioner"));
    tabs.addTab(icon, QStringLiteral("Moods"));
    tabs.show();
    QVERIFY(QTest::qWaitForWindowExposed(&tabs));

    int x = 0;
    for (int i = 0; i < 3; ++i) {
        QtMaterialTab *tab = tabAt(&tabs, i);
        QCOMPARE(tab->x(), x);
        // Each tab keeps the width it asks for; the rest of the row stays empty.
        QCOMPARE(tab->width(), tab->sizeHint().width());
        x += tab->width();
    }
    QVERIFY(x < 600);
    screenshot(&tabs, QStringLiteral("tabs_three"));
}

void TestTabs::clickingATab()
{
    QtMaterialTabs tabs(nullptr);
    tabs.resize(600, 100);
    // Icons without a picture file: drawn in the tab's foreground colour.
    const QIcon icon = QtMaterialTheme::icon(QStringLiteral("content"), QStringLiteral("save"));
    tabs.addTab(icon, QStringLiteral("One"), QString());
    tabs.addTab(icon, QStringLiteral("Two"), QString());
    tabs.addTab(icon, QStringLiteral("Three"), QString());
    tabs.show();
    QVERIFY(QTest::qWaitForWindowExposed(&tabs));
    QSignalSpy spy(&tabs, &QtMaterialTabs::currentChanged);

    QtMaterialTab *third = tabAt(&tabs, 2);
    QTest::mouseClick(third, Qt::LeftButton, Qt::NoModifier, third->rect().center());
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.first().first().toInt(), 2);
    QCOMPARE(tabs.currentIndex(), 2);
    QVERIFY(third->isActive());
    QVERIFY(!tabAt(&tabs, 0)->isActive());

    // Let the press ripple fade and the ink bar and colour animations end first (the
    // focus halo's pulse never ends).
    const auto settled = [&tabs]() {
        for (QtMaterialRippleOverlay *overlay : tabs.findChildren<QtMaterialRippleOverlay *>())
            if (!overlay->ripples().isEmpty())
                return false;
        for (QAbstractAnimation *animation : tabs.findChildren<QAbstractAnimation *>())
            if (!qobject_cast<QAbstractAnimation *>(animation->parent()) && animation->loopCount() >= 0
                && animation->state() != QAbstractAnimation::Stopped)
                return false;
        return true;
    };
    QVERIFY(!settled());
    QTRY_VERIFY_WITH_TIMEOUT(settled(), 5000);
    const QImage active = grabImage(third);
    const QImage faded = grabImage(tabAt(&tabs, 0));
    screenshot(&tabs, QStringLiteral("tabs_third_current"));

    // The current tab: lime text and an accent underline along its bottom row.
    const int w = active.width();
    const int h = active.height();
    QCOMPARE(countColor(active, kAccent, QRect(0, h - 1, w, 1), 2), w);
    QVERIFY(countColor(active, kLime, QRect(0, h - 30, w, 29), 10) > 10);
    QVERIFY(countColor(active, kWhite, QRect(0, 0, w, h - 30), 10) > 10);
    // The others: no underline, no lime, nothing at full white.
    QCOMPARE(countColor(faded, kAccent, QRect(0, faded.height() - 1, faded.width(), 1), 2), 0);
    QCOMPARE(countColor(faded, kLime, 10), 0);
    QCOMPARE(countColor(faded, kWhite, 2), 0);
}

void TestTabs::setCurrentIndexAlwaysEmits_data()
{
    QTest::addColumn<QList<int>>("indexes");
    QTest::addColumn<int>("activeTab");

    QTest::newRow("same index twice") << QList<int>{1, 1} << 1;
    QTest::newRow("current again") << QList<int>{0} << 0;
    QTest::newRow("no tab there") << QList<int>{7} << -1;
    QTest::newRow("negative") << QList<int>{2, -1} << -1;
}

void TestTabs::setCurrentIndexAlwaysEmits()
{
    QFETCH(QList<int>, indexes);
    QFETCH(int, activeTab);

    QtMaterialTabs tabs(nullptr);
    for (const char *text : {"a", "b", "c"})
        tabs.addTab(QString::fromLatin1(text));
    QSignalSpy spy(&tabs, &QtMaterialTabs::currentChanged);

    for (int index : indexes)
        tabs.setCurrentIndex(index);

    QCOMPARE(spy.count(), indexes.size());
    for (int i = 0; i < indexes.size(); ++i)
        QCOMPARE(spy.at(i).first().toInt(), indexes.at(i));
    QCOMPARE(tabs.currentIndex(), indexes.last());
    for (int i = 0; i < 3; ++i)
        QCOMPARE(tabAt(&tabs, i)->isActive(), i == activeTab);
}

void TestTabs::setTabActiveChangesOnlyTheTab()
{
    QtMaterialTabs tabs(nullptr);
    tabs.addTab(QStringLiteral("a"));
    tabs.addTab(QStringLiteral("b"));
    QSignalSpy spy(&tabs, &QtMaterialTabs::currentChanged);

    tabs.setTabActive(1, true);
    tabs.setTabActive(0, false);
    tabs.setTabActive(9, true);
    QCOMPARE(spy.count(), 0);
    QCOMPARE(tabs.currentIndex(), 0);
    QVERIFY(!tabAt(&tabs, 0)->isActive());
    QVERIFY(tabAt(&tabs, 1)->isActive());
}

void TestTabs::clearLeavesCurrentIndex()
{
    QtMaterialTabs tabs(nullptr);
    tabs.resize(600, 100);
    for (const char *text : {"a", "b", "c"})
        tabs.addTab(QString::fromLatin1(text));
    tabs.setCurrentIndex(2);
    QList<QPointer<QtMaterialTab>> old;
    for (int i = 0; i < 3; ++i)
        old << tabAt(&tabs, i);

    tabs.clear();
    QCOMPARE(tabs.count(), 0);
    QCOMPARE(tabs.currentIndex(), 2);

    tabs.addTab(QStringLiteral("new"));
    QCOMPARE(tabs.count(), 1);
    QCOMPARE(tabs.currentIndex(), 2);
    QtMaterialTab *fresh = tabAt(&tabs, 0);
    QVERIFY(!fresh->isActive());
    int row, column, rowSpan, columnSpan;
    qobject_cast<QGridLayout *>(tabBoxOf(&tabs)->layout())
        ->getItemPosition(0, &row, &column, &rowSpan, &columnSpan);
    QCOMPARE(column, 0);

    QSignalSpy spy(&tabs, &QtMaterialTabs::currentChanged);
    tabs.setCurrentIndex(0);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.first().first().toInt(), 0);
    QVERIFY(fresh->isActive());

    // The removed tabs go from the event loop.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    for (const QPointer<QtMaterialTab> &tab : old)
        QVERIFY(tab.isNull());
    QCOMPARE(tabBoxOf(&tabs)->findChildren<QtMaterialTab *>().size(), 1);
}

void TestTabs::tabAccessors_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<bool>("exists");

    QTest::newRow("first") << 0 << true;
    QTest::newRow("second") << 1 << true;
    QTest::newRow("past the end") << 5 << false;
    QTest::newRow("negative") << -1 << false;
}

void TestTabs::tabAccessors()
{
    QFETCH(int, index);
    QFETCH(bool, exists);

    QtMaterialTabs tabs(nullptr);
    const QIcon add = QtMaterialTheme::icon(QStringLiteral("content"), QStringLiteral("add"));
    tabs.addTab(add, QStringLiteral("zero"), QString());
    tabs.addTab(add, QStringLiteral("one"), QString());

    QCOMPARE(tabs.tabText(index).isEmpty(), !exists);
    QCOMPARE(tabs.tabIcon(index).isNull(), !exists);

    tabs.setTabText(index, QStringLiteral("renamed"));
    tabs.setTabIcon(index, QIcon());
    QCOMPARE(tabs.tabText(index), exists ? QStringLiteral("renamed") : QString());
    QVERIFY(tabs.tabIcon(index).isNull());
    // The other tab keeps its text and icon.
    const int other = index == 0 ? 1 : 0;
    QCOMPARE(tabs.tabText(other), other == 0 ? QStringLiteral("zero") : QStringLiteral("one"));
    QVERIFY(!tabs.tabIcon(other).isNull());
}

void TestTabs::tabSizeHint()
{
    QtMaterialTabs tabs(nullptr);
    tabs.addTab(QtMaterialTheme::iconPath(QStringLiteral("content"), QStringLiteral("add")),
                QStringLiteral("Lighting"));
    tabs.addTab(QStringLiteral("Plain"));

    QtMaterialTab *withIcon = tabAt(&tabs, 0);
    const int textWidth = withIcon->fontMetrics()
                              .size(Qt::TextSingleLine, QStringLiteral("Lighting")).width();
    QCOMPARE(withIcon->iconSize(), QSize(48, 48));
    QCOMPARE(withIcon->sizeHint(), QSize(textWidth + 20, 94));

    QtMaterialTab *plain = tabAt(&tabs, 1);
    QCOMPARE(plain->sizeHint(), plain->QtMaterialFlatButton::sizeHint());

    tabs.setIconSize(32, 32);
    QCOMPARE(withIcon->sizeHint().height(), 78);
}

void TestTabs::pictureInOwnColoursIconTinted()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString picture = writePicture(dir);

    QtMaterialTabs tabs(nullptr);
    tabs.resize(400, 100);
    tabs.addTab(picture, QStringLiteral("Room"));
    tabs.addTab(QtMaterialTheme::icon(QStringLiteral("content"), QStringLiteral("add")),
                QStringLiteral("Add"), QString());
    tabs.show();
    QVERIFY(QTest::qWaitForWindowExposed(&tabs));

    QtMaterialTab *pictureTab = tabAt(&tabs, 0);
    QVERIFY(pictureTab->hasImage());
    QCOMPARE(pictureTab->imagePath(), picture);
    QtMaterialTab *iconTab = tabAt(&tabs, 1);
    QVERIFY(!iconTab->hasImage());
    tabs.setTabActive(1, true);
    QTest::qWait(50);

    const QImage a = grabImage(pictureTab);
    const QImage b = grabImage(iconTab);
    screenshot(&tabs, QStringLiteral("tabs_picture_and_icon"));

    const int th = pictureTab->fontMetrics().height();
    const QRect pictureRect((a.width() - 48) / 2, (a.height() - th - 48) / 2, 48, 48);
    QVERIFY(countColor(a, kRed, pictureRect, 3) > 500);
    const QRect iconRect((b.width() - 48) / 2, (b.height() - th - 48) / 2, 48, 48);
    QVERIFY(countColor(b, kWhite, iconRect, 3) > 50);
    QCOMPARE(countColor(b, QColor(Qt::black), iconRect, 40), 0);
}



void TestTabs::inkBar()
{
    QtMaterialTabs tabs(nullptr);
    tabs.resize(500, 100);
    tabs.addTab(QStringLiteral("a"));
    auto *ink = new QtMaterialTabsInkBar(&tabs);
    tabs.show();
    QVERIFY(QTest::qWaitForWindowExposed(&tabs));

    QVERIFY(ink->testAttribute(Qt::WA_TransparentForMouseEvents));
    QVERIFY(ink->testAttribute(Qt::WA_NoSystemBackground));
    auto *animation = tabs.findChild<QPropertyAnimation *>();
    QVERIFY(animation);
    QCOMPARE(animation->targetObject(), ink);
    QCOMPARE(animation->propertyName(), QByteArray("tweenValue"));
    QCOMPARE(animation->duration(), 700);
    QCOMPARE(animation->easingCurve().type(), QEasingCurve::OutCirc);

    // It underlines the item of the bar's own layout at the current index: the
    // canvas, whose bottom four rows it covers.
    ink->refreshGeometry();
    QCOMPARE(ink->geometry(), QRect(0, 96, 500, 4));
    tabs.resize(300, 100);
    QCOMPARE(ink->geometry(), QRect(0, 96, 300, 4));

    ink->animate();
    QCOMPARE(animation->state(), QAbstractAnimation::Running);
    QTRY_COMPARE_WITH_TIMEOUT(ink->tweenValue(), 1.0, 3000);
    QCOMPARE(ink->geometry(), QRect(0, 96, 300, 4));

    const QImage image = grabImage(&tabs);
    QCOMPARE(countColor(image, kAccent, QRect(0, 96, 300, 4), 2), 1200);

    // No current tab: the geometry stays where it was.
    tabs.setCurrentIndex(-1);
    ink->refreshGeometry();
    QCOMPARE(ink->geometry(), QRect(0, 96, 300, 4));
}

VARNO_TEST_MAIN(TestTabs)
#include "tst_tabs.moc"
