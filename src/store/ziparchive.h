#pragma once

// Zip archives of project folders. The zip format itself is libzip's, which reads an
// archive by its central directory; this class only decides what goes in and where
// it comes out, and it refuses archives whose entries could write outside the folder
// they are unpacked into.

#include <QList>
#include <QString>
#include <QStringList>

class ZipArchive
{
public:
    // One entry as the archive's central directory names it.
    struct Entry
    {
        QString name;           // the stored name, as libzip decodes it (UTF-8, or CP437)
        bool isDir = false;     // name ends with "/" or the entry carries a directory mode
        bool isSymLink = false; // the entry carries a symbolic-link mode
        quint64 size = 0;       // the unpacked size the central directory states
        // The bytes the entry takes: offset is where its local header starts (as the
        // central record says), end is one past its stored data, that is offset + 30
        // + the name and extra field lengths of the local header + the compressed
        // size of the central record (at most the largest quint64). A data
        // descriptor after the data is not counted. Entries that unpack never share
        // bytes (see extractDir).
        quint64 offset = 0;
        quint64 end = 0;
    };

    // Limits of what one archive may unpack into: the largest body the transfer
    // server takes, and a count of entries no project folder comes near.
    static constexpr quint64 MaxUnpackedBytes = quint64(4) * 1024 * 1024 * 1024;
    static constexpr int MaxEntries = 10000;

    // Packs the tree below folder dir into a new zip file zipPath: every entry is
    // named relative to dir, folders included, so a folder "Home" inside dir is
    // stored as "Home/". Symbolic links are not stored. An existing zipPath is
    // replaced. Files named *.png, *.jpg or *.jpeg (any case) are stored as they are,
    // the others deflated. The work gives up once BackgroundWork::stopping() is set.
    // Answers whether the archive was written completely.
    static bool compressDir(const QString &zipPath, const QString &dir);

    // Reads the entries of zipPath from its central directory, in stored order.
    // Answers false, with entries empty, when the file is missing or not a zip
    // archive that can be read: among others when its last 65,578 bytes hold more
    // than one end record that could be read (its directory before it and starting
    // with a central record, or no entries stated), or one that states more than
    // MaxEntries entries, or a directory that its stated count of records does not
    // fill exactly (all checked before libzip reads the directory); when
    // libzip then lists other entries than that directory holds (count, stored
    // names, sizes, checksums); or when an entry does not start with a local header.
    // Of each local header only the fixed 30 bytes are read, for Entry::end.
    static bool listEntries(const QString &zipPath, QList<Entry> &entries);

    // The names of every entry of zipPath, in stored order; empty when the file
    // cannot be read.
    static QStringList entryNames(const QString &zipPath);

    // Whether one entry may be unpacked: a relative name (no leading "/" or "\",
    // no drive letter), no ".." or "." part, no NUL, not a link.
    static bool isSafeEntry(const Entry &entry);

    // Unpacks the whole of zipPath into the existing folder dir. The archive is
    // listed first and refused whole, with nothing written, when it cannot be read,
    // any entry is unsafe (see isSafeEntry), it makes more than MaxEntries files or
    // MaxEntries folders (those above the names included), or its stated sizes add
    // up to more than MaxUnpackedBytes or than the free space of dir, or two entries
    // name one path, or two entries share bytes (see Entry::end). Only the listed
    // entries are unpacked, each read from where its central record says; an entry
    // that yields more or fewer bytes than its stated size, or fails its checksum,
    // stops the work. On success, files (when not null) gets the paths of the files
    // written. Answers whether everything was written; after a failure, or a stop
    // (BackgroundWork::stopping()) between entries, whatever was written is removed again.
    static bool extractDir(const QString &zipPath, const QString &dir, QStringList *files = nullptr);
};
