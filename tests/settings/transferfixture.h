#pragma once

// Shared by the transfer tests: project folders with a database and a picture,
// archives of such folders, the listing of an archive by `unzip -l`, and the
// project list and folders of an application folder as one comparable text.

#include "dbrows.h"
#include "store/globals.h"
#include "store/projectlist.h"
#include "store/ziparchive.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>
#include <QTemporaryDir>
#include <QVariant>

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

// An SQLite database whose one row holds value; empty when it cannot be made.
inline QByteArray sqliteBytes(const QVariant &value)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("made.db3"));
    bool ok = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), path);
        db.setDatabaseName(path);
        ok = db.open();
        QSqlQuery query(db);
        ok = ok && query.exec(QStringLiteral("create table t(v)"))
             && query.prepare(QStringLiteral("insert into t values(?)"));
        query.addBindValue(value);
        ok = ok && query.exec();
    }
    QSqlDatabase::removeDatabase(path);
    return ok ? readFile(path) : QByteArray();
}


// The schema and every table's rows: equal for a database and a copy SQLite made of it.
inline QStringList dbContent(const QString &path)
{
    QStringList all = dbRows(path, QStringLiteral("select sql from sqlite_master order by name"));
    for (const QString &table : dbRows(path, "select name from sqlite_master where type = 'table'"))
        all += dbRows(path, "select '" + table + "', * from \"" + table + "\" order by rowid");
    return all;
}

// A project's database, a real one whose row reads "<SQLite stand-in of NAME TAG>".
inline QByteArray dbBytes(const QString &name, const QByteArray &tag = "local")
{
    return sqliteBytes("<SQLite stand-in of " + name.toUtf8() + " " + tag + ">");
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

// "listed NAME" for every listed project, and "entry NAME" for every entry of the database
// folder, with " db=" and the stand-in's text of the database it holds (or "real"), sorted.
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
        const int from = db.indexOf("<SQLite stand-in of "), to = db.indexOf('>', from);
        QString tail;
        if (db.startsWith("SQLite format 3") && from >= 0 && to > from)
            tail = QStringLiteral(" db=") + QString::fromUtf8(db.mid(from + 1, to - from - 1));
        else if (!db.isEmpty())
            tail = QStringLiteral(" db=real");
        state.append(QStringLiteral("entry ") + entry + tail);
    }
    state.sort();
    return state;
}

} // namespace transfertest
