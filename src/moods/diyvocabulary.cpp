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
    query.finish();
    return row;
}

QStringList items(const char *table, int policy)
{
    QStringList texts;
    getTextsFromDb(QStringLiteral("select item from %1 where policy=%2 order by [index] asc")
                       .arg(QLatin1String(table))
                       .arg(policy),
                   QStringLiteral("item"), texts);
    return texts;
}

int indexOfValue(const char *table, int policy, int value)
{
    const QString where = QStringLiteral("from %1 where policy=%2 and value=%3")
                              .arg(QLatin1String(table))
                              .arg(policy)
                              .arg(value);
    if (!isRecordExist(QStringLiteral("select [index] ") + where))
        return -1;
    const QString sql = QStringLiteral("select [index] ") + where + QStringLiteral(" order by [index] asc");
    return getValueFromDb(sql, QStringLiteral("index"));
}

QStringList typeEntries()
{
    QStringList texts;
    getTextsFromDb(QStringLiteral("select item from tbl_fnt_type where policy=1 "
                                  "and value !=117 and value !=118 order by [index] asc"),
                   QStringLiteral("item"), texts);
    return texts;
}

QString typeItemOfValue(int value)
{
    QString item;
    getTextFromDb(QStringLiteral("select item from tbl_fnt_type where policy=1 and value=%1 "
                                 "order by [index] asc")
                      .arg(value),
                  QStringLiteral("item"), item);
    return item;
}

} // namespace DiyVocabulary
