#pragma once

// Zip archives of project folders. The zip format itself is KArchive's KZip;
// this class only decides what goes in and where it comes out, and it refuses
// archives whose entries could write outside the folder they are unpacked into.

#include <QList>
#include <QString>
#include <QStringList>

class ZipArchive
{
public:
    // One entry as the archive's central directory names it.
    struct Entry
    {
        QString name;           // the stored name, exactly as written in the archive
        bool isDir = false;     // name ends with "/" or the entry carries a directory mode
        bool isSymLink = false; // the entry carries a symbolic-link mode
    };

    // Packs the tree below folder dir into a new zip file zipPath: every entry is
    // named relative to dir, folders included, so a folder "Home" inside dir is
    // stored as "Home/". Symbolic links are not stored. An existing zipPath is
    // replaced. Answers whether the archive was written completely.
    static bool compressDir(const QString &zipPath, const QString &dir);

    // Reads the entries of zipPath from its central directory, in stored order.
    // Answers false, with entries empty, when the file is missing or not a zip
    // archive that can be read.
    static bool listEntries(const QString &zipPath, QList<Entry> &entries);

    // The names of every entry of zipPath, in stored order; empty when the file
    // cannot be read.
    static QStringList entryNames(const QString &zipPath);

    // Whether one entry may be unpacked: a relative name (no leading "/" or "\",
    // no drive letter), no ".." or "." part, no NUL, not a link.
    static bool isSafeEntry(const Entry &entry);

    // Unpacks the whole of zipPath into the existing folder dir. The archive is
    // listed first and refused whole, with nothing written, when it cannot be read
    // or any entry is unsafe (see isSafeEntry). On success, files (when not null)
    // gets the paths of the files written. Answers whether everything was written;
    // after a failure part of the archive may already be in dir.
    static bool extractDir(const QString &zipPath, const QString &dir, QStringList *files = nullptr);
};
