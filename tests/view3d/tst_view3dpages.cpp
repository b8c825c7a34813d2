// The 3-D view's list pages ("3D View", "3D View Manager") and its editor
// ("3D View Setting"): the picture rows the lists insert, their grids, where a
// tile leads, the editor's tabs, and changing the picture through the real
// dialogs (built-in pictures, photos through the file-dialog seam, with the
// pictures that cannot be read or written and the missing project folder).

#include "testmain.h"

#include "projectfixture.h"
#include "modalanswers.h"
#include "roomproject.h"

#include "bus/broadcastsocket.h"
#include "shell/filedialogs.h"
#include "shell/iconselectdlg.h"
#include "shell/iconstyleitem.h"
#include "shell/manageritem.h"
#include "store/projectlist.h"
#include "view3d/page3dview.h"
#include "view3d/pagesetting3dviewmanager.h"
#include "view3d/pagesetting3dviewmanagerac.h"
#include "view3d/pagesetting3dviewmanagerfloorheat.h"
#include "view3d/pagesetting3dviewmanagerlighting.h"
#include "view3d/pagesetting3dviewmanageredit.h"

#include <QApplication>
#include <QDir>
#include <QGridLayout>
#include <QtTest>
#include <qtmaterialgroupbox.h>
#include <qtmateriallabel.h>
#include <qtmaterialtabs.h>

#include <functional>
#include <memory>

using namespace roomproject;

namespace {

constexpr int Kitchen = 12;

void enterPage(QWidget *page, const QString &arg1 = QString())
{
    emit gl_socket.signalsPageEnter(arg1, QString());
    Q_UNUSED(page)
}

QList<ManagerItem *> tiles(View3DListPage &page)
{
    QList<ManagerItem *> out;
    auto *grid = qobject_cast<QGridLayout *>(page.tileBox()->layout());
    for (int i = 0; grid && i < grid->count(); ++i) {
        if (auto *tile = qobject_cast<ManagerItem *>(grid->itemAt(i)->widget()))
            out << tile;
    }
    return out;
}

std::function<void(QWidget *)> pickSource(int style)
{
    return [style](QWidget *dialog) {
        for (IconStyleItem *row : dialog->findChildren<IconStyleItem *>()) {
            if (row->getStyle() == style)
                QTest::mouseClick(row, Qt::LeftButton, Qt::NoModifier, QPoint(100, 20));
        }
    };
}

std::function<void(QWidget *)> pickPicture(const QString &name)
{
    return [name](QWidget *dialog) {
        for (ManagerItem *tile : dialog->findChildren<ManagerItem *>()) {
            if (tile->getIconName() == name)
                QTest::mouseClick(tile, Qt::LeftButton, Qt::NoModifier, QPoint(150, 80));
        }
    };
}

void saveShot(QWidget *widget, const QString &name)
{
    QVERIFY(QDir().mkpath(QStringLiteral(VARNO_SCREENSHOT_DIR)));
    QVERIFY(widget->grab().save(QStringLiteral(VARNO_SCREENSHOT_DIR "/") + name + QStringLiteral(".png")));
}

QString pictureRow(int room)
{
    return value(QStringLiteral("select icon_name from tbl_3d_view_manager where room_id=%1").arg(room)).toString();
}

} // namespace

class TestView3DPages : public QObject
{
    Q_OBJECT

    varnotest::ProjectFolder m_app;
    QTemporaryDir m_files;

    void addRooms(int count)
    {
        exec(QStringLiteral("delete from tbl_room"));
        exec(QStringLiteral("delete from tbl_3d_view_manager"));
        for (int i = 0; i < count; ++i)
            QVERIFY(addRoom(i == 0 ? Kitchen : 20 + i, i == 0 ? QStringLiteral("Kitchen") : QStringLiteral("R%1").arg(i),
                            1, 1));
    }

private slots:
    void initTestCase()
    {
        Q_INIT_RESOURCE(pictures);
        QVERIFY(m_files.isValid());
        addRegion(1, QStringLiteral("House"));
        addFloor(1, 1, QStringLiteral("Ground"));
        screen_cx = 1920;
        screen_cy = 1080;
    }
    void cleanup() { answerFileDialogsWith(nullptr); }

    // Both list pages: rows inserted once, grid, and where a tile press leads.
    void listPages_data()
    {
        QTest::addColumn<bool>("manager");
        QTest::addColumn<QStringList>("request");
        QTest::newRow("3D View") << false
                                 << QStringList{"Operate Room 3D View", "House-Ground-Kitchen", "12", ""};
        QTest::newRow("3D View Manager") << true
                                         << QStringList{"3D View Setting", "3D View Setting", "12", ""};
    }
    void listPages()
    {
        QFETCH(bool, manager);
        QFETCH(QStringList, request);
        addRooms(7);
        exec(QStringLiteral("insert into tbl_3d_view_manager(icon_name,room_id) values('3d_view_04',21)"));
        std::unique_ptr<View3DListPage> page;
        if (manager)
            page = std::make_unique<PageSetting3DViewManager>(QStringLiteral("3D View Manager"), QString());
        else
            page = std::make_unique<Page3DView>(QStringLiteral("3D View"), QString());
        page->resize(1920, 1000);

        // Hidden, the page ignores the entry.
        enterPage(page.get());
        QCOMPARE(value(QStringLiteral("select count(*) from tbl_3d_view_manager")).toInt(), 1);

        page->show();
        QVERIFY(QTest::qWaitForWindowExposed(page.get()));
        for (int entry = 0; entry < 2; ++entry) {
            enterPage(page.get());
            QCOMPARE(value(QStringLiteral("select count(*) from tbl_3d_view_manager")).toInt(), 7);
            QCOMPARE(value(QStringLiteral("select count(distinct room_id) from tbl_3d_view_manager")).toInt(), 7);
        }
        QCOMPARE(pictureRow(21), QStringLiteral("3d_view_04"));
        QCOMPARE(pictureRow(Kitchen), QStringLiteral("3d_view_01"));

        const QList<ManagerItem *> shown = tiles(*page);
        QCOMPARE(shown.size(), 7);
        QTRY_COMPARE(page->tileBox()->findChildren<ManagerItem *>().size(), 7); // old tiles gone
        auto *grid = qobject_cast<QGridLayout *>(page->tileBox()->layout());
        int row = 0, column = 0, span = 0;
        grid->getItemPosition(grid->indexOf(shown.at(5)), &row, &column, &span, &span);
        QCOMPARE(QPoint(column, row), QPoint(5, 0));
        grid->getItemPosition(grid->indexOf(shown.at(6)), &row, &column, &span, &span);
        QCOMPARE(QPoint(column, row), QPoint(0, 1));
        QCOMPARE(grid->horizontalSpacing(), 17);
        QCOMPARE(shown.at(1)->getIconName(), QStringLiteral("3d_view_04"));
        QCOMPARE(shown.at(0)->getName(), QStringLiteral("House-Ground-Kitchen"));
        if (!manager) {
            QTest::qWait(50);
            saveShot(page.get(), QStringLiteral("list_page"));
        }

        QSignalSpy requests(&gl_socket, &BroadcastSocket::signalsPageIdChanged);
        QTest::mouseClick(shown.at(0), Qt::LeftButton, Qt::NoModifier, QPoint(150, 80));
        QCOMPARE(requests.size(), 1);
        QStringList got;
        for (const QVariant &v : requests.at(0))
            got << v.toString();
        QCOMPARE(got, request);
    }

    // Columns on any screen, and the stretch that keeps the tiles at the top left.
    void grid_data()
    {
        QTest::addColumn<int>("screen");
        QTest::addColumn<int>("rooms");
        QTest::addColumn<int>("columns");
        QTest::addColumn<int>("stretchColumn");
        QTest::addColumn<int>("stretchRow");
        QTest::newRow("1920, one row exactly full") << 1920 << 6 << 6 << 6 << 1;
        QTest::newRow("1920, part of a row") << 1920 << 2 << 6 << 2 << 1;
        QTest::newRow("1800, two rows") << 1800 << 7 << 5 << 5 << 2;
        QTest::newRow("screen narrower than a tile") << 200 << 3 << 1 << 1 << 3;
        QTest::newRow("exactly one tile wide") << 300 << 2 << 1 << 1 << 2;
        QTest::newRow("no rooms") << 1920 << 0 << 6 << 6 << 0;
    }
    void grid()
    {
        QFETCH(int, screen);
        QFETCH(int, rooms);
        QFETCH(int, columns);
        QFETCH(int, stretchColumn);
        QFETCH(int, stretchRow);
        screen_cx = screen;
        addRooms(rooms);
        Page3DView page(QStringLiteral("3D View"), QString());
        page.show();
        page.updatelist();
        screen_cx = 1920;
        auto *grid = qobject_cast<QGridLayout *>(page.tileBox()->layout());
        QVERIFY(grid);
        QCOMPARE(value(QStringLiteral("select count(*) from tbl_3d_view_manager")).toInt(), rooms);
        const QList<ManagerItem *> shown = tiles(page);
        for (int i = 0; i < shown.size(); ++i) {
            int row = 0, column = 0, span = 0;
            grid->getItemPosition(grid->indexOf(shown.at(i)), &row, &column, &span, &span);
            QCOMPARE(QPoint(column, row), QPoint(i % columns, i / columns));
        }
        for (int c = 0; c < grid->columnCount(); ++c)
            QCOMPARE(grid->columnStretch(c), c == stretchColumn ? 1 : 0);
        for (int r = 0; r < grid->rowCount(); ++r)
            QCOMPARE(grid->rowStretch(r), r == stretchRow ? 1 : 0);
    }

    void editorTabs_data()
    {
        QTest::addColumn<bool>("lights");
        QTest::addColumn<bool>("acs");
        QTest::addColumn<bool>("floorHeat");
        QTest::addColumn<QStringList>("tabs");
        QTest::newRow("lights only") << true << false << false << QStringList{"Lighting"};
        QTest::newRow("floor heating only") << false << false << true << QStringList{"Floor Heat"};
        QTest::newRow("every kind") << true << true << true << QStringList{"Lighting", "AC", "Floor Heat"};
        QTest::newRow("nothing") << false << false << false << QStringList{};
    }
    void editorTabs()
    {
        QFETCH(bool, lights);
        QFETCH(bool, acs);
        QFETCH(bool, floorHeat);
        QFETCH(QStringList, tabs);
        addRooms(1);
        exec(QStringLiteral("insert into tbl_3d_view_manager(icon_name,room_id) values('3d_view_06',%1)")
                 .arg(Kitchen));
        exec(QStringLiteral("delete from tbl_light"));
        exec(QStringLiteral("delete from tbl_air_conditioner"));
        if (lights) {
            Light l;
            l.room = Kitchen;
            l.name = QStringLiteral("Ceiling");
            addLight(l);
            l.lightId = 2;
            l.name = QStringLiteral("Wall");
            l.subnet = 0;
            addLight(l);
        }
        for (int no = 0; no < 4; ++no) {
            if ((no < 2 && acs) || (no >= 2 && floorHeat)) {
                Unit u;
                u.room = Kitchen;
                u.no = no;
                u.name = no < 2 ? QStringLiteral("AC %1").arg(no) : QStringLiteral("Floor %1").arg(no);
                addUnit(u);
            }
        }
        PageSetting3DViewManagerEdit page(QStringLiteral("3D View Setting"), QString());
        page.resize(1920, 980);
        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page));
        enterPage(&page, QString::number(Kitchen));
        QCOMPARE(page.getRoomId(), Kitchen);
        QStringList titles;
        for (int i = 0; i < page.tabBar()->count(); ++i)
            titles << page.tabBar()->tabText(i);
        QCOMPARE(titles, tabs);
        QCOMPARE(page.tabBar()->isVisible(), !tabs.isEmpty());
        const QList<PlacementCanvas *> canvases{page.lightingCanvas(), page.acCanvas(), page.floorHeatCanvas()};
        const QStringList kinds{"Lighting", "AC", "Floor Heat"};
        for (int t = 0; t < tabs.size(); ++t) {
            page.tabBar()->setCurrentIndex(t);
            for (int c = 0; c < 3; ++c)
                QCOMPARE(canvases.at(c)->isVisible(), kinds.at(c) == tabs.at(t));
            PlacementCanvas *shown = canvases.at(kinds.indexOf(tabs.at(t)));
            QCOMPARE(shown->iconName(), QStringLiteral("3d_view_06"));
            QVERIFY(!shown->records().isEmpty());
            if (tabs.size() == 3) {
                QTest::qWait(50);
                saveShot(&page, QStringLiteral("editor_tab_%1").arg(t));
            }
        }
        if (tabs.isEmpty()) {
            for (PlacementCanvas *canvas : canvases)
                QVERIFY(!canvas->isVisible());
            // The picture can still be changed, here with the right button.
            varnotest::answerModals({pickSource(0), pickPicture(QStringLiteral("3d_view_05"))});
            QTest::mousePress(page.changeImageLabel(), Qt::RightButton, Qt::NoModifier, QPoint(10, 10));
            QCOMPARE(pictureRow(Kitchen), QStringLiteral("3d_view_05"));
            for (PlacementCanvas *canvas : canvases)
                QCOMPARE(canvas->iconName(), QStringLiteral("3d_view_05"));
            // The manager page shows it at its next entry.
            PageSetting3DViewManager manager(QStringLiteral("3D View Manager"), QString());
            page.hide();
            manager.show();
            enterPage(&manager);
            QCOMPARE(tiles(manager).size(), 1);
            QCOMPARE(tiles(manager).at(0)->getIconName(), QStringLiteral("3d_view_05"));
        }
    }

    // Photos: the files chosen in turn, what the room's row and folder then hold,
    // and the message that says why nothing changed.
    void photo_data()
    {
        QTest::addColumn<QStringList>("chosen");
        QTest::addColumn<QString>("row");
        QTest::addColumn<QSize>("photoSize");
        QTest::addColumn<QString>("message");
        QTest::newRow("one photo") << QStringList{"a.jpg"} << "photo_3dView_12" << QSize(120, 90) << QString();
        QTest::newRow("twice: one file, the second image") << QStringList{"a.jpg", "b.bmp"} << "photo_3dView_12"
                                                           << QSize(64, 48) << QString();
        QTest::newRow("cancelled") << QStringList{""} << "3d_view_02" << QSize() << QString();
        QTest::newRow("unreadable picture") << QStringList{"broken.png"} << "3d_view_02" << QSize()
                                            << "Can not read the image";
        QTest::newRow("unwritable PNG keeps the earlier photo") << QStringList{"a.jpg", "block"}
                                                                << "photo_3dView_12" << QSize(120, 90)
                                                                << "Can not save the image";
        QTest::newRow("missing project folder") << QStringList{"nofolder"} << "3d_view_02" << QSize()
                                                << "Lose the dir named Home,please reboot the application!";
    }
    void photo()
    {
        QFETCH(QStringList, chosen);
        QFETCH(QString, row);
        QFETCH(QSize, photoSize);
        QFETCH(QString, message);
        addRooms(1);
        exec(QStringLiteral("insert into tbl_3d_view_manager(icon_name,room_id) values('3d_view_02',%1)")
                 .arg(Kitchen));
        const QString folder = m_app.projectDir();
        const QString photo = folder + QStringLiteral("/photo_3dView_12.png");
        QFile::remove(photo);
        QDir(photo).removeRecursively();
        QImage a(120, 90, QImage::Format_RGB32);
        a.fill(Qt::darkCyan);
        QVERIFY(a.save(m_files.filePath(QStringLiteral("a.jpg"))));
        QImage b(64, 48, QImage::Format_RGB32);
        b.fill(Qt::darkYellow);
        QVERIFY(b.save(m_files.filePath(QStringLiteral("b.bmp"))));
        QFile broken(m_files.filePath(QStringLiteral("broken.png")));
        QVERIFY(broken.open(QIODevice::WriteOnly));
        broken.write("not a picture at all");
        broken.close();

        PageSetting3DViewManagerEdit page(QStringLiteral("3D View Setting"), QString());
        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page));
        enterPage(&page, QString::number(Kitchen));
        QSignalSpy info(&gl_socket, &BroadcastSocket::signalsInformation);
        QString earlierRow;
        for (const QString &file : chosen) {
            earlierRow = pictureRow(Kitchen);
            const bool block = file == QLatin1String("block");
            const bool noFolder = file == QLatin1String("nofolder");
            if (block) // a folder where the PNG would go: the file cannot be replaced
                QVERIFY(QFile::rename(photo, photo + ".keep") && QDir().mkdir(photo));
            if (noFolder)
                QVERIFY(QDir().rename(folder, folder + ".away"));
            answerFileDialogsWith([&](FileDialogKind kind, const QString &caption, const QString &) {
                return kind == FileDialogKind::Open && caption == QLatin1String("Open") && !file.isEmpty()
                           ? m_files.filePath(block || noFolder ? QStringLiteral("a.jpg") : file)
                           : QString();
            });
            varnotest::answerModals({pickSource(1)});
            QTest::mousePress(page.changeImageLabel(), Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
            if (block) {
                QVERIFY(QDir().rmdir(photo) && QFile::rename(photo + ".keep", photo));
                QCOMPARE(pictureRow(Kitchen), earlierRow);
            }
            if (noFolder) {
                QVERIFY(!QFileInfo::exists(folder + ".away/photo_3dView_12.png"));
                QVERIFY(QDir().rename(folder + ".away", folder));
            }
        }
        QCOMPARE(info.size(), message.isEmpty() ? 0 : 1);
        if (!message.isEmpty())
            QVERIFY2(info.at(0).at(0).toString().startsWith(message), qPrintable(info.at(0).at(0).toString()));
        QCOMPARE(pictureRow(Kitchen), row);
        QCOMPARE(page.lightingCanvas()->iconName(), row == QLatin1String("3d_view_02") ? QString() : row);
        const QStringList photos = QDir(folder).entryList({QStringLiteral("photo*")}, QDir::Files);
        if (photoSize.isValid()) {
            QCOMPARE(photos, QStringList{"photo_3dView_12.png"});
            QCOMPARE(QImage(photo).size(), photoSize);
        } else {
            QVERIFY(photos.isEmpty());
        }
    }
};

VARNO_TEST_MAIN(TestView3DPages)
#include "tst_view3dpages.moc"
