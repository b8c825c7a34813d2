// The room list, the adding of rooms and the room templates, checked against the
// rows of a real project database.

#include "testmain.h"

#include "modalanswer.h"
#include "projectfixture.h"
#include "roomproject.h"
#include "stepfault.h"
#include "tilelist.h"
#include "unreadablepicture.h"

#include "bus/broadcastsocket.h"
#include "commissioning/commissioningrules.h"
#include "commissioning/pagesettingroommanager.h"
#include "commissioning/pagesettingroomtemplate.h"
#include "commissioning/roomadddlg.h"
#include "commissioning/roomadder.h"
#include "commissioning/roomtemplateadddlg.h"
#include "shell/kestmessagebox.h"
#include "shell/manageritem.h"
#include "shell/pictures.h"
#include "shell/projectpicture.h"
#include "store/globals.h"
#include "store/roomremoval.h"

#include <QAbstractButton>
#include <QDir>
#include <QGridLayout>
#include <QImage>
#include <QSemaphore>
#include <QtTest>
#include <qtmaterialcheckbox.h>
#include <qtmaterialcombobox.h>
#include <qtmaterialflatbutton.h>
#include <qtmaterialgroupbox.h>
#include <qtmateriallineedit.h>

#include <atomic>
#include <sys/stat.h>
#include <unistd.h>

using namespace roomproject;

namespace {

// The rooms' links: made, or refused as a file system without them does, once the
// window's thread has run an event (or 5 s passed: the add held the window).
std::atomic<bool> g_refuseLinks{false}, g_held{false};
QSemaphore g_windowRan;

int linkOnceTheWindowRan(const char *from, const char *to)
{
    if (!g_windowRan.tryAcquire(1, 5000))
        g_held = true;
    g_windowRan.release();
    return g_refuseLinks ? -1 : ::link(from, to);
}

ino_t inode(const QString &path)
{
    struct stat info {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_ino : 0;
}

// (column, row) of the add tile, the last of the grid.
QPoint addCell(QtMaterialGroupBox *box)
{
    auto *grid = qobject_cast<QGridLayout *>(box->layout());
    int row = -1, column = -1, rs, cs;
    grid->getItemPosition(grid->count() - 1, &row, &column, &rs, &cs);
    return QPoint(column, row);
}

// Fills the add dialog and presses "Add"; answers whether it accepted.
bool addRooms(RoomAddDlg &dialog, const QString &region, const QString &floor, const QString &name,
              const QString &count = QString())
{
    dialog.comboBoxRegion->setCurrentText(region);
    dialog.comboBoxFloor->setCurrentText(floor);
    dialog.lineEditRoomName->setText(name);
    dialog.checkBoxAddInBulk->setChecked(!count.isEmpty());
    if (!count.isEmpty())
        dialog.lineEditNumber->setText(count);
    dialog.pushButtonAdd_clicked();
    return dialog.result() == QDialog::Accepted;
}

int count(const QString &table)
{
    return value(QStringLiteral("select count(*) from %1").arg(table)).toInt();
}

// The row counts of the tables named, joined by blanks.
QString counts(const QString &tables)
{
    QStringList out;
    for (const QString &table : tables.split(QLatin1Char(' ')))
        out.append(QString::number(count(table)));
    return out.join(QLatin1Char(' '));
}

void answerBox(bool ok)
{
    varnotest::answerModal<KestMessageBox>([ok](KestMessageBox *box) {
        QVERIFY(box->size() == QSize(500, 160));
        box->findChild<QAbstractButton *>(ok ? QStringLiteral("pushButtonOk")
                                             : QStringLiteral("pushButtonCancel"))
            ->click();
    });
}

} // namespace

class TestRooms : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        screen_cx = 1920;
        m_project.reset();
        QDir().rmdir(m_project.projectDir() + "/photo_Room_3.png"); // made by bulkPictures
    }

    void bulkNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("count");
        QTest::addColumn<QStringList>("names");
        QTest::newRow("Room") << "Room" << 3 << QStringList{"Room", "Room1", "Room2"};
        QTest::newRow("Room1") << "Room1" << 3 << QStringList{"Room1", "Room2", "Room3"};
        QTest::newRow("Room09") << "Room09" << 3 << QStringList{"Room9", "Room10", "Room11"};
        QTest::newRow("101") << "101" << 3 << QStringList{"101", "102", "103"};
        QTest::newRow("Room09 once") << "Room09" << 1 << QStringList{"Room09"};
        QTest::newRow("long number") << "Room99999999999" << 3
                                     << QStringList{"Room99999999999", "Room100000000000",
                                                    "Room100000000001"};
        QTest::newRow("zeros") << "A000" << 2 << QStringList{"A0", "A1"};
    }

    // Through the dialog and the database: the names of the rooms made.
    void bulkNames()
    {
        QFETCH(QString, name);
        QFETCH(int, count);
        QVERIFY(addTemplate(1, QStringLiteral("T")));
        RoomAddDlg dialog;
        QVERIFY(addRooms(dialog, QStringLiteral("R"), QStringLiteral("F"), name, QString::number(count)));
        QTEST(rows(QStringLiteral("select room_name from tbl_room order by room_id")), "names");
    }

    // Part of the worked example: a template with a colour light, a plain light
    // and two panels; three rooms in bulk, every column of every row.
    void addsRoomsFromATemplate()
    {
        QVERIFY(addTemplate(1, QStringLiteral("Suite")));
        QVERIFY(addTemplateLight(1, 1, 2, QStringLiteral("Strip"), QStringLiteral("light_05_on")));
        QVERIFY(addTemplateLight(1, 2, 1, QStringLiteral("Bob's lamp"), QStringLiteral("light_07_on")));
        QVERIFY(addTemplatePanel(1, 1, QStringLiteral("Door")));
        QVERIFY(addTemplatePanel(1, 2, QStringLiteral("Bed")));
        RoomAddDlg dialog;
        QCOMPARE(dialog.comboBoxTemplate->currentText(), QStringLiteral("Suite"));
        QVERIFY(addRooms(dialog, QStringLiteral("North"), QStringLiteral("Ground"), QStringLiteral("Room"),
                         QStringLiteral("3")));
        QCOMPARE(rows(QStringLiteral("select region_name,region_id from tbl_region")),
                 QStringList{"North|1"});
        QCOMPARE(rows(QStringLiteral("select floor_name,floor_id,region_id from tbl_floor")),
                 QStringList{"Ground|1|1"});
        QCOMPARE(
            rows(QStringLiteral("select room_name,icon_name,room_id,floor_id,region_id,room_template_id "
                                "from tbl_room order by room_id")),
            (QStringList{"Room|room_1|1|1|1|1", "Room1|room_1|2|1|1|1", "Room2|room_1|3|1|1|1"}));
        QStringList lights;
        for (int room = 1; room <= 3; ++room) {
            const int strip = room * 2 - 1;
            for (int rgb = 1; rgb <= 3; ++rgb)
                lights << QStringLiteral("%1|2|Strip|0|0|0|light_05_on|light_05_off|0|0|0|%2|0||%3")
                              .arg(strip)
                              .arg(rgb)
                              .arg(room);
            lights << QStringLiteral("%1|1|Bob's lamp|0|0|0|light_07_on|light_07_off|0|0|0|0|0||%2")
                          .arg(strip + 1)
                          .arg(room);
        }
        QCOMPARE(rows(QStringLiteral(
                     "select light_id,light_type,light_remark,subnet_id,device_id,channel,"
                     "icon_name_of_light_on,icon_name_of_light_off,brightness,us_id,fade,rgb,"
                     "original_type,version,room_id from tbl_light order by room_id,light_id,rgb")),
                 lights);
        QCOMPARE(
            rows(QStringLiteral("select panel_id,panel_remark,subnet_id,device_id,room_id from tbl_panel "
                                "order by panel_id")),
            (QStringList{"1|Door|0|0|1", "2|Bed|0|0|1", "3|Door|0|0|2", "4|Bed|0|0|2", "5|Door|0|0|3",
                         "6|Bed|0|0|3"}));

        // More rooms later find region and floor by name; ids fill gaps.
        QVERIFY(exec(QStringLiteral("delete from tbl_room where room_id=2")));
        RoomAddDlg again;
        again.comboBoxRegion->setCurrentIndex(0);
        QCOMPARE(again.comboBoxFloor->currentText(), QStringLiteral("Ground"));
        QVERIFY(addRooms(again, QStringLiteral("North"), QStringLiteral("Ground"), QStringLiteral("Spare")));
        QCOMPARE(value(QStringLiteral("select room_id from tbl_room where room_name='Spare'")).toInt(), 2);
        QCOMPARE(counts("tbl_region tbl_floor"), QStringLiteral("1 1"));
        // The same floor name in another region is another floor.
        RoomAddDlg third;
        QVERIFY(addRooms(third, QStringLiteral("South"), QStringLiteral("Ground"), QStringLiteral("Spare")));
        QCOMPARE(rows(QStringLiteral("select floor_id,region_id from tbl_floor order by floor_id")),
                 (QStringList{"1|1", "2|2"}));
    }

    void countField()
    {
        QVERIFY(addTemplate(1, QStringLiteral("T")));
        RoomAddDlg dialog;
        QVERIFY(!dialog.lineEditNumber->isEnabled());
        dialog.checkBoxAddInBulk->setChecked(true);
        QVERIFY(dialog.lineEditNumber->isEnabled());
        dialog.lineEditNumber->setText(QStringLiteral("150"));
        QCOMPARE(dialog.lineEditNumber->text(), QStringLiteral("99"));
        dialog.lineEditNumber->setText(QStringLiteral("99999999999"));
        QCOMPARE(dialog.lineEditNumber->text(), QStringLiteral("99"));
        dialog.lineEditNumber->clear();
        emit dialog.lineEditNumber->editingFinished();
        QCOMPARE(dialog.lineEditNumber->text(), QStringLiteral("1"));
    }

    // Incomplete input, a count that adds no room included, is refused in the
    // dialog's own snackbar; nothing is written and the dialog stays open. So is
    // an add during which a read fails: a half-read answer takes no row for free or missing.
    void refusesIncompleteInput_data()
    {
        QTest::addColumn<QStringList>("input"); // region, floor, room name, count ("": not in bulk)
        QTest::addColumn<QString>("unread");    // the statement with a step that fails
        QTest::addColumn<int>("step");
        const QStringList bulk{"North", "Ground", "Room", "3"};
        QTest::newRow("no region") << QStringList{"", "F", "Room", ""} << "" << 0;
        QTest::newRow("no floor") << QStringList{"R", "", "Room", ""} << "" << 0;
        QTest::newRow("no name") << QStringList{"R", "F", "", ""} << "" << 0;
        QTest::newRow("count 0") << QStringList{"R", "F", "Room", "0"} << "" << 0;
        QTest::newRow("count negative") << QStringList{"R", "F", "Room", "-3"} << "" << 0;
        QTest::newRow("count text") << QStringList{"R", "F", "Room", "many"} << "" << 0;
        QTest::newRow("template unread") << bulk << "room_template_icon_name from" << 1;
        QTest::newRow("template lights unread") << bulk << "from tbl_template_light where" << 3;
        QTest::newRow("template panels unread") << bulk << "from tbl_template_panel where" << 2;
        QTest::newRow("region unread") << bulk << "from tbl_region where region_name" << 1;
        QTest::newRow("floor unread") << bulk << "from tbl_floor where floor_name" << 1;
        QTest::newRow("region ids unread")
            << QStringList{"South", "Ground", "Room", "3"} << "from tbl_region order by" << 2;
        QTest::newRow("floor ids unread")
            << QStringList{"North", "Upper", "Room", "3"} << "from tbl_floor order by" << 2;
        QTest::newRow("room ids unread") << bulk << "select room_id from tbl_room" << 2;
        QTest::newRow("light ids unread") << bulk << "select light_id from tbl_light" << 2;
        QTest::newRow("panel ids unread") << bulk << "select panel_id from tbl_panel" << 2;
    }

    void refusesIncompleteInput()
    {
        QFETCH(QStringList, input);
        QFETCH(QString, unread);
        QFETCH(int, step);
        // Two regions, floors and rooms with lights and panels; a template of four lights.
        QVERIFY(addTemplate(1, QStringLiteral("T")) && addRegion(1, "North") && addRegion(2, "East") &&
                addFloor(1, 1, "Ground") && addFloor(2, 2, "Ground") && addRoom(1, "Room1", 1, 1) &&
                addRoom(2, "Room2", 2, 2) && addPanel(1, 1, 1, 30) && addPanel(2, 2, 1, 31));
        for (int id = 1; id <= 4; ++id)
            QVERIFY(addLight({id < 3 ? 1 : 2, id}) && addTemplateLight(1, id, 1, "L") &&
                    addTemplatePanel(1, id, "P"));
        const QString tables = "tbl_region tbl_floor tbl_room tbl_light tbl_panel", before = counts(tables);
        RoomAddDlg dialog;
        dialog.show();
        QSignalSpy own(&dialog, &MyDialog::signalsInformation);
        StepFault::arm(unread, step);
        QVERIFY(!addRooms(dialog, input.at(0), input.at(1), input.at(2), input.at(3)));
        QCOMPARE(StepFault::fired(), !unread.isEmpty());
        QCOMPARE(own.size(), 1);
        QCOMPARE(own.at(0).at(0).toString(),
                 unread.isEmpty() ? "Please input the complete content!" : "Failed to add the rooms!");
        QVERIFY(dialog.isVisible());
        QCOMPARE(counts(tables), before);
    }

    // Names with quotes are stored as typed and change no other row; a failing
    // insert leaves no half-made room, region, floor or picture; rooms made from
    // a template with a user picture each get their own copy.
    void quotesAndFailures()
    {
        QVERIFY(addTemplate(1, QStringLiteral("Bob's template")));
        QVERIFY(addTemplatePanel(1, 1, QStringLiteral("x',panel_remark='y")));
        RoomAddDlg dialog;
        QVERIFY(addRooms(dialog, QStringLiteral("O'Hara"), QStringLiteral("1st 'floor'"),
                         QStringLiteral("x',icon_name='y")));
        QCOMPARE(rows(QStringLiteral("select room_name,icon_name from tbl_room")),
                 QStringList{"x',icon_name='y|room_1"});
        QCOMPARE(rows(QStringLiteral("select panel_remark from tbl_panel")),
                 QStringList{"x',panel_remark='y"});
        RoomAddDlg second;
        QVERIFY(addRooms(second, QStringLiteral("O'Hara"), QStringLiteral("1st 'floor'"),
                         QStringLiteral("Bob's room")));
        QCOMPARE(counts("tbl_region tbl_floor"), QStringLiteral("1 1"));

        // The template's picture is the user's: each room gets its own copy.
        QVERIFY(QImage(8, 8, QImage::Format_RGB32).save(m_project.projectDir() + "/photo_Template_1.png"));
        QVERIFY(
            exec(QStringLiteral("update tbl_room_template set room_template_icon_name='photo_Template_1'")));
        QVERIFY(exec(QStringLiteral("create trigger refuse before insert on tbl_panel "
                                    "begin select raise(abort,'refused'); end")));
        RoomAddDlg failing;
        failing.show();
        QSignalSpy own(&failing, &MyDialog::signalsInformation);
        QVERIFY(!addRooms(failing, QStringLiteral("New"), QStringLiteral("F"), QStringLiteral("Room"),
                          QStringLiteral("3")));
        QCOMPARE(own.size(), 1);
        QCOMPARE(counts("tbl_region tbl_floor tbl_room tbl_light"), QStringLiteral("1 1 2 0"));
        QVERIFY(!QFile::exists(m_project.projectDir() + "/photo_Room_3.png"));
        QVERIFY(exec(QStringLiteral("drop trigger refuse")));

        RoomAddDlg pictured;
        QVERIFY(addRooms(pictured, QStringLiteral("New"), QStringLiteral("F"), QStringLiteral("Room"),
                         QStringLiteral("2")));
        QCOMPARE(rows(QStringLiteral("select icon_name from tbl_room where room_id>2 order by room_id")),
                 (QStringList{"photo_Room_3", "photo_Room_4"}));
        QVERIFY(!QImage(m_project.projectDir() + "/photo_Room_3.png").isNull());
        removeRoom(3); // only that room's copy goes
        QVERIFY(!QFile::exists(m_project.projectDir() + "/photo_Room_3.png"));
        QVERIFY(QFile::exists(m_project.projectDir() + "/photo_Room_4.png"));
        // An unreadable template picture: no copy, and no row naming one.
        QVERIFY(varnotest::writeUnreadablePicture(m_project.projectDir() + "/photo_Template_1.png"));
        QSignalSpy hub(&gl_socket, &BroadcastSocket::signalsInformation);
        RoomAddDlg unreadable;
        QVERIFY(addRooms(unreadable, QStringLiteral("New"), QStringLiteral("F"), QStringLiteral("Other")));
        QCOMPARE(value(QStringLiteral("select icon_name from tbl_room where room_id=3")).toString(),
                 QStringLiteral("photo_Template_1"));
        QVERIFY(!QFile::exists(m_project.projectDir() + "/photo_Room_3.png"));
        QCOMPARE(hub.size(), 1);
        // A name reaching out of the project's folder is read from nowhere: no copy of
        // the picture it names, and the rooms show no picture, as for an unreadable one.
        QVERIFY(QImage(8, 8, QImage::Format_RGB32).save(gl_curPath + "/photo.png"));
        QVERIFY(exec("update tbl_room_template set room_template_icon_name='../../photo.png'"));
        const QStringList pictures = QDir(m_project.projectDir()).entryList({"*.png"});
        RoomAddDlg outside;
        QVERIFY(addRooms(outside, QStringLiteral("New"), QStringLiteral("F"), QStringLiteral("Far"),
                         QStringLiteral("2")));
        QCOMPARE(QDir(m_project.projectDir()).entryList({"*.png"}), pictures);
        const QStringList icons = rows(QStringLiteral("select icon_name from tbl_room where room_id>4"));
        QCOMPARE(icons, (QStringList{"../../photo.png", "../../photo.png"}));
        QVERIFY(ManagerItem::picturePath(ManagerItemRoom, icons.first()).isEmpty());
        QCOMPARE(hub.size(), 2);
        // Each room gets the template's own bytes; one whose copy cannot be written
        // (a folder where it goes) shows the template's picture, the others keep theirs.
        const QString folder = m_project.projectDir();
        QVERIFY(QImage(8, 8, QImage::Format_RGB32).save(folder + "/photo_Template_1.png"));
        QVERIFY(exec("update tbl_room_template set room_template_icon_name='photo_Template_1'"));
        QVERIFY(QDir().mkdir(folder + "/photo_Room_8.png"));
        RoomAddDlg split;
        QVERIFY(addRooms(split, QStringLiteral("New"), QStringLiteral("F"), QStringLiteral("Split"),
                         QStringLiteral("2")));
        QCOMPARE(rows(QStringLiteral("select icon_name from tbl_room where room_id>6 order by room_id")),
                 (QStringList{"photo_Room_7", "photo_Template_1"}));
        const auto bytes = [&folder](const char *file) {
            QFile f(folder + file);
            return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
        };
        QCOMPARE(bytes("/photo_Room_7.png"), bytes("/photo_Template_1.png"));
        QCOMPARE(hub.size(), 3);
    }

    void bulkPictures_data()
    {
        QTest::addColumn<bool>("linksRefused");
        QTest::addColumn<bool>("commitFails");
        QTest::newRow("hard links") << false << false;
        QTest::newRow("links refused: copies") << true << false;
        QTest::newRow("hard links, the commit fails") << false << true;
        QTest::newRow("copies, the commit fails") << true << true;
    }

    // Each room's own file is made with the window running, whole when the rows
    // naming it commit; a room with no file of its own shows the template's picture,
    // and each deletion and each new picture touches that room's file alone. When the
    // add's commit fails, the rooms' files go and the template's, named by room 3, stays.
    void bulkPictures()
    {
        QFETCH(bool, linksRefused);
        QFETCH(bool, commitFails);
        const QString folder = m_project.projectDir() + "/", templateFile = folder + "photo_Template_1.png";
        for (const QString &file : QDir(folder).entryList({"*.png"}, QDir::Files | QDir::Hidden))
            QVERIFY(QFile::remove(folder + file)); // other tests' pictures
        QVERIFY(addTemplate(1, "T", "photo_Template_1"));
        QVERIFY(QImage(8, 8, QImage::Format_RGB32).save(templateFile));
        const QByteArray picture = readPictureBytes(templateFile);
        QVERIFY(QDir().mkdir(folder + "photo_Room_3.png")); // room 3's file cannot go there
        // Room 2's file left by an add that ended before its commit, a link to the template's.
        QVERIFY(::link(QFile::encodeName(templateFile), QFile::encodeName(folder + "photo_Room_2.png")) == 0);
        g_refuseLinks = linksRefused;
        g_held = false;
        g_windowRan.acquire(g_windowRan.available());
        RoomAdder::setLinkCall(&linkOnceTheWindowRan);
        QTimer::singleShot(0, [] { g_windowRan.release(); });
        QSignalSpy hub(&gl_socket, &BroadcastSocket::signalsInformation);
        if (commitFails) {
            StepFault::arm("COMMIT", 1);
            RoomAddDlg dialog;
            const bool added = addRooms(dialog, "R", "F", "Room", "3");
            RoomAdder::setLinkCall(nullptr);
            StepFault::disarm();
            QVERIFY(StepFault::fired() && !added);
            QCOMPARE(count("tbl_room"), 0);
            QCOMPARE(QDir(folder).entryList({"*.png"}, QDir::Files | QDir::Hidden).join(", "),
                     QStringLiteral("photo_Template_1.png"));
            QCOMPARE(readPictureBytes(templateFile), picture);
            return;
        }
        QVERIFY(gl_sqlite3db.beginTransaction()); // the add's commit is seen from within
        RoomAddDlg dialog;
        const bool added = addRooms(dialog, "R", "F", "Room", "3");
        RoomAdder::setLinkCall(nullptr);
        QStringList whole;
        for (const QString &icon : rows("select icon_name from tbl_room order by room_id"))
            whole << icon + (readPictureBytes(folder + icon + ".png") == picture ? "" : " not whole");
        QVERIFY(gl_sqlite3db.commitTransaction() && added);
        QVERIFY2(!g_held, "the window was held while the pictures were made");
        QCOMPARE(whole, (QStringList{"photo_Room_1", "photo_Room_2", "photo_Template_1"}));
        QCOMPARE(hub.size(), 1); // the fallback is said
        QCOMPARE(inode(folder + "photo_Room_1.png") == inode(templateFile), !linksRefused);
        // A new picture for room 1 and the deletions touch the rooms' own files alone.
        QVERIFY(writePictureBytes("new picture", folder + "photo_Room_1.png"));
        QVERIFY(removeRoom(3) && removeRoom(1));
        QCOMPARE(QDir(folder).entryList({"*.png"}, QDir::Files | QDir::Hidden),
                 (QStringList{"photo_Room_2.png", "photo_Template_1.png"}));
        QCOMPARE(readPictureBytes(folder + "photo_Room_2.png") + readPictureBytes(templateFile),
                 picture + picture);
    }

    // The list: order, names, the add tile's place, no template, deleting.
    void roomsManager()
    {
        PageSettingRoomManager page(QStringLiteral("Rooms Manager"), QStringLiteral("Rooms Manager"));
        page.updatelist();
        QCOMPARE(varnotest::tileTexts(page.tileBox()), QStringList{"0:0:"});
        QCOMPARE(addCell(page.tileBox()), QPoint(0, 0));

        // Without a template the add tile only says so.
        QSignalSpy hub(&gl_socket, &BroadcastSocket::signalsInformation);
        int dialogs = 0;
        varnotest::answerModal<QDialog>([](QDialog *d) { d->reject(); }, &dialogs);
        page.slotsEdit(ManagerItemAdd, 0);
        QCOMPARE(hub.size(), 1);
        QCOMPARE(hub.at(0).at(0).toString(), QStringLiteral("Please add room template!"));
        StepFault::arm(QStringLiteral("select id from tbl_room_template"), 1);
        page.slotsEdit(ManagerItemAdd, 0);
        QCOMPARE(hub.at(1).at(0).toString(), QStringLiteral("Failed to add the rooms!"));
        QCoreApplication::processEvents();
        QCOMPARE(dialogs, 0);

        QVERIFY(addRegion(2, QStringLiteral("South")) && addRegion(1, QStringLiteral("North")));
        QVERIFY(addFloor(1, 1, QStringLiteral("Ground")) && addFloor(2, 2, QStringLiteral("First")));
        QVERIFY(addRoom(5, QStringLiteral("Lounge"), 2, 2) &&
                addRoom(4, QStringLiteral("Bob's room"), 1, 1));
        QVERIFY(addRoom(1, QStringLiteral("Kitchen"), 1, 1) && addRoom(3, QStringLiteral("Attic"), 1, 7));
        QVERIFY(addRoom(2, QStringLiteral("Hall"), 2, 2));
        page.updatelist();
        QCOMPARE(varnotest::tileTexts(page.tileBox()),
                 (QStringList{"2:1:North-Ground-Kitchen", "2:4:North-Ground-Bob's room", "2:3:North--Attic",
                              "2:2:South-First-Hall", "2:5:South-First-Lounge", "0:0:"}));
        QVERIFY(addRoom(6, QStringLiteral("Bath"), 2, 2));
        page.updatelist();
        QCOMPARE(addCell(page.tileBox()), QPoint(0, 1));
        QTRY_COMPARE(page.tileBox()->findChildren<ManagerItem *>().size(), 7);

        QSignalSpy requests(&gl_socket, &BroadcastSocket::signalsPageIdChanged);
        page.slotsEdit(ManagerItemRoom, 4);
        QCOMPARE(requests.at(0), (QVariantList{"Edit Room", "Edit Room", "4", "1"}));

        // Deleting: Cancel keeps all; Ok takes the room and, with its last room, the floor and region.
        QVERIFY(addLight({2, 1}));
        QVERIFY(addPanel(2, 1, 1, 9));
        answerBox(false);
        page.slotsDelete(ManagerItemRoom, 2);
        QCOMPARE(count(QStringLiteral("tbl_room")), 6);
        QSignalSpy removed(&gl_socket, &BroadcastSocket::signalsRemoveMessage);
        for (int room : {2, 5, 6, 4}) {
            answerBox(true);
            page.slotsDelete(ManagerItemRoom, room);
        }
        QCOMPARE(removed.size(), 4);
        QCOMPARE(removed.at(0), (QVariantList{2, 1}));
        QCOMPARE(count(QStringLiteral("tbl_light")) + count(QStringLiteral("tbl_panel")), 0);
        QCOMPARE(rows(QStringLiteral("select region_name from tbl_region")), QStringList{"North"});
        QCOMPARE(rows(QStringLiteral("select floor_name from tbl_floor")), QStringList{"Ground"});
        page.slotsDelete(ManagerItemRoom, 99); // gone already: no question
        QCOMPARE(varnotest::tileTexts(page.tileBox()),
                 (QStringList{"2:1:North-Ground-Kitchen", "2:3:North--Attic", "0:0:"}));
    }

    void templates()
    {
        PageSettingRoomTemplate page(QStringLiteral("Room Template"), QStringLiteral("Room Template"));
        for (const QString &name : {QStringLiteral("A"), QStringLiteral("Bob's"), QStringLiteral("C")}) {
            varnotest::answerModal<RoomTemplateAddDlg>([name](RoomTemplateAddDlg *dialog) {
                QSignalSpy own(dialog, &MyDialog::signalsInformation);
                dialog->pushButtonAdd->click(); // empty: refused, still open
                QCOMPARE(own.size(), 1);
                dialog->lineEditName->setText(name);
                dialog->pushButtonAdd->click();
            });
            page.slotsEdit(ManagerItemAdd, 0);
        }
        QCOMPARE(varnotest::tileTexts(page.tileBox()), (QStringList{"1:1:A", "1:2:Bob's", "1:3:C", "0:0:"}));
        QStringList icons = rows(QStringLiteral("select room_template_icon_name from tbl_room_template"));
        icons.removeDuplicates();
        QCOMPARE(icons, QStringList{"room_1"});

        // Rooms of template 2 and of template 1, each with everything a room has.
        QVERIFY(addTemplateLight(2, 1, 1, QStringLiteral("L")) &&
                addTemplatePanel(2, 1, QStringLiteral("P")));
        for (int t : {2, 1, 2}) {
            RoomAddDlg dialog;
            dialog.comboBoxTemplate->setCurrentIndex(dialog.comboBoxTemplate->findData(t));
            QVERIFY(addRooms(dialog, QStringLiteral("R"), QStringLiteral("F"), QStringLiteral("Room")));
        }
        for (int room : {1, 3})
            QVERIFY(QImage(4, 4, QImage::Format_RGB32)
                        .save(m_project.projectDir() + QStringLiteral("/photo_Room_%1.png").arg(room)));
        QVERIFY(QImage(4, 4, QImage::Format_RGB32).save(m_project.projectDir() + "/photo_Template_2.png"));

        // A failure inside the removal of one room undoes all of it.
        QVERIFY(exec(QStringLiteral("create trigger keep before delete on tbl_room_template "
                                    "begin select raise(abort,'kept'); end")));
        QVERIFY(!PageSettingRoomTemplate::removeTemplate(2));
        QCOMPARE(count(QStringLiteral("tbl_room")), 3);
        QVERIFY(QFile::exists(m_project.projectDir() + "/photo_Room_1.png"));
        QVERIFY(exec(QStringLiteral("drop trigger keep")));
        // So does a failed read of its rooms: no room outlives its template.
        StepFault::arm("select room_id from tbl_room where room_template_id", 2);
        QVERIFY(!PageSettingRoomTemplate::removeTemplate(2));
        QVERIFY(StepFault::fired());
        QCOMPARE(counts("tbl_room tbl_room_template"), QStringLiteral("3 3"));

        answerBox(false);
        page.slotsDelete(ManagerItemRoomTemplate, 2);
        QCOMPARE(count(QStringLiteral("tbl_room_template")), 3);
        answerBox(true);
        page.slotsDelete(ManagerItemRoomTemplate, 2);
        QCOMPARE(rows(QStringLiteral("select room_id,room_template_id from tbl_room")), QStringList{"2|1"});
        QCOMPARE(counts("tbl_template_light tbl_template_panel tbl_light tbl_panel"),
                 QStringLiteral("0 0 0 0"));
        for (const char *file : {"/photo_Room_1.png", "/photo_Room_3.png", "/photo_Template_2.png"})
            QVERIFY2(!QFile::exists(m_project.projectDir() + file), file);
        QCOMPARE(varnotest::tileTexts(page.tileBox()), (QStringList{"1:1:A", "1:3:C", "0:0:"}));

        // The freed id is given to the next template.
        varnotest::answerModal<RoomTemplateAddDlg>([](RoomTemplateAddDlg *dialog) {
            dialog->lineEditName->setText(QStringLiteral("D"));
            dialog->pushButtonAdd->click();
        });
        page.slotsEdit(ManagerItemAdd, 0);
        QCOMPARE(
            rows(QStringLiteral("select room_template_name,room_template_icon_name from tbl_room_template "
                                "where room_template_id=2")),
            QStringList{"D|room_1"});
    }

private:
    varnotest::ProjectFolder m_project;
};

VARNO_TEST_MAIN(TestRooms)
#include "tst_rooms.moc"
