#include "roomremoval.h"

#include "bus/broadcastsocket.h"
#include "store/cppsqlite3db.h"
#include "store/filehelpers.h"
#include "store/globals.h"
#include "store/queryhelpers.h"

#include <QStringList>

namespace {

bool runDelete(const char *format, int id)
{
    return gl_sqlite3db.execDML(QString::asprintf(format, id));
}

} // namespace

bool removeRoom(int room_id)
{
    // Unread moods would leave their pictures behind, an unread floor or region
    // an empty one: the room stays whole instead.
    QStringList moods;
    if (getValuesFromDb(QString::asprintf("select mood_id from tbl_mood where room_id=%d", room_id),
                        QStringLiteral("mood_id"), moods) < 0)
        return false;
    const QString roomSql = QString::asprintf("select * from tbl_room where room_id=%d", room_id);
    bool floorRead = false;
    bool regionRead = false;
    const int floorId = getValueFromDb(roomSql, QStringLiteral("floor_id"), &floorRead);
    const int regionId = getValueFromDb(roomSql, QStringLiteral("region_id"), &regionRead);
    if (!floorRead || !regionRead)
        return false;

    // The rows go together or not at all; the pictures only once they are gone.
    bool ok = gl_sqlite3db.beginTransaction();
    static const char *const deletes[] = {
        "delete from tbl_3d_air_conditioner where room_id=%d",
        "delete from tbl_3d_view_light where room_id=%d",
        "delete from tbl_3d_view_manager where room_id=%d",
        "delete from tbl_air_conditioner where room_id=%d",
        "delete from tbl_light where room_id=%d",
        "delete from tbl_message_log where room_id=%d",
        "delete from tbl_mood where room_id=%d",
        "delete from tbl_mood_air_conditioner_status where room_id=%d",
        "delete from tbl_mood_command where room_id=%d",
        "delete from tbl_mood_light_status where room_id=%d",
        "delete from tbl_occupation where room_id=%d",
        "delete from tbl_master where room_id=%d",
        "delete from tbl_panel where room_id=%d",
        "delete from tbl_room where room_id=%d",
    };
    for (const char *sql : deletes)
        ok = ok && runDelete(sql, room_id);
    // A floor or region goes with its last room. Whether other rooms stand on it
    // must be read: unread, the removal fails rather than keep an empty one.
    const auto dropUnused = [&ok](const char *usedSql, const char *deleteSql, int id) {
        bool read = false;
        const bool used = ok && isRecordExist(QString::asprintf(usedSql, id), &read);
        ok = ok && read && (used || runDelete(deleteSql, id));
    };
    dropUnused("select id from tbl_room where floor_id=%d", "delete from tbl_floor where floor_id=%d",
               floorId);
    dropUnused("select id from tbl_room where region_id=%d", "delete from tbl_region where region_id=%d",
               regionId);
    // Pictures go, and the message lists drop the room's entries, only once the
    // rows are gone: inside a larger transaction (a template removed with its
    // rooms) once that one commits, and never when it is rolled back.
    if (!ok) {
        gl_sqlite3db.rollbackTransaction();
        return false;
    }
    gl_sqlite3db.afterCommit([room_id, moods]() {
        remove_external_photo(QString::asprintf("photo_3dView_%d", room_id));
        for (const QString &mood : moods)
            remove_external_photo(QStringLiteral("photo_Mood_%1").arg(mood));
        remove_external_photo(QString::asprintf("photo_Room_%d", room_id));
        emit gl_socket.signalsRemoveMessage(room_id, 1);
    });
    return gl_sqlite3db.commitTransaction();
}
