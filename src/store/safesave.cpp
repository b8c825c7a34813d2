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

// The lock a write of fileName holds from keeping the earlier file until it is
// confirmed or put back: "<fileName>.keeping", a QLockFile, which no other process
// (nor another QLockFile of this one) takes meanwhile. The put-back at start tries
// it, so that a start never puts an earlier file back over a write under way, and
// two writers never take each other's earlier file. (QSettings locks
// "<fileName>.lock" for its own write, which must stay free during sync().)
QString writerLockName(const QString &fileName)
{
    return fileName + QStringLiteral(".keeping");
}

// What a kept file holds: no settings at all (empty, zeros), a whole file of
// settings, or something else that reads as keys.
enum class KeptSettings { None, Whole, Foreign };

// A whole file of settings reads without error and holds every required key. Any
// text with a "key=" line reads as settings: a stray file, or one cut short.
KeptSettings readKept(const QByteArray &bytes, const QStringList &requiredKeys)
{
    QTemporaryFile copy;
    if (bytes.isEmpty() || !copy.open() || copy.write(bytes) != bytes.size() || !copy.flush())
        return KeptSettings::None;
    const QSettings read(copy.fileName(), QSettings::IniFormat);
    // The file is read at the first look-up: only then does the status tell of errors.
    const QStringList keys = read.allKeys();
    if (keys.isEmpty())
        return KeptSettings::None;
    if (read.status() != QSettings::NoError)
        return KeptSettings::Foreign;
    for (const QString &key : requiredKeys) {
        if (!keys.contains(key))
            return KeptSettings::Foreign;
    }
    return KeptSettings::Whole;
}

// Moves kept out of the way, to the first free name of "<kept>.bad", "<kept>.bad1",
// …, where no write drops it. Answers that name, empty when it was not moved.
QString setAside(const QString &kept)
{
    for (int i = 0; i < 1000; ++i) {
        const QString name = kept + QStringLiteral(".bad") + (i > 0 ? QString::number(i) : QString());
        const QFileInfo taken(name);
        if (!taken.exists() && !taken.isSymLink())
            return QFile::rename(kept, name) ? name : QString();
    }
    return QString();
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
    // Where the lock cannot be made, QSettings cannot write the file either.
    QLockFile lock(writerLockName(settings.fileName()));
    lock.lock();
    ::unlink(kept.constData());
    // A second name keeps the earlier file when the new one takes its name; without
    // one, a file written in part is still said.
    const bool earlier = QFileInfo::exists(QFile::decodeName(path));
    const bool keeping = earlier && (::link(path.constData(), kept.constData()) == 0 ||
                                     QFile::copy(QFile::decodeName(path), QFile::decodeName(kept)));
    settings.sync();
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

bool putBackUnconfirmed(const QString &fileName, const QStringList &requiredKeys)
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
    const KeptSettings found =
        file.open(QIODevice::ReadOnly) ? readKept(file.readAll(), requiredKeys) : KeptSettings::None;
    file.close();
    if (found == KeptSettings::None) {
        qWarning() << "not put back, no settings in" << keptFile.filePath();
        return false;
    }
    if (found == KeptSettings::Foreign) {
        qWarning() << "not put back, no whole settings file:" << keptFile.filePath() << "set aside as"
                   << setAside(keptFile.filePath());
        return false;
    }
    if (std::rename(kept.constData(), path.constData()) == 0)
        return true;
    qWarning() << "failed to put the earlier settings back from" << keptFile.filePath();
    return false;
}
