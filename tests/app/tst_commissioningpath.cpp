// End to end: the installer's path through the real main window, on a project in
// a temporary application folder that also holds a copy of the program. Unlock the
// settings, "Setting" -> "Room Template": add a template; "Rooms Manager": add
// three rooms in bulk, open one, add a light on its "Lighting" tab and save. The
// database holds what the pages showed, "Home" and "Rooms" show the rooms, and the
// copied program starts on the commissioned project.

#include "testmain.h"

#include "modalanswer.h"
#include "roomproject.h"
#include "tilelist.h"

#include "app/mainwindow.h"
#include "bus/broadcastsocket.h"
#include "commissioning/pagesettingroommanager.h"
#include "commissioning/pagesettingroommanageredit.h"
#include "commissioning/pagesettingroommanagerlighting.h"
#include "commissioning/pagesettingroommanagerlightinginformation.h"
#include "commissioning/pagesettingroomtemplate.h"
#include "commissioning/roomadddlg.h"
#include "commissioning/roomtemplateadddlg.h"
#include "operation/pagerooms.h"
#include "settings/pagesetting.h"
#include "shell/homemanageritem.h"
#include "shell/manageritem.h"
#include "shell/menubar.h"
#include "shell/pagehome.h"
#include "shell/settingitem.h"
#include "shell/unlockdlg.h"
#include "store/projectlist.h"
#include "store/startupconfig.h"

#include <QGridLayout>
#include <QProcess>
#include <QtTest>
#include <qtmaterialcheckbox.h>
#include <qtmaterialcombobox.h>
#include <qtmaterialflatbutton.h>
#include <qtmaterialgroupbox.h>
#include <qtmateriallineedit.h>

using namespace roomproject;

namespace {

MainWindow *g_window = nullptr;

template <typename Page> Page *shown()
{
    for (MyDialog *page : g_window->pages()) {
        if (page->isVisible())
            return qobject_cast<Page *>(page);
    }
    return nullptr;
}

using varnotest::gridTiles;

QStringList names(QWidget *box)
{
    QStringList out;
    for (ManagerItem *tile : gridTiles(box))
        out.append(tile->getName());
    return out;
}

void open(const QString &id)
{
    emit gl_socket.signalsPageIdChanged(id, id, QString(), QString());
}

} // namespace

class TestCommissioningPath : public QObject
{
    Q_OBJECT

    QTemporaryDir m_root;
    QScopedPointer<MainWindow> m_window;

private slots:
    void initTestCase()
    {
        if (qEnvironmentVariable("VARNO_NETNS") != QLatin1String("1"))
            QSKIP("the main window opens the bus: run inside the private network namespace of ./test");
        QVERIFY(QDir().mkpath(m_root.filePath(QStringLiteral("app"))));
        QVERIFY(QFile::copy(QStringLiteral(VARNO_EXECUTABLE), m_root.filePath(QStringLiteral("app/varno"))));
        initConfig(m_root.filePath(QStringLiteral("app")));
        gl_curPath = m_root.filePath(QStringLiteral("app"));
        screen_cx = 1920;
        screen_cy = 1080;
        preInitProject();
        m_window.reset(g_window = new MainWindow(nullptr));
    }

    void cleanupTestCase()
    {
        m_window.reset();
        gl_socket.closeSocket();
        gl_sqlite3db.close();
    }

    void commissionsRooms()
    {
        varnotest::answerModal<UnlockDlg>([](UnlockDlg *dialog) {
            dialog->passwordField()->setText(gl_lockPassword);
            dialog->pushButtonOk_clicked();
            if (dialog->isVisible())
                dialog->close(); // a wrong password fails below, not by a hang
        });
        QVERIFY(QMetaObject::invokeMethod(m_window->menuBar(), "labelSetting_pressed"));
        auto pressHubTile = [](const QString &id) {
            for (SettingItem *tile : shown<PageSetting>()->findChildren<SettingItem *>()) {
                if (tile->getPageId() == id)
                    emit tile->signalsPressed();
            }
        };
        QVERIFY(shown<PageSetting>());
        pressHubTile(QStringLiteral("Room Template"));
        auto *templates = shown<PageSettingRoomTemplate>();
        QVERIFY(templates);
        varnotest::answerModal<RoomTemplateAddDlg>([](RoomTemplateAddDlg *dialog) {
            dialog->lineEditName->setText(QStringLiteral("Guest suite"));
            dialog->pushButtonAdd->click();
        });
        gridTiles(templates->tileBox()).last()->slotsPressed();
        QCOMPARE(names(templates->tileBox()), (QStringList{"Guest suite", ""}));
        QVERIFY(addTemplatePanel(1, 1, QStringLiteral("Door")));

        open(QStringLiteral("Setting"));
        pressHubTile(QStringLiteral("Rooms Manager"));
        auto *manager = shown<PageSettingRoomManager>();
        QVERIFY(manager);
        varnotest::answerModal<RoomAddDlg>([](RoomAddDlg *dialog) {
            dialog->comboBoxRegion->setCurrentText(QStringLiteral("North"));
            dialog->comboBoxFloor->setCurrentText(QStringLiteral("Ground"));
            dialog->lineEditRoomName->setText(QStringLiteral("Room"));
            dialog->checkBoxAddInBulk->setChecked(true);
            dialog->lineEditNumber->setText(QStringLiteral("3"));
            dialog->pushButtonAdd->click();
        });
        gridTiles(manager->tileBox()).last()->slotsPressed();
        const QStringList rooms{"North-Ground-Room", "North-Ground-Room1", "North-Ground-Room2"};
        QCOMPARE(names(manager->tileBox()), rooms + QStringList{""});

        gridTiles(manager->tileBox()).at(1)->slotsPressed();
        auto *editor = shown<PageSettingRoomManagerEdit>();
        QVERIFY(editor && editor->lightingTab()->isVisible());
        gridTiles(editor->lightingTab()->tileBox()).last()->slotsPressed();
        auto *info = shown<PageSettingRoomManagerLightingInformation>();
        QVERIFY(info);
        info->nameField()->setText(QStringLiteral("Desk"));
        const char *address[] = {"1", "30", "2"};
        for (int field = 0; field < 3; ++field)
            info->addressField(0, field)->setText(QLatin1String(address[field]));
        info->saveButton()->click();
        QCOMPARE(shown<PageSettingRoomManagerEdit>(), editor);
        QCOMPARE(names(editor->lightingTab()->tileBox()), (QStringList{"Desk", ""}));

        QCOMPARE(
            rows(QStringLiteral("select room_name,room_id,floor_id,region_id,room_template_id from tbl_room "
                                "order by room_id")),
            (QStringList{"Room|1|1|1|1", "Room1|2|1|1|1", "Room2|3|1|1|1"}));
        QCOMPARE(
            rows(QStringLiteral("select light_id,light_type,light_remark,subnet_id,device_id,channel,rgb,"
                                "room_id from tbl_light")),
            QStringList{"1|0|Desk|1|30|2|0|2"});
        QCOMPARE(rows(QStringLiteral("select panel_id,room_id from tbl_panel order by panel_id")),
                 (QStringList{"1|1", "2|2", "3|3"}));

        open(QStringLiteral("Home"));
        QCOMPARE(names(shown<PageHome>()->managerItem()->roomsBox()), rooms);
        open(QStringLiteral("Rooms"));
        QCOMPARE(names(shown<PageRooms>()->tileBox()), rooms);
    }

    // The copied program opens the commissioned project and draws its first screen.
    void copiedProgramStarts()
    {
        gl_sqlite3db.close();
        const QString shot = m_root.filePath(QStringLiteral("first.png"));
        QProcess varno;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("VARNO_SCREENSHOT"), shot);
        varno.setProcessEnvironment(env);
        varno.start(m_root.filePath(QStringLiteral("app/varno")), QStringList());
        QVERIFY(varno.waitForStarted(5000));
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(shot), 20000);
        varno.terminate();
        QVERIFY(varno.waitForFinished(5000));
        QVERIFY(!QImage(shot).isNull());
        QString project;
        getCurrentProject(project);
        gl_sqlite3db.setDbName(projectDatabasePath(project));
        gl_sqlite3db.open();
        QCOMPARE(value(QStringLiteral("select count(*) from tbl_room")).toInt(), 3);
    }
};

VARNO_TEST_MAIN(TestCommissioningPath)
#include "tst_commissioningpath.moc"
