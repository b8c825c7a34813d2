// The device tabs of the room editor (air conditioners, floor heating, occupation,
// master, panels), the template editor with its lights and panels, and their
// information pages, moved between as the main window does it.

#include "testmain.h"

#include "markingtranslator.h"
#include "modalanswer.h"
#include "pagenavigator.h"
#include "projectfixture.h"
#include "roomproject.h"
#include "stepfault.h"
#include "tilelist.h"
#include "unreadablepicture.h"

#include "shell/projectpicture.h"
#include "commissioning/pagesettingroommanagerac.h"
#include "commissioning/pagesettingroommanageracinformation.h"
#include "commissioning/pagesettingroommanageredit.h"
#include "commissioning/pagesettingroommanagerfloorheatinformation.h"
#include "commissioning/pagesettingroommanagerlightinginformation.h"
#include "commissioning/pagesettingroommanageroccupation.h"
#include "commissioning/pagesettingroommanagerpanelinformation.h"
#include "commissioning/pagesettingroomtemplateedit.h"
#include "commissioning/pagesettingroomtemplatelighting.h"
#include "commissioning/pagesettingroomtemplatelightinginformation.h"
#include "commissioning/pagesettingroomtemplatepanel.h"
#include "commissioning/pagesettingroomtemplatepanelinformation.h"
#include "commissioning/roomtemplateadddlg.h"
#include "records/pagesettingmessagemanager.h"
#include "records/pagesettingmessagemanagermessageinformation.h"
#include "shell/filedialogs.h"
#include "shell/iconstyledlg.h"
#include "shell/kestmessagebox.h"

#include <QImage>
#include <QtTest>
#include <qtmaterialcheckbox.h>
#include <qtmaterialcombobox.h>
#include <qtmaterialflatbutton.h>
#include <qtmaterialgroupbox.h>
#include <qtmateriallineedit.h>
#include <qtmaterialradiobutton.h>
#include <qtmaterialtabs.h>

using namespace roomproject;

namespace {

constexpr int Room = 1;
enum Tab { Lighting, AC, FloorHeat, Occupation, Master, Panel };

// "a|b|c" into fields; "." leaves a field as it is.
void type(const QList<QtMaterialLineEdit *> &fields, const QString &texts)
{
    const QStringList parts = texts.split(QLatin1Char('|'));
    for (int i = 0; i < fields.size(); ++i) {
        if (parts.value(i) != QLatin1String("."))
            fields.at(i)->setText(parts.value(i));
    }
}

// An air conditioner (number 0 or 1) or floor-heating circuit (2 or 3) of the room.
bool unit(int no, const QString &name = QStringLiteral("AC"))
{
    Unit u;
    u.room = Room;
    u.no = no;
    u.name = name;
    return addUnit(u);
}

QStringList twice(const QString &text)
{
    return {text, text};
}

QString lastText(const QSignalSpy &spy)
{
    return spy.isEmpty() ? QString() : spy.last().at(0).toString();
}

} // namespace

class TestRoomDevices : public QObject
{
    Q_OBJECT

    varnotest::ProjectFolder m_project;
    PageSettingRoomManagerEdit *editor = nullptr;
    PageSettingRoomTemplateEdit *templates = nullptr;
    PageSettingRoomManagerACInformation *acInfo = nullptr;
    PageSettingRoomManagerFloorHeatInformation *fhInfo = nullptr;
    PageSettingRoomManagerPanelInformation *panelInfo = nullptr;
    PageSettingRoomTemplateLightingInformation *tlInfo = nullptr;
    PageSettingRoomTemplatePanelInformation *tpInfo = nullptr;
    MyDialog *home = nullptr;
    QList<MyDialog *> pages;
    PageNavigator *navigator = nullptr;

    template <typename T> T *tab(int index) { return qobject_cast<T *>(editor->tabPage(index)); }

private slots:
    void initTestCase()
    {
        screen_cx = 1920;
        pages = {editor = new PageSettingRoomManagerEdit("Edit Room", "Edit Room"),
                 templates = new PageSettingRoomTemplateEdit("Edit Template", "Edit Template"),
                 acInfo = new PageSettingRoomManagerACInformation("AC Information", "AC Information"),
                 fhInfo = new PageSettingRoomManagerFloorHeatInformation("Floor Heat Information", "FH"),
                 panelInfo = new PageSettingRoomManagerPanelInformation("Panel Information", "Panel"),
                 tlInfo = new PageSettingRoomTemplateLightingInformation("Template Light Information", "TL"),
                 tpInfo = new PageSettingRoomTemplatePanelInformation("Template Panel Information", "TP"),
                 home = new MyDialog("Home", "Home"),
                 new PageSettingMessageManagerMessageInformation("Message Information", "MI"),
                 new PageSettingMessageManager("Message Manager", "MM"),
                 new PageSettingRoomManagerLightingInformation("Light Information", "LI")};
        navigator = new PageNavigator(pages);
    }

    void cleanupTestCase()
    {
        delete navigator;
        qDeleteAll(pages);
    }

    void init()
    {
        m_project.reset();
        QVERIFY(addRegion(1, "North") && addFloor(1, 1, "Ground") && addRoom(Room, "Kitchen", 1, 1) &&
                addRoom(2, "Hall", 1, 1) && addTemplate(1, "Suite") && addTemplate(2, "Flat"));
        navigator->go("Edit Room", QString::number(Room), "1");
        navigator->requests.clear();
    }

    void addTiles_data()
    {
        QTest::addColumn<QString>("list");
        QTest::addColumn<QList<int>>("present");
        QTest::addColumn<QString>("unread");  // the statement whose second step fails, or empty
        QTest::addColumn<QString>("offered"); // the page requested with its ids, or what is said
        const QString ac = "AC Information %1 1", fh = "Floor Heat Information %1 1";
        QTest::newRow("AC, none") << "AC" << QList<int>{} << "" << ac.arg(0);
        QTest::newRow("AC, only 1") << "AC" << QList<int>{1} << "" << ac.arg(0);
        QTest::newRow("AC, both") << "AC" << QList<int>{0, 1} << ""
                                  << "Beyond the limit!";
        QTest::newRow("floor heat, none") << "FH" << QList<int>{} << "" << fh.arg(2);
        QTest::newRow("floor heat, only 3") << "FH" << QList<int>{3} << "" << fh.arg(2);
        QTest::newRow("floor heat, both") << "FH" << QList<int>{2, 3} << ""
                                          << "Beyond the limit!";
        // A number read as free might be taken: none is offered.
        auto unread = [](const char *tag, const char *list, QList<int> present, const char *sql,
                         const char *what) {
            QTest::newRow(tag) << list << present << sql
                               << QStringLiteral("Failed to add the %1!").arg(what);
        };
        unread("AC, numbers unread", "AC", {0}, "air_conditioner_no<=1 order", "air conditioner");
        unread("AC, count unread", "AC", {0, 1}, "select air_conditioner_no from", "air conditioner");
        unread("floor heat, numbers unread", "FH", {2}, "air_conditioner_no>1 order", "floor heating");
        unread("lights, ids unread", "Lighting", {1, 2}, "where (rgb=0 or rgb=1)", "light");
        unread("panels, ids unread", "Panel", {1, 2}, "from tbl_panel order", "panel");
        unread("template lights, ids unread", "TL", {1, 2}, "from tbl_template_light order", "light");
        unread("template panels, ids unread", "TP", {1, 2}, "from tbl_template_panel order", "panel");
        unread("messages, ids unread", "MM", {1, 2}, "from tbl_message order", "message");
    }

    // Numbers offered by the add tile, each tab listing only its own devices; no
    // number when the taken ones could not be read.
    void addTiles()
    {
        QFETCH(QString, list);
        QFETCH(QList<int>, present);
        QFETCH(QString, unread);
        QFETCH(QString, offered);
        const bool climate = list == "AC" || list == "FH";
        QStringList expected;
        for (int no : present) {
            const QString name = QStringLiteral("U%1").arg(no);
            QVERIFY(climate              ? unit(no, name)
                    : list == "Lighting" ? addLight({Room, no, 1, name})
                    : list == "Panel"    ? addPanel(Room, no, 1, 30 + no, name)
                    : list == "TL"       ? addTemplateLight(1, no, 1, name)
                    : list == "TP"       ? addTemplatePanel(1, no, name)
                                         : addMessage(no, 0, name, no));
            const int kind = list == "AC" ? ManagerItemAirConditioner : ManagerItemFloorHeat;
            expected.append(QStringLiteral("%1:%2:%3").arg(kind).arg(no).arg(name));
        }
        QVERIFY(unit(list == "AC" ? 2 : 0, "Other"));
        const bool inTemplate = list == "TL" || list == "TP";
        navigator->go(list == "MM" ? "Message Manager"
                      : inTemplate ? "Edit Template"
                                   : "Edit Room",
                      inTemplate ? "1" : QString::number(Room), "0");
        QObject *tiles = pages.at(9); // the Message Manager
        if (inTemplate)
            tiles = list == "TL" ? static_cast<QObject *>(templates->templateLightingTab())
                                 : templates->templatePanelTab();
        else if (list != "MM")
            tiles = editor->tabPage(QMap<QString, int>{
                {"AC", AC}, {"FH", FloorHeat}, {"Panel", Panel}, {"Lighting", Lighting}}[list]);
        navigator->requests.clear();
        if (climate)
            QCOMPARE(varnotest::tileTexts(static_cast<DeviceTileTab *>(tiles)->tileBox()),
                     expected << "0:0:");
        QSignalSpy hub(&gl_socket, &BroadcastSocket::signalsInformation);
        StepFault::arm(unread, unread.isEmpty() ? 0 : 2); // then pressed once only
        for (int n = unread.isEmpty() ? 2 : 1; n > 0; --n)
            QVERIFY(
                QMetaObject::invokeMethod(tiles, "slotsEdit", Q_ARG(int, ManagerItemAdd), Q_ARG(int, 0)));
        QCOMPARE(StepFault::fired(), !unread.isEmpty());
        if (offered.endsWith('!')) {
            QCOMPARE(lastText(hub), offered);
            QCOMPARE(navigator->requests, QStringList());
        } else {
            QCOMPARE(navigator->requests, twice(offered));
        }
    }

    void climateInformation_data()
    {
        QTest::addColumn<int>("number");
        QTest::addColumn<int>("existing");   // -1 none, else the stored row's type (channel 1)
        QTest::addColumn<QString>("fields"); // name|subnet|device|number
        QTest::addColumn<bool>("ir");
        QTest::addColumn<QString>("stored"); // type|remark|subnet|device|channel|state|room_temperature_type
        const char *reset = "0|0|0|0||0";
        QTest::newRow("new AC, IR, patch B")
            << 0 << -1 << "Hall|1|40|" << true << "1|Hall|1|40|2|" + QString(reset);
        QTest::newRow("new AC, quoted name")
            << 1 << -1 << "Bob's AC|1|40|3" << false << "0|Bob's AC|1|40|3|" + QString(reset);
        QTest::newRow("AC resaved, state reset")
            << 0 << 0 << "Hall|2|41|1" << false << "0|Hall|2|41|1|" + QString(reset);
        QTest::newRow("IR AC to panel, no number") << 0 << 1 << "Hall|1|40|" << false << "";
        QTest::newRow("subnet below 1") << 0 << -1 << "Hall|-3|40|1" << false << "";
        QTest::newRow("AC NO 0") << 0 << -1 << "Hall|1|40|0" << false << "";
        QTest::newRow("digits too long")
            << 0 << -1 << "Hall|99999999999|40|1" << false << "0|Hall|255|40|1|" + QString(reset);
        QTest::newRow("new floor heat")
            << 2 << -1 << "Floor|1|50|4" << false << "0|Floor|1|50|4|" + QString(reset);
        QTest::newRow("floor heat stored as IR")
            << 3 << 1 << "Floor|1|50|4" << false << "0|Floor|1|50|4|" + QString(reset);
        QTest::newRow("floor heat, empty NO") << 2 << -1 << "Floor|1|50|" << false << "";
    }

    // "AC Information" and "Floor Heat Information": loaded, checked and saved.
    void climateInformation()
    {
        QFETCH(int, number);
        QFETCH(int, existing);
        QFETCH(QString, fields);
        QFETCH(bool, ir);
        QFETCH(QString, stored);
        const bool ac = number < 2;
        if (existing >= 0)
            QVERIFY(addUnit({Room, number, existing, "Old", 1, 40, 1, 24, "10", "30"}));
        navigator->go(ac ? "AC Information" : "Floor Heat Information", QString::number(number), "1");
        PageSettingRoomManagerACInformation *info = ac ? acInfo : fhInfo;
        QCOMPARE(info->nameField()->text(), existing >= 0 ? "Old" : "");
        if (ac) {
            const bool storedIr = existing == 1;
            QCOMPARE(info->irButton()->isChecked(), storedIr);
            QCOMPARE(info->patchList()->currentIndex(), storedIr ? 0 : 1);
            QCOMPARE(info->patchList()->isVisible(), storedIr);
            QCOMPARE(info->numberField(2)->text(), existing == 0 ? "1" : "");
            (ir ? info->irButton() : info->panelButton())->click();
            QCOMPARE(info->numberField(2)->isVisible(), !ir);
        } else {
            QVERIFY(!info->irButton());
        }
        type({info->nameField(), info->numberField(0), info->numberField(1), info->numberField(2)}, fields);
        QSignalSpy hub(&gl_socket, &BroadcastSocket::signalsInformation);
        info->saveButton()->click();
        const QString sql =
            QStringLiteral("select air_conditioner_type,remark,subnet_id,device_id,channel,status,mode,"
                           "current_cool_temperature,room_temperature,high_limit,room_temperature_type from "
                           "tbl_air_conditioner where room_id=1 and air_conditioner_no=%1");
        if (stored.isEmpty()) {
            QCOMPARE(lastText(hub), QStringLiteral("Please input the complete content!"));
            QCOMPARE(rows(sql.arg(number)).size(), existing >= 0 ? 1 : 0);
            QVERIFY(info->isVisible());
            return;
        }
        QCOMPARE(rows(sql.arg(number)), QStringList{stored});
        QCOMPARE(navigator->requests.last(), QStringLiteral("Edit Room 1 0"));
    }

    void removals_data()
    {
        QTest::addColumn<int>("tabIndex");
        QTest::addColumn<int>("id");
        QTest::addColumn<QString>("refused"); // the table whose delete fails, or empty
        QTest::addColumn<QString>("left");    // rows of the device and of its companion table
        QTest::newRow("AC") << int(AC) << 0 << ""
                            << "0/0";
        QTest::newRow("AC, 3-D row refused") << int(AC) << 0 << "tbl_3d_air_conditioner"
                                             << "1/1";
        QTest::newRow("floor heat") << int(FloorHeat) << 2 << ""
                                    << "0/0";
        QTest::newRow("floor heat, unit refused") << int(FloorHeat) << 2 << "tbl_air_conditioner"
                                                  << "1/1";
        QTest::newRow("panel") << int(Panel) << 1 << ""
                               << "0/0";
        QTest::newRow("panel, messages refused") << int(Panel) << 1 << "tbl_message_log"
                                                 << "1/2";
    }

    // A tile's delete asks nothing and takes the device with its companion rows,
    // all or nothing.
    void removals()
    {
        QFETCH(int, tabIndex);
        QFETCH(int, id);
        QFETCH(QString, refused);
        QFETCH(QString, left);
        QVERIFY(unit(0) && unit(2) && addPanel(Room, 1, 1, 30) && addPanel(2, 2, 1, 31));
        for (const char *sql : {"insert into tbl_3d_air_conditioner(air_conditioner_no,xp1,yp1,room_id) "
                                "values(0,1,1,1)",
                                "insert into tbl_3d_air_conditioner(air_conditioner_no,xp1,yp1,room_id) "
                                "values(2,1,1,1)",
                                "insert into tbl_message_log(message_id,panel_id,room_id) values(1,1,1)",
                                "insert into tbl_message_log(message_id,panel_id,room_id) values(2,1,1)",
                                "insert into tbl_message_log(message_id,panel_id,room_id) values(3,2,2)"})
            QVERIFY(exec(sql));
        if (!refused.isEmpty())
            QVERIFY(exec(QStringLiteral("create trigger refuse before delete on %1 begin "
                                        "select raise(abort,'refused'); end")
                             .arg(refused)));
        navigator->go("Edit Room", QString::number(Room), "0");
        QSignalSpy removed(&gl_socket, &BroadcastSocket::signalsRemoveMessage);
        auto *list = tab<DeviceTileTab>(tabIndex);
        list->slotsDelete(varnotest::gridTiles(list->tileBox()).first()->getType(), id);
        const QString check =
            tabIndex == Panel
                ? "select (select count(*) from tbl_panel where panel_id=%1)||'/'||"
                  "(select count(*) from tbl_message_log where panel_id=%1)"
                : "select (select count(*) from tbl_air_conditioner where air_conditioner_no=%1)||'/'||"
                  "(select count(*) from tbl_3d_air_conditioner where air_conditioner_no=%1)";
        QCOMPARE(value(check.arg(id)).toString(), left);
        QCOMPARE(removed.size(), tabIndex == Panel && refused.isEmpty() ? 1 : 0);
        QCOMPARE(value("select count(*) from tbl_message_log where panel_id=2").toInt(), 1);
        QCOMPARE(varnotest::gridTiles(list->tileBox()).size(), refused.isEmpty() ? 1 : 2);
    }

    void occupationMaster_data()
    {
        QTest::addColumn<int>("tabIndex");
        QTest::addColumn<bool>("existing"); // a row (1, 20, 5, status 1) before
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("left"); // page left
        QTest::addColumn<bool>("marked");  // user interface in another language
        QTest::addColumn<QString>("stored");
        QTest::newRow("proposed channel") << int(Occupation) << false << "1|20|."
                                          << "Edit Room" << false << "1|20|5|0";
        QTest::newRow("translated") << int(Occupation) << false << "1|20|."
                                    << "Edit Room" << true << "1|20|5|0";
        QTest::newRow("status reset") << int(Master) << true << ".|.|."
                                      << "Edit Room" << false << "1|20|5|0";
        QTest::newRow("master, 256") << int(Master) << false << "256|1|3"
                                     << "Edit Room" << false << "255|1|3|0";
        QTest::newRow("field cleared") << int(Occupation) << true << "1||5"
                                       << "Edit Room" << false << "";
        QTest::newRow("below 1") << int(Master) << true << "1|-20|5"
                                 << "Edit Room" << false << "";
        QTest::newRow("Edit Template left") << int(Master) << true << "||"
                                            << "Edit Template" << true << "1|20|5|1";
        // The database refuses: the row stays and the user is told.
        QTest::newRow("refused, occupation") << int(Occupation) << true << "1|21|6"
                                             << "Edit Room" << false << "1|20|5|1";
        QTest::newRow("refused, master removal") << int(Master) << true << "1||5"
                                                 << "Edit Room" << false << "1|20|5|1";
        // The row's look-up at leaving, or the tab's row at entry, fails: the row is kept, the user told.
        QTest::newRow("unread, occupation") << int(Occupation) << true << "1|21|6"
                                            << "Edit Room" << false << "1|20|5|1";
        QTest::newRow("entry unread, master") << int(Master) << true << ".|.|."
                                              << "Edit Room" << false << "1|20|5|1";
    }

    // Both tabs store or remove their room's row when "Edit Room" is left.
    void occupationMaster()
    {
        QFETCH(int, tabIndex);
        QFETCH(bool, existing);
        QFETCH(QString, typed);
        QFETCH(QString, left);
        QFETCH(bool, marked);
        QFETCH(QString, stored);
        const QString table = tabIndex == Occupation ? "tbl_occupation" : "tbl_master";
        if (existing)
            QVERIFY(addRoomDevice(table, Room, 1, 20, 5, 1));
        const bool entryUnread = QByteArray(QTest::currentDataTag()).startsWith("entry unread");
        StepFault::arm("select * from " + table + " where room_id", entryUnread ? 1 : 0);
        QSignalSpy entry(&gl_socket, &BroadcastSocket::signalsInformation);
        navigator->go("Edit Room", QString::number(Room), "0");
        QCOMPARE(StepFault::fired(), entryUnread);
        QCOMPARE(entry.size(), entryUnread ? 1 : 0);
        QScopedPointer<varnotest::MarkedTexts> texts(marked ? new varnotest::MarkedTexts : nullptr);
        auto *page = tab<PageSettingRoomManagerOccupation>(tabIndex);
        QCOMPARE(page->field(2)->text(), existing && !entryUnread ? "5" : tabIndex == Occupation ? "5" : "");
        type({page->field(0), page->field(1), page->field(2)}, typed);
        const bool refused = QByteArray(QTest::currentDataTag()).startsWith("refused");
        const bool unread = QByteArray(QTest::currentDataTag()).startsWith("unread");
        for (const char *what : {"update", "delete"}) {
            QVERIFY(!refused || exec(QStringLiteral("create trigger refuse_%1 before %1 on %2 begin "
                                                    "select raise(abort,'no'); end").arg(what, table)));
        }
        StepFault::arm("select id from " + table, unread ? 1 : 0);
        QSignalSpy hub(&gl_socket, &BroadcastSocket::signalsInformation);
        if (left == QLatin1String("Edit Room"))
            navigator->go("Home");
        else
            emit gl_socket.signalsPageLeave(left);
        QCOMPARE(StepFault::fired(), unread);
        QCOMPARE(rows(QStringLiteral("select subnet_id,device_id,channel,status from %1 where room_id=1")
                          .arg(table))
                     .join(';'),
                 stored);
        if (refused || unread || entryUnread) {
            // The room's name goes with the tab's row, said after it; the editor's way back is taken now.
            QCOMPARE(hub.takeLast().at(0).toString(), "Failed to save the room!");
            QCoreApplication::sendPostedEvents(editor, QEvent::MetaCall);
            QCOMPARE(lastText(hub), tabIndex == Occupation ? "Failed to save the occupation sensor!"
                                                           : "Failed to save the master switch!");
            QVERIFY(!refused || (exec("drop trigger refuse_update") && exec("drop trigger refuse_delete")));
        }
    }

    void panelInformation_data()
    {
        QTest::addColumn<int>("panel");      // 1 (1, 30) with two messages, 4 from a template, 3 new
        QTest::addColumn<QString>("fields"); // name|subnet|device
        QTest::addColumn<int>("answer");     // the question's answer, -1 when none is asked
        QTest::addColumn<QString>("stored"); // remark|subnet|device, empty when none
        QTest::addColumn<int>("messages");   // the panel's messages left
        QTest::addColumn<QString>("said");
        const QString used = "The subnet id and device id has been used,please input new value!";
        const QString missing = "Please input the complete content!";
        QTest::newRow("renamed") << 1 << "Front's door|1|30" << -1 << "Front's door|1|30" << 2 << "";
        QTest::newRow("address of another room") << 1 << "Door|1|31" << -1 << "Door|1|30" << 2 << used;
        QTest::newRow("readdress cancelled") << 1 << "Door|1|32" << 0 << "Door|1|30" << 2 << "";
        QTest::newRow("readdressed") << 1 << "Door|2|30" << 1 << "Door|2|30" << 0 << "";
        QTest::newRow("readdress fails")
            << 1 << "Door|2|30" << 1 << "Door|1|30" << 2 << "Failed to save the panel!";
        QTest::newRow("new") << 3 << "Blind|1|33" << -1 << "Blind|1|33" << 0 << "";
        QTest::newRow("new, address used") << 3 << "Blind|1|31" << -1 << "" << 0 << used;
        QTest::newRow("new, device below 1") << 3 << "Blind|1|-2" << -1 << "" << 0 << missing;
        QTest::newRow("copied, unchanged") << 4 << ".|.|." << -1 << "Copy|0|0" << 0 << missing;
        QTest::newRow("copied, first address") << 4 << ".|1|34" << 1 << "Copy|1|34" << 0 << "";
        // A look-up that fails decides nothing: the panel stays as it was.
        QTest::newRow("retyped, entry unread")
            << 1 << "Front's door|1|30" << -1 << "Door|1|30" << 2 << "Failed to save the panel!";
        QTest::newRow("renamed, panel unread")
            << 1 << "Front's door|1|30" << -1 << "Door|1|30" << 2 << "Failed to save the panel!";
        QTest::newRow("new, addresses unread")
            << 3 << "Blind|1|33" << -1 << "" << 0 << "Failed to save the panel!";
    }

    // "Panel Information": one address per panel in the project, readdressing
    // asked and done with the panel's messages in one step.
    void panelInformation()
    {
        QFETCH(int, panel);
        QFETCH(QString, fields);
        QFETCH(int, answer);
        QFETCH(QString, stored);
        QFETCH(int, messages);
        QFETCH(QString, said);
        QVERIFY(addPanel(Room, 1, 1, 30, "Door") && addPanel(2, 2, 1, 31, "Hall") &&
                addPanel(Room, 4, 0, 0, "Copy"));
        QVERIFY(exec("insert into tbl_message_log(message_id,panel_id,room_id) values(1,1,1)") &&
                exec("insert into tbl_message_log(message_id,panel_id,room_id) values(2,1,1)"));
        if (QTest::currentDataTag() == QLatin1String("readdress fails"))
            QVERIFY(exec(
                "create trigger refuse before update on tbl_panel begin select raise(abort,'no'); end"));
        const QString tag = QTest::currentDataTag();
        const QString unread = tag.endsWith("panel unread")       ? "select subnet_id,device_id from"
                               : tag.endsWith("addresses unread") ? "from tbl_panel where subnet_id"
                                                                  : "";
        navigator->go("Edit Room", QString::number(Room), "0");
        auto *list = tab<DeviceTileTab>(Panel);
        QCOMPARE(varnotest::tileTexts(list->tileBox()), (QStringList{"9:1:Door", "9:4:Copy", "0:0:"}));
        StepFault::arm("select * from tbl_panel where room_id", tag.endsWith("entry unread") ? 1 : 0);
        list->slotsEdit(panel == 3 ? ManagerItemAdd : ManagerItemPanel, panel);
        QCOMPARE(navigator->requests.last(), QStringLiteral("Panel Information %1 1").arg(panel));
        if (panel == 4)
            QCOMPARE(panelInfo->subnetField()->text() + panelInfo->deviceField()->text(),
                     QStringLiteral("00"));
        type({panelInfo->nameField(), panelInfo->subnetField(), panelInfo->deviceField()}, fields);
        int asked = 0;
        if (answer >= 0)
            varnotest::answerModal<KestMessageBox>([answer](KestMessageBox *box) { box->done(answer); },
                                                   &asked);
        QSignalSpy hub(&gl_socket, &BroadcastSocket::signalsInformation);
        QSignalSpy removed(&gl_socket, &BroadcastSocket::signalsRemoveMessage);
        StepFault::arm(unread, unread.isEmpty() ? 0 : 1);
        panelInfo->saveButton()->click();
        QCOMPARE(StepFault::fired(), !unread.isEmpty());
        QCOMPARE(asked, answer >= 0 ? 1 : 0);
        QCOMPARE(lastText(hub), said);
        QCOMPARE(
            rows(QStringLiteral("select panel_remark,subnet_id,device_id from tbl_panel where panel_id=%1")
                     .arg(panel))
                .join(';'),
            stored);
        QCOMPARE(value(QStringLiteral("select count(*) from tbl_message_log where panel_id=%1").arg(panel))
                     .toInt(),
                 messages);
        const bool readdressed = answer == 1 && said.isEmpty();
        QCOMPARE(removed.size(), readdressed ? 1 : 0);
        QCOMPARE(editor->isVisible(), said.isEmpty() && answer != 0);
    }

    // Template lights and panels: one row each, ids first free over all
    // templates, updated in place; names with quotes as typed.
    void templateLightsAndPanels()
    {
        QVERIFY(addTemplateLight(2, 1, 0, "Other") && addTemplatePanel(2, 1, "Other"));
        navigator->go("Edit Template", "1", "1");
        QCOMPARE(templates->currentTab(), 0);
        struct Case
        {
            DeviceTileTab *list;
            MyDialog *page;
            QtMaterialLineEdit *name;
            const char *table;
            const char *idColumn;
            const char *pageId;
        };
        const Case cases[] = {{templates->templateLightingTab(), tlInfo, tlInfo->nameField(),
                               "tbl_template_light", "template_light_id", "Template Light Information"},
                              {templates->templatePanelTab(), tpInfo, tpInfo->nameField(),
                               "tbl_template_panel", "template_panel_id", "Template Panel Information"}};
        for (const Case &c : cases) {
            navigator->requests.clear();
            c.list->slotsEdit(ManagerItemAdd, 0);
            c.list->slotsEdit(ManagerItemAdd, 0);
            QCOMPARE(navigator->requests, twice(QStringLiteral("%1 2 1").arg(c.pageId)));
            QSignalSpy hub(&gl_socket, &BroadcastSocket::signalsInformation);
            c.page->findChild<QtMaterialFlatButton *>()->click();
            QCOMPARE(lastText(hub), QStringLiteral("Please input the complete content!"));
            c.name->setText("Bob's");
            if (c.page == tlInfo)
                tlInfo->typeChooser()->setCurrentIndex(tlInfo->typeChooser()->findData(2));
            c.page->findChild<QtMaterialFlatButton *>()->click();
            QCOMPARE(navigator->requests.last(), QStringLiteral("Edit Template 1 0"));
            const QString sql =
                QStringLiteral("select id,%1 from %2 where room_template_id=1").arg(c.idColumn, c.table);
            const QStringList first = rows(sql);
            QCOMPARE(first.size(), 1);
            QCOMPARE(varnotest::tileTexts(c.list->tileBox()).first().section(':', 1),
                     QStringLiteral("2:Bob's"));
            // Entered without its row read: what is typed then is not saved.
            StepFault::arm(QStringLiteral("select * from tbl_template_"), 1);
            varnotest::gridTiles(c.list->tileBox()).first()->slotsPressed();
            c.name->setText("Lost");
            c.page->findChild<QtMaterialFlatButton *>()->click();
            QVERIFY(!rows(QStringLiteral("select * from %1").arg(c.table)).join(' ').contains("Lost"));
            varnotest::gridTiles(c.list->tileBox()).first()->slotsPressed();
            QCOMPARE(c.name->text(), QStringLiteral("Bob's"));
            c.name->setText("Bob's 2");
            if (c.page == tlInfo) {
                QCOMPARE(tlInfo->typeChooser()->currentData().toInt(), 2);
                tlInfo->typeChooser()->setCurrentIndex(tlInfo->typeChooser()->findData(7));
                tlInfo->pictureTile()->setIconName("light_05_on");
            }
            c.page->findChild<QtMaterialFlatButton *>()->click();
            QCOMPARE(rows(sql), first);
        }
        QCOMPARE(
            rows(
                "select light_type,light_remark,icon_name from tbl_template_light where room_template_id=1"),
            QStringList{"7|Bob's 2|light_05_on"});
        QCOMPARE(rows("select panel_remark from tbl_template_panel where room_template_id=1"),
                 QStringList{"Bob's 2"});
        templates->templateLightingTab()->slotsDelete(ManagerItemLight, 2);
        templates->templatePanelTab()->slotsDelete(ManagerItemPanel, 2);
        QCOMPARE(rows("select room_template_id from tbl_template_light union all "
                      "select room_template_id from tbl_template_panel"),
                 (QStringList{"2", "2"}));
    }

    // Name and picture are saved whenever the template editor is left, to its
    // own pages too, under any language; gallery pictures written at once.
    void templateEditor()
    {
        varnotest::MarkedTexts marked;
        navigator->go("Edit Template", "1", "1");
        QCOMPARE(templates->nameField()->text(), QStringLiteral("Suite"));
        templates->nameField()->setText("Bob's suite");
        templates->templatePanelTab()->slotsEdit(ManagerItemAdd, 0);
        QVERIFY(tpInfo->isVisible());
        QCOMPARE(
            value("select room_template_name from tbl_room_template where room_template_id=1").toString(),
            QStringLiteral("Bob's suite"));
        navigator->go("Edit Template", "1", "0");
        templates->nameField()->clear();

        QTemporaryDir sources;
        const QString good = sources.filePath("good.jpg");
        const QString bad = sources.filePath("bad.png");
        QImage image(30, 20, QImage::Format_RGB32);
        image.fill(Qt::blue);
        QVERIFY(image.save(good, "JPG") && varnotest::writeUnreadablePicture(bad));
        QSignalSpy hub(&gl_socket, &BroadcastSocket::signalsInformation);
        for (const QString &file : {good, bad}) {
            answerFileDialogsWith([file](FileDialogKind, const QString &, const QString &) { return file; });
            varnotest::answerModal<IconStyleDlg>([](IconStyleDlg *d) { d->slotsIconStyleChanged(1); });
            templates->labelModifyRoomIcon_pressed();
            QTRY_COMPARE_WITH_TIMEOUT(PictureWriter::running(), 0, 10000);
            QCOMPARE(templates->pictureTile()->getIconName(), file == good ? "photo_Template_1" : "room_9");
            QCOMPARE(hub.size(), file == good ? 0 : 1); // an unreadable picture is reported
            templates->pictureTile()->setIconName("room_9");
        }
        answerFileDialogsWith({});
        QCOMPARE(QImage(m_project.projectDir() + "/photo_Template_1.png").size(), QSize(30, 20));
        navigator->go("Home");
        QCOMPARE(rows("select room_template_name,room_template_icon_name from tbl_room_template "
                      "where room_template_id=1"),
                 QStringList{"|room_9"});
    }

    void refusedWrites_data()
    {
        // The page is the tag (before any " ("), entered with this id and 1. A
        // statement refused, or "read:n:text": the nth step of a read fails.
        QTest::addColumn<QString>("refused");
        QTest::addColumn<QString>("fields"); // the name, then the other fields
        QTest::addColumn<QString>("said");
        const char *rows[][4] = {
            {"AC Information 0", "insert on tbl_air_conditioner", "|1|2|3", "save the air conditioner"},
            {"Floor Heat Information 2", "update on tbl_air_conditioner", "|1|2|3",
             "save the floor heating"},
            {"Panel Information 3", "insert on tbl_panel", "|1|40", "save the panel"},
            {"Light Information 1", "insert on tbl_light", "|1|2|3", "save the light"},
            {"Template Light Information 1", "update on tbl_template_light", "", "save the light"},
            {"Template Light Information 2", "insert on tbl_template_light", "", "save the light"},
            {"Template Panel Information 1", "update on tbl_template_panel", "", "save the panel"},
            {"Template Panel Information 2", "insert on tbl_template_panel", "", "save the panel"},
            {"Add Template 0", "insert on tbl_room_template", "", "add the template"},
            {"Edit Room 1", "update on tbl_room", "", "save the room"},
            {"Edit Template 1", "update on tbl_room_template", "", "save the template"},
            {"Message Information 20", "insert on tbl_message", "|8", "save the message"},
            {"Message Information 11", "update on tbl_message", "|7", "save the message"},
            {"Message Manager 11", "delete on tbl_message_log", "-", "delete the message"},
            // An answer half read is neither "no such row" nor "this id is free".
            {"Add Template 0 (ids unread)", "read:2:from tbl_room_template order by", "",
             "add the template"},
            {"AC Information 0 (row unread)", "read:1:select id from tbl_air_conditioner", "|1|2|3",
             "save the air conditioner"},
            {"Floor Heat Information 2 (row unread)", "read:1:select id from tbl_air_conditioner", "|1|2|3",
             "save the floor heating"},
            {"Panel Information 3 (row unread)", "read:1:select subnet_id,device_id from tbl_panel", "|1|40",
             "save the panel"},
            {"Panel Information 3 (address unread)", "read:1:from tbl_panel where subnet_id", "|1|40",
             "save the panel"},
            {"Template Light Information 1 (row unread)", "read:1:select id from tbl_template_light", "",
             "save the light"},
            {"Template Panel Information 1 (row unread)", "read:1:select id from tbl_template_panel", "",
             "save the panel"}};
        for (const auto &r : rows)
            QTest::newRow(r[0]) << r[1] << (*r[2] == '-' ? "" : "Spot 50%5 %1" + QString(r[2]))
                                << QStringLiteral("Failed to %1!").arg(r[3]);
    }

    // A refused statement: the page (or dialog) stays with what was typed and
    // says so, no row changes, no removal is announced; once the database takes
    // it, the same press stores the typing unchanged.
    void refusedWrites()
    {
        QFETCH(QString, refused);
        QFETCH(QString, fields);
        const QString page = QString(QTest::currentDataTag()).section(" (", 0, 0);
        QVERIFY(unit(2) && addTemplateLight(1, 1, 0, "L") && addTemplatePanel(1, 1, "P") &&
                exec("insert into tbl_message(message_id,message_type,message_remark,icon_name,"
                     "universal_switch_no) values(11,0,'Clean room','message_03',5)") &&
                exec("insert into tbl_message_log(message_id,panel_id,room_id) values(11,1,1)"));
        const QString id = page.section(' ', 0, -2), typed = fields.section('|', 0, 0);
        RoomTemplateAddDlg dialog;
        MyDialog *shown = &dialog;
        for (MyDialog *p : qAsConst(pages))
            shown = p->getId() == id ? p : shown;
        navigator->go(id, page.section(' ', -1), "1");
        dialog.setVisible(shown == &dialog);
        type(shown->findChildren<QtMaterialLineEdit *>(QString(), Qt::FindDirectChildrenOnly), fields);
        auto snapshot = [] {
            QStringList all;
            for (const QString &t : QStringLiteral("air_conditioner panel light template_light room "
                                                   "template_panel room_template message message_log")
                                        .split(' '))
                all << rows("select * from tbl_" + t);
            return all.join(';');
        };
        auto press = [&] {
            if (id == "Message Information")
                varnotest::answerModal<KestMessageBox>([](KestMessageBox *box) { box->done(1); });
            if (id.startsWith("Edit "))
                navigator->go("Home");
            else if (id == "Message Manager")
                QMetaObject::invokeMethod(shown, "slotsDelete", Q_ARG(int, ManagerItemMessage),
                                          Q_ARG(int, 11));
            else
                (shown == &dialog ? dialog.pushButtonAdd : shown->findChild<QtMaterialFlatButton *>())
                    ->click();
        };
        const bool unread = refused.startsWith("read:");
        StepFault::arm(refused.section(':', 2), unread ? refused.section(':', 1, 1).toInt() : 0);
        QVERIFY(unread ||
                exec("create trigger refuse before " + refused + " begin select raise(abort,'no'); end"));
        const QString before = snapshot();
        QSignalSpy hub(&gl_socket, &BroadcastSocket::signalsInformation);
        QSignalSpy own(shown, &MyDialog::signalsInformation);
        QSignalSpy removed(&gl_socket, &BroadcastSocket::signalsRemoveMessage);
        press();
        QTRY_VERIFY(shown->isVisible());
        QTEST(lastText(shown == &dialog ? own : hub), "said");
        QCOMPARE(snapshot(), before);
        QCOMPARE(removed.size(), 0);
        QVERIFY(typed.isEmpty() || shown->findChild<QtMaterialLineEdit *>()->text() == typed);
        if (id.startsWith("Edit ")) { // leaving again with the same typing goes without it
            navigator->go("Home");
            QCoreApplication::sendPostedEvents();
            QVERIFY(home->isVisible());
            navigator->go(id, "1", "0");
            shown->findChild<QtMaterialLineEdit *>()->setText(typed);
        }
        QVERIFY(unread ? StepFault::fired() : exec("drop trigger refuse"));
        press();
        QTRY_VERIFY(!shown->isVisible() || id == "Message Manager");
        QCOMPARE(snapshot().contains(typed.isEmpty() ? "Clean room" : typed), !typed.isEmpty());
    }

    // The pages as a user sees them, at 1920 x 1080.
    void screenshots()
    {
        QVERIFY(unit(0, "Ceiling AC") && unit(2, "Floor") && addPanel(Room, 1, 1, 30, "Door") &&
                addRoomDevice("tbl_occupation", Room, 1, 20, 5) && addTemplateLight(1, 1, 2, "Strip") &&
                addTemplatePanel(1, 1, "Door"));
        QVERIFY(QDir().mkpath(VARNO_SCREENSHOT_DIR));
        auto shoot = [](QWidget *page, const QString &name) {
            QCoreApplication::processEvents();
            const QImage image = page->grab().toImage();
            image.save(QStringLiteral(VARNO_SCREENSHOT_DIR "/") + name);
            return image;
        };
        for (MyDialog *page : qAsConst(pages))
            page->resize(1920, 1080);
        navigator->go("Edit Room", QString::number(Room), "1");
        for (int i = 0; i < editor->tabCount(); ++i) {
            editor->tabBar()->setCurrentIndex(i);
            const QImage shot = shoot(editor, QStringLiteral("edit-room-tab%1.png").arg(i));
            QVERIFY(editor->tabPage(i)->isVisible());
            auto *list = qobject_cast<DeviceTileTab *>(editor->tabPage(i));
            if (list && i != Lighting) {
                QWidget *tile = varnotest::gridTiles(list->tileBox()).first();
                QCOMPARE(shot.pixelColor(tile->mapTo(editor, QPoint(20, 20))), QColor(0x1F, 0x29, 0x33));
            }
        }
        navigator->go("AC Information", "0", QString::number(Room));
        shoot(acInfo, "ac-information-panel.png");
        acInfo->irButton()->click();
        QVERIFY(acInfo->patchList()->isVisible() && !acInfo->numberField(2)->isVisible());
        shoot(acInfo, "ac-information-ir.png");
        navigator->go("Edit Template", "1", "1");
        shoot(templates, "edit-template.png");
        QCOMPARE(varnotest::tileTexts(templates->templateLightingTab()->tileBox()),
                 (QStringList{"5:1:Strip", "0:0:"}));
    }
};

VARNO_TEST_MAIN(TestRoomDevices)
#include "tst_roomdevices.moc"
