#include "devicelog.h"

#include "store/cppsqlite3db.h"
#include "store/globals.h"
#include "store/queryhelpers.h"
#include "store/retrylanes.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDebug>
#include <QElapsedTimer>
#include <QHash>
#include <QSqlQuery>
#include <QTimer>
#include <QVariant>

#include <functional>
#include <utility>

namespace {

// The newest event of each device (type, address, device text) as the log holds
// it. tbl_log has no index: looking for a device's newest row means reading the
// whole table, and every device reply asks. So the table is read once, and the
// cache is trusted while it accounts for every row: while the highest row id is
// the one it knows (a row written by anyone else changes that), and while the
// row it holds for a device is still there as it was (rows the log page or the
// retention removed). Otherwise it reads the table afresh.
struct Newest
{
    qint64 id = -1;
    QString event;
    QString time;
};

struct NewestEvents
{
    QString connection; // the connection the cache was read through
    qint64 maxId = -1;  // the highest row id it accounts for
    QHash<QString, Newest> byDevice;
};

NewestEvents &newestEvents()
{
    static NewestEvents cache;
    return cache;
}

QString keyOf(int type, const QString &address, const QString &device)
{
    return QString::number(type) + QChar(0) + address + QChar(0) + device;
}

// The highest row id of the log into id; false when it could not be read.
bool highestRowId(qint64 &id)
{
    QSqlQuery query = gl_sqlite3db.queryBound(QStringLiteral("select max(id) from tbl_log"), {});
    const bool read = query.next();
    id = read ? query.value(0).toLongLong() : -1;
    query.finish();
    return read;
}

// Reads the newest event of every device; false, with the cache left unread, when
// the rows could not be read to their end: a part of them may hold a device's
// older event as its newest.
bool readNewestEvents(NewestEvents &cache)
{
    cache.byDevice.clear();
    cache.connection = gl_sqlite3db.connectionName();
    cache.maxId = -1;
    qint64 maxId = -1;
    if (!highestRowId(maxId))
        return false;
    // In the log's own order, oldest first: the last row of a device is its newest,
    // by time and, within one second, by row key.
    QSqlQuery rows = gl_sqlite3db.queryBound(
        QStringLiteral("select id,log_type,log_address,log_device,log_event,log_time from tbl_log "
                       "order by log_time asc,id asc"),
        {});
    while (rows.next()) {
        const QString key = keyOf(rows.value(1).toInt(), rows.value(2).toString(), rows.value(3).toString());
        cache.byDevice.insert(
            key, Newest{rows.value(0).toLongLong(), rows.value(4).toString(), rows.value(5).toString()});
    }
    const bool whole = rowsReadToEnd(rows);
    rows.finish();
    if (!whole) {
        cache.byDevice.clear();
        return false;
    }
    cache.maxId = maxId;
    return true;
}

enum class Stored { Same, Changed, Unread };

// Whether the row the cache holds for a device is still there as it was.
Stored stillStored(const Newest &newest, int type, const QString &address, const QString &device)
{
    QSqlQuery row = gl_sqlite3db.queryBound(
        QStringLiteral("select log_type,log_address,log_device,log_event,log_time from tbl_log where id=?"),
        {newest.id});
    if (!row.next()) {
        const bool read = rowsReadToEnd(row);
        row.finish();
        return read ? Stored::Changed : Stored::Unread;
    }
    const bool same = row.value(0).toInt() == type && row.value(1).toString() == address &&
                      row.value(2).toString() == device && row.value(3).toString() == newest.event &&
                      row.value(4).toString() == newest.time;
    row.finish();
    return same ? Stored::Same : Stored::Changed;
}

// The newest event of key into found (null when the device has none); false when
// it could not be read.
bool findNewest(NewestEvents &cache, const QString &key, int type, const QString &address,
                const QString &device, const Newest *&found)
{
    found = nullptr;
    qint64 maxId = -1;
    if (!highestRowId(maxId))
        return false;
    if (cache.connection != gl_sqlite3db.connectionName() || cache.maxId < 0 || cache.maxId != maxId) {
        if (!readNewestEvents(cache))
            return false;
    }
    auto newest = cache.byDevice.constFind(key);
    if (newest != cache.byDevice.constEnd()) {
        const Stored stored = stillStored(*newest, type, address, device);
        if (stored == Stored::Unread)
            return false;
        if (stored == Stored::Changed) {
            if (!readNewestEvents(cache))
                return false;
            newest = cache.byDevice.constFind(key);
        }
    }
    if (newest != cache.byDevice.constEnd())
        found = &newest.value();
    return true;
}

// One reported event, with the time it was reported.
struct Event
{
    QString device;
    QString event;
    int roomId = 0;
    int type = 0;
    QString time;
};

// Logs one event; false when a read or the write failed and it must be tried again.
bool writeEvent(const Event &e)
{
    // The statements run for every device reply: each is prepared once, and the
    // texts are bound, so they are stored as given.
    // The room's place in one statement; a room, region or floor that is
    // missing gives no row and nothing is logged.
    QSqlQuery place = gl_sqlite3db.queryBound(
        QStringLiteral("select tbl_room.room_name,tbl_region.region_name,tbl_floor.floor_name from tbl_room "
                       "join tbl_region on tbl_region.region_id=tbl_room.region_id "
                       "join tbl_floor on tbl_floor.floor_id=tbl_room.floor_id and "
                       "tbl_floor.region_id=tbl_room.region_id where tbl_room.room_id=?"),
        {e.roomId});
    if (!place.next()) {
        const bool read = rowsReadToEnd(place);
        place.finish();
        return read;
    }
    const QString address = place.value(1).toString() + QLatin1Char('-') + place.value(2).toString() +
                            QLatin1Char('-') + place.value(0).toString();
    place.finish();

    // The newest event of this device, type and place; an equal one is not
    // logged again. One that could not be read is taken as another.
    NewestEvents &cache = newestEvents();
    const QString key = keyOf(e.type, address, e.device);
    const Newest *newest = nullptr;
    const bool known = findNewest(cache, key, e.type, address, e.device, newest);
    if (known && newest && newest->event == e.event)
        return true;
    const bool later = !newest || e.time >= newest->time;

    qint64 id = -1;
    const bool inserted = gl_sqlite3db.execBound(
        QStringLiteral("insert into tbl_log(log_type,log_address,log_device,log_event,log_time) "
                       "values(?,?,?,?,?)"),
        {e.type, address, e.device, e.event, e.time}, nullptr, &id);
    if (!inserted || !known || id <= cache.maxId) {
        cache.maxId = -1; // read afresh next time
        return inserted;
    }
    cache.maxId = id;
    // The new row is the newest unless the clock stands behind the one before.
    if (later)
        cache.byDevice.insert(key, Newest{id, e.event, e.time});
    return true;
}

// A reported event or state that waits to be stored.
struct KeptWrite
{
    Event event;
    QString sql; // a state's write; empty for an event
    qint64 since = 0; // the tick it was kept at
};

// A kept write is given up after this many ticks (once a second: a minute).
constexpr qint64 RetryTicks = 60;
// At most this many wait, those of the device failing longest go first.
constexpr int MaxKept = 2000;
// A tick stores for at most this long; what is due then waits for the next.
constexpr qint64 TickMs = 20;

// The reported events and states not stored yet, in one lane per device (keyed by
// deviceOf), and the connection they belong to. Time is counted in ticks of the
// timer, which runs while anything is kept.
struct KeptWrites
{
    QString connection;
    RetryLanes<QString, KeptWrite> lanes{MaxKept};
    QTimer *timer = nullptr;
    int intervalMs = 1000;
    qint64 ticks = 0;
    std::function<void(int)> lost;
};

KeptWrites &keptWrites()
{
    static KeptWrites kept;
    return kept;
}

// The device a write belongs to: an event's device, place and type; a state
// write's table and row (the statement without its assignments).
QString deviceOf(const KeptWrite &write)
{
    if (write.sql.isEmpty())
        return QStringLiteral("log\n%1\n%2\n%3")
            .arg(QString::number(write.event.type), QString::number(write.event.roomId), write.event.device);
    const int set = write.sql.indexOf(QLatin1String(" set "));
    const int where = write.sql.lastIndexOf(QLatin1String(" where "));
    if (set < 0 || where < set)
        return write.sql;
    return write.sql.left(set) + write.sql.mid(where);
}

void giveUp(KeptWrites &kept, int count, const char *why)
{
    if (count <= 0)
        return;
    // The handler says it, with the count, once every few seconds; without one
    // each loss is logged.
    if (kept.lost)
        kept.lost(count);
    else
        qWarning() << "Error: device reports could not be stored and are dropped," << why << ":" << count;
}

bool store(const KeptWrite &write)
{
    if (!write.sql.isEmpty())
        return gl_sqlite3db.execDML(write.sql);
    return writeEvent(write.event);
}

// Writes kept for a database closed since do not go into the one open now.
void dropWritesOfClosedDatabase(KeptWrites &kept)
{
    const QString connection = gl_sqlite3db.connectionName();
    if (kept.connection != connection)
        giveUp(kept, kept.lanes.clear(), "their database was closed");
    kept.connection = connection;
}

void storeDue(bool whole, bool mayGiveUp = true);

// Runs the timer while anything is kept.
void tickWhileKept(KeptWrites &kept)
{
    if (kept.lanes.isEmpty()) {
        if (kept.timer)
            kept.timer->stop();
        return;
    }
    if (!kept.timer && QCoreApplication::instance()) {
        kept.timer = new QTimer(QCoreApplication::instance());
        QObject::connect(kept.timer, &QTimer::timeout, [] {
            KeptWrites &kept = keptWrites();
            kept.lanes.promote(++kept.ticks);
            storeDue(false);
        });
    }
    if (kept.timer && !kept.timer->isActive())
        kept.timer->start(kept.intervalMs);
}

// Stores the kept writes of the devices that are due, each device's in order; one
// that fails again holds back its device's lane until its next try. With whole,
// every device is tried once, however long it takes. Without mayGiveUp, none is given
// up for its time (the exit tries them while its bound lasts).
void storeDue(bool whole, bool mayGiveUp)
{
    KeptWrites &kept = keptWrites();
    dropWritesOfClosedDatabase(kept);
    if (whole)
        kept.lanes.promote(kept.ticks, true);
    QElapsedTimer busy;
    busy.start();
    int dropped = 0;
    QString device;
    while ((whole || busy.elapsed() < TickMs) && kept.lanes.nextDue(device)) {
        if (store(kept.lanes.head(device))) {
            kept.lanes.done(device);
            continue;
        }
        const qint64 now = kept.ticks;
        if (mayGiveUp) {
            dropped += kept.lanes.giveUpExpired(
                device, [now](const KeptWrite &write) { return now - write.since >= RetryTicks; });
        }
        if (kept.lanes.holds(device))
            dropped += kept.lanes.failed(device, now);
    }
    giveUp(kept, dropped, "tried for a minute, or too many kept");
    tickWhileKept(kept);
}

// Stores write at once unless an earlier one of its device waits; else, or when
// it fails, keeps it in its device's lane. No other device's writes are tried.
void keepAndStore(KeptWrite write)
{
    KeptWrites &kept = keptWrites();
    dropWritesOfClosedDatabase(kept);
    const QString device = deviceOf(write);
    write.since = kept.ticks;
    if (kept.lanes.holds(device)) {
        giveUp(kept, kept.lanes.append(device, std::move(write)), "too many kept");
    } else if (!store(write)) {
        kept.lanes.append(device, std::move(write));
        giveUp(kept, kept.lanes.failed(device, kept.ticks), "too many kept");
    }
    tickWhileKept(kept);
}

} // namespace

void commitLog(const QString &device, const QString &event, int room_id, int log_type)
{
    KeptWrite write;
    write.event = Event{device, event, room_id, log_type,
                        QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"))};
    keepAndStore(std::move(write));
}

void storeDeviceState(const QString &sql)
{
    KeptWrite write;
    write.sql = sql;
    keepAndStore(std::move(write));
}

void storeKeptDeviceWrites()
{
    if (!keptWrites().lanes.isEmpty())
        storeDue(true);
}

bool storeDeviceWritesBeforeExit(ExitBound &bound)
{
    KeptWrites &kept = keptWrites();
    // Until every write is in: a reader that holds the file lets go soon.
    const int left = bound.storeWhile([&kept] { return kept.lanes.size() + gl_sqlite3db.pendingWriteCount(); },
                                      [&kept] {
                                          if (!kept.lanes.isEmpty())
                                              storeDue(true, false);
                                          gl_sqlite3db.flushBatch();
                                      });
    // Nobody is left to be told on screen.
    if (!kept.lanes.isEmpty())
        qWarning() << "device reports never stored, left at the exit:" << kept.lanes.size();
    return left == 0;
}

void setDeviceWritesLostHandler(std::function<void(int count)> handler)
{
    keptWrites().lost = std::move(handler);
}

int keptDeviceWrites()
{
    return keptWrites().lanes.size();
}

void setKeptWriteRetryInterval(int ms)
{
    KeptWrites &kept = keptWrites();
    kept.intervalMs = ms > 0 ? ms : 1000;
    if (kept.timer && kept.timer->isActive())
        kept.timer->start(kept.intervalMs);
}
