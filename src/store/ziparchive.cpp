#include "ziparchive.h"

#include "store/backgroundwork.h"

#include <zip.h>
#include <zlib.h>

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <QStorageInfo>

#include <algorithm>
#include <limits>
#include <memory>

#include <unistd.h>

namespace {

constexpr quint32 kEndOfCentralDir = 0x06054b50;
constexpr quint32 kZip64EndLocator = 0x07064b50;
constexpr quint32 kZip64EndOfCentralDir = 0x06064b50;
constexpr int kEndRecordSize = 22;
constexpr int kZip64LocatorSize = 20;
constexpr int kZip64RecordSize = 56;
constexpr int kCentralRecordSize = 46;
constexpr int kLocalHeaderSize = 30;
constexpr quint32 kCentralRecord = 0x02014b50;
constexpr quint32 kLocalHeader = 0x04034b50;
// libzip reads this much of the file's end, room for an end record, a comment one
// byte longer than a record can state and a Zip64 locator, and looks for end records
// in all but its first 20 bytes: one 65,558 bytes from the end is read. All of it is
// searched here; a record that libzip would not reach can only make for a refusal.
constexpr int kSearchedTail = kEndRecordSize + 0x10000 + kZip64LocatorSize;
// What the central directory may take per entry on average: a record with a long
// name and its extra fields. A directory larger than that for MaxEntries entries
// is refused before it is read.
constexpr quint64 kDirBytesPerEntry = 1024;

constexpr quint32 kModeTypeMask = 0170000;
constexpr quint32 kModeSymLink = 0120000;
constexpr quint32 kModeDir = 0040000;
constexpr quint32 kDosDirAttribute = 0x10;

quint16 le16(const QByteArray &b, qint64 at)
{
    const auto *p = reinterpret_cast<const uchar *>(b.constData() + at);
    return static_cast<quint16>(p[0] | (p[1] << 8));
}

quint32 le32(const QByteArray &b, qint64 at)
{
    return static_cast<quint32>(le16(b, at)) | (static_cast<quint32>(le16(b, at + 2)) << 16);
}

quint64 le64(const QByteArray &b, qint64 at)
{
    return static_cast<quint64>(le32(b, at)) | (static_cast<quint64>(le32(b, at + 4)) << 32);
}

// Reads length bytes at offset; empty when the range lies outside the file.
QByteArray readAt(QFile &file, qint64 offset, qint64 length)
{
    if (offset < 0 || length < 0 || offset + length > file.size() || !file.seek(offset))
        return QByteArray();
    const QByteArray data = file.read(length);
    return data.size() == length ? data : QByteArray();
}

// Where the central directory lies and how many records it holds, as an end record
// (or the Zip64 record its locator names) states them.
struct DirectoryEnd
{
    quint64 count = 0;
    quint64 offset = 0;
    quint64 size = 0;
};

bool isBoundedDirectory(const DirectoryEnd &end)
{
    return end.count <= static_cast<quint64>(ZipArchive::MaxEntries) &&
           end.size <= ZipArchive::MaxEntries * kDirBytesPerEntry;
}

// libzip looks for end records in the file's last 64 KiB (see kSearchedTail) and reads
// the directory of every one it can read; given two, it weighs them against each
// other by reading every local header of both. So the file must hold exactly one end
// record that libzip can read: its directory lies before it and starts with a
// central record (or it states no entries), and its comment ends at or before the
// file's end. The 4 bytes of the signature alone, inside an entry's data say, are no
// such record, nor is the end record of a zip file stored as the last entry, whose
// directory lies elsewhere. libzip makes room for the stated count of entries as
// soon as it has found the directory, so every record it gets that far with is
// weighed against MaxEntries entries first. What opening then costs is bounded by
// the directory this finds: libzip reads nothing else until an entry is read.
bool findOneBoundedDirectory(QFile &file, DirectoryEnd &found)
{
    const qint64 fileSize = file.size();
    if (fileSize < kEndRecordSize)
        return false;
    const qint64 tailStart = qMax<qint64>(0, fileSize - kSearchedTail);
    const QByteArray tail = readAt(file, tailStart, fileSize - tailStart);
    int readable = 0;
    for (qint64 i = 0; i + kEndRecordSize <= tail.size(); ++i) {
        if (le32(tail, i) != kEndOfCentralDir)
            continue;
        const auto at = static_cast<quint64>(tailStart + i);
        DirectoryEnd stated{le16(tail, i + 10), le32(tail, i + 16), le32(tail, i + 12)};
        // With a locator before it, the directory is the Zip64 record's; the end
        // record's own figures may then be placeholders.
        const QByteArray locator = readAt(file, tailStart + i - kZip64LocatorSize, kZip64LocatorSize);
        if (!locator.isEmpty() && le32(locator, 0) == kZip64EndLocator) {
            const quint64 recordAt = le64(locator, 8);
            const QByteArray record = recordAt > quint64(fileSize)
                                          ? QByteArray()
                                          : readAt(file, static_cast<qint64>(recordAt), kZip64RecordSize);
            if (record.isEmpty() || le32(record, 0) != kZip64EndOfCentralDir)
                continue;
            stated = {le64(record, 32), le64(record, 48), le64(record, 40)};
        } else if (le32(tail, i + 4) != 0 || le16(tail, i + 8) != le16(tail, i + 10)) {
            continue; // a record of a multi-part archive, which libzip does not read
        }
        if (stated.offset + stated.size < stated.offset || stated.offset + stated.size > at)
            continue;
        if (!isBoundedDirectory(stated))
            return false;
        if (le16(tail, i + 20) > quint64(fileSize) - at - kEndRecordSize)
            continue;
        if (stated.count > 0) {
            const QByteArray first = readAt(file, static_cast<qint64>(stated.offset), 4);
            if (first.isEmpty() || le32(first, 0) != kCentralRecord)
                continue;
        }
        if (++readable > 1)
            return false;
        found = stated;
    }
    return readable == 1;
}

// The value of the extra field with id among the fields, empty when there is none.
QByteArray extraField(const QByteArray &fields, quint16 id)
{
    for (qint64 at = 0; at + 4 <= fields.size(); at += 4 + le16(fields, at + 2)) {
        if (le16(fields, at) == id)
            return fields.mid(static_cast<int>(at + 4), le16(fields, at + 2));
    }
    return QByteArray();
}

// One central record as read here: what libzip must list at its index, and where
// the entry's local header starts.
struct CentralRecord
{
    // The name as libzip keeps it: the stored bytes, or the UTF-8 name of an Info-ZIP
    // Unicode path field (version 1) whose checksum is that of the stored bytes.
    QByteArray name;
    quint32 crc = 0;
    quint64 packed = 0;
    quint64 size = 0;
    quint64 offset = 0;
};

// Reads the stated count of records of the directory, in the order libzip reads
// them, with the figures of its Zip64 field where a record holds placeholders.
// Answers false unless those records fill the directory exactly. libzip asks the
// same, but reads records past a stated count that Info-ZIP let wrap at 65,536:
// 0 entries stated over megabytes of records would have it parse every one.
bool readDirectory(QFile &file, const DirectoryEnd &end, QList<CentralRecord> &records)
{
    constexpr quint32 kPlaceholder = 0xFFFFFFFF;
    constexpr quint16 kUnicodePath = 0x7075;
    if (end.count == 0) // no records fill no bytes: nothing to read
        return end.size == 0;
    const QByteArray dir = readAt(file, static_cast<qint64>(end.offset), static_cast<qint64>(end.size));
    if (quint64(dir.size()) != end.size)
        return false;
    qint64 at = 0;
    for (quint64 i = 0; i < end.count; ++i) {
        if (at + kCentralRecordSize > dir.size() || le32(dir, at) != kCentralRecord)
            return false;
        const quint16 nameSize = le16(dir, at + 28);
        const quint16 extraSize = le16(dir, at + 30);
        const qint64 next = at + kCentralRecordSize + nameSize + extraSize + le16(dir, at + 32);
        if (next > dir.size())
            return false;
        CentralRecord record;
        record.name = dir.mid(static_cast<int>(at + kCentralRecordSize), nameSize);
        record.crc = le32(dir, at + 16);
        record.size = le32(dir, at + 24);
        record.packed = le32(dir, at + 20);
        record.offset = le32(dir, at + 42);
        const QByteArray extra = dir.mid(static_cast<int>(at + kCentralRecordSize + nameSize), extraSize);
        if (record.size == kPlaceholder || record.packed == kPlaceholder || record.offset == kPlaceholder) {
            // The Zip64 field holds, in this order, those of the three that are placeholders.
            const QByteArray zip64 = extraField(extra, 1);
            const int packedAt = record.size == kPlaceholder ? 8 : 0;
            const int offsetAt = packedAt + (record.packed == kPlaceholder ? 8 : 0);
            if (offsetAt + (record.offset == kPlaceholder ? 8 : 0) > zip64.size())
                return false;
            if (record.size == kPlaceholder)
                record.size = le64(zip64, 0);
            if (record.packed == kPlaceholder)
                record.packed = le64(zip64, packedAt);
            if (record.offset == kPlaceholder)
                record.offset = le64(zip64, offsetAt);
        }
        const QByteArray unicode = extraField(extra, kUnicodePath);
        const auto *name = reinterpret_cast<const Bytef *>(record.name.constData());
        if (unicode.size() >= 5 && unicode.at(0) == 1 &&
            le32(unicode, 1) == crc32(0, name, uInt(record.name.size())))
            record.name = unicode.mid(5);
        records.append(record);
        at = next;
    }
    return at == dir.size();
}

QString errorText(int code)
{
    zip_error_t error;
    zip_error_init_with_code(&error, code);
    const QString text = QString::fromLocal8Bit(zip_error_strerror(&error));
    zip_error_fini(&error);
    return text;
}

struct ZipCloser
{
    void operator()(zip_t *zip) const { zip_discard(zip); }
};
using ZipHandle = std::unique_ptr<zip_t, ZipCloser>;

struct ZipFileCloser
{
    void operator()(zip_file_t *file) const { zip_fclose(file); }
};

// Where the entry of record starts and ends in the file (see ZipArchive::Entry), by
// the fixed part of its local header; false when there is no local header there.
bool readSpan(QFile &file, const CentralRecord &record, ZipArchive::Entry &entry)
{
    const QByteArray header = record.offset > quint64(file.size())
                                  ? QByteArray()
                                  : readAt(file, static_cast<qint64>(record.offset), kLocalHeaderSize);
    if (header.isEmpty() || le32(header, 0) != kLocalHeader)
        return false;
    entry.offset = record.offset;
    const quint64 fields = quint64(kLocalHeaderSize) + le16(header, 26) + le16(header, 28);
    if (__builtin_add_overflow(record.offset, fields, &entry.end) ||
        __builtin_add_overflow(entry.end, record.packed, &entry.end))
        entry.end = std::numeric_limits<quint64>::max();
    return true;
}

// Whether libzip lists at index what record says, names compared as stored.
bool listsRecord(zip_t *zip, zip_uint64_t index, const CentralRecord &record)
{
    constexpr zip_uint64_t kWanted = ZIP_STAT_NAME | ZIP_STAT_SIZE | ZIP_STAT_COMP_SIZE | ZIP_STAT_CRC;
    zip_stat_t st;
    zip_stat_init(&st);
    return zip_stat_index(zip, index, ZIP_FL_ENC_RAW, &st) == 0 && (st.valid & kWanted) == kWanted &&
           QByteArray(st.name) == record.name && st.size == record.size && st.comp_size == record.packed &&
           st.crc == record.crc;
}

// Opens zipPath for reading and lists it by its central directory. libzip reads
// only that directory here, and later each entry from where its record says, no
// further than the record's sizes, with its checksum checked. The directory it
// read must be the one weighed here, record for record, and every entry must
// start with a local header, whose fixed part is read for the entry's span.
ZipHandle openListed(const QString &zipPath, QList<ZipArchive::Entry> &entries)
{
    entries.clear();
    QFile file(zipPath);
    // Unbuffered: the few bytes of each local header are read alone.
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return nullptr;
    DirectoryEnd end;
    if (!findOneBoundedDirectory(file, end)) {
        qDebug() << "zip: refusing" << zipPath << "stating no central directory, two, or more than"
                 << ZipArchive::MaxEntries << "entries";
        return nullptr;
    }
    // Read here first: libzip parses only a directory that holds its records exactly.
    QList<CentralRecord> records;
    if (!readDirectory(file, end, records)) {
        qDebug() << "zip: refusing" << zipPath << "whose directory is not filled by its stated records";
        return nullptr;
    }
    // The file that was weighed, not whatever bears its name by now. libzip closes
    // the copied descriptor with the archive, but leaves it open when it fails.
    const int fd = dup(file.handle());
    if (fd < 0)
        return nullptr;
    int error = 0;
    ZipHandle zip(zip_fdopen(fd, ZIP_RDONLY, &error));
    if (!zip) {
        close(fd);
        qDebug() << "zip: cannot read" << zipPath << errorText(error);
        return nullptr;
    }
    if (zip_get_num_entries(zip.get(), 0) != static_cast<zip_int64_t>(end.count)) {
        qDebug() << "zip: refusing" << zipPath << "whose directory libzip reads otherwise";
        return nullptr;
    }
    QList<ZipArchive::Entry> found;
    for (int i = 0; i < records.size(); ++i) {
        const auto index = static_cast<zip_uint64_t>(i);
        const CentralRecord &record = records.at(i);
        ZipArchive::Entry entry;
        if (!listsRecord(zip.get(), index, record)) {
            qDebug() << "zip: refusing" << zipPath << "whose directory libzip reads otherwise at" << i;
            return nullptr;
        }
        if (!readSpan(file, record, entry)) {
            qDebug() << "zip: refusing" << zipPath << "without a local header at entry" << i;
            return nullptr;
        }
        const char *name = zip_get_name(zip.get(), index, 0);
        zip_uint8_t system = 0;
        zip_uint32_t external = 0;
        if (!name || zip_file_get_external_attributes(zip.get(), index, 0, &system, &external) != 0)
            return nullptr;
        entry.name = QString::fromUtf8(name);
        entry.size = record.size;
        const quint32 mode = external >> 16;
        entry.isSymLink = (mode & kModeTypeMask) == kModeSymLink;
        entry.isDir = entry.name.endsWith(QLatin1Char('/')) || (mode & kModeTypeMask) == kModeDir ||
                      (!entry.isSymLink && mode == 0 && (external & kDosDirAttribute));
        found.append(entry);
    }
    entries = found;
    return zip;
}

// How many folders unpacking the entries makes: those named and every folder above
// a name, each once. Counting stops past MaxEntries, so that a few deep names cannot
// make the count itself costly.
int folderCount(const QList<ZipArchive::Entry> &entries)
{
    QSet<QStringView> folders;
    for (const ZipArchive::Entry &entry : entries) {
        QStringView path(entry.name);
        if (path.endsWith(QLatin1Char('/')))
            path.chop(1);
        if (!entry.isDir)
            path = path.left(qMax<qsizetype>(0, path.lastIndexOf(QLatin1Char('/'))));
        while (!path.isEmpty() && !folders.contains(path)) {
            folders.insert(path);
            if (folders.size() > ZipArchive::MaxEntries)
                return folders.size();
            path = path.left(qMax<qsizetype>(0, path.lastIndexOf(QLatin1Char('/'))));
        }
    }
    return folders.size();
}

// Whether two entries would unpack onto one path: a file listed twice would leave
// only its last copy, so such an archive is not unpacked at all.
bool hasRepeatedPaths(const QList<ZipArchive::Entry> &entries)
{
    QSet<QString> paths;
    for (const ZipArchive::Entry &entry : entries) {
        QString path = entry.name;
        while (path.endsWith(QLatin1Char('/')))
            path.chop(1);
        if (paths.contains(path))
            return true;
        paths.insert(path);
    }
    return false;
}

// Whether two entries take the same bytes, from their local header to the end of
// their data: a small archive could otherwise name one large entry many times over.
bool hasOverlappingEntries(QList<ZipArchive::Entry> entries)
{
    std::sort(entries.begin(), entries.end(),
              [](const ZipArchive::Entry &a, const ZipArchive::Entry &b) { return a.offset < b.offset; });
    for (int i = 1; i < entries.size(); ++i) {
        if (entries.at(i - 1).end > entries.at(i).offset)
            return true;
    }
    return false;
}

// What one unpacking has written so far, so that a failure can take it back, and
// how many more bytes the archive's stated sizes allow.
struct Unpacking
{
    QString target;
    QStringList files;
    QStringList dirs;
    QSet<QString> sound; // folders made or found to be plain folders
    quint64 budget = 0;

    void undo() const
    {
        for (const QString &path : files)
            QFile::remove(path);
        for (auto it = dirs.crbegin(); it != dirs.crend(); ++it)
            QDir().rmdir(*it);
    }

    // Makes the folder relative below target, and every folder above it, unless
    // they stand already; never through a link.
    bool makeFolder(const QString &relative)
    {
        QString path = target;
        for (const QString &part : relative.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
            path += QLatin1Char('/') + part;
            if (sound.contains(path))
                continue;
            const QFileInfo info(path);
            if (info.isSymLink() || (info.exists() && !info.isDir()))
                return false;
            if (!info.exists()) {
                if (!QDir().mkdir(path))
                    return false;
                dirs.append(path);
            }
            sound.insert(path);
        }
        return true;
    }
};

// Streams one entry into path, never more than its stated size nor than the
// archive's remaining budget: an entry whose data runs on past that lies about
// its size and fails, and so does one whose data fails its checksum.
bool writeEntryFile(zip_t *zip, zip_uint64_t index, quint64 stated, const QString &path,
                    Unpacking &unpacking)
{
    if (QFileInfo(path).isSymLink()) {
        qDebug() << "zip: refusing to write through a link:" << path;
        return false;
    }
    const quint64 limit = qMin(stated, unpacking.budget);
    const std::unique_ptr<zip_file_t, ZipFileCloser> in(zip_fopen_index(zip, index, 0));
    if (!in)
        return false;
    QFile out(path);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    unpacking.files.append(path);
    QByteArray chunk(64 * 1024, Qt::Uninitialized);
    quint64 written = 0;
    for (;;) {
        // One byte past the limit is enough to tell that the entry runs on.
        const auto wanted = static_cast<zip_uint64_t>(qMin<quint64>(chunk.size(), limit - written + 1));
        const zip_int64_t got = zip_fread(in.get(), chunk.data(), wanted);
        if (got < 0) {
            qDebug() << "zip: cannot read the entry for" << path << zip_file_strerror(in.get());
            return false;
        }
        if (got == 0)
            break;
        written += static_cast<quint64>(got);
        if (written > limit) {
            qDebug() << "zip: entry runs past its stated size:" << path;
            return false;
        }
        if (out.write(chunk.constData(), got) != got)
            return false;
    }
    unpacking.budget -= written;
    return written == stated && out.flush();
}

// Whether a file of that name holds data that is compressed already (PNG, JPEG):
// deflating it again costs time and gains nothing, so it is stored as it is.
bool isCompressedAlready(const QString &name)
{
    for (const char *suffix : {".png", ".jpg", ".jpeg"}) {
        if (name.endsWith(QLatin1String(suffix), Qt::CaseInsensitive))
            return true;
    }
    return false;
}

// libzip asks this while it writes the archive: the exit's stop ends the writing.
int stopWriting(zip_t *, void *)
{
    return BackgroundWork::stopping() ? 1 : 0;
}

bool addTree(zip_t *zip, const QString &dir, const QString &prefix)
{
    const QFileInfoList list =
        QDir(dir).entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                                QDir::Name | QDir::IgnoreCase);
    for (const QFileInfo &info : list) {
        const QString name = prefix + info.fileName();
        if (BackgroundWork::stopping())
            return false;
        if (info.isSymLink())
            continue;
        if (info.isDir()) {
            const QByteArray folder = (name + QLatin1Char('/')).toUtf8();
            if (zip_dir_add(zip, folder.constData(), ZIP_FL_ENC_UTF_8) < 0 ||
                !addTree(zip, info.filePath(), name + QLatin1Char('/')))
                return false;
        } else if (info.isFile()) {
            zip_source_t *source = zip_source_file(zip, QFile::encodeName(info.filePath()).constData(), 0, 0);
            if (!source)
                return false;
            const zip_int64_t index = zip_file_add(zip, name.toUtf8().constData(), source, ZIP_FL_ENC_UTF_8);
            if (index < 0) {
                zip_source_free(source);
                return false;
            }
            if (isCompressedAlready(name) &&
                zip_set_file_compression(zip, zip_uint64_t(index), ZIP_CM_STORE, 0) != 0)
                return false;
        }
    }
    return true;
}

} // namespace

bool ZipArchive::compressDir(const QString &zipPath, const QString &dir)
{
    if (!QFileInfo(dir).isDir())
        return false;
    if (QFileInfo::exists(zipPath) && !QFile::remove(zipPath))
        return false;
    int error = 0;
    ZipHandle zip(zip_open(QFile::encodeName(zipPath).constData(), ZIP_CREATE | ZIP_EXCL, &error));
    if (!zip) {
        qDebug() << "zip: cannot create" << zipPath << errorText(error);
        return false;
    }
    // libzip writes the archive when it is closed, into a temporary file that only
    // then takes the name zipPath.
    zip_register_cancel_callback_with_state(zip.get(), stopWriting, nullptr, nullptr);
    if (!addTree(zip.get(), dir, QString()) || zip_close(zip.get()) != 0) {
        qDebug() << "zip: failed to write" << zipPath << zip_strerror(zip.get());
        return false;
    }
    (void)zip.release(); // closed above
    if (QFileInfo::exists(zipPath))
        return true;
    // libzip writes no file for an archive without entries: an empty archive is its
    // end record alone.
    QFile empty(zipPath);
    QByteArray endRecord(kEndRecordSize, '\0');
    endRecord[0] = 'P', endRecord[1] = 'K', endRecord[2] = 5, endRecord[3] = 6;
    return empty.open(QIODevice::WriteOnly) && empty.write(endRecord) == endRecord.size() &&
           empty.flush();
}

bool ZipArchive::listEntries(const QString &zipPath, QList<Entry> &entries)
{
    return openListed(zipPath, entries) != nullptr;
}

QStringList ZipArchive::entryNames(const QString &zipPath)
{
    QList<Entry> entries;
    QStringList names;
    if (listEntries(zipPath, entries)) {
        for (const Entry &entry : qAsConst(entries))
            names.append(entry.name);
    }
    return names;
}

bool ZipArchive::isSafeEntry(const Entry &entry)
{
    const QString &name = entry.name;
    if (entry.isSymLink || name.isEmpty() || name.contains(QChar(0)))
        return false;
    if (name.startsWith(QLatin1Char('/')) || name.startsWith(QLatin1Char('\\')))
        return false;
    static const QRegularExpression drive(QStringLiteral("^[A-Za-z]:"));
    if (drive.match(name).hasMatch())
        return false;
    const QStringList parts = name.split(QRegularExpression(QStringLiteral("[/\\\\]")));
    for (int i = 0; i < parts.size(); ++i) {
        const QString &part = parts.at(i);
        if (part == QLatin1String("..") || part == QLatin1String("."))
            return false;
        // Only a directory name may end with its separator.
        if (part.isEmpty() && !(i == parts.size() - 1 && i > 0))
            return false;
    }
    return true;
}

bool ZipArchive::extractDir(const QString &zipPath, const QString &dir, QStringList *files)
{
    QList<Entry> entries;
    const ZipHandle zip = openListed(zipPath, entries);
    if (!zip) {
        qDebug() << "zip: not a readable archive:" << zipPath;
        return false;
    }
    for (const Entry &entry : qAsConst(entries)) {
        if (!isSafeEntry(entry)) {
            qDebug() << "zip: refusing archive" << zipPath << "because of entry" << entry.name;
            return false;
        }
    }
    const QFileInfo target(dir);
    if (!target.isDir() || target.isSymLink())
        return false;

    // A few bytes of zeros can state gigabytes: the stated sizes are weighed
    // before anything is written.
    if (folderCount(entries) > MaxEntries) {
        qDebug() << "zip: refusing archive" << zipPath << "with more than" << MaxEntries
                 << "files or folders";
        return false;
    }
    if (hasRepeatedPaths(entries)) {
        qDebug() << "zip: refusing archive" << zipPath << "naming one path twice";
        return false;
    }
    if (hasOverlappingEntries(entries)) {
        qDebug() << "zip: refusing archive" << zipPath << "whose entries share their bytes";
        return false;
    }
    quint64 stated = 0;
    for (const Entry &entry : qAsConst(entries)) {
        if (entry.size > MaxUnpackedBytes - stated) {
            qDebug() << "zip: refusing archive" << zipPath << "stating more than" << MaxUnpackedBytes
                     << "bytes";
            return false;
        }
        stated += entry.size;
    }
    const QStorageInfo storage(target.absoluteFilePath());
    if (storage.isValid() && stated > static_cast<quint64>(qMax<qint64>(0, storage.bytesAvailable()))) {
        qDebug() << "zip: refusing archive" << zipPath << "stating" << stated << "bytes, more than"
                 << storage.bytesAvailable() << "free in" << dir;
        return false;
    }

    Unpacking unpacking;
    unpacking.target = QDir::cleanPath(target.absoluteFilePath());
    unpacking.budget = stated;
    for (int i = 0; i < entries.size(); ++i) {
        const Entry &entry = entries.at(i);
        const int cut = entry.name.lastIndexOf(QLatin1Char('/'));
        const bool written =
            !BackgroundWork::stopping() &&
            (entry.isDir ? unpacking.makeFolder(entry.name)
                         : unpacking.makeFolder(entry.name.left(qMax(0, cut))) &&
                               writeEntryFile(zip.get(), static_cast<zip_uint64_t>(i), entry.size,
                                              unpacking.target + QLatin1Char('/') + entry.name, unpacking));
        if (!written) {
            qDebug() << "zip: failed to unpack" << zipPath << "into" << dir << "at" << entry.name;
            unpacking.undo();
            return false;
        }
    }
    if (files)
        *files = unpacking.files;
    return true;
}
