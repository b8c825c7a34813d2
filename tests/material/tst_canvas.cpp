// Canvas and scroll bar: defaults, colours, orientation, kinetic scrolling,
// handle geometry and the fade machine.

#include "materialtestutil.h"
#include "qtmaterialcanvas.h"
#include "qtmaterialscrollbar.h"
#include "qtmaterialscrollbarstatemachine.h"
#include "testmain.h"

#include <QLabel>
#include <QPropertyAnimation>
#include <QScroller>
#include <QSignalSpy>
#include <QScrollerProperties>
#include <QState>
#include <QTest>
#include <QTouchDevice>
#include <QWindow>

using namespace materialtest;

namespace {

const QColor kPage(0x26, 0x34, 0x40);
const QColor kDialog(0x1F, 0x29, 0x33);
const QColor kTrack(0x3D, 0x53, 0x66);

QtMaterialScrollBarStateMachine *machineOf(QtMaterialScrollBar *bar)
{
    return bar->findChild<QtMaterialScrollBarStateMachine *>();
}

bool inState(QtMaterialScrollBarStateMachine *machine, QState *state)
{
    return machine->configuration().contains(state);
}

QVariant metric(QtMaterialCanvas *canvas, QScrollerProperties::ScrollMetric m)
{
    return QScroller::scroller(canvas->viewport())->scrollerProperties().scrollMetric(m);
}

} // namespace

class TestCanvas : public QObject
{
    Q_OBJECT

private slots:
    void canvasDefaults();
    void canvasPaintsBackground_data();
    void canvasPaintsBackground();
    void canvasOrientation_data();
    void canvasOrientation();
    void canvasTurnedBackScrollsAgain();
    void canvasScrollsWithMouseDrag();

    void scrollBarDefaults_data();
    void scrollBarDefaults();
    void scrollBarStyleSheet();
    void scrollBarHandleGeometry_data();
    void scrollBarHandleGeometry();
    void scrollBarPaintsHandle();
    void scrollBarEmptyRangeHasNoHandle_data();
    void scrollBarEmptyRangeHasNoHandle();
    void scrollBarHiddenUntilShown();
    void scrollBarAlwaysShownWithoutHideOnMouseOut();
    void scrollBarFadesInOnValueChange();
    void scrollBarHoverShowsAndLeaveHides();

    // Registers a touch device for the rest of the process: keep it last.
    void canvasUsesTouchGestureOnTouchMachines();
};

void TestCanvas::canvasDefaults()
{
    QWidget parent;
    QtMaterialCanvas canvas(&parent);

    QCOMPARE(canvas.frameShape(), QFrame::NoFrame);
    QCOMPARE(canvas.orientation(), Qt::Vertical);
    QCOMPARE(canvas.property("orientation").value<Qt::Orientation>(), Qt::Vertical);
    QCOMPARE(canvas.horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    QVERIFY(qobject_cast<QtMaterialScrollBar *>(canvas.verticalScrollBar()));
    QVERIFY(canvas.useThemeColors());
    QCOMPARE(canvas.backgroundColor(), kPage);
    QCOMPARE(canvas.verticalScrollBar()->sizeHint().width(), 10);
}

void TestCanvas::canvasPaintsBackground_data()
{
    QTest::addColumn<QColor>("own");
    QTest::addColumn<bool>("themeAfterwards");
    QTest::addColumn<QColor>("expected");

    QTest::newRow("default") << QColor() << false << kPage;
    QTest::newRow("dialog colour") << kDialog << false << kDialog;
    QTest::newRow("back to default") << kDialog << true << kPage;
}

void TestCanvas::canvasPaintsBackground()
{
    QFETCH(QColor, own);
    QFETCH(bool, themeAfterwards);
    QFETCH(QColor, expected);

    QtMaterialCanvas canvas(nullptr);
    canvas.resize(200, 150);
    auto *content = new QWidget;
    content->resize(200, 100);
    canvas.setWidget(content);
    // The scroll area makes its content fill its own background; without that
    // fill, the canvas shows through everywhere.
    content->setAutoFillBackground(false);
    if (own.isValid())
        canvas.setBackgroundColor(own);
    if (themeAfterwards)
        canvas.setUseThemeColors(true);

    const QImage image = screenshot(&canvas, QStringLiteral("canvas_%1")
                                                 .arg(QString::fromLatin1(QTest::currentDataTag())
                                                          .replace(QLatin1Char(' '), '_')));
    QCOMPARE(image.size(), QSize(200, 150));
    // Content without a background of its own shows the canvas everywhere.
    QCOMPARE(countColor(image, expected, 0), 200 * 150);
}


void TestCanvas::canvasOrientation_data()
{
    QTest::addColumn<Qt::Orientation>("orientation");
    QTest::addColumn<bool>("viaSetter");

    QTest::newRow("vertical") << Qt::Vertical << false;
    QTest::newRow("horizontal") << Qt::Horizontal << false;
    QTest::newRow("horizontal by setter") << Qt::Horizontal << true;
}

void TestCanvas::canvasOrientation()
{
    QFETCH(Qt::Orientation, orientation);
    QFETCH(bool, viaSetter);

    QScopedPointer<QtMaterialCanvas> canvas(viaSetter ? new QtMaterialCanvas(nullptr)
                                                      : new QtMaterialCanvas(orientation, nullptr));
    if (viaSetter)
        canvas->setOrientation(orientation);

    const bool horizontal = orientation == Qt::Horizontal;
    QCOMPARE(canvas->orientation(), orientation);

    QScrollBar *scrolling = horizontal ? canvas->horizontalScrollBar()
                                       : canvas->verticalScrollBar();
    auto *bar = qobject_cast<QtMaterialScrollBar *>(scrolling);
    QVERIFY(bar);
    QCOMPARE(bar->orientation(), orientation);

    const Qt::ScrollBarPolicy otherPolicy = horizontal ? canvas->verticalScrollBarPolicy()
                                                       : canvas->horizontalScrollBarPolicy();
    QCOMPARE(otherPolicy, Qt::ScrollBarAlwaysOff);

    const auto on = QVariant::fromValue(QScrollerProperties::OvershootAlwaysOn);
    const auto off = QVariant::fromValue(QScrollerProperties::OvershootAlwaysOff);
    QCOMPARE(metric(canvas.data(), QScrollerProperties::HorizontalOvershootPolicy),
             horizontal ? on : off);
    QCOMPARE(metric(canvas.data(), QScrollerProperties::VerticalOvershootPolicy),
             horizontal ? off : on);
    for (auto m : {QScrollerProperties::OvershootDragResistanceFactor,
                   QScrollerProperties::OvershootDragDistanceFactor,
                   QScrollerProperties::OvershootScrollDistanceFactor})
        QCOMPARE(metric(canvas.data(), m).toReal(), 0.1);
}

void TestCanvas::canvasTurnedBackScrollsAgain()
{
    // Turning a canvas sideways and back must leave it a working vertical canvas.
    QtMaterialCanvas canvas(Qt::Horizontal, nullptr);
    canvas.setOrientation(Qt::Vertical);

    QCOMPARE(canvas.horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    QVERIFY(canvas.verticalScrollBarPolicy() != Qt::ScrollBarAlwaysOff);
    QVERIFY(qobject_cast<QtMaterialScrollBar *>(canvas.verticalScrollBar()));

    canvas.resize(200, 100);
    auto *content = new QWidget;
    content->setMinimumSize(100, 400);
    canvas.setWidget(content);
    canvas.show();
    QVERIFY(QTest::qWaitForWindowExposed(&canvas));
    QVERIFY(canvas.verticalScrollBar()->isVisible());
    QVERIFY(canvas.verticalScrollBar()->maximum() > 0);
}

// Drags the canvas's viewport upwards with the left mouse button, as a user would.
static void dragUp(QtMaterialCanvas *canvas)
{
    QWindow *window = canvas->window()->windowHandle();
    const QPoint start = canvas->viewport()->mapTo(canvas->window(), QPoint(100, 250));
    QTest::mousePress(window, Qt::LeftButton, Qt::NoModifier, start);
    for (int i = 1; i <= 10; ++i) {
        QTest::qWait(15);
        QTest::mouseMove(window, start - QPoint(0, 20 * i));
    }
    QTest::mouseRelease(window, Qt::LeftButton, Qt::NoModifier, start - QPoint(0, 200), 15);
}

void TestCanvas::canvasScrollsWithMouseDrag()
{
    QVERIFY(QTouchDevice::devices().isEmpty());

    QtMaterialCanvas canvas(nullptr);
    QVERIFY(QScroller::hasScroller(canvas.viewport()));
    QVERIFY(QScroller::grabbedGesture(canvas.viewport()) != Qt::GestureType(0));

    canvas.resize(200, 300);
    auto *content = new QWidget;
    content->setMinimumSize(180, 2000);
    canvas.setWidget(content);
    canvas.show();
    QVERIFY(QTest::qWaitForWindowExposed(&canvas));
    QCOMPARE(canvas.verticalScrollBar()->value(), 0);

    dragUp(&canvas);
    QTRY_VERIFY(canvas.verticalScrollBar()->value() > 0);
    QCOMPARE(canvas.horizontalScrollBar()->value(), 0);
}

void TestCanvas::scrollBarDefaults_data()
{
    QTest::addColumn<Qt::Orientation>("orientation");
    QTest::addColumn<QSize>("hint");

    QTest::newRow("vertical") << Qt::Vertical << QSize(10, 1);
    QTest::newRow("horizontal") << Qt::Horizontal << QSize(1, 10);
}

void TestCanvas::scrollBarDefaults()
{
    QFETCH(Qt::Orientation, orientation);
    QFETCH(QSize, hint);

    QtMaterialScrollBar bar(orientation, nullptr);
    QCOMPARE(bar.sizeHint(), hint);
    QVERIFY(bar.hideOnMouseOut());
    QVERIFY(bar.useThemeColors());
    QCOMPARE(bar.canvasColor(), kPage);
    QCOMPARE(bar.backgroundColor(), kTrack);
    QCOMPARE(bar.sliderColor(), kPage);
    QVERIFY(bar.hasMouseTracking());
    QVERIFY(bar.testAttribute(Qt::WA_SetStyle));

    auto *machine = machineOf(&bar);
    QVERIFY(machine);
    QCOMPARE(machine->opacity(), 0.0);
    QCOMPARE(machine->fadeAnimation()->duration(), 340);
    QCOMPARE(machine->fadeAnimation()->easingCurve().type(), QEasingCurve::Linear);
    QTRY_VERIFY(inState(machine, machine->hiddenState()));
}



void TestCanvas::scrollBarStyleSheet()
{
    QtMaterialScrollBar bar(nullptr);
    QCOMPARE(bar.styleSheet(),
             QStringLiteral("QScrollBar:vertical { margin: 0; }QScrollBar::add-line:vertical "
                            "{ height: 0; margin: 0; }QScrollBar::sub-line:vertical { height: 0; "
                            "margin: 0; }"));
}

void TestCanvas::scrollBarHandleGeometry_data()
{
    QTest::addColumn<Qt::Orientation>("orientation");
    QTest::addColumn<int>("minimum");
    QTest::addColumn<int>("maximum");
    QTest::addColumn<int>("page");
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("length");
    QTest::addColumn<QRect>("handle");

    QTest::newRow("vertical middle") << Qt::Vertical << 0 << 100 << 50 << 50 << 200
                                     << QRect(0, 67, 10, 67);
    QTest::newRow("vertical top") << Qt::Vertical << 0 << 100 << 50 << 0 << 200
                                  << QRect(0, 0, 10, 67);
    QTest::newRow("horizontal middle") << Qt::Horizontal << 0 << 100 << 50 << 50 << 200
                                       << QRect(67, 0, 67, 10);
    QTest::newRow("long page") << Qt::Vertical << 0 << 900 << 100 << 450 << 300
                               << QRect(0, 135, 10, 30);
    QTest::newRow("all of it in one page") << Qt::Vertical << 0 << 0 << 300 << 0 << 300
                                           << QRect(0, 0, 10, 301);
    QTest::newRow("empty range, page one") << Qt::Vertical << 0 << 0 << 1 << 0 << 200 << QRect();
    QTest::newRow("empty range, page zero") << Qt::Vertical << 5 << 5 << 0 << 5 << 200 << QRect();
}

void TestCanvas::scrollBarHandleGeometry()
{
    QFETCH(Qt::Orientation, orientation);
    QFETCH(int, minimum);
    QFETCH(int, maximum);
    QFETCH(int, page);
    QFETCH(int, value);
    QFETCH(int, length);
    QFETCH(QRect, handle);

    QtMaterialScrollBar bar(orientation, nullptr);
    bar.resize(orientation == Qt::Vertical ? QSize(10, length) : QSize(length, 10));
    bar.setRange(minimum, maximum);
    bar.setPageStep(page);
    bar.setValue(value);
    QCOMPARE(bar.handleRect(), handle);
}

void TestCanvas::scrollBarPaintsHandle()
{
    QtMaterialScrollBar bar(Qt::Vertical, nullptr);
    bar.resize(10, 200);
    bar.setRange(0, 100);
    bar.setPageStep(50);
    bar.setValue(50);
    bar.setHideOnMouseOut(false);

    const QImage image = screenshot(&bar, QStringLiteral("scrollbar_handle"));
    // Around the track: the canvas colour.
    QCOMPARE(countColor(image, kPage, QRect(0, 0, 10, 1), 0), 10);
    QCOMPARE(countColor(image, kPage, QRect(0, 0, 1, 200), 0), 200);
    // Down the middle: track above and below, the handle from row 67 to row 133.
    // Rows 67 and 133 are the handle's antialiased ends.
    for (int y = 4; y < 196; ++y) {
        if (y == 67 || y == 133)
            continue;
        const bool inHandle = y > 67 && y < 133;
        QVERIFY2(sameColor(image.pixelColor(5, y), inHandle ? kPage : kTrack),
                 qPrintable(QStringLiteral("row %1: %2").arg(y).arg(colorText(
                     image.pixelColor(5, y)))));
    }
}

void TestCanvas::scrollBarEmptyRangeHasNoHandle_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("page");

    QTest::newRow("page one") << 0 << 1;
    QTest::newRow("page zero") << 0 << 0;
    QTest::newRow("page zero, other value") << 7 << 0;
}

void TestCanvas::scrollBarEmptyRangeHasNoHandle()
{
    QFETCH(int, value);
    QFETCH(int, page);

    QtMaterialScrollBar bar(Qt::Vertical, nullptr);
    bar.resize(10, 200);
    bar.setRange(value, value);
    bar.setPageStep(page);
    bar.setHideOnMouseOut(false);

    const QImage image = bar.grab().toImage().convertToFormat(QImage::Format_ARGB32);
    // The whole inner track, no hole cut by a handle.
    QCOMPARE(countColor(image, kTrack, QRect(3, 5, 4, 190), 0), 4 * 190);
}

void TestCanvas::scrollBarHiddenUntilShown()
{
    QtMaterialScrollBar bar(Qt::Vertical, nullptr);
    bar.resize(10, 200);
    bar.setRange(0, 100);
    bar.setPageStep(50);
    bar.show();
    QVERIFY(QTest::qWaitForWindowExposed(&bar));
    auto *machine = machineOf(&bar);
    QTRY_VERIFY(inState(machine, machine->hiddenState()));

    const QImage image = screenshot(&bar, QStringLiteral("scrollbar_hidden"));
    QCOMPARE(countColor(image, kPage, 0), 10 * 200);
}

void TestCanvas::scrollBarAlwaysShownWithoutHideOnMouseOut()
{
    QtMaterialScrollBar bar(Qt::Horizontal, nullptr);
    bar.resize(200, 10);
    bar.setRange(0, 100);
    bar.setPageStep(50);
    bar.setHideOnMouseOut(false);

    const QImage image = bar.grab().toImage().convertToFormat(QImage::Format_ARGB32);
    // Track to the right of the handle (which covers x 0 to 66 at value 0).
    QVERIFY(countColor(image, kTrack, QRect(80, 3, 100, 4), 0) == 400);
    QVERIFY(countColor(image, kPage, QRect(10, 3, 50, 4), 0) == 200);
}

void TestCanvas::scrollBarFadesInOnValueChange()
{
    QtMaterialScrollBar bar(Qt::Vertical, nullptr);
    bar.resize(10, 200);
    bar.setRange(0, 100);
    bar.setPageStep(50);
    bar.show();
    auto *machine = machineOf(&bar);
    QTRY_VERIFY(inState(machine, machine->hiddenState()));
    QPropertyAnimation *fade = machine->fadeAnimation();
    QTimer *timer = machine->timer();

    // What the fade and the hide timer do as the change comes in. From there the
    // timer runs with a long interval, so that nothing below races it: a change
    // that restarted it would leave at most 1000 ms.
    QString entered;
    QString faded;
    connect(machine->scrolledState(), &QState::entered, this, [&]() {
        entered = QStringLiteral("fading %1 over %2 from below 1: %3; timer %4 %5 once: %6")
                      .arg(fade->state() == QAbstractAnimation::Running ? "yes" : "no")
                      .arg(fade->duration())
                      .arg(machine->opacity() < 1.0 ? "yes" : "no")
                      .arg(timer->isActive() ? "on" : "off")
                      .arg(timer->interval())
                      .arg(timer->isSingleShot() ? "yes" : "no");
        timer->start(60000);
    });
    connect(machine->scrolledState(), &QState::propertiesAssigned, this, [&]() {
        faded = QStringLiteral("opacity %1 after %2").arg(machine->opacity()).arg(fade->currentTime());
    });

    bar.setValue(10);
    // The change is posted: nothing moves before the event loop runs.
    QVERIFY(inState(machine, machine->hiddenState()));
    QVERIFY(entered.isEmpty());
    // Fully shown once the fade has run its whole 340 ms.
    QTRY_VERIFY_WITH_TIMEOUT(!faded.isEmpty(), 5000);
    QCOMPARE(entered, QStringLiteral("fading yes over 340 from below 1: yes; timer on 1000 once: yes"));
    QCOMPARE(faded, QStringLiteral("opacity 1 after 340"));
    QVERIFY(inState(machine, machine->scrolledState()));

    // Further changes while shown do not keep it up longer.
    bar.setValue(20);
    QCoreApplication::processEvents();
    QVERIFY(inState(machine, machine->scrolledState()));
    QVERIFY(machine->timer()->remainingTime() > 50000);

    // Its timeout (the 1000 ms single shot seen above) hides the bar; here it is
    // made to come at once.
    machine->timer()->start(0);
    QTRY_VERIFY_WITH_TIMEOUT(inState(machine, machine->hiddenState()), 3000);
    QTRY_COMPARE_WITH_TIMEOUT(machine->opacity(), 0.0, 2000);

    // The next change fades it in again.
    entered.clear();
    bar.setValue(30);
    QTRY_VERIFY(inState(machine, machine->scrolledState()));
    QCOMPARE(entered, QStringLiteral("fading yes over 340 from below 1: yes; timer on 1000 once: yes"));
}

void TestCanvas::scrollBarHoverShowsAndLeaveHides()
{
    QtMaterialScrollBar bar(Qt::Vertical, nullptr);
    bar.resize(10, 200);
    bar.setRange(0, 100);
    bar.setPageStep(50);
    bar.show();
    auto *machine = machineOf(&bar);
    QTRY_VERIFY(inState(machine, machine->hiddenState()));

    QEvent enter(QEvent::Enter);
    QCoreApplication::sendEvent(&bar, &enter);
    QTRY_VERIFY(inState(machine, machine->hoveredState()));
    QTRY_COMPARE(machine->opacity(), 1.0);
    const QImage shown = screenshot(&bar, QStringLiteral("scrollbar_hovered"));
    QVERIFY(countColor(shown, kTrack, 0) > 100);

    // No timer while hovered: value changes neither hide nor re-show it.
    bar.setValue(40);
    QCoreApplication::processEvents();
    QVERIFY(inState(machine, machine->hoveredState()));
    QVERIFY(!machine->timer()->isActive());

    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(&bar, &leave);
    QTRY_VERIFY(inState(machine, machine->hiddenState()));
    QTRY_COMPARE(machine->opacity(), 0.0);

    // From scrolled, the pointer entering takes it to hovered. The hide timer is
    // given a long interval, so that scrolled does not end before the check.
    connect(machine->scrolledState(), &QState::entered, this,
            [machine]() { machine->timer()->start(60000); });
    bar.setValue(10);
    QTRY_VERIFY(inState(machine, machine->scrolledState()));
    QCoreApplication::sendEvent(&bar, &enter);
    QTRY_VERIFY(inState(machine, machine->hoveredState()));
}


void TestCanvas::canvasUsesTouchGestureOnTouchMachines()
{
    QTest::createTouchDevice();
    QVERIFY(!QTouchDevice::devices().isEmpty());

    // The viewport waits for the finger: a mouse drag leaves it where it is.
    QtMaterialCanvas canvas(nullptr);
    QVERIFY(QScroller::grabbedGesture(canvas.viewport()) != Qt::GestureType(0));
    canvas.resize(200, 300);
    auto *content = new QWidget;
    content->setMinimumSize(180, 2000);
    canvas.setWidget(content);
    canvas.show();
    QVERIFY(QTest::qWaitForWindowExposed(&canvas));

    // Its scroller never leaves rest for the mouse, so nothing can move later.
    QSignalSpy scrollerMoved(QScroller::scroller(canvas.viewport()), &QScroller::stateChanged);
    dragUp(&canvas);
    QCoreApplication::sendPostedEvents();
    QCOMPARE(scrollerMoved.count(), 0);
    QCOMPARE(QScroller::scroller(canvas.viewport())->state(), QScroller::Inactive);
    QCOMPARE(canvas.verticalScrollBar()->value(), 0);
}

VARNO_TEST_MAIN(TestCanvas)
#include "tst_canvas.moc"
