#pragma once

// Shared by the transfer tests: project folders with a database and a picture,
// archives of such folders, the listing of an archive by `unzip -l`, and the
// project list and folders of an application folder as one comparable text.

#include "store/globals.h"
#include "store/projectlist.h"
#include "store/ziparchive.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStringList>
#include <QTemporaryDir>

namespace transfertest {

inline bool writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

inline QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The bytes a project's database file holds in these tests.
inline QByteArray dbBytes(const QString &name, const QByteArray &tag = "local")
{
    return "SQLite stand-in of " + name.toUtf8() + " " + tag;
}

// A project folder "<root>/<name>" with "<name>.db3" and a picture.
inline bool makeProjectFolder(const QString &root, const QString &name, const QByteArray &tag = "local")
{
    return writeFile(root + '/' + name + '/' + name + ".db3", dbBytes(name, tag)) &&
           writeFile(root + '/' + name + "/photo_3dView_1.png", "png of " + name.toUtf8());
}

// A listed project of the application folder, with its folder.
inline bool addListedProject(const QString &name)
{
    addProject(name);
    return makeProjectFolder(databaseFolder(), name);
}

// An archive of project folders made in a staging folder; empty on failure.
inline QString makeArchive(const QString &zipPath, const QStringList &names, const QByteArray &tag)
{
    QTemporaryDir staging;
    for (const QString &name : names) {
        if (!makeProjectFolder(staging.path(), name, tag))
            return QString();
    }
    return ZipArchive::compressDir(zipPath, staging.path()) ? zipPath : QString();
}

// The entry names `unzip -l` prints for an archive, in its order.
inline QStringList unzipList(const QByteArray &archive)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("listed.zip"));
    if (!writeFile(path, archive))
        return {QStringLiteral("<cannot write>")};
    QProcess unzip;
    unzip.start(QStringLiteral("unzip"), {QStringLiteral("-l"), path});
    if (!unzip.waitForFinished(10000) || unzip.exitCode() != 0)
        return {QStringLiteral("<unzip failed>") + QString::fromLocal8Bit(unzip.readAll())};
    QStringList names;
    static const QRegularExpression row(QStringLiteral("^\\s*\\d+\\s+\\S+\\s+\\S+\\s+(.+)$"));
    for (const QString &line : QString::fromUtf8(unzip.readAllStandardOutput()).split('\n')) {
        const QRegularExpressionMatch match = row.match(line);
        if (match.hasMatch())
            names.append(match.captured(1).trimmed());
    }
    return names;
}

// The top-level folders of an archive listing.
inline QStringList topFolders(const QStringList &names)
{
    QStringList folders;
    for (const QString &name : names) {
        const QString top = name.section('/', 0, 0);
        if (!folders.contains(top))
            folders.append(top);
    }
    return folders;
}

// "name:db-bytes-tag" for every listed project whose folder holds its database,
// plus every other entry of the database folder, sorted.
inline QStringList projectState()
{
    QStringList state;
    QStringList listed;
    getProjectList(listed);
    for (const QString &name : listed)
        state.append(QStringLiteral("listed ") + name);
    const QStringList entries = QDir(databaseFolder()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    for (const QString &entry : entries) {
        const QByteArray db = readFile(databaseFolder() + '/' + entry + '/' + entry + ".db3");
        QString tail;
        if (db.startsWith("SQLite stand-in"))
            tail = QStringLiteral(" db=") + QString::fromUtf8(db);
        else if (!db.isEmpty())
            tail = QStringLiteral(" db=real");
        state.append(QStringLiteral("entry ") + entry + tail);
    }
    state.sort();
    return state;
}

} // namespace transfertest
