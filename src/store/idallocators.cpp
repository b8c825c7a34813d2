#include "idallocators.h"

#include "store/queryhelpers.h"

#include <QSet>
#include <QStringList>

namespace {

// The smallest number not below start that no row of the query holds in column.
int nextFreeNumber(const QString &sql, const QString &column, int start)
{
    QStringList values;
    const int count = getValuesFromDb(sql, column, values);
    if (count < 0)
        return -1; // a number read as free might be taken
    if (count == 0)
        return start;
    QSet<int> taken;
    for (const QString &value : qAsConst(values))
        taken.insert(value.toInt(nullptr, 10));
    int candidate = start;
    while (taken.contains(candidate))
        ++candidate;
    return candidate;
}

} // namespace

int getRoomTemplateId()
{
    return nextFreeNumber(QStringLiteral("select * from tbl_room_template order by room_template_id asc"),
                          QStringLiteral("room_template_id"), 1);
}

int getRegionId()
{
    return nextFreeNumber(QStringLiteral("select * from tbl_region order by region_id asc"),
                          QStringLiteral("region_id"), 1);
}

int getFloorId()
{
    return nextFreeNumber(QStringLiteral("select * from tbl_floor order by floor_id asc"),
                          QStringLiteral("floor_id"), 1);
}

int getRoomId()
{
    return nextFreeNumber(QStringLiteral("select * from tbl_room order by room_id asc"),
                          QStringLiteral("room_id"), 1);
}

int getLightId()
{
    return nextFreeNumber(
        QStringLiteral("select * from tbl_light where (rgb=0 or rgb=1) order by light_id asc"),
        QStringLiteral("light_id"), 1);
}

int getTemplateLightId()
{
    return nextFreeNumber(QStringLiteral("select * from tbl_template_light order by template_light_id asc"),
                          QStringLiteral("template_light_id"), 1);
}

int getACNO(int room_id)
{
    return nextFreeNumber(QStringLiteral("select * from tbl_air_conditioner where room_id=%1 and "
                                         "air_conditioner_no<=1 order by air_conditioner_no asc")
                              .arg(room_id),
                          QStringLiteral("air_conditioner_no"), 0);
}

int getFHNO(int room_id)
{
    return nextFreeNumber(QStringLiteral("select * from tbl_air_conditioner where room_id=%1 and "
                                         "air_conditioner_no>1 order by air_conditioner_no asc")
                              .arg(room_id),
                          QStringLiteral("air_conditioner_no"), 2);
}

int getPanelId()
{
    return nextFreeNumber(QStringLiteral("select * from tbl_panel order by panel_id asc"),
                          QStringLiteral("panel_id"), 1);
}

int getTemplatePanelId()
{
    return nextFreeNumber(QStringLiteral("select * from tbl_template_panel order by template_panel_id asc"),
                          QStringLiteral("template_panel_id"), 1);
}

int getMessageId()
{
    return nextFreeNumber(QStringLiteral("select * from tbl_message order by message_id asc"),
                          QStringLiteral("message_id"), 1);
}

int getMoodId()
{
    return nextFreeNumber(QStringLiteral("select * from tbl_mood order by mood_id asc"),
                          QStringLiteral("mood_id"), 1);
}
