#include "diyvocabulary.h"

#include "store/cppsqlite3db.h"
#include "store/globals.h"
#include "store/queryhelpers.h"

#include <QSqlQuery>
#include <QVariant>

namespace DiyVocabulary {

const char *const FntType = "tbl_fnt_type";
const char *const FntPrm1 = "tbl_fnt_prm1";
const char *const Comp2 = "tbl_comp2_item";
const char *const Comp3 = "tbl_comp3_item";

namespace {

bool failedRead = false;

// Notes a read that failed; answers whether the read was whole.
bool noted(bool read)
{
    failedRead = failedRead || !read;
    return read;
}

} // namespace

bool readFailed()
{
    return failedRead;
}

void clearReadFailure()
{
    failedRead = false;
}

Row rowOfItem(const char *table, int policy, const QString &item)
{
    Row row;
    QSqlQuery query = gl_sqlite3db.execQuery(
        QStringLiteral("select [index],value from %1 where policy=%2 and item='%3' order by [index] asc")
            .arg(QLatin1String(table))
            .arg(policy)
            .arg(sqlText(item)));
    if (query.next()) {
        row.found = true;
        row.index = query.value(0).toInt();
        row.value = query.value(1).toInt();
    }
    if (!noted(rowsReadToEnd(query)))
        row = Row();
    query.finish();
    return row;
}

QStringList items(const char *table, int policy)
{
    QStringList texts;
    noted(getTextsFromDb(QStringLiteral("select item from %1 where policy=%2 order by [index] asc")
                             .arg(QLatin1String(table))
                             .arg(policy),
                         QStringLiteral("item"), texts) >= 0);
    return texts;
}

int indexOfValue(const char *table, int policy, int value)
{
    const QString where = QStringLiteral("from %1 where policy=%2 and value=%3")
                              .arg(QLatin1String(table))
                              .arg(policy)
                              .arg(value);
    bool read = false;
    if (!isRecordExist(QStringLiteral("select [index] ") + where, &read)) {
        noted(read);
        return -1;
    }
    const QString sql = QStringLiteral("select [index] ") + where + QStringLiteral(" order by [index] asc");
    const int index = getValueFromDb(sql, QStringLiteral("index"), &read);
    return noted(read) ? index : -1;
}

QStringList typeEntries(bool *ok)
{
    QStringList texts;
    const QString sql = QStringLiteral("select item from tbl_fnt_type where policy=1 "
                                       "and value !=117 and value !=118 order by [index] asc");
    const bool read = noted(getTextsFromDb(sql, QStringLiteral("item"), texts) >= 0);
    if (ok)
        *ok = read;
    return texts;
}

QString typeItemOfValue(int value)
{
    QString item;
    bool read = false;
    getTextFromDb(QStringLiteral("select item from tbl_fnt_type where policy=1 and value=%1 "
                                 "order by [index] asc")
                      .arg(value),
                  QStringLiteral("item"), item, &read);
    return noted(read) ? item : QString();
}

} // namespace DiyVocabulary
