// Dialog and drawer: construction without the event loop, the timed transitions
// checked at chosen points, darkening, mouse routing, screenshots on the dark page.

#include "materialtestutil.h"
#include "qtmaterialdialog.h"
#include "qtmaterialdialogproxy.h"
#include "qtmaterialdialogwindow.h"
#include "qtmaterialdrawer.h"
#include "qtmaterialdrawerstatemachine.h"
#include "qtmaterialdrawerwidget.h"
#include "testmain.h"

#include <QAbstractTransition>
#include <QGraphicsDropShadowEffect>
#include <QLabel>
#include <QPropertyAnimation>
#include <QPushButton>
#include <QSignalSpy>
#include <QStackedLayout>
#include <QState>
#include <QTest>
#include <QVBoxLayout>

using namespace materialtest;

namespace {

const QColor kPage(0x26, 0x34, 0x40);
const QColor kWhite(Qt::white);

QColor darkened(qreal opacity)
{
    return QColor::fromRgbF(kPage.redF() * (1 - opacity), kPage.greenF() * (1 - opacity),
                            kPage.blueF() * (1 - opacity));
}

// A shown dark page, 800 x 600, with a button at (500, 300, 120, 40).
struct Page
{
    QWidget widget;
    QPushButton *button = new QPushButton(QStringLiteral("Below"), &widget);

    Page()
    {
        widget.resize(800, 600);
        widget.setAutoFillBackground(true);
        QPalette palette;
        palette.setColor(QPalette::Window, kPage);
        widget.setPalette(palette);
        button->setGeometry(500, 300, 120, 40);
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

QVBoxLayout *textLayout(const QStringList &lines)
{
    auto *layout = new QVBoxLayout;
    for (const QString &line : lines) {
        auto *label = new QLabel(line);
        label->setStyleSheet(QStringLiteral("color: #212121; font-size: 18px"));
        layout->addWidget(label);
    }
    return layout;
}

class Recorder : public QObject
{
public:
    int posted = 0;

protected:
    void customEvent(QEvent *) override { ++posted; }
};

// Holds running (or finished) animations at the given time.
void holdAt(const QList<QAbstractAnimation *> &animations, int ms)
{
    for (QAbstractAnimation *animation : animations) {
        if (animation->state() == QAbstractAnimation::Running)
            animation->pause();
        animation->setCurrentTime(ms);
    }
}

QPropertyAnimation *byProperty(const QList<QAbstractAnimation *> &list, const char *name)
{
    for (QAbstractAnimation *a : list)
        if (auto *p = qobject_cast<QPropertyAnimation *>(a); p && p->propertyName() == name)
            return p;
    return nullptr;
}

} // namespace

class TestDialogDrawer : public QObject
{
    Q_OBJECT

private slots:
    void constructorDoesNotRunEventLoop_data();
    void constructorDoesNotRunEventLoop();
    void dialog();
    void drawerTimings();
    void drawerMouse_data();
    void drawerMouse();
};

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
    if (dialog) {
        auto *d = new QtMaterialDialog(&parent);
        QCOMPARE(recorder.posted, 0);
        // The hidden state's values are there before the machine runs.
        auto *proxy = d->findChild<QtMaterialDialogProxy *>();
        auto *window = d->findChild<QtMaterialDialogWindow *>();
        QCOMPARE(proxy->mode(), QtMaterialDialogProxy::Transparent);
        QCOMPARE(proxy->opacity(), 0.0);
        QCOMPARE(window->offset(), 200);
        QCOMPARE(static_cast<QGraphicsDropShadowEffect *>(window->parentWidget()->graphicsEffect())
                     ->color().alpha(), 0);
        QVERIFY(d->testAttribute(Qt::WA_TransparentForMouseEvents));
        // Shown at once, before the event loop has run.
        d->showDialog();
        QTRY_COMPARE(proxy->mode(), QtMaterialDialogProxy::Opaque);
    } else {
        auto *d = new QtMaterialDrawer(&parent);
        QCOMPARE(recorder.posted, 0);
        auto *panel = d->findChild<QtMaterialDrawerWidget *>();
        auto *machine = d->findChild<QtMaterialDrawerStateMachine *>();
        QCOMPARE(panel->width(), 266);
        QCOMPARE(panel->offset(), -298);
        QCOMPARE(machine->opacity(), 0.0);
        QVERIFY(d->isHidden());
        // Opened at once without auto raise: the machine runs to opened, the
        // drawer stays hidden.
        QVERIFY(d->autoRaise());
        d->setAutoRaise(false);
        d->openDrawer();
        QTRY_VERIFY(machine->openedState()->active());
        QCOMPARE(panel->offset(), 0);
        QVERIFY(d->isHidden());
    }
    QCoreApplication::processEvents();
    QCOMPARE(recorder.posted, 1);
}

void TestDialogDrawer::dialog()
{
    Page page;
    auto *dialog = new QtMaterialDialog(&page.widget);
    QVBoxLayout *content = textLayout({QStringLiteral("Switch every light of the room off?")});
    content->addWidget(new QPushButton(QStringLiteral("OK")), 0, Qt::AlignRight);
    dialog->setWindowLayout(content);
    QCOMPARE(dialog->windowLayout(), content);
    QVERIFY(page.show());

    auto *proxy = dialog->findChild<QtMaterialDialogProxy *>();
    auto *window = dialog->findChild<QtMaterialDialogWindow *>();
    QWidget *card = window->parentWidget();
    auto *stack = qobject_cast<QStackedLayout *>(card->layout());
    auto *effect = qobject_cast<QGraphicsDropShadowEffect *>(card->graphicsEffect());
    QList<QAbstractAnimation *> animations;
    for (QPropertyAnimation *a : dialog->findChildren<QPropertyAnimation *>()) {
        QCOMPARE(a->duration(), 280);
        animations.append(a);
    }
    QCOMPARE(animations.size(), 3);
    QCOMPARE(byProperty(animations, "offset")->easingCurve().type(), QEasingCurve::OutCirc);
    // Entering the first state animates too; let that end before showing.
    for (QAbstractAnimation *a : animations)
        QTRY_COMPARE(a->state(), QAbstractAnimation::Stopped);
    QCOMPARE(dialog->geometry(), page.widget.rect());
    dialog->layout()->activate();
    const int hiddenTop = card->y();

    // Hidden: clicks pass through to the page.
    QSignalSpy pressed(page.button, &QPushButton::clicked);
    page.click(QPoint(560, 320));
    QCOMPARE(pressed.count(), 1);

    const qreal outCirc = QEasingCurve(QEasingCurve::OutCirc).valueForProgress(0.5);
    for (bool show : {true, false}) {
        show ? dialog->showDialog() : dialog->hideDialog();
        QCOMPARE(dialog->testAttribute(Qt::WA_TransparentForMouseEvents), true);
        QTRY_COMPARE(animations.first()->state(), QAbstractAnimation::Running);
        // Half way: the image of the card stands in, half faded, sliding.
        holdAt(animations, 140);
        QCOMPARE(proxy->mode(), QtMaterialDialogProxy::SemiTransparent);
        QCOMPARE(stack->currentIndex(), 1);
        QVERIFY(qAbs(proxy->opacity() - 0.5) < 0.01);
        QVERIFY(qAbs(effect->color().alpha() - 100) <= 1);
        QVERIFY(qAbs(window->offset() - (show ? 200 * (1 - outCirc) : 200 * outCirc)) <= 1);
        holdAt(animations, 280);
        QTRY_COMPARE(proxy->mode(), show ? QtMaterialDialogProxy::Opaque
                                         : QtMaterialDialogProxy::Transparent);
        QCOMPARE(stack->currentIndex(), show ? 0 : 1);
        QCOMPARE(window->offset(), show ? 0 : 200);
        QCOMPARE(effect->color().alpha(), show ? 200 : 0);
        QCOMPARE(dialog->testAttribute(Qt::WA_TransparentForMouseEvents), !show);
        page.click(QPoint(560, 320));
        QCOMPARE(pressed.count(), show ? 1 : 2);
        if (!show)
            break;

        // Fully shown: the card 100 pixels lower, at least 400 wide, the page
        // darkened by 1 / 2.4; a second show changes nothing.
        dialog->layout()->activate();
        QCOMPARE(card->y() - hiddenTop, 100);
        QVERIFY(card->width() >= 400);
        const QImage image = screenshot(&page.widget, QStringLiteral("dialog"));
        const QRect cardRect(card->mapTo(&page.widget, QPoint()), card->size());
        QVERIFY(qAbs(cardRect.center().x() - 400) <= 1);
        QVERIFY(sameColor(image.pixelColor(cardRect.topLeft() + QPoint(3, 3)), kWhite));
        QVERIFY(sameColor(image.pixelColor(5, 595), darkened(1 / 2.4)));
        QVERIFY(image.pixelColor(400, cardRect.bottom() + 10).lightness()
                < darkened(1 / 2.4).lightness()); // shadow below the card
        dialog->showDialog();
        QCoreApplication::processEvents();
        for (QAbstractAnimation *a : animations)
            QCOMPARE(a->state(), QAbstractAnimation::Stopped);
        QCOMPARE(proxy->mode(), QtMaterialDialogProxy::Opaque);
    }
}

void TestDialogDrawer::drawerTimings()
{
    Page page;
    auto *drawer = new QtMaterialDrawer(&page.widget);
    auto *machine = drawer->findChild<QtMaterialDrawerStateMachine *>();
    auto *panel = drawer->findChild<QtMaterialDrawerWidget *>();
    QCOMPARE(drawer->drawerWidth(), 250);
    drawer->setDrawerWidth(300);
    QCOMPARE(drawer->drawerWidth(), 300);
    QCOMPARE(panel->width(), 316);
    QVERIFY(page.show());
    QTRY_VERIFY(machine->closedState()->active());
    QCOMPARE(panel->geometry(), QRect(-348, 0, 316, 600));

    // Open, then close, each held half way and at the end of its 220 ms.
    const qreal out = QEasingCurve(QEasingCurve::OutCirc).valueForProgress(0.5);
    const qreal in = QEasingCurve(QEasingCurve::InCirc).valueForProgress(0.5);
    for (bool open : {true, false}) {
        QState *from = open ? machine->closedState() : machine->openedState();
        const QList<QAbstractAnimation *> animations = from->transitions().first()->animations();
        QCOMPARE(animations.size(), 2);
        for (QAbstractAnimation *a : animations)
            QCOMPARE(a->duration(), 220);
        QCOMPARE(byProperty(animations, "opacity")->easingCurve().type(), QEasingCurve::Linear);
        QCOMPARE(byProperty(animations, "offset")->easingCurve().type(),
                 open ? QEasingCurve::OutCirc : QEasingCurve::InCirc);

        open ? drawer->openDrawer() : drawer->closeDrawer();
        QTRY_COMPARE(animations.first()->state(), QAbstractAnimation::Running);
        QVERIFY((open ? machine->openingState() : machine->closingState())->active());
        holdAt(animations, 110);
        QVERIFY(qAbs(panel->x() - (open ? -348 * (1 - out) : -348 * in)) <= 1);
        QVERIFY(qAbs(machine->opacity() - 0.2) < 0.01);
        holdAt(animations, 220);
        QTRY_VERIFY((open ? machine->openedState() : machine->closedState())->active());
        QCOMPARE(panel->x(), open ? 0 : -348);
        QCOMPARE(machine->opacity(), open ? 0.4 : 0.0);
    }
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
    QVBoxLayout *items = textLayout({QStringLiteral("Lighting"), QStringLiteral("Moods")});
    items->addStretch();
    drawer->setDrawerLayout(items);
    QCOMPARE(drawer->drawerLayout(), items);
    QVERIFY(page.show());
    QTRY_VERIFY(machine->closedState()->active());
    const QImage before = page.widget.grab().toImage();

    drawer->openDrawer();
    QTRY_VERIFY(machine->openedState()->active());
    QVERIFY(drawer->isVisible());
    QSignalSpy clicked(page.button, &QPushButton::clicked);
    QVERIFY(page.widget.childAt(100, 320) != page.button);
    if (!overlay) {
        // Beside the panel, clicks reach the page's children and the page; a
        // press on a child leaves the drawer open, one on the page closes it.
        QCOMPARE(page.widget.childAt(560, 320), page.button);
        page.click(QPoint(560, 320));
        QCOMPARE(clicked.count(), 1);
        QVERIFY(machine->openedState()->active());
        page.click(QPoint(700, 100));
        QVERIFY(machine->closingState()->active());
    } else {
        QCOMPARE(page.widget.childAt(560, 320), drawer);
        const QImage image = screenshot(&page.widget, QStringLiteral("drawer"));
        QVERIFY(sameColor(image.pixelColor(240, 590), kWhite));          // panel
        QVERIFY(sameColor(image.pixelColor(600, 590), darkened(0.4)));    // darkened page
        QVERIFY(image.pixelColor(251, 590).lightness() < darkened(0.4).lightness()); // shadow
        QVERIFY(countColor(image, QColor(0x21, 0x21, 0x21), QRect(0, 0, 250, 200), 60) > 20);
        drawer->closeDrawer();
    }
    QTRY_VERIFY(machine->closedState()->active());
    // Closed: no mouse input where the panel was, in either mode.
    QVERIFY(drawer->testAttribute(Qt::WA_TransparentForMouseEvents));
    QVERIFY(!page.widget.childAt(100, 320));
    if (overlay) {
        // Nothing drawn.
        QCOMPARE(page.widget.grab().toImage(), before);
        page.click(QPoint(560, 320));
        QCOMPARE(clicked.count(), 1);
    }
}

VARNO_TEST_MAIN(TestDialogDrawer)
#include "tst_dialogdrawer.moc"
