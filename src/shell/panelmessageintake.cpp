#include "panelmessageintake.h"

#include "bus/broadcastsocket.h"
#include "store/cppsqlite3db.h"
#include "store/globals.h"
#include "store/queryhelpers.h"

#include <QDateTime>
#include <QDebug>
#include <QElapsedTimer>
#include <QScopedValueRollback>
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
    m_drainLater.setSingleShot(true);
    m_drainLater.setInterval(0);
    connect(&m_drainLater, &QTimer::timeout, this, [this]() { drain(); });
    connect(&gl_socket, &BroadcastSocket::signalsProjectLeaving, this,
            &PanelMessageIntake::storeBeforeLeaving);
    // Waiting service messages carry the panel, room and message ids of the
    // project they came from; in another project they are dropped unstored.
    connect(&gl_socket, &BroadcastSocket::signalsProjectStateChanged, this, [this]() {
        m_pending.clear();
        const int left = m_unstored.size();
        m_unstored.clear();
        sayLost(left, QStringLiteral("left with the project"));
    });
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
    universalSwitchMessage msg;
    msg.recv_time = m_clock();
    msg.subnet_id = subnet;
    msg.device_id = device;
    msg.switch_no = switchNo;
    msg.switch_status = status;
    keep(msg, Stage::LookUp);
    drain();
}

void PanelMessageIntake::processServiceMessage(universalSwitchMessage msg)
{
    keep(msg, Stage::Settle);
    drain();
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
        keep(m_pending.takeAt(i), Stage::Settle);
        i = 0;
    }
    drain();
}

void PanelMessageIntake::storeBeforeLeaving()
{
    drain(true);
}

void PanelMessageIntake::sayLost(int count, const QString &why)
{
    if (count <= 0)
        return;
    qWarning() << "panel messages never stored," << why << ":" << count;
    emit gl_socket.signalsInformation(tr("%n panel message(s) could not be stored!", nullptr, count));
}

void PanelMessageIntake::keep(const universalSwitchMessage &msg, Stage stage)
{
    if (m_unstored.size() >= MaxUnstored) {
        m_unstored.removeFirst();
        sayLost(1, QStringLiteral("too many kept"));
    }
    m_unstored.append(Work{msg, stage, m_clock()});
}

void PanelMessageIntake::drain(bool whole)
{
    // An announcement's receivers may run an event loop in which further frames
    // arrive: those are only queued behind. Inside a transaction of other work
    // nothing is stored: its rollback would take the rows along.
    if (m_draining || gl_sqlite3db.inTransaction())
        return;
    const QScopedValueRollback<bool> draining(m_draining, true);
    QSet<QString> held;
    QElapsedTimer busy;
    busy.start();
    const qint64 now = m_clock();
    while (storeSlice(held, now)) {
        if (!whole && busy.elapsed() >= BusyMs) {
            // The rest goes on once the window has had its turn: from a timer,
            // which waits for the events already queued, unlike a posted call.
            m_drainLater.start();
            return;
        }
    }
}

namespace {

QString panelSwitch(const universalSwitchMessage &msg)
{
    return QString::asprintf("%d/%d/%d", msg.subnet_id, msg.device_id, msg.switch_no);
}

} // namespace

bool PanelMessageIntake::storeSlice(QSet<QString> &held, qint64 now)
{
    // Kept messages not held back, oldest first.
    QList<int> slice;
    for (int i = 0; i < m_unstored.size() && slice.size() < SliceSize; ++i) {
        if (!held.contains(panelSwitch(m_unstored.at(i).msg)))
            slice.append(i);
    }
    if (slice.isEmpty() || !gl_sqlite3db.beginTransaction())
        return false;
    const QList<Work> before = m_unstored;
    QList<universalSwitchMessage> announce;
    QList<int> done;
    int lost = 0;
    QElapsedTimer spent;
    spent.start();
    for (int i : qAsConst(slice)) {
        Work &work = m_unstored[i];
        if (advance(work, announce)) {
            done.append(i);
            if (spent.elapsed() >= SliceMs)
                break;
            continue;
        }
        if (now - work.since >= RetrySeconds) {
            done.append(i);
            ++lost;
        } else {
            held.insert(panelSwitch(work.msg));
        }
        // What follows a failure goes into a slice of its own: a failed write
        // may have ended the transaction.
        break;
    }
    if (!gl_sqlite3db.commitTransaction()) {
        // Nothing of the slice was stored: every message stays as it was.
        m_unstored = before;
        return false;
    }
    for (int k = done.size() - 1; k >= 0; --k)
        m_unstored.removeAt(done.at(k));
    sayLost(lost, QStringLiteral("tried for %1 s").arg(RetrySeconds));
    for (const universalSwitchMessage &msg : qAsConst(announce))
        emit gl_socket.signalsAppendMessage(msg);
    return true;
}

bool PanelMessageIntake::lookUp(universalSwitchMessage &msg, bool &known)
{
    known = false;
    // Each row is read once: this runs for every switch frame on the bus.
    QSqlQuery panel = gl_sqlite3db.execQuery(QString::asprintf(
        "select* from tbl_panel where subnet_id=%d and device_id=%d", msg.subnet_id, msg.device_id));
    if (!panel.next())
        return rowsReadToEnd(panel);
    msg.panel_id = panel.value(QStringLiteral("panel_id")).toInt();
    msg.room_id = panel.value(QStringLiteral("room_id")).toInt();
    panel.finish();

    QSqlQuery message = gl_sqlite3db.execQuery(
        QString::asprintf("select * from tbl_message where universal_switch_no=%d", msg.switch_no));
    if (!message.next())
        return rowsReadToEnd(message);
    msg.message_id = message.value(QStringLiteral("message_id")).toInt();
    msg.message_type = message.value(QStringLiteral("message_type")).toInt();
    known = true;
    return true;
}

void PanelMessageIntake::waitToSettle(const universalSwitchMessage &msg)
{
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

bool PanelMessageIntake::advance(Work &work, QList<universalSwitchMessage> &announce)
{
    universalSwitchMessage &msg = work.msg;
    const QString recv = timeText(msg.recv_time);
    if (work.stage == Stage::LookUp) {
        // Frames of panels or switch numbers the project does not configure are dropped.
        bool known = false;
        if (!lookUp(msg, known))
            return false;
        if (!known)
            return true;
        if (msg.message_type != 1) {
            msg.message_status = msg.switch_status > 0 ? 0 : 1;
            waitToSettle(msg);
            return true;
        }
        msg.message_status = 0;
        work.stage = Stage::Insert;
    }
    if (work.stage == Stage::Settle) {
        // Only the day's first row of this message, panel and room is looked at.
        QSqlQuery day = gl_sqlite3db.execQuery(QString::asprintf(
            "select * from tbl_message_log where message_id=%d and message_type=%d and panel_id=%d and "
            "room_id=%d and recv_time like '%s%%'",
            msg.message_id, msg.message_type, msg.panel_id, msg.room_id,
            sqlText(dayText(msg.recv_time)).toUtf8().constData()));
        const bool found = day.next();
        if (!found && !rowsReadToEnd(day))
            return false;
        const int status = found ? day.value(QStringLiteral("message_status")).toInt() : -1;
        const int rowId = found ? day.value(QStringLiteral("id")).toInt() : 0;
        day.finish();
        if (found && (status == 0 || status == 1)) {
            if (!gl_sqlite3db.execDML(
                    QString::asprintf("update tbl_message_log set message_status=%d,recv_time='%s' "
                                      "where id=%d",
                                      msg.message_status, sqlText(recv).toUtf8().constData(), rowId)))
                return false;
            msg.id = rowId;
            announce.append(msg);
            return true;
        }
        if (msg.switch_status <= 0)
            return true;
        work.stage = Stage::Insert;
    }
    if (work.stage == Stage::Insert) {
        // The new row's own id comes straight from the insert, so two identical
        // messages within one second are told apart.
        QSqlQuery insert = gl_sqlite3db.execQuery(QString::asprintf(
            "insert into tbl_message_log(message_id,message_type,message_status,panel_id,room_id,"
            "message_log_remark,recv_time,deal_time)values(%d,%d,%d,%d,%d,'%s','%s','%s')",
            msg.message_id, msg.message_type, 0, msg.panel_id, msg.room_id, "",
            sqlText(recv).toUtf8().constData(), ""));
        const bool stored = rowsReadToEnd(insert);
        const QVariant rowId = insert.lastInsertId();
        insert.finish();
        if (!stored)
            return false;
        work.stage = Stage::FindId;
        if (rowId.isValid())
            msg.id = rowId.toInt();
    }
    if (msg.id == 0) {
        bool read = false;
        msg.id =
            getValueFromDb(QString::asprintf("select id from tbl_message_log where message_id=%d and "
                                             "message_type=%d and message_status=%d and panel_id=%d and "
                                             "room_id=%d and recv_time='%s'",
                                             msg.message_id, msg.message_type, 0, msg.panel_id, msg.room_id,
                                             sqlText(recv).toUtf8().constData()),
                           QStringLiteral("id"), &read);
        if (!read)
            return false;
    }
    announce.append(msg);
    return true;
}
