// The icon placement canvases of the "3D View Setting" page, driven with real
// mouse events: which devices each canvas lists, the position rows it inserts,
// and where a drop lands and is stored.

#include "testmain.h"

#include "projectfixture.h"
#include "roomproject.h"

#include "view3d/pagesetting3dviewmanagerac.h"
#include "view3d/pagesetting3dviewmanagerfloorheat.h"
#include "view3d/pagesetting3dviewmanagerlighting.h"
#include "view3d/view3drows.h"

#include <QtTest>

#include <memory>

using namespace roomproject;

namespace {

constexpr int Room = 7;

enum CanvasKind { Lights, ACs, FloorHeat };

std::unique_ptr<PlacementCanvas> makeCanvas(int kind)
{
    if (kind == ACs)
        return std::make_unique<PageSetting3DViewManagerAC>();
    if (kind == FloorHeat)
        return std::make_unique<PageSetting3DViewManagerFloorHeat>();
    return std::make_unique<PageSetting3DViewManagerLighting>();
}

QString positionTable(int kind)
{
    return kind == Lights ? QStringLiteral("tbl_3d_view_light") : QStringLiteral("tbl_3d_air_conditioner");
}

QString keyColumn(int kind)
{
    return kind == Lights ? QStringLiteral("light_id") : QStringLiteral("air_conditioner_no");
}

QPoint stored(int kind, int key)
{
    QSqlQuery q = gl_sqlite3db.execQuery(QStringLiteral("select xp1,yp1 from %1 where %2=%3 and room_id=%4")
                                             .arg(positionTable(kind), keyColumn(kind))
                                             .arg(key)
                                             .arg(Room));
    return q.next() ? QPoint(q.value(0).toInt(), q.value(1).toInt()) : QPoint(-999, -999);
}

int rowCount(const QString &sql)
{
    return value(sql).toInt();
}

} // namespace

class TestCanvases : public QObject
{
    Q_OBJECT

    varnotest::ProjectFolder m_app;

private slots:
    void initTestCase()
    {
        addRegion(1, QStringLiteral("House"));
        addFloor(1, 1, QStringLiteral("Ground"));
        addRoom(Room, QStringLiteral("Bob's den"), 1, 1);
        exec(QStringLiteral("insert into tbl_3d_view_manager(icon_name,room_id) values('3d_view_02',%1)").arg(Room));
        Light lamp;
        lamp.room = Room;
        // A name longer than the record's field, of two-byte characters.
        lamp.name = QString(70, QChar(0x00E4));
        QVERIFY(addLight(lamp));
        Light colour = lamp;
        colour.lightId = 2;
        colour.type = 2;
        colour.name = QStringLiteral("Strip");
        for (int rgb = 1; rgb <= 4; ++rgb) {
            colour.rgb = rgb;
            colour.channel = rgb;
            QVERIFY(addLight(colour));
        }
        Light unaddressed = lamp;
        unaddressed.lightId = 3;
        unaddressed.name = QStringLiteral("Spare");
        unaddressed.subnet = 0;
        QVERIFY(addLight(unaddressed));
        for (int no = 0; no < 4; ++no) {
            Unit unit;
            unit.room = Room;
            unit.no = no;
            unit.name = QStringLiteral("Unit %1").arg(no);
            QVERIFY(addUnit(unit));
        }
    }

    // What each canvas lists and the position rows a first load inserts.
    void listsAndRows_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QList<int>>("ids");
        QTest::newRow("lights: one per light, with or without an address") << int(Lights) << QList<int>{1, 2, 3};
        QTest::newRow("air conditioners only 0 and 1") << int(ACs) << QList<int>{0, 1};
        QTest::newRow("floor heating only 2 and 3") << int(FloorHeat) << QList<int>{2, 3};
    }
    void listsAndRows()
    {
        QFETCH(int, kind);
        QFETCH(QList<int>, ids);
        exec(QStringLiteral("delete from %1").arg(positionTable(kind)));
        auto canvas = makeCanvas(kind);
        canvas->updatelist(Room);
        canvas->updatelist(Room); // a second load inserts nothing more
        QList<int> listed;
        for (const positionRecord &rec : canvas->records()) {
            listed << rec.id;
            QCOMPARE(QPoint(rec.xp1, rec.yp1), QPoint(0, 0));
        }
        QCOMPARE(listed, ids);
        QCOMPARE(rowCount(QStringLiteral("select count(*) from %1").arg(positionTable(kind))), ids.size());
        for (int id : ids)
            QCOMPARE(stored(kind, id), QPoint(0, 0));
        QCOMPARE(canvas->iconName(), QStringLiteral("3d_view_02"));
        QCOMPARE(canvas->roomName(), QStringLiteral("Bob's den"));
        if (kind == Lights) {
            // Cut at a character boundary inside the 128-byte field.
            QCOMPARE(QString::fromUtf8(canvas->records().at(0).remark), QString(63, QChar(0x00E4)));
        }
    }

    // Press at the first point, move through the others, release at the last.
    void drops_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<int>("button");
        QTest::addColumn<QList<QPoint>>("path");
        QTest::addColumn<int>("movedId");
        QTest::addColumn<QPoint>("expected");
        const QSize big(1800, 900);
        const int left = Qt::LeftButton;
        using P = QList<QPoint>;
        // Every icon starts at (150, 100), on a small canvas at (0, 0).
        QTest::newRow("press and release on the spot") << int(Lights) << big << left << P{{200, 150}} << 1
                                                       << QPoint(160, 110);
        QTest::newRow("overlap: the lower light id") << int(Lights) << big << left
                                                     << P{{160, 110}, {600, 400}, {700, 500}} << 1
                                                     << QPoint(660, 460);
        QTest::newRow("near the top-left corner") << int(Lights) << big << left << P{{160, 110}, {5, 5}} << 1
                                                  << QPoint(0, 0);
        QTest::newRow("at the bottom-right corner") << int(Lights) << big << left << P{{160, 110}, {1799, 899}}
                                                    << 1 << QPoint(1719, 819);
        QTest::newRow("past the bottom-right corner") << int(Lights) << big << left
                                                      << P{{160, 110}, {2500, 1500}} << 1 << QPoint(1719, 819);
        QTest::newRow("canvas narrower and lower than 81") << int(Lights) << QSize(60, 60) << left
                                                           << P{{10, 10}, {50, 50}} << 1 << QPoint(0, 0);
        QTest::newRow("right button moves nothing") << int(Lights) << big << int(Qt::RightButton)
                                                    << P{{160, 110}, {600, 400}} << -1 << QPoint();
        QTest::newRow("press outside every icon") << int(Lights) << big << left << P{{20, 20}, {600, 400}} << -1
                                                  << QPoint();
        QTest::newRow("floor-heating circuit 2") << int(FloorHeat) << big << left << P{{160, 110}, {400, 300}}
                                                 << 2 << QPoint(360, 260);
        QTest::newRow("air conditioner 0") << int(ACs) << big << left << P{{160, 110}, {400, 300}} << 0
                                           << QPoint(360, 260);
    }
    void drops()
    {
        QFETCH(int, kind);
        QFETCH(QSize, size);
        QFETCH(int, button);
        QFETCH(QList<QPoint>, path);
        QFETCH(int, movedId);
        QFETCH(QPoint, expected);
        const QPoint start = size.width() < 200 ? QPoint(0, 0) : QPoint(150, 100);
        exec(QStringLiteral("delete from tbl_3d_view_light"));
        exec(QStringLiteral("delete from tbl_3d_air_conditioner"));
        for (int id = 1; id <= 3; ++id)
            exec(QStringLiteral("insert into tbl_3d_view_light(light_id,xp1,yp1,room_id) values(%1,%2,%3,%4)")
                     .arg(id)
                     .arg(start.x())
                     .arg(start.y())
                     .arg(Room));
        for (int no = 0; no < 4; ++no)
            exec(QStringLiteral("insert into tbl_3d_air_conditioner(air_conditioner_no,xp1,yp1,room_id) "
                                "values(%1,%2,%3,%4)")
                     .arg(no)
                     .arg(start.x())
                     .arg(start.y())
                     .arg(Room));

        auto canvas = makeCanvas(kind);
        canvas->resize(size);
        canvas->show();
        QVERIFY(QTest::qWaitForWindowExposed(canvas.get()));
        QCOMPARE(canvas->size(), size);
        canvas->updatelist(Room);
        const auto b = Qt::MouseButton(button);
        QTest::mousePress(canvas.get(), b, Qt::NoModifier, path.first());
        for (const QPoint &p : path.mid(1))
            QTest::mouseMove(canvas.get(), p);
        QTest::mouseRelease(canvas.get(), b, Qt::NoModifier, path.last());

        const QList<int> all = kind == Lights ? QList<int>{1, 2, 3} : QList<int>{0, 1, 2, 3};
        for (int id : all) {
            const bool moved = id == movedId;
            QCOMPARE(stored(kind == Lights ? Lights : ACs, id), moved ? expected : start);
        }
        for (const positionRecord &rec : canvas->records()) {
            QVERIFY(!rec.pressed);
            QCOMPARE(QPoint(rec.xp1, rec.yp1), rec.id == movedId ? expected : start);
        }
    }

    // A picture name with quotes is stored and read back as it is.
    void quotedPictureName()
    {
        QVERIFY(storeRoomPictureName(Room, QStringLiteral("Bob's 'own' view")));
        QCOMPARE(roomPictureName(Room, QString()), QStringLiteral("Bob's 'own' view"));
        QVERIFY(storeRoomPictureName(Room, QStringLiteral("3d_view_02")));
    }

    // The rule itself where a canvas is smaller than an icon: never negative.
    void placementOnTinyCanvases_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QPoint>("pointer");
        QTest::addColumn<QPoint>("expected");
        QTest::newRow("60 x 50") << QSize(60, 50) << QPoint(30, 20) << QPoint(0, 0);
        QTest::newRow("81 x 81") << QSize(81, 81) << QPoint(80, 80) << QPoint(0, 0);
        QTest::newRow("80 wide, tall") << QSize(80, 400) << QPoint(70, 200) << QPoint(0, 160);
        QTest::newRow("empty") << QSize(0, 0) << QPoint(0, 0) << QPoint(0, 0);
    }
    void placementOnTinyCanvases()
    {
        QFETCH(QSize, size);
        QFETCH(QPoint, pointer);
        QFETCH(QPoint, expected);
        QCOMPARE(PlacementCanvas::placeIcon(pointer, size), expected);
    }
};

VARNO_TEST_MAIN(TestCanvases)
#include "tst_canvases.moc"
