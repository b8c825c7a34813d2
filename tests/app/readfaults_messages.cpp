// Sweep actions of the panel messages: their intake, the message bar, the alarm
// and message dialogs and the message definitions.

#include "readfaults.h"

#include "roomproject.h"
#include "simframe.h"

#include "bus/broadcastsocket.h"
#include "shell/panelmessageintake.h"
#include "store/globals.h"

#include <QDateTime>

namespace readfaults {

namespace {

const qint64 Morning = QDateTime(QDate(2026, 12, 7), QTime(9, 0, 0)).toSecsSinceEpoch();

QByteArray switchFrame(quint8 device, quint8 switchNo, quint8 state)
{
    return SimFrame::build(QByteArray::fromHex("7f000002"), 1, device, 0x0001, 0xE01C, 255, 255,
                           QByteArray(1, char(switchNo)) + char(state));
}

void seedMessages()
{
    using namespace roomproject;
    addRegion(1, QStringLiteral("North"));
    addFloor(1, 1, QStringLiteral("1F"));
    addRoom(7, QStringLiteral("Room 101"), 1, 1);
    addPanel(7, 1, 1, 20, QStringLiteral("Door panel"));
    addMessage(11, 0, QStringLiteral("Clean room"), 5);
    addMessage(12, 1, QStringLiteral("Fire"), 9);
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

} // namespace

QList<faultsweep::Action> messagesActions()
{
    QList<faultsweep::Action> actions;
    actions << faultsweep::Action{QStringLiteral("messages"), QStringLiteral("an alarm from a panel"), seedMessages,
                                  [](faultsweep::Run &run) { intake(run, {switchFrame(20, 9, 1)}); },
                                  nullptr, 1, true};
    actions << faultsweep::Action{QStringLiteral("messages"), QStringLiteral("a service message settles"),
                                  seedMessages,
                                  [](faultsweep::Run &run) { intake(run, {switchFrame(20, 5, 1)}); },
                                  nullptr, 1, true};
    return actions;
}

} // namespace readfaults
