// Switch: size hints and geometry, the slide and the colour fade at chosen animation
// times, ripples, colours set in mid-slide, the ripple overlay's life on the parent,
// and both states on the dark background.

#include "../support/testmain.h"
#include "materialtestutil.h"

#include "qtmaterialripple.h"
#include "qtmaterialswitch.h"
#include "qtmaterialswitchprivate.h"
#include "qtmaterialswitchrippleoverlay.h"
#include "qtmaterialswitchthumb.h"
#include "qtmaterialswitchtrack.h"

#include <QPointer>
#include <QPropertyAnimation>
#include <QRegularExpression>
#include <QSignalTransition>
#include <QState>
#include <QStateMachine>

namespace {

const QColor Dark(0x26, 0x34, 0x40);
const QColor Primary(0x21, 0x96, 0xF3);
const QColor AccentDark(0xB2, 0x6A, 0x00);

class SwitchAccess : public QtMaterialSwitch
{
public:
    static QtMaterialSwitchPrivate *of(QtMaterialSwitch *s)
    {
        const auto member = &SwitchAccess::d_ptr;
        return (s->*member).data();
    }
};

QtMaterialSwitchPrivate *priv(QtMaterialSwitch *s)
{
    return SwitchAccess::of(s);
}

QPropertyAnimation *animationOf(QAbstractTransition *t, QObject *target, const char *property)
{
    for (QAbstractAnimation *a : t->animations()) {
        auto *p = qobject_cast<QPropertyAnimation *>(a);
        if (p && p->targetObject() == target && p->propertyName() == property)
            return p;
    }
    return nullptr;
}

// Runs every animation of the transition to its end.
void finish(QAbstractTransition *t)
{
    for (QAbstractAnimation *a : t->animations())
        a->setCurrentTime(a->duration());
}

void darken(QWidget *host)
{
    QPalette p = host->palette();
    p.setColor(QPalette::Window, Dark);
    host->setPalette(p);
    host->setAutoFillBackground(true);
}

} // namespace

class TestSwitch : public QObject
{
    Q_OBJECT

private slots:
    void geometry_data();
    void geometry();
    void toggleSlidesAndRipples_data();
    void toggleSlidesAndRipples();
    void colourSetMidSlideChangesTargets();
    void rippleOverlayLivesOnParent();
};

void TestSwitch::geometry_data()
{
    QTest::addColumn<Qt::Orientation>("orientation");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QRect>("thumb");
    QTest::addColumn<QRect>("pill");

    QTest::newRow("horizontal") << Qt::Horizontal << "Heating" << QRect(8, 8, 48, 32)
                                << QRect(14, 16, 36, 16);
    QTest::newRow("horizontal, no text") << Qt::Horizontal << "" << QRect(8, 8, 48, 32)
                                         << QRect(14, 16, 36, 16);
    QTest::newRow("vertical") << Qt::Vertical << "Blinds" << QRect(8, 8, 32, 48)
                              << QRect(16, 14, 16, 36);
}

void TestSwitch::geometry()
{
    QFETCH(Qt::Orientation, orientation);
    QFETCH(QString, text);
    QFETCH(QRect, thumb);
    QFETCH(QRect, pill);

    QWidget host;
    auto *s = new QtMaterialSwitch(orientation, &host);
    s->setText(text);
    const int tw = QFontMetrics(s->font()).size(Qt::TextShowMnemonic, text).width();
    QCOMPARE(s->sizeHint(), orientation == Qt::Horizontal ? QSize(tw + 64, 48)
                                                          : QSize(tw + 48, 64));
    s->resize(s->sizeHint());
    host.show();
    QVERIFY(QTest::qWaitForWindowExposed(&host));

    // The constructor alone, without an event loop, leaves the machine running in
    // the off state with the off state's values in place.
    QtMaterialSwitchPrivate *d = priv(s);
    QVERIFY(d->stateMachine->configuration().contains(d->offState));
    QVERIFY(s->isCheckable() && !s->isChecked());
    QCOMPARE(d->thumb->shift(), 0.0);
    QCOMPARE(d->thumb->thumbColor(), QColor(Qt::white));
    QCOMPARE(d->track->trackColor(), AccentDark.lighter(110));
    QCOMPARE(d->thumb->geometry(), thumb);
    QCOMPARE(d->track->geometry(), QRect(QPoint(0, 0), thumb.size() + QSize(16, 16)));
    const QImage track = materialtest::renderAlone(d->track);
    // Nothing outside the pill; across its middle it reaches every edge.
    QCOMPARE(materialtest::countOpaque(track, track.rect()), materialtest::countOpaque(track, pill));
    const QPoint mid = pill.center();
    QCOMPARE(materialtest::countOpaque(track, QRect(pill.left(), mid.y(), pill.width(), 1)),
             pill.width());
    QCOMPARE(materialtest::countOpaque(track, QRect(mid.x(), pill.top(), 1, pill.height())),
             pill.height());
}

void TestSwitch::toggleSlidesAndRipples_data()
{
    QTest::addColumn<Qt::Orientation>("orientation");
    QTest::addColumn<bool>("enabled");

    QTest::newRow("horizontal") << Qt::Horizontal << true;
    QTest::newRow("vertical") << Qt::Vertical << true;
    QTest::newRow("disabled, toggled by code") << Qt::Horizontal << false;
}

void TestSwitch::toggleSlidesAndRipples()
{
    QFETCH(Qt::Orientation, orientation);
    QFETCH(bool, enabled);
    const bool horizontal = orientation == Qt::Horizontal;

    QWidget host;
    darken(&host);
    host.resize(240, 160);
    auto *s = new QtMaterialSwitch(orientation, &host);
    s->setText(QStringLiteral("Heating"));
    s->setTextColor(Qt::white);
    s->setGeometry(QRect(QPoint(40, 30), s->sizeHint()));
    s->setEnabled(enabled);
    host.show();
    QVERIFY(QTest::qWaitForWindowExposed(&host));
    QtMaterialSwitchPrivate *d = priv(s);
    const QString name = QString::fromLatin1(QTest::currentDataTag()).replace(
        QRegularExpression(QStringLiteral("\\W+")), QStringLiteral("-"));
    const QImage before = materialtest::screenshot(&host, "switch-off-" + name);
    // The disc's centre at rest, and where it must be after the slide.
    const QPoint centre = s->pos() + QPoint(24, 24);
    const QPoint moved = centre + (horizontal ? QPoint(16, 0) : QPoint(0, 16));
    // Inside the disc at rest, outside it after the slide and beside the track.
    const QPoint behind = centre - (horizontal ? QPoint(0, 10) : QPoint(10, 0));
    const QColor disc = enabled ? Primary : before.pixelColor(centre);
    QVERIFY(!enabled || materialtest::sameColor(before.pixelColor(centre), Qt::white, 4));
    // The off track shows beside the thumb in the lightened track colour.
    const QColor track = before.pixelColor(moved + (horizontal ? QPoint(7, 0) : QPoint(0, 7)));
    QVERIFY2(!enabled || (track.red() > 150 && track.blue() < 90),
             qPrintable(materialtest::colorText(track)));

    s->setChecked(true);
    QVERIFY(d->stateMachine->configuration().contains(d->onState));
    QPropertyAnimation *shift = animationOf(d->toOnTransition, d->thumb, "shift");
    QPropertyAnimation *thumbColour = animationOf(d->toOnTransition, d->thumb, "thumbColor");
    QPropertyAnimation *trackColour = animationOf(d->toOnTransition, d->track, "trackColor");
    QVERIFY(shift && thumbColour && trackColour);
    QCOMPARE(shift->state(), QAbstractAnimation::Running);
    QCOMPARE(shift->duration(), 200);
    QCOMPARE(shift->easingCurve().type(), QEasingCurve::OutQuad);
    QCOMPARE(thumbColour->duration(), 150);
    QCOMPARE(trackColour->duration(), 150);

    // Half-way through the slide the thumb has covered OutQuad(0.5) = 3/4 of its 16 px,
    // and its repaint takes the ripple overlay along.
    shift->setCurrentTime(100);
    QCOMPARE(d->thumb->shift(), 0.75);
    QCOMPARE(d->thumb->offset(), 12.0);
    host.grab();
    const QRect g = s->geometry();
    QCOMPARE(d->rippleOverlay->geometry(), horizontal ? g.adjusted(2, -20, 22, 20)
                                                      : g.adjusted(-10, -8, 10, 32));

    finish(d->toOnTransition);
    QCOMPARE(d->thumb->shift(), 1.0);
    QCOMPARE(d->thumb->thumbColor(), Primary);
    QCOMPARE(d->track->trackColor(), Primary.lighter(110));
    // The disc has moved 16 px to the right, or downwards when vertical.
    const QImage after = materialtest::screenshot(&host, "switch-on-" + name);
    QVERIFY(materialtest::sameColor(after.pixelColor(moved), disc, 4));
    QVERIFY(!materialtest::sameColor(after.pixelColor(behind), disc, 30));
    const QList<QtMaterialRipple *> ripples = d->rippleOverlay->ripples();
    QCOMPARE(ripples.size(), enabled ? 1 : 0);
    if (enabled) {
        QCOMPARE(ripples.first()->center(), QPoint(34, 44));
        QCOMPARE(ripples.first()->radiusAnim()->endValue().toReal(), 34.0);
        QCOMPARE(ripples.first()->opacityAnim()->startValue().toReal(), 0.8);
        // Recoloured with the track on every repaint of the thumb.
        QCOMPARE(ripples.first()->color(), Primary.lighter(110));
    }
    // The text is white when enabled, drawn beside the track.
    const QRect text(s->pos() + QPoint(horizontal ? 64 : 48, 0), QSize(40, s->height()));
    QCOMPARE(materialtest::countColor(after, Qt::white, text, 40) > 10, enabled);
}

void TestSwitch::colourSetMidSlideChangesTargets()
{
    QtMaterialSwitch s;
    QtMaterialSwitchPrivate *d = priv(&s);
    QCOMPARE(s.activeColor(), Primary);

    s.setChecked(true);
    for (QAbstractAnimation *a : d->toOnTransition->animations())
        a->setCurrentTime(a->duration() / 2);
    const QColor thumbNow = d->thumb->thumbColor();
    const QColor trackNow = d->track->trackColor();
    s.setActiveColor(Qt::red);
    QVERIFY(!s.useThemeColors());
    QCOMPARE(d->thumb->thumbColor(), thumbNow);
    QCOMPARE(d->track->trackColor(), trackNow);
    finish(d->toOnTransition);

    // The on state now brings the new colour.
    s.setChecked(false);
    finish(d->toOffTransition);
    QCOMPARE(d->thumb->thumbColor(), QColor(Qt::white));
    s.setChecked(true);
    finish(d->toOnTransition);
    QCOMPARE(d->thumb->thumbColor(), QColor(Qt::red));
    QCOMPARE(d->track->trackColor(), QColor(Qt::red).lighter(110));

    // At rest a colour shows at once; colours never set still come from the theme.
    s.setActiveColor(Qt::green);
    QCOMPARE(d->thumb->thumbColor(), QColor(Qt::green));
    QCOMPARE(s.trackColor(), AccentDark);
    s.setUseThemeColors(true);
    QCOMPARE(d->thumb->thumbColor(), Primary);
}

void TestSwitch::rippleOverlayLivesOnParent()
{
    QWidget host;
    host.resize(300, 150);
    host.show();
    QVERIFY(QTest::qWaitForWindowExposed(&host));

    for (int round = 0; round < 3; ++round) {
        auto *s = new QtMaterialSwitch(&host);
        s->setGeometry(20, 20, 120, 48);
        s->show();
        QPointer<QtMaterialSwitchRippleOverlay> overlay = priv(s)->rippleOverlay.data();
        QCOMPARE(overlay->parentWidget(), &host);
        s->toggle(); // a ripple and a slide are running when the switch goes
        delete s;
        QVERIFY(!overlay);
        host.resize(host.width() + 10, 150);
        host.repaint();
    }
    QVERIFY(host.findChildren<QtMaterialRippleOverlay *>().isEmpty());

    // Made without a parent, the switch takes its overlay to the parent it gets.
    auto *s = new QtMaterialSwitch;
    QVERIFY(!priv(s)->rippleOverlay->parentWidget());
    s->setParent(&host);
    QCOMPARE(priv(s)->rippleOverlay->parentWidget(), &host);
    delete s;
    QVERIFY(host.findChildren<QtMaterialRippleOverlay *>().isEmpty());
}

VARNO_TEST_MAIN(TestSwitch)
#include "tst_switch.moc"
