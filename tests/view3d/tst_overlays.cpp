// The 3-D overlays as widgets: the light overlay's icons (which lights get one,
// the position rows, on and off drawn from the stored levels), its press rule
// with real mouse events (hit area, the card in the middle, a card put away
// handing its state to its icon), and the climate overlays' state lines.

#include "testmain.h"

#include "projectfixture.h"
#include "roomproject.h"

#include "operation/lightitem.h"
#include "view3d/ac3dviewitem.h"
#include "view3d/floorheat3dviewitem.h"
#include "view3d/light3dviewitem.h"

#include <QtTest>

#include <memory>

using namespace roomproject;

namespace {

constexpr int Room = 4;
const QColor OnColor(0x1F, 0x29, 0x33);
const QColor OffColor(0x3D, 0x53, 0x66);

// The circle's colour at a point of the icon that neither picture nor text covers.
QColor circleColour(QWidget *overlay, const QPoint &topLeft)
{
    const QImage image = overlay->grab().toImage();
    return image.pixelColor(topLeft + QPoint(12, 40));
}

void placeLight(int lightId, const QPoint &at)
{
    exec(QStringLiteral("insert into tbl_3d_view_light(light_id,xp1,yp1,room_id) values(%1,%2,%3,%4)")
             .arg(lightId)
             .arg(at.x())
             .arg(at.y())
             .arg(Room));
}

// A press at any point, (0, 0) included (QTest reads a null point as the centre).
void pressAt(QWidget *widget, const QPoint &at, Qt::MouseButton button)
{
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(at), widget->mapToGlobal(at), button, button,
                      Qt::NoModifier);
    QApplication::sendEvent(widget, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(at), widget->mapToGlobal(at), button,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &release);
}

int indexOfLight(const Light3DViewItem &overlay, int lightId)
{
    for (int i = 0; i < overlay.count(); ++i) {
        if (overlay.lightAt(i).light_id == lightId)
            return i;
    }
    return -1;
}

} // namespace

class TestOverlays : public QObject
{
    Q_OBJECT

    varnotest::ProjectFolder m_app;
    std::unique_ptr<Light3DViewItem> m_overlay;

    void addTypedLight(int id, int type, int brightness, int subnet = 1, int device = 20)
    {
        Light l;
        l.room = Room;
        l.lightId = id;
        l.type = type;
        l.name = QStringLiteral("Light %1").arg(id);
        l.brightness = brightness;
        l.subnet = subnet;
        l.device = device;
        l.channel = id;
        QVERIFY(addLight(l));
    }

private slots:
    void initTestCase()
    {
        addRegion(1, QStringLiteral("House"));
        addFloor(1, 1, QStringLiteral("Ground"));
        addRoom(Room, QStringLiteral("Lounge"), 1, 1);
        exec(QStringLiteral("insert into tbl_3d_view_manager(icon_name,room_id) values('3d_view_03',%1)").arg(Room));
        addTypedLight(1, 1, 0);                     // dimmer at 0, no position yet
        addTypedLight(2, 1, 40, 0, 20);             // no subnet: no icon, no row
        addTypedLight(3, 1, 40, 1, 0);              // no device: no icon, no row
        addTypedLight(4, 8, (50 << 8) | 100);       // "Dali DT8" at 50
        addTypedLight(5, 8, 100);                   // "Dali DT8" with 0 in the level byte
        addTypedLight(6, 1, 1);                     // dimmer at 1
        addTypedLight(8, 0, 0);                     // switched, off
        Light colour;                               // colour light lit on its third channel only
        colour.room = Room;
        colour.lightId = 7;
        colour.type = 2;
        colour.name = QStringLiteral("Strip");
        for (int rgb = 1; rgb <= 4; ++rgb) {
            colour.rgb = rgb;
            colour.channel = rgb;
            colour.brightness = rgb == 3 ? 60 : 0;
            QVERIFY(addLight(colour));
        }
        placeLight(4, {200, 100});
        placeLight(5, {400, 100});
        placeLight(6, {600, 100});
        placeLight(7, {800, 100});
        placeLight(8, {1000, 100});
        placeLight(2, {1200, 100}); // placed in the editor, but without an address

        m_overlay = std::make_unique<Light3DViewItem>();
        m_overlay->resize(1800, 900);
        m_overlay->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_overlay.get()));
        m_overlay->updatelist(Room);
    }
    void cleanupTestCase() { m_overlay.reset(); }

    void iconsAndRows()
    {
        QList<int> ids;
        for (int i = 0; i < m_overlay->count(); ++i)
            ids << m_overlay->lightAt(i).light_id;
        QCOMPARE(ids, (QList<int>{1, 4, 5, 6, 7, 8}));
        QCOMPARE(m_overlay->pictureName(), QStringLiteral("3d_view_03"));
        // Light 1 got its row at (0, 0); the lights without an address got none.
        QCOMPARE(m_overlay->position(0), QPoint(0, 0));
        QCOMPARE(value(QStringLiteral("select count(*) from tbl_3d_view_light where light_id=1 and xp1=0 and "
                                      "yp1=0 and room_id=%1").arg(Room)).toInt(), 1);
        QCOMPARE(value(QStringLiteral("select count(*) from tbl_3d_view_light where light_id=3")).toInt(), 0);
        QCOMPARE(value(QStringLiteral("select count(*) from tbl_3d_view_light")).toInt(), 7);
        for (int i = 0; i < m_overlay->count(); ++i)
            QVERIFY(m_overlay->card(i)->isHidden());
    }

    void onAndOffDrawn_data()
    {
        QTest::addColumn<int>("lightId");
        QTest::addColumn<bool>("on");
        QTest::newRow("dimmer at 0") << 1 << false;
        QTest::newRow("Dali DT8 at 50") << 4 << true;
        QTest::newRow("Dali DT8, level byte 0") << 5 << false;
        QTest::newRow("dimmer at 1") << 6 << true;
        QTest::newRow("colour light, third channel only") << 7 << true;
        QTest::newRow("switched off") << 8 << false;
    }
    void onAndOffDrawn()
    {
        QFETCH(int, lightId);
        QFETCH(bool, on);
        const int index = indexOfLight(*m_overlay, lightId);
        QVERIFY(index >= 0);
        QCOMPARE(circleColour(m_overlay.get(), m_overlay->position(index)), on ? OnColor : OffColor);
        if (lightId == 4) {
            QCOMPARE(m_overlay->lightAt(index).brightness[0], 50);
            QCOMPARE(m_overlay->lightAt(index).brightness[1], 100);
        }
    }

    // A press shows the card of the icon under it, in the middle; elsewhere hides it.
    void pressRule_data()
    {
        QTest::addColumn<QPoint>("press");
        QTest::addColumn<int>("shownLight"); // 0: none
        QTest::newRow("icon's top-left pixel") << QPoint(0, 0) << 1;
        QTest::newRow("icon's bottom-right pixel") << QPoint(79, 79) << 1;
        QTest::newRow("just outside") << QPoint(80, 80) << 0;
        QTest::newRow("another icon") << QPoint(679, 150) << 6;
        QTest::newRow("the picture") << QPoint(900, 700) << 0;
    }
    void pressRule()
    {
        QFETCH(QPoint, press);
        QFETCH(int, shownLight);
        // Start with light 1's card shown.
        QTest::mouseClick(m_overlay.get(), Qt::LeftButton, Qt::NoModifier, QPoint(40, 40));
        QVERIFY(m_overlay->card(0)->isVisible());
        pressAt(m_overlay.get(), press, Qt::RightButton);
        for (int i = 0; i < m_overlay->count(); ++i) {
            const bool shown = m_overlay->lightAt(i).light_id == shownLight;
            QCOMPARE(m_overlay->card(i)->isVisible(), shown);
            if (shown)
                QCOMPARE(m_overlay->card(i)->geometry(), QRect(650, 290, 500, 320));
        }
    }

    // A press on a shown card's surface switches the light; the press goes on to
    // the overlay, which puts the card away and draws the new state at once.
    void cardHandsItsStateToTheIcon()
    {
        const int index = indexOfLight(*m_overlay, 8);
        const QPoint icon = m_overlay->position(index);
        QTest::mouseClick(m_overlay.get(), Qt::LeftButton, Qt::NoModifier, icon + QPoint(40, 40));
        LightItem *card = m_overlay->lightCard(index);
        QVERIFY(card->isVisible());
        QCOMPARE(circleColour(m_overlay.get(), icon), OffColor);
        QTest::mouseClick(card, Qt::LeftButton, Qt::NoModifier, QPoint(250, 300));
        QVERIFY(card->isHidden());
        QVERIFY(m_overlay->lightAt(index).isOn());
        QCOMPARE(circleColour(m_overlay.get(), icon), OnColor);
    }

    void refreshWithoutLightsEndsAtTheFirstCheck()
    {
        Light3DViewItem empty;
        empty.resize(400, 300);
        empty.show();
        QVERIFY(QTest::qWaitForWindowExposed(&empty));
        empty.updatelist(99);
        QCOMPARE(empty.count(), 0);
        empty.startRefresh();
        QVERIFY(!empty.status());
        QTRY_VERIFY(empty.status());
        QVERIFY(!empty.isChecking());
    }

    // The state line of a unit as loaded (before any refresh), and its row.
    void climateStateLine_data()
    {
        QTest::addColumn<int>("no");
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("status");
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("unit");
        QTest::addColumn<QString>("line");
        QTest::newRow("infrared, cool set point 35") << 0 << 1 << 1 << 0 << 0 << QStringLiteral("26°C");
        QTest::newRow("panel, cool set point 35") << 1 << 0 << 1 << 0 << 0 << QStringLiteral("35°C");
        QTest::newRow("switched off") << 0 << 0 << 0 << 1 << 0 << QStringLiteral("OFF");
        QTest::newRow("fan mode") << 1 << 1 << 1 << 2 << 0 << QStringLiteral("FAN");
        QTest::newRow("heat mode in °F") << 0 << 0 << 1 << 1 << 1 << QStringLiteral("22°F");
        QTest::newRow("floor heating in °F") << 2 << 0 << 1 << 0 << 1 << QStringLiteral("77°F");
        QTest::newRow("floor heating off") << 3 << 0 << 0 << 0 << 0 << QStringLiteral("OFF");
    }
    void climateStateLine()
    {
        QFETCH(int, no);
        QFETCH(int, type);
        QFETCH(int, status);
        QFETCH(int, mode);
        QFETCH(int, unit);
        QFETCH(QString, line);
        exec(QStringLiteral("delete from tbl_air_conditioner"));
        exec(QStringLiteral("delete from tbl_3d_air_conditioner"));
        Unit u;
        u.room = Room;
        u.no = no;
        u.type = type;
        u.cool = 35;
        QVERIFY(addUnit(u));
        exec(QStringLiteral("update tbl_air_conditioner set status=%1,mode=%2,temperature_unit=%3,"
                            "current_temperature=77 where air_conditioner_no=%4")
                 .arg(status)
                 .arg(mode)
                 .arg(unit)
                 .arg(no));
        std::unique_ptr<Climate3DViewItem> overlay;
        if (no < 2)
            overlay = std::make_unique<AC3DViewItem>();
        else
            overlay = std::make_unique<FloorHeat3DViewItem>();
        overlay->resize(1800, 900);
        overlay->show();
        QVERIFY(QTest::qWaitForWindowExposed(overlay.get()));
        overlay->updatelist(Room);
        QCOMPARE(overlay->count(), 1);
        QCOMPARE(overlay->stateLine(0), line);
        QCOMPARE(value(QStringLiteral("select count(*) from tbl_3d_air_conditioner where air_conditioner_no=%1 "
                                      "and xp1=0 and yp1=0 and room_id=%2").arg(no).arg(Room)).toInt(), 1);
        QCOMPARE(circleColour(overlay.get(), QPoint(0, 0)), status ? OnColor : OffColor);
        // Its card comes up in the middle.
        QTest::mouseClick(overlay.get(), Qt::LeftButton, Qt::NoModifier, QPoint(79, 79));
        QCOMPARE(overlay->card(0)->geometry(), QRect(650, 290, 500, 320));
        QVERIFY(overlay->card(0)->isVisible());
    }
};

VARNO_TEST_MAIN(TestOverlays)
#include "tst_overlays.moc"
