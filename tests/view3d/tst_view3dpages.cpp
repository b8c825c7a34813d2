// The list pages ("3D View", "3D View Manager") and the editor ("3D View
// Setting"): the picture rows the lists insert, their grids, where a tile
// leads, the editor's tabs, and changing the picture through the real dialogs
// (built-in pictures; photos through the file-dialog seam, including pictures
// that cannot be read or written and a missing project folder).

#include "testmain.h"

#include "filesizelimit.h"
#include "modalanswers.h"
#include "projectfixture.h"
#include "roomproject.h"
#include "stepfault.h"

#include "shell/projectpicture.h"
#include "bus/broadcastsocket.h"
#include "shell/filedialogs.h"
#include "shell/iconstyleitem.h"
#include "shell/manageritem.h"
#include "view3d/page3dview.h"
#include "view3d/pagesetting3dviewmanager.h"
#include "view3d/pagesetting3dviewmanagerac.h"
#include "view3d/pagesetting3dviewmanageredit.h"
#include "view3d/pagesetting3dviewmanagerfloorheat.h"
#include "view3d/pagesetting3dviewmanagerlighting.h"

#include <QGridLayout>
#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QtTest>
#include <qtmaterialgroupbox.h>
#include <qtmateriallabel.h>
#include <qtmaterialtabs.h>

#include <memory>

#include <sys/inotify.h>
#include <unistd.h>

using namespace roomproject;

namespace {

constexpr int Kitchen = 12;

void enter(const QString &room = QString())
{
    emit gl_socket.signalsPageEnter(room, QString());
}

// Whether a file of the given name was deleted from the folder since the last look; one
// that a rename replaced was not.
class DeletionWatch
{
public:
    explicit DeletionWatch(const QString &folder) : m_fd(inotify_init1(IN_NONBLOCK | IN_CLOEXEC))
    {
        m_watching =
            m_fd >= 0 && inotify_add_watch(m_fd, QFile::encodeName(folder).constData(), IN_DELETE) >= 0;
    }
    ~DeletionWatch()
    {
        if (m_fd >= 0)
            close(m_fd);
    }
    bool isWatching() const { return m_watching; }
    bool deleted(const QByteArray &name)
    {
        alignas(inotify_event) char buffer[4096];
        bool found = false;
        for (ssize_t n = 0; (n = read(m_fd, buffer, sizeof buffer)) > 0;) {
            for (ssize_t at = 0; at < n;) {
                const auto *event = reinterpret_cast<const inotify_event *>(buffer + at);
                found = found || (!(event->mask & IN_ISDIR) && event->len && name == event->name);
                at += ssize_t(sizeof(inotify_event) + event->len);
            }
        }
        return found;
    }

private:
    int m_fd;
    bool m_watching = false;
};

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

QPoint cellOf(QGridLayout *grid, QWidget *tile)
{
    int row = 0, column = 0, span = 0;
    grid->getItemPosition(grid->indexOf(tile), &row, &column, &span, &span);
    return QPoint(column, row);
}

// The modal actions: a row of the source dialog, a tile of the picture picker.
varnotest::ModalAction source(int style)
{
    return [style](QWidget *dialog) {
        for (IconStyleItem *row : dialog->findChildren<IconStyleItem *>()) {
            if (row->getStyle() == style)
                QTest::mouseClick(row, Qt::LeftButton, Qt::NoModifier, QPoint(100, 20));
        }
    };
}

varnotest::ModalAction picture(const QString &name)
{
    return [name](QWidget *dialog) {
        for (ManagerItem *tile : dialog->findChildren<ManagerItem *>()) {
            if (tile->getIconName() == name)
                QTest::mouseClick(tile, Qt::LeftButton, Qt::NoModifier, QPoint(150, 80));
        }
    };
}

QString pictureRow()
{
    return value(QStringLiteral("select icon_name from tbl_3d_view_manager where room_id=12")).toString();
}

void shot(QWidget *widget, const QString &name)
{
    QTest::qWait(50); // layouts settle
    QVERIFY(QDir().mkpath(QStringLiteral(VARNO_SCREENSHOT_DIR)));
    QVERIFY(widget->grab().save(QStringLiteral(VARNO_SCREENSHOT_DIR "/%1.png").arg(name)));
}

} // namespace

class TestView3DPages : public QObject
{
    Q_OBJECT

    varnotest::ProjectFolder m_app;
    QTemporaryDir m_files;

    // Rooms 12 ("Kitchen"), 21, 22, ...; only 21 has a picture row.
    void rooms(int count)
    {
        exec("delete from tbl_room");
        exec("delete from tbl_3d_view_manager");
        exec("insert into tbl_3d_view_manager(icon_name,room_id) values('3d_view_04',21)");
        for (int i = 0; i < count; ++i)
            QVERIFY(addRoom(i ? 20 + i : Kitchen, i ? QStringLiteral("R%1").arg(i) : "Kitchen", 1, 1));
    }

private slots:
    void initTestCase()
    {
        addRegion(1, QStringLiteral("House"));
        addFloor(1, 1, QStringLiteral("Ground"));
        screen_cx = 1920;
        CppSQLite3DB::busyTimeoutMs = 100; // a database another connection holds fails soon
        gl_sqlite3db.close();              // opened again with that wait
    }
    void cleanup() { answerFileDialogsWith(nullptr); }

    void listPages_data()
    {
        QTest::addColumn<bool>("manager");
        QTest::addColumn<QStringList>("request");
        QTest::newRow("3D View") << false
                                 << QStringList{"Operate Room 3D View", "House-Ground-Kitchen", "12", ""};
        QTest::newRow("3D View Manager")
            << true << QStringList{"3D View Setting", "3D View Setting", "12", ""};
        // Room 21's picture row fails to read at the first entry: no second row.
        QTest::newRow("3D View, a picture row unread")
            << false << QStringList{"Operate Room 3D View", "House-Ground-Kitchen", "12", ""};
    }
    void listPages()
    {
        QFETCH(bool, manager);
        QFETCH(QStringList, request);
        rooms(7);
        std::unique_ptr<View3DListPage> page;
        if (manager)
            page = std::make_unique<PageSetting3DViewManager>("3D View Manager", QString());
        else
            page = std::make_unique<Page3DView>("3D View", QString());
        page->resize(1920, 1000);
        enter(); // hidden: ignored
        QCOMPARE(value("select count(*) from tbl_3d_view_manager").toInt(), 1);
        page->show();
        const bool unread = QByteArray(QTest::currentDataTag()).endsWith("unread");
        QSignalSpy info(&gl_socket, &BroadcastSocket::signalsInformation);
        for (int entry = 0; entry < 2; ++entry) { // one row per room, on the first whole listing only
            StepFault::arm("from tbl_3d_view_manager where room_id=21", unread && entry == 0 ? 1 : 0);
            enter();
            QCOMPARE(StepFault::fired(), unread && entry == 0);
            QCOMPARE(info.size(), int(unread)); // a listing read in part stores nothing and says so
            const int rows = unread && entry == 0 ? 1 : 7;
            QCOMPARE(value("select count(*) from tbl_3d_view_manager").toInt(), rows);
            QCOMPARE(value("select count(distinct room_id) from tbl_3d_view_manager").toInt(), rows);
        }
        QCOMPARE(pictureRow(), QStringLiteral("3d_view_01"));
        const QList<ManagerItem *> shown = tiles(*page);
        QCOMPARE(shown.size(), 7);
        QTRY_COMPARE(page->tileBox()->findChildren<ManagerItem *>().size(), 7); // the first entry's are gone
        QCOMPARE(shown.at(1)->getIconName(), QStringLiteral("3d_view_04"));
        QCOMPARE(shown.at(0)->getName(), QStringLiteral("House-Ground-Kitchen"));
        if (!manager)
            shot(page.get(), "list_page");
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
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("columns");
        QTest::addColumn<QPoint>("stretch"); // column, row
        QTest::newRow("1920, one row exactly full") << 1920 << 6 << 6 << QPoint(6, 1);
        QTest::newRow("1920, seven rooms") << 1920 << 7 << 6 << QPoint(6, 2);
        QTest::newRow("1920, part of a row") << 1920 << 2 << 6 << QPoint(2, 1);
        QTest::newRow("1800") << 1800 << 7 << 5 << QPoint(5, 2);
        QTest::newRow("narrower than a tile") << 200 << 3 << 1 << QPoint(1, 3);
        QTest::newRow("exactly one tile wide") << 300 << 2 << 1 << QPoint(1, 2);
        QTest::newRow("no rooms") << 1920 << 0 << 6 << QPoint(6, 0);
    }
    void grid()
    {
        QFETCH(int, screen);
        QFETCH(int, count);
        QFETCH(int, columns);
        QFETCH(QPoint, stretch);
        screen_cx = screen;
        rooms(count);
        Page3DView page("3D View", QString());
        page.updatelist();
        screen_cx = 1920;
        auto *grid = qobject_cast<QGridLayout *>(page.tileBox()->layout());
        const QList<ManagerItem *> shown = tiles(page);
        for (int i = 0; i < shown.size(); ++i)
            QCOMPARE(cellOf(grid, shown.at(i)), QPoint(i % columns, i / columns));
        if (screen == 1920)
            QCOMPARE(grid->horizontalSpacing(), 17);
        for (int c = 0; c < grid->columnCount(); ++c)
            QCOMPARE(grid->columnStretch(c), int(c == stretch.x()));
        for (int r = 0; r < grid->rowCount(); ++r)
            QCOMPARE(grid->rowStretch(r), int(r == stretch.y()));
    }

    void editorTabs_data()
    {
        QTest::addColumn<QList<int>>("units"); // 0 lights, 1 air conditioner, 2 floor heating
        QTest::newRow("lights only") << QList<int>{0};
        QTest::newRow("floor heating only") << QList<int>{2};
        QTest::newRow("every kind") << QList<int>{0, 1, 2};
        QTest::newRow("nothing") << QList<int>{};
    }
    void editorTabs()
    {
        QFETCH(QList<int>, units);
        rooms(1);
        exec("update tbl_3d_view_manager set room_id=12,icon_name='3d_view_06'");
        exec("delete from tbl_light");
        exec("delete from tbl_air_conditioner");
        const QStringList kinds{"Lighting", "AC", "Floor Heat"};
        QStringList expected;
        for (int kind : units) {
            expected << kinds.at(kind);
            Light l;
            l.room = Kitchen;
            Unit u;
            u.room = Kitchen;
            u.no = 2 * kind - 2;
            u.name = kinds.at(kind);
            QVERIFY(kind ? addUnit(u) : addLight(l));
        }
        PageSetting3DViewManagerEdit page("3D View Setting", QString());
        page.resize(1920, 980);
        page.show();
        enter(QString::number(Kitchen));
        QStringList titles;
        for (int i = 0; i < page.tabBar()->count(); ++i)
            titles << page.tabBar()->tabText(i);
        QCOMPARE(titles, expected);
        QCOMPARE(page.tabBar()->isVisible(), !units.isEmpty());
        const QList<PlacementCanvas *> canvases{page.lightingCanvas(), page.acCanvas(),
                                                page.floorHeatCanvas()};
        for (int t = 0; t < qMax(1, titles.size()); ++t) {
            if (!titles.isEmpty())
                page.tabBar()->setCurrentIndex(t);
            for (int c = 0; c < 3; ++c)
                QCOMPARE(canvases.at(c)->isVisible(), !titles.isEmpty() && kinds.at(c) == titles.at(t));
            if (titles.size() == 3)
                shot(&page, QStringLiteral("editor_tab_%1").arg(t));
        }
        if (!units.isEmpty())
            return;
        // Without tabs the picture still changes, here with the right button;
        // the name goes without ".png" to the row and the canvases, and the
        // manager page shows it at its next entry.
        varnotest::answerModals({source(0), picture("3d_view_05")});
        QTest::mousePress(page.changeImageLabel(), Qt::RightButton, Qt::NoModifier, QPoint(10, 10));
        QCOMPARE(pictureRow(), QStringLiteral("3d_view_05"));
        for (PlacementCanvas *canvas : canvases)
            QCOMPARE(canvas->iconName(), QStringLiteral("3d_view_05"));
        PageSetting3DViewManager manager("3D View Manager", QString());
        page.hide();
        manager.show();
        enter();
        QCOMPARE(tiles(manager).at(0)->getIconName(), QStringLiteral("3d_view_05"));
    }

    // Photos chosen in turn; what the row and the folder then hold, and why not.
    void photo_data()
    {
        QTest::addColumn<QStringList>("chosen");
        QTest::addColumn<QString>("row");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QString>("message");
        const QString photo = "photo_3dView_12";
        QTest::newRow("one photo") << QStringList{"a.jpg"} << photo << QSize(120, 90) << QString();
        QTest::newRow("twice: one file, the second")
            << QStringList{"a.jpg", "b.bmp"} << photo << QSize(64, 48) << QString();
        QTest::newRow("cancelled") << QStringList{""} << "3d_view_02" << QSize() << QString();
        QTest::newRow("unreadable") << QStringList{"broken.png"} << "3d_view_02" << QSize()
                                    << "Can not read the image";
        QTest::newRow("PNG not written")
            << QStringList{"a.jpg", "block"} << photo << QSize(120, 90) << "Can not save the image";
        QTest::newRow("no project folder") << QStringList{"away"} << "3d_view_02" << QSize()
                                           << "Lose the dir named Home,please reboot the application!";
        QTest::newRow("name not stored") << QStringList{"refused"} << "3d_view_02" << QSize()
                                         << "Failed to save the picture!";
        QTest::newRow("name not stored: own photo kept")
            << QStringList{"a.jpg", "refused"} << photo << QSize(120, 90) << "Failed to save the picture!";
        QTest::newRow("row never made") << QStringList{"no row"} << QString() << QSize()
                                        << "Failed to save the picture!";
        QTest::newRow("commit refused: own photo kept")
            << QStringList{"a.jpg", "busy"} << photo << QSize(120, 90) << "Failed to save the picture!";
        QTest::newRow("commit refused: no file left")
            << QStringList{"busy"} << "3d_view_02" << QSize() << "Failed to save the picture!";
        QTest::newRow("new file not in place: own photo kept")
            << QStringList{"a.jpg", "aside"} << photo << QSize(120, 90) << "Can not save the image";
        QTest::newRow("no room for the new file: own photo kept")
            << QStringList{"a.jpg", "full"} << photo << QSize(120, 90) << "Can not save the image";
        QTest::newRow("photo missing beside its copy: copy put back")
            << QStringList{"a.jpg", "lost"} << photo << QSize(120, 90) << QString();
        QTest::newRow("photo missing beside its copy, commit refused: copy put back")
            << QStringList{"a.jpg", "dropped", "busy"} << photo << QSize(120, 90)
            << "Failed to save the picture!";
    }
    void photo()
    {
        QFETCH(QStringList, chosen);
        QFETCH(QString, row);
        QFETCH(QSize, size);
        QFETCH(QString, message);
        rooms(1);
        exec("update tbl_3d_view_manager set room_id=12,icon_name='3d_view_02'");
        const QString folder = m_app.projectDir();
        const QString png = folder + "/photo_3dView_12.png";
        QFile::remove(png);
        QImage(120, 90, QImage::Format_RGB32).save(m_files.filePath("a.jpg"));
        QImage(64, 48, QImage::Format_RGB32).save(m_files.filePath("b.bmp"));
        QFile broken(m_files.filePath("broken.png"));
        QVERIFY(broken.open(QIODevice::WriteOnly) && broken.write("no picture") > 0);
        broken.close();

        PageSetting3DViewManagerEdit page("3D View Setting", QString());
        page.show();
        enter(QString::number(Kitchen));
        QSignalSpy info(&gl_socket, &BroadcastSocket::signalsInformation);
        const auto bytesOf = [](const QString &path) {
            QFile f(path);
            return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
        };
        const auto photoBytes = [&] { return bytesOf(png); };
        QByteArray before; // the photo file before the last choice, or its copy where only that is left
        // A photo that stands is replaced or put back by renames: its name is never deleted.
        DeletionWatch watch(folder);
        QVERIFY(watch.isWatching());
        for (const QString &file : chosen) {
            // "lost": the photo was cut short while being put back from its copy, and the room is
            // opened again; "dropped": the same, and the room stays open.
            if (file == "lost" || file == "dropped") {
                QVERIFY(QFile::rename(png, png + ".old"));
                if (file == "lost")
                    enter(QString::number(Kitchen));
                continue;
            }
            before = photoBytes();
            if (before.isEmpty())
                before = bytesOf(png + ".old");
            // "block": a folder where the PNG goes; "away": the project folder moved;
            // "refused": the row does not take the name; "no row": the list's insert of it was refused;
            // "busy": a second connection reads, so the commit gives up after the short wait;
            // "aside": a folder stands where the earlier photo is kept until the commit; "full": room
            // for all of the new file but its last byte, so only its final flush fails.
            std::unique_ptr<varnotest::FileSizeLimit> room; // for the rest of this choice
            if (file == "full") { // noise, its PNG larger than the project's database
                QImage noise(400, 300, QImage::Format_RGB32);
                QRandomGenerator(7).fillRange(reinterpret_cast<quint32 *>(noise.bits()), 400 * 300);
                QVERIFY(noise.save(m_files.filePath(file), "PNG")); // as the page writes it again
                room.reset(new varnotest::FileSizeLimit(QFileInfo(m_files.filePath(file)).size() - 1));
            }
            const bool refusing = file == "refused" || file == "no row";
            if (file == "busy") {
                QSqlDatabase reader = QSqlDatabase::addDatabase("QSQLITE", "reader");
                reader.setDatabaseName(gl_sqlite3db.getDbName());
                QVERIFY(reader.open() && reader.transaction() &&
                        reader.exec("select id from tbl_room").next());
            }
            QVERIFY(file != "aside" || QDir().mkpath(png + ".old/x"));
            QVERIFY(file != "no row" || exec("delete from tbl_3d_view_manager"));
            QVERIFY(!refusing || exec(QStringLiteral("create trigger refuse before %1 on tbl_3d_view_manager"
                                                     " begin select raise(abort,'no'); end")
                                          .arg(file == "refused" ? "update" : "insert")));
            if (file == "no row")
                Page3DView("3D View", QString()).updatelist();
            QVERIFY(file != "no row" || info.removeAll({QStringLiteral("Failed to read the rooms!")}) == 1);
            if (file == "block")
                QVERIFY(QFile::rename(png, png + ".keep") && QDir().mkdir(png));
            if (file == "away")
                QVERIFY(QDir().rename(folder, folder + ".away"));
            answerFileDialogsWith([&](FileDialogKind kind, const QString &caption, const QString &) {
                const QString name = QStringList{"refused", "busy", "aside"}.contains(file) ? "b.bmp"
                                     : QFile::exists(m_files.filePath(file))                ? file
                                                                                            : "a.jpg";
                return kind == FileDialogKind::Open && caption == "Open" && !file.isEmpty()
                           ? m_files.filePath(name)
                           : QString();
            });
            varnotest::answerModals({source(1)});
            QTest::mousePress(page.changeImageLabel(), Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
            QTRY_COMPARE_WITH_TIMEOUT(PictureWriter::running(), 0, 10000);
            if (file == "block")
                QVERIFY(QDir().rmdir(png) && QFile::rename(png + ".keep", png));
            if (file == "away")
                QVERIFY(QDir().rename(folder + ".away", folder));
            QVERIFY(!refusing || exec("drop trigger refuse"));
            QVERIFY(file != "aside" || QDir(png + ".old").removeRecursively());
            if (file == "busy")
                QSqlDatabase::removeDatabase("reader"); // its read ends
            const bool deleted = watch.deleted("photo_3dView_12.png");
            QVERIFY(before.isEmpty() || !deleted);
        }
        QCOMPARE(info.size(), int(!message.isEmpty()));
        if (!message.isEmpty())
            QVERIFY2(info.at(0).at(0).toString().startsWith(message),
                     qPrintable(info.at(0).at(0).toString()));
        QCOMPARE(pictureRow(), row);
        QCOMPARE(page.lightingCanvas()->iconName(), row.startsWith("photo") ? row : QString());
        const QStringList photos = QDir(folder).entryList({"photo*"}, QDir::Files);
        QCOMPARE(photos, size.isValid() ? QStringList{"photo_3dView_12.png"} : QStringList());
        QCOMPARE(QImage(png).size(), size.isValid() ? size : QSize(0, 0));
        QVERIFY(message.isEmpty() || photoBytes() == before); // a failed choice leaves the file as it was
    }
};

VARNO_TEST_MAIN(TestView3DPages)
#include "tst_view3dpages.moc"
