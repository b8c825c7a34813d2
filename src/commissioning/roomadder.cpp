#include "roomadder.h"

#include "commissioning/commissioningrules.h"
#include "shell/pictures.h"
#include "shell/projectpicture.h"
#include "store/backgroundwork.h"
#include "store/cppsqlite3db.h"
#include "store/filehelpers.h"
#include "store/globals.h"
#include "store/idallocators.h"
#include "store/queryhelpers.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QImageReader>
#include <QMutex>
#include <QMutexLocker>
#include <QPointer>
#include <QSqlQuery>
#include <QThreadPool>
#include <QVariant>
#include <QVector>

#include <atomic>
#include <memory>
#include <unistd.h>

namespace {

std::atomic<RoomAdder::LinkCall> g_link{&::link};
std::atomic<int> g_stagings{0};

// Workers that make the files of one add at once: a hundred copies of a phone
// photo are more than a gigabyte, which one thread writes for seconds.
constexpr int MaxStagingWorkers = 4;

// The files the workers make for the rooms of one add. Whoever comes second, the
// window giving up its wait or a worker ending, owns a worker's files: the window
// takes those handed over, a worker removes its own once the window gave up.
struct Staging
{
    QMutex mutex;
    int running = 0;
    bool cancelled = false;
    QStringList files; // one per room, empty where none was made
    // The template's bytes, read once by the first worker that needs a copy, and
    // whether the template is a usable picture, looked at once by the first worker.
    QMutex bytesMutex;
    bool bytesRead = false;
    QByteArray bytes;
    bool checked = false;
    bool usable = false;
};

bool isCancelled(Staging &staging)
{
    QMutexLocker locker(&staging.mutex);
    return staging.cancelled;
}

void removeFiles(const QStringList &files)
{
    for (const QString &file : files) {
        if (file.isEmpty())
            continue;
        QFile::remove(file);
        BackgroundWork::forget(file);
    }
}

// Whether path is a picture the rooms may have: a plain file within the bounds of
// the picture reads, whose header a reader takes.
bool isUsablePicture(const QString &path)
{
    const QFileInfo info(path);
    if (path.isEmpty() || !info.isFile() || info.size() > MaxPictureFileBytes)
        return false;
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    const QSize size = reader.size();
    return reader.canRead() && size.isValid() && qint64(size.width()) * size.height() <= MaxPicturePixels;
}

bool isUsableOnce(Staging &staging, const QString &source)
{
    QMutexLocker locker(&staging.bytesMutex);
    if (!staging.checked)
        staging.usable = isUsablePicture(source);
    staging.checked = true;
    return staging.usable;
}

bool copyFile(Staging &staging, const QString &source, const QString &path)
{
    QMutexLocker locker(&staging.bytesMutex);
    if (!staging.bytesRead)
        staging.bytes = readPictureBytes(source);
    staging.bytesRead = true;
    const QByteArray bytes = staging.bytes; // shared, not copied
    locker.unlock();
    return writePictureBytes(bytes, path);
}

// In worker `worker` of `workers`: the files of source named prefix<i>.png for every
// workers-th i below count, each a hard link where the file system makes one (not
// through a linked name: the room gets the bytes), else a copy of the bytes. Answers
// whether this was the last worker to end, with the files handed over.
bool makeFiles(Staging &staging, const QString &source, const QString &prefix, int count, int worker,
               int workers)
{
    QVector<QPair<int, QString>> made;
    if (isUsableOnce(staging, source)) {
        const bool linkable = !QFileInfo(source).isSymLink();
        const RoomAdder::LinkCall link = g_link.load();
        for (int i = worker; i < count; i += workers) {
            if (BackgroundWork::stopping() || isCancelled(staging))
                break;
            const QString path = prefix + QString::number(i) + QStringLiteral(".png");
            const QByteArray target = QFile::encodeName(path);
            BackgroundWork::remember(path);
            ::unlink(target.constData()); // a name left by a process that ended in the middle
            if ((linkable && link(QFile::encodeName(source).constData(), target.constData()) == 0) ||
                copyFile(staging, source, path))
                made.append({i, path});
            else
                BackgroundWork::forget(path);
        }
    }
    QMutexLocker locker(&staging.mutex);
    if (staging.cancelled) {
        for (const auto &file : qAsConst(made))
            removeFiles({file.second});
    } else {
        for (const auto &file : qAsConst(made))
            staging.files[file.first] = file.second;
    }
    return --staging.running == 0 && !staging.cancelled;
}

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

void RoomAdder::setLinkCall(LinkCall call)
{
    g_link = call ? call : &::link;
}

bool RoomAdder::add(const QString &region, const QString &floor, const QStringList &names)
{
    m_rooms.clear();
    m_pictureFallback = false;
    if (!m_templateExists || m_adding)
        return false;
    m_adding = true;
    const bool ok = stagePictures(names.size()) && addRows(region, floor, names);
    removeStaged();
    m_adding = false;
    return ok;
}

bool RoomAdder::addRows(const QString &region, const QString &floor, const QStringList &names)
{
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
    bool ok = writeRows(region, floor, names, pictures);
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

bool RoomAdder::stagePictures(int count)
{
    m_staged.clear();
    m_nextStaged = 0;
    m_folder = currentProjectFolder();
    m_staging = m_templateIcon.contains(QLatin1String("photo")) && !m_folder.isEmpty() &&
                QDir(m_folder).exists();
    if (!m_staging)
        return true;
    // A name that is no plain file name of the project's folder gives no path, and
    // the rooms fall back as they do for an unreadable picture.
    const QString source = projectPicturePath(m_templateIcon);
    const QString prefix = m_folder + QStringLiteral("/.photo_Room_new_%1_%2_")
                                          .arg(QCoreApplication::applicationPid())
                                          .arg(++g_stagings);
    const QString database = gl_sqlite3db.getDbName();
    const auto staging = std::make_shared<Staging>();
    const int workers = qBound(1, count, MaxStagingWorkers);
    staging->files = QVector<QString>(count).toList();
    staging->running = workers;
    QEventLoop loop;
    QPointer<QEventLoop> waiting(&loop);
    for (int worker = 0; worker < workers; ++worker) {
        // Ahead of the pictures' decodes: the user waits for these.
        BackgroundWork::pool().start(
            [staging, source, prefix, count, worker, workers, waiting] {
                if (!makeFiles(*staging, source, prefix, count, worker, workers))
                    return;
                QMetaObject::invokeMethod(
                    QCoreApplication::instance(),
                    [waiting] {
                        if (waiting)
                            waiting->quit();
                    },
                    Qt::QueuedConnection);
            },
            1);
    }
    bool done = false;
    {
        QMutexLocker locker(&staging->mutex);
        done = staging->running == 0;
    }
    if (!done)
        loop.exec();
    QMutexLocker locker(&staging->mutex);
    // The exit quits every event loop: the files handed over go now, the workers
    // still running remove theirs.
    if (staging->running > 0) {
        staging->cancelled = true;
        removeFiles(staging->files);
        return false;
    }
    m_staged = staging->files;
    // Files made for a project left meanwhile are no rooms' of the current one.
    if (BackgroundWork::stopping() || currentProjectFolder() != m_folder ||
        gl_sqlite3db.getDbName() != database) {
        removeStaged();
        return false;
    }
    return true;
}

void RoomAdder::removeStaged()
{
    removeFiles(m_staged);
    m_staged.clear();
}

QString RoomAdder::roomPicture(int roomId, QStringList &pictures)
{
    if (!m_staging)
        return m_templateIcon;
    const int index = m_nextStaged++;
    const QString staged = index < m_staged.size() ? m_staged.at(index) : QString();
    const QString name = QString::asprintf("photo_Room_%d", roomId);
    const QString path = m_folder + QLatin1Char('/') + name + QStringLiteral(".png");
    // One rename puts the whole file in place, over a file left under the free id.
    // A room without a file of its own (none made, or a folder where it goes) shows
    // the template's picture.
    if (staged.isEmpty() ||
        ::rename(QFile::encodeName(staged).constData(), QFile::encodeName(path).constData()) != 0) {
        m_pictureFallback = true;
        return m_templateIcon;
    }
    // A rename between two links to one file (a room's file left, linked to the template's,
    // by an add that ended before its commit) succeeds and leaves both: the staged one goes.
    ::unlink(QFile::encodeName(staged).constData());
    BackgroundWork::forget(staged);
    m_staged[index].clear();
    pictures.append(name);
    return name;
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
