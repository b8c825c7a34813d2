#include "transfersettings.h"

#include "store/cppsqlite3db.h"
#include "store/filehelpers.h"
#include "store/globals.h"
#include "store/settings.h"
#include "store/ziparchive.h"

#include <QFile>
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

bool packProjects(const QStringList &names, const QString &zipPath)
{
    QFile::remove(zipPath);
    // The newest device states go into the archive, and no open batch leaves a
    // live journal file beside the current project's database. Writes that are
    // not stored would be missing from the archive.
    if (!gl_sqlite3db.flushBatch())
        return false;
    compressFolder(names, zipPath);
    QList<ZipArchive::Entry> entries;
    bool hasFile = false;
    if (ZipArchive::listEntries(zipPath, entries)) {
        for (const ZipArchive::Entry &entry : qAsConst(entries))
            hasFile = hasFile || !entry.isDir;
    }
    if (!hasFile)
        QFile::remove(zipPath);
    return hasFile;
}

QString transferArchiveName()
{
    return QString::asprintf("%s.zip",
                             QTime::currentTime().toString(QStringLiteral("hhmmss")).toUtf8().constData());
}
