#include "materialtestutil.h"
#include "testmain.h"

#include "qtmaterialiconbutton.h"
#include "qtmaterialripple.h"
#include "qtmaterialrippleoverlay.h"
#include "qtmaterialstyle.h"
#include "qtmaterialtheme.h"

#include <QPointer>
#include <QPropertyAnimation>
#include <QSignalSpy>
#include <QTest>

namespace {

// A dark ground, like the application's pages.
class Ground : public QWidget
{
public:
    explicit Ground(const QColor &color = QColor(0x26, 0x34, 0x40), QWidget *parent = nullptr)
        : QWidget(parent)
    {
        setAutoFillBackground(true);
        QPalette p = palette();
        p.setColor(QPalette::Window, color);
        setPalette(p);
    }
};

QIcon closeIcon()
{
    return QtMaterialTheme::icon(QStringLiteral("navigation"), QStringLiteral("close"));
}

QtMaterialRippleOverlay *overlayOn(QWidget *parent)
{
    return parent->findChild<QtMaterialRippleOverlay *>(QString(), Qt::FindDirectChildrenOnly);
}

} // namespace

class TestQtMaterialIconButton : public QObject
{
    Q_OBJECT

private slots:
    void defaults();
    void colours();
    void overlayIsPlacedOnParent_data();
    void overlayIsPlacedOnParent();
    void overlayFollowsParentResize();
    void buttonWithoutParentGetsOverlayLater();
    void deletingButtonDeletesOverlay();
    void deletingParentIsSafe();
    void pressMakesRoundRipple();
    void nullIconPaintsNothingButRipples();
    void screenshotTinted_data();
    void screenshotTinted();
    void deleteFromPressedHandler();
};

void TestQtMaterialIconButton::defaults()
{
    Ground parent;
    QtMaterialIconButton button(closeIcon(), &parent);
    QVERIFY(!button.icon().isNull());
    QCOMPARE(button.useThemeColors(), true);
    QCOMPARE(button.style(), &QtMaterialStyle::instance());
    QCOMPARE(button.sizePolicy().horizontalPolicy(), QSizePolicy::Fixed);
    QCOMPARE(button.sizePolicy().verticalPolicy(), QSizePolicy::Fixed);
    QVERIFY(button.sizePolicy().hasWidthForHeight());

    button.setIconSize(QSize(24, 24));
    QCOMPARE(button.sizeHint(), QSize(24, 24));
    button.setIconSize(QSize(40, 32));
    QCOMPARE(button.sizeHint(), QSize(40, 32));
}

void TestQtMaterialIconButton::colours()
{
    QtMaterialIconButton button(closeIcon(), nullptr);
    QCOMPARE(button.color(), QColor("#212121"));
    QCOMPARE(button.disabledColor(), QtMaterialStyle::instance().themeColor(Material::DisabledColor));

    button.setColor(Qt::red);
    QCOMPARE(button.useThemeColors(), false);
    QCOMPARE(button.color(), QColor(Qt::red));
    // Never set: still the theme's.
    QCOMPARE(button.disabledColor(), QtMaterialStyle::instance().themeColor(Material::DisabledColor));

    button.setDisabledColor(Qt::gray);
    QCOMPARE(button.disabledColor(), QColor(Qt::gray));

    button.setUseThemeColors(true);
    QCOMPARE(button.color(), QColor("#212121"));
    QCOMPARE(button.disabledColor(), QtMaterialStyle::instance().themeColor(Material::DisabledColor));
}

void TestQtMaterialIconButton::overlayIsPlacedOnParent_data()
{
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<QRect>("overlay");

    QTest::newRow("24 at 50,40") << QRect(50, 40, 24, 24) << QRect(38, 28, 48, 48);
    QTest::newRow("30x20 at 100,10") << QRect(100, 10, 30, 20) << QRect(85, 0, 60, 40);
    QTest::newRow("at origin") << QRect(0, 0, 24, 24) << QRect(-12, -12, 48, 48);
}

void TestQtMaterialIconButton::overlayIsPlacedOnParent()
{
    QFETCH(QRect, geometry);
    QFETCH(QRect, overlay);

    Ground parent;
    parent.resize(300, 200);
    auto *button = new QtMaterialIconButton(closeIcon(), &parent);
    QtMaterialRippleOverlay *ripples = overlayOn(&parent);
    QVERIFY(ripples);
    QVERIFY(ripples->parentWidget() == &parent);
    parent.show();
    QVERIFY(QTest::qWaitForWindowExposed(&parent));
    QVERIFY(ripples->isVisible());

    button->setGeometry(geometry);
    QCOMPARE(ripples->geometry(), overlay);
    QCOMPARE(ripples->geometry().center(), button->geometry().center());

    // Moving and resizing the button carries the overlay along.
    button->move(geometry.topLeft() + QPoint(7, 9));
    QCOMPARE(ripples->geometry(), overlay.translated(7, 9));
    button->resize(geometry.size() + QSize(10, 10));
    QCOMPARE(ripples->size(), (geometry.size() + QSize(10, 10)) * 2);
    QCOMPARE(ripples->geometry().center(), button->geometry().center());
}

void TestQtMaterialIconButton::overlayFollowsParentResize()
{
    Ground parent;
    parent.resize(200, 100);
    auto *button = new QtMaterialIconButton(closeIcon(), &parent);
    button->setGeometry(60, 30, 24, 24);
    parent.show();
    QVERIFY(QTest::qWaitForWindowExposed(&parent));

    // The overlay's own logic would cover the whole parent; the button keeps it
    // at twice its own size.
    parent.resize(260, 140);
    QCOMPARE(overlayOn(&parent)->geometry(), QRect(48, 18, 48, 48));
}

void TestQtMaterialIconButton::buttonWithoutParentGetsOverlayLater()
{
    auto *button = new QtMaterialIconButton(closeIcon(), nullptr);
    Ground parent;
    parent.resize(200, 100);
    parent.show();
    QVERIFY(QTest::qWaitForWindowExposed(&parent));
    QCOMPARE(overlayOn(&parent), nullptr);

    button->setParent(&parent);
    button->setGeometry(20, 20, 24, 24);
    button->show();
    QtMaterialRippleOverlay *overlay = overlayOn(&parent);
    QVERIFY(overlay);
    QVERIFY(overlay->isVisible());
    QCOMPARE(overlay->geometry(), QRect(8, 8, 48, 48));
}

void TestQtMaterialIconButton::deletingButtonDeletesOverlay()
{
    Ground parent;
    parent.resize(200, 100);
    auto *button = new QtMaterialIconButton(closeIcon(), &parent);
    button->setGeometry(20, 20, 24, 24);
    parent.show();
    QVERIFY(QTest::qWaitForWindowExposed(&parent));
    QTest::mousePress(button, Qt::LeftButton, {}, QPoint(5, 5));
    QPointer<QtMaterialRippleOverlay> overlay = overlayOn(&parent);
    QPointer<QtMaterialRipple> ripple = overlay->ripples().value(0);
    QVERIFY(overlay && ripple);

    delete button;
    QVERIFY(!overlay);
    QCOMPARE(overlayOn(&parent), nullptr);
    QTRY_VERIFY(!ripple);

    // A parentless button takes its parentless overlay with it too.
    QPointer<QtMaterialIconButton> lonely = new QtMaterialIconButton(closeIcon(), nullptr);
    const int before = QApplication::allWidgets().size();
    delete lonely.data();
    QCOMPARE(QApplication::allWidgets().size(), before - 2);
}

void TestQtMaterialIconButton::deletingParentIsSafe()
{
    for (int order = 0; order < 2; ++order) {
        auto *parent = new Ground;
        parent->resize(120, 80);
        QtMaterialIconButton *button = nullptr;
        if (order == 0) {
            button = new QtMaterialIconButton(closeIcon(), parent);
        } else {
            // The overlay becomes the older child: the parent deletes it first.
            button = new QtMaterialIconButton(closeIcon(), nullptr);
            button->setParent(parent);
            auto *overlay = overlayOn(parent);
            button->setParent(nullptr);
            overlay->setParent(parent);
            button->setParent(parent);
        }
        button->setGeometry(10, 10, 24, 24);
        parent->show();
        QVERIFY(QTest::qWaitForWindowExposed(parent));
        QTest::mousePress(button, Qt::LeftButton, {}, QPoint(5, 5));
        QVERIFY(materialtest::animationsTicked());
        delete parent;
        QVERIFY(materialtest::animationsTicked());
    }
}

void TestQtMaterialIconButton::pressMakesRoundRipple()
{
    Ground parent;
    parent.resize(200, 100);
    auto *button = new QtMaterialIconButton(closeIcon(), &parent);
    button->setIconSize(QSize(32, 32));
    button->setGeometry(40, 20, 32, 32);
    parent.show();
    QVERIFY(QTest::qWaitForWindowExposed(&parent));

    QSignalSpy pressed(button, &QAbstractButton::pressed);
    QSignalSpy clicked(button, &QAbstractButton::clicked);
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(3, 3));
    QCOMPARE(pressed.count(), 1);
    QCOMPARE(clicked.count(), 1);

    QtMaterialRippleOverlay *overlay = overlayOn(&parent);
    QCOMPARE(overlay->ripples().size(), 1);
    QtMaterialRipple *ripple = overlay->ripples().first();
    QCOMPARE(ripple->center(), QPoint(32, 32));
    QCOMPARE(ripple->radiusAnim()->endValue().toReal(), 32.0);
    QCOMPARE(ripple->opacityAnim()->startValue().toReal(), 0.5);
    QCOMPARE(ripple->radiusAnim()->duration(), 800);
    QTRY_VERIFY_WITH_TIMEOUT(overlay->ripples().isEmpty(), 3000);
}

void TestQtMaterialIconButton::nullIconPaintsNothingButRipples()
{
    Ground parent(Qt::white);
    parent.resize(100, 100);
    auto *button = new QtMaterialIconButton(QIcon(), &parent);
    button->setGeometry(30, 30, 24, 24);
    parent.show();
    QVERIFY(QTest::qWaitForWindowExposed(&parent));

    materialtest::screenshot(button, QStringLiteral("iconbutton_null"));
    const QImage image = materialtest::renderAlone(button);
    QCOMPARE(materialtest::countOpaque(image, image.rect()), 0);

    QTest::mousePress(button, Qt::LeftButton, {}, QPoint(5, 5));
    QCOMPARE(overlayOn(&parent)->ripples().size(), 1);
    QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(5, 5));
}

void TestQtMaterialIconButton::screenshotTinted_data()
{
    QTest::addColumn<QString>("category");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QColor>("color");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<QPoint>("inside");

    QTest::newRow("close red") << "navigation" << "close" << QColor(Qt::red) << true << QPoint(24, 24);
    QTest::newRow("close white") << "navigation" << "close" << QColor(Qt::white) << true
                                 << QPoint(24, 24);
    QTest::newRow("add green") << "content" << "add" << QColor("#4CAF50") << true << QPoint(24, 24);
    QTest::newRow("save disabled") << "content" << "save" << QColor(Qt::red) << false
                                   << QPoint(10, 30);
}

void TestQtMaterialIconButton::screenshotTinted()
{
    QFETCH(QString, category);
    QFETCH(QString, name);
    QFETCH(QColor, color);
    QFETCH(bool, enabled);
    QFETCH(QPoint, inside);

    Ground parent;
    parent.resize(120, 120);
    auto *button = new QtMaterialIconButton(QtMaterialTheme::icon(category, name), &parent);
    button->setIconSize(QSize(48, 48));
    button->setGeometry(20, 20, 56, 56);
    button->setColor(color);
    button->setEnabled(enabled);
    parent.show();
    QVERIFY(QTest::qWaitForWindowExposed(&parent));

    const QString tag = QString::fromLatin1(QTest::currentDataTag()).replace(QLatin1Char(' '), '_');
    materialtest::screenshot(&parent, QStringLiteral("iconbutton_") + tag);
    const QImage image = materialtest::renderAlone(button);

    // The 48-pixel icon is centred in the 56-pixel button: offset 4.
    const QColor expected =
        enabled ? color : QtMaterialStyle::instance().themeColor(Material::DisabledColor);
    const QPoint p = inside + QPoint(4, 4);
    QVERIFY2(materialtest::sameColor(image.pixelColor(p), expected, 3),
             qPrintable(materialtest::colorText(image.pixelColor(p))));
    QCOMPARE(qAlpha(image.pixel(5, 5)), 0);
    QCOMPARE(qAlpha(image.pixel(1, 28)), 0);

    // Every covered pixel has the tint's hue: a single-colour shape.
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c.alpha() == 0)
                continue;
            QVERIFY2(materialtest::sameColor(QColor(c.red(), c.green(), c.blue()),
                                             QColor(expected.red(), expected.green(), expected.blue()), 3),
                     qPrintable(QStringLiteral("(%1,%2) %3").arg(x).arg(y).arg(materialtest::colorText(c))));
        }
    }
}

void TestQtMaterialIconButton::deleteFromPressedHandler()
{
    Ground parent;
    parent.resize(100, 100);
    QPointer<QtMaterialIconButton> button = new QtMaterialIconButton(closeIcon(), &parent);
    button->setGeometry(30, 30, 24, 24);
    parent.show();
    QVERIFY(QTest::qWaitForWindowExposed(&parent));

    connect(button.data(), &QAbstractButton::pressed, this, [&] { delete button.data(); });
    QTest::mousePress(button, Qt::LeftButton, {}, QPoint(5, 5));
    QVERIFY(!button);
    QCOMPARE(overlayOn(&parent), nullptr);
}

VARNO_TEST_MAIN(TestQtMaterialIconButton)
#include "tst_qtmaterialiconbutton.moc"
