#include "transfersettings.h"

#include "store/cppsqlite3db.h"
#include "store/filehelpers.h"
#include "store/globals.h"
#include "store/projectlist.h"
#include "store/settings.h"
#include "store/ziparchive.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
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
// holds at least one file.
bool holdsEveryFile(const QStringList &names, const QString &zipPath)
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
    for (const QString &name : names) {
        const QString folder = isValidProjectName(name) ? projectFolder(name) : QString();
        if (!folder.isEmpty() && QFileInfo(folder).isDir())
            addProjectFiles(folder, name, files);
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

bool packProjects(const QStringList &names, const QString &zipPath)
{
    QFile::remove(zipPath);
    // A chosen project whose folder is gone would be left out of the archive unsaid.
    for (const QString &name : names) {
        if (!isValidProjectName(name) || !QFileInfo(projectFolder(name)).isDir()) {
            qDebug() << "packProjects: no folder of project" << name;
            return false;
        }
    }
    // The newest device states go into the archive, and no open batch leaves a
    // live journal file beside the current project's database. Writes that are
    // not stored would be missing from the archive.
    if (!gl_sqlite3db.flushBatch())
        return false;
    // Every copy and the packing must succeed: where an older archive cannot be
    // replaced (a card turned read-only), the read-back would find that one.
    if (!compressFolder(names, zipPath)) {
        QFile::remove(zipPath);
        return false;
    }
    if (packedHook)
        packedHook(zipPath);
    // The archive read back must hold every file with the size it has now: an
    // archive damaged once written, or a file that changed after its copy (a
    // database written meanwhile), is not sent.
    if (holdsEveryFile(names, zipPath))
        return true;
    QFile::remove(zipPath);
    return false;
}

QString transferArchiveName()
{
    return QString::asprintf("%s.zip",
                             QTime::currentTime().toString(QStringLiteral("hhmmss")).toUtf8().constData());
}
