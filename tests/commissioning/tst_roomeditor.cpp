// The room editor, its "Lighting" tab and the light information page, moved
// between as the main window does it, against a real project database.

#include "testmain.h"

#include "markingtranslator.h"
#include "modalanswer.h"
#include "pagenavigator.h"
#include "projectfixture.h"
#include "roomproject.h"
#include "slowpicture.h"
#include "stepfault.h"
#include "tilelist.h"
#include "unreadablepicture.h"

#include "shell/projectpicture.h"
#include "commissioning/pagesettingroommanager.h"
#include "commissioning/pagesettingroommanageredit.h"
#include "commissioning/pagesettingroommanagerlighting.h"
#include "commissioning/devicetiletab.h"
#include "commissioning/pagesettingroommanagerlightinginformation.h"
#include "commissioning/pagesettingroomtemplate.h"
#include "commissioning/pagesettingroomtemplateedit.h"
#include "commissioning/roomadddlg.h"
#include "shell/filedialogs.h"
#include "shell/iconstyledlg.h"
#include "shell/manageritem.h"
#include "store/filehelpers.h"
#include "store/roomremoval.h"

#include <QDir>
#include <QGridLayout>
#include <QImage>
#include <QImageReader>
#include <QRegularExpression>
#include <QtTest>
#include <qtmaterialcombobox.h>
#include <qtmaterialflatbutton.h>
#include <qtmaterialgroupbox.h>
#include <qtmateriallineedit.h>
#include <qtmaterialtabs.h>

using namespace roomproject;

namespace {

constexpr int Room = 1;

QStringList lightTiles(PageSettingRoomManagerLighting *tab)
{
    return varnotest::tileTexts(tab->tileBox()).replaceInStrings(QRegularExpression("^\\d+:"), QString());
}

QStringList lightRows(int lightId)
{
    return rows(QStringLiteral("select light_type,light_remark,subnet_id,device_id,channel,us_id,rgb "
                               "from tbl_light where light_id=%1 order by rgb")
                    .arg(lightId));
}

} // namespace

class TestRoomEditor : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        screen_cx = 1920;
        manager =
            new PageSettingRoomManager(QStringLiteral("Rooms Manager"), QStringLiteral("Rooms Manager"));
        editor = new PageSettingRoomManagerEdit(QStringLiteral("Edit Room"), QStringLiteral("Edit Room"));
        info = new PageSettingRoomManagerLightingInformation(QStringLiteral("Light Information"),
                                                             QStringLiteral("Light Information"));
        other = new MyDialog(QStringLiteral("Home"), QStringLiteral("Home"));
        templates = new PageSettingRoomTemplateEdit(QStringLiteral("Edit Template"),
                                                    QStringLiteral("Edit Template"));
        navigator = new PageNavigator({manager, editor, info, other, templates});
    }

    void cleanupTestCase()
    {
        delete navigator;
        for (MyDialog *page : QList<MyDialog *>{manager, editor, info, other, templates})
            delete page;
    }

    void init()
    {
        m_project.reset();
        QVERIFY(addRegion(1, QStringLiteral("North")) && addFloor(1, 1, QStringLiteral("Ground")));
        QVERIFY(addRoom(Room, QStringLiteral("Kitchen"), 1, 1));
        navigator->go(QStringLiteral("Edit Room"), QString::number(Room), QStringLiteral("1"));
        navigator->requests.clear();
    }

    void lightInformation_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("fields"); // sets 1 to 4, area, scene; "." for an empty field
        QTest::addColumn<QString>("stored"); // type|name|subnet|device|channel|us_id|rgb, rows by ";"
        const char *one = "1 2 3 . . . . . . . . . . .";
        const char *rgb = "1 2 3 1 2 4 1 2 5 1 2 . . .";
        QTest::newRow("On/Off") << 0 << one << "0|Lamp|1|2|3|0|0";
        QTest::newRow("Adjust") << 1 << one << "1|Lamp|1|2|3|0|0";
        QTest::newRow("HSB RGB") << 6 << one << "6|Lamp|1|2|3|0|0";
        QTest::newRow("Dali DT8") << 8 << one << "8|Lamp|1|2|3|0|0";
        QTest::newRow("Scene") << 7 << "1 2 . . . . . . . . . . 3 12"
                               << "7|Lamp|1|2|3|12|0";
        QTest::newRow("RGB, fourth set half")
            << 2 << rgb << "2|Lamp|1|2|3|0|1;2|Lamp|1|2|4|0|2;2|Lamp|1|2|5|0|3";
        QTest::newRow("RGB, four sets, 300 kept as 255")
            << 2 << "1 2 3 1 2 4 1 2 5 1 2 300 . ."
            << "2|Lamp|1|2|3|0|1;2|Lamp|1|2|4|0|2;2|Lamp|1|2|5|0|3;2|Lamp|1|2|255|0|4";
        // Opened again with its fourth set unread: a save then keeps every row.
        QTest::newRow("RGB, fourth set unread")
            << 2 << "1 2 3 1 2 4 1 2 5 1 2 6 . ."
            << "2|Lamp|1|2|3|0|1;2|Lamp|1|2|4|0|2;2|Lamp|1|2|5|0|3;2|Lamp|1|2|6|0|4";
        // Refusals: nothing stored.
        QTest::newRow("device below 1") << 0 << "1 -4 3 . . . . . . . . . . ."
                                        << "";
        QTest::newRow("channel 0") << 1 << "1 2 0 . . . . . . . . . . ."
                                   << "";
        QTest::newRow("scene without area") << 7 << "1 2 3 . . . . . . . . . . 12"
                                            << "";
        QTest::newRow("RGB without set 3 device") << 2 << "1 2 3 1 2 4 1 . 5 1 2 . . ."
                                                  << "";
    }

    // A new light from the add tile: saved as its type's rows, back to the
    // editor, and opened again with the same fields.
    void lightInformation()
    {
        QFETCH(int, type);
        QFETCH(QString, fields);
        QFETCH(QString, stored);
        QVERIFY(addLight({Room, 1}));
        editor->lightingTab()->slotsEdit(ManagerItemAdd, 0);
        editor->lightingTab()->slotsEdit(ManagerItemAdd, 0);
        QCOMPARE(navigator->requests, (QStringList{"Light Information 2 1", "Light Information 2 1"}));
        QVERIFY(info->isVisible());
        QCOMPARE(info->nameField()->text(), QString());
        QCOMPARE(info->pictureTile()->getIconName(), QStringLiteral("light_01_on"));

        QSignalSpy hub(&gl_socket, &BroadcastSocket::signalsInformation);
        info->nameField()->setText(QStringLiteral("Lamp"));
        info->typeChooser()->setCurrentIndex(info->typeChooser()->findData(type));
        QList<QtMaterialLineEdit *> edits;
        for (int set = 0; set < 4; ++set)
            for (int field = 0; field < 3; ++field)
                edits.append(info->addressField(set, field));
        edits << info->areaField() << info->sceneField();
        const QStringList texts = fields.replace(QLatin1Char('.'), QString()).split(QLatin1Char(' '));
        for (int i = 0; i < edits.size(); ++i)
            edits.at(i)->setText(texts.at(i));
        QCOMPARE(info->addressField(1, 0)->isVisibleTo(info), type == 2);
        QCOMPARE(info->areaField()->isVisibleTo(info), type == 7);
        QCOMPARE(info->addressField(0, 2)->isVisibleTo(info), type != 7);
        info->saveButton()->click();
        QCOMPARE(lightRows(2).join(QLatin1Char(';')), stored);
        if (stored.isEmpty()) {
            QCOMPARE(hub.size(), 1);
            QCOMPARE(hub.at(0).at(0).toString(), QStringLiteral("Please input the complete content!"));
            QVERIFY(info->isVisible());
            return;
        }
        QCOMPARE(navigator->requests.last(), QStringLiteral("Edit Room 1 0"));
        QVERIFY(editor->isVisible());
        QCOMPARE(editor->currentTab(), 0);
        QCOMPARE(lightTiles(editor->lightingTab()), (QStringList{"1:Lamp", "2:Lamp", "0:"}));

        const bool unread = QByteArray(QTest::currentDataTag()).endsWith("unread");
        StepFault::arm(QStringLiteral("and rgb=4"), unread ? 1 : 0);
        navigator->go(QStringLiteral("Light Information"), QStringLiteral("2"), QString::number(Room));
        QCOMPARE(StepFault::fired(), unread);
        if (unread) {
            QCOMPARE(hub.value(hub.size() - 1).value(0).toString(), "Failed to read the light!");
            info->saveButton()->click();
            QCOMPARE(lightRows(2).join(QLatin1Char(';')), stored);
            QCOMPARE(hub.value(hub.size() - 1).value(0).toString(), "Failed to save the light!");
            return;
        }
        QCOMPARE(info->typeChooser()->currentData().toInt(), type);
        for (int i = 0; i < edits.size(); ++i) {
            const QString expected =
                texts.at(i) == QLatin1String("300") ? QStringLiteral("255") : texts.at(i);
            // A half fourth set and a scene light's channel are not stored.
            if ((type == 2 && i >= 9 && stored.count(QLatin1Char(';')) == 2) || (type == 7 && i == 2))
                QCOMPARE(edits.at(i)->text(), QString());
            else
                QCOMPARE(edits.at(i)->text(), expected);
        }
    }

    // A device page opened from a tab other than the first returns with "0" to the
    // tab it was opened from; an entry with "1" goes back to the first tab.
    void tabKeptOnReturn_data()
    {
        QTest::addColumn<bool>("isTemplate");
        QTest::addColumn<int>("tab");
        QTest::addColumn<QString>("devicePage");
        QTest::newRow("room editor, AC") << false << 1 << "AC Information";
        QTest::newRow("room editor, Panel") << false << 5 << "Panel Information";
        QTest::newRow("template editor, Panel") << true << 1 << "Template Panel Information";
    }
    void tabKeptOnReturn()
    {
        QFETCH(bool, isTemplate);
        QFETCH(int, tab);
        QFETCH(QString, devicePage);
        QVERIFY(addTemplate(1, QStringLiteral("Suite")));
        PageSettingRoomManagerEdit *page = isTemplate ? templates : editor;
        auto shows = [page](int index) {
            for (int i = 0; i < page->tabCount(); ++i)
                if (page->tabPage(i)->isVisible() != (i == index))
                    return false;
            return page->currentTab() == index && page->tabBar()->currentIndex() == index;
        };
        navigator->go(page->getId(), QStringLiteral("1"), QStringLiteral("1"));
        QVERIFY(shows(0));
        page->tabBar()->setCurrentIndex(tab);
        QVERIFY(shows(tab));

        navigator->requests.clear();
        qobject_cast<DeviceTileTab *>(page->tabPage(tab))->slotsEdit(ManagerItemAdd, 0);
        QCOMPARE(navigator->requests.size(), 1);
        QVERIFY(navigator->requests.first().startsWith(devicePage + QLatin1Char(' ')));
        QVERIFY(!page->isVisible());
        navigator->go(page->getId(), QStringLiteral("1"), QStringLiteral("0"));
        QVERIFY(shows(tab));

        navigator->go(QStringLiteral("Home"));
        navigator->go(page->getId(), QStringLiteral("1"), QStringLiteral("1"));
        QVERIFY(shows(0));
    }

    // Re-saving replaces every row; a failing insert keeps the old ones.
    void resaveAndFailure()
    {
        for (int rgb = 1; rgb <= 4; ++rgb)
            QVERIFY(addLight({Room, 3, 2, QStringLiteral("Strip"), 1, 20, rgb, 0, rgb}));
        QVERIFY(
            exec(QStringLiteral("insert into tbl_3d_view_light(light_id,xp1,yp1,room_id) values(3,5,5,1)")));
        QVERIFY(exec(
            QStringLiteral("insert into tbl_mood_light_status(mood_id,light_id,room_id) values(1,3,1)")));
        editor->lightingTab()->updatelist(Room);
        QCOMPARE(lightTiles(editor->lightingTab()), (QStringList{"3:Strip", "0:"}));

        editor->lightingTab()->slotsEdit(ManagerItemLight, 3);
        QCOMPARE(info->addressField(3, 2)->text(), QStringLiteral("4"));
        info->typeChooser()->setCurrentIndex(0);
        info->addressField(0, 0)->setText(QStringLiteral("9999999999"));
        QCOMPARE(info->addressField(0, 0)->text(), QStringLiteral("255"));
        QVERIFY(exec(QStringLiteral("create trigger refuse before insert on tbl_light "
                                    "begin select raise(abort,'refused'); end")));
        info->saveButton()->click();
        QCOMPARE(lightRows(3).size(), 4);
        QVERIFY(info->isVisible());
        QVERIFY(exec(QStringLiteral("drop trigger refuse")));
        info->saveButton()->click();
        QCOMPARE(lightRows(3), QStringList{"0|Strip|255|20|1|0|0"});

        // Deleting takes the light and its 3-D position, not its mood snapshot.
        editor->lightingTab()->slotsDelete(ManagerItemLight, 3);
        QCOMPARE(lightRows(3), QStringList());
        QCOMPARE(value(QStringLiteral("select count(*) from tbl_3d_view_light")).toInt(), 0);
        QCOMPARE(value(QStringLiteral("select count(*) from tbl_mood_light_status")).toInt(), 1);
        QCOMPARE(lightTiles(editor->lightingTab()), QStringList{"0:"});
    }

    // Name and picture are written whenever the editor is left, its own light
    // page included; an empty name too; quotes as typed.
    void savesOnLeave()
    {
        editor->nameField()->setText(QStringLiteral("Bob's room"));
        editor->lightingTab()->slotsEdit(ManagerItemAdd, 0);
        QCOMPARE(value(QStringLiteral("select room_name from tbl_room")).toString(),
                 QStringLiteral("Bob's room"));
        navigator->go(QStringLiteral("Edit Room"), QString::number(Room), QStringLiteral("0"));
        QCOMPARE(editor->nameField()->text(), QStringLiteral("Bob's room"));
        editor->nameField()->setText(QStringLiteral("x',icon_name='y"));
        navigator->go(QStringLiteral("Home"));
        QCOMPARE(rows(QStringLiteral("select room_name,icon_name from tbl_room")),
                 QStringList{"x',icon_name='y|room_1"});
        navigator->go(QStringLiteral("Edit Room"), QString::number(Room), QStringLiteral("1"));
        editor->nameField()->clear();
        navigator->go(QStringLiteral("Home"));
        QCOMPARE(value(QStringLiteral("select room_name from tbl_room")).toString(), QString());
        // Entered without its row read: leaving writes nothing over it, and says so.
        QVERIFY(exec(QStringLiteral("update tbl_room set room_name='Kept'")));
        StepFault::arm(QStringLiteral("select * from tbl_room where room_id"), 1);
        QSignalSpy entry(&gl_socket, &BroadcastSocket::signalsInformation);
        navigator->go(QStringLiteral("Edit Room"), QString::number(Room), QStringLiteral("1"));
        QVERIFY(StepFault::fired());
        QSignalSpy hub(&gl_socket, &BroadcastSocket::signalsInformation);
        navigator->go(QStringLiteral("Home"));
        QCOMPARE(value(QStringLiteral("select room_name from tbl_room")).toString(), QStringLiteral("Kept"));
        QCOMPARE(hub.value(0).value(0).toString(), QStringLiteral("Failed to save the room!"));
        QCOMPARE(entry.value(0).value(0).toString(), QStringLiteral("Failed to read the room!"));
    }

    // Gallery pictures: written at once as PNG; a picture that cannot be read or
    // written, or a missing project folder, changes nothing and says so.
    void galleryPicture()
    {
        QTemporaryDir sources;
        const QString jpeg = sources.filePath(QStringLiteral("photo.jpg"));
        QImage image(40, 20, QImage::Format_RGB32);
        image.fill(QColor(200, 30, 30));
        QVERIFY(image.save(jpeg, "JPG"));
        const QString unreadable = sources.filePath(QStringLiteral("broken.png"));
        QVERIFY(varnotest::writeUnreadablePicture(unreadable));
        const QString target = m_project.projectDir() + QStringLiteral("/photo_Room_1.png");

        QString answer;
        answerFileDialogsWith(
            [&answer](FileDialogKind, const QString &, const QString &) { return answer; });
        int styles = 0; // style dialogs answered
        auto pick = [this, &answer, &styles](const QString &file, bool wait = true) {
            answer = file;
            varnotest::answerModal<IconStyleDlg>([](IconStyleDlg *d) { d->slotsIconStyleChanged(1); },
                                                 &styles);
            editor->labelModifyRoomIcon_pressed();
            if (wait)
                QTRY_COMPARE_WITH_TIMEOUT(PictureWriter::running(), 0, 10000);
        };
        QSignalSpy hub(&gl_socket, &BroadcastSocket::signalsInformation);

        // The picture is written by a worker: the tile changes once the file is whole,
        // and no other picture is chosen meanwhile.
        const QString before = editor->pictureTile()->getIconName();
        pick(jpeg, false);
        QVERIFY(editor->pictureWriter()->isBusy());
        QCOMPARE(editor->pictureTile()->getIconName(), before);
        pick(unreadable, false);
        QTRY_COMPARE_WITH_TIMEOUT(PictureWriter::running(), 0, 10000);
        QCOMPARE(styles, 1);
        QCOMPARE(editor->pictureTile()->getIconName(), QStringLiteral("photo_Room_1"));
        QCOMPARE(QImageReader(target).format(), QByteArray("png"));
        QCOMPARE(QImage(target).size(), QSize(40, 20));
        QCOMPARE(hub.size(), 0);
        navigator->go(QStringLiteral("Home"));
        QCOMPARE(value(QStringLiteral("select icon_name from tbl_room")).toString(),
                 QStringLiteral("photo_Room_1"));

        navigator->go(QStringLiteral("Edit Room"), QString::number(Room), QStringLiteral("1"));
        editor->pictureTile()->setIconName(QStringLiteral("room_7"));
        pick(unreadable);
        QCOMPARE(editor->pictureTile()->getIconName(), QStringLiteral("room_7"));
        QCOMPARE(QImage(target).size(), QSize(40, 20));
        QCOMPARE(hub.size(), 1);

        QVERIFY(QFile::remove(target) && QDir().mkdir(target)); // a folder where the file should go
        pick(jpeg);
        QCOMPARE(editor->pictureTile()->getIconName(), QStringLiteral("room_7"));
        QCOMPARE(hub.size(), 2);
        QVERIFY(QDir().rmdir(target));

        const QString folder = m_project.projectDir();
        QVERIFY(QDir().rename(folder, folder + QStringLiteral(".away")));
        pick(jpeg);
        QVERIFY(QDir().rename(folder + QStringLiteral(".away"), folder));
        QCOMPARE(hub.size(), 3);
        QCOMPARE(hub.at(2).at(0).toString(),
                 QStringLiteral("Lose the dir named Home,please reboot the application!"));
        QCOMPARE(editor->pictureTile()->getIconName(), QStringLiteral("room_7"));
        QVERIFY(!QFile::exists(target));
        answerFileDialogsWith({});
    }

    // Left while the chosen picture is still written: the row takes the picture's name once
    // its file is whole; a failed or dropped write keeps the earlier name. A room removed
    // meanwhile takes its write along: a new room in its id keeps its own picture; so does a
    // template. A removal of another picture, or of one of the same name in another project
    // (each numbers its rooms from 1), leaves the write.
    void leftWhileWritten_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("arrives");
        QTest::addColumn<QString>("said"); // how the hub's message starts; none: the photo is taken
        QTest::newRow("room: a photo") << "Room" << "photo" << "";
        QTest::newRow("template: a photo") << "Template" << "photo" << "";
        QTest::newRow("room: not a picture") << "Room" << "text" << "Cannot read the picture ";
        QTest::newRow("room: project changed") << "Room" << "switch" << "The picture was not stored: ";
        QTest::newRow("room: removed, a new room in its id") << "Room" << "replaced" << "";
        QTest::newRow("template: removed") << "Template" << "Home: template 1 removed" << "";
        QTest::newRow("room: another room removed") << "Room" << "Home: room 2 removed" << "";
        QTest::newRow("template: room 1 removed") << "Template" << "Home: room 1 removed" << "";
        QTest::newRow("room: room 1 of another project removed") << "Room" << "Second: room 1 removed" << "";
        // Deleted from "Second"; a new "Home" with a room or template 1 and a picture of its own.
        QTest::newRow("room: its project deleted, a new one of its name") << "Room" << "Home deleted" << "";
        QTest::newRow("template: its project deleted, a new one of its name") << "Template" << "Home deleted" << "";
    }
    void leftWhileWritten()
    {
        QFETCH(QString, kind);
        QFETCH(QString, arrives);
        QFETCH(QString, said);
        PageSettingRoomManagerEdit *page = kind == "Room" ? editor : templates;
        const QString row = page == editor ? "select room_name||'|'||icon_name from tbl_room where room_id=1"
                                           : "select room_template_name||'|'||room_template_icon_name "
                                             "from tbl_room_template";
        QVERIFY(page == editor || addTemplate(1, QStringLiteral("Suite")));
        navigator->go("Edit " + kind, QStringLiteral("1"), QStringLiteral("1"));
        varnotest::SlowPicture source(m_project.path() + "/arriving.png");
        const QString photo = "photo_" + kind + "_1", target = m_project.projectDir() + "/" + photo + ".png";
        QVERIFY(!QFile::exists(target) || QFile::remove(target));
        const QString earlier = page->pictureTile()->getIconName();
        source.choose([page] { page->labelModifyRoomIcon_pressed(); });
        QVERIFY(page->pictureWriter()->isBusy());
        QSignalSpy hub(&gl_socket, &BroadcastSocket::signalsInformation);
        page->nameField()->setText(QStringLiteral("Pantry"));
        navigator->go(QStringLiteral("Home"));
        QVERIFY(arrives != "switch" || setCurrentProject(QStringLiteral("Second")));
        const bool replaced = arrives == "replaced", gone = arrives.endsWith("template 1 removed");
        QVERIFY(!replaced ||
                (removeRoom(1) && addRoom(1, QStringLiteral("Annex"), 1, 1, QStringLiteral("room_3"))));
        if (arrives.contains(" removed")) { // in "<project>: <room|template> <id> removed", then back
            const QString project = arrives.section(':', 0, 0), id = arrives.section(' ', 2, 2);
            QVERIFY(varnotest::ProjectFolder::open(project) &&
                    addRoom(project == "Home" ? 2 : 1, QStringLiteral("Hall"), 1, 1));
            QVERIFY((gone ? PageSettingRoomTemplate::removeTemplate(id.toInt()) : removeRoom(id.toInt())) &&
                    varnotest::ProjectFolder::open("Home"));
        }
        const bool deleted = arrives == "Home deleted";
        const auto bytes = [&target] {
            QFile file(target);
            return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        };
        QByteArray own;
        if (deleted) {
            QVERIFY(varnotest::ProjectFolder::open("Second") && deleteProject("Home"));
            removeProjectFolder(projectFolder("Home"));
            QVERIFY(varnotest::ProjectFolder::open("Home") &&
                    (page == editor ? addRoom(1, "Annex", 1, 1, "room_3") : addTemplate(1, "Annex", "room_3")));
            QImage picture(8, 8, QImage::Format_RGB32);
            picture.fill(Qt::red);
            QVERIFY(picture.save(target));
            own = bytes();
        }
        QVERIFY(source.feed(arrives != "text"));
        QTRY_COMPARE_WITH_TIMEOUT(PictureWriter::running(), 0, 10000);
        QVERIFY(setCurrentProject(QStringLiteral("Home")));
        QCOMPARE(value(row).toString(), replaced || deleted ? QStringLiteral("Annex|room_3") : gone ? QString()
                                        : "Pantry|" + (said.isEmpty() ? photo : earlier));
        QCOMPARE(hub.size(), said.isEmpty() ? 0 : 1);
        QCOMPARE(hub.value(0).value(0).toString().left(said.size()), said);
        if (deleted) // the new project's own picture, byte for byte
            QCOMPARE(bytes(), own);
        else
            QCOMPARE(QImage(target).convertToFormat(QImage::Format_RGB32),
                     said.isEmpty() && !replaced && !gone ? source.photo() : QImage());
    }

    // With the user interface in another language, requests still name pages by
    // their ids: a room tile opens the editor, and leaving it saves.
    void translatedTitles()
    {
        varnotest::MarkedTexts marked;
        navigator->go(QStringLiteral("Rooms Manager"));
        varnotest::gridTiles(manager->tileBox()).first()->slotsPressed();
        QCOMPARE(navigator->requests.last(), QStringLiteral("Edit Room 1 1"));
        QVERIFY(editor->isVisible());
        QCOMPARE(editor->nameField()->text(), QStringLiteral("Kitchen"));
        editor->nameField()->setText(QStringLiteral("Pantry"));
        editor->lightingTab()->slotsEdit(ManagerItemAdd, 0);
        QCOMPARE(navigator->requests.last(), QStringLiteral("Light Information 1 1"));
        QVERIFY(info->isVisible());
        QCOMPARE(value(QStringLiteral("select room_name from tbl_room")).toString(),
                 QStringLiteral("Pantry"));
    }

    // The pages as a user sees them, at 1920 x 1080.
    void screenshots()
    {
        QVERIFY(addTemplate(1, QStringLiteral("Suite")));
        for (int room = 2; room <= 7; ++room)
            QVERIFY(addRoom(room, QStringLiteral("Room %1").arg(room), 1, 1,
                            QStringLiteral("room_%1").arg(room)));
        QVERIFY(addLight({Room, 1, 1, QStringLiteral("Ceiling")}));
        for (int rgb = 1; rgb <= 4; ++rgb)
            QVERIFY(addLight({Room, 2, 2, QStringLiteral("Strip"), 1, 21, rgb, 0, rgb}));
        QVERIFY(QDir().mkpath(QStringLiteral(VARNO_SCREENSHOT_DIR)));
        auto shoot = [](QWidget *widget, const QString &name) {
            QCoreApplication::processEvents();
            const QImage image = widget->grab().toImage();
            image.save(QStringLiteral(VARNO_SCREENSHOT_DIR "/") + name);
            return image;
        };
        manager->resize(1920, 1080);
        navigator->go(QStringLiteral("Rooms Manager"));
        QImage shot = shoot(manager, QStringLiteral("rooms-manager.png"));
        auto *grid = qobject_cast<QGridLayout *>(manager->tileBox()->layout());
        QWidget *add = grid->itemAt(grid->count() - 1)->widget();
        QCOMPARE(shot.pixelColor(add->mapTo(manager, QPoint(30, 30))), QColor(0x3D, 0x53, 0x66));

        RoomAddDlg dialog;
        dialog.show();
        shot = shoot(&dialog, QStringLiteral("add-room.png"));
        QCOMPARE(shot.size(), QSize(500, 500));
        QCOMPARE(shot.pixelColor(250, 480), QColor(0x1F, 0x29, 0x33));

        editor->resize(1920, 1080);
        navigator->go(QStringLiteral("Edit Room"), QString::number(Room), QStringLiteral("1"));
        shoot(editor, QStringLiteral("edit-room.png"));
        QCOMPARE(lightTiles(editor->lightingTab()), (QStringList{"1:Ceiling", "2:Strip", "0:"}));
        QVERIFY(editor->lightingTab()->isVisible());

        info->resize(1920, 1080);
        editor->lightingTab()->slotsEdit(ManagerItemLight, 2);
        shoot(info, QStringLiteral("light-information.png"));
        QVERIFY(info->addressField(3, 0)->isVisible());
        QCOMPARE(info->addressField(3, 1)->text(), QStringLiteral("21"));
    }

private:
    varnotest::ProjectFolder m_project;
    PageSettingRoomManager *manager = nullptr;
    PageSettingRoomManagerEdit *editor = nullptr;
    PageSettingRoomManagerLightingInformation *info = nullptr;
    MyDialog *other = nullptr;
    PageSettingRoomTemplateEdit *templates = nullptr;
    PageNavigator *navigator = nullptr;
};

VARNO_TEST_MAIN(TestRoomEditor)
#include "tst_roomeditor.moc"
