#include "transfersettings.h"

#include "store/backgroundwork.h"
#include "store/cppsqlite3db.h"
#include "store/filehelpers.h"
#include "store/globals.h"
#include "store/projectlist.h"
#include "store/settings.h"
#include "store/ziparchive.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QPointer>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QThreadPool>
#include <QTime>

const char *const TransferServerGroup = "project";
const char *const TransferServerKey = "transfer_server";

QString transferServerAddress()
{
    QString address;
    getConfig(QLatin1String(TransferServerGroup), QLatin1String(TransferServerKey), address);
    return address.trimmed();
}

QString transferUploadUrl()
{
    return QString::asprintf("http://%s:6001/v1/dbUpload", transferServerAddress().toUtf8().constData());
}

QString transferDownloadUrl()
{
    return QString::asprintf("http://%s:6001/v1/dbDownload", transferServerAddress().toUtf8().constData());
}

namespace {

std::function<void(const QString &)> packedHook;
std::function<void()> stagingHook;

// The files the packing takes from folder, as the archive names them (prefix,
// "/", the path below folder), each with its size: what copyDirToPath copies,
// hidden entries and linked folders left out.
void addProjectFiles(const QString &folder, const QString &prefix, QHash<QString, qint64> &files)
{
    const QFileInfoList list = QDir(folder).entryInfoList();
    for (const QFileInfo &info : list) {
        const QString name = info.fileName();
        if (name == QLatin1String(".") || name == QLatin1String(".."))
            continue;
        const QString entry = prefix + QLatin1Char('/') + name;
        if (!info.isDir())
            files.insert(entry, info.size());
        else if (!info.isSymLink())
            addProjectFiles(info.filePath(), entry, files);
    }
}

// Whether the archive lists every file of the named projects with its size, and
// holds at least one file. Each project's database is the copy staged for the
// archive; its live file and journal are written meanwhile and are not compared.
bool holdsEveryFile(const QStringList &names, const QStringList &folders, const QString &staging,
                    const QString &zipPath)
{
    QList<ZipArchive::Entry> entries;
    if (!ZipArchive::listEntries(zipPath, entries))
        return false;
    QHash<QString, qint64> listed;
    for (const ZipArchive::Entry &entry : qAsConst(entries)) {
        if (!entry.isDir)
            listed.insert(entry.name, qint64(entry.size));
    }
    QHash<QString, qint64> files;
    for (int i = 0; i < names.size(); ++i) {
        const QString &name = names.at(i);
        if (!QFileInfo(folders.at(i)).isDir())
            continue;
        addProjectFiles(folders.at(i), name, files);
        const QString db = name + QLatin1Char('/') + name + QStringLiteral(".db3");
        for (const char *side : {"", "-journal", "-wal", "-shm"})
            files.remove(db + QLatin1String(side));
        const QFileInfo staged(staging + QLatin1Char('/') + db);
        if (staged.isFile())
            files.insert(db, staged.size());
    }
    for (auto it = files.cbegin(); it != files.cend(); ++it) {
        if (listed.value(it.key(), -1) != it.value()) {
            qDebug() << "packProjects: the archive lacks" << it.key() << "of" << it.value() << "bytes";
            return false;
        }
    }
    return !listed.isEmpty();
}

} // namespace

void setPackedHookForTest(std::function<void(const QString &zipPath)> hook)
{
    packedHook = std::move(hook);
}

void setStagingHookForTest(std::function<void()> hook)
{
    stagingHook = std::move(hook);
}

bool preparePacking(const QStringList &names, QStringList &folders)
{
    folders.clear();
    // A chosen project whose folder is gone would be left out of the archive unsaid.
    for (const QString &name : names) {
        if (!isValidProjectName(name) || !QFileInfo(projectFolder(name)).isDir()) {
            qDebug() << "packProjects: no folder of project" << name;
            return false;
        }
        folders.append(projectFolder(name));
    }
    // The newest device states go into the archive. Writes that are not stored
    // would be missing from it.
    return gl_sqlite3db.flushBatch();
}

bool packFolders(const QStringList &names, const QStringList &folders, const QString &zipPath)
{
    return packFolders(names, folders, zipPath, DatabaseCopy::Live());
}

bool packFolders(const QStringList &names, const QStringList &folders, const QString &zipPath,
                 const DatabaseCopy::Live &live)
{
    QFile::remove(zipPath);
    QTemporaryDir staging;
    if (names.size() != folders.size() || !staging.isValid())
        return false;
    // An exit that cannot wait for this work removes what it leaves.
    BackgroundWork::remember(staging.path());
    BackgroundWork::remember(zipPath);
    const auto forget = qScopeGuard([&] {
        BackgroundWork::forget(staging.path());
        BackgroundWork::forget(zipPath);
    });
    if (stagingHook)
        stagingHook();
    // Every copy and the packing must succeed: where an older archive cannot be
    // replaced (a card turned read-only), the read-back would find that one.
    if (!compressFolders(names, folders, staging.path(), zipPath, live)) {
        QFile::remove(zipPath);
        return false;
    }
    if (packedHook)
        packedHook(zipPath);
    // The archive read back must hold every file with the size it has now: an
    // archive damaged once written, or a file that changed after its copy, is not sent.
    if (!BackgroundWork::stopping() && holdsEveryFile(names, folders, staging.path(), zipPath))
        return true;
    QFile::remove(zipPath);
    return false;
}

bool packProjects(const QStringList &names, const QString &zipPath)
{
    QFile::remove(zipPath);
    QStringList folders;
    return preparePacking(names, folders) && packFolders(names, folders, zipPath);
}

std::function<void()> packProjectsInBackground(const QStringList &names, const QString &zipPath,
                                               QObject *context, std::function<void(bool)> done)
{
    QPointer<QObject> guard(context);
    auto answer = [guard, done](bool ok) {
        // Posted to the application, which outlives the dialog that asked.
        QMetaObject::invokeMethod(
            QCoreApplication::instance(),
            [guard, done, ok] {
                if (guard)
                    done(ok);
            },
            Qt::QueuedConnection);
    };
    QFile::remove(zipPath);
    QStringList folders;
    // A refusal of the window's part is said at once, as before any file work.
    if (!preparePacking(names, folders)) {
        done(false);
        return [] {};
    }
    // The database the window writes is copied through the window's connection, in
    // slices on its thread, so that no commit waits for the whole copy.
    DatabaseCopy::Live live;
    live.stop = std::make_shared<std::atomic<bool>>(false);
    if (gl_sqlite3db.isOpen()) {
        live.connection = &gl_sqlite3db;
        live.path = gl_sqlite3db.getDbName();
    }
    // Given up, every copy and the zip stop at their next piece (BackgroundWork::stopping()).
    BackgroundWork::pool().start([names, folders, zipPath, answer, live] {
        bool packed = false;
        {
            const BackgroundWork::GiveUpScope scope(live.stop.get());
            packed = packFolders(names, folders, zipPath, live);
        }
        answer(packed);
    });
    const auto stop = live.stop;
    return [stop] { stop->store(true); };
}

QString transferArchiveName()
{
    return QString::asprintf("%s.zip",
                             QTime::currentTime().toString(QStringLiteral("hhmmss")).toUtf8().constData());
}
