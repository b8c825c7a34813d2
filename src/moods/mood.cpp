#include "mood.h"

#include "store/cppsqlite3db.h"
#include "store/globals.h"
#include "store/textutil.h"

#include <QSqlQuery>
#include <QVariant>

void mood::copyText(char *field, size_t size, const QString &text)
{
    copyUtf8Field(field, size, text.toUtf8());
}

QString mood::name() const
{
    return QString::fromUtf8(mood_name, int(qstrnlen(mood_name, sizeof(mood_name))));
}

QString mood::iconName() const
{
    return QString::fromUtf8(mood_icon_name, int(qstrnlen(mood_icon_name, sizeof(mood_icon_name))));
}

mood moodFromRow(const QSqlQuery &row)
{
    auto number = [&row](const char *column) { return int32_t(row.value(QLatin1String(column)).toInt()); };
    mood m;
    m.mood_id = number("mood_id");
    m.light_bool = number("light_bool");
    m.ac1_bool = number("ac1_bool");
    m.ac2_bool = number("ac2_bool");
    m.floor_heat1_bool = number("floor_heat1_bool");
    m.floor_heat2_bool = number("floor_heat2_bool");
    m.curtain_bool = number("curtain_bool");
    m.audio_bool = number("audio_bool");
    m.diy_bool = number("diy_bool");
    m.room_id = number("room_id");
    mood::setText(m.mood_name, row.value(QStringLiteral("mood_name")).toString());
    mood::setText(m.mood_icon_name, row.value(QStringLiteral("mood_icon_name")).toString());
    return m;
}

QList<mood> loadRoomMoods(int room_id)
{
    QList<mood> moods;
    QSqlQuery query = gl_sqlite3db.execQuery(
        QString::asprintf("select * from tbl_mood where room_id=%d order by mood_id asc", room_id));
    while (query.next())
        moods.append(moodFromRow(query));
    query.finish();
    return moods;
}
