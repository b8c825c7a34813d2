#include "pagelog.h"

#include "bus/broadcastsocket.h"
#include "records/logitem.h"
#include "store/cppsqlite3db.h"
#include "store/globals.h"
#include "store/queryhelpers.h"

#include <QDeadlineTimer>
#include <QGridLayout>
#include <QHash>
#include <QSqlQuery>
#include <QVariant>
#include <qtmaterialdatetimeedit.h>
#include <qtmateriallabel.h>

#include <algorithm>
#include <cstring>

namespace {

// Rows one statement of the export reads: few enough that a slice stays short.
constexpr int SliceRows = 500;

// The list's order, "log_time desc,id asc": times compared as SQLite compares
// text, byte by byte.
void newestFirst(RecordExport::Rows &rows)
{
    std::sort(rows.begin(), rows.end(), [](const RecordExport::Row &a, const RecordExport::Row &b) {
        const QByteArray &x = a.orderKey, &y = b.orderKey;
        const int common = std::memcmp(x.constData(), y.constData(), size_t(qMin(x.size(), y.size())));
        if (common != 0 || x.size() != y.size())
            return common != 0 ? common > 0 : x.size() > y.size();
        return a.id < b.id;
    });
}

// Reads the export's rows of the range. tbl_log has no index: a statement that
// ordered them by time would read the whole table in every slice. So they are read
// in the order of their keys, SliceRows keys a statement, and put in the list's
// order on the worker. The rows stored after the press are not read: their keys
// are higher than any there was.
class LogRows
{
public:
    explicit LogRows(const QString &range)
        : range(range)
    {
        QSqlQuery keys = gl_sqlite3db.execQuery(QStringLiteral("select min(id),max(id) from tbl_log"));
        if (keys.next() && !keys.value(1).isNull()) {
            empty = false;
            next = keys.value(0).toLongLong();
            last = keys.value(1).toLongLong();
        }
        keysRead = rowsReadToEnd(keys);
        keys.finish();
    }

    RecordExport::Slice operator()(const QDeadlineTimer &, RecordExport::Rows &rows, QString *error)
    {
        using Slice = RecordExport::Slice;
        const QString unread = QStringLiteral("the logs could not be read");
        if (!keysRead) {
            *error = unread;
            return Slice::Failed;
        }
        if (empty)
            return Slice::Done;
        // The key SliceRows rows on ends this statement's rows.
        QSqlQuery bound = gl_sqlite3db.execQuery(
            QStringLiteral("select id from tbl_log where id>=%1 and id<=%2 order by id limit 1 offset %3")
                .arg(next)
                .arg(last)
                .arg(SliceRows - 1));
        const bool more = bound.next();
        const bool boundRead = rowsReadToEnd(bound);
        const qint64 upto = more ? bound.value(0).toLongLong() : last;
        bound.finish();
        if (!boundRead) {
            *error = unread;
            return Slice::Failed;
        }
        QSqlQuery query = gl_sqlite3db.execQuery(
            QStringLiteral("select id,log_type,log_time,log_address,log_device,log_event,"
                           "cast(log_time as blob) from tbl_log where id>=%1 and id<=%2 and %3 order by id")
                .arg(next)
                .arg(upto)
                .arg(range));
        while (query.next()) {
            const int type = query.value(1).toInt();
            auto name = typeNames.find(type);
            if (name == typeNames.end()) {
                QString text;
                bool read = false;
                getTextFromDb(
                    QString::asprintf("select log_type_name from tbl_log_type where log_type=%d", type),
                    QStringLiteral("log_type_name"), text, &read);
                if (!read) {
                    query.finish();
                    *error = QStringLiteral("the log types could not be read");
                    return Slice::Failed;
                }
                name = typeNames.insert(type, text);
            }
            rows.push_back({{query.value(2).toString(), query.value(3).toString(), query.value(4).toString(),
                             query.value(5).toString(), *name},
                            query.value(6).toByteArray(),
                            query.value(0).toLongLong()});
        }
        // A step that failed ends the loop as the last row would: the rows are not all there.
        const bool whole = rowsReadToEnd(query);
        query.finish();
        if (!whole) {
            *error = unread;
            return Slice::Failed;
        }
        if (upto >= last)
            return Slice::Done;
        next = upto + 1;
        return Slice::More;
    }

private:
    QString range;
    bool keysRead = false;
    bool empty = true;
    qint64 next = 0; // the lowest key not read yet
    qint64 last = 0; // the highest key at the press
    // Type names are looked up once per type, not once per row.
    QHash<int, QString> typeNames;
};

} // namespace

PageLog::PageLog(const QString &id, const QString &name, QWidget *parent)
    : RecordListPage(id, name, parent)
{
    if (objectName().isEmpty())
        setObjectName(QStringLiteral("PageLog"));
    filterGrid->addWidget(new QtMaterialLabel(tr("Start Time:"), this), 0, 0);
    filterGrid->addWidget(dateTimeEditStart, 0, 1);
    filterGrid->addWidget(new QtMaterialLabel(tr("End Time:"), this), 1, 0);
    filterGrid->addWidget(dateTimeEditEnd, 1, 1);
    filterGrid->setColumnStretch(2, 1);
    filterGrid->setRowStretch(2, 1);
    connect(&gl_socket, &BroadcastSocket::signalsPageEnter, this, &PageLog::slotsPageEnter);
}

QString PageLog::rangeCondition() const
{
    return QStringLiteral("log_time>='%1'and log_time<='%2'")
        .arg(sqlText(rangeStart()), sqlText(rangeEnd()));
}

QString PageLog::rangeQuery() const
{
    return QStringLiteral("select * from tbl_log where %1 order by log_time desc,id asc")
        .arg(rangeCondition());
}

void PageLog::slotsPageEnter()
{
    if (!isVisible())
        return;
    loading = true;
    resetRange();
    updatelist();
    loading = false;
}

void PageLog::updatelist()
{
    beginList();
    QSqlQuery query = gl_sqlite3db.execQuery(rangeQuery());
    while (query.next()) {
        auto *tile = new LogItem(logRecord::fromRow(query), nullptr);
        connect(this, &RecordListPage::signalsLogsChecked, tile, &LogItem::slotsLogsChecked);
        connect(this, &RecordListPage::signalsLogsVisible, tile, &LogItem::slotsLogsVisible);
        addTile(tile);
    }
    const bool whole = rowsReadToEnd(query);
    query.finish();
    endList(whole);
}

QList<int> PageLog::checkedIds() const
{
    QList<int> ids;
    for (QWidget *widget : tiles()) {
        auto *tile = qobject_cast<LogItem *>(widget);
        if (tile && tile->isChecked())
            ids.append(tile->getLogRecord().id);
    }
    return ids;
}

QString PageLog::deleteQuestion(int count) const
{
    return QString::asprintf("%d logs will be deleted.", count);
}

bool PageLog::deleteRows(const QList<int> &ids)
{
    // Only the rows the list showed go, also when every one is checked: a row that
    // arrived in the range after the list was made stays.
    return deleteIds(QStringLiteral("tbl_log"), ids);
}

QString PageLog::deleteFailure() const
{
    return tr("The logs could not be deleted!");
}

RecordListPage::ExportKind PageLog::exportKind() const
{
    return {QStringLiteral("No logs"),
            QStringLiteral("the logs could not be read"),
            QStringLiteral("_log.xlsx"),
            QStringLiteral("log"),
            {QStringLiteral("Time"), QStringLiteral("Address"), QStringLiteral("Device"),
             QStringLiteral("Event"), QStringLiteral("Type")},
            newestFirst};
}

RecordExport::Reader PageLog::exportReader() const
{
    return LogRows(rangeCondition());
}
