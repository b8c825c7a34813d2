// Sweep actions of the panel messages, their dialogs and definitions, and the refresh control.

#include "readfaults.h"

#include "roomproject.h"
#include "simpanel.h"
#include "records/messagebar.h"
#include "records/messagedlg.h"
#include "records/messagelog.h"
#include "shell/manageritem.h"
#include "shell/panelmessageintake.h"
#include "shell/refreshingctrl.h"

#include <QComboBox>
#include <QDateTime>
#include <QLineEdit>

namespace readfaults {

// Room 101 of region North, floor 1F, with a door and a bed panel, the service
// message "Clean room" on switch 5 and the alarm "Fire" on switch 9.
void seedMessages()
{
    roomproject::exec("insert into tbl_region values(1,'North',1)");
    roomproject::exec("insert into tbl_floor values(1,'1F',1,1)");
    roomproject::exec("insert into tbl_room values(1,'Room 101','room_1',7,1,1,0)");
    roomproject::exec("insert into tbl_panel values(1,1,'Door panel',1,20,7),(2,2,'Bed panel',1,21,7)");
    roomproject::exec(
        "insert into tbl_message values(1,11,0,'Clean room','message_01',5),(2,12,1,'Fire','message_01',9)");
}

// Besides: the day's rows (each panel's "Clean room", open and cancelled, two alarms), the lights' update.
static void seedRows()
{
    seedMessages();
    roomproject::exec(
        "insert into tbl_message_log values(1,11,0,0,1,7,'','2026-12-07 08:00:00',''),(2,11,0,1,2,"
        "7,'','2026-12-07 08:30:00',''),(3,12,1,0,1,7,'','2026-12-07 08:45:00',''),(4,12,1,0,2,7,'',"
        "'2026-12-07 08:50:00','')");
    roomproject::exec("insert into tbl_last_update values(1,'all_lightings','Mon Dec 7 08:00:00 2026')");
}

// A status and remark chosen in a message or alarm dialog, and a button pressed.
static void pick(QWidget *dialog, const char *status, const char *button)
{
    dialog->show();
    child<QComboBox>(dialog, "comboBoxStatus")->setCurrentText(status);
    child<QLineEdit>(dialog, "lineEditRemark")->setText("Done");
    press(dialog, button);
}

QList<faultsweep::Action> messagesActions()
{
    QList<faultsweep::Action> actions;
    // Received messages are never refused, only delayed; the panels' answers go first.
    const auto add = [&actions](const char *name, int answers, auto script) {
        actions << faultsweep::Action{"messages", name, seedRows, script, nullptr, answers, answers > 0, {}};
    };
    // Panel 1 cancels, panel 2 opens "Clean room", panel 1 raises "Fire"; a minute of the message timer.
    add("panel messages are stored and shown", 3, [](faultsweep::Run &run) {
        PanelMessageIntake intake;
        qint64 now = QDateTime(QDate(2026, 12, 7), QTime(9, 0)).toSecsSinceEpoch();
        intake.setClock([&now]() { return now; });
        MessageBar bar;
        bar.setClock([&now]() { return now; });
        ManagerItem room(ManagerItemRoom, 7, "Room", QString(), false, Qt::black, 300, 200);
        run.start();
        for (QByteArray frame : {SimPanel(1, 20).switchFrame(5, false), SimPanel(1, 21).switchFrame(5, true),
                                 SimPanel(1, 20).switchFrame(9, true)})
            intake.takeFrame(reinterpret_cast<const quint8 *>(frame.data()), frame.size());
        for (int tick = 0; tick < 60; ++tick, ++now) {
            intake.slotsUniversalSwitch();
            bar.showWaiting();
        }
        for (const messageRecord &held : bar.alarmDialog()->heldRecords() + room.messageList())
            run.note(QString::asprintf("alarm %d %d %d", held.id, held.message_id, held.message_status));
    });
    add("the alarm dialog saves", 0, [](faultsweep::Run &run) {
        messageRecord first, second; // the two alarms, as the message bar hands them on
        MessageLog::read(3, first) && MessageLog::read(4, second);
        run.start();
        AlarmDlg dialog;
        dialog.append(first);
        dialog.append(second);
        pick(&dialog, "processed", "pushButtonNext");
        if (dialog.currentIndex() == 1) // else the operator was told the paging failed
            pick(&dialog, "secured", "pushButtonOk");
    });
    add("the message dialog saves", 0, [](faultsweep::Run &run) {
        messageRecord record; // "user cancel", kept while the remark is typed
        MessageLog::read(2, record);
        run.start();
        MessageDlg dialog;
        dialog.setMessageRecord(record);
        dialog.initDlgCtrl();
        pick(&dialog, "", "pushButtonOk");
    });
    // A definition entered ("Clean room" on switch 5, or a new one) and saved.
    for (const auto &[name, id, number] :
         {std::tuple{"message information moves a message to another switch", "11", "7"},
          {"message information refuses a used switch", "11", "9"},
          {"message information adds a message", "13", "6"},
          {"message information refuses a used switch for a new message", "13", "9"}}) {
        add(name, 0, [id = id, number = number](faultsweep::Run &run) {
            run.start();
            auto info = shownPage("Message Information");
            emit gl_socket.signalsPageEnter(id, QString());
            child<QLineEdit>(info.get(), "lineEditName")->setText("Towels");
            child<QLineEdit>(info.get(), "lineEditSwitchNo")->setText(number);
            press(info.get(), "pushButtonSave");
        });
    }
    add("the refresh control keeps the last update", 0, [](faultsweep::Run &run) {
        run.start();
        RefreshingCtrl().startRefresh("all_lightings");
    });
    return actions;
}

} // namespace readfaults
