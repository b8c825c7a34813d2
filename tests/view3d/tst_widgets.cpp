// The 3-D overlays and the placement canvases as widgets, on one room: which
// devices get an icon and a position row, on and off and the climate state
// lines as drawn, the overlay's press rule and the canvases' drop rule with
// mouse events, and the UTF-8 and SQL handling of their texts.

#include "testmain.h"

#include "projectfixture.h"
#include "roomproject.h"
#include "stepfault.h"

#include "bus/broadcastsocket.h"
#include "operation/lightitem.h"
#include "view3d/ac3dviewitem.h"
#include "view3d/floorheat3dviewitem.h"
#include "view3d/light3dviewitem.h"
#include "view3d/pagesetting3dviewmanagerac.h"
#include "view3d/pagesetting3dviewmanagerfloorheat.h"
#include "view3d/pagesetting3dviewmanagerlighting.h"
#include "view3d/view3drows.h"

#include <QtTest>

#include <memory>

using namespace roomproject;

namespace {

constexpr int Room = 4;
const QColor On(0x1F, 0x29, 0x33), Off(0x3D, 0x53, 0x66);

template <typename W> std::unique_ptr<W> shown(QSize size = QSize(1800, 900))
{
    auto w = std::make_unique<W>();
    w->resize(size);
    w->show();
    return QTest::qWaitForWindowExposed(w.get()) ? std::move(w) : nullptr;
}

// The circle's colour where neither picture nor text covers it.
QColor circle(QWidget *w, const QPoint &topLeft)
{
    return w->grab().toImage().pixelColor(topLeft + QPoint(12, 40));
}

// A press (and release) at any point, (0, 0) included: QTest reads a null point as the centre.
void press(QWidget *w, const QPoint &at, Qt::MouseButton button = Qt::LeftButton)
{
    QMouseEvent p(QEvent::MouseButtonPress, at, w->mapToGlobal(at), button, button, Qt::NoModifier);
    QApplication::sendEvent(w, &p);
    QMouseEvent r(QEvent::MouseButtonRelease, at, w->mapToGlobal(at), button, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(w, &r);
}

void place(const QString &table, const QString &key, int id, QPoint at)
{
    exec(QStringLiteral("delete from %1 where %2=%3").arg(table, key).arg(id));
    exec(QStringLiteral("insert into %1(%2,xp1,yp1,room_id) values(%3,%4,%5,%6)")
             .arg(table, key)
             .arg(id)
             .arg(at.x())
             .arg(at.y())
             .arg(Room));
}

QPoint stored(const QString &table, const QString &key, int id)
{
    const QString sql = QStringLiteral("select %1 from %2 where %3=%4 and room_id=4");
    return QPoint(value(sql.arg("xp1", table, key).arg(id)).toInt(),
                  value(sql.arg("yp1", table, key).arg(id)).toInt());
}

} // namespace

class TestWidgets : public QObject
{
    Q_OBJECT

    varnotest::ProjectFolder m_app;
    std::unique_ptr<Light3DViewItem> m_overlay;

    void light(int id, int type, int brightness, int subnet = 1, int rgb = 0,
               const QString &name = QString())
    {
        Light l;
        l.room = Room;
        l.lightId = id;
        l.type = type;
        l.name = name.isEmpty() ? QStringLiteral("Light %1").arg(id) : name;
        l.brightness = brightness;
        l.subnet = subnet;
        l.device = id == 3 ? 0 : 20;
        l.rgb = rgb;
        QVERIFY(addLight(l));
    }
    int indexOf(int lightId) const
    {
        for (int i = 0; i < m_overlay->count(); ++i) {
            if (m_overlay->lightAt(i).light_id == lightId)
                return i;
        }
        return -1;
    }

private slots:
    void initTestCase()
    {
        addRoom(Room, QStringLiteral("Bob's den"), 1, 1);
        exec(QStringLiteral("insert into tbl_3d_view_manager(icon_name,room_id) values('3d_view_03',4)"));
        light(1, 1, 0, 1, 0, QString(70, QChar(0x00E4))); // a dimmer at 0; a name longer than its field
        light(2, 1, 40, 0);                               // no subnet: placed, but no overlay icon
        light(3, 1, 40);                                  // no device
        light(4, 8, (50 << 8) | 100);                     // "Dali DT8" at 50
        light(5, 8, 100);                                 // "Dali DT8", 0 in the level byte
        light(6, 1, 1);
        for (int rgb = 1; rgb <= 4; ++rgb) // colour light lit on its third channel only
            light(7, 2, rgb == 3 ? 60 : 0, 1, rgb);
        light(8, 0, 0);
        for (int id : {2, 4, 5, 6, 7, 8}) // light 2 placed in the editor; 1 and 3 never were
            place("tbl_3d_view_light", "light_id", id, {200 * id, 100});
        m_overlay = shown<Light3DViewItem>();
        QVERIFY(m_overlay);
        m_overlay->updatelist(Room);
    }
    void cleanupTestCase() { m_overlay.reset(); }

    void overlayIcons_data()
    {
        QTest::addColumn<int>("lightId");
        QTest::addColumn<bool>("on");
        QTest::newRow("dimmer at 0, row made at (0, 0)") << 1 << false;
        QTest::newRow("Dali DT8 at 50") << 4 << true;
        QTest::newRow("Dali DT8 with 0 in the level byte") << 5 << false;
        QTest::newRow("dimmer at 1") << 6 << true;
        QTest::newRow("colour light, third channel only") << 7 << true;
        QTest::newRow("switched, off") << 8 << false;
    }
    void overlayIcons()
    {
        QFETCH(int, lightId);
        QFETCH(bool, on);
        QCOMPARE(m_overlay->count(), 6);
        QCOMPARE(m_overlay->pictureName(), QStringLiteral("3d_view_03"));
        QCOMPARE(value("select count(*) from tbl_3d_view_light where light_id=3").toInt(), 0);
        const int i = indexOf(lightId);
        QVERIFY(i >= 0);
        QCOMPARE(m_overlay->position(i), stored("tbl_3d_view_light", "light_id", lightId));
        QCOMPARE(circle(m_overlay.get(), m_overlay->position(i)), on ? On : Off);
        QVERIFY(m_overlay->card(i)->isHidden());
    }

    // Light 1's card is shown first; then a press anywhere (any button).
    void overlayPress_data()
    {
        QTest::addColumn<QPoint>("at");
        QTest::addColumn<int>("shownLight"); // 0: none
        QTest::newRow("icon's top-left pixel") << QPoint(0, 0) << 1;
        QTest::newRow("icon's bottom-right pixel") << QPoint(79, 79) << 1;
        QTest::newRow("just outside") << QPoint(80, 80) << 0;
        QTest::newRow("another icon") << QPoint(1279, 150) << 6;
        QTest::newRow("the picture") << QPoint(900, 700) << 0;
    }
    void overlayPress()
    {
        QFETCH(QPoint, at);
        QFETCH(int, shownLight);
        press(m_overlay.get(), QPoint(40, 40));
        QVERIFY(m_overlay->card(0)->isVisible());
        press(m_overlay.get(), at, Qt::RightButton);
        for (int i = 0; i < m_overlay->count(); ++i) {
            QCOMPARE(m_overlay->card(i)->isVisible(), m_overlay->lightAt(i).light_id == shownLight);
            QCOMPARE(m_overlay->card(i)->geometry(), QRect(650, 290, 500, 320));
        }
    }

    // A press on a shown card switches its light and goes on to the overlay,
    // which puts the card away and draws the new state on the icon.
    void cardHandsItsStateToTheIcon()
    {
        const int i = indexOf(8);
        press(m_overlay.get(), m_overlay->position(i) + QPoint(40, 40));
        LightItem *card = m_overlay->lightCard(i);
        QTRY_VERIFY(card->isVisible() && !card->picturePath().isEmpty()); // first shown
        press(card, QPoint(250, 300));
        QVERIFY(card->isHidden());
        QCOMPARE(circle(m_overlay.get(), m_overlay->position(i)), On);
    }

    void climateOverlays_data()
    {
        QTest::addColumn<int>("no");
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("status");
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("unit");
        QTest::addColumn<QString>("line");
        QTest::newRow("infrared, cool set point 35") << 0 << 1 << 1 << 0 << 0 << "26°C";
        QTest::newRow("panel, cool set point 35") << 1 << 0 << 1 << 0 << 0 << "35°C";
        QTest::newRow("off") << 0 << 0 << 0 << 1 << 0 << "OFF";
        QTest::newRow("fan mode") << 1 << 1 << 1 << 2 << 0 << "FAN";
        QTest::newRow("heat mode in °F") << 0 << 0 << 1 << 1 << 1 << "22°F";
        QTest::newRow("floor heating in °F") << 2 << 0 << 1 << 0 << 1 << "77°F";
        QTest::newRow("panel, position unread") << 1 << 0 << 1 << 0 << 0 << "";
    }
    void climateOverlays()
    {
        QFETCH(int, no);
        QFETCH(int, type);
        QFETCH(int, status);
        QFETCH(int, mode);
        QFETCH(int, unit);
        QFETCH(QString, line);
        exec("delete from tbl_air_conditioner");
        exec("delete from tbl_3d_air_conditioner");
        Unit u;
        u.room = Room;
        u.no = no;
        u.type = type;
        u.cool = 35;
        QVERIFY(addUnit(u));
        exec(QStringLiteral("update tbl_air_conditioner set status=%1,mode=%2,temperature_unit=%3,"
                            "current_temperature=77")
                 .arg(status)
                 .arg(mode)
                 .arg(unit));
        std::unique_ptr<Climate3DViewItem> overlay;
        if (no < 2)
            overlay = shown<AC3DViewItem>();
        else
            overlay = shown<FloorHeat3DViewItem>();
        const bool unread = line.isEmpty(); // said; the unit neither shown at (0, 0) nor given a row
        QSignalSpy said(&gl_socket, &BroadcastSocket::signalsInformation);
        StepFault::arm("select xp1,yp1 from tbl_3d_air_conditioner", unread ? 1 : 0);
        overlay->updatelist(Room);
        QCOMPARE(StepFault::fired(), unread);
        if (unread) {
            QCOMPARE(overlay->count(), 0);
            QCOMPARE(said.value(0).value(0).toString(), QStringLiteral("Failed to read the devices!"));
            QCOMPARE(value("select count(*) from tbl_3d_air_conditioner").toInt(), 0);
            return;
        }
        QCOMPARE(overlay->count(), 1);
        QCOMPARE(overlay->stateLine(0), line);
        QCOMPARE(stored("tbl_3d_air_conditioner", "air_conditioner_no", no), QPoint(0, 0));
        QCOMPARE(circle(overlay.get(), QPoint(0, 0)), status ? On : Off);
        press(overlay.get(), QPoint(79, 79));
        QVERIFY(overlay->card(0)->isVisible());
        QCOMPARE(overlay->card(0)->geometry(), QRect(650, 290, 500, 320));
    }

    // Canvases: press at the first point, move through the rest, release at the last.
    void canvasDrops_data()
    {
        QTest::addColumn<int>("kind"); // 0 lights, 1 air conditioners, 2 floor heating
        QTest::addColumn<QSize>("size");
        // 1 left, 2 right, 3 left, store refused, 4 left, no row; 5 list, 6 second position unread
        QTest::addColumn<int>("button");
        QTest::addColumn<QList<QPoint>>("path");
        QTest::addColumn<int>("moved");
        QTest::addColumn<QPoint>("to");
        const QSize big(1800, 900);
        using P = QList<QPoint>;
        // Every icon starts at (150, 100) (at (0, 0) on a small canvas).
        QTest::newRow("on the spot") << 0 << big << 1 << P{{200, 150}} << 1 << QPoint(160, 110);
        QTest::newRow("overlap: lower id")
            << 0 << big << 1 << P{{160, 110}, {600, 400}, {700, 500}} << 1 << QPoint(660, 460);
        QTest::newRow("near the top-left") << 0 << big << 1 << P{{160, 110}, {5, 5}} << 1 << QPoint(0, 0);
        QTest::newRow("bottom-right corner")
            << 0 << big << 1 << P{{160, 110}, {1799, 899}} << 1 << QPoint(1719, 819);
        QTest::newRow("beyond the corner")
            << 0 << big << 1 << P{{160, 110}, {2500, 1500}} << 1 << QPoint(1719, 819);
        QTest::newRow("canvas under 81 px")
            << 0 << QSize(60, 60) << 1 << P{{10, 10}, {50, 50}} << 1 << QPoint(0, 0);
        QTest::newRow("right button") << 0 << big << 2 << P{{160, 110}, {600, 400}} << -1 << QPoint();
        QTest::newRow("outside every icon") << 0 << big << 1 << P{{20, 20}, {600, 400}} << -1 << QPoint();
        QTest::newRow("air conditioner 0")
            << 1 << big << 1 << P{{160, 110}, {400, 300}} << 0 << QPoint(360, 260);
        QTest::newRow("floor-heating circuit 2")
            << 2 << big << 1 << P{{160, 110}, {400, 300}} << 2 << QPoint(360, 260);
        for (int kind : {0, 1}) {
            QTest::newRow(kind ? "air conditioner, not stored" : "light, not stored")
                << kind << big << 3 << P{{160, 110}, {400, 300}} << -1 << QPoint();
            QTest::newRow(kind ? "air conditioner, no row" : "light, no row")
                << kind << big << 4 << P{{20, 20}, {400, 300}} << -1 << QPoint();
            QTest::newRow(kind ? "air conditioners unread" : "lights unread")
                << kind << big << 5 << P{{160, 110}, {400, 300}} << -1 << QPoint();
            QTest::newRow(kind ? "air conditioner position unread" : "light position unread")
                << kind << big << 6 << P{{160, 110}, {400, 300}} << -1 << QPoint();
        }
    }
    void canvasDrops()
    {
        QFETCH(int, kind);
        QFETCH(QSize, size);
        QFETCH(int, button);
        QFETCH(QList<QPoint>, path);
        QFETCH(int, moved);
        QFETCH(QPoint, to);
        exec("delete from tbl_air_conditioner");
        for (int no = 0; no < 4; ++no) {
            Unit u;
            u.room = Room;
            u.no = no;
            QVERIFY(addUnit(u));
        }
        const QPoint start = size.width() < 200 ? QPoint(0, 0) : QPoint(150, 100);
        const QString table = kind ? "tbl_3d_air_conditioner" : "tbl_3d_view_light";
        const QString key = kind ? "air_conditioner_no" : "light_id";
        const QList<int> ids = kind ? QList<int>{0, 1, 2, 3} : QList<int>{1, 2, 3, 4, 5, 6, 7, 8};
        exec("delete from " + table);
        for (int id : ids.mid(kind ? 0 : 1))
            place(table, key, id, start);
        std::unique_ptr<PlacementCanvas> canvas;
        if (kind == 0)
            canvas = shown<PageSetting3DViewManagerLighting>(size);
        else if (kind == 1)
            canvas = shown<PageSetting3DViewManagerAC>(size);
        else
            canvas = shown<PageSetting3DViewManagerFloorHeat>(size);
        canvas->updatelist(Room);
        // One icon per light, addressed or not, whatever its channel rows; the
        // AC canvas lists 0 and 1 only; a missing row is made at (0, 0).
        QList<int> listed;
        for (const positionRecord &rec : canvas->records())
            listed << rec.id;
        QCOMPARE(listed, kind == 0 ? ids : ids.mid(kind == 1 ? 0 : 2, 2));
        QCOMPARE(value("select count(*) from " + table).toInt(), ids.size());
        QCOMPARE(canvas->roomName(), QStringLiteral("Bob's den"));
        if (kind == 0) // the name cut at a character boundary of its 128-byte field
            QCOMPARE(QString::fromUtf8(canvas->records().at(0).remark), QString(63, QChar(0x00E4)));
        const QPoint firstAt = button == 4 ? QPoint(0, 0) : start; // its insert refused: no row
        place(table, key, ids.first(), start);
        const QString noRow = QStringLiteral("delete from %1 where %2=%3").arg(table, key).arg(ids.first());
        QVERIFY(button != 4 || exec(noRow));
        QVERIFY(button < 3 || button > 4 ||
                exec(QStringLiteral("create trigger refuse before %1 on %2 begin select "
                                    "raise(abort,'no'); end")
                         .arg(button == 3 ? "update" : "insert", table)));
        QSignalSpy failed(&gl_socket, &BroadcastSocket::signalsInformation);
        StepFault::arm(button == 5 ? (kind ? "room_id=4 and (air_conditioner_no" : "room_id=4 and (rgb")
                                   : "select xp1,yp1 from " + table,
                       button >= 5 ? 2 * (button - 4) : 0);
        canvas->updatelist(Room);
        QCOMPARE(StepFault::fired(), button >= 5);
        if (button >= 4) { // said; no device listed in part, no row stored, no second row
            QVERIFY(button != 4 || exec("drop trigger refuse"));
            QCOMPARE(canvas->records().size(), 0);
            QCOMPARE(failed.value(0).value(0).toString(), QStringLiteral("Failed to read the devices!"));
            QCOMPARE(value("select count(*) from " + table).toInt(), ids.size() - int(button == 4));
            return;
        }

        const auto b = button == 2 ? Qt::RightButton : Qt::LeftButton;
        QSignalSpy said(&gl_socket, &BroadcastSocket::signalsInformation);
        QTest::mousePress(canvas.get(), b, Qt::NoModifier, path.first());
        for (const QPoint &p : path.mid(1))
            QTest::mouseMove(canvas.get(), p);
        QTest::mouseRelease(canvas.get(), b, Qt::NoModifier, path.last());
        QVERIFY(button < 3 || exec("drop trigger refuse"));
        for (int id : ids)
            QCOMPARE(stored(table, key, id), id == moved ? to : id == ids.first() ? firstAt : start);
        // A drop that is not stored is said, and the icon shows where it is stored.
        const positionRecord first = canvas->records().at(0);
        QCOMPARE(QPoint(first.xp1, first.yp1), moved == first.id ? to : firstAt);
        QCOMPARE(said.value(0).value(0).toString(), button >= 3 ? "Failed to save the position!" : "");
    }

    void quotedPictureName()
    {
        QVERIFY(storeRoomPictureName(Room, QStringLiteral("Bob's 'own' view")));
        QCOMPARE(roomPictureName(Room, QString()), QStringLiteral("Bob's 'own' view"));
    }
};

VARNO_TEST_MAIN(TestWidgets)
#include "tst_widgets.moc"
