// Floating action button: corner geometry, following the parent, mini mode, shadow
// and painting.

#include "../support/testmain.h"
#include "materialtestutil.h"

#include "qtmaterialfloatingactionbutton.h"
#include "qtmaterialfloatingactionbuttonprivate.h"
#include "qtmaterialrippleoverlay.h"
#include "qtmaterialstyle.h"
#include "qtmaterialtheme.h"

#include <QGraphicsDropShadowEffect>
#include <QMouseEvent>

namespace {

const QColor DarkBackground(0x26, 0x34, 0x40);
const QColor Primary(0x21, 0x96, 0xF3);

class FlatButtonAccess : public QtMaterialFlatButton
{
public:
    static QtMaterialFloatingActionButtonPrivate *of(QtMaterialFloatingActionButton *b)
    {
        const auto member = &FlatButtonAccess::d_ptr;
        return static_cast<QtMaterialFloatingActionButtonPrivate *>((b->*member).data());
    }
};

QtMaterialFloatingActionButtonPrivate *priv(QtMaterialFloatingActionButton *b)
{
    return FlatButtonAccess::of(b);
}

QIcon addIcon()
{
    return QtMaterialTheme::icon("content", "add");
}

void darken(QWidget *host)
{
    QPalette p = host->palette();
    p.setColor(QPalette::Window, DarkBackground);
    host->setPalette(p);
    host->setAutoFillBackground(true);
}

} // namespace

class TestMaterialFloatingActionButton : public QObject
{
    Q_OBJECT

private slots:
    void withoutParent();
    void defaults();
    void cornerGeometry_data();
    void cornerGeometry();
    void followsParentResize();
    void offsetAndCornerChanges();
    void miniShrinksEverything();
    void pressDeepensShadow();
    void followsNewParent();
    void screenshotOnDarkBackground();
};

void TestMaterialFloatingActionButton::withoutParent()
{
    QtMaterialFloatingActionButton fab(addIcon());
    QVERIFY(priv(&fab)->fabGeometry().isNull());
    QCOMPARE(fab.size(), QSize(56, 56));
    QCOMPARE(fab.sizeHint(), QSize(56, 56));
    fab.setCorner(Qt::TopLeftCorner);
    fab.setOffset(5, 5);
    QCOMPARE(fab.size(), QSize(56, 56));
}

void TestMaterialFloatingActionButton::defaults()
{
    QWidget parent;
    parent.resize(400, 300);
    QtMaterialFloatingActionButton fab(addIcon(), &parent);
    QtMaterialFloatingActionButtonPrivate *d = priv(&fab);

    QVERIFY(!fab.isMini());
    QCOMPARE(fab.corner(), Qt::BottomRightCorner);
    QCOMPARE(fab.offset(), QPoint(34, 36));
    QCOMPARE(fab.type(), Material::RaisedButton);
    QCOMPARE(fab.role(), Material::PrimaryRole);
    QVERIFY(fab.hasFixedRippleRadius());
    QCOMPARE(d->fixedRippleRadius, 50.0);
    QCOMPARE(fab.backgroundColor(), Primary);
    QCOMPARE(fab.foregroundColor(), QColor(Qt::white));

    QVERIFY(d->shadowEffect);
    QCOMPARE(fab.graphicsEffect(), d->shadowEffect);
    QCOMPARE(d->shadowEffect->color(), QColor(0, 0, 0, 105));
    QCOMPARE(d->shadowEffect->offset(), QPointF(0, 6));
    QCOMPARE(d->shadowEffect->blurRadius(), 16.0);
    QCOMPARE(d->rippleOverlay->clipShape().boundingRect(), QRectF(0, 0, 56, 56));
    QVERIFY(d->rippleOverlay->hasClip());
}

void TestMaterialFloatingActionButton::cornerGeometry_data()
{
    QTest::addColumn<Qt::Corner>("corner");
    QTest::addColumn<bool>("mini");
    QTest::addColumn<QRect>("expected");

    // Parent 400 by 300, offset (34, 36).
    QTest::newRow("top left") << Qt::TopLeftCorner << false << QRect(34, 36, 56, 56);
    QTest::newRow("top right") << Qt::TopRightCorner << false << QRect(310, 36, 56, 56);
    QTest::newRow("bottom left") << Qt::BottomLeftCorner << false << QRect(34, 208, 56, 56);
    QTest::newRow("bottom right") << Qt::BottomRightCorner << false << QRect(310, 208, 56, 56);
    QTest::newRow("mini top left") << Qt::TopLeftCorner << true << QRect(34, 36, 40, 40);
    QTest::newRow("mini top right") << Qt::TopRightCorner << true << QRect(326, 36, 40, 40);
    QTest::newRow("mini bottom left") << Qt::BottomLeftCorner << true << QRect(34, 224, 40, 40);
    QTest::newRow("mini bottom right") << Qt::BottomRightCorner << true
                                       << QRect(326, 224, 40, 40);
}

void TestMaterialFloatingActionButton::cornerGeometry()
{
    QFETCH(Qt::Corner, corner);
    QFETCH(bool, mini);
    QFETCH(QRect, expected);

    QWidget parent;
    parent.resize(400, 300);
    QtMaterialFloatingActionButton fab(addIcon(), &parent);
    fab.setMini(mini);
    fab.setCorner(corner);
    QCOMPARE(fab.corner(), corner);
    QCOMPARE(priv(&fab)->fabGeometry(), expected);
    QCOMPARE(fab.geometry(), expected);
}

void TestMaterialFloatingActionButton::followsParentResize()
{
    QWidget parent;
    parent.resize(400, 300);
    auto *fab = new QtMaterialFloatingActionButton(addIcon(), &parent);
    parent.show();
    QVERIFY(QTest::qWaitForWindowExposed(&parent));
    QCOMPARE(fab->geometry(), QRect(310, 208, 56, 56));

    parent.resize(800, 500);
    QTRY_COMPARE(fab->geometry(), QRect(710, 408, 56, 56));
    parent.resize(200, 150);
    QTRY_COMPARE(fab->geometry(), QRect(110, 58, 56, 56));
}

void TestMaterialFloatingActionButton::offsetAndCornerChanges()
{
    QWidget parent;
    parent.resize(400, 300);
    QtMaterialFloatingActionButton fab(addIcon(), &parent);
    fab.setOffset(10, 20);
    QCOMPARE(fab.offset(), QPoint(10, 20));
    QCOMPARE(fab.geometry(), QRect(334, 224, 56, 56));
    fab.setOffset(QPoint(0, 0));
    QCOMPARE(fab.geometry(), QRect(344, 244, 56, 56));
    fab.setCorner(Qt::TopLeftCorner);
    QCOMPARE(fab.geometry(), QRect(0, 0, 56, 56));
}

void TestMaterialFloatingActionButton::miniShrinksEverything()
{
    QWidget parent;
    parent.resize(400, 300);
    QtMaterialFloatingActionButton fab(addIcon(), &parent);
    QtMaterialFloatingActionButtonPrivate *d = priv(&fab);

    fab.setMini(true);
    QVERIFY(fab.isMini());
    QCOMPARE(fab.size(), QSize(40, 40));
    QCOMPARE(fab.minimumSize(), QSize(40, 40));
    QCOMPARE(fab.maximumSize(), QSize(40, 40));
    QCOMPARE(fab.sizeHint(), QSize(40, 40));
    QCOMPARE(d->rippleOverlay->clipShape().boundingRect(), QRectF(0, 0, 40, 40));
    QCOMPARE(d->fixedRippleRadius, 30.0);
    QCOMPARE(d->shadowEffect->color(), QColor(0, 0, 0, 80));
    QCOMPARE(d->shadowEffect->offset(), QPointF(0, 3));
    QCOMPARE(d->shadowEffect->blurRadius(), 13.0);

    fab.setMini(false);
    QCOMPARE(fab.size(), QSize(56, 56));
    QCOMPARE(d->rippleOverlay->clipShape().boundingRect(), QRectF(0, 0, 56, 56));
    QCOMPARE(d->fixedRippleRadius, 50.0);
    QCOMPARE(d->shadowEffect->color(), QColor(0, 0, 0, 105));
    QCOMPARE(d->shadowEffect->offset(), QPointF(0, 6));
}

void TestMaterialFloatingActionButton::pressDeepensShadow()
{
    QWidget parent;
    parent.resize(400, 300);
    auto *fab = new QtMaterialFloatingActionButton(addIcon(), &parent);
    parent.show();
    QVERIFY(QTest::qWaitForWindowExposed(&parent));
    QtMaterialFloatingActionButtonPrivate *d = priv(fab);

    for (bool mini : {false, true}) {
        fab->setMini(mini);
        QTest::mousePress(fab, Qt::LeftButton, Qt::NoModifier, QPoint(20, 20));
        QTRY_COMPARE(d->shadowEffect->offset(), mini ? QPointF(0, 7) : QPointF(0, 11));
        QTRY_COMPARE(d->shadowEffect->blurRadius(), mini ? 20.0 : 28.0);
        // The ripple spreads to the fixed radius inside the circle.
        QVERIFY(!d->rippleOverlay->ripples().isEmpty());
        QTest::mouseRelease(fab, Qt::LeftButton, Qt::NoModifier, QPoint(20, 20));
        QTRY_COMPARE(d->shadowEffect->offset(), mini ? QPointF(0, 3) : QPointF(0, 6));
    }
}

void TestMaterialFloatingActionButton::followsNewParent()
{
    QWidget first;
    first.resize(400, 300);
    QWidget second;
    second.resize(200, 100);
    auto *fab = new QtMaterialFloatingActionButton(addIcon(), &first);
    first.show();
    second.show();
    QVERIFY(QTest::qWaitForWindowExposed(&second));
    fab->setParent(&second);
    QCOMPARE(fab->geometry(), QRect(110, 8, 56, 56));

    // The old parent no longer moves it; the new one does.
    first.resize(500, 500);
    QCOMPARE(fab->geometry(), QRect(110, 8, 56, 56));
    second.resize(300, 200);
    QCOMPARE(fab->geometry(), QRect(210, 108, 56, 56));
}

void TestMaterialFloatingActionButton::screenshotOnDarkBackground()
{
    QWidget host;
    darken(&host);
    host.resize(300, 160);
    auto *normal = new QtMaterialFloatingActionButton(addIcon(), &host);
    auto *mini = new QtMaterialFloatingActionButton(addIcon(), &host);
    mini->setMini(true);
    mini->setCorner(Qt::TopLeftCorner);
    auto *disabled = new QtMaterialFloatingActionButton(addIcon(), &host);
    disabled->setCorner(Qt::BottomLeftCorner);
    disabled->setOffset(110, 36);
    disabled->setEnabled(false);
    host.show();
    QVERIFY(QTest::qWaitForWindowExposed(&host));
    QTRY_VERIFY(materialtest::atRest(&host));

    const QImage image = materialtest::screenshot(&host, "floatingactionbuttons");
    const QRect disc = normal->geometry();
    // A primary disc, with the white icon in its centre.
    QVERIFY(materialtest::sameColor(image.pixelColor(disc.center() + QPoint(0, 20)), Primary));
    QVERIFY(materialtest::sameColor(image.pixelColor(disc.center() + QPoint(1, 1)), Qt::white));
    // Round: the corners of its square are not filled.
    QVERIFY(!materialtest::sameColor(image.pixelColor(disc.topLeft() + QPoint(2, 2)), Primary,
                                     30));
    QVERIFY(materialtest::countColor(image, Primary, mini->geometry()) > 800);
    QVERIFY(materialtest::countColor(image, Qt::white, mini->geometry(), 80) > 20);
    QCOMPARE(materialtest::countColor(image, Primary, disabled->geometry(), 10), 0);
    QVERIFY(materialtest::countColor(image, QColor("#E0E0E0"), disabled->geometry()) > 1500);
}

VARNO_TEST_MAIN(TestMaterialFloatingActionButton)
#include "tst_qtmaterialfloatingactionbutton.moc"
