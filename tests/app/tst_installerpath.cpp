// End to end: the installer's whole path through the real main window, then the
// operator's, on the "Local Network" style against simulated devices behind the
// veth pair. A template with an "RGB" light, a plain light and two panels is made
// through its pages; three rooms are added from it in bulk; one room gets its
// light addresses, an air conditioner driven by a panel, a floor-heating
// circuit, the occupation sensor, the master switch and a readdressed panel.
// The room's page then polls the devices at exactly those addresses, a click
// switches the light, and the readdressed panel's message shows with the room's
// name. Last, the copied program starts on the project.

#include "testmain.h"
#include "pathtest.h"

#include "modalanswer.h"
#include "roomproject.h"
#include "tilelist.h"
#include "vethpair.h"

#include "app/mainwindow.h"
#include "bus/broadcastsocket.h"
#include "commissioning/pagesettingroommanager.h"
#include "commissioning/pagesettingroommanageracinformation.h"
#include "commissioning/pagesettingroommanageredit.h"
#include "commissioning/pagesettingroommanagerfloorheatinformation.h"
#include "commissioning/pagesettingroommanagerlightinginformation.h"
#include "commissioning/pagesettingroommanageroccupation.h"
#include "commissioning/pagesettingroommanagerpanelinformation.h"
#include "commissioning/pagesettingroomtemplate.h"
#include "commissioning/pagesettingroomtemplateedit.h"
#include "commissioning/pagesettingroomtemplatelighting.h"
#include "commissioning/pagesettingroomtemplatelightinginformation.h"
#include "commissioning/pagesettingroomtemplatepanel.h"
#include "commissioning/pagesettingroomtemplatepanelinformation.h"
#include "commissioning/roomadddlg.h"
#include "commissioning/roomtemplateadddlg.h"
#include "operation/deviceitem.h"
#include "operation/pageroomoperate.h"
#include "operation/pageroomoperateac.h"
#include "operation/pageroomoperatedevices.h"
#include "operation/pageroomoperatefloorheat.h"
#include "operation/pageroomoperatelighting.h"
#include "operation/pagerooms.h"
#include "records/messagebar.h"
#include "records/messageitem.h"
#include "records/messagenames.h"
#include "shell/kestmessagebox.h"
#include "shell/refreshingctrl.h"
#include "store/projectlist.h"
#include "store/startupconfig.h"

#include <QProcess>
#include <QtTest>
#include <qtmaterialcheckbox.h>
#include <qtmaterialcombobox.h>
#include <qtmaterialflatbutton.h>
#include <qtmaterialgroupbox.h>
#include <qtmateriallineedit.h>
#include <qtmaterialradiobutton.h>
#include <qtmaterialtabs.h>

using namespace roomproject;
using varnotest::gridTiles;

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

void open(const QString &id, const QString &prm1 = QString(), const QString &prm2 = QString())
{
    emit gl_socket.signalsPageIdChanged(id, id, prm1, prm2);
}

// Presses the tile of the list named name (the add tile for an empty name).
void press(QWidget *box, const QString &name)
{
    for (ManagerItem *tile : gridTiles(box)) {
        if (tile->getName() == name)
            return tile->slotsPressed();
    }
    QFAIL(qPrintable(QStringLiteral("no tile %1").arg(name)));
}

void fill(const QList<QtMaterialLineEdit *> &fields, const QStringList &texts)
{
    for (int i = 0; i < fields.size(); ++i)
        fields.at(i)->setText(texts.value(i));
}

} // namespace

class TestInstallerPath : public QObject
{
    Q_OBJECT

    QTemporaryDir m_root;
    varnotest::VethPair m_veth;
    QProcess m_devices;
    QByteArray m_simOutput;
    QScopedPointer<MainWindow> m_window;

    QStringList simLines(const QString &prefix) const
    {
        return QString::fromLatin1(m_simOutput)
            .split(QLatin1Char('\n'))
            .filter(QRegularExpression("^" + prefix));
    }
    // "subnet/device" of every device a frame was sent to, broadcasts left out.
    QStringList polled() const
    {
        QSet<QString> targets;
        for (const QString &line : simLines("RX ")) {
            const QStringList bytes = line.section(QLatin1Char(' '), 2).split(QLatin1Char(' '));
            if (bytes.size() > 24 && bytes.at(23) != QLatin1String("ff"))
                targets.insert(QStringLiteral("%1/%2")
                                   .arg(bytes.at(23).toInt(nullptr, 16))
                                   .arg(bytes.at(24).toInt(nullptr, 16)));
        }
        QStringList out = targets.values();
        out.sort();
        return out;
    }
    void simCommand(const QString &command, const QString &answer)
    {
        const int before = simLines(answer).size();
        m_devices.write((command + QLatin1Char('\n')).toUtf8());
        QTRY_VERIFY_WITH_TIMEOUT(simLines(answer).size() > before, 5000);
    }

private slots:
    void initTestCase()
    {
        const QString why = m_veth.unavailable();
        if (!why.isEmpty())
            QSKIP(qPrintable(why));
        QVERIFY2(m_veth.setUp(), qPrintable(m_veth.error()));
        connect(&m_devices, &QProcess::readyReadStandardOutput, this,
                [this] { m_simOutput += m_devices.readAllStandardOutput(); });
        m_veth.startInDevices(
            m_devices, QStringLiteral(VARNO_SIMDEVICE_PATH),
            {"--udp",        "0.0.0.0:6000",  "--header-ip",  varnotest::VethPair::deviceAddress(),
             "--commands",   "--exit-on-eof", "--light",      "1/30/4",
             "--light",      "1/31/1",        "--light",      "1/51/1",
             "--ac-panel",   "1/40/1",        "--floor-heat", "1/42/2",
             "--occupation", "1/50/5",        "--panel",      "1/60",
             "--panel",      "1/61"});
        QVERIFY(m_devices.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(m_simOutput.contains("READY"), 5000);

        const QString app = m_root.filePath(QStringLiteral("app"));
        QVERIFY(QDir().mkpath(app));
        QVERIFY(QFile::copy(QStringLiteral(VARNO_EXECUTABLE), app + QStringLiteral("/varno")));
        initConfig(app);
        QVERIFY(varnotest::useApplicationFolder(app));
        QVERIFY(addRegion(1, "North") && addFloor(1, 1, "Ground"));
        QVERIFY(addMessage(1, 1, "Smoke", 3));
        m_window.reset(g_window = new MainWindow(nullptr));
        QVERIFY(varnotest::showLoggedIn(m_window.data()));
    }

    void cleanupTestCase()
    {
        m_window.reset();
        gl_socket.closeSocket();
        gl_sqlite3db.close();
        varnotest::endProcess(m_devices);
        m_veth.tearDown();
    }

    void makesATemplate()
    {
        open("Room Template");
        auto *list = shown<PageSettingRoomTemplate>();
        QVERIFY(list);
        varnotest::answerModal<RoomTemplateAddDlg>([](RoomTemplateAddDlg *dialog) {
            dialog->lineEditName->setText("Suite");
            dialog->pushButtonAdd->click();
        });
        press(list->tileBox(), QString());
        press(list->tileBox(), "Suite");
        auto *editor = shown<PageSettingRoomTemplateEdit>();
        QVERIFY(editor);
        for (const auto &light :
             {qMakePair(QStringLiteral("Strip"), 2), qMakePair(QStringLiteral("Lamp"), 0)}) {
            press(editor->templateLightingTab()->tileBox(), QString());
            auto *info = shown<PageSettingRoomTemplateLightingInformation>();
            QVERIFY(info);
            info->nameField()->setText(light.first);
            info->typeChooser()->setCurrentIndex(info->typeChooser()->findData(light.second));
            info->saveButton()->click();
            QCOMPARE(shown<PageSettingRoomTemplateEdit>(), editor);
        }
        editor->tabBar()->setCurrentIndex(1);
        for (const char *name : {"Door", "Bed"}) {
            press(editor->templatePanelTab()->tileBox(), QString());
            auto *info = shown<PageSettingRoomTemplatePanelInformation>();
            QVERIFY(info);
            info->nameField()->setText(name);
            info->saveButton()->click();
            QVERIFY(editor->templatePanelTab()->isVisible());
        }
        QCOMPARE(rows("select template_light_id,light_type,light_remark from tbl_template_light"),
                 (QStringList{"1|2|Strip", "2|0|Lamp"}));
        QCOMPARE(rows("select template_panel_id,panel_remark from tbl_template_panel"),
                 (QStringList{"1|Door", "2|Bed"}));
    }

    void commissionsARoom()
    {
        open("Rooms Manager");
        auto *manager = shown<PageSettingRoomManager>();
        QVERIFY(manager);
        varnotest::answerModal<RoomAddDlg>([](RoomAddDlg *dialog) {
            dialog->comboBoxRegion->setCurrentText("North");
            dialog->comboBoxFloor->setCurrentText("Ground");
            dialog->comboBoxTemplate->setCurrentText("Suite");
            dialog->lineEditRoomName->setText("Room");
            dialog->checkBoxAddInBulk->setChecked(true);
            dialog->lineEditNumber->setText("3");
            dialog->pushButtonAdd->click();
        });
        press(manager->tileBox(), QString());
        press(manager->tileBox(), "North-Ground-Room1");
        auto *editor = shown<PageSettingRoomManagerEdit>();
        QVERIFY(editor && editor->roomId() == 2);

        // The lights: the colour light on three channels of one module, the lamp alone.
        const QList<QPair<QString, QStringList>> lights{
            {"Strip", {"1", "30", "1", "1", "30", "2", "1", "30", "3"}}, {"Lamp", {"1", "31", "1"}}};
        for (const auto &light : lights) {
            press(editor->lightingTab()->tileBox(), light.first);
            auto *info = shown<PageSettingRoomManagerLightingInformation>();
            QVERIFY(info);
            for (int i = 0; i < light.second.size(); ++i)
                info->addressField(i / 3, i % 3)->setText(light.second.at(i));
            info->saveButton()->click();
            QCOMPARE(shown<PageSettingRoomManagerEdit>(), editor);
        }
        auto device = [editor](int tab) { return qobject_cast<DeviceTileTab *>(editor->tabPage(tab)); };
        editor->tabBar()->setCurrentIndex(1);
        press(device(1)->tileBox(), QString());
        auto *ac = shown<PageSettingRoomManagerACInformation>();
        QVERIFY(ac && ac->panelButton()->isChecked());
        fill({ac->nameField(), ac->numberField(0), ac->numberField(1), ac->numberField(2)},
             {"Ceiling AC", "1", "40", "1"});
        ac->saveButton()->click();
        editor->tabBar()->setCurrentIndex(2);
        press(device(2)->tileBox(), QString());
        auto *heat = shown<PageSettingRoomManagerFloorHeatInformation>();
        QVERIFY(heat);
        fill({heat->nameField(), heat->numberField(0), heat->numberField(1), heat->numberField(2)},
             {"Floor", "1", "42", "1"});
        heat->saveButton()->click();
        auto *occupation = qobject_cast<PageSettingRoomManagerOccupation *>(editor->tabPage(3));
        fill({occupation->field(0), occupation->field(1)}, {"1", "50"});
        auto *master = qobject_cast<PageSettingRoomManagerOccupation *>(editor->tabPage(4));
        fill({master->field(0), master->field(1), master->field(2)}, {"1", "51", "1"});

        // The door panel, copied from the template at 0/0, gets its address.
        editor->tabBar()->setCurrentIndex(5);
        press(device(5)->tileBox(), "Door");
        auto *panel = shown<PageSettingRoomManagerPanelInformation>();
        QVERIFY(panel);
        QCOMPARE(panel->subnetField()->text() + "/" + panel->deviceField()->text(), QStringLiteral("0/0"));
        fill({panel->subnetField(), panel->deviceField()}, {"1", "60"});
        int asked = 0;
        varnotest::answerModal<KestMessageBox>([](KestMessageBox *box) { box->accept(); }, &asked);
        panel->saveButton()->click();
        QCOMPARE(asked, 1);
        QCOMPARE(shown<PageSettingRoomManagerEdit>(), editor);
        QCOMPARE(editor->currentTab(), 5);
        open("Home");

        QCOMPARE(
            rows("select light_type,light_remark,subnet_id,device_id,channel,rgb from tbl_light "
                 "where room_id=2 order by light_id,rgb"),
            (QStringList{"2|Strip|1|30|1|1", "2|Strip|1|30|2|2", "2|Strip|1|30|3|3", "0|Lamp|1|31|1|0"}));
        QCOMPARE(rows("select air_conditioner_no,air_conditioner_type,subnet_id,device_id,channel from "
                      "tbl_air_conditioner where room_id=2"),
                 (QStringList{"0|0|1|40|1", "2|0|1|42|1"}));
        QCOMPARE(rows("select subnet_id,device_id,channel,room_id from tbl_occupation union all "
                      "select subnet_id,device_id,channel,room_id from tbl_master"),
                 (QStringList{"1|50|5|2", "1|51|1|2"}));
        QCOMPARE(rows("select panel_remark,subnet_id,device_id from tbl_panel where room_id=2"),
                 (QStringList{"Door|1|60", "Bed|0|0"}));
    }

    void operatesTheRoom()
    {
        open("Rooms");
        auto *rooms = shown<PageRooms>();
        QVERIFY(rooms);
        press(rooms->tileBox(), "North-Ground-Room1");
        auto *room = shown<PageRoomOperate>();
        QVERIFY(room && room->getRoomId() == 2);
        const QList<PageRoomOperateDevices *> tabs{room->lightingTab(), room->acTab(), room->floorHeatTab()};
        for (int i = 0; i < tabs.size(); ++i) {
            room->tabBar()->setCurrentIndex(i);
            QTRY_COMPARE_WITH_TIMEOUT(tabs.at(i)->refreshControl()->statusText(),
                                      QStringLiteral("Refresh Successfully"), 12000);
            for (DeviceItem *card : tabs.at(i)->cards())
                QVERIFY(card->status());
        }
        // The cards and the occupation and master item asked exactly the typed addresses.
        QTRY_COMPARE_WITH_TIMEOUT(polled(), (QStringList{"1/30", "1/31", "1/40", "1/42", "1/50", "1/51"}),
                                  5000);
        room->tabBar()->setCurrentIndex(0);
        QTRY_COMPARE_WITH_TIMEOUT(room->lightingTab()->refreshControl()->statusText(),
                                  QStringLiteral("Refresh Successfully"), 12000);
        QCOMPARE(room->lightingTab()->cards().size(), 2);
        DeviceItem *lamp = room->lightingTab()->cards().last();
        QTest::mouseClick(lamp, Qt::LeftButton, Qt::NoModifier, QPoint(20, 20));
        QTRY_COMPARE_WITH_TIMEOUT(value("select brightness from tbl_light where device_id=31").toInt(), 100,
                                  5000);

        open("Home");
        auto *bar = qobject_cast<MessageBar *>(m_window->messageBar());
        simCommand("switch 1/60 3 on", "SENT");
        QTRY_COMPARE_WITH_TIMEOUT(bar->tiles().size(), 1, 5000);
        const messageRecord record = bar->tiles().first()->getMessageRecord();
        QCOMPARE(record.room_id, 2);
        QVERIFY(MessageNames::lookup(record).place().contains(QLatin1String("Room1")));
        bar->alarmDialog()->hide();

        // Readdressing the panel again drops its message from the database and the bar.
        open("Panel Information", QString::number(record.panel_id), "2");
        auto *panel = shown<PageSettingRoomManagerPanelInformation>();
        QVERIFY(panel);
        panel->deviceField()->setText("62");
        varnotest::answerModal<KestMessageBox>([](KestMessageBox *box) { box->accept(); });
        panel->saveButton()->click();
        QCOMPARE(value("select count(*) from tbl_message_log").toInt(), 0);
        QTRY_COMPARE(bar->tiles().size(), 0);
    }

    // The copied program opens the commissioned project and draws its first screen.
    void copiedProgramStarts()
    {
        m_window.reset();
        gl_socket.closeSocket();
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
    }
};

VARNO_TEST_MAIN(TestInstallerPath)
#include "tst_installerpath.moc"
