#pragma once

// Mood rows by SQL, as the mood editor and the DIY command page would write them:
// the mood, its stored light and climate states and its DIY commands. Texts go
// through sqlText.

#include "roomproject.h"

namespace moodproject {

// flags: light, ac1, ac2, floor heat 1, floor heat 2, diy (empty text for an
// empty column).
inline bool addMood(int moodId, int room, const QString &name, const QStringList &flags,
                    const QString &icon = QStringLiteral("moods_1"))
{
    auto f = [&flags](int i) {
        const QString v = flags.value(i);
        return v.isEmpty() ? QStringLiteral("''") : v;
    };
    return roomproject::exec(
        QStringLiteral("insert into tbl_mood(mood_id,mood_name,mood_icon_name,light_bool,ac1_bool,ac2_bool,"
                       "floor_heat1_bool,floor_heat2_bool,curtain_bool,audio_bool,diy_bool,room_id) "
                       "values(%1,'%2','%3',%4,%5,%6,%7,%8,0,0,%9,%10)")
            .arg(moodId)
            .arg(sqlText(name), sqlText(icon), f(0), f(1), f(2), f(3), f(4), f(5))
            .arg(room));
}

// One stored channel set: "light_id,type,subnet,device,channel,brightness,us_id,rgb".
inline bool addMoodLight(int moodId, int room, const QString &values)
{
    const QStringList v = values.split(QLatin1Char(','));
    return roomproject::exec(
        QStringLiteral(
            "insert into tbl_mood_light_status(mood_id,light_id,light_type,light_remark,subnet_id,"
            "device_id,channel,icon_name_of_light_on,icon_name_of_light_off,brightness,us_id,fade,"
            "rgb,original_type,room_id) values(%1,%2,%3,'Lamp',%4,%5,%6,'light_01_on',"
            "'light_01_off',%7,%8,0,%9,0,%10)")
            .arg(moodId)
            .arg(v.value(0), v.value(1), v.value(2), v.value(3), v.value(4), v.value(5), v.value(6),
                 v.value(7))
            .arg(room));
}

// One stored climate unit: "no,type,subnet,device,channel,status,mode,speed,fh set
// point,cool,heat,auto,dry".
inline bool addMoodUnit(int moodId, int room, const QString &values)
{
    const QStringList v = values.split(QLatin1Char(','));
    return roomproject::exec(
        QStringLiteral("insert into tbl_mood_air_conditioner_status(mood_id,air_conditioner_no,"
                       "air_conditioner_type,remark,subnet_id,device_id,channel,status,mode,speed,"
                       "current_temperature,current_cool_temperature,current_heat_temperature,"
                       "current_auto_temperature,current_dry_temperature,temperature_unit,original_type,"
                       "room_id) values(%1,%2,%3,'Unit',%4,%5,%6,%7,%8,%9,%10,%11,%12,%13,%14,0,0,%15)")
            .arg(moodId)
            .arg(v.value(0), v.value(1), v.value(2), v.value(3), v.value(4), v.value(5), v.value(6),
                 v.value(7), v.value(8))
            .arg(v.value(9), v.value(10), v.value(11), v.value(12))
            .arg(room));
}

// One DIY command: "command_id,subnet,device,type,prm1,prm2,prm3,prm4".
inline bool addMoodCommand(int moodId, int room, const QString &values)
{
    const QStringList v = values.split(QLatin1Char(','));
    return roomproject::exec(
        QStringLiteral(
            "insert into tbl_mood_command(command_id,mood_id,subnet_id,device_id,command_type,prm1,"
            "prm2,prm3,prm4,room_id) values(%1,%2,%3,%4,%5,%6,%7,%8,%9,%10)")
            .arg(v.value(0))
            .arg(moodId)
            .arg(v.value(1), v.value(2), v.value(3), v.value(4), v.value(5), v.value(6), v.value(7))
            .arg(room));
}

} // namespace moodproject
