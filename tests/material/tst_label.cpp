// Label: theme font and colour, the ripple overlay beside it and the press rules
// of signalsPressed().

#include "materialtestutil.h"
#include "qtmateriallabel.h"
#include "qtmaterialripple.h"
#include "qtmaterialrippleoverlay.h"
#include "qtmaterialstyle.h"
#include "testmain.h"

#include <QMouseEvent>
#include <QPointer>
#include <QPropertyAnimation>
#include <QSignalSpy>
#include <QTest>

using namespace materialtest;

namespace {

const QColor kWhite(Qt::white);
const QColor kLime(0xAB, 0xD2, 0x65);

QList<QtMaterialRippleOverlay *> overlaysOn(QWidget *parent)
{
    return parent->findChildren<QtMaterialRippleOverlay *>(QString(),
                                                           Qt::FindDirectChildrenOnly);
}

// The parts of a font that a theme role fixes.
QString fontText(const QFont &f)
{
    return QStringLiteral("%1 %2pt w%3 s%4 c%5 i%6")
        .arg(f.family())
        .arg(f.pointSizeF())
        .arg(f.weight())
        .arg(f.letterSpacing())
        .arg(int(f.capitalization()))
        .arg(f.italic());
}

QString roleText(Material::FontType role)
{
    return fontText(QtMaterialStyle::instance().themeFont(role));
}

QColor textColorOf(const QWidget *w)
{
    return w->palette().color(QPalette::Active, QPalette::WindowText);
}

void sendMouse(QWidget *w, QEvent::Type type, Qt::MouseButton button, const QPoint &pos)
{
    const Qt::MouseButtons buttons = type == QEvent::MouseButtonRelease ? Qt::NoButton
                                                                         : Qt::MouseButtons(button);
    QMouseEvent event(type, pos, w->mapToGlobal(pos), type == QEvent::MouseMove ? Qt::NoButton
                                                                                 : button,
                      buttons, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &event);
}

} // namespace

class TestLabel : public QObject
{
    Q_OBJECT

private slots:
    void textConstructorDefaults();
    void fontRoleConstructor();
    void colorRule();
    void colorIsPainted();
    void backgroundReplacesPalette();
    void overlayFollowsLabel_data();
    void overlayFollowsLabel();
    void overlayStaysOnLabelWhenParentResizes();
    void overlayMovesWithParentChange();
    void destructorRemovesOverlay();
    void presses_data();
    void presses();
    void pressStartsRippleAtCentre();
};

void TestLabel::textConstructorDefaults()
{
    QWidget parent;
    QtMaterialLabel label(QStringLiteral("Room"), &parent);

    QCOMPARE(label.text(), QStringLiteral("Room"));
    QCOMPARE(label.fontType(), Material::Body1);
    QCOMPARE(fontText(label.font()), roleText(Material::Body1));
    QVERIFY(label.useThemeColors());
    QCOMPARE(label.color(), kWhite);
    QCOMPARE(textColorOf(&label), kWhite);
    QCOMPARE(label.windowType(), Qt::Widget);
    QVERIFY(!label.isWindow());
    QCOMPARE(label.sizePolicy().horizontalPolicy(), QSizePolicy::Fixed);
    QCOMPARE(label.sizePolicy().verticalPolicy(), QSizePolicy::Fixed);
    QVERIFY(label.sizePolicy().hasWidthForHeight());
    QVERIFY(label.testAttribute(Qt::WA_SetStyle));
    QCOMPARE(label.style(), &QtMaterialStyle::instance());
}

void TestLabel::fontRoleConstructor()
{
    QWidget parent;
    QtMaterialLabel label(QStringLiteral("Title"), Material::Headline6, &parent);

    QCOMPARE(label.fontType(), Material::Headline6);
    QCOMPARE(fontText(label.font()), roleText(Material::Headline6));
    QCOMPARE(label.font().pointSize(), 20);
}


void TestLabel::colorRule()
{
    QtMaterialLabel label(QStringLiteral("x"));

    label.setColor(kLime);
    QVERIFY(!label.useThemeColors());
    QCOMPARE(label.color(), kLime);
    QCOMPARE(textColorOf(&label), kLime);

    QEvent change(QEvent::StyleChange);
    QCoreApplication::sendEvent(&label, &change);
    QCOMPARE(textColorOf(&label), kLime);

    label.setUseThemeColors(true);
    QCOMPARE(label.color(), kWhite);
    QCOMPARE(textColorOf(&label), kWhite);

    label.setUseThemeColors(false);
    QCOMPARE(label.color(), kLime);
    QCOMPARE(textColorOf(&label), kLime);
}

void TestLabel::colorIsPainted()
{
    QWidget page;
    page.setAutoFillBackground(true);
    QPalette palette;
    palette.setColor(QPalette::Window, QColor(0x26, 0x34, 0x40));
    page.setPalette(palette);
    page.resize(220, 80);

    auto *white = new QtMaterialLabel(QStringLiteral("WHITE TEXT"), &page);
    white->move(10, 10);
    white->resize(200, 24);
    auto *lime = new QtMaterialLabel(QStringLiteral("LIME TEXT"), &page);
    lime->setColor(kLime);
    lime->move(10, 44);
    lime->resize(200, 24);

    const QImage image = screenshot(&page, QStringLiteral("label_colours"));
    QVERIFY(countColor(image, kWhite, QRect(10, 10, 200, 24), 8) > 20);
    QCOMPARE(countColor(image, kLime, QRect(10, 10, 200, 24), 8), 0);
    QVERIFY(countColor(image, kLime, QRect(10, 44, 200, 24), 8) > 20);
    QCOMPARE(countColor(image, kWhite, QRect(10, 44, 200, 24), 8), 0);
}

void TestLabel::backgroundReplacesPalette()
{
    QtMaterialLabel label(QStringLiteral("x"));
    label.setColor(kLime);

    label.setBackgroud(QColor(Qt::darkBlue));
    QCOMPARE(label.palette().color(QPalette::Active, QPalette::Window), QColor(Qt::darkBlue));
    QCOMPARE(label.palette().color(QPalette::Disabled, QPalette::Window), QColor(Qt::darkBlue));
    // The whole palette is new: the text colour returns only when applied again.
    QCOMPARE(textColorOf(&label), QPalette().color(QPalette::Active, QPalette::WindowText));
    label.setColor(kLime);
    QCOMPARE(textColorOf(&label), kLime);
    QCOMPARE(label.palette().color(QPalette::Active, QPalette::Window), QColor(Qt::darkBlue));
}

void TestLabel::overlayFollowsLabel_data()
{
    QTest::addColumn<QRect>("before");
    QTest::addColumn<QRect>("after");
    QTest::addColumn<QRect>("overlay");

    QTest::newRow("moved") << QRect(0, 0, 100, 20) << QRect(10, 10, 100, 20)
                           << QRect(-40, 0, 200, 40);
    QTest::newRow("resized") << QRect(10, 10, 50, 10) << QRect(10, 10, 100, 20)
                             << QRect(-40, 0, 200, 40);
    QTest::newRow("odd size") << QRect(0, 0, 10, 10) << QRect(20, 30, 31, 7)
                              << QRect(5, 27, 62, 14);
}

void TestLabel::overlayFollowsLabel()
{
    QFETCH(QRect, before);
    QFETCH(QRect, after);
    QFETCH(QRect, overlay);

    QWidget parent;
    parent.resize(300, 200);
    auto *label = new QtMaterialLabel(QStringLiteral("x"), &parent);
    label->setGeometry(before);
    parent.show();
    QVERIFY(QTest::qWaitForWindowExposed(&parent));

    const QList<QtMaterialRippleOverlay *> overlays = overlaysOn(&parent);
    QCOMPARE(overlays.size(), 1);
    QVERIFY(overlays.first()->isVisible());

    label->setGeometry(after);
    QCOMPARE(overlays.first()->geometry(), overlay);
}

void TestLabel::overlayStaysOnLabelWhenParentResizes()
{
    QWidget parent;
    parent.resize(300, 200);
    auto *label = new QtMaterialLabel(QStringLiteral("x"), &parent);
    label->setGeometry(10, 10, 100, 20);
    parent.show();
    QVERIFY(QTest::qWaitForWindowExposed(&parent));

    parent.resize(500, 400);
    QCOMPARE(overlaysOn(&parent).first()->geometry(), QRect(-40, 0, 200, 40));
}

void TestLabel::overlayMovesWithParentChange()
{
    QtMaterialLabel *label = new QtMaterialLabel(QStringLiteral("x"));
    QtMaterialRippleOverlay *overlay = label->findChild<QtMaterialRippleOverlay *>();
    QVERIFY(!overlay); // not a child of the label

    QWidget parent;
    parent.resize(300, 200);
    label->setParent(&parent);
    label->setGeometry(10, 10, 100, 20);
    parent.show();
    QVERIFY(QTest::qWaitForWindowExposed(&parent));

    const QList<QtMaterialRippleOverlay *> overlays = overlaysOn(&parent);
    QCOMPARE(overlays.size(), 1);
    QVERIFY(overlays.first()->isVisible());
    QCOMPARE(overlays.first()->geometry(), QRect(-40, 0, 200, 40));

    QWidget other;
    other.resize(300, 200);
    label->setParent(&other);
    QVERIFY(overlaysOn(&parent).isEmpty());
    QCOMPARE(overlaysOn(&other).size(), 1);
}

void TestLabel::destructorRemovesOverlay()
{
    QWidget parent;
    auto *label = new QtMaterialLabel(QStringLiteral("x"), &parent);
    label->resize(50, 20);
    QCOMPARE(overlaysOn(&parent).size(), 1);
    QPointer<QtMaterialRippleOverlay> overlay = overlaysOn(&parent).first();

    // A ripple still running when the label goes must go with it.
    sendMouse(label, QEvent::MouseButtonPress, Qt::LeftButton, QPoint(5, 5));
    QCOMPARE(overlay->ripples().size(), 1);

    delete label;
    QVERIFY(overlay.isNull());
    QVERIFY(overlaysOn(&parent).isEmpty());
    // The animation timer steps on without it.
    QVERIFY(materialtest::animationsTicked());
}

void TestLabel::presses_data()
{
    // Steps: "p" press, "m" move, "r" release; L or R for the button; then x,y.
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<int>("expected");

    QTest::newRow("press and release inside") << QStringList{"pL50,10", "rL50,10"} << 1;
    QTest::newRow("release outside") << QStringList{"pL50,10", "rL150,10"} << 0;
    QTest::newRow("release just past the edge") << QStringList{"pL50,10", "rL100,10"} << 0;
    QTest::newRow("move inside, release inside")
        << QStringList{"pL50,10", "mL60,12", "mL99,19", "rL99,19"} << 1;
    QTest::newRow("out and back in") << QStringList{"pL50,10", "mL150,10", "mL50,10", "rL50,10"}
                                     << 0;
    QTest::newRow("right button") << QStringList{"pR50,10", "rR50,10"} << 0;
    QTest::newRow("two clicks") << QStringList{"pL50,10", "rL50,10", "pL10,5", "rL10,5"} << 2;
    QTest::newRow("release without press") << QStringList{"rL50,10"} << 0;
}

void TestLabel::presses()
{
    QFETCH(QStringList, steps);
    QFETCH(int, expected);

    QWidget parent;
    parent.resize(300, 100);
    auto *label = new QtMaterialLabel(QStringLiteral("Refresh"), &parent);
    label->setGeometry(20, 20, 100, 20);
    QSignalSpy spy(label, &QtMaterialLabel::signalsPressed);

    for (const QString &step : steps) {
        const QEvent::Type type = step.at(0) == QLatin1Char('p') ? QEvent::MouseButtonPress
                                  : step.at(0) == QLatin1Char('m') ? QEvent::MouseMove
                                                                   : QEvent::MouseButtonRelease;
        const Qt::MouseButton button = step.at(1) == QLatin1Char('L') ? Qt::LeftButton
                                                                     : Qt::RightButton;
        const QStringList xy = step.mid(2).split(QLatin1Char(','));
        sendMouse(label, type, button, QPoint(xy.at(0).toInt(), xy.at(1).toInt()));
    }
    QCOMPARE(spy.count(), expected);
}

void TestLabel::pressStartsRippleAtCentre()
{
    QWidget parent;
    parent.resize(300, 100);
    auto *label = new QtMaterialLabel(QStringLiteral("Refresh"), &parent);
    label->setGeometry(20, 20, 100, 20);
    parent.show();
    QVERIFY(QTest::qWaitForWindowExposed(&parent));
    QtMaterialRippleOverlay *overlay = overlaysOn(&parent).first();

    QTest::mouseClick(label, Qt::RightButton, Qt::NoModifier, QPoint(3, 3));
    QCOMPARE(overlay->ripples().size(), 1);
    QtMaterialRipple *ripple = overlay->ripples().first();
    // The overlay is twice the label's size around it: its centre is the label's.
    QCOMPARE(ripple->center(), QPoint(100, 20));
    QCOMPARE(overlay->mapTo(&parent, ripple->center()), label->geometry().center() + QPoint(1, 1));
    QCOMPARE(ripple->radiusAnim()->endValue().toReal(), 100.0);
    QTRY_VERIFY_WITH_TIMEOUT(overlay->ripples().isEmpty(), 3000);
}

VARNO_TEST_MAIN(TestLabel)
#include "tst_label.moc"
