// Busy indicator: size, placement on start, angle steps, delay, and the bars it paints.

#include "../support/testmain.h"
#include "materialtestutil.h"

#include "qprogressindicator.h"

#include <QAbstractEventDispatcher>
#include <QtMath>

namespace {

const QColor DarkBackground(0x26, 0x34, 0x40);

void darken(QWidget *host)
{
    QPalette p = host->palette();
    p.setColor(QPalette::Window, DarkBackground);
    host->setPalette(p);
    host->setAutoFillBackground(true);
}

// Lets a fixed number of timer ticks through to the indicator and swallows the rest,
// counting them all.
class TickGate : public QObject
{
public:
    explicit TickGate(int allowed)
        : m_allowed(allowed)
    {}

    int seen() const { return m_seen; }

protected:
    bool eventFilter(QObject *obj, QEvent *event) override
    {
        if (event->type() == QEvent::Timer)
            return ++m_seen > m_allowed;
        return QObject::eventFilter(obj, event);
    }

private:
    const int m_allowed;
    int m_seen = 0;
};

// The timers the object has running, as "<interval> ms <kind>".
QStringList timersOf(QObject *object)
{
    QStringList timers;
    const auto registered = QAbstractEventDispatcher::instance()->registeredTimers(object);
    for (const QAbstractEventDispatcher::TimerInfo &timer : registered)
        timers << QStringLiteral("%1 ms %2")
                      .arg(timer.interval)
                      .arg(timer.timerType == Qt::CoarseTimer ? "coarse" : "other");
    return timers;
}

// The bar pointing at the given angle (0 = up, clockwise), sampled at radius 21 of
// the 64-pixel indicator drawn at (x0, y0).
QColor barAt(const QImage &image, int x0, int y0, int angle)
{
    const qreal a = qDegreesToRadians(qreal(angle));
    const int x = x0 + 31 + qRound(21 * qSin(a));
    const int y = y0 + 31 - qRound(21 * qCos(a));
    return image.pixelColor(x, y);
}

// The angle whose bar is the opaque one: the leading bar.
int leadingAngle(const QImage &image, int x0, int y0, const QColor &color)
{
    for (int angle = 0; angle < 360; angle += 30) {
        if (materialtest::sameColor(barAt(image, x0, y0, angle), color, 3))
            return angle;
    }
    return -1;
}

} // namespace

class TestProgressIndicator : public QObject
{
    Q_OBJECT

private slots:
    void defaults();
    void paintsNothingWhenStopped();
    void displayedWhenStoppedPaintsTwelveBars();
    void barGeometry();
    void startMovesToParentMiddle();
    void anglesStepByThirty_data();
    void anglesStepByThirty();
    void delayWhileRunningAndStopped();
    void screenshotOnDarkBackground();
};

void TestProgressIndicator::defaults()
{
    QProgressIndicator indicator(nullptr);
    QCOMPARE(indicator.size(), QSize(64, 64));
    QCOMPARE(indicator.minimumSize(), QSize(64, 64));
    QCOMPARE(indicator.maximumSize(), QSize(64, 64));
    QCOMPARE(indicator.sizePolicy().horizontalPolicy(), QSizePolicy::Fixed);
    QCOMPARE(indicator.sizePolicy().verticalPolicy(), QSizePolicy::Fixed);
    QCOMPARE(indicator.focusPolicy(), Qt::NoFocus);
    QCOMPARE(indicator.sizeHint(), QSize(20, 20));
    QCOMPARE(indicator.heightForWidth(37), 37);
    QVERIFY(!indicator.isAnimated());
    QVERIFY(!indicator.isDisplayedWhenStopped());
    QCOMPARE(indicator.animationDelay(), 40);
    QCOMPARE(indicator.property("delay").toInt(), 40);
    QCOMPARE(indicator.color(), QColor(Qt::darkGray));
}

void TestProgressIndicator::paintsNothingWhenStopped()
{
    QWidget host;
    darken(&host);
    host.resize(100, 100);
    auto *indicator = new QProgressIndicator(&host);
    indicator->move(10, 10);
    indicator->setColor(Qt::green);
    host.show();
    QVERIFY(QTest::qWaitForWindowExposed(&host));
    const QImage image = materialtest::screenshot(&host, "indicator-stopped");
    QCOMPARE(materialtest::countColor(image, DarkBackground), 100 * 100);
}

void TestProgressIndicator::displayedWhenStoppedPaintsTwelveBars()
{
    QWidget host;
    darken(&host);
    host.resize(100, 100);
    auto *indicator = new QProgressIndicator(&host);
    indicator->move(10, 10);
    indicator->setColor(Qt::green);
    indicator->setDisplayedWhenStopped(true);
    host.show();
    QVERIFY(QTest::qWaitForWindowExposed(&host));
    const QImage image = materialtest::screenshot(&host, "indicator-displayed-stopped");

    // Bar i points 30 i degrees anticlockwise of the leading bar, alpha 1 - i / 12.
    QCOMPARE(leadingAngle(image, 10, 10, Qt::green), 0);
    int previousGreen = 256;
    for (int i = 0; i < 12; ++i) {
        const int angle = (360 - 30 * i) % 360;
        const QColor c = barAt(image, 10, 10, angle);
        const qreal alpha = 1.0 - i / 12.0;
        const int expectedGreen = qRound(255 * alpha + DarkBackground.green() * (1 - alpha));
        QVERIFY2(qAbs(c.green() - expectedGreen) <= 3,
                 qPrintable(QStringLiteral("bar %1: %2").arg(i).arg(c.name())));
        QVERIFY(c.green() < previousGreen);
        previousGreen = c.green();
    }
}

void TestProgressIndicator::barGeometry()
{
    QWidget host;
    darken(&host);
    host.resize(64, 64);
    auto *indicator = new QProgressIndicator(&host);
    indicator->setColor(Qt::green);
    indicator->setDisplayedWhenStopped(true);
    host.show();
    QVERIFY(QTest::qWaitForWindowExposed(&host));
    const QImage image = materialtest::screenshot(&host, "indicator-geometry");

    // The upright bar: x 29..32, y 0..19 (4 by 20 from (-2, -31) around (31, 31)).
    const QColor green(Qt::green);
    QCOMPARE(materialtest::countColor(image, green, QRect(29, 2, 4, 16)), 4 * 16);
    QVERIFY(materialtest::sameColor(image.pixelColor(28, 10), DarkBackground));
    QVERIFY(materialtest::sameColor(image.pixelColor(33, 10), DarkBackground));
    QVERIFY(materialtest::sameColor(image.pixelColor(31, 21), DarkBackground));
    QVERIFY(materialtest::sameColor(image.pixelColor(31, 31), DarkBackground));
}

void TestProgressIndicator::startMovesToParentMiddle()
{
    QWidget parent;
    parent.resize(1000, 300);
    auto *indicator = new QProgressIndicator(&parent);
    indicator->move(40, 40);
    indicator->startAnimation();
    QVERIFY(indicator->isAnimated());
    QCOMPARE(indicator->pos(), QPoint(500, 0));
    indicator->stopAnimation();
    QVERIFY(!indicator->isAnimated());

    parent.resize(501, 300);
    indicator->startAnimation();
    QCOMPARE(indicator->pos(), QPoint(250, 0));

    // Without a parent it stays where it is.
    QProgressIndicator alone(nullptr);
    alone.move(7, 9);
    alone.startAnimation();
    QCOMPARE(alone.pos(), QPoint(7, 9));
}

void TestProgressIndicator::anglesStepByThirty_data()
{
    QTest::addColumn<int>("ticks");
    QTest::addColumn<int>("angle");

    QTest::newRow("none") << 0 << 0;
    QTest::newRow("one") << 1 << 30;
    QTest::newRow("three") << 3 << 90;
    QTest::newRow("eleven") << 11 << 330;
    QTest::newRow("twelve") << 12 << 0;
    QTest::newRow("fourteen") << 14 << 60;
}

void TestProgressIndicator::anglesStepByThirty()
{
    QFETCH(int, ticks);
    QFETCH(int, angle);

    QWidget host;
    darken(&host);
    host.resize(1000, 100);
    auto *indicator = new QProgressIndicator(&host);
    indicator->setColor(Qt::green);
    indicator->setAnimationDelay(5);
    TickGate gate(ticks);
    indicator->installEventFilter(&gate);
    host.show();
    QVERIFY(QTest::qWaitForWindowExposed(&host));

    indicator->startAnimation();
    // One tick more than allowed has arrived (and was swallowed).
    QTRY_VERIFY(gate.seen() > ticks);
    const QImage image = materialtest::screenshot(&host, "indicator-angle");
    QCOMPARE(leadingAngle(image, 500, 0, Qt::green), angle);

    // A new start begins again from angle 0.
    indicator->removeEventFilter(&gate);
    indicator->stopAnimation();
    indicator->setDisplayedWhenStopped(true);
    indicator->startAnimation();
    indicator->stopAnimation();
    QCOMPARE(leadingAngle(materialtest::screenshot(&host, "indicator-restart"), 500, 0,
                          Qt::green), 0);
}

void TestProgressIndicator::delayWhileRunningAndStopped()
{
    QProgressIndicator indicator(nullptr);
    indicator.setAnimationDelay(100);
    QVERIFY(!indicator.isAnimated());
    QCOMPARE(indicator.animationDelay(), 100);

    // The steps come from one repeating timer with the delay as its interval.
    indicator.setAnimationDelay(40);
    QVERIFY(timersOf(&indicator).isEmpty());
    TickGate fast(1000);
    indicator.installEventFilter(&fast);
    indicator.startAnimation();
    QCOMPARE(timersOf(&indicator), QStringList({"40 ms coarse"}));
    QTRY_VERIFY(fast.seen() >= 6);
    QCOMPARE(timersOf(&indicator), QStringList({"40 ms coarse"}));
    indicator.removeEventFilter(&fast);

    // Slower while running: it keeps running, its timer now 100 ms apart.
    TickGate slow(1000);
    indicator.setProperty("delay", 100);
    QVERIFY(indicator.isAnimated());
    QCOMPARE(indicator.animationDelay(), 100);
    QCOMPARE(timersOf(&indicator), QStringList({"100 ms coarse"}));
    indicator.installEventFilter(&slow);
    QTRY_VERIFY_WITH_TIMEOUT(slow.seen() >= 4, 5000);
    QCOMPARE(timersOf(&indicator), QStringList({"100 ms coarse"}));
    indicator.stopAnimation();
    QVERIFY(!indicator.isAnimated());
    QVERIFY(timersOf(&indicator).isEmpty());
}

void TestProgressIndicator::screenshotOnDarkBackground()
{
    QWidget host;
    darken(&host);
    host.resize(240, 100);
    auto *green = new QProgressIndicator(&host);
    green->setColor(Qt::green);
    green->setDisplayedWhenStopped(true);
    green->move(10, 18);
    auto *grey = new QProgressIndicator(&host);
    grey->setDisplayedWhenStopped(true);
    grey->move(90, 18);
    auto *small = new QProgressIndicator(&host);
    small->setColor(Qt::white);
    small->setDisplayedWhenStopped(true);
    small->setFixedSize(24, 24);
    small->move(170, 38);
    host.show();
    QVERIFY(QTest::qWaitForWindowExposed(&host));
    const QImage image = materialtest::screenshot(&host, "indicators");
    QVERIFY(materialtest::countColor(image, Qt::green, QRect(10, 18, 64, 64)) > 60);
    QVERIFY(materialtest::countColor(image, Qt::darkGray, QRect(90, 18, 64, 64)) > 60);
    QVERIFY(materialtest::countColor(image, Qt::white, QRect(170, 38, 24, 24), 20) > 3);
}

VARNO_TEST_MAIN(TestProgressIndicator)
#include "tst_qprogressindicator.moc"
