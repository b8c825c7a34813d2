// Sweep actions of the panel messages: their intake, the message bar, the alarm
// and message dialogs and the message definitions.

#include "readfaults.h"

#include "roomproject.h"
#include "simframe.h"

#include "app/pagefactory.h"
#include "bus/broadcastsocket.h"
#include "records/alarmdlg.h"
#include "records/messagebar.h"
#include "records/messagedlg.h"
#include "records/messageform.h"
#include "records/messageitem.h"
#include "records/messagelog.h"
#include "records/pagesettingmessagemanagermessageinformation.h"
#include "shell/manageritem.h"
#include "shell/mydialog.h"
#include "shell/panelmessageintake.h"
#include "shell/refreshingctrl.h"
#include "store/globals.h"

#include <QAbstractButton>
#include <QDateTime>
#include <memory>
#include <qtmaterialcombobox.h>
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

void addRow(int messageId, int type, int status, int panel, const char *time)
{
    roomproject::exec(QStringLiteral("insert into tbl_message_log(message_id,message_type,message_status,"
                                     "panel_id,room_id,message_log_remark,recv_time,deal_time)"
                                     "values(%1,%2,%3,%4,7,'','2026-12-07 %5','')")
                          .arg(messageId)
                          .arg(type)
                          .arg(status)
                          .arg(panel)
                          .arg(QLatin1String(time)));
}

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

// The day's rows: a service message of each panel (one open, one cancelled) and two alarms.
void seedRows()
{
    seedMessages();
    addRow(11, 0, 0, 1, "08:00:00");
    addRow(11, 0, 1, 2, "08:30:00");
    addRow(12, 1, 0, 1, "08:45:00");
    addRow(12, 1, 0, 2, "08:50:00");
}

// Notes what the hub announces to the tiles, lists and pages, and what it says
// to the user (in the main window's snackbar).
void watchHub(faultsweep::Run &run)
{
    QObject::connect(&gl_socket, &BroadcastSocket::signalsInformation, &run, [&run](QString text) {
        if (run.started())
            run.say(text);
    });
    QObject::connect(&gl_socket, &BroadcastSocket::signalsAppendMessage, &run, [&run](universalSwitchMessage m) {
        run.note(QStringLiteral("shown: message %1 row %2 status %3").arg(m.message_id).arg(m.id).arg(m.message_status));
    });
    QObject::connect(&gl_socket, &BroadcastSocket::signalsUpdateMessage, &run, [&run](messageRecord r) {
        run.note(QStringLiteral("updated: row %1 status %2 %3").arg(r.id).arg(r.message_status).arg(r.message_log_remark));
    });
    QObject::connect(&gl_socket, &BroadcastSocket::signalsRemoveMessage, &run, [&run](int value, int type) {
        run.note(QStringLiteral("removed: %1 by %2").arg(value).arg(type));
    });
    QObject::connect(&gl_socket, &BroadcastSocket::signalsPageIdChanged, &run,
                     [&run](QString id, QString, QString prm1) { run.note(QStringLiteral("page: %1 %2").arg(id, prm1)); });
}

// Frames handed to the intake as the main window does, then a minute of its
// 1 s sweep.
void intake(faultsweep::Run &run, const QList<QByteArray> &frames)
{
    PanelMessageIntake intake;
    qint64 now = Morning;
    intake.setClock([&now]() { return now; });
    watchHub(run);
    run.start();
    for (QByteArray frame : frames)
        intake.takeFrame(reinterpret_cast<const quint8 *>(frame.data()), frame.size());
    for (int second = 0; second < 60; ++second) {
        now = Morning + second;
        intake.slotsUniversalSwitch();
    }
}

universalSwitchMessage announced(int row, int message, int type)
{
    universalSwitchMessage m;
    m.id = row;
    m.message_id = message;
    m.message_type = type;
    m.panel_id = 1;
    m.room_id = 7;
    return m;
}

messageRecord stored(int row)
{
    messageRecord record;
    MessageLog::read(row, record);
    return record;
}

void click(QWidget *parent, const char *button)
{
    parent->findChild<QAbstractButton *>(QLatin1String(button))->click();
}

std::unique_ptr<MyDialog> page(const QString &id)
{
    std::unique_ptr<MyDialog> made(createPage(id, id));
    made->show();
    return made;
}

// A definition entered (on the information page) and saved, the way the main
// window navigates: its page change enters the page asked for.
void saveDefinition(faultsweep::Run &run, const std::function<void()> &open, const QString &name, const char *number)
{
    auto info = page(QStringLiteral("Message Information"));
    auto *form = static_cast<PageSettingMessageManagerMessageInformation *>(info.get());
    QObject::connect(&gl_socket, &BroadcastSocket::signalsPageIdChanged, &run,
                     [](QString id, QString, QString prm1, QString prm2) {
                         if (id == QLatin1String("Message Information"))
                             emit gl_socket.signalsPageEnter(prm1, prm2);
                     });
    watchHub(run);
    run.start();
    open();
    if (!form->isExisting() && form->messageId() == 0)
        return;
    form->nameEdit()->setText(name);
    form->switchEdit()->setText(QLatin1String(number));
    form->saveButton()->click();
}

using Script = std::function<void(faultsweep::Run &)>;

} // namespace

QList<faultsweep::Action> messagesActions()
{
    QList<faultsweep::Action> actions;
    // Received messages are never refused, only delayed; the panel's answers go first.
    const auto add = [&actions](const char *name, std::function<void()> seed, Script script, bool received = false,
                                int answers = 0) {
        actions << faultsweep::Action{QStringLiteral("messages"), QLatin1String(name), seed, script, nullptr,
                                      answers, received};
    };
    add("an alarm from a panel", seedMessages, [](faultsweep::Run &run) { intake(run, {switchFrame(20, 9, 1)}); },
        true, 1);
    add("a service message settles", seedMessages,
        [](faultsweep::Run &run) { intake(run, {switchFrame(20, 5, 1)}); }, true, 1);
    add("service messages settle on their day's rows", seedRows,
        [](faultsweep::Run &run) { intake(run, {switchFrame(20, 5, 0), switchFrame(21, 5, 1)}); }, true, 2);
    add("the message bar shows an alarm", seedRows, [](faultsweep::Run &run) {
        MessageBar bar;
        run.start();
        emit gl_socket.signalsAppendMessage(announced(3, 12, 1));
        for (int tick = 0; tick < 3; ++tick)
            bar.showWaiting();
        for (MessageItem *tile : bar.tiles())
            run.note(QStringLiteral("tile: row %1").arg(tile->getMessageRecord().id));
        for (const messageRecord &held : bar.alarmDialog()->heldRecords())
            run.note(QStringLiteral("alarm: row %1 open %2").arg(held.id).arg(bar.alarmDialog()->isVisible()));
    }, true);
    add("a room tile marks an alarm", seedRows, [](faultsweep::Run &run) {
        ManagerItem tile(ManagerItemRoom, 7, QStringLiteral("Room 101"), QStringLiteral("room_1"), false, Qt::black,
                         300, 200);
        run.start();
        emit gl_socket.signalsAppendMessage(announced(3, 12, 1));
        for (const messageRecord &held : tile.messageList())
            run.note(QStringLiteral("strip: row %1 message %2").arg(held.id).arg(held.message_id));
    }, true);
    add("the alarm dialog saves", seedRows, [](faultsweep::Run &run) {
        AlarmDlg dialog;
        dialog.append(stored(3));
        dialog.append(stored(4));
        dialog.show();
        watchHub(run);
        dialog.form()->selectStatus(QStringLiteral("processed"));
        run.start();
        click(&dialog, "pushButtonNext");
        if (dialog.currentIndex() != 1)
            return; // the operator is told the paging failed
        dialog.form()->selectStatus(QStringLiteral("secured"));
        click(&dialog, "pushButtonOk");
        run.note(QStringLiteral("open: %1").arg(dialog.isVisible()));
    });
    add("the message dialog saves", seedRows, [](faultsweep::Run &run) {
        MessageDlg dialog;
        dialog.setMessageRecord(stored(1));
        dialog.initDlgCtrl();
        dialog.show();
        watchHub(run);
        dialog.form()->selectStatus(QStringLiteral("processed"));
        dialog.form()->remarkField()->setText(QStringLiteral("Done"));
        run.start();
        click(&dialog, "pushButtonOk");
        run.note(QStringLiteral("open: %1").arg(dialog.isVisible()));
    });
    add("message information edits a message", seedRows, [](faultsweep::Run &run) {
        saveDefinition(
            run, [] { emit gl_socket.signalsPageEnter(QStringLiteral("11"), QString()); },
            QStringLiteral("Clean room now"), "7");
    });
    add("the message manager adds a message", seedMessages, [](faultsweep::Run &run) {
        auto manager = page(QStringLiteral("Message Manager"));
        emit gl_socket.signalsPageEnter(QString(), QString());
        const auto pressAdd = [&manager] {
            for (ManagerItem *tile : manager->findChildren<ManagerItem *>())
                if (tile->getType() == ManagerItemAdd)
                    tile->slotsPressed();
        };
        saveDefinition(run, pressAdd, QStringLiteral("Towels"), "6");
    });
    add("the message manager deletes a message", seedRows, [](faultsweep::Run &run) {
        auto manager = page(QStringLiteral("Message Manager"));
        emit gl_socket.signalsPageEnter(QString(), QString());
        watchHub(run);
        run.start();
        for (ManagerItem *tile : manager->findChildren<ManagerItem *>())
            if (tile->getType() == ManagerItemMessage && tile->getId() == 11)
                tile->pushButtonDelete_clicked();
    });
    add("the refresh control keeps the last update", [] {
        roomproject::exec(QStringLiteral("insert into tbl_last_update(last_update_id,last_update_time) "
                                         "values('all_lightings','Mon Dec 7 08:00:00 2026')"));
    }, [](faultsweep::Run &run) {
        RefreshingCtrl::setClock([] { return QDateTime::fromSecsSinceEpoch(Morning); });
        RefreshingCtrl control;
        watchHub(run);
        run.start();
        control.startRefresh(QStringLiteral("all_lightings"));
        RefreshingCtrl::setClock(nullptr);
    });
    return actions;
}

} // namespace readfaults
