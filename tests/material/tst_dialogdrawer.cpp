// Dialog and drawer: construction without the event loop, the timed transitions
// checked at chosen points, darkening, mouse routing, and screenshots on the dark
// background.

#include "materialtestutil.h"
#include "qtmaterialdialog.h"
#include "qtmaterialdialogproxy.h"
#include "qtmaterialdialogwindow.h"
#include "qtmaterialdrawer.h"
#include "qtmaterialdrawerstatemachine.h"
#include "qtmaterialdrawerwidget.h"
#include "qtmaterialtheme.h"
#include "testmain.h"

#include <QAbstractTransition>
#include <QGraphicsDropShadowEffect>
#include <QLabel>
#include <QPropertyAnimation>
#include <QPushButton>
#include <QSignalSpy>
#include <QStackedLayout>
#include <QState>
#include <QStateMachine>
#include <QTest>
#include <QVBoxLayout>

#include <functional>

using namespace materialtest;

namespace {

const QColor kPage(0x26, 0x34, 0x40);
const QColor kWhite(Qt::white);

// The page colour under black at the given opacity.
QColor darkened(const QColor &c, qreal opacity)
{
    return QColor::fromRgbF(c.redF() * (1 - opacity), c.greenF() * (1 - opacity),
                            c.blueF() * (1 - opacity));
}

// A dark page with a button at (500, 300) and a label, shown on screen.
struct Page
{
    QWidget widget;
    QPushButton *button;

    Page()
    {
        widget.resize(800, 600);
        widget.setAutoFillBackground(true);
        QPalette palette;
        palette.setColor(QPalette::Window, kPage);
        widget.setPalette(palette);
        button = new QPushButton(QStringLiteral("Below"), &widget);
        button->setGeometry(500, 300, 120, 40);
        auto *label = new QLabel(QStringLiteral("Room overview"), &widget);
        label->setGeometry(40, 40, 300, 30);
        label->setStyleSheet(QStringLiteral("color: white; font-size: 20px"));
    }

    bool show()
    {
        widget.show();
        return QTest::qWaitForWindowExposed(&widget);
    }

    // A click as the window system delivers it, to whichever widget is at pos.
    void click(const QPoint &pos)
    {
        QTest::mouseClick(widget.windowHandle(), Qt::LeftButton, Qt::NoModifier, pos);
    }
};

class Recorder : public QObject
{
public:
    int posted = 0;

protected:
    void customEvent(QEvent *) override { ++posted; }
};

bool active(QStateMachine *machine, const char *name)
{
    for (QAbstractState *state : machine->configuration())
        if (state->objectName() == QLatin1String(name))
            return true;
    return false;
}

// Waits until the animations have started, then holds them at the given time.
void holdAt(const QList<QAbstractAnimation *> &animations, int ms)
{
    for (QAbstractAnimation *animation : animations) {
        if (animation->state() == QAbstractAnimation::Running)
            animation->pause();
        animation->setCurrentTime(ms);
    }
}

QList<QAbstractAnimation *> dialogAnimations(QtMaterialDialog *dialog)
{
    QList<QAbstractAnimation *> list;
    for (QPropertyAnimation *a : dialog->findChildren<QPropertyAnimation *>())
        list.append(a);
    return list;
}

QList<QAbstractAnimation *> transitionAnimations(QState *from)
{
    return from->transitions().first()->animations();
}

QPropertyAnimation *byProperty(const QList<QAbstractAnimation *> &list, const char *name)
{
    for (QAbstractAnimation *a : list) {
        auto *p = qobject_cast<QPropertyAnimation *>(a);
        if (p && p->propertyName() == name)
            return p;
    }
    return nullptr;
}

} // namespace

class TestDialogDrawer : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void constructorDoesNotRunEventLoop_data();
    void constructorDoesNotRunEventLoop();
    void dialogShowAndHide();
    void dialogScreenshot();
    void drawerWidthAndTimings();
    void drawerMouse_data();
    void drawerMouse();
    void drawerWithoutAutoRaise();
    void drawerScreenshot();
};

void TestDialogDrawer::initTestCase()
{
    QtMaterialTheme::registerResources();
}

void TestDialogDrawer::constructorDoesNotRunEventLoop_data()
{
    QTest::addColumn<bool>("dialog");
    QTest::newRow("dialog") << true;
    QTest::newRow("drawer") << false;
}

void TestDialogDrawer::constructorDoesNotRunEventLoop()
{
    QFETCH(bool, dialog);

    Recorder recorder;
    QCoreApplication::postEvent(&recorder, new QEvent(QEvent::User));
    QWidget parent;
    parent.resize(800, 600);
    if (dialog) {
        auto *d = new QtMaterialDialog(&parent);
        QCOMPARE(recorder.posted, 0);
        // The hidden state's values are there before the machine runs.
        auto *proxy = d->findChild<QtMaterialDialogProxy *>();
        QCOMPARE(proxy->mode(), QtMaterialDialogProxy::Transparent);
        QCOMPARE(proxy->opacity(), 0.0);
        QCOMPARE(d->findChild<QtMaterialDialogWindow *>()->offset(), 200);
        auto *effect = qobject_cast<QGraphicsDropShadowEffect *>(
            d->findChild<QtMaterialDialogWindow *>()->parentWidget()->graphicsEffect());
        QCOMPARE(effect->color().alpha(), 0);
        QVERIFY(d->testAttribute(Qt::WA_TransparentForMouseEvents));
        // Shown at once, before the event loop has run.
        d->showDialog();
        QTRY_VERIFY(active(d->findChild<QStateMachine *>(), "visible"));
    } else {
        auto *d = new QtMaterialDrawer(&parent);
        QCOMPARE(recorder.posted, 0);
        auto *panel = d->findChild<QtMaterialDrawerWidget *>();
        QCOMPARE(panel->width(), 266);
        QCOMPARE(panel->offset(), -298);
        QVERIFY(d->isHidden());
        auto *machine = d->findChild<QtMaterialDrawerStateMachine *>();
        QCOMPARE(machine->opacity(), 0.0);
        d->openDrawer();
        QTRY_VERIFY(machine->openedState()->active());
        QCOMPARE(panel->offset(), 0);
    }
    QCoreApplication::processEvents();
    QCOMPARE(recorder.posted, 1);
}

void TestDialogDrawer::dialogShowAndHide()
{
    Page page;
    auto *dialog = new QtMaterialDialog(&page.widget);
    auto *content = new QVBoxLayout;
    content->addWidget(new QLabel(QStringLiteral("Hi")));
    dialog->setWindowLayout(content);
    QCOMPARE(dialog->windowLayout(), content);
    QVERIFY(page.show());

    auto *machine = dialog->findChild<QStateMachine *>();
    auto *proxy = dialog->findChild<QtMaterialDialogProxy *>();
    auto *window = dialog->findChild<QtMaterialDialogWindow *>();
    QWidget *card = window->parentWidget();
    auto *stack = qobject_cast<QStackedLayout *>(card->layout());
    auto *effect = qobject_cast<QGraphicsDropShadowEffect *>(card->graphicsEffect());
    QTRY_VERIFY(active(machine, "hidden"));
    QCOMPARE(dialog->geometry(), page.widget.rect());
    dialog->layout()->activate();
    const int hiddenTop = card->y();
    QVERIFY(card->width() >= 400);

    // Hidden: clicks pass through to the page's button.
    QSignalSpy pressed(page.button, &QPushButton::clicked);
    page.click(QPoint(560, 320));
    QCOMPARE(pressed.count(), 1);

    const QList<QAbstractAnimation *> animations = dialogAnimations(dialog);
    QCOMPARE(animations.size(), 3);
    for (QAbstractAnimation *a : animations)
        QCOMPARE(a->duration(), 280);
    QCOMPARE(byProperty(animations, "offset")->easingCurve().type(), QEasingCurve::OutCirc);

    // Entering the first state animates too; let that end before showing.
    for (QAbstractAnimation *a : animations)
        QTRY_VERIFY(a->state() == QAbstractAnimation::Stopped);
    dialog->showDialog();
    QTRY_VERIFY(animations.first()->state() == QAbstractAnimation::Running);
    holdAt(animations, 140);
    QCOMPARE(proxy->mode(), QtMaterialDialogProxy::SemiTransparent);
    QCOMPARE(stack->currentIndex(), 1); // the image stands in for the card
    QVERIFY(qAbs(proxy->opacity() - 0.5) < 0.01);
    QVERIFY(qAbs(effect->color().alpha() - 100) <= 1);
    const qreal eased = QEasingCurve(QEasingCurve::OutCirc).valueForProgress(0.5);
    QVERIFY(qAbs(window->offset() - 200 * (1 - eased)) <= 1);
    QVERIFY(dialog->testAttribute(Qt::WA_TransparentForMouseEvents));

    holdAt(animations, 280);
    QTRY_VERIFY(active(machine, "visible"));
    QTRY_COMPARE(proxy->mode(), QtMaterialDialogProxy::Opaque);
    QCOMPARE(stack->currentIndex(), 0);
    QCOMPARE(window->offset(), 0);
    QCOMPARE(effect->color().alpha(), 200);
    QVERIFY(!dialog->testAttribute(Qt::WA_TransparentForMouseEvents));
    dialog->layout()->activate();
    QCOMPARE(card->y() - hiddenTop, 100);
    QVERIFY(card->width() >= 400);

    // Visible: the dialog takes the click; the parent is darkened by 1 / 2.4.
    page.click(QPoint(560, 320));
    QCOMPARE(pressed.count(), 1);
    const QImage image = page.widget.grab().toImage();
    QVERIFY(sameColor(image.pixelColor(5, 5), darkened(kPage, 1 / 2.4)));

    // A second show changes nothing.
    dialog->showDialog();
    QCoreApplication::processEvents();
    QVERIFY(active(machine, "visible"));
    for (QAbstractAnimation *a : animations)
        QVERIFY(a->state() != QAbstractAnimation::Running);
    QCOMPARE(proxy->mode(), QtMaterialDialogProxy::Opaque);

    dialog->hideDialog();
    QVERIFY(dialog->testAttribute(Qt::WA_TransparentForMouseEvents));
    QCOMPARE(stack->currentIndex(), 1);
    QTRY_VERIFY(animations.first()->state() == QAbstractAnimation::Running);
    holdAt(animations, 140);
    QVERIFY(qAbs(proxy->opacity() - 0.5) < 0.01);
    QVERIFY(window->offset() > 0 && window->offset() < 200);
    holdAt(animations, 280);
    QTRY_VERIFY(active(machine, "hidden"));
    QTRY_COMPARE(proxy->mode(), QtMaterialDialogProxy::Transparent);
    QCOMPARE(window->offset(), 200);
    page.click(QPoint(560, 320));
    QCOMPARE(pressed.count(), 2);
}

void TestDialogDrawer::dialogScreenshot()
{
    Page page;
    auto *dialog = new QtMaterialDialog(&page.widget);
    auto *content = new QVBoxLayout;
    auto *text = new QLabel(QStringLiteral("Switch every light of the room off?"));
    text->setStyleSheet(QStringLiteral("color: #212121; font-size: 16px"));
    content->addWidget(text);
    content->addWidget(new QPushButton(QStringLiteral("OK")), 0, Qt::AlignRight);
    dialog->setWindowLayout(content);
    QVERIFY(page.show());
    dialog->showDialog();
    auto *proxy = dialog->findChild<QtMaterialDialogProxy *>();
    QTRY_COMPARE(proxy->mode(), QtMaterialDialogProxy::Opaque);
    dialog->layout()->activate();

    const QImage image = screenshot(&page.widget, QStringLiteral("dialog"));
    QWidget *card = dialog->findChild<QtMaterialDialogWindow *>()->parentWidget();
    const QRect cardRect(card->mapTo(&page.widget, QPoint()), card->size());
    QVERIFY(cardRect.width() >= 400);
    QVERIFY(qAbs(cardRect.center().x() - 400) <= 1);
    QVERIFY(sameColor(image.pixelColor(cardRect.left() + 3, cardRect.top() + 3), kWhite));
    QVERIFY(sameColor(image.pixelColor(5, 595), darkened(kPage, 1 / 2.4)));
    // The shadow falls below the card.
    const QColor below = image.pixelColor(cardRect.center().x(), cardRect.bottom() + 10);
    QVERIFY(below.lightness() < darkened(kPage, 1 / 2.4).lightness());
}

void TestDialogDrawer::drawerWidthAndTimings()
{
    Page page;
    auto *drawer = new QtMaterialDrawer(&page.widget);
    auto *machine = drawer->findChild<QtMaterialDrawerStateMachine *>();
    auto *panel = drawer->findChild<QtMaterialDrawerWidget *>();
    QCOMPARE(drawer->drawerWidth(), 250);
    drawer->setDrawerWidth(300);
    QCOMPARE(drawer->drawerWidth(), 300);
    QCOMPARE(panel->width(), 316);
    QCOMPARE(machine->closedOffset(), -348);
    QVERIFY(page.show());
    QTRY_VERIFY(machine->closedState()->active());
    QCOMPARE(panel->offset(), -348);
    QCOMPARE(panel->geometry(), QRect(-348, 0, 316, 600));

    const QList<QAbstractAnimation *> opening = transitionAnimations(machine->closedState());
    const QList<QAbstractAnimation *> closing = transitionAnimations(machine->openedState());
    for (const QList<QAbstractAnimation *> &list : {opening, closing}) {
        QCOMPARE(list.size(), 2);
        for (QAbstractAnimation *a : list)
            QCOMPARE(a->duration(), 220);
        QCOMPARE(byProperty(list, "opacity")->easingCurve().type(), QEasingCurve::Linear);
    }
    QCOMPARE(byProperty(opening, "offset")->easingCurve().type(), QEasingCurve::OutCirc);
    QCOMPARE(byProperty(closing, "offset")->easingCurve().type(), QEasingCurve::InCirc);

    struct Step {
        std::function<void()> start;
        QList<QAbstractAnimation *> animations;
        QState *during;
        QState *after;
        qreal midOffset;
        qreal midOpacity;
        int endOffset;
        qreal endOpacity;
    };
    const qreal out = QEasingCurve(QEasingCurve::OutCirc).valueForProgress(0.5);
    const qreal in = QEasingCurve(QEasingCurve::InCirc).valueForProgress(0.5);
    const Step steps[] = {
        {[&]() { drawer->openDrawer(); }, opening, machine->openingState(),
         machine->openedState(), -348 * (1 - out), 0.2, 0, 0.4},
        {[&]() { drawer->closeDrawer(); }, closing, machine->closingState(),
         machine->closedState(), -348 * in, 0.2, -348, 0.0},
    };
    for (const Step &step : steps) {
        step.start();
        QTRY_VERIFY(step.during->active());
        QTRY_VERIFY(step.animations.first()->state() == QAbstractAnimation::Running);
        holdAt(step.animations, 110);
        QVERIFY2(qAbs(panel->offset() - step.midOffset) <= 1, qPrintable(QString::number(panel->offset())));
        QVERIFY(qAbs(machine->opacity() - step.midOpacity) < 0.01);
        QCOMPARE(panel->x(), panel->offset());
        holdAt(step.animations, 220);
        QTRY_VERIFY(step.after->active());
        QCOMPARE(panel->offset(), step.endOffset);
        QCOMPARE(machine->opacity(), step.endOpacity);
    }
    // Opening acts only when closed.
    drawer->openDrawer();
    QTRY_VERIFY(machine->openingState()->active());
    drawer->openDrawer();
    QCoreApplication::processEvents();
    QVERIFY(machine->openingState()->active());
}

void TestDialogDrawer::drawerMouse_data()
{
    QTest::addColumn<bool>("overlay");
    QTest::newRow("overlay off") << false;
    QTest::newRow("overlay on") << true;
}

void TestDialogDrawer::drawerMouse()
{
    QFETCH(bool, overlay);

    Page page;
    auto *drawer = new QtMaterialDrawer(&page.widget);
    auto *machine = drawer->findChild<QtMaterialDrawerStateMachine *>();
    drawer->setOverlayMode(overlay);
    drawer->setClickOutsideToClose(true);
    QVERIFY(page.show());
    QTRY_VERIFY(machine->closedState()->active());

    const QImage before = page.widget.grab().toImage();
    drawer->openDrawer();
    QTRY_VERIFY(machine->openedState()->active());
    QVERIFY(drawer->isVisible());

    // Beside the open panel: without overlay the page's own button takes the
    // click; with overlay the drawer covers everything.
    QSignalSpy clicked(page.button, &QPushButton::clicked);
    QCOMPARE(page.widget.childAt(560, 320) == page.button, !overlay);
    QVERIFY(page.widget.childAt(100, 320) != page.button);
    if (!overlay) {
        page.click(QPoint(560, 320));
        QCOMPARE(clicked.count(), 1);
        QVERIFY(machine->openedState()->active()); // a press on a child is not the parent's
        // A press on the parent itself outside the panel closes the drawer.
        page.click(QPoint(700, 100));
    } else {
        QVERIFY(sameColor(page.widget.grab().toImage().pixelColor(700, 100), darkened(kPage, 0.4)));
        drawer->closeDrawer();
    }
    QTRY_VERIFY(machine->closingState()->active());
    QTRY_VERIFY(machine->closedState()->active());

    if (overlay) {
        // Closed in overlay mode: no mouse input, nothing drawn.
        QVERIFY(drawer->testAttribute(Qt::WA_TransparentForMouseEvents));
        QCOMPARE(page.widget.childAt(560, 320), page.button);
        QCOMPARE(page.widget.grab().toImage(), before);
        page.click(QPoint(560, 320));
        QCOMPARE(clicked.count(), 1);
    }
}

void TestDialogDrawer::drawerWithoutAutoRaise()
{
    Page page;
    auto *drawer = new QtMaterialDrawer(&page.widget);
    auto *machine = drawer->findChild<QtMaterialDrawerStateMachine *>();
    QVERIFY(drawer->autoRaise());
    drawer->setAutoRaise(false);
    QVERIFY(page.show());
    QVERIFY(!drawer->isVisible());
    drawer->openDrawer();
    QTRY_VERIFY(machine->openedState()->active());
    QVERIFY(!drawer->isVisible());
}

void TestDialogDrawer::drawerScreenshot()
{
    Page page;
    auto *drawer = new QtMaterialDrawer(&page.widget);
    drawer->setOverlayMode(true);
    auto *items = new QVBoxLayout;
    for (const char *text : {"Lighting", "Air conditioner", "Moods"}) {
        auto *label = new QLabel(QLatin1String(text));
        label->setStyleSheet(QStringLiteral("color: #212121; font-size: 18px"));
        items->addWidget(label);
    }
    items->addStretch();
    drawer->setDrawerLayout(items);
    QCOMPARE(drawer->drawerLayout(), items);
    QVERIFY(page.show());
    drawer->openDrawer();
    auto *machine = drawer->findChild<QtMaterialDrawerStateMachine *>();
    QTRY_VERIFY(machine->openedState()->active());

    const QImage image = screenshot(&page.widget, QStringLiteral("drawer"));
    QVERIFY(sameColor(image.pixelColor(240, 590), kWhite));             // panel
    QVERIFY(sameColor(image.pixelColor(600, 590), darkened(kPage, 0.4))); // darkened page
    // The shadow strip runs from dark at the panel's edge to the page at its end.
    const QColor strip = image.pixelColor(251, 590);
    QVERIFY(strip.lightness() < darkened(kPage, 0.4).lightness());
    QVERIFY(countColor(image, QColor(0x21, 0x21, 0x21), QRect(0, 0, 250, 200), 60) > 20);
}

VARNO_TEST_MAIN(TestDialogDrawer)
#include "tst_dialogdrawer.moc"
