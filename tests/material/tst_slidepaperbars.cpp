// Slide layout, paper, progress bar and system bar: the slide at chosen animation
// times, the paper's colour rule, what the progress bar fills in each mode, the
// system bar's clock and timer, and all of them on the dark background.

#include "../support/testmain.h"
#include "materialtestutil.h"

#include "qtmaterialpaper.h"
#include "qtmaterialprogress.h"
#include "qtmaterialprogressdelegate.h"
#include "qtmaterialprogressprivate.h"
#include "qtmaterialslidelayout.h"
#include "qtmaterialslidelayoutprivate.h"
#include "qtmaterialstyle.h"
#include "qtmaterialsystembar.h"

#include <QAbstractEventDispatcher>
#include <QDateTime>
#include <QParallelAnimationGroup>
#include <QPropertyAnimation>
#include <QVBoxLayout>

namespace {

const QColor Dark(0x26, 0x34, 0x40);
const QColor Primary(0x21, 0x96, 0xF3);
const QColor Grey300(0xE0, 0xE0, 0xE0);

template <class Widget, class Private>
class Access : public Widget
{
public:
    static Private *of(Widget *w)
    {
        const auto member = &Access::d_ptr;
        return static_cast<Private *>((w->*member).data());
    }
};

QtMaterialSlideLayoutPrivate *priv(QtMaterialSlideLayout *l)
{
    return Access<QtMaterialSlideLayout, QtMaterialSlideLayoutPrivate>::of(l);
}

QtMaterialProgressPrivate *priv(QtMaterialProgress *p)
{
    return Access<QtMaterialProgress, QtMaterialProgressPrivate>::of(p);
}

void checkAnimation(QPropertyAnimation *a, QWidget *target, const QPoint &from, const QPoint &to)
{
    QCOMPARE(a->targetObject(), target);
    QCOMPARE(a->startValue().toPoint(), from);
    QCOMPARE(a->endValue().toPoint(), to);
    QCOMPARE(a->duration(), 700);
    QCOMPARE(a->easingCurve().type(), QEasingCurve::OutBack);
}

} // namespace

class TestSlidePaperBars : public QObject
{
    Q_OBJECT

private slots:
    void slideLayout();
    void paperColour_data();
    void paperColour();
    void progressFill_data();
    void progressFill();
    void systemBarClock();
    void screenshotOnDarkBackground();
};

void TestSlidePaperBars::slideLayout()
{
    QWidget host;
    host.resize(400, 300);
    auto *layout = new QtMaterialSlideLayout(&host);
    QWidget *pages[3];
    for (QWidget *&page : pages)
        layout->addWidget(page = new QWidget);
    host.show();
    QVERIFY(QTest::qWaitForWindowExposed(&host));
    QtMaterialSlideLayoutPrivate *d = priv(layout);

    layout->slideToIndex(2);
    checkAnimation(d->outAnimation, pages[0], QPoint(0, 0), QPoint(-400, 0));
    checkAnimation(d->inAnimation, pages[2], QPoint(400, 0), QPoint(0, 0));
    d->group->setCurrentTime(350);
    const qreal e = QEasingCurve(QEasingCurve::OutBack).valueForProgress(0.5);
    QVERIFY(qAbs(pages[0]->x() + 400 * e) <= 1);
    QVERIFY(qAbs(pages[2]->x() - 400 * (1 - e)) <= 1);
    QVERIFY(pages[0]->isVisible() && pages[2]->isVisible());

    // Asking again for the page that slides in changes nothing.
    layout->slideToWidget(pages[2]);
    QCOMPARE(d->group->currentTime(), 350);
    QCOMPARE(d->group->state(), QAbstractAnimation::Running);

    d->group->setCurrentTime(700);
    QVERIFY(pages[0]->isHidden());
    QCOMPARE(layout->currentWidget(), pages[2]);
    QCOMPARE(pages[2]->geometry(), QRect(0, 0, 400, 300));

    // A widget that is no page of the layout never slides in.
    QWidget stranger;
    layout->slideToWidget(&stranger);
    QCOMPARE(d->group->state(), QAbstractAnimation::Stopped);

    // Sliding back reverses both directions.
    layout->slideToIndex(0);
    checkAnimation(d->outAnimation, pages[2], QPoint(0, 0), QPoint(400, 0));
    checkAnimation(d->inAnimation, pages[0], QPoint(-400, 0), QPoint(0, 0));
    d->group->setCurrentTime(100);

    // A third page ends the running slide first. The orientation changes nothing.
    layout->setOrientation(Qt::Vertical);
    QCOMPARE(layout->orientation(), Qt::Vertical);
    layout->slideToIndex(1);
    QVERIFY(pages[2]->isHidden());
    QCOMPARE(layout->currentWidget(), pages[0]);
    QCOMPARE(pages[0]->pos(), QPoint(0, 0));
    checkAnimation(d->outAnimation, pages[0], QPoint(0, 0), QPoint(-400, 0));
    checkAnimation(d->inAnimation, pages[1], QPoint(400, 0), QPoint(0, 0));
    d->group->setCurrentTime(700);
    QCOMPARE(layout->currentWidget(), pages[1]);
}

void TestSlidePaperBars::paperColour_data()
{
    QTest::addColumn<QColor>("canvas");
    QTest::addColumn<QColor>("own");
    QTest::addColumn<QColor>("expected");

    QTest::newRow("light canvas: darker") << QColor(Qt::white) << QColor()
                                          << QColor(Qt::white).darker(120);
    QTest::newRow("dark canvas: lighter") << Dark << QColor() << Dark.lighter(130);
    QTest::newRow("own colour") << QColor(Qt::white) << QColor(Qt::red) << QColor(Qt::red);
}

void TestSlidePaperBars::paperColour()
{
    QFETCH(QColor, canvas);
    QFETCH(QColor, own);
    QFETCH(QColor, expected);

    QtMaterialTheme *theme = QtMaterialStyle::instance().theme();
    const QColor original = theme->color(Material::CanvasColor);
    theme->setColor(Material::CanvasColor, canvas);
    QtMaterialPaper paper;
    paper.resize(60, 40);
    if (own.isValid())
        paper.setBackgroundColor(own);
    QCOMPARE(paper.useThemeColors(), !own.isValid());
    QCOMPARE(paper.backgroundColor(), expected);
    const QImage image = materialtest::renderAlone(&paper);
    theme->setColor(Material::CanvasColor, original);

    QCOMPARE(image.pixel(30, 20), expected.rgba());
    // Rounded corners: the corner pixel stays empty.
    QCOMPARE(qAlpha(image.pixel(0, 0)), 0);
    QCOMPARE(image.pixel(5, 0), expected.rgba());
}

void TestSlidePaperBars::progressFill_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("minimum");
    QTest::addColumn<int>("maximum");
    QTest::addColumn<int>("value");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");

    const int det = Material::ProgressDeterminate;
    QTest::newRow("a quarter") << det << 0 << 100 << 25 << true << 0 << 50;
    QTest::newRow("half of -50..50") << det << -50 << 50 << 0 << true << 0 << 100;
    QTest::newRow("full") << det << 0 << 10 << 10 << true << 0 << 200;
    QTest::newRow("maximum equals minimum") << det << 5 << 5 << 5 << true << 0 << 0;
    QTest::newRow("disabled") << det << 0 << 100 << 50 << false << 0 << 0;
    // Indeterminate at 3/4 of its second: the block starts at 2 * 0.75 * 200 - 200.
    QTest::newRow("indeterminate") << int(Material::ProgressIndeterminate) << 0 << 100 << 0
                                   << true << 100 << 200;
}

void TestSlidePaperBars::progressFill()
{
    QFETCH(int, type);
    QFETCH(int, minimum);
    QFETCH(int, maximum);
    QFETCH(int, value);
    QFETCH(bool, enabled);
    QFETCH(int, from);
    QFETCH(int, to);

    QtMaterialProgress bar;
    bar.setProgressType(Material::ProgressType(type));
    bar.setRange(minimum, maximum);
    bar.setValue(value);
    bar.setEnabled(enabled);
    bar.resize(200, 20);
    QPropertyAnimation *sweep = priv(&bar)->animation;
    QCOMPARE(sweep->state(), QAbstractAnimation::Running);
    QCOMPARE(sweep->duration(), 1000);
    QCOMPARE(sweep->loopCount(), -1);
    sweep->setCurrentTime(750);
    QCOMPARE(priv(&bar)->delegate->offset(), 0.75);

    const QImage image = materialtest::renderAlone(&bar);
    // The track: rows 7 to 12 of the 20-pixel bar, nothing above or below.
    QCOMPARE(materialtest::countOpaque(image, QRect(0, 0, 200, 7)), 0);
    QCOMPARE(materialtest::countOpaque(image, QRect(0, 13, 200, 7)), 0);
    const QColor track = enabled ? Grey300
                                 : QtMaterialStyle::instance().themeColor(Material::DisabledColor);
    const QRect inner(3, 10, 194, 1);
    const int filled = qMax(0, qMin(to, 197) - qMax(from, 3));
    QCOMPARE(materialtest::countColor(image, Primary, inner, 8), filled);
    QCOMPARE(materialtest::countColor(image, track, inner, 8), 194 - filled);
}

void TestSlidePaperBars::systemBarClock()
{
    auto *bar = new QtMaterialSystemBar;
    QCOMPARE(bar->sizeHint(), QSize(-1, QFontMetrics(bar->font()).height() + 10));
    QCOMPARE(QDateTime(QDate(2026, 12, 6), QTime(23, 4, 5)).toString(bar->dateTimeFormat()),
             QStringLiteral("06/12/2026 23:04:05"));

    const QList<QAbstractEventDispatcher::TimerInfo> timers =
        QAbstractEventDispatcher::instance()->registeredTimers(bar);
    QCOMPARE(timers.size(), 1);
    QCOMPARE(timers.first().interval, 500);

    // It repaints on its own, with nothing else asking.
    struct PaintCounter : QObject
    {
        int paints = 0;
        bool eventFilter(QObject *, QEvent *e) override
        {
            paints += e->type() == QEvent::Paint;
            return false;
        }
    } counter;
    bar->resize(300, 30);
    bar->show();
    QVERIFY(QTest::qWaitForWindowExposed(bar));
    bar->installEventFilter(&counter);
    QTRY_VERIFY(counter.paints >= 2);

    // The timer goes with the bar.
    const int id = timers.first().timerId;
    delete bar;
    QVERIFY(!QAbstractEventDispatcher::instance()->unregisterTimer(id));
}

void TestSlidePaperBars::screenshotOnDarkBackground()
{
    QWidget host;
    QPalette p = host.palette();
    p.setColor(QPalette::Window, Dark);
    host.setPalette(p);
    host.setAutoFillBackground(true);
    auto *column = new QVBoxLayout(&host);
    auto *bar = new QtMaterialSystemBar;
    auto *paper = new QtMaterialPaper;
    auto *determinate = new QtMaterialProgress;
    auto *running = new QtMaterialProgress;
    auto *disabled = new QtMaterialProgress;
    paper->setMinimumHeight(80);
    determinate->setProgressType(Material::ProgressDeterminate);
    determinate->setValue(25);
    disabled->setProgressType(Material::ProgressDeterminate);
    disabled->setValue(60);
    disabled->setEnabled(false);
    for (QWidget *w : {static_cast<QWidget *>(bar), static_cast<QWidget *>(paper),
                       static_cast<QWidget *>(determinate), static_cast<QWidget *>(running),
                       static_cast<QWidget *>(disabled)})
        column->addWidget(w);
    host.resize(400, 260);
    host.show();
    QVERIFY(QTest::qWaitForWindowExposed(&host));
    priv(running)->animation->setCurrentTime(750);

    const QImage image = materialtest::screenshot(&host, "slide-paper-bars");
    const QtMaterialStyle &style = QtMaterialStyle::instance();
    auto at = [&](QWidget *w, int x, int y) { return image.pixelColor(w->pos() + QPoint(x, y)); };
    QCOMPARE(at(bar, 2, 2), style.themeColor(Material::PrimaryDarkColor));
    QVERIFY(materialtest::countColor(image, style.themeColor(Material::PrimaryLightColor),
                                     bar->geometry(), 30) > 20);
    QCOMPARE(at(paper, paper->width() / 2, 40).rgba(), QColor(Qt::white).darker(120).rgba());
    const int mid = determinate->height() / 2;
    QVERIFY(materialtest::sameColor(at(determinate, determinate->width() / 4 - 4, mid), Primary));
    QVERIFY(materialtest::sameColor(at(determinate, determinate->width() / 4 + 4, mid), Grey300));
    // At 3/4 of its second the block covers the right half.
    QVERIFY(materialtest::sameColor(at(running, running->width() / 2 - 4, mid), Grey300));
    QVERIFY(materialtest::sameColor(at(running, running->width() / 2 + 4, mid), Primary));
    QCOMPARE(materialtest::countColor(image, Primary, disabled->geometry(), 40), 0);
    QVERIFY(materialtest::sameColor(at(disabled, 2, 0), Dark));
}

VARNO_TEST_MAIN(TestSlidePaperBars)
#include "tst_slidepaperbars.moc"
