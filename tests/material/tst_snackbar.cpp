// Snackbar: defaults, placement of the box, the queue and the slide timings.

#include "materialtestutil.h"
#include "qtmaterialsnackbar.h"
#include "qtmaterialsnackbarstatemachine.h"
#include "qtmaterialstyle.h"
#include "testmain.h"

#include <QPropertyAnimation>
#include <QPushButton>
#include <QSignalSpy>
#include <QState>
#include <QTest>

using namespace materialtest;

namespace {

const QColor kWhite(Qt::white);
const QColor kBox(0x21, 0x21, 0x21);

QtMaterialSnackbarStateMachine *machineOf(QtMaterialSnackbar *bar)
{
    return bar->findChild<QtMaterialSnackbarStateMachine *>();
}

bool inState(QtMaterialSnackbarStateMachine *machine, QState *state)
{
    return machine->configuration().contains(state);
}

// A white page of the given size; the snackbar paints over it.
QWidget *makePage(const QSize &size)
{
    auto *page = new QWidget;
    page->setAutoFillBackground(true);
    QPalette palette;
    palette.setColor(QPalette::Window, kWhite);
    page->setPalette(palette);
    page->resize(size);
    return page;
}

// The smallest rectangle holding every pixel that is not the page's white.
QRect paintedArea(const QImage &image)
{
    QRect area;
    for (int y = 0; y < image.height(); ++y) {
        const QRgb *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            if ((line[x] & 0xFFFFFF) != 0xFFFFFF)
                area |= QRect(x, y, 1, 1);
    }
    return area;
}

// Shortens the slide so that a test runs through many messages quickly.
void speedUp(QtMaterialSnackbar *bar, int slide = 20, int shown = 30)
{
    machineOf(bar)->slideAnimation()->setDuration(slide);
    bar->setAutoHideDuration(shown);
}

class Recorder : public QObject
{
public:
    int posted = 0;

protected:
    void customEvent(QEvent *) override { ++posted; }
};

} // namespace

class TestSnackbar : public QObject
{
    Q_OBJECT

private slots:
    void defaults();
    void constructorDoesNotRunEventLoop();
    void messageAddedAtOnceIsShown();
    void boxPlacement_data();
    void boxPlacement();
    void longMessageWraps();
    void slidesOutOfView();
    void defaultTimings();
    void messagesShownInOrder();
    void autoHideDurationAppliesToNextMessage();
    void instantMessageGoesNext();
    void instantMessageOnEmptyQueue();
    void clicksPassThrough();
    void clickToDismiss();
};

void TestSnackbar::defaults()
{
    QWidget parent;
    parent.resize(640, 480);
    QtMaterialSnackbar bar(&parent);

    QCOMPARE(bar.autoHideDuration(), 500);
    QCOMPARE(bar.boxWidth(), 300);
    QCOMPARE(bar.backgroundOpacity(), 0.9);
    QVERIFY(!bar.clickToDismissMode());
    QVERIFY(bar.useThemeColors());
    QCOMPARE(bar.backgroundColor(), kBox);
    QCOMPARE(bar.textColor(), kWhite);
    QVERIFY(bar.testAttribute(Qt::WA_TransparentForMouseEvents));
    QCOMPARE(bar.font().pointSizeF(),
             QtMaterialStyle::instance().themeFont(Material::Body1).pointSizeF());
    QCOMPARE(bar.font().family(), QtMaterialStyle::instance().themeFont(Material::Body1).family());
    QVERIFY(bar.messages().isEmpty());
    // Covers the parent from the start, also when the parent was sized before.
    QCOMPARE(bar.geometry(), QRect(0, 0, 640, 480));

    QtMaterialSnackbarStateMachine *machine = machineOf(&bar);
    QVERIFY(machine);
    QCOMPARE(machine->offset(), 1.0);
    QCOMPARE(machine->slideAnimation()->duration(), 300);
    QCOMPARE(machine->slideAnimation()->easingCurve().type(), QEasingCurve::OutCubic);
    QVERIFY(machine->timer()->isSingleShot());
    QTRY_VERIFY(inState(machine, machine->hiddenState()));

    parent.show();
    QVERIFY(QTest::qWaitForWindowExposed(&parent));
    parent.resize(800, 600);
    QCOMPARE(bar.geometry(), QRect(0, 0, 800, 600));
}

void TestSnackbar::constructorDoesNotRunEventLoop()
{
    Recorder recorder;
    QCoreApplication::postEvent(&recorder, new QEvent(QEvent::User));
    bool timerFired = false;
    QTimer::singleShot(0, &recorder, [&]() { timerFired = true; });

    QWidget parent;
    QtMaterialSnackbar bar(&parent);
    QCOMPARE(recorder.posted, 0);
    QVERIFY(!timerFired);

    QCoreApplication::processEvents();
    QCOMPARE(recorder.posted, 1);
}

void TestSnackbar::messageAddedAtOnceIsShown()
{
    // Pages add messages from their constructors, before the event loop has run.
    QScopedPointer<QWidget> page(makePage(QSize(400, 300)));
    auto *bar = new QtMaterialSnackbar(page.data());
    bar->addMessage(QStringLiteral("Ready"));
    speedUp(bar);
    QtMaterialSnackbarStateMachine *machine = machineOf(bar);
    QSignalSpy shown(machine->visibleState(), &QState::propertiesAssigned);

    QTRY_COMPARE(shown.count(), 1);
    QTRY_VERIFY(inState(machine, machine->hiddenState()) && bar->messages().isEmpty());
    QCOMPARE(shown.count(), 1);
}




void TestSnackbar::boxPlacement_data()
{
    QTest::addColumn<bool>("center");
    QTest::addColumn<QRect>("visibleBox");

    // Not centred the box rests on the bottom edge, its last three rows below it.
    QTest::newRow("bottom") << false << QRect(800, 1010, 320, 70);
    QTest::newRow("centred") << true << QRect(800, 490, 320, 73);
}

void TestSnackbar::boxPlacement()
{
    QFETCH(bool, center);
    QFETCH(QRect, visibleBox);

    QScopedPointer<QWidget> page(makePage(QSize(1920, 1080)));
    auto *bar = new QtMaterialSnackbar(page.data());
    bar->setCenter(center);
    bar->setAutoHideDuration(60000);
    QtMaterialSnackbarStateMachine *machine = machineOf(bar);
    QSignalSpy shown(machine->visibleState(), &QState::propertiesAssigned);
    bar->addMessage(QStringLiteral("Saved"));
    QTRY_COMPARE(shown.count(), 1);
    QCOMPARE(machine->offset(), 0.0);

    const QImage image = screenshot(page.data(), QStringLiteral("snackbar_%1")
                                                     .arg(QTest::currentDataTag()));
    QCOMPARE(paintedArea(image), visibleBox);

    // White text on #212121 at opacity 0.9: the box over white is #373737, the
    // text over the box #EBEBEB.
    const QColor box(0x37, 0x37, 0x37);
    const QPoint inside = visibleBox.topLeft() + QPoint(6, 35);
    QVERIFY2(sameColor(image.pixelColor(inside), box, 2),
             qPrintable(colorText(image.pixelColor(inside))));
    QVERIFY(countColor(image, QColor(0xEB, 0xEB, 0xEB), visibleBox, 3) > 5);
    // Rounded corners.
    QVERIFY(!sameColor(image.pixelColor(visibleBox.topLeft()), box, 2));
}

void TestSnackbar::longMessageWraps()
{
    QScopedPointer<QWidget> page(makePage(QSize(1000, 800)));
    auto *bar = new QtMaterialSnackbar(page.data());
    bar->setCenter(false);
    bar->setAutoHideDuration(60000);
    QSignalSpy shown(machineOf(bar)->visibleState(), &QState::propertiesAssigned);
    bar->addMessage(QStringLiteral("The project was saved, the devices were told and the log "
                                   "was written; nothing else needs doing now."));
    QTRY_COMPARE(shown.count(), 1);

    const QImage image = screenshot(page.data(), QStringLiteral("snackbar_long"));
    const QRect area = paintedArea(image);
    // Wider text wraps inside the box's width; the box grows upwards and stays in view.
    QCOMPARE(area.left(), 340);
    QCOMPARE(area.width(), 320);
    QVERIFY2(area.height() > 73, qPrintable(QString::number(area.height())));
    QVERIFY(area.bottom() < 800);
}

void TestSnackbar::slidesOutOfView()
{
    QScopedPointer<QWidget> page(makePage(QSize(600, 400)));
    auto *bar = new QtMaterialSnackbar(page.data());
    bar->setCenter(false);
    bar->setAutoHideDuration(60000);
    QtMaterialSnackbarStateMachine *machine = machineOf(bar);
    bar->addMessage(QStringLiteral("Hello"));
    QTRY_VERIFY(machine->isRunning());

    // Half-way down the slide the box is partly below the bottom edge.
    machine->setOffset(0.5);
    QRect area = paintedArea(page->grab().toImage().convertToFormat(QImage::Format_ARGB32));
    QCOMPARE(area.top(), 400 + 10 - 35 - 10);
    // Fully out of view.
    machine->setOffset(1);
    area = paintedArea(page->grab().toImage().convertToFormat(QImage::Format_ARGB32));
    QVERIFY(area.isNull());
}

void TestSnackbar::defaultTimings()
{
    // One message with the defaults: it slides in over 300 ms, stays until its
    // single 500 ms timer fires, slides out over 300 ms and is hidden again.
    QStringList steps; // outlives the widgets, whose teardown stops the slide
    QWidget parent;
    parent.resize(400, 300);
    auto *bar = new QtMaterialSnackbar(&parent);
    QtMaterialSnackbarStateMachine *machine = machineOf(bar);
    QTRY_VERIFY(machine->isRunning() && materialtest::atRest(machine));
    QPropertyAnimation *slide = machine->slideAnimation();
    QTimer *timer = machine->timer();

    // Every step notes what the slide and the timer are doing at that moment. A
    // slide that has nothing to move (hidden after gone) is left out.
    auto yes = [](bool value) { return QString::fromLatin1(value ? "yes" : "no"); };
    bool moving = false;
    connect(slide, &QAbstractAnimation::stateChanged, this, [&](QAbstractAnimation::State now) {
        if (now == QAbstractAnimation::Running) {
            moving = machine->offset() != slide->endValue().toReal();
            if (moving)
                steps << QStringLiteral("slide %1 to %2 over %3, timer running: %4")
                             .arg(machine->offset())
                             .arg(slide->endValue().toReal())
                             .arg(slide->duration())
                             .arg(yes(timer->isActive()));
        } else if (now == QAbstractAnimation::Stopped && moving) {
            steps << QStringLiteral("slide ends at %1").arg(slide->currentTime());
        }
    });
    connect(machine->visibleState(), &QState::propertiesAssigned, this, [&]() {
        steps << QStringLiteral("shown at %1, timer running: %2, single: %3, interval %4")
                     .arg(machine->offset())
                     .arg(yes(timer->isActive()), yes(timer->isSingleShot()))
                     .arg(timer->interval());
    });
    connect(timer, &QTimer::timeout, this, [&]() {
        steps
            << QStringLiteral("timeout while shown: %1").arg(yes(inState(machine, machine->visibleState())));
    });
    connect(machine->finalState(), &QState::propertiesAssigned, this,
            [&]() { steps << QStringLiteral("gone at %1").arg(machine->offset()); });
    connect(machine->hiddenState(), &QState::entered, this, [&]() { steps << QStringLiteral("hidden"); });

    bar->addMessage(QStringLiteral("One"));
    QTRY_VERIFY_WITH_TIMEOUT(steps.contains(QStringLiteral("hidden")), 20000);
    QCOMPARE(steps, QStringList({QStringLiteral("slide 1 to 0 over 300, timer running: no"),
                                 QStringLiteral("slide ends at 300"),
                                 QStringLiteral("shown at 0, timer running: yes, single: yes, "
                                                "interval 500"),
                                 QStringLiteral("timeout while shown: yes"),
                                 QStringLiteral("slide 0 to 1 over 300, timer running: no"),
                                 QStringLiteral("slide ends at 300"), QStringLiteral("gone at 1"),
                                 QStringLiteral("hidden")}));
    QVERIFY(bar->messages().isEmpty());
    QVERIFY(!timer->isActive());
}

void TestSnackbar::messagesShownInOrder()
{
    QScopedPointer<QWidget> page(makePage(QSize(400, 300)));
    auto *bar = new QtMaterialSnackbar(page.data());
    speedUp(bar);
    QtMaterialSnackbarStateMachine *machine = machineOf(bar);
    QStringList order;
    connect(machine->visibleState(), &QState::propertiesAssigned, this,
            [&]() { order << bar->messages().first(); });

    bar->addMessage(QStringLiteral("first"));
    bar->addMessage(QStringLiteral("second"));
    bar->addMessage(QStringLiteral("third"));
    QCOMPARE(bar->messages().size(), 3);

    QTRY_COMPARE(order.size(), 3);
    QCOMPARE(order, QStringList({"first", "second", "third"}));
    QTRY_VERIFY(inState(machine, machine->hiddenState()) && bar->messages().isEmpty());
    // Nothing left to show: no timer, no slide, and it stays hidden.
    QVERIFY(!machine->timer()->isActive());
    QTRY_VERIFY(materialtest::atRest(machine));
    QVERIFY(inState(machine, machine->hiddenState()));
    QCOMPARE(order.size(), 3);
}


void TestSnackbar::autoHideDurationAppliesToNextMessage()
{
    QScopedPointer<QWidget> page(makePage(QSize(400, 300)));
    auto *bar = new QtMaterialSnackbar(page.data());
    speedUp(bar, 20, 60000);
    QtMaterialSnackbarStateMachine *machine = machineOf(bar);
    QSignalSpy shown(machine->visibleState(), &QState::propertiesAssigned);
    // The message and its timer as each message is shown.
    QStringList timers;
    connect(machine->visibleState(), &QState::propertiesAssigned, this, [&]() {
        timers << QStringLiteral("%1 %2 %3")
                      .arg(bar->messages().first(), machine->timer()->isActive() ? "on" : "off")
                      .arg(machine->timer()->interval());
    });

    bar->addMessage(QStringLiteral("A"));
    bar->addMessage(QStringLiteral("B"));
    QTRY_COMPARE(shown.count(), 1);
    QCOMPARE(machine->timer()->interval(), 60000);

    // Changing the duration leaves the message on screen alone.
    bar->setAutoHideDuration(2000);
    QCOMPARE(machine->timer()->interval(), 60000);
    machine->progress();
    QTRY_COMPARE(shown.count(), 2);
    QCOMPARE(timers, QStringList({"A on 60000", "B on 2000"}));
}

void TestSnackbar::instantMessageGoesNext()
{
    QScopedPointer<QWidget> page(makePage(QSize(400, 300)));
    auto *bar = new QtMaterialSnackbar(page.data());
    speedUp(bar, 20, 60000);
    QtMaterialSnackbarStateMachine *machine = machineOf(bar);
    QStringList order;
    connect(machine->visibleState(), &QState::propertiesAssigned, this,
            [&]() { order << bar->messages().first(); });

    bar->addMessage(QStringLiteral("A"));
    bar->addMessage(QStringLiteral("B"));
    QTRY_COMPARE(order.size(), 1);
    bar->setAutoHideDuration(30);

    bar->addInstantMessage(QStringLiteral("now"));
    QCOMPARE(bar->messages(), QStringList({"A", "now", "B"}));
    QVERIFY(!machine->timer()->isActive());

    // A leaves at once (not after its minute), then the instant message, then B.
    QTRY_COMPARE_WITH_TIMEOUT(order, QStringList({"A", "now", "B"}), 10000);
    QTRY_VERIFY(inState(machine, machine->hiddenState()) && bar->messages().isEmpty());
}

void TestSnackbar::instantMessageOnEmptyQueue()
{
    QScopedPointer<QWidget> page(makePage(QSize(400, 300)));
    auto *bar = new QtMaterialSnackbar(page.data());
    speedUp(bar);
    QtMaterialSnackbarStateMachine *machine = machineOf(bar);
    QTRY_VERIFY(machine->isRunning());
    QStringList order;
    connect(machine->visibleState(), &QState::propertiesAssigned, this,
            [&]() { order << bar->messages().first(); });

    bar->addInstantMessage(QStringLiteral("only"));
    QCOMPARE(bar->messages(), QStringList({"only"}));
    QTRY_COMPARE(order, QStringList({"only"}));
    QTRY_VERIFY(inState(machine, machine->hiddenState()) && bar->messages().isEmpty());
}

void TestSnackbar::clicksPassThrough()
{
    QScopedPointer<QWidget> page(makePage(QSize(400, 300)));
    auto *button = new QPushButton(QStringLiteral("Under"), page.data());
    button->setGeometry(150, 250, 100, 30);
    auto *bar = new QtMaterialSnackbar(page.data());
    bar->setCenter(false);
    bar->setAutoHideDuration(60000);
    QSignalSpy shown(machineOf(bar)->visibleState(), &QState::propertiesAssigned);
    bar->addMessage(QStringLiteral("Over the button"));
    QTRY_COMPARE(shown.count(), 1);

    // The snackbar is on top, yet the page beneath gets the mouse.
    QVERIFY(bar->testAttribute(Qt::WA_TransparentForMouseEvents));
    QCOMPARE(page->childAt(200, 265), button);
}

void TestSnackbar::clickToDismiss()
{
    QScopedPointer<QWidget> page(makePage(QSize(400, 300)));
    auto *button = new QPushButton(QStringLiteral("Under"), page.data());
    button->setGeometry(10, 10, 100, 30);
    auto *bar = new QtMaterialSnackbar(page.data());
    bar->setClickToDismissMode(true);
    QVERIFY(bar->clickToDismissMode());
    speedUp(bar, 20, 60000);
    QtMaterialSnackbarStateMachine *machine = machineOf(bar);
    QSignalSpy shown(machine->visibleState(), &QState::propertiesAssigned);
    QSignalSpy gone(machine->finalState(), &QState::propertiesAssigned);

    bar->addMessage(QStringLiteral("Tap to close"));
    QVERIFY(bar->testAttribute(Qt::WA_TransparentForMouseEvents));
    QTRY_COMPARE(shown.count(), 1);
    // Fully shown: it takes the mouse over the whole page.
    QVERIFY(!bar->testAttribute(Qt::WA_TransparentForMouseEvents));
    QCOMPARE(page->childAt(20, 20), bar);

    QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, QPoint(20, 20));
    QVERIFY(bar->testAttribute(Qt::WA_TransparentForMouseEvents));
    QTRY_COMPARE(gone.count(), 1);
    QTRY_VERIFY(inState(machine, machine->hiddenState()) && bar->messages().isEmpty());
    QCOMPARE(page->childAt(20, 20), button);
}


VARNO_TEST_MAIN(TestSnackbar)
#include "tst_snackbar.moc"
