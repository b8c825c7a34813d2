#include "materialtestutil.h"
#include "testmain.h"

#include "qtmaterialoverlaywidget.h"
#include "qtmaterialripple.h"
#include "qtmaterialrippleoverlay.h"
#include "qtmaterialstatetransition.h"
#include "qtmaterialstatetransitionevent.h"

#include <QPainterPath>
#include <QPointer>
#include <QPropertyAnimation>
#include <QTest>

namespace {

// A white widget to lay overlays on.
class Ground : public QWidget
{
public:
    explicit Ground(QWidget *parent = nullptr) : QWidget(parent)
    {
        setAutoFillBackground(true);
        QPalette p = palette();
        p.setColor(QPalette::Window, Qt::white);
        setPalette(p);
    }
};

class ExposedOverlay : public QtMaterialOverlayWidget
{
public:
    using QtMaterialOverlayWidget::QtMaterialOverlayWidget;
    QRect exposedGeometry() const { return overlayGeometry(); }
};

class ProbeTransition : public QtMaterialStateTransition
{
public:
    using QtMaterialStateTransition::QtMaterialStateTransition;
    using QtMaterialStateTransition::eventTest;
};

// Stops a ripple at fixed values so that a screenshot shows it.
void freeze(QtMaterialRipple *ripple, qreal radius, qreal opacity, const QColor &color)
{
    ripple->pause();
    ripple->setRadius(radius);
    ripple->setOpacity(opacity);
    ripple->setColor(color);
}

} // namespace

class TestQtMaterialRipple : public QObject
{
    Q_OBJECT

private slots:
    void overlayFollowsParent();
    void overlayFollowsNewParent();
    void overlayWithoutParentHasNullGeometry();
    void followingOverlayStaysOnItsWidget();

    void rippleDefaults();
    void rippleLifeCycle();
    void finishedRippleOutlivesItsSignal();
    void removeForeignRippleChangesNothing();
    void removeRunningRipple();
    void twoRipplesPaintedInOrder();
    void clipKeepsRippleInside();
    void overlayDestroyedWhileRippleRuns();

    void transitionTest_data();
    void transitionTest();
};

void TestQtMaterialRipple::overlayFollowsParent()
{
    Ground parent;
    parent.resize(100, 60);
    QtMaterialOverlayWidget overlay(&parent);
    parent.show();
    QVERIFY(QTest::qWaitForWindowExposed(&parent));

    parent.resize(180, 90);
    QCOMPARE(overlay.geometry(), QRect(0, 0, 180, 90));
    parent.move(30, 40);
    QCOMPARE(overlay.geometry(), QRect(0, 0, 180, 90));
}

void TestQtMaterialRipple::overlayFollowsNewParent()
{
    Ground first;
    first.resize(100, 60);
    Ground second;
    second.resize(50, 70);
    auto *overlay = new QtMaterialOverlayWidget(&first);
    first.show();
    second.show();
    QVERIFY(QTest::qWaitForWindowExposed(&first));
    QVERIFY(QTest::qWaitForWindowExposed(&second));
    first.resize(110, 60);
    QCOMPARE(overlay->geometry(), QRect(0, 0, 110, 60));

    overlay->setParent(&second);
    QCOMPARE(overlay->geometry(), QRect(0, 0, 50, 70));

    // The old parent is no longer watched, the new one is.
    first.resize(200, 200);
    QCOMPARE(overlay->geometry(), QRect(0, 0, 50, 70));
    second.resize(80, 90);
    QCOMPARE(overlay->geometry(), QRect(0, 0, 80, 90));
}

void TestQtMaterialRipple::followingOverlayStaysOnItsWidget()
{
    Ground first;
    first.resize(200, 100);
    Ground second;
    second.resize(150, 120);
    auto *widget = new QWidget;
    widget->setGeometry(10, 20, 40, 30);
    const auto grown = [](const QWidget *w) { return w->geometry().adjusted(-5, -5, 5, 5); };

    QPointer<QtMaterialRippleOverlay> overlay = new QtMaterialRippleOverlay;
    overlay->followWidget(widget, grown);
    QVERIFY(!overlay->parentWidget()); // waits for the widget to get a parent

    widget->setParent(&first);
    QCOMPARE(overlay->parentWidget(), &first);
    QCOMPARE(overlay->geometry(), QRect(5, 15, 50, 40));
    first.show();
    QVERIFY(QTest::qWaitForWindowExposed(&first));
    QVERIFY(overlay->isVisible());

    // The parent's resize no longer spreads the overlay over the whole parent.
    first.resize(300, 200);
    QCOMPARE(overlay->geometry(), QRect(5, 15, 50, 40));
    widget->move(60, 70);
    QCOMPARE(overlay->geometry(), QRect(55, 65, 50, 40));
    widget->resize(20, 10);
    QCOMPARE(overlay->geometry(), QRect(55, 65, 30, 20));

    widget->setParent(&second);
    QCOMPARE(overlay->parentWidget(), &second);
    QVERIFY(first.findChildren<QtMaterialRippleOverlay *>().isEmpty());
    QCOMPARE(overlay->geometry(), QRect(55, 65, 30, 20));
    second.resize(250, 250);
    QCOMPARE(overlay->geometry(), QRect(55, 65, 30, 20));

    QCOMPARE(QtMaterialRippleOverlay::doubledAround(widget), QRect(50, 65, 40, 20));
    delete overlay.data();
    delete widget;
}

void TestQtMaterialRipple::overlayWithoutParentHasNullGeometry()
{
    Ground parent;
    parent.resize(40, 30);
    ExposedOverlay overlay;
    QVERIFY(overlay.exposedGeometry().isNull());

    // Parent events of a parentless overlay leave it alone.
    overlay.setGeometry(3, 4, 10, 10);
    QEvent change(QEvent::ParentChange);
    QCoreApplication::sendEvent(&overlay, &change);
    QCOMPARE(overlay.geometry(), QRect(3, 4, 10, 10));

    overlay.setParent(&parent);
    QCOMPARE(overlay.exposedGeometry(), QRect(0, 0, 40, 30));
    QCOMPARE(overlay.geometry(), QRect(0, 0, 40, 30));
}

void TestQtMaterialRipple::rippleDefaults()
{
    QtMaterialRipple ripple(QPoint(7, 9));
    QCOMPARE(ripple.center(), QPoint(7, 9));
    QCOMPARE(ripple.radius(), 0.0);
    QCOMPARE(ripple.opacity(), 0.0);
    QCOMPARE(ripple.overlay(), nullptr);
    QCOMPARE(ripple.brush().color(), QColor(Qt::black));
    QCOMPARE(ripple.brush().style(), Qt::SolidPattern);
    QCOMPARE(ripple.animationCount(), 2);

    QPropertyAnimation *radius = ripple.radiusAnim();
    QCOMPARE(radius->propertyName(), QByteArray("radius"));
    QCOMPARE(radius->targetObject(), &ripple);
    QCOMPARE(radius->startValue().toReal(), 0.0);
    QCOMPARE(radius->endValue().toReal(), 300.0);
    QCOMPARE(radius->duration(), 800);
    QCOMPARE(radius->easingCurve().type(), QEasingCurve::OutQuad);

    QPropertyAnimation *opacity = ripple.opacityAnim();
    QCOMPARE(opacity->propertyName(), QByteArray("opacity"));
    QCOMPARE(opacity->startValue().toReal(), 0.5);
    QCOMPARE(opacity->endValue().toReal(), 0.0);
    QCOMPARE(opacity->duration(), 800);
    QCOMPARE(opacity->easingCurve().type(), QEasingCurve::OutQuad);
}

void TestQtMaterialRipple::rippleLifeCycle()
{
    QStringList stops; // outlives the overlay, which stops a ripple still running
    Ground parent;
    parent.resize(120, 80);
    QtMaterialRippleOverlay overlay(&parent);
    parent.show();
    QVERIFY(QTest::qWaitForWindowExposed(&parent));

    overlay.addRipple(QPoint(10, 10));
    QCOMPARE(overlay.ripples().size(), 1);
    QPointer<QtMaterialRipple> ripple = overlay.ripples().first();
    QCOMPARE(ripple->overlay(), &overlay);
    QCOMPARE(ripple->state(), QAbstractAnimation::Running);

    QList<qreal> radii;
    QList<qreal> opacities;
    connect(ripple->radiusAnim(), &QVariantAnimation::valueChanged, this,
            [&](const QVariant &v) { radii << v.toReal(); });
    connect(ripple->opacityAnim(), &QVariantAnimation::valueChanged, this,
            [&](const QVariant &v) { opacities << v.toReal(); });
    // It stops once, at the end of its whole 800 ms, before the overlay lets it go.
    connect(ripple, &QAbstractAnimation::stateChanged, this,
            [&stops, r = ripple.data()](QAbstractAnimation::State now) {
                if (now == QAbstractAnimation::Stopped)
                    stops << QStringLiteral("at %1 of %2, on the overlay: %3")
                                 .arg(r->currentTime())
                                 .arg(r->duration())
                                 .arg(r->overlay() ? "yes" : "no");
            });

    QTRY_VERIFY_WITH_TIMEOUT(overlay.ripples().isEmpty(), 5000);
    QCOMPARE(stops, QStringList({"at 800 of 800, on the overlay: yes"}));

    // Growing from 0 to 300 and fading from 0.5 to 0, both without turning back.
    QVERIFY(!radii.isEmpty() && !opacities.isEmpty());
    QCOMPARE(radii.last(), 300.0);
    QCOMPARE(opacities.last(), 0.0);
    for (int i = 1; i < radii.size(); ++i)
        QVERIFY(radii.at(i) >= radii.at(i - 1));
    for (int i = 1; i < opacities.size(); ++i)
        QVERIFY(opacities.at(i) <= opacities.at(i - 1));
    // Half-way through its time (set here, on a paused ripple) three quarters grown
    // and faded, as the OutQuad curve has it.
    QtMaterialRipple halfway(QPoint(10, 10));
    halfway.start();
    halfway.pause();
    halfway.setCurrentTime(400);
    QCOMPARE(halfway.radius(), 225.0);
    QCOMPARE(halfway.opacity(), 0.125);

    // Removed from the list at once, deleted from the event loop.
    QTRY_VERIFY(!ripple);

    // The overlay paints nothing afterwards.
    const QImage image = materialtest::screenshot(&parent, QStringLiteral("ripple_after"));
    QCOMPARE(materialtest::countColor(image, Qt::white), image.width() * image.height());
}

void TestQtMaterialRipple::finishedRippleOutlivesItsSignal()
{
    Ground parent;
    parent.resize(50, 50);
    QtMaterialRippleOverlay overlay(&parent);

    auto *ripple = new QtMaterialRipple(QPoint(5, 5));
    ripple->setDuration(20);
    QPointer<QtMaterialRipple> guard(ripple);
    bool seenAfterRemoval = false;
    // Runs after the ripple's own removal slot, still inside finished().
    connect(ripple, &QAbstractAnimation::finished, this, [&] {
        seenAfterRemoval = guard && !overlay.ripples().contains(guard.data())
                           && guard->overlay() == nullptr;
    });
    overlay.addRipple(ripple);

    QTRY_VERIFY(seenAfterRemoval);
    QTRY_VERIFY(!guard);
}

void TestQtMaterialRipple::removeForeignRippleChangesNothing()
{
    Ground parent;
    QtMaterialRippleOverlay overlay(&parent);
    overlay.addRipple(QPoint(1, 1));
    QtMaterialRipple *mine = overlay.ripples().first();

    QtMaterialRipple foreign(QPoint(2, 2));
    QPointer<QtMaterialRipple> guard(&foreign);
    overlay.removeRipple(&foreign);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    QVERIFY(guard);
    QCOMPARE(overlay.ripples(), QList<QtMaterialRipple *>() << mine);
}

void TestQtMaterialRipple::removeRunningRipple()
{
    Ground parent;
    parent.resize(80, 80);
    QtMaterialRippleOverlay overlay(&parent);
    parent.show();
    QVERIFY(QTest::qWaitForWindowExposed(&parent));

    overlay.addRipple(QPoint(40, 40));
    QPointer<QtMaterialRipple> ripple = overlay.ripples().first();
    freeze(ripple, 30, 1, Qt::red);
    overlay.removeRipple(ripple);

    QVERIFY(overlay.ripples().isEmpty());
    QVERIFY(ripple);
    QCOMPARE(ripple->state(), QAbstractAnimation::Stopped);
    QTRY_VERIFY(!ripple);

    const QImage image = materialtest::screenshot(&parent, QStringLiteral("ripple_removed"));
    QCOMPARE(materialtest::countColor(image, Qt::white), image.width() * image.height());
}

void TestQtMaterialRipple::twoRipplesPaintedInOrder()
{
    Ground parent;
    parent.resize(120, 60);
    QtMaterialRippleOverlay overlay(&parent);
    parent.show();
    QVERIFY(QTest::qWaitForWindowExposed(&parent));

    overlay.addRipple(QPoint(40, 30));
    overlay.addRipple(QPoint(70, 30));
    QCOMPARE(overlay.ripples().size(), 2);
    freeze(overlay.ripples().at(0), 25, 1.0, Qt::red);
    freeze(overlay.ripples().at(1), 25, 1.0, Qt::blue);

    QImage image = materialtest::screenshot(&parent, QStringLiteral("ripple_two"));
    QCOMPARE(image.pixelColor(25, 30), QColor(Qt::red));   // first only
    QCOMPARE(image.pixelColor(55, 30), QColor(Qt::blue));  // both: the newer on top
    QCOMPARE(image.pixelColor(90, 30), QColor(Qt::blue));  // second only
    QCOMPARE(image.pixelColor(2, 2), QColor(Qt::white));

    // Each with its own opacity.
    overlay.ripples().at(1)->setOpacity(0.5);
    image = materialtest::screenshot(&parent, QStringLiteral("ripple_two_half"));
    QVERIFY(materialtest::sameColor(image.pixelColor(90, 30), QColor(127, 127, 255), 2));
    QVERIFY(materialtest::sameColor(image.pixelColor(55, 30), QColor(127, 0, 128), 2));
}

void TestQtMaterialRipple::clipKeepsRippleInside()
{
    Ground parent;
    parent.resize(100, 100);
    QtMaterialRippleOverlay overlay(&parent);
    QPainterPath path;
    path.addRoundedRect(QRectF(20, 20, 60, 60), 10, 10);
    overlay.setClipShape(path);
    overlay.setClipEnabled(true);
    QVERIFY(overlay.hasClip());
    parent.show();
    QVERIFY(QTest::qWaitForWindowExposed(&parent));

    overlay.addRipple(QPoint(50, 50));
    freeze(overlay.ripples().first(), 200, 1.0, Qt::red);

    const QImage image = materialtest::screenshot(&parent, QStringLiteral("ripple_clipped"));
    QCOMPARE(image.pixelColor(50, 50), QColor(Qt::red));
    QCOMPARE(image.pixelColor(25, 50), QColor(Qt::red));
    QCOMPARE(image.pixelColor(10, 50), QColor(Qt::white));
    QCOMPARE(image.pixelColor(50, 90), QColor(Qt::white));
    QCOMPARE(image.pixelColor(21, 21), QColor(Qt::white)); // the rounded corner
    // Nothing red outside the clip rectangle.
    const int inside = materialtest::countColor(image, Qt::red, QRect(19, 19, 62, 62), 250);
    QCOMPARE(materialtest::countColor(image, Qt::red, 250), inside);

    overlay.setClipEnabled(false);
    const QImage unclipped = materialtest::screenshot(&parent, QStringLiteral("ripple_unclipped"));
    QCOMPARE(unclipped.pixelColor(10, 50), QColor(Qt::red));
}

void TestQtMaterialRipple::overlayDestroyedWhileRippleRuns()
{
    auto *parent = new Ground;
    parent->resize(60, 60);
    auto *overlay = new QtMaterialRippleOverlay(parent);
    parent->show();
    QVERIFY(QTest::qWaitForWindowExposed(parent));

    overlay->addRipple(QPoint(30, 30));
    overlay->addRipple(QPoint(10, 10));
    QPointer<QtMaterialRipple> first = overlay->ripples().at(0);
    QPointer<QtMaterialRipple> second = overlay->ripples().at(1);

    delete parent;
    QVERIFY(first);
    QCOMPARE(first->state(), QAbstractAnimation::Stopped);
    QCOMPARE(second->state(), QAbstractAnimation::Stopped);
    QCOMPARE(first->overlay(), nullptr);
    QTRY_VERIFY(!first && !second);
}

void TestQtMaterialRipple::transitionTest_data()
{
    QTest::addColumn<int>("eventType");
    QTest::addColumn<int>("kind");
    QTest::addColumn<bool>("fires");

    QTest::newRow("same kind") << 1001 << int(KindDialogShow) << true;
    QTest::newRow("other kind") << 1001 << int(KindDialogHide) << false;
    QTest::newRow("other type") << int(QEvent::User) << int(KindDialogShow) << false;
    QTest::newRow("plain event") << int(QEvent::MouseButtonPress) << int(KindDialogShow) << false;
}

void TestQtMaterialRipple::transitionTest()
{
    QFETCH(int, eventType);
    QFETCH(int, kind);
    QFETCH(bool, fires);

    ProbeTransition transition(KindDialogShow);

    if (eventType == 1001) {
        QtMaterialStateTransitionEvent event(static_cast<QtMaterialStateTransitionType>(kind));
        QCOMPARE(int(event.type()), 1001);
        QCOMPARE(transition.eventTest(&event), fires);
    } else {
        // Same layout as the transition event, but another type.
        struct Fake : QEvent
        {
            Fake(QEvent::Type t, int k) : QEvent(t), kind(k) {}
            int kind;
        } event(QEvent::Type(eventType), kind);
        QCOMPARE(transition.eventTest(&event), fires);
    }
}

VARNO_TEST_MAIN(TestQtMaterialRipple)
#include "tst_qtmaterialripple.moc"
