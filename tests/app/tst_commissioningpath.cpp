// End to end: the installer's path through the real main window, on a project in
// a temporary application folder that also holds a copy of the program. Unlock
// the settings, "Setting" -> "Room Template": add a template; "Rooms Manager":
// add three rooms in bulk, open one, add a light on its "Lighting" tab and save.
// The database holds what the pages showed, "Home" and "Rooms" show the rooms,
// and the copied program starts on the commissioned project.

#include "testmain.h"

#include "modalanswer.h"
#include "roomproject.h"

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

#include <QDir>
#include <QGridLayout>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>
#include <qtmaterialcheckbox.h>
#include <qtmaterialcombobox.h>
#include <qtmaterialflatbutton.h>
#include <qtmaterialgroupbox.h>
#include <qtmateriallineedit.h>

using namespace roomproject;

namespace {

template <typename Page> Page *shown(MainWindow *window)
{
    for (MyDialog *page : window->pages()) {
        if (page->isVisible())
            return qobject_cast<Page *>(page);
    }
    return nullptr;
}

QList<ManagerItem *> gridTiles(QWidget *box)
{
    QList<ManagerItem *> out;
    auto *grid = qobject_cast<QGridLayout *>(box->layout());
    for (int i = 0; grid && i < grid->count(); ++i) {
        if (auto *tile = qobject_cast<ManagerItem *>(grid->itemAt(i)->widget()))
            out.append(tile);
    }
    return out;
}

QStringList names(QWidget *box)
{
    QStringList out;
    for (ManagerItem *tile : gridTiles(box)) {
        if (tile->getType() != ManagerItemAdd)
            out.append(tile->getName());
    }
    return out;
}

ManagerItem *addTile(QWidget *box)
{
    const QList<ManagerItem *> tiles = gridTiles(box);
    return tiles.isEmpty() ? nullptr : tiles.last();
}

void pressHubTile(MainWindow *window, const QString &id)
{
    auto *hub = shown<PageSetting>(window);
    QVERIFY(hub);
    for (SettingItem *tile : hub->findChildren<SettingItem *>()) {
        if (tile->getPageId() == id) {
            emit tile->signalsPressed();
            return;
        }
    }
    QFAIL("no such hub tile");
}

} // namespace

class TestCommissioningPath : public QObject
{
    Q_OBJECT

    QTemporaryDir m_root;
    QString m_app;
    QScopedPointer<MainWindow> m_window;

private slots:
    void initTestCase()
    {
        if (qEnvironmentVariable("VARNO_NETNS") != QLatin1String("1"))
            QSKIP("the main window opens the bus: run inside the private network namespace of ./test");
        m_app = m_root.filePath(QStringLiteral("app"));
        QVERIFY(QDir().mkpath(m_app));
        QVERIFY(QFile::copy(QStringLiteral(VARNO_EXECUTABLE), m_app + QStringLiteral("/varno")));
        QFile::setPermissions(m_app + QStringLiteral("/varno"), QFile::ReadOwner | QFile::ExeOwner);
        initConfig(m_app);
        gl_curPath = m_app;
        screen_cx = 1920;
        screen_cy = 1080;
        preInitProject();
        m_window.reset(new MainWindow(nullptr));
    }

    void cleanupTestCase()
    {
        m_window.reset();
        gl_socket.closeSocket();
        gl_sqlite3db.close();
    }

    void commissionsRooms()
    {
        MainWindow *window = m_window.data();
        varnotest::answerModal<UnlockDlg>([](UnlockDlg *dialog) {
            dialog->passwordField()->setText(gl_lockPassword);
            dialog->pushButtonOk_clicked();
            if (dialog->isVisible())
                dialog->close(); // a wrong password fails the test below, not by a hang
        });
        QVERIFY(QMetaObject::invokeMethod(window->menuBar(), "labelSetting_pressed"));
        QVERIFY(window->menuBar()->isUnlocked());

        // A template.
        pressHubTile(window, QStringLiteral("Room Template"));
        auto *templates = shown<PageSettingRoomTemplate>(window);
        QVERIFY(templates);
        varnotest::answerModal<RoomTemplateAddDlg>([](RoomTemplateAddDlg *dialog) {
            dialog->lineEditName->setText(QStringLiteral("Guest suite"));
            dialog->pushButtonAdd->click();
        });
        addTile(templates->tileBox())->slotsPressed();
        QCOMPARE(names(templates->tileBox()), QStringList{"Guest suite"});
        QVERIFY(addTemplatePanel(1, 1, QStringLiteral("Door")));

        // Three rooms in bulk.
        emit gl_socket.signalsPageIdChanged(QStringLiteral("Setting"), QStringLiteral("Setting"), QString(),
                                            QString());
        pressHubTile(window, QStringLiteral("Rooms Manager"));
        auto *manager = shown<PageSettingRoomManager>(window);
        QVERIFY(manager);
        QCOMPARE(names(manager->tileBox()), QStringList());
        varnotest::answerModal<RoomAddDlg>([](RoomAddDlg *dialog) {
            dialog->comboBoxRegion->setCurrentText(QStringLiteral("North"));
            dialog->comboBoxFloor->setCurrentText(QStringLiteral("Ground"));
            dialog->lineEditRoomName->setText(QStringLiteral("Room"));
            dialog->checkBoxAddInBulk->setChecked(true);
            dialog->lineEditNumber->setText(QStringLiteral("3"));
            dialog->pushButtonAdd->click();
        });
        addTile(manager->tileBox())->slotsPressed();
        const QStringList rooms{"North-Ground-Room", "North-Ground-Room1", "North-Ground-Room2"};
        QCOMPARE(names(manager->tileBox()), rooms);

        // Open the second room and give it a light.
        gridTiles(manager->tileBox()).at(1)->slotsPressed();
        auto *editor = shown<PageSettingRoomManagerEdit>(window);
        QVERIFY(editor);
        QCOMPARE(editor->roomId(), 2);
        QVERIFY(editor->lightingTab()->isVisible());
        addTile(editor->lightingTab()->tileBox())->slotsPressed();
        auto *info = shown<PageSettingRoomManagerLightingInformation>(window);
        QVERIFY(info);
        info->nameField()->setText(QStringLiteral("Desk"));
        info->addressField(0, 0)->setText(QStringLiteral("1"));
        info->addressField(0, 1)->setText(QStringLiteral("30"));
        info->addressField(0, 2)->setText(QStringLiteral("2"));
        info->saveButton()->click();
        QCOMPARE(shown<PageSettingRoomManagerEdit>(window), editor);
        QCOMPARE(names(editor->lightingTab()->tileBox()), QStringList{"Desk"});

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

        // The operation side shows them.
        emit gl_socket.signalsPageIdChanged(QStringLiteral("Home"), QStringLiteral("Home"), QString(),
                                            QString());
        auto *home = shown<PageHome>(window);
        QVERIFY(home);
        QCOMPARE(names(home->managerItem()->roomsBox()), rooms);
        emit gl_socket.signalsPageIdChanged(QStringLiteral("Rooms"), QStringLiteral("Rooms"), QString(),
                                            QString());
        auto *operation = shown<PageRooms>(window);
        QVERIFY(operation);
        QCOMPARE(names(operation->tileBox()), rooms);
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
        varno.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        varno.start(m_app + QStringLiteral("/varno"), QStringList());
        QVERIFY(varno.waitForStarted(5000));
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(shot), 20000);
        varno.terminate();
        QVERIFY(varno.waitForFinished(5000));
        const QImage image(shot);
        QVERIFY(!image.isNull());
        // The database the program used is the one the pages wrote.
        QString project;
        getCurrentProject(project);
        gl_sqlite3db.setDbName(projectDatabasePath(project));
        gl_sqlite3db.open();
        QCOMPARE(value(QStringLiteral("select count(*) from tbl_room")).toInt(), 3);
    }
};

VARNO_TEST_MAIN(TestCommissioningPath)
#include "tst_commissioningpath.moc"
