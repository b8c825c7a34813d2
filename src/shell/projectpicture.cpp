#include "projectpicture.h"

#include "pictures.h"
#include "bus/broadcastsocket.h"
#include "store/backgroundwork.h"
#include "store/cppsqlite3db.h"
#include "store/globals.h"
#include "store/projectlist.h"
#include "store/queryhelpers.h"
#include "store/safesave.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QPointer>
#include <QSaveFile>
#include <QThreadPool>

#include <cstdio>
#include <memory>
#include <utility>
#include <unistd.h>

namespace {

// Qt's default PNG compression takes three times as long for a file hardly smaller.
constexpr int PngQuality = 50;

int g_running = 0;

QString existingProjectFolder()
{
    const QString folder = currentProjectFolder();
    return !folder.isEmpty() && QDir(folder).exists() ? folder : QString();
}

// The name of the file that target stages into, while it has one. Where the file
// system allows, the staging file has none until the commit, and a process that
// ends meanwhile leaves nothing; the named one is removed by the exit.
QString namedStaging(const QSaveFile &target)
{
    char buffer[4096];
    const QByteArray link = "/proc/self/fd/" + QByteArray::number(target.handle());
    const ssize_t length = ::readlink(link.constData(), buffer, sizeof(buffer));
    if (length <= 0 || size_t(length) >= sizeof(buffer))
        return QString();
    const QString path = QFile::decodeName(QByteArray(buffer, int(length)));
    return path.endsWith(QLatin1String(" (deleted)")) ? QString() : path;
}

// Paths built from the same folder and name, told apart only by how they are written.
bool sameFile(const QString &a, const QString &b)
{
    return QDir::cleanPath(QFileInfo(a).absoluteFilePath()) ==
           QDir::cleanPath(QFileInfo(b).absoluteFilePath());
}

PictureWrite placeWithName(QSaveFile &file, const QString &sql)
{
    return placeWithRow(file, [&sql] { return execChangingRows(sql) > 0; });
}

} // namespace

namespace {

// Puts the earlier picture back from its copy with one rename that replaces what
// stands in its place: there is no moment without a picture.
bool putBack(const QString &kept, const QString &path)
{
    return std::rename(QFile::encodeName(kept).constData(), QFile::encodeName(path).constData()) == 0;
}

} // namespace

void settleKeptPicture(const QString &path)
{
    const QString kept = path + QStringLiteral(".old");
    if (!QFileInfo(kept).isFile())
        return;
    if (QFileInfo::exists(path))
        QFile::remove(kept);
    else if (!putBack(kept, path))
        qDebug() << "failed to put the earlier picture back from" << kept;
}

PictureWrite placeWithRow(QSaveFile &file, const std::function<bool()> &storeRow)
{
    const QString path = file.fileName();
    if (!gl_sqlite3db.beginTransaction()) {
        file.cancelWriting();
        return PictureWrite::NotStored;
    }
    if (!storeRow()) {
        gl_sqlite3db.rollbackTransaction();
        file.cancelWriting();
        return PictureWrite::NotStored;
    }
    // The earlier file of that name is kept beside it until the commit, and put back
    // with one rename when the commit fails; one that was not there is removed again.
    const QString kept = path + QStringLiteral(".old");
    settleKeptPicture(path);
    const bool existed = QFileInfo::exists(path);
    if (existed && !QFile::copy(path, kept)) {
        gl_sqlite3db.rollbackTransaction();
        file.cancelWriting();
        return PictureWrite::Unwritable;
    }
    if (!commitSaveFile(file)) {
        QFile::remove(kept);
        gl_sqlite3db.rollbackTransaction();
        return PictureWrite::Unwritable;
    }
    if (!gl_sqlite3db.commitTransaction()) {
        if (!(existed ? putBack(kept, path) : QFile::remove(path)))
            qDebug() << "failed to put the earlier picture back from" << kept;
        return PictureWrite::NotStored;
    }
    QFile::remove(kept);
    return PictureWrite::Written;
}

bool sayPictureWrite(PictureWrite result, const PictureWriteTexts &texts)
{
    QString text;
    switch (result) {
    case PictureWrite::Written:
        return true;
    case PictureWrite::NoFolder:
        text = texts.noFolder;
        break;
    case PictureWrite::Unreadable:
        text = texts.unreadable;
        break;
    case PictureWrite::Unwritable:
        text = texts.unwritable;
        break;
    case PictureWrite::NotStored:
        text = texts.notStored;
        break;
    case PictureWrite::Dropped:
        text = PictureWriter::tr(
            "The picture was not stored: the project was changed while it was written!");
        break;
    }
    if (!text.isEmpty())
        emit gl_socket.signalsInformation(text);
    return false;
}

QString currentProjectName()
{
    QString name;
    getCurrentProject(name);
    return name;
}

QString currentProjectFolder()
{
    return projectFolder(currentProjectName());
}

PictureWrite stagePicture(const QString &source, QSaveFile &target, QString *staging)
{
    const QImage image = readPicture(source);
    if (image.isNull())
        return BackgroundWork::stopping() ? PictureWrite::Dropped : PictureWrite::Unreadable;
    if (!target.open(QIODevice::WriteOnly))
        return PictureWrite::Unwritable;
    const QString named = namedStaging(target);
    if (!named.isEmpty()) {
        BackgroundWork::remember(named);
        if (staging)
            *staging = named;
    }
    // Synced here, so that the commit on the window's thread has nothing left to write.
    const bool written = image.save(&target, "PNG", PngQuality) && target.flush() &&
                         ::fsync(target.handle()) == 0 && target.error() == QFileDevice::NoError;
    if (!written) {
        target.cancelWriting();
        target.commit();
        return PictureWrite::Unwritable;
    }
    return PictureWrite::Written;
}

bool writePictureBytes(const QByteArray &bytes, const QString &path)
{
    if (bytes.isEmpty())
        return false;
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && commitSaveFile(file, file.write(bytes) == bytes.size());
}

PictureWriter::PictureWriter(QObject *parent)
    : QObject(parent)
{
    qRegisterMetaType<PictureWrite>();
    // The rows the picture belongs to are gone, or its whole project: its write has
    // nobody to serve. A file of the same name in another project's folder is another
    // picture.
    connect(&gl_socket, &BroadcastSocket::signalsPictureRemoved, this, [this](const QString &path) {
        const QString file = m_folder + QLatin1Char('/') + m_name + QStringLiteral(".png");
        if (!m_folder.isEmpty() && (sameFile(path, file) || sameFile(path, m_folder)))
            drop();
    });
}

PictureWriter::~PictureWriter()
{
    drop();
}

bool PictureWriter::start(const QString &source, const QString &name, const Place &place)
{
    if (m_busy)
        return false;
    drop();
    m_name = name;
    m_folder = existingProjectFolder();
    if (m_folder.isEmpty()) {
        emit finished(PictureWrite::NoFolder, name);
        return true;
    }
    m_busy = true;
    ++g_running;
    m_place = place;
    const QString path = m_folder + QLatin1Char('/') + name + QStringLiteral(".png");
    QPointer<PictureWriter> guard(this);
    QThread *window = thread();
    m_storeSql.clear();
    // The exit waits for this pool only so long.
    BackgroundWork::pool().start([guard, source, path, window] {
        std::shared_ptr<QSaveFile> file = std::make_shared<QSaveFile>(path);
        QString staging;
        const PictureWrite result = stagePicture(source, *file, &staging);
        file->moveToThread(window);
        // A writer gone meanwhile drops the file: an uncommitted QSaveFile leaves nothing.
        QMetaObject::invokeMethod(
            QCoreApplication::instance(),
            [guard, file, result, staging] {
                if (guard) {
                    guard->staged(result, file, staging);
                } else {
                    file->cancelWriting();
                    BackgroundWork::forget(staging);
                }
            },
            Qt::QueuedConnection);
    });
    return true;
}

bool PictureWriter::startHeld(const QString &source, const QString &name)
{
    if (!start(source, name))
        return false;
    m_hold = m_busy;
    return true;
}

PictureWrite PictureWriter::placeHeld(const std::function<bool()> &storeRow)
{
    std::shared_ptr<QSaveFile> file = std::exchange(m_held, nullptr);
    const QString staging = std::exchange(m_heldStaging, QString());
    if (!file)
        return PictureWrite::Dropped;
    PictureWrite result = PictureWrite::Dropped;
    // A project left since the write took its folder along: the file is not put there.
    if (existingProjectFolder() == m_folder)
        result = placeWithRow(*file, storeRow);
    else
        file->cancelWriting();
    // Committed under its own name, or gone with the QSaveFile: the staging name is free.
    file.reset();
    BackgroundWork::forget(staging);
    return result;
}

void PictureWriter::drop()
{
    if (m_busy) {
        m_dropping = true;
        m_storeSql.clear();
    }
    std::shared_ptr<QSaveFile> file = std::exchange(m_held, nullptr);
    const QString staging = std::exchange(m_heldStaging, QString());
    if (!file)
        return;
    file->cancelWriting();
    file.reset();
    BackgroundWork::forget(staging);
}

void PictureWriter::storeNameWithFile(const QString &sql)
{
    if (m_busy)
        m_storeSql = sql;
}

int PictureWriter::running()
{
    return g_running;
}

void PictureWriter::staged(PictureWrite result, const std::shared_ptr<QSaveFile> &file,
                           const QString &staging)
{
    m_busy = false;
    --g_running;
    const Place place = std::exchange(m_place, Place());
    const QString storeSql = std::exchange(m_storeSql, QString());
    const bool hold = std::exchange(m_hold, false);
    // Dropped by its editor: nobody waits for it any more.
    if (std::exchange(m_dropping, false)) {
        file->cancelWriting();
        BackgroundWork::forget(staging);
        return;
    }
    // The project may have been left while the file was written: the file goes with it.
    if (result == PictureWrite::Written && existingProjectFolder() != m_folder) {
        file->cancelWriting();
        result = PictureWrite::Dropped;
    }
    if (result == PictureWrite::Written) {
        if (!storeSql.isEmpty()) {
            result = placeWithName(*file, storeSql);
        } else if (hold) {
            // Kept whole and uncommitted, its staging name still known to the exit.
            m_held = file;
            m_heldStaging = staging;
            emit finished(result, m_name);
            return;
        } else if (place) {
            result = place(*file);
        } else {
            result = commitSaveFile(*file) ? PictureWrite::Written : PictureWrite::Unwritable;
        }
    }
    BackgroundWork::forget(staging);
    emit finished(result, m_name);
}
