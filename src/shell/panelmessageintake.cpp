#include "panelmessageintake.h"

#include "bus/broadcastsocket.h"
#include "store/cppsqlite3db.h"
#include "store/globals.h"
#include "store/queryhelpers.h"

#include <QDateTime>
#include <QSqlQuery>
#include <QVariant>
#include <cstring>

namespace {

const unsigned short kUniversalSwitch = 0xE01C;
const unsigned short kUniversalSwitchAnswer = 0xE01D;

QString timeText(qint64 secs)
{
    return QDateTime::fromSecsSinceEpoch(secs).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

QString dayText(qint64 secs)
{
    return QDateTime::fromSecsSinceEpoch(secs).toString(QStringLiteral("yyyy-MM-dd"));
}

} // namespace

PanelMessageIntake::PanelMessageIntake(QObject *parent)
    : QObject(parent)
    , m_clock([]() { return QDateTime::currentSecsSinceEpoch(); })
{
    // Waiting service messages carry the panel, room and message ids of the
    // project they came from; in another project they are dropped unstored.
    connect(&gl_socket, &BroadcastSocket::signalsProjectStateChanged, this, [this]() { m_pending.clear(); });
}

bool PanelMessageIntake::takeFrame(const quint8 *buffer, qlonglong length)
{
    if (length <= 0)
        return false;
    unsigned char frame[BroadcastSocket::BufferSize] = {};
    const qlonglong n = qMin<qlonglong>(length, BroadcastSocket::BufferSize);
    std::memcpy(frame, buffer, static_cast<size_t>(n));
    if (!gl_socket.checkRecvBuff_0xAAAA(frame, n))
        return false;
    const unsigned short code = static_cast<unsigned short>((frame[21] << 8) | frame[22]);
    if (code != kUniversalSwitch)
        return true;
    // The switch number and state are the first two payload bytes; a shorter
    // frame carries no switch and is left unanswered.
    const int payload = frame[16] - 11;
    if (payload < 2)
        return true;
    unsigned char answer[2] = {frame[25], static_cast<unsigned char>(frame[26] != 0 ? 1 : 0)};
    gl_socket.sendCommand(13, kUniversalSwitchAnswer, 255, 255, answer, 2);
    processUniversalSwitch(frame[17], frame[18], answer[0], answer[1]);
    return true;
}

void PanelMessageIntake::processUniversalSwitch(unsigned char subnet, unsigned char device,
                                                unsigned char switchNo, unsigned char status)
{
    const QString panelSql =
        QString::asprintf("select* from tbl_panel where subnet_id=%d and device_id=%d", subnet, device);
    universalSwitchMessage msg;
    {
        // Each row is read once: this runs for every switch frame on the bus.
        QSqlQuery panel = gl_sqlite3db.execQuery(panelSql);
        if (!panel.next())
            return;
        msg.panel_id = panel.value(QStringLiteral("panel_id")).toInt();
        msg.room_id = panel.value(QStringLiteral("room_id")).toInt();
    }
    msg.recv_time = m_clock();
    msg.subnet_id = subnet;
    msg.device_id = device;

    const QString messageSql =
        QString::asprintf("select * from tbl_message where universal_switch_no=%d", switchNo);
    {
        QSqlQuery message = gl_sqlite3db.execQuery(messageSql);
        if (!message.next())
            return;
        msg.message_id = message.value(QStringLiteral("message_id")).toInt();
        msg.message_type = message.value(QStringLiteral("message_type")).toInt();
    }
    msg.switch_no = switchNo;
    msg.switch_status = status;

    if (msg.message_type == 1) {
        msg.message_status = 0;
        storeNewRow(msg);
        emit gl_socket.signalsAppendMessage(msg);
        return;
    }

    msg.message_status = msg.switch_status > 0 ? 0 : 1;
    for (int i = 0; i < m_pending.size(); ++i) {
        const universalSwitchMessage &entry = m_pending.at(i);
        if (entry.subnet_id == msg.subnet_id && entry.device_id == msg.device_id &&
            entry.switch_no == msg.switch_no) {
            if (entry.switch_status != msg.switch_status)
                m_pending[i] = msg;
            return;
        }
    }
    m_pending.append(msg);
}

void PanelMessageIntake::slotsUniversalSwitch()
{
    const qint64 now = m_clock();
    int i = 0;
    while (i < m_pending.size()) {
        if (now - m_pending.at(i).recv_time < SettleSeconds) {
            ++i;
            continue;
        }
        const universalSwitchMessage settled = m_pending.takeAt(i);
        processServiceMessage(settled);
        i = 0;
    }
}

void PanelMessageIntake::storeNewRow(universalSwitchMessage &msg)
{
    const QString recv = timeText(msg.recv_time);
    // The new row's own id comes straight from the insert, so two identical
    // messages within one second are told apart.
    QSqlQuery insert = gl_sqlite3db.execQuery(QString::asprintf(
        "insert into tbl_message_log(message_id,message_type,message_status,panel_id,room_id,"
        "message_log_remark,recv_time,deal_time)values(%d,%d,%d,%d,%d,'%s','%s','%s')",
        msg.message_id, msg.message_type, 0, msg.panel_id, msg.room_id, "",
        sqlText(recv).toUtf8().constData(), ""));
    const QVariant rowId = insert.lastInsertId();
    insert.finish();
    if (rowId.isValid()) {
        msg.id = rowId.toInt();
        return;
    }
    msg.id = getValueFromDb(QString::asprintf("select id from tbl_message_log where message_id=%d and "
                                              "message_type=%d and message_status=%d and panel_id=%d and "
                                              "room_id=%d and recv_time='%s'",
                                              msg.message_id, msg.message_type, 0, msg.panel_id, msg.room_id,
                                              sqlText(recv).toUtf8().constData()),
                            QStringLiteral("id"));
}

void PanelMessageIntake::processServiceMessage(universalSwitchMessage msg)
{
    const QString daySql = QString::asprintf(
        "select * from tbl_message_log where message_id=%d and message_type=%d and panel_id=%d and "
        "room_id=%d and recv_time like '%s%%'",
        msg.message_id, msg.message_type, msg.panel_id, msg.room_id,
        sqlText(dayText(msg.recv_time)).toUtf8().constData());
    QSqlQuery day = gl_sqlite3db.execQuery(daySql);
    const bool found = day.next();
    const int status = found ? day.value(QStringLiteral("message_status")).toInt() : -1;
    const int rowId = found ? day.value(QStringLiteral("id")).toInt() : 0;
    day.finish();
    if (found && (status == 0 || status == 1)) {
        msg.id = rowId;
        gl_sqlite3db.execDML(QString::asprintf(
            "update tbl_message_log set message_status=%d,recv_time='%s' "
            "where id=%d",
            msg.message_status, sqlText(timeText(msg.recv_time)).toUtf8().constData(), msg.id));
        emit gl_socket.signalsAppendMessage(msg);
        return;
    }
    if (msg.switch_status > 0) {
        storeNewRow(msg);
        emit gl_socket.signalsAppendMessage(msg);
    }
}
