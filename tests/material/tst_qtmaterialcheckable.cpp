// Check box and radio button: sizes, state machine, animations, colours, ripples,
// the ripple overlay's life on the parent, and screenshots on the dark background.

#include "../support/testmain.h"
#include "materialtestutil.h"

#include "qtmaterialcheckableicon.h"
#include "qtmaterialcheckableprivate.h"
#include "qtmaterialcheckbox.h"
#include "qtmaterialradiobutton.h"
#include "qtmaterialripple.h"
#include "qtmaterialrippleoverlay.h"
#include "qtmaterialstyle.h"

#include <QAbstractTransition>
#include <QHBoxLayout>
#include <QMouseEvent>
#include <QPointer>
#include <QPropertyAnimation>
#include <QSignalTransition>
#include <QState>
#include <QStateMachine>
#include <QVBoxLayout>

namespace {

const QColor DarkBackground(0x26, 0x34, 0x40);
const QColor Primary(0x21, 0x96, 0xF3);
const QColor AccentDark(0xB2, 0x6A, 0x00);

// Gives tests access to the protected private part (through a member pointer, so
// no object is cast to a type it does not have).
class CheckableAccess : public QtMaterialCheckable
{
public:
    static QtMaterialCheckablePrivate *of(QtMaterialCheckable *c)
    {
        const auto member = &CheckableAccess::d_ptr;
        return (c->*member).data();
    }
};

QtMaterialCheckablePrivate *priv(QtMaterialCheckable *c)
{
    return CheckableAccess::of(c);
}

void darken(QWidget *host)
{
    QPalette p = host->palette();
    p.setColor(QPalette::Window, DarkBackground);
    host->setPalette(p);
    host->setAutoFillBackground(true);
}

void sendMouse(QWidget *w, QEvent::Type type, const QPoint &pos)
{
    const Qt::MouseButtons buttons = type == QEvent::MouseButtonPress ? Qt::LeftButton
                                                                      : Qt::NoButton;
    QMouseEvent event(type, pos, w->mapToGlobal(pos), Qt::LeftButton, buttons, Qt::NoModifier);
    QApplication::sendEvent(w, &event);
}

QtMaterialCheckable *makeCheckable(const QString &kind, const QString &text,
                                   QWidget *parent = nullptr)
{
    if (kind == QLatin1String("radio"))
        return new QtMaterialRadioButton(text, parent);
    return new QtMaterialCheckBox(text, parent);
}

// Waits until no animation of the machine or of the widget is running.
bool settle(QtMaterialCheckable *c)
{
    return QTest::qWaitFor([c] { return materialtest::atRest(c); }, 5000);
}

QPropertyAnimation *findAnimation(const QList<QAbstractAnimation *> &animations,
                                  QObject *target, const QByteArray &property)
{
    for (QAbstractAnimation *a : animations) {
        auto *p = qobject_cast<QPropertyAnimation *>(a);
        if (p && p->targetObject() == target && p->propertyName() == property)
            return p;
    }
    return nullptr;
}

} // namespace

class TestMaterialCheckable : public QObject
{
    Q_OBJECT

private slots:
    void sizeHint_data();
    void sizeHint();
    void startsUncheckedWithMachineRunning_data();
    void startsUncheckedWithMachineRunning();
    void checkedRightAfterConstruction_data();
    void checkedRightAfterConstruction();
    void checkBoxToggleAnimations_data();
    void checkBoxToggleAnimations();
    void checkBoxMarkGrowsOnFirstCheck();
    void radioAnimationsRunOnEveryTransition();
    void radioButtonsExcludeEachOther();
    void disablingCheckedBoxUsesDisabledColour();
    void boxCheckedWhileDisabledShowsItsMark();
    void stateTransitions_data();
    void stateTransitions();
    void themeColoursAndOwnColours();
    void labelOnLeftMovesIndicatorAndRipple();
    void rippleOnlyOnCompletedClick();
    void rippleOverlayFollowsParent();
    void rippleOverlayDeletedWithWidget();
    void deletingParentDeletesEverything();
    void screenshotOnDarkBackground();
};

void TestMaterialCheckable::sizeHint_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("text");

    QTest::newRow("check box without text") << "box" << "";
    QTest::newRow("check box Add") << "box" << "Add";
    QTest::newRow("check box long text") << "box" << "Floor heating enabled";
    QTest::newRow("radio without text") << "radio" << "";
    QTest::newRow("radio Cool") << "radio" << "Cool";
}

void TestMaterialCheckable::sizeHint()
{
    QFETCH(QString, kind);
    QFETCH(QString, text);

    QScopedPointer<QtMaterialCheckable> c(makeCheckable(kind, text));
    const QSize expected = text.isEmpty()
        ? QSize(40, 40)
        : QSize(QFontMetrics(c->font()).size(Qt::TextShowMnemonic, text).width() + 52, 40);
    QCOMPARE(c->sizeHint(), expected);
    const QFont body = QtMaterialStyle::instance().themeFont(Material::Body1);
    QCOMPARE(c->font().family(), body.family());
    QCOMPARE(c->font().pointSizeF(), body.pointSizeF());
}

void TestMaterialCheckable::startsUncheckedWithMachineRunning_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("check box") << "box";
    QTest::newRow("radio") << "radio";
}

void TestMaterialCheckable::startsUncheckedWithMachineRunning()
{
    QFETCH(QString, kind);

    // No event loop has run: the constructor alone must leave the machine running
    // in its initial state.
    QScopedPointer<QtMaterialCheckable> c(makeCheckable(kind, "X"));
    QtMaterialCheckablePrivate *d = priv(c.data());
    QVERIFY(c->isCheckable());
    QVERIFY(d->stateMachine->isRunning());
    QVERIFY(d->stateMachine->configuration().contains(d->uncheckedState));
    QCOMPARE(d->checkedIcon->opacity(), 0.0);
    QCOMPARE(d->checkedIcon->iconSize(), 0.0);
    QCOMPARE(d->uncheckedIcon->opacity(), 1.0);
    QCOMPARE(d->uncheckedIcon->iconSize(), 24.0);
    QCOMPARE(d->uncheckedIcon->color(), QColor(Qt::white));
}

void TestMaterialCheckable::checkedRightAfterConstruction_data()
{
    startsUncheckedWithMachineRunning_data();
}

void TestMaterialCheckable::checkedRightAfterConstruction()
{
    QFETCH(QString, kind);

    // Pages build a box and set its stored value at once, before any event loop.
    QScopedPointer<QtMaterialCheckable> c(makeCheckable(kind, "X"));
    c->setChecked(true);
    QtMaterialCheckablePrivate *d = priv(c.data());
    QVERIFY(d->stateMachine->configuration().contains(d->checkedState));

    QVERIFY(settle(c.data()));
    QCOMPARE(d->checkedIcon->opacity(), 1.0);
    QCOMPARE(d->checkedIcon->iconSize(), 24.0);
    QCOMPARE(d->checkedIcon->color(), Primary);
    QCOMPARE(d->uncheckedIcon->opacity(), 0.0);
}

void TestMaterialCheckable::checkBoxToggleAnimations_data()
{
    QTest::addColumn<bool>("toChecked");
    QTest::addColumn<bool>("checkedIcon");
    QTest::addColumn<QByteArray>("property");
    QTest::addColumn<int>("duration");

    QTest::newRow("on: mark grows") << true << true << QByteArray("iconSize") << 300;
    QTest::newRow("on: mark fades in") << true << true << QByteArray("opacity") << 440;
    QTest::newRow("on: outline fades") << true << false << QByteArray("opacity") << 440;
    QTest::newRow("on: outline colour") << true << false << QByteArray("color") << 440;
    QTest::newRow("off: mark shrinks") << false << true << QByteArray("iconSize") << 1300;
    QTest::newRow("off: mark fades") << false << true << QByteArray("opacity") << 440;
    QTest::newRow("off: outline fades in") << false << false << QByteArray("opacity") << 440;
    QTest::newRow("off: outline colour") << false << false << QByteArray("color") << 440;
}

void TestMaterialCheckable::checkBoxToggleAnimations()
{
    QFETCH(bool, toChecked);
    QFETCH(bool, checkedIcon);
    QFETCH(QByteArray, property);
    QFETCH(int, duration);

    QtMaterialCheckBox box("X");
    QtMaterialCheckablePrivate *d = priv(&box);
    QObject *target = checkedIcon ? static_cast<QObject *>(d->checkedIcon) : d->uncheckedIcon;
    QAbstractTransition *transition = toChecked ? d->uncheckedTransition : d->checkedTransition;

    QPropertyAnimation *animation = findAnimation(transition->animations(), target, property);
    QVERIFY(animation);
    QCOMPARE(animation->duration(), duration);
    QCOMPARE(animation->easingCurve().type(), QEasingCurve::Linear);

    // The animation really runs when the box toggles that way.
    if (!toChecked) {
        box.setChecked(true);
        QVERIFY(settle(&box));
    }
    box.setChecked(toChecked);
    QCOMPARE(animation->state(), QAbstractAnimation::Running);
    QVERIFY(settle(&box));
}

void TestMaterialCheckable::checkBoxMarkGrowsOnFirstCheck()
{
    QtMaterialCheckBox box("X");
    QtMaterialCheckablePrivate *d = priv(&box);

    box.setChecked(true);
    // The animation starts from the unchecked size; it has not jumped to 24.
    QVERIFY(d->checkedIcon->iconSize() < 24.0);
    QVERIFY(settle(&box));
    QCOMPARE(d->checkedIcon->iconSize(), 24.0);

    box.setChecked(false);
    QVERIFY(d->checkedIcon->iconSize() > 0.0);
    QVERIFY(settle(&box));
    QCOMPARE(d->checkedIcon->iconSize(), 0.0);
    QCOMPARE(d->uncheckedIcon->opacity(), 1.0);
}

void TestMaterialCheckable::radioAnimationsRunOnEveryTransition()
{
    QtMaterialRadioButton radio("X");
    QtMaterialCheckablePrivate *d = priv(&radio);

    const QList<QAbstractAnimation *> animations = d->stateMachine->defaultAnimations();
    QCOMPARE(animations.size(), 4);
    const QList<QPair<QObject *, QByteArray>> expected = {
        {d->checkedIcon, "iconSize"},
        {d->uncheckedIcon, "iconSize"},
        {d->uncheckedIcon, "opacity"},
        {d->checkedIcon, "opacity"},
    };
    for (const auto &e : expected) {
        QPropertyAnimation *a = findAnimation(animations, e.first, e.second);
        QVERIFY2(a, e.second.constData());
        QCOMPARE(a->duration(), 250);
        QCOMPARE(a->easingCurve().type(), QEasingCurve::Linear);
    }

    radio.setChecked(true);
    QVERIFY(d->checkedIcon->iconSize() < 24.0);
    QVERIFY(settle(&radio));
    QCOMPARE(d->checkedIcon->iconSize(), 24.0);
    QCOMPARE(d->uncheckedIcon->iconSize(), 0.0);
    QCOMPARE(d->checkedIcon->opacity(), 1.0);
    QCOMPARE(d->uncheckedIcon->opacity(), 0.0);
}

void TestMaterialCheckable::radioButtonsExcludeEachOther()
{
    QWidget parent;
    auto *a = new QtMaterialRadioButton("Cool");
    auto *b = new QtMaterialRadioButton("Heat");
    auto *layout = new QVBoxLayout(&parent);
    layout->addWidget(a);
    layout->addWidget(b);
    QVERIFY(a->autoExclusive());

    a->setChecked(true);
    QVERIFY(a->isChecked());
    b->setChecked(true);
    QVERIFY(b->isChecked());
    QVERIFY(!a->isChecked());

    QVERIFY(priv(a)->stateMachine->configuration().contains(priv(a)->uncheckedState));
    QVERIFY(priv(b)->stateMachine->configuration().contains(priv(b)->checkedState));
    QVERIFY(settle(a));
    QVERIFY(settle(b));
    QCOMPARE(priv(a)->checkedIcon->iconSize(), 0.0);
    QCOMPARE(priv(a)->uncheckedIcon->iconSize(), 24.0);
    QCOMPARE(priv(b)->checkedIcon->iconSize(), 24.0);

    // A click on the checked one does not uncheck it.
    parent.show();
    QVERIFY(QTest::qWaitForWindowExposed(&parent));
    QTest::mouseClick(b, Qt::LeftButton, Qt::NoModifier, QPoint(20, 20));
    QVERIFY(b->isChecked());
    QTest::mouseClick(a, Qt::LeftButton, Qt::NoModifier, QPoint(20, 20));
    QVERIFY(a->isChecked());
    QVERIFY(!b->isChecked());
}

void TestMaterialCheckable::disablingCheckedBoxUsesDisabledColour()
{
    QWidget host;
    darken(&host);
    host.resize(200, 40);
    auto *box = new QtMaterialCheckBox("Add", &host);
    box->setGeometry(0, 0, 200, 40);
    host.show();
    QVERIFY(QTest::qWaitForWindowExposed(&host));

    box->setChecked(true);
    QVERIFY(settle(box));
    box->setEnabled(false);
    QtMaterialCheckablePrivate *d = priv(box);
    QVERIFY(d->stateMachine->configuration().contains(d->disabledCheckedState));
    QVERIFY(settle(box));
    QCOMPARE(box->disabledColor(), AccentDark);
    QCOMPARE(d->checkedIcon->color(), AccentDark);

    const QImage image = materialtest::screenshot(&host, "checkbox-disabled-checked");
    // The box (8..32) is filled with the disabled colour; the label too.
    QVERIFY(materialtest::countColor(image, AccentDark, QRect(8, 8, 24, 24), 8) > 150);
    QCOMPARE(materialtest::countColor(image, Primary, QRect(8, 8, 24, 24), 8), 0);
    QVERIFY(materialtest::countColor(image, AccentDark, QRect(48, 0, 150, 40), 8) > 20);
    QCOMPARE(materialtest::countColor(image, QColor(Qt::white), QRect(48, 0, 150, 40), 8), 0);

    // Toggling while disabled goes to the disabled unchecked twin.
    box->setChecked(false);
    QVERIFY(d->stateMachine->configuration().contains(d->disabledUncheckedState));
    box->setEnabled(true);
    QVERIFY(d->stateMachine->configuration().contains(d->uncheckedState));
}

void TestMaterialCheckable::boxCheckedWhileDisabledShowsItsMark()
{
    QtMaterialCheckBox box("X");
    QtMaterialCheckablePrivate *d = priv(&box);
    box.setEnabled(false);
    box.setChecked(true);
    QVERIFY(d->stateMachine->configuration().contains(d->disabledCheckedState));
    QVERIFY(settle(&box));
    QCOMPARE(d->checkedIcon->iconSize(), 24.0);
    QCOMPARE(d->checkedIcon->opacity(), 1.0);
    QCOMPARE(d->checkedIcon->color(), AccentDark);

    box.setEnabled(true);
    QVERIFY(settle(&box));
    QCOMPARE(d->checkedIcon->color(), Primary);
    QCOMPARE(d->checkedIcon->iconSize(), 24.0);
}

void TestMaterialCheckable::stateTransitions_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("steps");
    QTest::addColumn<QString>("final");

    // t = toggle, d = disable, e = enable
    QTest::newRow("box toggle") << "box" << "t" << "checked";
    QTest::newRow("box toggle twice") << "box" << "tt" << "unchecked";
    QTest::newRow("box disable") << "box" << "d" << "disabledUnchecked";
    QTest::newRow("box disable enable") << "box" << "de" << "unchecked";
    QTest::newRow("box toggle disable") << "box" << "td" << "disabledChecked";
    QTest::newRow("box toggle disable toggle") << "box" << "tdt" << "disabledUnchecked";
    QTest::newRow("box disable toggle enable") << "box" << "dte" << "checked";
    QTest::newRow("radio toggle") << "radio" << "t" << "checked";
    QTest::newRow("radio toggle disable") << "radio" << "td" << "disabledChecked";
}

void TestMaterialCheckable::stateTransitions()
{
    QFETCH(QString, kind);
    QFETCH(QString, steps);
    QFETCH(QString, final);

    QScopedPointer<QtMaterialCheckable> c(makeCheckable(kind, "X"));
    for (const QChar step : steps) {
        if (step == QLatin1Char('t'))
            c->setChecked(!c->isChecked());
        else
            c->setEnabled(step == QLatin1Char('e'));
    }
    QtMaterialCheckablePrivate *d = priv(c.data());
    const QMap<QString, QState *> states = {
        {"checked", d->checkedState},
        {"unchecked", d->uncheckedState},
        {"disabledChecked", d->disabledCheckedState},
        {"disabledUnchecked", d->disabledUncheckedState},
    };
    QVERIFY(d->stateMachine->configuration().contains(states.value(final)));
    QCOMPARE(d->stateMachine->configuration().size(), 1);
}

void TestMaterialCheckable::themeColoursAndOwnColours()
{
    QtMaterialCheckBox box("X");
    QtMaterialCheckablePrivate *d = priv(&box);
    const QtMaterialStyle &style = QtMaterialStyle::instance();

    QVERIFY(box.useThemeColors());
    QCOMPARE(box.checkedColor(), style.themeColor(Material::PrimaryColor));
    QCOMPARE(box.uncheckedColor(), style.themeColor(Material::CanvasColor));
    QCOMPARE(box.textColor(), style.themeColor(Material::CanvasColor));
    QCOMPARE(box.disabledColor(), style.themeColor(Material::AccentDarkColor));

    box.setChecked(true);
    QVERIFY(settle(&box));
    box.setCheckedColor(Qt::red);
    QVERIFY(!box.useThemeColors());
    QCOMPARE(box.checkedColor(), QColor(Qt::red));
    // Colours never set still come from the theme.
    QCOMPARE(box.uncheckedColor(), style.themeColor(Material::CanvasColor));
    // The showing icon takes the new colour at once.
    QCOMPARE(d->checkedIcon->color(), QColor(Qt::red));

    box.setUseThemeColors(true);
    QCOMPARE(box.checkedColor(), style.themeColor(Material::PrimaryColor));
    QCOMPARE(d->checkedIcon->color(), style.themeColor(Material::PrimaryColor));

    // The new colour is also what the checked state assigns next time.
    box.setCheckedColor(Qt::green);
    box.setChecked(false);
    QVERIFY(settle(&box));
    box.setChecked(true);
    QVERIFY(settle(&box));
    QCOMPARE(d->checkedIcon->color(), QColor(Qt::green));
}

void TestMaterialCheckable::labelOnLeftMovesIndicatorAndRipple()
{
    QWidget host;
    darken(&host);
    host.resize(240, 60);
    auto *box = new QtMaterialCheckBox("Mood", &host);
    box->setGeometry(10, 10, 200, 40);
    box->setLabelPosition(QtMaterialCheckable::LabelOnLeft);
    QCOMPARE(box->labelPosition(), QtMaterialCheckable::LabelOnLeft);
    host.show();
    QVERIFY(QTest::qWaitForWindowExposed(&host));

    const QImage image = materialtest::screenshot(&host, "checkbox-label-left");
    // Indicator: 34 pixels in from the right edge of the box (x 176..200 in the box).
    const QRect right(10 + 200 - 34, 10 + 8, 24, 24);
    const QRect left(10 + 8, 10 + 8, 24, 24);
    QVERIFY(materialtest::countColor(image, Qt::white, right, 8) > 40);
    QVERIFY(materialtest::countColor(image, Qt::white, QRect(10, 10, 4, 40), 8) == 0);
    // The label starts at x = 4 in the box: white text pixels there, none of an outline.
    QVERIFY(materialtest::countColor(image, Qt::white, left, 8) > 0);

    QtMaterialCheckablePrivate *d = priv(box);
    QTest::mouseClick(box, Qt::LeftButton, Qt::NoModifier, QPoint(180, 20));
    QVERIFY(box->isChecked());
    QCOMPARE(d->rippleOverlay->ripples().size(), 1);
    QCOMPARE(d->rippleOverlay->ripples().first()->center(), QPoint(200 - 14, 28));
}

void TestMaterialCheckable::rippleOnlyOnCompletedClick()
{
    QWidget host;
    host.resize(200, 60);
    auto *box = new QtMaterialCheckBox("X", &host);
    box->setGeometry(20, 10, 100, 40);
    host.show();
    QVERIFY(QTest::qWaitForWindowExposed(&host));
    QtMaterialCheckablePrivate *d = priv(box);

    // Released outside: no click, no ripple.
    sendMouse(box, QEvent::MouseButtonPress, QPoint(20, 20));
    sendMouse(box, QEvent::MouseButtonRelease, QPoint(150, 20));
    QVERIFY(!box->isChecked());
    QVERIFY(d->rippleOverlay->ripples().isEmpty());

    // A click checks the box and ripples around the indicator in the checked colour.
    sendMouse(box, QEvent::MouseButtonPress, QPoint(20, 20));
    sendMouse(box, QEvent::MouseButtonRelease, QPoint(20, 20));
    QVERIFY(box->isChecked());
    QCOMPARE(d->rippleOverlay->ripples().size(), 1);
    QtMaterialRipple *ripple = d->rippleOverlay->ripples().first();
    QCOMPARE(ripple->center(), QPoint(28, 28));
    QCOMPARE(ripple->radiusAnim()->endValue().toReal(), 22.0);
    QCOMPARE(ripple->opacityAnim()->startValue().toReal(), 1.0);
    QCOMPARE(ripple->color(), Primary);

    // Unchecking ripples in the unchecked colour from half opacity.
    sendMouse(box, QEvent::MouseButtonPress, QPoint(20, 20));
    sendMouse(box, QEvent::MouseButtonRelease, QPoint(20, 20));
    QVERIFY(!box->isChecked());
    QCOMPARE(d->rippleOverlay->ripples().size(), 2);
    ripple = d->rippleOverlay->ripples().last();
    QCOMPARE(ripple->color(), QColor(Qt::white));
    QCOMPARE(ripple->opacityAnim()->startValue().toReal(), 0.5);

    // Ripples finish and go.
    QTRY_VERIFY_WITH_TIMEOUT(d->rippleOverlay->ripples().isEmpty(), 3000);
}

void TestMaterialCheckable::rippleOverlayFollowsParent()
{
    QWidget other;
    other.resize(300, 100);
    QWidget host;

    auto *box = new QtMaterialCheckBox("Add");
    QtMaterialCheckablePrivate *d = priv(box);
    QVERIFY(d->rippleOverlay);
    QVERIFY(!d->rippleOverlay->parentWidget());

    auto *layout = new QHBoxLayout(&host);
    layout->addWidget(box);
    QCOMPARE(d->rippleOverlay->parentWidget(), &host);
    host.resize(300, 80);
    host.show();
    QVERIFY(QTest::qWaitForWindowExposed(&host));

    QVERIFY(d->rippleOverlay->isVisible());
    QCOMPARE(d->rippleOverlay->geometry(), box->geometry().adjusted(-8, -8, 8, 8));
    QCOMPARE(d->checkedIcon->geometry(), box->rect());

    // The host's resize makes the overlay fit the host first; it is put back.
    host.resize(400, 120);
    QTRY_COMPARE(d->rippleOverlay->geometry(), box->geometry().adjusted(-8, -8, 8, 8));

    // Moving the box to another parent takes the overlay along; it shows with the box.
    box->setParent(&other);
    QCOMPARE(d->rippleOverlay->parentWidget(), &other);
    box->setGeometry(30, 30, 120, 40);
    other.show();
    box->show();
    QVERIFY(QTest::qWaitForWindowExposed(&other));
    QTRY_COMPARE(d->rippleOverlay->geometry(), QRect(22, 22, 136, 56));
    QVERIFY(d->rippleOverlay->isVisible());
    QVERIFY(host.findChildren<QtMaterialRippleOverlay *>().isEmpty());
}

void TestMaterialCheckable::rippleOverlayDeletedWithWidget()
{
    QWidget host;
    host.resize(300, 100);
    host.show();
    QVERIFY(QTest::qWaitForWindowExposed(&host));

    for (int round = 0; round < 5; ++round) {
        auto *box = new QtMaterialCheckBox("Add", &host);
        box->show();
        QPointer<QtMaterialRippleOverlay> overlay = priv(box)->rippleOverlay.data();
        QVERIFY(overlay);
        QCOMPARE(overlay->parentWidget(), &host);
        // A ripple is running when the box goes.
        QTest::mouseClick(box, Qt::LeftButton, Qt::NoModifier, QPoint(20, 20));
        delete box;
        QVERIFY(!overlay);
    }
    QVERIFY(host.findChildren<QtMaterialRippleOverlay *>().isEmpty());
    host.repaint();
    QVERIFY(materialtest::animationsTicked());
}

void TestMaterialCheckable::deletingParentDeletesEverything()
{
    auto *host = new QWidget;
    auto *box = new QtMaterialCheckBox("Add", host);
    auto *radio = new QtMaterialRadioButton("Cool");
    radio->setParent(host);
    QPointer<QtMaterialRippleOverlay> o1 = priv(box)->rippleOverlay.data();
    QPointer<QtMaterialRippleOverlay> o2 = priv(radio)->rippleOverlay.data();
    QPointer<QtMaterialCheckBox> pbox = box;
    host->show();
    QVERIFY(QTest::qWaitForWindowExposed(host));
    box->setChecked(true);
    delete host;
    QVERIFY(!pbox);
    QVERIFY(!o1);
    QVERIFY(!o2);
    QVERIFY(materialtest::animationsTicked());
}

void TestMaterialCheckable::screenshotOnDarkBackground()
{
    QWidget host;
    darken(&host);
    auto *layout = new QVBoxLayout(&host);
    auto *unchecked = new QtMaterialCheckBox("Unchecked box");
    auto *checked = new QtMaterialCheckBox("Checked box");
    auto *disabled = new QtMaterialCheckBox("Disabled checked box");
    auto *left = new QtMaterialCheckBox("Label on the left");
    auto *radioOff = new QtMaterialRadioButton("Radio off");
    auto *radioOn = new QtMaterialRadioButton("Radio on");
    left->setLabelPosition(QtMaterialCheckable::LabelOnLeft);
    for (QWidget *w : {static_cast<QWidget *>(unchecked), static_cast<QWidget *>(checked),
                       static_cast<QWidget *>(disabled), static_cast<QWidget *>(left),
                       static_cast<QWidget *>(radioOff), static_cast<QWidget *>(radioOn)})
        layout->addWidget(w);
    checked->setChecked(true);
    disabled->setChecked(true);
    disabled->setEnabled(false);
    radioOn->setChecked(true);
    host.resize(300, 320);
    host.show();
    QVERIFY(QTest::qWaitForWindowExposed(&host));
    for (auto *c : host.findChildren<QtMaterialCheckable *>())
        QVERIFY(settle(c));

    const QImage image = materialtest::screenshot(&host, "checkables");
    auto indicator = [](QWidget *w) { return QRect(w->pos() + QPoint(8, 8), QSize(24, 24)); };
    QVERIFY(materialtest::countColor(image, Qt::white, indicator(unchecked), 8) > 40);
    QCOMPARE(materialtest::countColor(image, Primary, indicator(unchecked), 8), 0);
    QVERIFY(materialtest::countColor(image, Primary, indicator(checked), 8) > 150);
    QVERIFY(materialtest::countColor(image, AccentDark, indicator(disabled), 8) > 150);
    QVERIFY(materialtest::countColor(image, Primary, indicator(radioOn), 8) > 60);
    QCOMPARE(materialtest::countColor(image, Primary, indicator(radioOff), 8), 0);
    QVERIFY(materialtest::countColor(image, Qt::white, indicator(radioOff), 8) > 20);
    // The labels are white on the dark ground.
    QVERIFY(materialtest::countColor(image, Qt::white,
                                     QRect(unchecked->pos() + QPoint(48, 0), QSize(150, 40)),
                                     8) > 20);
}

VARNO_TEST_MAIN(TestMaterialCheckable)
#include "tst_qtmaterialcheckable.moc"
