// Sweep actions of the panel messages: their intake, the message bar, the alarm
// and message dialogs and the message definitions.

#include "readfaults.h"

#include "roomproject.h"
#include "simframe.h"

#include "app/pagefactory.h"
#include "bus/broadcastsocket.h"
#include "records/messagebar.h"
#include "records/messagedlg.h"
#include "records/messageform.h"
#include "records/messageitem.h"
#include "records/messagelog.h"
#include "records/pagesettingmessagemanagermessageinformation.h"
#include "shell/manageritem.h"
#include "shell/panelmessageintake.h"
#include "shell/refreshingctrl.h"
#include "store/globals.h"

#include <QAbstractButton>
#include <QDateTime>
#include <memory>
#include <qtmaterialflatbutton.h>
#include <qtmateriallineedit.h>

namespace readfaults {

namespace {

const qint64 Morning = QDateTime(QDate(2026, 12, 7), QTime(9, 0, 0)).toSecsSinceEpoch();

QByteArray switchFrame(quint8 device, quint8 switchNo, quint8 state)
{
    return SimFrame::build(QByteArray::fromHex("7f000002"), 1, device, 0x0001, 0xE01C, 255, 255,
                           QByteArray(1, char(switchNo)) + char(state));
}


// The day's rows: a service message of each panel (open, cancelled) and two alarms.
void seedRows()
{
    seedMessages();
    roomproject::exec(
        QStringLiteral("insert into tbl_message_log(message_id,message_type,message_status,panel_id,"
                       "room_id,recv_time,message_log_remark,deal_time) values"
                       "(11,0,0,1,7,'2026-12-07 08:00:00','',''),(11,0,1,2,7,'2026-12-07 08:30:00','',''),"
                       "(12,1,0,1,7,'2026-12-07 08:45:00','',''),(12,1,0,2,7,'2026-12-07 08:50:00','','')"));
}

// Notes what the hub tells the tiles and pages.
void watchHub(faultsweep::Run &run)
{
    QObject::connect(&gl_socket, &BroadcastSocket::signalsUpdateMessage, &run, [&run](messageRecord r) {
        run.note(QString::asprintf("updated %d %d", r.id, r.message_status));
    });
    QObject::connect(&gl_socket, &BroadcastSocket::signalsRemoveMessage, &run,
                     [&run](int id) { run.note(QString::number(id)); });
    QObject::connect(&gl_socket, &BroadcastSocket::signalsPageIdChanged, &run,
                     [&run](QString id) { run.note(id); });
}

// Frames handed to the intake as the main window does, then a minute of its
// 1 s sweep; every announcement is noted as shown.
void intake(faultsweep::Run &run, const QList<QByteArray> &frames)
{
    PanelMessageIntake intake;
    qint64 now = Morning;
    intake.setClock([&now]() { return now; });
    QObject::connect(&gl_socket, &BroadcastSocket::signalsAppendMessage, &run,
                     [&run](universalSwitchMessage m) {
                         run.note(QStringLiteral("shown: message %1 row %2 status %3")
                                     .arg(m.message_id)
                                     .arg(m.id)
                                     .arg(m.message_status));
                     });
    run.start();
    for (QByteArray frame : frames)
        intake.takeFrame(reinterpret_cast<const quint8 *>(frame.data()), frame.size());
    for (int second = 0; second < 60; ++second) {
        now = Morning + second;
        intake.slotsUniversalSwitch();
    }
}

messageRecord stored(int row)
{
    messageRecord record;
    MessageLog::read(row, record);
    return record;
}

void start(faultsweep::Run &run)
{
    watchHub(run);
    run.start();
}

// Picks a status and remark in a message or alarm dialog and presses a button.
void press(MyDialog &dialog, MessageForm *form, const char *status, const char *button)
{
    dialog.show();
    form->selectStatus(QLatin1String(status));
    form->remarkField()->setText(QStringLiteral("Done"));
    dialog.findChild<QAbstractButton *>(QLatin1String(button))->click();
}

// A page shown and entered.
std::unique_ptr<MyDialog> page(const QString &id)
{
    std::unique_ptr<MyDialog> made(createPage(id, id));
    made->show();
    emit gl_socket.signalsPageEnter(QString(), QString());
    return made;
}

// A definition opened (as the main window navigates) and saved on the information page.
void saveDefinition(faultsweep::Run &run, const char *number, const std::function<void()> &open)
{
    QObject::connect(&gl_socket, &BroadcastSocket::signalsPageIdChanged, &run,
                     [](QString id, QString, QString prm1) {
                         if (id == QLatin1String("Message Information"))
                             emit gl_socket.signalsPageEnter(prm1, QString());
                     });
    start(run);
    std::unique_ptr<MyDialog> info(createPage(QStringLiteral("Message Information"), QString()));
    auto *form = static_cast<PageSettingMessageManagerMessageInformation *>(info.get());
    form->show();
    open();
    if (form->messageId() == 0)
        return; // no definition was opened
    form->nameEdit()->setText(QStringLiteral("Towels"));
    form->switchEdit()->setText(QLatin1String(number));
    form->saveButton()->click();
}

} // namespace

// Room 101 of region North, floor 1F, with a door and a bed panel, the service
// message "Clean room" on switch 5 and the alarm "Fire" on switch 9.
void seedMessages()
{
    using namespace roomproject;
    addRegion(1, QStringLiteral("North"));
    addFloor(1, 1, QStringLiteral("1F"));
    addRoom(7, QStringLiteral("Room 101"), 1, 1);
    addPanel(7, 1, 1, 20, QStringLiteral("Door panel"));
    addPanel(7, 2, 1, 21, QStringLiteral("Bed panel"));
    addMessage(11, 0, QStringLiteral("Clean room"), 5);
    addMessage(12, 1, QStringLiteral("Fire"), 9);
}

QList<faultsweep::Action> messagesActions()
{
    QList<faultsweep::Action> actions;
    using Script = std::function<void(faultsweep::Run &)>;
    const auto add = [&actions](const char *name, std::function<void()> seed, Script script) {
        actions << faultsweep::Action{
            QStringLiteral("messages"), QLatin1String(name), seed, script, nullptr, 0, false};
    };
    // Received messages are never refused, only delayed; the panel's answers go first.
    const auto received = [&actions](const char *name, std::function<void()> seed, int answers,
                                     Script script) {
        actions << faultsweep::Action{
            QStringLiteral("messages"), QLatin1String(name), seed, script, nullptr, answers, true};
    };
    received("an alarm from a panel", seedMessages, 1,
             [](faultsweep::Run &run) { intake(run, {switchFrame(20, 9, 1)}); });
    received("a service message settles", seedMessages, 1,
             [](faultsweep::Run &run) { intake(run, {switchFrame(20, 5, 1)}); });
    received("service messages settle on their day's rows", seedRows, 2,
             [](faultsweep::Run &run) { intake(run, {switchFrame(20, 5, 0), switchFrame(21, 5, 1)}); });
    received("an announced alarm is shown", seedRows, 0, [](faultsweep::Run &run) {
        MessageBar bar;
        ManagerItem room(ManagerItemRoom, 7, QStringLiteral("Room"), QString(), false, Qt::black, 300, 200);
        run.start();
        emit gl_socket.signalsAppendMessage({3, 1, 20, 9, 1, 1, 7, 12, 0, 1, Morning});
        for (int tick = 0; tick < 3; ++tick)
            bar.showWaiting();
        for (MessageItem *tile : bar.tiles())
            run.note(QStringLiteral("tile %1").arg(tile->getMessageRecord().id));
        for (const messageRecord &held : bar.alarmDialog()->heldRecords() + room.messageList())
            run.note(QStringLiteral("alarm %1 %2").arg(held.id).arg(held.message_id));
    });
    add("the alarm dialog saves", seedRows, [](faultsweep::Run &run) {
        const messageRecord first = stored(3), second = stored(4);
        start(run);
        AlarmDlg dialog;
        dialog.append(first);
        dialog.append(second);
        press(dialog, dialog.form(), "processed", "pushButtonNext");
        if (dialog.currentIndex() == 1) { // else the operator was told the paging failed
            dialog.form()->selectStatus(QStringLiteral("secured"));
            dialog.findChild<QAbstractButton *>(QStringLiteral("pushButtonOk"))->click();
        }
        run.note(QStringLiteral("open %1").arg(dialog.isVisible()));
    });
    add("the message dialog saves", seedRows, [](faultsweep::Run &run) {
        const messageRecord record = stored(2); // "user cancel", kept while the remark is typed
        start(run);
        MessageDlg dialog;
        dialog.setMessageRecord(record);
        dialog.initDlgCtrl();
        press(dialog, dialog.form(), "", "pushButtonOk");
        run.note(QStringLiteral("open %1").arg(dialog.isVisible()));
    });
    // A definition saved: edited (entered for message 11, on switch 5) or added from the manager's add tile.
    const QList<std::tuple<const char *, bool, const char *>> definitions = {
        {"message information renames a message", true, "5"},
        {"message information moves a message to another switch", true, "7"},
        {"message information refuses a used switch", true, "9"},
        {"the message manager adds a message", false, "6"},
        {"the message manager refuses a used switch", false, "9"}};
    for (const auto &[name, edit, number] : definitions) {
        add(name, seedRows, [edit = edit, number = number](faultsweep::Run &run) {
            auto manager = edit ? nullptr : page(QStringLiteral("Message Manager"));
            saveDefinition(run, number, [&] {
                if (edit)
                    emit gl_socket.signalsPageEnter(QStringLiteral("11"), QString());
                else
                    manager->findChildren<ManagerItem *>().last()->slotsPressed();
            });
        });
    }
    add("the message manager deletes a message", seedRows, [](faultsweep::Run &run) {
        auto manager = page(QStringLiteral("Message Manager"));
        start(run);
        manager->findChildren<ManagerItem *>().first()->pushButtonDelete_clicked();
    });
    const auto lastUpdate = [] {
        roomproject::exec(QStringLiteral("insert into tbl_last_update(last_update_id,last_update_time) "
                                         "values('all_lightings','Mon Dec 7 08:00:00 2026')"));
    };
    add("the refresh control keeps the last update", lastUpdate, [](faultsweep::Run &run) {
        RefreshingCtrl::setClock([] { return QDateTime::fromSecsSinceEpoch(Morning); });
        RefreshingCtrl control;
        start(run);
        control.startRefresh(QStringLiteral("all_lightings"));
        RefreshingCtrl::setClock(nullptr);
    });
    return actions;
}

} // namespace readfaults
