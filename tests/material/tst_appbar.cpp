// App bar: cell size, layout geometry, actions, navigation button, colours, style
// change, and a screenshot on the dark background.

#include "materialtestutil.h"
#include "qtmaterialappbar.h"
#include "qtmaterialappbarlayout.h"
#include "qtmaterialappbarlayoutitem.h"
#include "qtmaterialiconbutton.h"
#include "qtmateriallabel.h"
#include "qtmaterialstyle.h"
#include "qtmaterialtheme.h"
#include "testmain.h"

#include <QAction>
#include <QMargins>
#include <QPointer>
#include <QSignalSpy>
#include <QTest>

using namespace materialtest;

#if defined(__SANITIZE_ADDRESS__)
// Freed memory is scribbled, so a read of a deleted action inside Qt's own
// (uninstrumented) code fails loudly instead of finding the old values.
extern "C" const char *__asan_default_options()
{
    return "max_free_fill_size=4096";
}
#endif

Q_DECLARE_METATYPE(QMargins)

namespace {

const QColor kPage(0x26, 0x34, 0x40);
const QColor kPrimary(0x21, 0x96, 0xF3);
const QColor kWhite(Qt::white);

QtMaterialAppBarLayout *layoutOf(QtMaterialAppBar *bar)
{
    return qobject_cast<QtMaterialAppBarLayout *>(bar->layout());
}
QtMaterialLabel *titleOf(QtMaterialAppBar *bar)
{
    return bar->findChild<QtMaterialLabel *>();
}
QIcon icon(const char *category, const char *name)
{
    return QtMaterialTheme::icon(QLatin1String(category), QLatin1String(name));
}
QImage iconImage(const QIcon &icon)
{
    return icon.pixmap(24, 24).toImage().convertToFormat(QImage::Format_ARGB32);
}

QList<QAction *> addActions(QtMaterialAppBar *bar, int count)
{
    const QIcon icons[] = {icon("content", "add"), icon("content", "remove"),
                           icon("content", "save"), icon("file", "cloud_upload")};
    QList<QAction *> actions;
    for (int i = 0; i < count; ++i) {
        auto *action = new QAction(icons[i % 4], QStringLiteral("Action %1").arg(i), bar);
        bar->addAction(action);
        actions.append(action);
    }
    return actions;
}

// Lays the bar out over the given width.
void layOut(QtMaterialAppBar *bar, int width)
{
    bar->setGeometry(0, 0, width, 120);
    bar->layout()->activate();
}

} // namespace

class TestAppBar : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void geometry_data();
    void geometry();
    void actionsAndNavigation();
    void deletedActionIsNeverRead();
    void colorsAndStyleChange_data();
    void colorsAndStyleChange();
};

void TestAppBar::initTestCase()
{
    QtMaterialTheme::registerResources();
}

void TestAppBar::geometry_data()
{
    QTest::addColumn<int>("titlePoints");    // 0: the bar's own Headline3 title font
    QTest::addColumn<int>("iconHeight");
    QTest::addColumn<QMargins>("margins");
    QTest::addColumn<bool>("navigation");
    QTest::addColumn<int>("actions");

    QTest::newRow("small title, default icons") << 16 << 48 << QMargins(0, 0, 0, 0) << true << 3;
    QTest::newRow("headline title") << 0 << 48 << QMargins(4, 2, 30, 5) << true << 2;
    QTest::newRow("small icons, no navigation") << 10 << 24 << QMargins(7, 3, 11, 1) << false << 1;
    QTest::newRow("right margin ignored by actions") << 10 << 48 << QMargins(0, 0, 50, 0)
                                                      << false << 3;
}

void TestAppBar::geometry()
{
    QFETCH(int, titlePoints);
    QFETCH(int, iconHeight);
    QFETCH(QMargins, margins);
    QFETCH(bool, navigation);
    QFETCH(int, actions);

    QWidget page;
    auto *bar = new QtMaterialAppBar(QStringLiteral("Living room"), &page);
    QtMaterialLabel *title = titleOf(bar);
    QCOMPARE(title->text(), QStringLiteral("Living room"));
    QCOMPARE(title->font().pointSize(),
             QtMaterialStyle::instance().themeFont(Material::Headline3).pointSize());
    if (titlePoints) {
        QFont small = title->font();
        small.setPointSize(titlePoints);
        title->setFont(small);
    }
    bar->setIconSize(iconHeight, iconHeight);
    bar->layout()->setContentsMargins(margins);
    if (navigation)
        bar->setNavIconType(Material::NavIconMenu);
    addActions(bar, actions);

    const int fontHeight = QFontMetrics(title->font()).height();
    const int s = int(qMax(qreal(fontHeight), iconHeight * 1.33));
    if (titlePoints && iconHeight == 48)
        QCOMPARE(s, 63);
    QCOMPARE(bar->layout()->sizeHint(), QSize(-1, margins.top() + s + margins.bottom()));
    QCOMPARE(bar->layout()->count(), actions + 1 + (navigation ? 1 : 0));

    const int w = 640;
    layOut(bar, w);
    const QList<QtMaterialIconButton *> buttons = bar->findChildren<QtMaterialIconButton *>();
    QCOMPARE(buttons.size(), actions + (navigation ? 1 : 0));
    int left = margins.left();
    if (navigation) {
        QCOMPARE(layoutOf(bar)->navButton()->geometry(), QRect(margins.left(), margins.top(), s, s));
        left += s;
    }
    const QList<QtMaterialAppBarLayoutItem *> items = layoutOf(bar)->actionIconButtons();
    QCOMPARE(items.size(), actions);
    for (int i = 0; i < actions; ++i) {
        QCOMPARE(items.at(i)->widget()->geometry(), QRect(w - (actions - i) * s, margins.top(), s, s));
        QCOMPARE(qobject_cast<QtMaterialIconButton *>(items.at(i)->widget())->iconSize(),
                 QSize(iconHeight, iconHeight));
    }
    const int right = w - margins.left() - margins.right() - actions * s - 1;
    QCOMPARE(title->geometry(), QRect(QPoint(left, margins.top()), QPoint(right, margins.top() + s - 1)));
    if (QTest::currentDataTag() != QLatin1String("small title, default icons"))
        return;

    // On the dark page: the bar's fill, white icons in every cell, a white title.
    page.setAutoFillBackground(true);
    QPalette palette;
    palette.setColor(QPalette::Window, kPage);
    page.setPalette(palette);
    page.resize(w, 200);
    bar->resize(w, s);
    page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&page));
    const QImage image = screenshot(&page, QStringLiteral("appbar"));
    QVERIFY(sameColor(image.pixelColor(300, 5), kPrimary));
    QVERIFY(sameColor(image.pixelColor(300, 150), kPage));
    for (int i = 0; i <= 3; ++i)
        QVERIFY(countColor(image, kWhite, QRect(i ? w - i * s : 0, 0, s, s), 40) > 20);
    QVERIFY(countColor(image, kWhite, QRect(s, 0, 200, s), 40) > 30);
}

void TestAppBar::actionsAndNavigation()
{
    QWidget page;
    auto *bar = new QtMaterialAppBar(&page);
    QtMaterialAppBarLayout *layout = layoutOf(bar);
    QCOMPARE(bar->navIconType(), Material::NavIconNone);
    QVERIFY(!layout->navButton());

    const QList<QAction *> actions = addActions(bar, 3);
    layOut(bar, 500);
    QVERIFY(!layout->activate());
    QAction *fourth = addActions(bar, 1).first();
    QVERIFY(layout->activate()); // invalidated, though the action got no button
    QCOMPARE(layout->actionIconButtons().size(), 3);
    QCOMPARE(bar->findChildren<QtMaterialIconButton *>().size(), 3);
    QCOMPARE(bar->actions().last(), fourth);

    // Each button triggers its own action and shows its text as tool tip.
    QtMaterialAppBarLayoutItem *second = layout->actionIconButtons().at(1);
    QSignalSpy triggered(actions.at(1), &QAction::triggered);
    QTest::mouseClick(second->widget(), Qt::LeftButton);
    QCOMPARE(triggered.count(), 1);
    QCOMPARE(second->widget()->toolTip(), QStringLiteral("Action 1"));
    actions.at(1)->setText(QStringLiteral("Renamed"));
    QCOMPARE(second->widget()->toolTip(), QStringLiteral("Renamed"));

    // A hidden action leaves an empty item, but its button keeps its place.
    const QRect placed = second->widget()->geometry();
    QVERIFY(!second->isEmpty());
    actions.at(1)->setVisible(false);
    QVERIFY(second->isEmpty());
    layout->invalidate();
    layOut(bar, 500);
    QCOMPARE(second->widget()->geometry(), placed);

    // Navigation: none deletes the button, back makes a new one with its own icon.
    bar->setNavIconType(Material::NavIconMenu);
    QPointer<QtMaterialIconButton> menu = layout->navButton();
    QVERIFY(menu);
    QCOMPARE(iconImage(menu->icon()), iconImage(icon("navigation", "menu")));
    bar->setNavIconType(Material::NavIconNone);
    QVERIFY(menu.isNull());
    QVERIFY(!layout->navButton());
    QCOMPARE(layout->count(), 4);
    bar->setNavIconType(Material::NavIconBack);
    QtMaterialIconButton *back = layout->navButton();
    QVERIFY(back);
    QCOMPARE(bar->navIconType(), Material::NavIconBack);
    QCOMPARE(iconImage(back->icon()), iconImage(icon("navigation", "arrow_back")));
    QVERIFY(iconImage(back->icon()) != iconImage(icon("navigation", "menu")));
    QSignalSpy clicked(bar, &QtMaterialAppBar::navIconClicked);
    layOut(bar, 500);
    QTest::mouseClick(back, Qt::LeftButton);
    QCOMPARE(clicked.count(), 1);
    bar->setNavIconType(Material::NavIconExpand);
    QCOMPARE(layout->navButton(), back);
    QCOMPARE(iconImage(back->icon()), iconImage(icon("navigation", "expand_less")));
}

void TestAppBar::deletedActionIsNeverRead()
{
    QWidget page;
    auto *bar = new QtMaterialAppBar(&page);
    const QList<QAction *> actions = addActions(bar, 2);
    QtMaterialAppBarLayoutItem *first = layoutOf(bar)->actionIconButtons().at(0);
    delete actions.at(0);
    // Renaming the other updates every button: the removed action's stays as it
    // was and reads as missing, never as freed memory.
    actions.at(1)->setText(QStringLiteral("Renamed"));
    QCOMPARE(layoutOf(bar)->actionIconButtons().at(1)->widget()->toolTip(), QStringLiteral("Renamed"));
    QCOMPARE(layoutOf(bar)->actionIconButtons().size(), 2);
    QCOMPARE(first->widget()->toolTip(), QStringLiteral("Action 0"));
    QVERIFY(!first->action());
    QVERIFY(first->isEmpty());
}

void TestAppBar::colorsAndStyleChange_data()
{
    QTest::addColumn<bool>("foreground");
    QTest::newRow("foreground set") << true;
    QTest::newRow("background set") << false;
}

void TestAppBar::colorsAndStyleChange()
{
    QFETCH(bool, foreground);

    QWidget page;
    auto *bar = new QtMaterialAppBar(QStringLiteral("Title"), &page);
    bar->setNavIconType(Material::NavIconMenu);
    addActions(bar, 2);
    QVERIFY(bar->useThemeColors());
    QCOMPARE(bar->foregroundColor(), kWhite);
    QCOMPARE(bar->backgroundColor(), kPrimary);

    const QColor red(Qt::red);
    if (foreground)
        bar->setForegroundColor(red);
    else
        bar->setBackgroundColor(red);
    QVERIFY(!bar->useThemeColors());
    // The colour never set still comes from the theme.
    QCOMPARE(bar->foregroundColor(), foreground ? red : kWhite);
    QCOMPARE(bar->backgroundColor(), foreground ? kPrimary : red);
    const QColor fg = bar->foregroundColor();
    QCOMPARE(titleOf(bar)->color(), fg);
    for (QtMaterialIconButton *button : bar->findChildren<QtMaterialIconButton *>())
        QCOMPARE(button->color(), fg);
    bar->setUseThemeColors(true);
    QCOMPARE(bar->foregroundColor(), kWhite);
    QCOMPARE(bar->backgroundColor(), kPrimary);
    QCOMPARE(titleOf(bar)->color(), kWhite);

    // A style change gives the title the bar's own font in place of the headline.
    QFont own(QStringLiteral("Roboto"), 13);
    bar->setFont(own);
    QVERIFY(titleOf(bar)->font().pointSize() != 13);
    QEvent change(QEvent::StyleChange);
    QCoreApplication::sendEvent(bar, &change);
    QCOMPARE(titleOf(bar)->font().pointSize(), 13);
}

VARNO_TEST_MAIN(TestAppBar)
#include "tst_appbar.moc"
