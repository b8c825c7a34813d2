#include "filehelpers.h"

#include "bus/broadcastsocket.h"
#include "store/backgroundwork.h"
#include "store/databasecopy.h"
#include "store/globals.h"
#include "store/projectlist.h"
#include "store/ziparchive.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cerrno>
#include <dirent.h>

namespace {

// Whether folder can be opened and read to its end. QDir lists a folder that
// cannot be read as an empty one.
bool isListable(const QString &folder)
{
    DIR *dir = ::opendir(QFile::encodeName(folder).constData());
    if (!dir)
        return false;
    errno = 0;
    while (::readdir(dir)) {
    }
    const bool read = errno == 0;
    ::closedir(dir);
    return read;
}

// Copies a staged tree into target, hidden entries included; links are skipped.
bool copyWholeTree(const QString &source, const QString &target)
{
    if (!QFileInfo(target).isDir() && !QDir().mkdir(target))
        return false;
    const QFileInfoList list = QDir(source).entryInfoList(
        QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System, QDir::Name);
    for (const QFileInfo &info : list) {
        const QString to = target + QLatin1Char('/') + info.fileName();
        if (info.isSymLink())
            continue;
        if (info.isDir()) {
            if (!copyWholeTree(info.filePath(), to))
                return false;
        } else if (!QFile::copy(info.filePath(), to)) {
            return false;
        }
    }
    return true;
}

bool isEmptyFolder(const QString &path)
{
    return QDir(path)
        .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System)
        .isEmpty();
}

} // namespace

bool isRemovableProjectFolder(const QString &path)
{
    if (gl_curPath.isEmpty() || path.isEmpty())
        return false;
    const QFileInfo info(QDir::cleanPath(QDir(gl_curPath).absoluteFilePath(path)));
    const QString name = info.fileName();
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String(".."))
        return false;
    if (info.isSymLink())
        return false;
    const QString database = QFileInfo(databaseFolder()).canonicalFilePath();
    const QString parent = QFileInfo(info.absolutePath()).canonicalFilePath();
    return !database.isEmpty() && parent == database;
}

void removeProjectFolder(const QString &path)
{
    if (!isRemovableProjectFolder(path))
        return;
    // A picture write into the folder still running would land in whichever project
    // takes the name next, or overwrite the pictures of one imported under it.
    emit gl_socket.signalsPictureRemoved(path);
    if (QFileInfo::exists(path))
        QDir(path).removeRecursively();
}

bool copyFileToPath(QString source, QString target, bool overwrite)
{
    target.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (source == target)
        return true;
    if (!QFile::exists(source))
        return false;
    if (overwrite && QFileInfo::exists(target))
        QFile::remove(target);
    return QFile::copy(source, target);
}

namespace {

// copyDirToPath, leaving out the entries of source named in skipped.
bool copyDirSkipping(const QString &source, const QString &target, bool overwrite,
                     const QStringList &skipped)
{
    QDir targetDir(target);
    if (!targetDir.exists() && !targetDir.mkdir(targetDir.absolutePath()))
        return false;
    // A folder that cannot be read would be copied as an empty one.
    if (!isListable(source)) {
        qDebug() << "copyDirToPath: cannot read the folder" << source;
        return false;
    }

    const QFileInfoList list = QDir(source).entryInfoList();
    for (const QFileInfo &info : list) {
        const QString name = info.fileName();
        if (name == QLatin1String(".") || name == QLatin1String("..") || skipped.contains(name))
            continue;
        if (BackgroundWork::stopping())
            return false;
        const QString to = target + QLatin1Char('/') + name;
        if (info.isDir()) {
            // A linked folder may point back up the tree; it is not followed.
            if (info.isSymLink()) {
                qDebug() << "copyDirToPath: not following linked folder" << info.filePath();
                continue;
            }
            if (!copyDirToPath(info.filePath(), to, overwrite))
                return false;
        } else {
            if (overwrite && targetDir.exists(name))
                targetDir.remove(name);
            if (!QFile::copy(info.filePath(), to))
                return false;
        }
    }
    return true;
}

} // namespace

bool copyDirToPath(const QString &source, const QString &target, bool overwrite)
{
    return copyDirSkipping(source, target, overwrite, {});
}

bool stageProjectFolder(const QString &folder, const QString &name, const QString &target,
                        const DatabaseCopy::Live &live)
{
    // The database is written while this runs: its journal belongs to the live file
    // only, and the file itself is taken as one transaction left it.
    const QString db = name + QStringLiteral(".db3");
    const QStringList side{db, db + QStringLiteral("-journal"), db + QStringLiteral("-wal"),
                           db + QStringLiteral("-shm")};
    if (!copyDirSkipping(folder, target, true, side))
        return false;
    const QString file = folder + QLatin1Char('/') + db;
    return !QFileInfo(file).isFile() || DatabaseCopy::copy(file, target + QLatin1Char('/') + db, live);
}

void clearDir(const QString &path)
{
    if (!isRemovableProjectFolder(path)) {
        qDebug() << "clearDir: refusing a folder outside the database folder:" << path;
        return;
    }
    QDir dir(path);
    if (!dir.exists())
        return;
    const QFileInfoList list = dir.entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QFileInfo &info : list) {
        if (info.isDir() && !info.isSymLink())
            QDir(info.filePath()).removeRecursively();
        else
            QFile::remove(info.filePath());
    }
}

QString projectPicturePath(const QString &name)
{
    const QString file = name.contains(QLatin1String(".png")) ? name : name + QLatin1String(".png");
    QString project;
    getCurrentProject(project);
    const QString folder = projectFolder(project);
    if (folder.isEmpty() || !isValidProjectName(file))
        return QString();
    return folder + QLatin1Char('/') + file;
}

void remove_external_photo(const QString &name)
{
    const QString path = projectPicturePath(name);
    if (path.isEmpty())
        return;
    // A write of that file still running would put it back, and store its name in
    // whatever row takes the freed id next. Every project numbers its rooms, moods
    // and templates from 1: the full path keeps a write of the same name into the
    // project that was left.
    emit gl_socket.signalsPictureRemoved(path);
    if (QFileInfo(path).isFile())
        QFile::remove(path);
}

bool compressFolder(const QStringList &names, const QString &zipPath)
{
    QTemporaryDir staging;
    if (!staging.isValid()) {
        qDebug() << "compressFolder: cannot make a staging folder" << staging.errorString();
        return false;
    }
    QStringList kept;
    QStringList folders;
    for (const QString &name : names) {
        if (!isValidProjectName(name)) {
            qDebug() << "compressFolder: skipping invalid project name" << name;
            continue;
        }
        kept.append(name);
        folders.append(projectFolder(name));
    }
    return compressFolders(kept, folders, staging.path(), zipPath);
}

bool compressFolders(const QStringList &names, const QStringList &folders, const QString &staging,
                     const QString &zipPath, const DatabaseCopy::Live &live)
{
    for (int i = 0; i < names.size() && i < folders.size(); ++i) {
        const QString &name = names.at(i);
        if (!QFileInfo(folders.at(i)).isDir())
            continue;
        // A project copied in part would be packed as if it were whole.
        const QString target = staging + QLatin1Char('/') + name;
        if (BackgroundWork::stopping() || !stageProjectFolder(folders.at(i), name, target, live)) {
            qDebug() << "compressFolder: copying" << name << "failed";
            return false;
        }
    }
    if (!ZipArchive::compressDir(zipPath, staging)) {
        qDebug() << "compressFolder: writing" << zipPath << "failed";
        return false;
    }
    return true;
}

void decompressFolder(const QString &zipPath, const QString &folder)
{
    if (!QFileInfo(zipPath).isFile())
        return;

    const QFileInfo target(folder);
    const bool exists = target.exists() || target.isSymLink();
    if (exists) {
        if (target.isSymLink() || !target.isDir()) {
            qDebug() << "decompressFolder: refusing target that is not a folder:" << folder;
            return;
        }
        if (!isEmptyFolder(folder) && !isRemovableProjectFolder(folder)) {
            qDebug() << "decompressFolder: refusing to replace a folder outside the database folder:"
                     << folder;
            return;
        }
    }

    QTemporaryDir staging;
    if (!staging.isValid()) {
        qDebug() << "decompressFolder: cannot make a staging folder" << staging.errorString();
        return;
    }
    const QString unpacked = staging.path() + QStringLiteral("/content");
    if (!QDir().mkdir(unpacked) || !ZipArchive::extractDir(zipPath, unpacked)) {
        qDebug() << "decompressFolder: unpacking" << zipPath << "failed; folder left as it was";
        return;
    }

    if (exists) {
        const bool removed = isEmptyFolder(folder) ? QDir().rmdir(folder) : QDir(folder).removeRecursively();
        if (!removed) {
            qDebug() << "decompressFolder: cannot remove the old" << folder;
            return;
        }
    }
    // A rename is enough when the staging folder is on the same file system.
    if (QDir().rename(unpacked, folder))
        return;
    if (!copyWholeTree(unpacked, folder))
        qDebug() << "decompressFolder: copying the unpacked tree into" << folder << "failed";
}
