#include "panelmessageintake.h"

#include "bus/broadcastsocket.h"
#include "shell/lossnotice.h"
#include "store/cppsqlite3db.h"
#include "store/globals.h"
#include "store/queryhelpers.h"

#include <QDateTime>
#include <QDebug>
#include <QElapsedTimer>
#include <QScopedValueRollback>
#include <QSqlQuery>
#include <QThread>
#include <QVariant>
#include <cstring>
#include <limits>
#include <utility>

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
    m_nextTurn.setSingleShot(true);
    m_nextTurn.setInterval(0);
    // A timer, which waits for the events already queued (the datagrams among
    // them), unlike a posted call.
    connect(&m_nextTurn, &QTimer::timeout, this, [this]() {
        m_spentNs = 0;
        // Stored as a project was about to be left, which it was not after all.
        for (const universalSwitchMessage &msg : std::exchange(m_unannounced, {}))
            emit gl_socket.signalsAppendMessage(msg);
        drain();
    });
    connect(&gl_socket, &BroadcastSocket::signalsProjectLeaving, this,
            &PanelMessageIntake::storeBeforeLeaving);
    // Waiting service messages carry the panel, room and message ids of the
    // project they came from; in another project they are dropped unstored.
    connect(&gl_socket, &BroadcastSocket::signalsProjectStateChanged, this, [this]() {
        m_pending.clear();
        m_unannounced.clear();
        sayLost(m_kept.clear(), "left with the project");
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
    take(Work{msg, Stage::LookUp, msg.recv_time});
}

void PanelMessageIntake::processServiceMessage(universalSwitchMessage msg)
{
    take(Work{msg, Stage::Settle, m_clock()});
}

void PanelMessageIntake::slotsUniversalSwitch()
{
    const qint64 now = m_clock();
    QList<universalSwitchMessage> resting;
    for (const universalSwitchMessage &msg : qAsConst(m_pending)) {
        if (now - msg.recv_time < SettleSeconds)
            resting.append(msg);
        else
            sayLost(m_kept.append(laneOf(msg), Work{msg, Stage::Settle, now}), "too many kept");
    }
    m_pending = resting;
    m_kept.promote(now);
    drain();
}

void PanelMessageIntake::storeBeforeLeaving()
{
    // What is stored now is shown only should the project stay: a switch that goes
    // through empties the message bar at once.
    const QScopedValueRollback<bool> leaving(m_leaving, true);
    m_kept.promote(m_clock(), true);
    drain(nullptr, true);
}

void PanelMessageIntake::beginExit()
{
    // Nothing more comes once the link has handed on what it held: what a failing try
    // makes wait is kept whole, not given up for room.
    m_kept.setMaxWaiting(std::numeric_limits<int>::max());
    m_exiting = true;
    m_quiet = true;
    m_unannounced.clear();
    m_nextTurn.stop();
}

void PanelMessageIntake::storeBeforeExit(ExitBound &bound)
{
    beginExit();
    // Inside a transaction of other work nothing is stored: its rollback would take
    // the rows along.
    bound.storeWhile([this] { return m_draining || gl_sqlite3db.inTransaction() ? 0 : m_kept.size(); },
                     [this] {
                         // Every lane is tried, one failing try per slice, the failing ones last.
                         m_kept.promote(m_clock(), true);
                         const QScopedValueRollback<bool> draining(m_draining, true);
                         storeSlice(m_clock(), nullptr, true);
                     });
    // Nobody is left to be told on screen.
    if (!m_kept.isEmpty())
        qWarning() << "panel messages never stored, left at the exit:" << m_kept.size();
}

void PanelMessageIntake::sayLost(int count, const char *why)
{
    if (count <= 0)
        return;
    qDebug() << "panel messages never stored," << why << ":" << count;
    LossNotice::add("PanelMessageIntake", QT_TRANSLATE_NOOP("PanelMessageIntake",
                                                            "%n panel message(s) could not be stored!"),
                    count);
}

quint32 PanelMessageIntake::laneOf(const universalSwitchMessage &msg)
{
    return quint32(msg.subnet_id & 0xFF) << 16 | quint32(msg.device_id & 0xFF) << 8 |
           quint32(msg.switch_no & 0xFF);
}

void PanelMessageIntake::take(const Work &work)
{
    const quint32 lane = laneOf(work.msg);
    const bool behind = m_kept.holds(lane);
    sayLost(m_kept.append(lane, work), "too many kept");
    if (!behind)
        drain(&lane);
}

bool PanelMessageIntake::turnSpent(qint64 moreNs) const
{
    // Only a running event loop has a turn to hand back; a caller outside any
    // (start-up, a test driving the intake by hand) gets everything at once.
    return m_spentNs + moreNs >= TurnMs * 1000000 && QThread::currentThread()->loopLevel() > 0;
}

void PanelMessageIntake::spend(const QElapsedTimer &clock)
{
    // The first storing of a turn arms its end.
    if (m_spentNs == 0)
        m_nextTurn.start();
    m_spentNs += qMax<qint64>(1, clock.nsecsElapsed());
}

void PanelMessageIntake::drain(const quint32 *only, bool whole)
{
    // An announcement's receivers may run an event loop in which further frames
    // arrive: those wait in their lanes for the next turn. Inside a transaction of
    // other work nothing is stored: its rollback would take the rows along; the
    // next tick finds the lanes still due. Once the exit has begun, its own storing
    // takes everything.
    if (m_exiting)
        return;
    if (m_draining || gl_sqlite3db.inTransaction()) {
        if (m_draining)
            m_nextTurn.start();
        return;
    }
    const QScopedValueRollback<bool> draining(m_draining, true);
    const qint64 now = m_clock();
    while (true) {
        if (!whole && turnSpent()) {
            m_nextTurn.start(); // the rest once the window has had its turn
            return;
        }
        QElapsedTimer slice;
        slice.start();
        if (!storeSlice(now, only, whole))
            return;
        spend(slice);
    }
}

void PanelMessageIntake::failLane(quint32 lane, qint64 now)
{
    // At the exit nothing is given up while it is tried: what is left is counted once, at its end.
    if (!m_exiting) {
        sayLost(m_kept.giveUpExpired(lane, [now](const Work &work) { return now - work.since >= RetrySeconds; }),
                "tried for 600 s");
    }
    if (m_kept.holds(lane))
        sayLost(m_kept.failed(lane, now), "too many kept");
}

bool PanelMessageIntake::storeSlice(qint64 now, const quint32 *only, bool whole)
{
    const auto nextLane = [this, only](quint32 &lane) {
        if (!only)
            return m_kept.nextDue(lane);
        lane = *only;
        return m_kept.isDue(lane);
    };
    quint32 lane = 0;
    if (!nextLane(lane))
        return false;
    if (!gl_sqlite3db.beginTransaction()) {
        failLane(lane, now);
        return true;
    }
    // What the slice stored, as it was before: a commit that fails puts it back.
    QList<QPair<quint32, Work>> stored;
    QList<universalSwitchMessage> announce;
    bool failed = false;
    Work failing{};
    QElapsedTimer spent;
    spent.start();
    const int size = whole ? WholeSliceSize : SliceSize;
    while (stored.size() < size && nextLane(lane)) {
        Work &work = m_kept.head(lane);
        const Work before = work;
        if (!advance(work, announce)) {
            // What follows a failure goes into a slice of its own: a failed write
            // may have ended the transaction.
            failed = true;
            failing = before;
            break;
        }
        stored.append(qMakePair(lane, before));
        m_kept.done(lane);
        if (!whole && turnSpent(spent.nsecsElapsed()))
            break;
    }
    const bool committed = gl_sqlite3db.commitTransaction();
    // Nothing of a slice whose commit failed is in the database: each message
    // goes back to the head of its lane as it was, and is tried again; the
    // failing one first meets its limit or its wait.
    if (failed) {
        if (!committed)
            m_kept.head(lane) = failing;
        failLane(lane, now);
    }
    if (!committed) {
        for (int i = stored.size() - 1; i >= 0; --i)
            m_kept.putBack(stored.at(i).first, stored.at(i).second);
        // The commit itself failed: the lanes of the slice wait their next try.
        QList<quint32> lanes;
        for (const auto &entry : qAsConst(stored)) {
            if (!failed && !lanes.contains(entry.first)) {
                lanes.append(entry.first);
                failLane(entry.first, now);
            }
        }
    }
    if (committed && m_leaving) {
        m_unannounced += announce;
        m_nextTurn.start();
    } else if (committed && !m_quiet) {
        for (const universalSwitchMessage &msg : qAsConst(announce))
            emit gl_socket.signalsAppendMessage(msg);
    }
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
