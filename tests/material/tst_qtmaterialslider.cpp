// Slider: size hints, colours, the ring at the minimum, track painting, page-step
// repeat timing, hover halo, and the life of the thumb and track on the parent.

#include "../support/testmain.h"
#include "materialtestutil.h"

#include "qtmaterialslider.h"
#include "qtmaterialsliderprivate.h"
#include "qtmaterialsliderstatemachine.h"
#include "qtmaterialsliderthumb.h"
#include "qtmaterialslidertrack.h"
#include "qtmaterialstyle.h"

#include <QAbstractAnimation>
#include <QAbstractEventDispatcher>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPointer>
#include <QSignalSpy>
#include <QState>
#include <QStyle>

namespace {

const QColor DarkBackground(0x26, 0x34, 0x40);
const QColor ThumbBlue(0x21, 0x96, 0xF3);

class SliderAccess : public QtMaterialSlider
{
public:
    static QtMaterialSliderPrivate *of(QtMaterialSlider *s)
    {
        const auto member = &SliderAccess::d_ptr;
        return (s->*member).data();
    }
};

QtMaterialSliderPrivate *priv(QtMaterialSlider *s)
{
    return SliderAccess::of(s);
}

void darken(QWidget *host)
{
    QPalette p = host->palette();
    p.setColor(QPalette::Window, DarkBackground);
    host->setPalette(p);
    host->setAutoFillBackground(true);
}

// The window itself holds the focus, so that no slider takes it when the window
// becomes active (a focused slider shows its breathing halo).
void keepFocus(QWidget *host)
{
    host->setFocusPolicy(Qt::ClickFocus);
    host->setFocus();
}

void sendMouse(QWidget *w, QEvent::Type type, const QPoint &pos)
{
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    const Qt::MouseButtons buttons = type == QEvent::MouseButtonPress ? Qt::LeftButton
                                                                      : Qt::NoButton;
    QMouseEvent event(type, pos, w->mapToGlobal(pos), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(w, &event);
}

void sendLeave(QWidget *w)
{
    QEvent event(QEvent::Leave);
    QApplication::sendEvent(w, &event);
}

// Notes each value a slider takes with the interval of the slider's own timer whose
// tick brought it, or 0 for a value taken at once.
class TickedValues : public QObject
{
public:
    explicit TickedValues(QAbstractSlider *slider)
    {
        slider->installEventFilter(this);
        connect(slider, &QAbstractSlider::valueChanged, this,
                [this](int value) { steps << qMakePair(value, m_tick); });
    }

    QList<QPair<int, int>> steps;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        m_tick = 0;
        if (event->type() == QEvent::Timer) {
            const int id = static_cast<QTimerEvent *>(event)->timerId();
            const auto timers = QAbstractEventDispatcher::instance()->registeredTimers(watched);
            for (const QAbstractEventDispatcher::TimerInfo &timer : timers)
                m_tick = timer.timerId == id ? timer.interval : m_tick;
        }
        return false;
    }

private:
    int m_tick = 0;
};

// Waits until the machine's animations have run, except the endless halo pulse.
// The slider's repeat action (SliderNoAction once its repeat timer is stopped).
QAbstractSlider::SliderAction repeatActionOf(const QAbstractSlider *slider)
{
    struct Peek : QAbstractSlider
    {
        using QAbstractSlider::repeatAction;
    };
    return (slider->*(&Peek::repeatAction))();
}

bool settle(QObject *machine)
{
    return QTest::qWaitFor([machine] { return materialtest::atRest(machine, 999); }, 5000);
}

// A slider over 0..100 laid across a dark 300 x 60 host, its knob centred at y = 30.
QtMaterialSlider *sliderOnDarkHost(QWidget *host)
{
    darken(host);
    host->resize(300, 60);
    auto *slider = new QtMaterialSlider(host);
    slider->setGeometry(0, 13, 300, 34);
    slider->setRange(0, 100);
    return slider;
}

// Shows the host and waits until the slider's animations have run.
bool showSettled(QWidget *host, QtMaterialSlider *slider)
{
    keepFocus(host);
    host->show();
    return QTest::qWaitForWindowExposed(host) && settle(priv(slider)->stateMachine);
}

QColor pixel(const QImage &image, int x, int y)
{
    return image.pixelColor(x, y);
}

} // namespace

class TestMaterialSlider : public QObject
{
    Q_OBJECT

private slots:
    void minimumSizeHint_data();
    void minimumSizeHint();
    void defaults();
    void themeColours();
    void ownColours();
    void ringAtMinimum();
    void trackPainting_data();
    void trackPainting();
    void disabledLook();
    void pageStepRepeatTiming_data();
    void pageStepRepeatTiming();
    void pressWithoutPageStepJumpsAndDrags();
    void hoverShowsBreathingHalo();
    void hoverOnFocusedSliderChangesNothing();
    void pressGrowsKnob();
    void resizeKeepsThumbAtValue();
    void deletingSliderRemovesCompanions();
    void deletingParentFirstIsClean();
    void companionsFollowNewParent();
    void hiddenSliderPaintsNothing();
    void screenshotOnDarkBackground();
};

void TestMaterialSlider::minimumSizeHint_data()
{
    QTest::addColumn<Qt::Orientation>("orientation");
    QTest::addColumn<QSize>("hint");
    QTest::addColumn<QSizePolicy::Policy>("horizontal");
    QTest::addColumn<QSizePolicy::Policy>("vertical");

    QTest::newRow("horizontal") << Qt::Horizontal << QSize(130, 34)
                                << QSizePolicy::Expanding << QSizePolicy::Fixed;
    QTest::newRow("vertical") << Qt::Vertical << QSize(34, 130)
                              << QSizePolicy::Fixed << QSizePolicy::Expanding;
}

void TestMaterialSlider::minimumSizeHint()
{
    QFETCH(Qt::Orientation, orientation);
    QFETCH(QSize, hint);
    QFETCH(QSizePolicy::Policy, horizontal);
    QFETCH(QSizePolicy::Policy, vertical);

    QWidget host;
    QtMaterialSlider slider(&host);
    slider.setOrientation(orientation);
    QCOMPARE(slider.minimumSizeHint(), hint);
    QCOMPARE(slider.sizePolicy().horizontalPolicy(), horizontal);
    QCOMPARE(slider.sizePolicy().verticalPolicy(), vertical);
    QVERIFY(!slider.testAttribute(Qt::WA_WState_OwnSizePolicy));
}

void TestMaterialSlider::defaults()
{
    QWidget host;
    QtMaterialSlider slider(&host);
    QtMaterialSliderPrivate *d = priv(&slider);

    QCOMPARE(slider.pageStep(), 1);
    QVERIFY(slider.pageStepMode());
    QVERIFY(slider.hasMouseTracking());
    QCOMPARE(slider.focusPolicy(), Qt::StrongFocus);
    QVERIFY(slider.useThemeColors());
    // Built with no event loop run: the machine is already in its initial states.
    QVERIFY(d->stateMachine->isRunning());
    QVERIFY(d->stateMachine->inactiveState()->active());
    QVERIFY(d->stateMachine->minState()->active());
    QCOMPARE(d->thumb->parentWidget(), &host);
    QCOMPARE(d->track->parentWidget(), &host);
    QVERIFY(d->thumb->testAttribute(Qt::WA_TransparentForMouseEvents));
    QVERIFY(d->track->testAttribute(Qt::WA_TransparentForMouseEvents));
    QCOMPARE(d->thumb->diameter(), 11.0);
    QCOMPARE(d->thumb->haloSize(), 0.0);
    QCOMPARE(d->thumb->borderWidth(), 2.0);
}

void TestMaterialSlider::themeColours()
{
    QWidget host;
    QtMaterialSlider slider(&host);
    QtMaterialStyle &style = QtMaterialStyle::instance();

    QCOMPARE(slider.thumbColor(), ThumbBlue);
    QCOMPARE(slider.trackColor(), style.themeColor(Material::AccentDarkColor));
    QCOMPARE(slider.disabledColor(), style.themeColor(Material::DisabledColor));

    // The thumb colour is fixed, whatever the theme's primary colour is.
    const QColor primary = style.themeColor(Material::PrimaryColor);
    const QColor accentDark = style.themeColor(Material::AccentDarkColor);
    style.theme()->setColor(Material::PrimaryColor, QColor(Qt::red));
    style.theme()->setColor(Material::AccentDarkColor, QColor(Qt::magenta));
    style.setTheme(style.theme());
    QCOMPARE(slider.thumbColor(), ThumbBlue);
    QCOMPARE(slider.trackColor(), QColor(Qt::magenta));
    // The style change re-ran the set-up: the inactive track shows the new colour.
    QCOMPARE(priv(&slider)->track->fillColor(), QColor(Qt::magenta).lighter(130));

    style.theme()->setColor(Material::PrimaryColor, primary);
    style.theme()->setColor(Material::AccentDarkColor, accentDark);
    style.setTheme(style.theme());
    QCOMPARE(priv(&slider)->track->fillColor(), accentDark.lighter(130));
}

void TestMaterialSlider::ownColours()
{
    QWidget host;
    QtMaterialSlider slider(&host);
    QtMaterialSliderPrivate *d = priv(&slider);
    slider.setRange(0, 100);
    slider.setValue(40);
    QVERIFY(settle(d->stateMachine));

    slider.setTrackColor(Qt::green);
    QVERIFY(!slider.useThemeColors());
    QCOMPARE(slider.trackColor(), QColor(Qt::green));
    QCOMPARE(slider.thumbColor(), ThumbBlue);
    QCOMPARE(d->track->fillColor(), QColor(Qt::green).lighter(130));

    slider.setThumbColor(Qt::yellow);
    QCOMPARE(d->thumb->fillColor(), QColor(Qt::yellow));

    slider.setUseThemeColors(true);
    QCOMPARE(slider.trackColor(),
             QtMaterialStyle::instance().themeColor(Material::AccentDarkColor));
    QCOMPARE(d->thumb->fillColor(), ThumbBlue);
}

void TestMaterialSlider::ringAtMinimum()
{
    QWidget host;
    QtMaterialSlider *slider = sliderOnDarkHost(&host);
    QtMaterialSliderPrivate *d = priv(slider);
    keepFocus(&host);
    host.show();
    QVERIFY(QTest::qWaitForWindowExposed(&host));

    QVERIFY(d->stateMachine->minState()->active());
    QCOMPARE(d->thumb->fillColor(), DarkBackground);
    QCOMPARE(d->thumb->borderColor(), slider->trackColor());
    QCOMPARE(d->thumb->borderWidth(), 2.0);
    QImage image = materialtest::screenshot(&host, "slider-at-minimum");
    // Knob centre at (30, 30): a ring, hollow in the background colour.
    QVERIFY(materialtest::sameColor(pixel(image, 30, 30), DarkBackground));
    QVERIFY(materialtest::countColor(image, slider->trackColor(), QRect(22, 22, 17, 17), 40)
            > 6);

    slider->setValue(50);
    QTRY_VERIFY(d->stateMachine->normalState()->active());
    QVERIFY(settle(d->stateMachine));
    QCOMPARE(d->thumb->fillColor(), ThumbBlue);
    QCOMPARE(d->thumb->borderWidth(), 0.0);
    image = materialtest::screenshot(&host, "slider-above-minimum");
    QVERIFY(materialtest::sameColor(pixel(image, 150, 30), ThumbBlue));

    slider->setValue(0);
    QTRY_VERIFY(d->stateMachine->minState()->active());
    QVERIFY(settle(d->stateMachine));
    QCOMPARE(d->thumb->fillColor(), DarkBackground);
    QCOMPARE(d->thumb->borderWidth(), 2.0);
}

void TestMaterialSlider::trackPainting_data()
{
    QTest::addColumn<bool>("inverted");
    QTest::addColumn<int>("value");

    QTest::newRow("plain 50") << false << 50;
    QTest::newRow("plain 25") << false << 25;
    QTest::newRow("inverted 50") << true << 50;
    QTest::newRow("inverted 75") << true << 75;
}

void TestMaterialSlider::trackPainting()
{
    QFETCH(bool, inverted);
    QFETCH(int, value);

    QWidget host;
    QtMaterialSlider *slider = sliderOnDarkHost(&host);
    slider->setInvertedAppearance(inverted);
    slider->setValue(value);
    QVERIFY(showSettled(&host, slider));

    // Usable length 240 from x = 30; the track's two rows are y = 29 and 30.
    const int offset = QStyle::sliderPositionFromValue(0, 100, value, 240, inverted);
    QCOMPARE(priv(slider)->thumb->offset(), offset);
    const int thumbX = 30 + offset;
    const QColor rest = slider->trackColor().lighter(130);
    const QImage image = materialtest::screenshot(&host, QStringLiteral("slider-track-%1-%2")
                                                             .arg(inverted).arg(value));

    const QColor before = inverted ? rest : ThumbBlue;
    const QColor after = inverted ? ThumbBlue : rest;
    for (int y : {29, 30}) {
        QVERIFY(materialtest::sameColor(pixel(image, 34, y), before));
        QVERIFY(materialtest::sameColor(pixel(image, thumbX - 20, y), before));
        QVERIFY(materialtest::sameColor(pixel(image, thumbX + 20, y), after));
        QVERIFY(materialtest::sameColor(pixel(image, 265, y), after));
    }
    // Nothing outside the usable length, nothing off the track's rows.
    QVERIFY(materialtest::sameColor(pixel(image, 10, 29), DarkBackground));
    QVERIFY(materialtest::sameColor(pixel(image, 290, 29), DarkBackground));
    QVERIFY(materialtest::sameColor(pixel(image, 34, 27), DarkBackground));
    QVERIFY(materialtest::sameColor(pixel(image, 34, 32), DarkBackground));
}

void TestMaterialSlider::disabledLook()
{
    QWidget host;
    QtMaterialSlider *slider = sliderOnDarkHost(&host);
    slider->setValue(50);
    slider->setEnabled(false);
    QVERIFY(showSettled(&host, slider));

    QImage image = materialtest::screenshot(&host, "slider-disabled");
    // Knob of 7 at x = 150; the track stops 6 short of it on each side.
    const QColor knob = pixel(image, 150, 30);
    QVERIFY(!materialtest::sameColor(knob, DarkBackground, 4));
    QVERIFY(materialtest::sameColor(pixel(image, 100, 29), knob));
    QVERIFY(materialtest::sameColor(pixel(image, 145, 29), DarkBackground));
    QVERIFY(materialtest::sameColor(pixel(image, 154, 29), DarkBackground));
    QVERIFY(materialtest::sameColor(pixel(image, 200, 29), knob));
    QVERIFY(materialtest::sameColor(pixel(image, 150, 25), DarkBackground));
    QVERIFY(materialtest::sameColor(pixel(image, 150, 34), DarkBackground));

    // At the minimum the knob is an unfilled ring.
    slider->setValue(0);
    QVERIFY(settle(priv(slider)->stateMachine));
    image = materialtest::screenshot(&host, "slider-disabled-minimum");
    QVERIFY(materialtest::sameColor(pixel(image, 30, 30), DarkBackground));
    QVERIFY(!materialtest::sameColor(pixel(image, 30, 27), DarkBackground, 4));
}

void TestMaterialSlider::pageStepRepeatTiming_data()
{
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("pressX");
    QTest::addColumn<int>("direction");

    QTest::newRow("add") << 0 << 280 << 1;
    QTest::newRow("subtract") << 1000 << 20 << -1;
}

void TestMaterialSlider::pageStepRepeatTiming()
{
    QFETCH(int, start);
    QFETCH(int, pressX);
    QFETCH(int, direction);

    QWidget host;
    host.resize(300, 34);
    auto *slider = new QtMaterialSlider(&host);
    slider->setGeometry(0, 0, 300, 34);
    slider->setRange(0, 1000);
    slider->setValue(start);
    keepFocus(&host);
    host.show();
    QVERIFY(QTest::qWaitForWindowExposed(&host));

    TickedValues ticked(slider);
    sendMouse(slider, QEvent::MouseButtonPress, QPoint(pressX, 17));
    // One page step at once, and the slider does not go down.
    QCOMPARE(slider->value(), start + direction);
    QVERIFY(!slider->isSliderDown());

    QTRY_VERIFY_WITH_TIMEOUT(qAbs(slider->value() - start) >= 20, 5000);
    sendMouse(slider, QEvent::MouseButtonRelease, QPoint(pressX, 17));
    const int released = slider->value();

    // The first step comes at once, the next on a tick of the 400 ms repeat
    // timer; from then on it keeps stepping, one step each 8 ms tick, while the
    // button is held, which the twenty steps above show.
    QVERIFY(ticked.steps.size() >= 20);
    for (int i = 0; i < ticked.steps.size(); ++i)
        QCOMPARE(ticked.steps.at(i), qMakePair(start + (i + 1) * direction, i == 0 ? 0 : i == 1 ? 400 : 8));

    // Release ends the repeat: its timer is stopped.
    QCOMPARE(repeatActionOf(slider), QAbstractSlider::SliderNoAction);
    QCoreApplication::sendPostedEvents();
    QCOMPARE(slider->value(), released);
}

void TestMaterialSlider::pressWithoutPageStepJumpsAndDrags()
{
    QWidget host;
    host.resize(300, 34);
    auto *slider = new QtMaterialSlider(&host);
    slider->setGeometry(0, 0, 300, 34);
    slider->setRange(0, 240);
    slider->setPageStepMode(false);
    QVERIFY(!slider->pageStepMode());
    keepFocus(&host);
    host.show();
    QVERIFY(QTest::qWaitForWindowExposed(&host));

    QSignalSpy pressed(slider, &QAbstractSlider::sliderPressed);
    sendMouse(slider, QEvent::MouseButtonPress, QPoint(150, 17));
    QCOMPARE(slider->value(), 120);
    QVERIFY(slider->isSliderDown());
    QCOMPARE(pressed.count(), 1);
    QCOMPARE(priv(slider)->thumb->offset(), 120);

    QMouseEvent move(QEvent::MouseMove, QPoint(200, 17), slider->mapToGlobal(QPoint(200, 17)),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(slider, &move);
    QCOMPARE(slider->value(), 170);

    sendMouse(slider, QEvent::MouseButtonRelease, QPoint(200, 17));
    QVERIFY(!slider->isSliderDown());
    QCOMPARE(slider->value(), 170);
}

void TestMaterialSlider::hoverShowsBreathingHalo()
{
    QWidget host;
    host.resize(300, 80);
    // Something else holds the focus: the hover alone must show the halo.
    auto *edit = new QLineEdit(&host);
    edit->setGeometry(0, 40, 100, 30);
    auto *slider = new QtMaterialSlider(&host);
    slider->setGeometry(0, 0, 300, 34);
    keepFocus(&host);
    host.show();
    QVERIFY(QTest::qWaitForWindowExposed(&host));
    edit->setFocus();
    QVERIFY(!slider->hasFocus());
    QtMaterialSliderPrivate *d = priv(slider);

    // Over the track but away from the thumb counts too.
    sendMouse(slider, QEvent::MouseMove, QPoint(200, 17));
    QTRY_VERIFY(d->stateMachine->focusState()->active());
    QTRY_VERIFY(d->thumb->haloSize() > 30);
    QTRY_COMPARE(d->track->fillColor(), slider->trackColor());
    // It breathes: down towards 28, then up again.
    QTRY_VERIFY_WITH_TIMEOUT(d->stateMachine->pulseInState()->active(), 3000);
    QTRY_VERIFY_WITH_TIMEOUT(d->stateMachine->pulseOutState()->active(), 3000);

    // Moving off the track ends the hover.
    sendMouse(slider, QEvent::MouseMove, QPoint(200, 2));
    QTRY_VERIFY(d->stateMachine->inactiveState()->active());
    QTRY_COMPARE(d->thumb->haloSize(), 0.0);

    sendMouse(slider, QEvent::MouseMove, QPoint(30, 17));
    QTRY_VERIFY(d->stateMachine->focusState()->active());
    sendLeave(slider);
    QTRY_VERIFY(d->stateMachine->inactiveState()->active());
    QTRY_COMPARE(d->thumb->haloSize(), 0.0);
    QTRY_COMPARE(d->track->fillColor(), slider->trackColor().lighter(130));
}

void TestMaterialSlider::hoverOnFocusedSliderChangesNothing()
{
    QWidget host;
    host.resize(300, 40);
    auto *slider = new QtMaterialSlider(&host);
    slider->setGeometry(0, 0, 300, 34);
    host.show();
    QVERIFY(QTest::qWaitForWindowExposed(&host));
    host.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&host));
    slider->setFocus();
    QTRY_VERIFY(slider->hasFocus());
    QtMaterialSliderPrivate *d = priv(slider);
    QTRY_VERIFY(d->stateMachine->focusState()->active());

    sendMouse(slider, QEvent::MouseMove, QPoint(30, 17));
    sendLeave(slider);
    QVERIFY(settle(d->stateMachine));
    QVERIFY(d->stateMachine->focusState()->active());

    slider->clearFocus();
    QTRY_VERIFY(d->stateMachine->inactiveState()->active());
}

void TestMaterialSlider::pressGrowsKnob()
{
    QWidget host;
    host.resize(300, 40);
    auto *slider = new QtMaterialSlider(&host);
    slider->setGeometry(0, 0, 300, 34);
    slider->setRange(0, 100);
    keepFocus(&host);
    host.show();
    QVERIFY(QTest::qWaitForWindowExposed(&host));
    QtMaterialSliderPrivate *d = priv(slider);

    sendMouse(slider, QEvent::MouseMove, QPoint(30, 17));
    QTRY_VERIFY(d->stateMachine->focusState()->active());
    // A press on the thumb takes the slider down.
    sendMouse(slider, QEvent::MouseButtonPress, QPoint(30, 17));
    QVERIFY(slider->isSliderDown());
    QVERIFY(d->stateMachine->slidingState()->active());
    QTRY_COMPARE(d->thumb->diameter(), 17.0);
    QTRY_COMPARE(d->thumb->haloSize(), 0.0);

    sendMouse(slider, QEvent::MouseButtonRelease, QPoint(30, 17));
    QVERIFY(d->stateMachine->focusState()->active());
    QTRY_COMPARE(d->thumb->diameter(), 11.0);
}

void TestMaterialSlider::resizeKeepsThumbAtValue()
{
    QWidget host;
    host.resize(400, 40);
    auto *slider = new QtMaterialSlider(&host);
    slider->setRange(0, 100);
    slider->setValue(50);
    slider->setGeometry(0, 0, 100, 34);
    keepFocus(&host);
    host.show();
    QVERIFY(QTest::qWaitForWindowExposed(&host));
    QCOMPARE(priv(slider)->thumb->offset(), 20);

    // A layout widens the slider after its value was set.
    slider->resize(300, 34);
    QCOMPARE(priv(slider)->thumb->offset(), 120);
}

void TestMaterialSlider::deletingSliderRemovesCompanions()
{
    QWidget host;
    darken(&host);
    host.resize(400, 200);
    keepFocus(&host);
    host.show();
    QVERIFY(QTest::qWaitForWindowExposed(&host));

    // A page rebuilding its cards: sliders come and go while the parent lives on,
    // some in the middle of their animations, some with posted events pending.
    for (int round = 0; round < 6; ++round) {
        auto *slider = new QtMaterialSlider(&host);
        slider->setGeometry(20, 20 + 20 * round, 300, 34);
        slider->setRange(0, 100);
        slider->show();
        QPointer<QtMaterialSliderThumb> thumb = priv(slider)->thumb.data();
        QPointer<QtMaterialSliderTrack> track = priv(slider)->track.data();
        QVERIFY(thumb && track);

        sendMouse(slider, QEvent::MouseMove, QPoint(30, 17));
        slider->setValue(30 + round);
        QVERIFY(materialtest::animationsTicked());
        if (round % 2) {
            slider->setValue(0);
            slider->deleteLater();
            QTRY_VERIFY(!thumb);
        } else {
            delete slider;
        }
        QVERIFY(!thumb);
        QVERIFY(!track);
        host.repaint();
        materialtest::screenshot(&host, "slider-deleted");
    }
    QVERIFY(host.findChildren<QtMaterialSliderThumb *>().isEmpty());
    QVERIFY(host.findChildren<QtMaterialSliderTrack *>().isEmpty());
    QVERIFY(materialtest::animationsTicked());
    const QImage image = materialtest::screenshot(&host, "slider-deleted");
    QCOMPARE(materialtest::countColor(image, DarkBackground), image.width() * image.height());
}

void TestMaterialSlider::deletingParentFirstIsClean()
{
    auto *host = new QWidget;
    host->resize(300, 60);
    auto *slider = new QtMaterialSlider(host);
    slider->setGeometry(0, 0, 300, 34);
    keepFocus(host);
    host->show();
    QVERIFY(QTest::qWaitForWindowExposed(host));
    sendMouse(slider, QEvent::MouseMove, QPoint(30, 17));
    slider->setValue(20);
    QPointer<QtMaterialSlider> pslider = slider;
    QPointer<QtMaterialSliderThumb> thumb = priv(slider)->thumb.data();
    delete host;
    QVERIFY(!pslider);
    QVERIFY(!thumb);
    QVERIFY(materialtest::animationsTicked());
}

void TestMaterialSlider::companionsFollowNewParent()
{
    QWidget first;
    QWidget second;
    darken(&second);
    first.resize(300, 60);
    second.resize(300, 60);
    auto *slider = new QtMaterialSlider(&first);
    slider->setRange(0, 100);
    slider->setValue(100);
    QtMaterialSliderPrivate *d = priv(slider);

    slider->setParent(&second);
    QCOMPARE(d->thumb->parentWidget(), &second);
    QCOMPARE(d->track->parentWidget(), &second);
    QVERIFY(first.findChildren<QtMaterialSliderThumb *>().isEmpty());
    // The knob stays over the line.
    const QObjectList children = second.children();
    QVERIFY(children.indexOf(d->track) < children.indexOf(d->thumb));

    slider->setGeometry(0, 13, 300, 34);
    slider->show();
    keepFocus(&second);
    second.show();
    QVERIFY(QTest::qWaitForWindowExposed(&second));
    QVERIFY(d->thumb->isVisible());
    QVERIFY(settle(d->stateMachine));
    const QImage image = materialtest::screenshot(&second, "slider-reparented");
    QVERIFY(materialtest::sameColor(image.pixelColor(270, 30), ThumbBlue));
    QVERIFY(materialtest::sameColor(image.pixelColor(100, 29), ThumbBlue));
}

void TestMaterialSlider::hiddenSliderPaintsNothing()
{
    QWidget host;
    QtMaterialSlider *slider = sliderOnDarkHost(&host);
    slider->setValue(60);
    QVERIFY(showSettled(&host, slider));

    slider->hide();
    QImage image = materialtest::screenshot(&host, "slider-hidden");
    QCOMPARE(materialtest::countColor(image, DarkBackground), image.width() * image.height());

    slider->show();
    image = materialtest::screenshot(&host, "slider-shown-again");
    QVERIFY(materialtest::countColor(image, ThumbBlue) > 100);
}

void TestMaterialSlider::screenshotOnDarkBackground()
{
    QWidget host;
    darken(&host);
    host.resize(420, 300);

    auto add = [&host](int y, int value) {
        auto *slider = new QtMaterialSlider(&host);
        slider->setRange(0, 100);
        slider->setValue(value);
        slider->setGeometry(20, y, 320, 34);
        return slider;
    };
    add(10, 0);
    add(50, 30);
    QtMaterialSlider *hovered = add(90, 70);
    add(130, 45)->setEnabled(false);
    add(170, 0)->setEnabled(false);
    add(210, 60)->setInvertedAppearance(true);
    auto *vertical = new QtMaterialSlider(&host);
    vertical->setOrientation(Qt::Vertical);
    vertical->setRange(0, 100);
    vertical->setValue(40);
    vertical->setGeometry(360, 10, 34, 280);

    keepFocus(&host);
    host.show();
    QVERIFY(QTest::qWaitForWindowExposed(&host));
    sendMouse(hovered, QEvent::MouseMove, QPoint(30 + 182, 17));
    QTRY_VERIFY(priv(hovered)->thumb->haloSize() >= 28);
    for (auto *s : host.findChildren<QtMaterialSlider *>()) {
        if (s != hovered)
            QVERIFY(settle(priv(s)->stateMachine));
    }

    const QImage image = materialtest::screenshot(&host, "sliders");
    // The vertical one: value part from the top down to the thumb.
    QVERIFY(materialtest::sameColor(image.pixelColor(376, 60), ThumbBlue));
    QVERIFY(materialtest::sameColor(image.pixelColor(376, 250),
                                    vertical->trackColor().lighter(130)));
    // The hovered one shows a halo around its knob (centre 20 + 30 + 182 = 232).
    const QColor halo = image.pixelColor(232 + 14, 90 + 17);
    QVERIFY(!materialtest::sameColor(halo, DarkBackground, 3));
}

VARNO_TEST_MAIN(TestMaterialSlider)
#include "tst_qtmaterialslider.moc"
