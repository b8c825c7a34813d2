#include "materialtestutil.h"
#include "testmain.h"

#include "qtmaterialflatbutton.h"
#include "qtmaterialflatbuttonstatemachine.h"
#include "qtmaterialripple.h"
#include "qtmaterialrippleoverlay.h"
#include "qtmaterialstyle.h"
#include "qtmaterialtheme.h"

#include <QGraphicsDropShadowEffect>
#include <QGridLayout>
#include <QPointer>
#include <QPropertyAnimation>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>

namespace {

const QColor kGround(0xF5, 0xF5, 0xF5);

// A plain light ground for buttons to sit on.
class Ground : public QWidget
{
public:
    explicit Ground(QWidget *parent = nullptr) : QWidget(parent)
    {
        setAutoFillBackground(true);
        QPalette p = palette();
        p.setColor(QPalette::Window, kGround);
        setPalette(p);
    }
};

QtMaterialFlatButtonStateMachine *machineOf(QtMaterialFlatButton *button)
{
    return button->findChild<QtMaterialFlatButtonStateMachine *>();
}

// The shadow machine of a raised button: the state machine that is not the
// button's own overlay machine.
QStateMachine *raiseMachineOf(QtMaterialFlatButton *button)
{
    const auto machines = button->findChildren<QStateMachine *>();
    for (QStateMachine *machine : machines)
        if (!qobject_cast<QtMaterialFlatButtonStateMachine *>(machine))
            return machine;
    return nullptr;
}

QtMaterialRippleOverlay *overlayOf(QWidget *widget)
{
    return widget->findChild<QtMaterialRippleOverlay *>();
}

QColor theme(Material::ThemeColor slot)
{
    return QtMaterialStyle::instance().themeColor(slot);
}

// Lets the button's state machine start, which happens from the event loop.
void settle(QtMaterialFlatButton *button)
{
    QTRY_VERIFY(machineOf(button)->isRunning());
}

} // namespace

class TestQtMaterialFlatButton : public QObject
{
    Q_OBJECT

private slots:
    void defaults();
    void presets_data();
    void presets();
    void preset7IsRaisedPrimary();
    void invalidPresetChangesNothing();
    void leavingRaisedKeepsOpacityAndHeight();
    void overlayColorSwitchesOverlayOn();
    void oneOwnColourKeepsTheOthersFromTheTheme();
    void fontSizeReportsIntegerPointSize();
    void sizeHint();

    void rippleOnPress_data();
    void rippleOnPress();

    void checkedBeforeEventLoop();
    void checkingAnimatesProgress();
    void shadowFollowsEnabledState();
    void disabledRaisedDrawsNoOverlayOrHalo();

    void screenshotPresets_data();
    void screenshotPresets();
    void screenshotPresetSheet();
    void screenshotCheckedTextButton();
    void screenshotIconAndAlignment_data();
    void screenshotIconAndAlignment();
    void zeroCornerRadiusDrawsNoOutline();

    void deleteWhileFocusedHoveredAndRippling();
    void deleteFromClickedHandler();
};

void TestQtMaterialFlatButton::defaults()
{
    QtMaterialFlatButton button;
    QCOMPARE(button.type(), Material::TextButton);
    QCOMPARE(button.role(), Material::DefaultRole);
    QCOMPARE(button.rippleStyle(), Material::RippleFromPress);
    QCOMPARE(button.cornerRadius(), 3.0);
    QCOMPARE(button.baseOpacity(), 0.13);
    QCOMPARE(button.style(), &QtMaterialStyle::instance());
    QCOMPARE(button.font().pointSize(), 14);
    QCOMPARE(button.font().capitalization(), QFont::AllUppercase);
    QVERIFY(overlayOf(&button)->hasClip());

    // The values of the initial states hold before the event loop has run.
    QtMaterialFlatButtonStateMachine *machine = machineOf(&button);
    QCOMPARE(machine->overlayOpacity(), 0.0);
    QCOMPARE(machine->haloOpacity(), 0.0);
    QCOMPARE(machine->checkedOverlayProgress(), 0.0);
}

void TestQtMaterialFlatButton::presets_data()
{
    QTest::addColumn<int>("preset");
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("role");
    QTest::addColumn<QColor>("foreground");
    QTest::addColumn<QColor>("background");
    QTest::addColumn<bool>("shadow");

    const QColor text("#212121");
    const QColor primary("#2196F3");
    const QColor accent("#FF9800");
    const QColor white("#FFFFFF");

    QTest::newRow("0 TextDefault") << 0 << 0 << 0 << text << text << false;
    QTest::newRow("1 TextPrimary") << 1 << 0 << 1 << primary << primary << false;
    QTest::newRow("2 TextSecondary") << 2 << 0 << 2 << accent << accent << false;
    QTest::newRow("3 OutlinedDefault") << 3 << 1 << 0 << text << text << false;
    QTest::newRow("4 OutlinedPrimary") << 4 << 1 << 1 << primary << primary << false;
    QTest::newRow("5 OutlinedSecondary") << 5 << 1 << 2 << accent << accent << false;
    QTest::newRow("6 RaisedDefault") << 6 << 2 << 0 << white << text << true;
    QTest::newRow("7 RaisedPrimary") << 7 << 2 << 1 << white << primary << true;
    QTest::newRow("8 RaisedSecondary") << 8 << 2 << 2 << white << accent << true;
    QTest::newRow("9 FilledDefault") << 9 << 3 << 0 << white << text << false;
    QTest::newRow("10 FilledPrimary") << 10 << 3 << 1 << white << primary << false;
    QTest::newRow("11 FilledSecondary") << 11 << 3 << 2 << white << accent << false;
}

void TestQtMaterialFlatButton::presets()
{
    QFETCH(int, preset);
    QFETCH(int, type);
    QFETCH(int, role);
    QFETCH(QColor, foreground);
    QFETCH(QColor, background);
    QFETCH(bool, shadow);

    QtMaterialFlatButton button(QStringLiteral("Go"), Material::ButtonPreset(preset));
    QCOMPARE(int(button.type()), type);
    QCOMPARE(int(button.role()), role);
    QCOMPARE(button.foregroundColor(), foreground);
    QCOMPARE(button.backgroundColor(), background);
    QCOMPARE(button.overlayColor(), foreground);
    QCOMPARE(button.disabledForegroundColor(), theme(Material::DisabledColor));
    QCOMPARE(button.disabledBackgroundColor(), QColor("#E0E0E0"));
    QCOMPARE(button.graphicsEffect() != nullptr, shadow);
    QCOMPARE(raiseMachineOf(&button) != nullptr, shadow);
    QCOMPARE(button.minimumHeight(), shadow ? 42 : 0);
    QCOMPARE(button.baseOpacity(), shadow ? 0.3 : 0.13);
}

void TestQtMaterialFlatButton::preset7IsRaisedPrimary()
{
    Ground ground;
    auto *button = new QtMaterialFlatButton(QStringLiteral("Save"), Material::RaisedPrimary, &ground);

    QCOMPARE(button->type(), Material::RaisedButton);
    QCOMPARE(button->role(), Material::PrimaryRole);
    QCOMPARE(button->backgroundColor(), QColor("#2196F3"));
    QCOMPARE(button->foregroundColor(), QColor("#FFFFFF"));
    QCOMPARE(button->minimumHeight(), 42);
    QCOMPARE(button->baseOpacity(), 0.3);

    auto *effect = qobject_cast<QGraphicsDropShadowEffect *>(button->graphicsEffect());
    QVERIFY(effect);
    QCOMPARE(effect->blurRadius(), 7.0);
    QCOMPARE(effect->offset(), QPointF(0, 2));
    QCOMPARE(effect->color(), QColor(0, 0, 0, 75));
    QVERIFY(effect->isEnabled());

    QStateMachine *raise = raiseMachineOf(button);
    QVERIFY(raise);
    ground.resize(200, 100);
    button->setGeometry(20, 20, 120, 42);
    ground.show();
    QVERIFY(QTest::qWaitForWindowExposed(&ground));
    QTRY_VERIFY(raise->isRunning());

    // A press deepens the shadow over 100 ms, a release brings it back.
    QTest::mousePress(button, Qt::LeftButton, {}, QPoint(10, 10));
    QTRY_COMPARE(effect->offset(), QPointF(0, 5));
    QTRY_COMPARE(effect->blurRadius(), 29.0);
    QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(10, 10));
    QTRY_COMPARE(effect->offset(), QPointF(0, 2));
    QTRY_COMPARE(effect->blurRadius(), 7.0);
}

void TestQtMaterialFlatButton::invalidPresetChangesNothing()
{
    QtMaterialFlatButton button(QStringLiteral("x"), Material::ButtonPreset(12));
    QCOMPARE(button.type(), Material::TextButton);
    QCOMPARE(button.role(), Material::DefaultRole);

    QtMaterialFlatButton raised(QStringLiteral("x"), Material::RaisedSecondary);
    raised.applyPreset(Material::ButtonPreset(-1));
    raised.applyPreset(Material::ButtonPreset(99));
    QCOMPARE(raised.type(), Material::RaisedButton);
    QCOMPARE(raised.role(), Material::SecondaryRole);
    QVERIFY(raised.graphicsEffect());
}

void TestQtMaterialFlatButton::leavingRaisedKeepsOpacityAndHeight()
{
    QtMaterialFlatButton button(QStringLiteral("x"), Material::RaisedPrimary);
    QPointer<QGraphicsEffect> effect = button.graphicsEffect();
    QPointer<QStateMachine> raise = raiseMachineOf(&button);
    QVERIFY(effect && raise);

    button.setType(Material::TextButton);
    QCOMPARE(button.type(), Material::TextButton);
    QCOMPARE(button.baseOpacity(), 0.3);
    QCOMPARE(button.minimumHeight(), 42);
    QCOMPARE(button.graphicsEffect(), nullptr);
    QVERIFY(!effect);
    QVERIFY(!raise);
    QCOMPARE(button.foregroundColor(), QColor("#2196F3"));

    // And back again.
    button.setType(Material::RaisedButton);
    QVERIFY(button.graphicsEffect());
    QVERIFY(raiseMachineOf(&button));
}

void TestQtMaterialFlatButton::overlayColorSwitchesOverlayOn()
{
    QtMaterialFlatButton button(QStringLiteral("x"));
    QCOMPARE(button.overlayStyle(), Material::OverlayOff);
    button.setOverlayColor(Qt::red);
    QCOMPARE(button.overlayStyle(), Material::OverlayTinted);
    QCOMPARE(button.overlayColor(), QColor(Qt::red));
    QCOMPARE(button.useThemeColors(), false);
}

void TestQtMaterialFlatButton::oneOwnColourKeepsTheOthersFromTheTheme()
{
    QtMaterialFlatButton button(QStringLiteral("x"), Material::FilledPrimary);
    button.setBackgroundColor(Qt::red);
    QCOMPARE(button.useThemeColors(), false);
    QCOMPARE(button.backgroundColor(), QColor(Qt::red));
    QCOMPARE(button.foregroundColor(), QColor("#FFFFFF"));
    QCOMPARE(button.disabledBackgroundColor(), QColor("#E0E0E0"));

    button.setUseThemeColors(true);
    QCOMPARE(button.backgroundColor(), QColor("#2196F3"));
}

void TestQtMaterialFlatButton::fontSizeReportsIntegerPointSize()
{
    QtMaterialFlatButton button(QStringLiteral("x"));
    button.setFontSize(10.5);
    QCOMPARE(button.font().pointSizeF(), 10.5);
    QVERIFY(button.fontSize() != 10.5);
    QCOMPARE(button.fontSize(), qreal(button.font().pointSize()));
}

void TestQtMaterialFlatButton::sizeHint()
{
    QtMaterialFlatButton plain(QStringLiteral("Download"), Material::RaisedPrimary);
    plain.ensurePolished();
    const QSize text = QFontMetrics(plain.font()).size(Qt::TextSingleLine, plain.text());
    QVERIFY(text.width() > 20);
    QCOMPARE(plain.sizeHint(), QSize(text.width() + 20, text.height() + 20));

    QtMaterialFlatButton withIcon(QtMaterialTheme::icon(QStringLiteral("file"),
                                                        QStringLiteral("cloud_download")),
                                  QStringLiteral("Download"), Material::RaisedPrimary);
    withIcon.setIconSize(QSize(24, 24));
    QCOMPARE(withIcon.sizeHint(),
             QSize(text.width() + 24 + 32, qMax(text.height(), 24) + 20));

    withIcon.setIconSize(QSize(48, 48));
    QCOMPARE(withIcon.sizeHint(), QSize(text.width() + 48 + 32, 48 + 20));
}

void TestQtMaterialFlatButton::rippleOnPress_data()
{
    QTest::addColumn<int>("style");
    QTest::addColumn<bool>("ripple");
    QTest::addColumn<QPoint>("center");
    QTest::addColumn<qreal>("fixedRadius");
    QTest::addColumn<qreal>("radius");

    // The button is 120 x 40 and pressed at (10, 12).
    QTest::newRow("from centre") << int(Material::RippleFromCentre) << true << QPoint(59, 19)
                                 << 0.0 << 60.0;
    QTest::newRow("from press") << int(Material::RippleFromPress) << true << QPoint(10, 12)
                                << 0.0 << 60.0;
    QTest::newRow("fixed radius") << int(Material::RippleFromPress) << true << QPoint(10, 12)
                                  << 20.0 << 20.0;
    QTest::newRow("off") << int(Material::RippleOff) << false << QPoint() << 0.0 << 0.0;
}

void TestQtMaterialFlatButton::rippleOnPress()
{
    QFETCH(int, style);
    QFETCH(bool, ripple);
    QFETCH(QPoint, center);
    QFETCH(qreal, fixedRadius);
    QFETCH(qreal, radius);

    Ground ground;
    ground.resize(200, 100);
    auto *button = new QtMaterialFlatButton(QStringLiteral("Go"), Material::TextPrimary, &ground);
    button->setGeometry(10, 10, 120, 40);
    button->setRippleStyle(Material::RippleStyle(style));
    if (fixedRadius > 0)
        button->setFixedRippleRadius(fixedRadius);
    ground.show();
    QVERIFY(QTest::qWaitForWindowExposed(&ground));

    QtMaterialRippleOverlay *overlay = overlayOf(button);
    QCOMPARE(overlay->geometry(), QRect(0, 0, 120, 40));
    QSignalSpy pressed(button, &QAbstractButton::pressed);
    QSignalSpy clicked(button, &QAbstractButton::clicked);

    QTest::mousePress(button, Qt::LeftButton, {}, QPoint(10, 12));
    QCOMPARE(pressed.count(), 1);
    QCOMPARE(overlay->ripples().size(), ripple ? 1 : 0);
    if (ripple) {
        QtMaterialRipple *r = overlay->ripples().first();
        QCOMPARE(r->center(), center);
        QCOMPARE(r->radiusAnim()->endValue().toReal(), radius);
        QCOMPARE(r->opacityAnim()->startValue().toReal(), 0.35);
        QCOMPARE(r->radiusAnim()->duration(), 600);
        QCOMPARE(r->opacityAnim()->duration(), 1300);
        QCOMPARE(r->color(), QColor("#2196F3"));
    }
    QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(10, 12));
    QCOMPARE(clicked.count(), 1);

    // The ripple is gone once its slower animation has ended.
    QTRY_VERIFY_WITH_TIMEOUT(overlay->ripples().isEmpty(), 3000);
}

void TestQtMaterialFlatButton::checkedBeforeEventLoop()
{
    QtMaterialFlatButton button(QStringLiteral("x"));
    button.setCheckable(true);
    button.setChecked(true);
    QtMaterialFlatButtonStateMachine *machine = machineOf(&button);
    QCOMPARE(machine->checkedOverlayProgress(), 1.0);

    // Once the machine runs, it is in the checked state and stays there.
    settle(&button);
    QVERIFY(materialtest::atRest(machine));
    QCOMPARE(machine->checkedOverlayProgress(), 1.0);

    button.setChecked(false);
    QTRY_COMPARE(machine->checkedOverlayProgress(), 0.0);
}

void TestQtMaterialFlatButton::checkingAnimatesProgress()
{
    QStringList steps; // outlives the button, whose teardown may stop an animation
    Ground ground;
    ground.resize(200, 100);
    auto *button = new QtMaterialFlatButton(QStringLiteral("Go"), Material::TextDefault, &ground);
    button->setGeometry(10, 10, 120, 40);
    button->setCheckable(true);
    ground.show();
    QVERIFY(QTest::qWaitForWindowExposed(&ground));
    settle(button);

    QtMaterialFlatButtonStateMachine *machine = machineOf(button);
    QCOMPARE(machine->checkedOverlayProgress(), 0.0);

    // The progress moves through its two animations (to checked, to unchecked);
    // each notes where it starts and where and when it ends.
    int animations = 0;
    const auto children = machine->findChildren<QPropertyAnimation *>();
    for (QPropertyAnimation *a : children) {
        if (a->targetObject() != machine || a->propertyName() != "checkedOverlayProgress")
            continue;
        ++animations;
        connect(a, &QAbstractAnimation::stateChanged, this,
                [&steps, machine, a](QAbstractAnimation::State now) {
                    if (now == QAbstractAnimation::Running)
                        steps << QStringLiteral("from %1 to %2 over %3")
                                     .arg(machine->checkedOverlayProgress())
                                     .arg(a->endValue().toReal())
                                     .arg(a->duration());
                    else if (now == QAbstractAnimation::Stopped)
                        steps << QStringLiteral("at %1 after %2")
                                     .arg(machine->checkedOverlayProgress())
                                     .arg(a->currentTime());
                });
    }
    QCOMPARE(animations, 2);

    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(20, 20));
    QVERIFY(button->isChecked());
    // The machine takes the change from the event loop and animates it.
    QCOMPARE(machine->checkedOverlayProgress(), 0.0);
    QVERIFY(steps.isEmpty());
    QTRY_COMPARE(machine->checkedOverlayProgress(), 1.0);
    QCOMPARE(steps, QStringList({"from 0 to 1 over 200", "at 1 after 200"}));

    steps.clear();
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(20, 20));
    QVERIFY(!button->isChecked());
    QTRY_COMPARE(machine->checkedOverlayProgress(), 0.0);
    QCOMPARE(steps, QStringList({"from 1 to 0 over 200", "at 0 after 200"}));
}

void TestQtMaterialFlatButton::shadowFollowsEnabledState()
{
    QtMaterialFlatButton button(QStringLiteral("x"), Material::RaisedPrimary);
    settle(&button);
    QStateMachine *raise = raiseMachineOf(&button);
    QTRY_VERIFY(raise->isRunning());

    button.setEnabled(false);
    QVERIFY(!button.graphicsEffect()->isEnabled());
    QTRY_VERIFY(!raise->isRunning());

    button.setEnabled(true);
    QVERIFY(button.graphicsEffect()->isEnabled());
    QTRY_VERIFY(raise->isRunning());

    // A raised button made while disabled starts with its shadow off.
    QWidget parent;
    parent.setEnabled(false);
    QtMaterialFlatButton disabled(QStringLiteral("x"), Material::RaisedPrimary, &parent);
    QVERIFY(!disabled.graphicsEffect()->isEnabled());
}

void TestQtMaterialFlatButton::disabledRaisedDrawsNoOverlayOrHalo()
{
    Ground ground;
    ground.resize(200, 100);
    auto *button = new QtMaterialFlatButton(QString(), Material::RaisedPrimary, &ground);
    button->setGeometry(20, 20, 120, 50);
    button->setOverlayColor(Qt::red);
    button->setHaloVisible(true);
    button->setCheckable(true);
    button->setChecked(true);
    ground.show();
    QVERIFY(QTest::qWaitForWindowExposed(&ground));
    settle(button);

    // Force every effect to be visible.
    QtMaterialFlatButtonStateMachine *machine = machineOf(button);
    machine->setOverlayOpacity(0.5);
    machine->setHaloOpacity(0.5);
    machine->setHaloSize(1);

    QImage image = materialtest::screenshot(button, QStringLiteral("flatbutton_enabled_effects"));
    const QColor fill = button->backgroundColor();
    QCOMPARE(materialtest::countColor(image, fill), 0);

    button->setEnabled(false);
    machine->setOverlayOpacity(0.5);
    machine->setHaloOpacity(0.5);
    image = materialtest::screenshot(button, QStringLiteral("flatbutton_disabled"));
    const QRect inner = image.rect().adjusted(3, 3, -3, -3);
    QCOMPARE(materialtest::countColor(image, QColor("#E0E0E0"), inner, 0),
             inner.width() * inner.height());
}

void TestQtMaterialFlatButton::screenshotPresets_data()
{
    presets_data();
}

void TestQtMaterialFlatButton::screenshotPresets()
{
    QFETCH(int, preset);
    QFETCH(int, type);
    QFETCH(QColor, foreground);
    QFETCH(QColor, background);
    QFETCH(bool, shadow);

    Ground ground;
    ground.resize(180, 90);
    auto *button = new QtMaterialFlatButton(QStringLiteral("Button"), Material::ButtonPreset(preset),
                                            &ground);
    button->setGeometry(20, 20, 140, 42);
    ground.show();
    QVERIFY(QTest::qWaitForWindowExposed(&ground));
    settle(button);

    const QImage image = materialtest::screenshot(
        &ground, QStringLiteral("flatbutton_preset_%1").arg(preset, 2, 10, QLatin1Char('0')));
    const QRect area(20, 20, 140, 42);
    const QPoint side(28, 41); // inside the button, left of the text
    const bool filled = type >= Material::RaisedButton;

    QCOMPARE(image.pixelColor(side), filled ? background : kGround);
    // The text is drawn in the foreground colour.
    QVERIFY2(materialtest::countColor(image, foreground, area, 8) > 15,
             qPrintable(materialtest::colorText(foreground)));
    // Only outlined buttons draw their edge on the ground.
    const QColor edge = image.pixelColor(20, 41);
    if (type == Material::OutlinedButton)
        QVERIFY2(!materialtest::sameColor(edge, kGround, 8), qPrintable(materialtest::colorText(edge)));
    else if (!filled)
        QCOMPARE(edge, kGround);
    // Raised buttons cast a shadow below themselves.
    const QColor below = image.pixelColor(90, 63);
    if (shadow)
        QVERIFY2(below.lightness() < kGround.lightness() - 8, qPrintable(materialtest::colorText(below)));
    else
        QCOMPARE(below, kGround);
}

void TestQtMaterialFlatButton::screenshotPresetSheet()
{
    Ground sheet;
    auto *grid = new QGridLayout(&sheet);
    grid->setSpacing(16);
    grid->setContentsMargins(16, 16, 16, 16);
    for (int preset = 0; preset < 12; ++preset) {
        auto *button = new QtMaterialFlatButton(
            QtMaterialTheme::icon(QStringLiteral("content"), QStringLiteral("save")),
            QStringLiteral("Preset %1").arg(preset), Material::ButtonPreset(preset));
        button->setMinimumSize(150, 42);
        grid->addWidget(button, preset / 3, preset % 3);
    }
    auto *plain = new QtMaterialFlatButton(QStringLiteral("Add Project"), Material::RaisedPrimary);
    grid->addWidget(plain, 4, 0);
    auto *disabled = new QtMaterialFlatButton(QStringLiteral("Disabled"), Material::RaisedPrimary);
    disabled->setEnabled(false);
    grid->addWidget(disabled, 4, 1);
    sheet.show();
    QVERIFY(QTest::qWaitForWindowExposed(&sheet));

    const QImage image = materialtest::screenshot(&sheet, QStringLiteral("flatbutton_sheet"));
    QVERIFY(materialtest::countColor(image, QColor("#2196F3")) > 500);
    QVERIFY(materialtest::countColor(image, QColor("#FF9800")) > 500);
    QVERIFY(materialtest::countColor(image, QColor("#E0E0E0")) > 500);
}

void TestQtMaterialFlatButton::screenshotCheckedTextButton()
{
    Ground ground;
    ground.resize(180, 90);
    auto *button = new QtMaterialFlatButton(QStringLiteral("Checked"), Material::TextDefault, &ground);
    button->setGeometry(20, 20, 140, 42);
    button->setCheckable(true);
    button->setChecked(true);
    ground.show();
    QVERIFY(QTest::qWaitForWindowExposed(&ground));
    settle(button);

    const QImage image = materialtest::screenshot(&ground, QStringLiteral("flatbutton_checked"));
    // The fill: the foreground at 0.45 over the ground; the text turns white.
    const QColor fg("#212121");
    const QColor expected(int(0.45 * fg.red() + 0.55 * kGround.red()),
                          int(0.45 * fg.green() + 0.55 * kGround.green()),
                          int(0.45 * fg.blue() + 0.55 * kGround.blue()));
    QVERIFY2(materialtest::sameColor(image.pixelColor(28, 41), expected, 3),
             qPrintable(materialtest::colorText(image.pixelColor(28, 41))));
    QVERIFY(materialtest::countColor(image, Qt::white, QRect(20, 20, 140, 42), 8) > 15);
}

void TestQtMaterialFlatButton::screenshotIconAndAlignment_data()
{
    QTest::addColumn<int>("alignment");
    QTest::addColumn<int>("placement");
    QTest::addColumn<bool>("leftAligned");

    QTest::newRow("centred, icon first") << int(Qt::AlignHCenter) << 0 << false;
    QTest::newRow("centred, icon after") << int(Qt::AlignHCenter) << 1 << false;
    QTest::newRow("left, icon first") << int(Qt::AlignLeft) << 0 << true;
    QTest::newRow("left and vcenter") << int(Qt::AlignLeft | Qt::AlignVCenter) << 0 << false;
}

void TestQtMaterialFlatButton::screenshotIconAndAlignment()
{
    QFETCH(int, alignment);
    QFETCH(int, placement);
    QFETCH(bool, leftAligned);

    Ground ground;
    ground.resize(260, 80);
    auto *button = new QtMaterialFlatButton(
        QtMaterialTheme::icon(QStringLiteral("content"), QStringLiteral("add")),
        QStringLiteral("Add Project"), Material::RaisedPrimary, &ground);
    button->setGeometry(10, 10, 240, 48);
    button->setIconSize(QSize(24, 24));
    button->setTextAlignment(Qt::Alignment(alignment));
    button->setIconPlacement(Material::ButtonIconPlacement(placement));
    ground.show();
    QVERIFY(QTest::qWaitForWindowExposed(&ground));
    settle(button);

    const QImage image = materialtest::screenshot(
        button, QStringLiteral("flatbutton_icon_%1").arg(QString::fromLatin1(QTest::currentDataTag())
                                                              .replace(QRegularExpression("\\W+"), "_")));
    const int tw = QFontMetrics(button->font()).size(Qt::TextSingleLine, button->text()).width();
    const int x = leftAligned ? 12 : (240 - tw - 24 - 12) / 2;
    const int iconX = placement == 0 ? x : x + tw + 12;
    const QRect iconBox(iconX, (48 - 24) / 2, 24, 24);

    // The plus sign is tinted in the text colour (white): its centre is white,
    // the corners of its box keep the blue fill.
    QCOMPARE(image.pixelColor(iconBox.center() + QPoint(1, 1)), QColor(Qt::white));
    QCOMPARE(image.pixelColor(iconBox.topLeft() + QPoint(1, 1)), QColor("#2196F3"));
    QVERIFY(materialtest::countColor(image, Qt::white, iconBox) > 30);
    // Nothing white left of the group.
    QCOMPARE(materialtest::countColor(image, Qt::white, QRect(0, 0, qMin(iconX, x) - 1, 48), 60), 0);
}

void TestQtMaterialFlatButton::zeroCornerRadiusDrawsNoOutline()
{
    Ground ground;
    ground.resize(180, 90);
    auto *button = new QtMaterialFlatButton(QStringLiteral("Edge"), Material::OutlinedPrimary, &ground);
    button->setGeometry(20, 20, 140, 42);
    ground.show();
    QVERIFY(QTest::qWaitForWindowExposed(&ground));

    QImage image = materialtest::screenshot(&ground, QStringLiteral("flatbutton_outlined"));
    QVERIFY(!materialtest::sameColor(image.pixelColor(20, 41), kGround, 8));

    button->setCornerRadius(0);
    image = materialtest::screenshot(&ground, QStringLiteral("flatbutton_outlined_square"));
    QCOMPARE(image.pixelColor(20, 41), kGround);
    QCOMPARE(image.pixelColor(90, 20), kGround);
}

void TestQtMaterialFlatButton::deleteWhileFocusedHoveredAndRippling()
{
    Ground ground;
    ground.resize(200, 100);
    QPointer<QtMaterialFlatButton> button =
        new QtMaterialFlatButton(QStringLiteral("Go"), Material::RaisedPrimary, &ground);
    button->setGeometry(10, 10, 120, 42);
    button->setHaloVisible(true);
    button->setOverlayStyle(Material::OverlayTinted);
    ground.show();
    QVERIFY(QTest::qWaitForWindowExposed(&ground));
    ground.activateWindow();
    settle(button);

    QEvent enter(QEvent::Enter);
    QCoreApplication::sendEvent(button, &enter);
    button->setFocus(Qt::TabFocusReason);
    QTest::mousePress(button, Qt::LeftButton, {}, QPoint(20, 20));
    QPointer<QtMaterialRippleOverlay> overlay = overlayOf(button);
    QPointer<QtMaterialRipple> ripple = overlay->ripples().value(0);
    QVERIFY(ripple);
    QVERIFY(materialtest::animationsTicked());

    delete button.data();
    QVERIFY(!overlay);
    QTRY_VERIFY(!ripple);
    QVERIFY(materialtest::animationsTicked());
}

void TestQtMaterialFlatButton::deleteFromClickedHandler()
{
    Ground ground;
    ground.resize(200, 100);
    QPointer<QtMaterialFlatButton> button =
        new QtMaterialFlatButton(QStringLiteral("Close"), Material::RaisedPrimary, &ground);
    button->setGeometry(10, 10, 120, 42);
    button->setCheckable(true);
    ground.show();
    QVERIFY(QTest::qWaitForWindowExposed(&ground));
    settle(button);

    connect(button.data(), &QAbstractButton::clicked, this, [&] { delete button.data(); });
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(20, 20));
    QVERIFY(!button);
    QVERIFY(materialtest::animationsTicked());
}

VARNO_TEST_MAIN(TestQtMaterialFlatButton)
#include "tst_qtmaterialflatbutton.moc"
