// Sweep actions of room operation and the 3-D view: device replies, the device log, placements.

#include "readfaults.h"

#include "roomproject.h"
#include "simframe.h"

#include "bus/broadcastsocket.h"
#include "operation/acitem.h"
#include "operation/climateloader.h"
#include "operation/floorheatitem.h"
#include "operation/lightitem.h"
#include "operation/lightloader.h"
#include "operation/occupationmaster.h"
#include "operation/occupationmasteritem.h"
#include "store/devicelog.h"
#include "store/globals.h"

#include <QSqlQuery>

#include <memory>

namespace readfaults {

namespace {

using faultsweep::Action;
using faultsweep::Run;
using namespace roomproject;

constexpr int Room = 7;
const QString Area = QStringLiteral("operation");

QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray out;
    for (int v : values)
        out.append(char(v));
    return out;
}

// A frame of the device at 1/device to this installation (1/254).
QByteArray frameFrom(quint8 device, quint16 code, const QByteArray &payload)
{
    return SimFrame::build(QByteArray::fromHex("7f000002"), 1, device, 0x0258, code, 1, 254, payload);
}

// Hands frames to every device card as the hub does.
void hand(const QList<QByteArray> &frames)
{
    for (QByteArray frame : frames)
        emit gl_socket.dataIsComming(reinterpret_cast<quint8 *>(frame.data()), frame.size());
}

void logEarlier(const QString &device, const QString &event, const QString &time)
{
    exec(QStringLiteral("insert into tbl_log(log_type,log_address,log_device,log_event,log_time) "
                        "values(0,'North-1F-Room 101','%1','%2','%3')")
             .arg(sqlText(device), sqlText(event), time));
}

void seedRoom()
{
    addRegion(1, QStringLiteral("North"));
    addFloor(1, 1, QStringLiteral("1F"));
    addRoom(Room, QStringLiteral("Room 101"), 1, 1);
}

// A run of received frames ends once what the devices reported is stored: the
// kept reports written, the batch committed (a failed commit keeps its writes
// for the close).
void settle()
{
    Run::waitUntil([] { return keptDeviceWrites() == 0; });
    gl_sqlite3db.flushBatch();
    setKeptWriteRetryInterval(1000);
}

// Makes the card (in the 3-D view, so it takes frames unseen), hands it the frames
// and lets the reports settle.
template<typename Card, typename Record>
void report(Run &run, const Record &record, const QList<QByteArray> &frames)
{
    setKeptWriteRetryInterval(1);
    Card card(record, true);
    run.start();
    hand(frames);
    settle();
}

Action frames(const QString &name, std::function<void()> seed, std::function<void(Run &)> script)
{
    return Action{Area, name, std::move(seed), std::move(script), nullptr, 0, true};
}

// The log as judged where a repeated event may be logged twice: every device's
// events in order with repeats taken as one. The table itself then leaves the dump.
QString logOfChanges()
{
    QStringList out;
    QHash<QString, QString> newest;
    QSqlQuery rows = gl_sqlite3db.execQuery(QStringLiteral(
        "select log_type,log_address,log_device,log_event from tbl_log order by log_time,id"));
    while (rows.next()) {
        const QString key = rows.value(0).toString() + rows.value(1).toString() + rows.value(2).toString();
        if (newest.value(key) == rows.value(3).toString())
            continue;
        newest.insert(key, rows.value(3).toString());
        out << key + QLatin1Char(':') + rows.value(3).toString();
    }
    rows.finish();
    exec(QStringLiteral("delete from tbl_log"));
    return out.join(QLatin1Char('\n'));
}

void seedLamp(bool onLast)
{
    seedRoom();
    Light lamp;
    lamp.room = Room;
    lamp.type = LightOnOff;
    addLight(lamp);
    const QString on = QStringLiteral("status is on");
    const QString off = QStringLiteral("status is off");
    logEarlier(QStringLiteral("light_Lamp"), onLast ? off : on, QStringLiteral("2026-01-01 08:00:00"));
    logEarlier(QStringLiteral("light_Lamp"), onLast ? on : off, QStringLiteral("2026-01-01 09:00:00"));
}

QList<QByteArray> lampOn()
{
    return {frameFrom(20, 0xEFFE, QByteArrayLiteral("V1.2")), frameFrom(20, 0x0034, bytes({1, 100}))};
}

void seedAirConditioner()
{
    seedRoom();
    Unit ac;
    ac.room = Room;
    addUnit(ac);
    logEarlier(QStringLiteral("ac_AC"), QStringLiteral("room temperature is 21°C,status is off"),
               QStringLiteral("2026-01-01 08:00:00"));
}

} // namespace

QList<faultsweep::Action> operationActions()
{
    QList<Action> actions;
    actions << frames(QStringLiteral("a light reports on after off"), [] { seedLamp(false); },
                      [](Run &run) { report<LightItem>(run, loadRoomLights(Room).value(0), lampOn()); });
    // A failed read of the newest event logs the event again: a second row is
    // better than a missed one, so the log is judged by its changes.
    Action again = frames(QStringLiteral("a light reports the state it logged last"), [] { seedLamp(true); },
                          [](Run &run) { report<LightItem>(run, loadRoomLights(Room).value(0), lampOn()); });
    again.observe = logOfChanges;
    actions << again;
    actions << frames(QStringLiteral("an air conditioner's panel reports"), seedAirConditioner, [](Run &run) {
        report<ACItem>(run, loadRoomAirConditioners(Room).value(0),
                       {frameFrom(40, 0xEFFE, QByteArrayLiteral("AC2.0")), frameFrom(40, 0xE121, bytes({0})),
                        frameFrom(40, 0x1901, bytes({16, 30, 17, 30, 18, 30, 0, 0, 0})),
                        frameFrom(40, 0xE0ED, bytes({1, 23, 0x12, 0, 22, 21, 0, 24, 25, 0}))});
    });
    return actions;
}

} // namespace readfaults
