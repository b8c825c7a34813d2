#include "roomadder.h"

#include "commissioning/commissioningrules.h"
#include "shell/pictures.h"
#include "shell/projectpicture.h"
#include "store/cppsqlite3db.h"
#include "store/filehelpers.h"
#include "store/globals.h"
#include "store/idallocators.h"
#include "store/queryhelpers.h"

#include <QDir>
#include <QBuffer>
#include <QImageReader>
#include <QThreadPool>
#include <QVector>
#include <QSqlQuery>
#include <QVariant>

namespace {

// The ids a column holds, read once so that a bulk add need not ask the
// database again for every new row. False when the rows could not all be read:
// an id missing from the set might be taken.
bool takenIds(const QString &sql, const QString &column, QSet<int> &ids)
{
    ids.clear();
    QSqlQuery query = gl_sqlite3db.execQuery(sql);
    while (query.next())
        ids.insert(query.value(column).toInt());
    return rowsReadToEnd(query);
}

// The smallest id from 1 that the set lacks, then taken: the same number the
// store's allocators answer after each insert.
int takeFreeId(QSet<int> &ids)
{
    int id = 1;
    while (ids.contains(id))
        ++id;
    ids.insert(id);
    return id;
}

// The column of the query's first row into value; found tells whether there is
// one. False when the query could not be read: that is no answer either way.
bool firstInt(const QString &sql, const QString &column, int &value, bool &found)
{
    QSqlQuery query = gl_sqlite3db.execQuery(sql);
    found = query.next();
    if (found)
        value = query.value(column).toInt();
    return rowsReadToEnd(query);
}

} // namespace

RoomAdder::RoomAdder(int templateId)
    : m_templateId(templateId)
{
    QString icon;
    m_templateExists = getTextFromDb(
        QString::asprintf("select room_template_icon_name from tbl_room_template where room_template_id=%d",
                          templateId),
        QStringLiteral("room_template_icon_name"), icon, &m_templateRead);
    m_templateExists = m_templateExists && m_templateRead;
    m_templateIcon = icon;
}

bool RoomAdder::add(const QString &region, const QString &floor, const QStringList &names)
{
    m_rooms.clear();
    m_pictureFallback = false;
    m_picture.clear();
    m_pictureRead = false;
    if (!m_templateExists)
        return false;

    QSqlQuery lights = gl_sqlite3db.execQuery(
        QString::asprintf("select * from tbl_template_light where room_template_id=%d "
                          "order by template_light_id asc",
                          m_templateId));
    m_lights.clear();
    while (lights.next()) {
        m_lights.append({lights.value(QStringLiteral("light_type")).toInt(),
                         lights.value(QStringLiteral("light_remark")).toString(),
                         lights.value(QStringLiteral("icon_name")).toString()});
    }
    // Rooms with part of the template's devices would be no copies of it.
    const bool lightsRead = rowsReadToEnd(lights);
    lights.finish();
    if (!lightsRead)
        return false;
    if (getTextsFromDb(QString::asprintf("select * from tbl_template_panel where room_template_id=%d "
                                         "order by template_panel_id asc",
                                         m_templateId),
                       QStringLiteral("panel_remark"), m_panels) < 0)
        return false;

    if (m_oneTransaction && !gl_sqlite3db.beginTransaction())
        return false;
    QStringList pictures;
    bool ok = writeRows(region, floor, names, pictures) && writePictures(pictures);
    if (m_oneTransaction) {
        if (ok)
            ok = gl_sqlite3db.commitTransaction();
        else
            gl_sqlite3db.rollbackTransaction();
        if (!ok) {
            // The rows are gone; so must be the pictures written for them.
            for (const QString &picture : qAsConst(pictures))
                remove_external_photo(picture);
            m_rooms.clear();
        }
    }
    return ok;
}

bool RoomAdder::writeRows(const QString &region, const QString &floor, const QStringList &names,
                          QStringList &pictures)
{
    // A failed read is neither "no such region" nor "this id is free": it ends the add.
    int regionId = 0;
    bool found = false;
    if (!firstInt(
            QStringLiteral("select region_id from tbl_region where region_name='%1'").arg(sqlText(region)),
            QStringLiteral("region_id"), regionId, found))
        return false;
    if (!found) {
        regionId = getRegionId();
        if (regionId < 0 ||
            !gl_sqlite3db.execDML(
                QStringLiteral("insert into tbl_region(region_name,region_id) values('%2',%1)")
                    .arg(regionId)
                    .arg(sqlText(region))))
            return false;
    }
    int floorId = 0;
    if (!firstInt(QStringLiteral("select floor_id from tbl_floor where floor_name='%2'and region_id=%1")
                      .arg(regionId)
                      .arg(sqlText(floor)),
                  QStringLiteral("floor_id"), floorId, found))
        return false;
    if (!found) {
        floorId = getFloorId();
        if (floorId < 0 ||
            !gl_sqlite3db.execDML(
                QStringLiteral("insert into tbl_floor(floor_name,floor_id,region_id) values('%3',%1,%2)")
                    .arg(floorId)
                    .arg(regionId)
                    .arg(sqlText(floor))))
            return false;
    }

    if (!takenIds(QStringLiteral("select room_id from tbl_room"), QStringLiteral("room_id"), m_roomIds) ||
        !takenIds(QStringLiteral("select light_id from tbl_light where (rgb=0 or rgb=1)"),
                  QStringLiteral("light_id"), m_lightIds) ||
        !takenIds(QStringLiteral("select panel_id from tbl_panel"), QStringLiteral("panel_id"), m_panelIds))
        return false;
    for (const QString &name : names) {
        if (!addRoom(name, floorId, regionId, pictures))
            return false;
    }
    return true;
}

QString RoomAdder::roomPicture(int roomId, QStringList &pictures)
{
    if (!m_templateIcon.contains(QLatin1String("photo")))
        return m_templateIcon;
    const QString folder = currentProjectFolder();
    if (folder.isEmpty() || !QDir(folder).exists())
        return m_templateIcon;
    if (templatePicture().isEmpty()) {
        // No copy, no name of one: the room shows the template's picture.
        m_pictureFallback = true;
        return m_templateIcon;
    }
    // Named now, written with the others once every row is in (writePictures).
    const QString name = QString::asprintf("photo_Room_%d", roomId);
    pictures.append(name);
    return name;
}

bool RoomAdder::writePictures(QStringList &pictures)
{
    // Each room's copy of the template's bytes is written by a worker of its own: a
    // hundred copies of a phone photo are more than a gigabyte, which one thread
    // writes for seconds. The window's thread waits for them in the add's transaction.
    const QString folder = currentProjectFolder();
    QVector<char> written(pictures.size(), 0);
    QThreadPool writers;
    for (int i = 0; i < pictures.size(); ++i) {
        const QString path = folder + QLatin1Char('/') + pictures.at(i) + QStringLiteral(".png");
        char *done = &written[i];
        writers.start([this, path, done] { *done = writePictureBytes(m_picture, path); });
    }
    writers.waitForDone();
    for (int i = pictures.size() - 1; i >= 0; --i) {
        if (written.at(i))
            continue;
        // A copy that could not be written: that room shows the template's picture.
        const int roomId = pictures.at(i).mid(int(qstrlen("photo_Room_"))).toInt();
        if (!gl_sqlite3db.execDML(QStringLiteral("update tbl_room set icon_name='%1' where room_id=%2")
                                      .arg(sqlText(m_templateIcon))
                                      .arg(roomId)))
            return false;
        m_pictureFallback = true;
        pictures.removeAt(i);
    }
    return true;
}

const QByteArray &RoomAdder::templatePicture()
{
    if (m_pictureRead)
        return m_picture;
    m_pictureRead = true;
    // A name that is no plain file name of the project's folder gives no path, and
    // the rooms fall back as they do for an unreadable picture. Each room gets a
    // copy of the file's bytes: decoding and encoding a photo again per room would
    // hold the window for seconds each.
    m_picture = readPictureBytes(projectPicturePath(m_templateIcon));
    QBuffer buffer(&m_picture);
    QImageReader reader(&buffer);
    reader.setDecideFormatFromContent(true);
    const QSize size = reader.size();
    if (!reader.canRead() || !size.isValid() || qint64(size.width()) * size.height() > MaxPicturePixels)
        m_picture.clear();
    return m_picture;
}

bool RoomAdder::addRoom(const QString &name, int floorId, int regionId, QStringList &pictures)
{
    const int roomId = takeFreeId(m_roomIds);
    const QString icon = roomPicture(roomId, pictures);
    if (!gl_sqlite3db.execDML(
            QStringLiteral(
                "insert into tbl_room(room_name,icon_name,room_id,floor_id,region_id,room_template_id) "
                "values('%5','%6',%1,%2,%3,%4)")
                .arg(roomId)
                .arg(floorId)
                .arg(regionId)
                .arg(m_templateId)
                .arg(sqlText(name), sqlText(icon))))
        return false;
    m_rooms.append(roomId);

    const QString lightSql =
        QStringLiteral("insert into tbl_light(light_id,light_type,light_remark,subnet_id,device_id,channel,"
                       "icon_name_of_light_on,icon_name_of_light_off,brightness,us_id,fade,rgb,original_"
                       "type,version,room_id) "
                       "values(%1,%2,'%5',0,0,0,'%6','%7',0,0,0,%3,0,'',%4)");
    for (const TemplateLight &light : qAsConst(m_lights)) {
        const int lightId = takeFreeId(m_lightIds);
        const QString remark = sqlText(light.remark);
        const QString on = sqlText(light.icon);
        const QString off = sqlText(lightOffIconName(light.icon));
        // A colour light is its three channel rows under one id.
        const QList<int> rows = light.type == 2 ? QList<int>{1, 2, 3} : QList<int>{0};
        for (int rgb : rows) {
            if (!gl_sqlite3db.execDML(
                    lightSql.arg(lightId).arg(light.type).arg(rgb).arg(roomId).arg(remark, on, off)))
                return false;
        }
    }
    for (const QString &panel : qAsConst(m_panels)) {
        if (!gl_sqlite3db.execDML(
                QStringLiteral("insert into tbl_panel(panel_id,panel_remark,subnet_id,device_id,room_id) "
                               "values(%1,'%3',0,0,%2)")
                    .arg(takeFreeId(m_panelIds))
                    .arg(roomId)
                    .arg(sqlText(panel))))
            return false;
    }
    return true;
}
