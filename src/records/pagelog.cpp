#include "pagelog.h"

#include "bus/broadcastsocket.h"
#include "records/logitem.h"
#include "records/xlsxdocument.h"
#include "store/cppsqlite3db.h"
#include "store/globals.h"
#include "store/queryhelpers.h"

#include <QGridLayout>
#include <QHash>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QVariant>
#include <qtmaterialdatetimeedit.h>
#include <qtmateriallabel.h>

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

QString PageLog::rangeQuery() const
{
    return QStringLiteral(
               "select * from tbl_log where log_time>='%1'and log_time<='%2' order by log_time desc")
        .arg(sqlText(rangeStart()), sqlText(rangeEnd()));
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
             QStringLiteral("Event"), QStringLiteral("Type")}};
}

bool PageLog::writeExportRows(XlsxDocument &document, QString *error)
{
    // Type names are looked up once per type, not once per row.
    QHash<int, QString> typeNames;
    QSqlQuery query = gl_sqlite3db.execQuery(rangeQuery());
    // The columns are found once, not by name in every row.
    const QSqlRecord columns = query.record();
    const int typeColumn = columns.indexOf(QStringLiteral("log_type"));
    const int cellColumns[] = {columns.indexOf(QStringLiteral("log_time")),
                               columns.indexOf(QStringLiteral("log_address")),
                               columns.indexOf(QStringLiteral("log_device")),
                               columns.indexOf(QStringLiteral("log_event"))};
    int row = 2;
    while (query.next()) {
        const int type = query.value(typeColumn).toInt();
        auto name = typeNames.find(type);
        if (name == typeNames.end()) {
            QString text;
            bool read = false;
            getTextFromDb(
                QString::asprintf("select log_type_name from tbl_log_type where log_type=%d", type),
                QStringLiteral("log_type_name"), text, &read);
            if (!read) {
                *error = QStringLiteral("the log types could not be read");
                return false;
            }
            name = typeNames.insert(type, text);
        }
        for (int column = 0; column < 4; ++column)
            document.write(row, column + 1, query.value(cellColumns[column]).toString());
        document.write(row, 5, *name);
        ++row;
    }
    // A step that failed ends the loop as the last row would: the rows are not all there.
    if (!rowsReadToEnd(query)) {
        *error = QStringLiteral("the logs could not be read");
        return false;
    }
    query.finish();
    return true;
}
