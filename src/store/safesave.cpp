#include "safesave.h"

#include <QDebug>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSaveFile>
#include <QSettings>
#include <QTemporaryFile>

#include <cstdio>
#include <unistd.h>

namespace {

// Whether the file of settings, read afresh, holds what settings holds. Qt keeps
// what it wrote for the file's name, so the file is read under a name of its own.
bool readsBack(QSettings &settings)
{
    QFile file(settings.fileName());
    QTemporaryFile copy;
    if (!file.open(QIODevice::ReadOnly) || !copy.open())
        return false;
    const QByteArray bytes = file.readAll();
    if (copy.write(bytes) != bytes.size() || !copy.flush())
        return false;
    const QSettings written(copy.fileName(), settings.format());
    const QStringList keys = settings.allKeys();
    if (written.allKeys().size() != keys.size())
        return false;
    for (const QString &key : keys) {
        if (written.value(key) != settings.value(key))
            return false;
    }
    return true;
}

// The lock that QSettings takes around each write of fileName: "<fileName>.lock", a
// QLockFile, which one process cannot take twice (QSettings::sync() must not run
// while it is held here). The steps of a write that keep and drop the earlier file
// take it too, and the put-back at start tries it, so that a start never puts an
// earlier file back over a write that another instance has confirmed.
QString writerLockName(const QString &fileName)
{
    return fileName + QStringLiteral(".lock");
}

// Whether bytes read as a file of settings with at least one key.
bool holdsSettings(const QByteArray &bytes)
{
    QTemporaryFile copy;
    if (bytes.isEmpty() || !copy.open() || copy.write(bytes) != bytes.size() || !copy.flush())
        return false;
    const QSettings read(copy.fileName(), QSettings::IniFormat);
    return read.status() == QSettings::NoError && !read.allKeys().isEmpty();
}

// The file that a write of fileName replaces: the target of a link, followed link by
// link as QSaveFile follows it, so that the earlier content is kept and put back
// there and the link stays a link.
QByteArray writtenPath(const QString &fileName)
{
    QFileInfo file(fileName);
    for (int depth = 0; depth < 128 && file.isSymLink(); ++depth)
        file.setFile(file.symLinkTarget());
    return QFile::encodeName(file.isSymLink() ? fileName : file.filePath());
}

} // namespace

bool commitSaveFile(QSaveFile &file, bool written)
{
    if (!file.isOpen())
        return false;
    if (written && file.flush() && file.error() == QFileDevice::NoError)
        return file.commit();
    // Cancelled, the new file is dropped at once by commit(), which then answers false.
    file.cancelWriting();
    file.commit();
    return false;
}

bool syncSettings(QSettings &settings)
{
    const QByteArray path = writtenPath(settings.fileName());
    const QByteArray kept = path + ".kept";
    bool earlier = false;
    bool keeping = false;
    {
        // Where the lock cannot be taken, QSettings cannot write either.
        QLockFile lock(writerLockName(settings.fileName()));
        lock.lock();
        ::unlink(kept.constData());
        // A second name keeps the earlier file when the new one takes its name; without
        // one, a file written in part is still said.
        earlier = QFileInfo::exists(QFile::decodeName(path));
        keeping = earlier && (::link(path.constData(), kept.constData()) == 0 ||
                              QFile::copy(QFile::decodeName(path), QFile::decodeName(kept)));
    }
    settings.sync();
    QLockFile lock(writerLockName(settings.fileName()));
    lock.lock();
    if (settings.status() == QSettings::NoError && readsBack(settings)) {
        ::unlink(kept.constData());
        return true;
    }
    if (settings.status() != QSettings::NoError) // nothing was committed
        ::unlink(kept.constData());
    else if (keeping)
        std::rename(kept.constData(), path.constData());
    else if (!earlier)
        ::unlink(path.constData());
    return false;
}

bool putBackUnconfirmed(const QString &fileName)
{
    const QByteArray path = writtenPath(fileName);
    const QByteArray kept = path + ".kept";
    const QFileInfo keptFile(QFile::decodeName(kept));
    if (!keptFile.isFile() || keptFile.isSymLink())
        return true;
    // A writer that holds the lock is between keeping the earlier file and
    // confirming the new one, and drops or puts back what it kept itself.
    QLockFile lock(writerLockName(fileName));
    if (!lock.tryLock(0)) {
        qWarning() << "settings being written by another instance; its earlier file stays aside:"
                   << keptFile.filePath();
        return true;
    }
    if (!QFile::exists(keptFile.filePath())) // settled while the lock was tried
        return true;
    QFile file(keptFile.filePath());
    if (!file.open(QIODevice::ReadOnly) || !holdsSettings(file.readAll())) {
        qWarning() << "not put back, no settings in" << keptFile.filePath();
        return false;
    }
    file.close();
    if (std::rename(kept.constData(), path.constData()) == 0)
        return true;
    qWarning() << "failed to put the earlier settings back from" << keptFile.filePath();
    return false;
}
