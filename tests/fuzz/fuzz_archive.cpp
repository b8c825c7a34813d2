// The archive reader: a zip whose bytes are fuzzed, or a well-formed zip whose
// entries (names, kinds, contents) are fuzzed, listed and unpacked into a fresh
// folder. The target reads the zip itself (its end records, central records and
// local headers) and opens it with libzip on its own, and judges the reader by that
// reading alone:
// - a listing is refused only when libzip cannot open the file, the tail holds no
//   or several end records that can be read, the directory is over the bounds or
//   does not hold its records, libzip lists other than that directory, or an entry
//   has no local header; a listing given is that directory, entry for entry;
// - an unpacking is refused only when an entry is unsafe, named twice or below a
//   file, has a name the file system does not take, shares bytes with another by
//   its local header, the sizes exceed the budget, or an entry does not read back
//   through libzip to its stated size and checksum; an unpacking done wrote the
//   listed files and nothing else, each equal to libzip's read of its entry.
// Nothing may be written outside that folder, and no descriptor stays open.

#include "fuzzsupport.h"

#include "store/ziparchive.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QSet>
#include <QStorageInfo>
#include <QTemporaryDir>

#include <zip.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <memory>

namespace {

void put16(QByteArray &b, quint16 v)
{
    b.append(char(v & 0xFF)).append(char(v >> 8));
}

void put32(QByteArray &b, quint32 v)
{
    put16(b, quint16(v & 0xFFFF));
    put16(b, quint16(v >> 16));
}

struct ZipEntry
{
    QByteArray name;
    QByteArray data;
    quint32 mode = 0100644; // unix mode, kept in the high half of the external attributes
};

// A stored (uncompressed) zip of the entries, written byte by byte so that any
// name, however odd, reaches the reader exactly as fuzzed.
QByteArray storedZip(const QList<ZipEntry> &entries)
{
    QByteArray zip;
    QByteArray central;
    for (const ZipEntry &e : entries) {
        const quint32 offset = quint32(zip.size());
        quint32 crc32 = 0xFFFFFFFFu;
        for (char c : e.data) {
            crc32 ^= quint8(c);
            for (int k = 0; k < 8; ++k)
                crc32 = (crc32 >> 1) ^ (0xEDB88320u & (0u - (crc32 & 1u)));
        }
        crc32 ^= 0xFFFFFFFFu;
        put32(zip, 0x04034b50);
        put16(zip, 20);
        put16(zip, 0);
        put16(zip, 0); // stored
        put16(zip, 0);
        put16(zip, 0);
        put32(zip, crc32);
        put32(zip, quint32(e.data.size()));
        put32(zip, quint32(e.data.size()));
        put16(zip, quint16(e.name.size()));
        put16(zip, 0);
        zip.append(e.name).append(e.data);

        put32(central, 0x02014b50);
        put16(central, 0x031E); // made by unix
        put16(central, 20);
        put16(central, 0);
        put16(central, 0);
        put16(central, 0);
        put16(central, 0);
        put32(central, crc32);
        put32(central, quint32(e.data.size()));
        put32(central, quint32(e.data.size()));
        put16(central, quint16(e.name.size()));
        put16(central, 0);
        put16(central, 0);
        put16(central, 0);
        put16(central, 0);
        put32(central, e.mode << 16);
        put32(central, offset);
        central.append(e.name);
    }
    const quint32 centralOffset = quint32(zip.size());
    zip.append(central);
    put32(zip, 0x06054b50);
    put16(zip, 0);
    put16(zip, 0);
    put16(zip, quint16(entries.size()));
    put16(zip, quint16(entries.size()));
    put32(zip, quint32(central.size()));
    put32(zip, centralOffset);
    put16(zip, 0);
    return zip;
}

// Every path below root, to see that an unpack wrote nowhere else.
QStringList tree(const QString &root)
{
    QStringList out;
    QDirIterator it(root, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        out.append(it.next());
    out.sort();
    return out;
}

[[noreturn]] void fail(const char *what, const QString &detail = QString())
{
    fprintf(stderr, "%s %s\n", what, qPrintable(detail));
    abort();
}

int openDescriptors()
{
    return int(QDir(QStringLiteral("/proc/self/fd")).count());
}

// ---- The target's own reading of the zip format ----

constexpr quint32 kEndSignature = 0x06054b50;
constexpr quint32 kLocatorSignature = 0x07064b50;
constexpr quint32 kZip64EndSignature = 0x06064b50;
constexpr quint32 kCentralSignature = 0x02014b50;
constexpr quint32 kLocalSignature = 0x04034b50;
constexpr qint64 kEndSize = 22;
constexpr qint64 kLocatorSize = 20;
constexpr qint64 kZip64EndSize = 56;
constexpr qint64 kCentralSize = 46;
constexpr qint64 kLocalSize = 30;
constexpr quint64 kPlaceholder = 0xFFFFFFFF;
// The tail in which end records are weighed: an end record, a comment one byte
// longer than a record can state and a Zip64 locator, as libzip reads it.
constexpr qint64 kTail = kEndSize + 0x10000 + kLocatorSize;
// The directory a reader may call too large for MaxEntries entries, and one it must.
constexpr quint64 kLargeDirectory = 10 * 1000 * 1000;
constexpr quint64 kTooLargeDirectory = 10 * 1024 * 1024;

// The little-endian number of width bytes at offset at of b; callers see that it
// lies inside b.
quint64 le(const QByteArray &b, quint64 at, int width)
{
    quint64 v = 0;
    for (int k = width - 1; k >= 0; --k)
        v = v << 8 | quint8(b.at(int(at) + k));
    return v;
}

bool inside(const QByteArray &b, quint64 at, quint64 length)
{
    return at <= quint64(b.size()) && length <= quint64(b.size()) - at;
}

quint64 saturatingAdd(quint64 a, quint64 b)
{
    quint64 sum = 0;
    return __builtin_add_overflow(a, b, &sum) ? std::numeric_limits<quint64>::max() : sum;
}

quint32 crc32Of(const QByteArray &bytes)
{
    quint32 crc = 0xFFFFFFFFu;
    for (char c : bytes) {
        crc ^= quint8(c);
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

// The value of the first extra field with id, or null when there is none.
QByteArray extraField(const QByteArray &fields, quint16 id)
{
    for (quint64 at = 0; inside(fields, at, 4); at += 4 + le(fields, at + 2, 2)) {
        if (le(fields, at, 2) == id)
            return fields.mid(int(at) + 4, int(le(fields, at + 2, 2)));
    }
    return QByteArray();
}

struct Directory
{
    quint64 count = 0;
    quint64 offset = 0;
    quint64 size = 0;
};

// The end records of the tail. One can be read when it states a directory that
// lies before it, as a 32-bit record of disk 0 with equal counts or through a
// Zip64 locator whose record lies in the file; its comment fits the file; and its
// directory starts with a central record, or it states no entries.
struct EndRecords
{
    QList<Directory> readable;
    bool readableTooLarge = false;
    bool anyLarge = false; // of any record whose directory lies before it
};

EndRecords endRecords(const QByteArray &zip)
{
    EndRecords found;
    const qint64 size = zip.size();
    for (qint64 at = qMax<qint64>(0, size - kTail); at + kEndSize <= size; ++at) {
        const quint64 p = quint64(at);
        if (le(zip, p, 4) != kEndSignature)
            continue;
        Directory dir;
        if (at >= kLocatorSize && le(zip, p - kLocatorSize, 4) == kLocatorSignature) {
            const quint64 record = le(zip, p - kLocatorSize + 8, 8);
            if (!inside(zip, record, kZip64EndSize) || le(zip, record, 4) != kZip64EndSignature)
                continue;
            dir = {le(zip, record + 32, 8), le(zip, record + 48, 8), le(zip, record + 40, 8)};
        } else {
            if (le(zip, p + 4, 4) != 0 || le(zip, p + 8, 2) != le(zip, p + 10, 2))
                continue;
            dir = {le(zip, p + 10, 2), le(zip, p + 16, 4), le(zip, p + 12, 4)};
        }
        if (saturatingAdd(dir.offset, dir.size) > p)
            continue;
        const bool entries = dir.count > quint64(ZipArchive::MaxEntries);
        found.anyLarge = found.anyLarge || entries || dir.size > kLargeDirectory;
        if (p + kEndSize + le(zip, p + 20, 2) > quint64(size))
            continue;
        if (dir.count > 0 && (!inside(zip, dir.offset, 4) || le(zip, dir.offset, 4) != kCentralSignature))
            continue;
        found.readable.append(dir);
        found.readableTooLarge = found.readableTooLarge || entries || dir.size > kTooLargeDirectory;
    }
    return found;
}

// One central record, and the local header it points at.
struct Record
{
    QByteArray stored;        // the name as stored
    QByteArray name;          // the name as libzip keeps it (see unicodeName)
    bool unicodeField = false; // an Info-ZIP Unicode path field names the stored name
    quint16 flags = 0;
    quint32 crc = 0;
    quint32 external = 0;
    quint64 packed = 0;
    quint64 size = 0;
    quint64 offset = 0;
    bool isDir = false;
    bool isLink = false;
    bool hasLocal = false; // a local header starts at offset
    quint64 end = 0;       // one past its data, by the local header's name and extra lengths
};

// How libzip takes the bytes of a name without the UTF-8 flag: printable ASCII
// (with tab, CR and LF) or well-formed UTF-8 lead and continuation bytes as they
// are, anything else as CP437.
bool readAsCp437(const QByteArray &name)
{
    for (int i = 0; i < name.size(); ++i) {
        const quint8 b = quint8(name.at(i));
        if ((b > 31 && b < 128) || b == '\r' || b == '\n' || b == '\t')
            continue;
        const int follow = (b & 0xE0) == 0xC0 ? 1 : (b & 0xF0) == 0xE0 ? 2 : (b & 0xF8) == 0xF0 ? 3 : -1;
        if (follow < 0 || i + follow >= name.size())
            return true;
        for (int k = 1; k <= follow; ++k) {
            if ((quint8(name.at(i + k)) & 0xC0) != 0x80)
                return true;
        }
        i += follow;
    }
    return false;
}

// libzip names an entry by the UTF-8 name of a Unicode path field (version 1)
// whose checksum is that of the stored name, when that name reads as UTF-8.
void unicodeName(Record &r, const QByteArray &extra)
{
    const QByteArray field = extraField(extra, 0x7075);
    r.name = r.stored;
    if (field.size() < 5 || field.at(0) != 1 || le(field, 1, 4) != crc32Of(r.stored))
        return;
    r.unicodeField = true;
    const QByteArray utf8 = field.mid(5);
    if (!readAsCp437(utf8) && !utf8.contains('\0'))
        r.name = utf8;
}

// Reads the stated count of central records of dir, and the fixed part of each
// local header. False when the records do not fit the directory.
bool readRecords(const QByteArray &zip, const Directory &dir, QList<Record> &records)
{
    const QByteArray d = zip.mid(int(dir.offset), int(dir.size));
    quint64 at = 0;
    for (quint64 i = 0; i < dir.count; ++i) {
        if (!inside(d, at, kCentralSize) || le(d, at, 4) != kCentralSignature)
            return false;
        const quint64 nameSize = le(d, at + 28, 2);
        const quint64 extraSize = le(d, at + 30, 2);
        const quint64 next = at + kCentralSize + nameSize + extraSize + le(d, at + 32, 2);
        if (next > quint64(d.size()))
            return false;
        Record r;
        r.flags = quint16(le(d, at + 8, 2));
        r.crc = quint32(le(d, at + 16, 4));
        r.packed = le(d, at + 20, 4);
        r.size = le(d, at + 24, 4);
        r.external = quint32(le(d, at + 38, 4));
        r.offset = le(d, at + 42, 4);
        r.stored = d.mid(int(at + kCentralSize), int(nameSize));
        const QByteArray extra = d.mid(int(at + kCentralSize + nameSize), int(extraSize));
        if (r.size == kPlaceholder || r.packed == kPlaceholder || r.offset == kPlaceholder) {
            // The Zip64 field holds those of the three that are placeholders, in this order.
            const QByteArray zip64 = extraField(extra, 1);
            int k = 0;
            for (quint64 *value : {&r.size, &r.packed, &r.offset}) {
                if (*value != kPlaceholder)
                    continue;
                if (k + 8 > zip64.size())
                    return false;
                *value = le(zip64, quint64(k), 8);
                k += 8;
            }
        }
        unicodeName(r, extra);
        const quint32 mode = r.external >> 16;
        r.isLink = (mode & 0170000) == 0120000;
        r.isDir = r.name.endsWith('/') || (mode & 0170000) == 0040000 ||
                  (!r.isLink && mode == 0 && (r.external & 0x10));
        r.hasLocal = inside(zip, r.offset, kLocalSize) && le(zip, r.offset, 4) == kLocalSignature;
        if (r.hasLocal)
            r.end = saturatingAdd(
                r.offset + kLocalSize + le(zip, r.offset + 26, 2) + le(zip, r.offset + 28, 2), r.packed);
        records.append(r);
        at = next;
    }
    return true;
}

// The listed name, as libzip gives it decoded, of the name kept: UTF-8 as it is,
// or each CP437 byte as one character (ASCII kept, every other byte outside ASCII).
bool sameName(const QString &listed, const Record &r)
{
    const QByteArray name = r.name.contains('\0') ? r.name.left(r.name.indexOf('\0')) : r.name;
    if (r.name != r.stored || (r.flags & 0x800) || !readAsCp437(r.name))
        return listed == QString::fromUtf8(name);
    if (listed.size() != name.size())
        return false;
    for (int i = 0; i < name.size(); ++i) {
        const quint8 b = quint8(name.at(i));
        if (b >= 0x20 && b < 0x7F ? listed.at(i) != QLatin1Char(char(b)) : listed.at(i).unicode() < 0x80)
            return false;
    }
    return true;
}

// Why an entry may not be unpacked by its own bytes, or empty.
QString unsafeName(const Record &r)
{
    const QByteArray &n = r.name;
    if (r.isLink)
        return QStringLiteral("a link");
    if (n.isEmpty() || n.contains('\0') || n.startsWith('/') || n.startsWith('\\'))
        return QStringLiteral("an empty, absolute or NUL name");
    if (n.size() >= 2 && ((n.at(0) >= 'A' && n.at(0) <= 'Z') || (n.at(0) >= 'a' && n.at(0) <= 'z')) &&
        n.at(1) == ':')
        return QStringLiteral("a drive letter");
    QByteArray unified = n;
    const QList<QByteArray> parts = unified.replace('\\', '/').split('/');
    for (int i = 0; i < parts.size(); ++i) {
        if (parts.at(i) == "." || parts.at(i) == "..")
            return QStringLiteral("a . or .. part");
        if (parts.at(i).isEmpty() && !(i == parts.size() - 1 && i > 0))
            return QStringLiteral("an empty part");
    }
    return QString();
}

struct ZipCloser
{
    void operator()(zip_t *zip) const { zip_discard(zip); }
};
using Zip = std::unique_ptr<zip_t, ZipCloser>;

struct FileCloser
{
    void operator()(zip_file_t *file) const { zip_fclose(file); }
};
using ZipFile = std::unique_ptr<zip_file_t, FileCloser>;

// Where libzip lists other than the records, or empty.
QString libzipDiffers(zip_t *zip, const QList<Record> &records)
{
    if (zip_get_num_entries(zip, 0) != records.size())
        return QStringLiteral("libzip lists %1 entries, the directory %2")
            .arg(zip_get_num_entries(zip, 0))
            .arg(records.size());
    for (int i = 0; i < records.size(); ++i) {
        const Record &r = records.at(i);
        zip_stat_t st;
        zip_stat_init(&st);
        const zip_uint64_t wanted = ZIP_STAT_NAME | ZIP_STAT_SIZE | ZIP_STAT_COMP_SIZE | ZIP_STAT_CRC;
        if (zip_stat_index(zip, zip_uint64_t(i), ZIP_FL_ENC_RAW, &st) != 0 ||
            (st.valid & wanted) != wanted ||
            st.size != r.size || st.comp_size != r.packed || st.crc != r.crc)
            return QStringLiteral("libzip states other sizes or checksum at %1").arg(i);
        if (QByteArray(st.name) != r.name)
            return QStringLiteral("libzip names entry %1 otherwise").arg(i);
    }
    return QString();
}

// Why the data of entry index does not read back through libzip to its stated
// size with a good checksum, or empty.
QString readBack(zip_t *zip, int index, quint64 stated)
{
    const ZipFile in(zip_fopen_index(zip, zip_uint64_t(index), 0));
    if (!in)
        return QStringLiteral("libzip does not open entry %1").arg(index);
    QByteArray chunk(64 * 1024, Qt::Uninitialized);
    quint64 got = 0;
    zip_int64_t n = 0;
    while (got <= stated && (n = zip_fread(in.get(), chunk.data(), zip_uint64_t(chunk.size()))) > 0)
        got += quint64(n);
    if (n < 0)
        return QStringLiteral("entry %1 fails to read: %2").arg(index).arg(zip_file_strerror(in.get()));
    if (got != stated)
        return QStringLiteral("entry %1 reads %2 bytes, not %3").arg(index).arg(got).arg(stated);
    return QString();
}

// Whether the file at path holds exactly what libzip reads for entry index.
bool sameAsRead(zip_t *zip, int index, const QString &path)
{
    QFile file(path);
    const ZipFile in(zip_fopen_index(zip, zip_uint64_t(index), 0));
    if (!in || !file.open(QIODevice::ReadOnly))
        return false;
    QByteArray chunk(64 * 1024, Qt::Uninitialized);
    for (;;) {
        const zip_int64_t n = zip_fread(in.get(), chunk.data(), zip_uint64_t(chunk.size()));
        if (n < 0)
            return false;
        if (file.read(int(n)) != QByteArray::fromRawData(chunk.constData(), int(n)))
            return false;
        if (n == 0)
            return file.atEnd();
    }
}

// Reasons to refuse: those a reader may give, and those it must follow.
struct Reasons
{
    QStringList may;
    QStringList must;
    void add(bool holds, bool binding, const QString &why)
    {
        if (holds)
            (binding ? must : may).append(why);
    }
    bool any() const { return !may.isEmpty() || !must.isEmpty(); }
};

// What the target reads of one input, with libzip opened by itself.
struct Reading
{
    Zip zip;
    QList<Record> records; // of the one readable end record
    Reasons listing;
};

void readListing(const QString &zipPath, Reading &reading)
{
    QFile file(zipPath);
    if (!file.open(QIODevice::ReadOnly))
        fail("cannot read back the input", zipPath);
    const QByteArray bytes = file.readAll();
    Reasons &why = reading.listing;
    int error = 0;
    reading.zip.reset(zip_open(QFile::encodeName(zipPath).constData(), ZIP_RDONLY, &error));
    why.add(!reading.zip, true, QStringLiteral("libzip cannot open it"));
    const EndRecords ends = endRecords(bytes);
    why.add(ends.readable.size() != 1, true,
            QStringLiteral("%1 end records that can be read").arg(ends.readable.size()));
    why.add(ends.readableTooLarge, true, QStringLiteral("a directory over the bounds"));
    why.add(ends.anyLarge, false, QStringLiteral("an end record stating a directory over the bounds"));
    if (ends.readable.size() != 1)
        return;
    const bool read = readRecords(bytes, ends.readable.first(), reading.records);
    why.add(!read, true, QStringLiteral("a directory that does not hold its records"));
    if (!read || !reading.zip)
        return;
    why.add(zip_get_num_entries(reading.zip.get(), 0) > ZipArchive::MaxEntries, true,
            QStringLiteral("more entries than a project holds"));
    const QString differs = libzipDiffers(reading.zip.get(), reading.records);
    why.add(!differs.isEmpty(), true, differs);
    for (const Record &r : qAsConst(reading.records)) {
        // A reader may take such a name whether or not libzip does.
        why.add(r.unicodeField, false, QStringLiteral("a name a Unicode path field may give"));
        why.add(!r.hasLocal, false, QStringLiteral("an entry without a local header"));
    }
}

// Why the listed entries may not be unpacked, by the target's reading.
Reasons unpackReasons(const Reading &reading, const QList<ZipArchive::Entry> &entries, const QString &out)
{
    Reasons why;
    const QList<Record> &records = reading.records;
    QSet<QString> paths;
    QSet<QString> files;
    QSet<QString> folders;
    quint64 stated = 0;
    for (int i = 0; i < records.size(); ++i) {
        const QString unsafe = unsafeName(records.at(i));
        why.add(!unsafe.isEmpty(), true, unsafe + QStringLiteral(": ") + entries.at(i).name);
        QString path = entries.at(i).name;
        while (path.endsWith(QLatin1Char('/')))
            path.chop(1);
        why.add(paths.contains(path), true, QStringLiteral("a path named twice: ") + path);
        paths.insert(path);
        if (!records.at(i).isDir)
            files.insert(path);
        for (QString above = records.at(i).isDir ? path : path.left(qMax(0, path.lastIndexOf('/')));
             !above.isEmpty(); above.truncate(qMax(0, above.lastIndexOf('/'))))
            folders.insert(above);
        stated = saturatingAdd(stated, records.at(i).size);
        if (!records.at(i).isDir) {
            const QString back = readBack(reading.zip.get(), i, records.at(i).size);
            why.add(!back.isEmpty(), true, back);
        }
    }
    why.add(folders.size() > ZipArchive::MaxEntries, true,
            QStringLiteral("more folders than a project holds"));
    for (const QString &path : qAsConst(paths)) {
        const QStringList parts = path.split('/');
        why.add((out + '/' + path).toUtf8().size() > 4095, false,
                QStringLiteral("a path too long: ") + path);
        for (int i = 0; i < parts.size(); ++i) {
            why.add(parts.at(i).toUtf8().size() > 255, false,
                    QStringLiteral("a name part too long: ") + path);
            why.add(i > 0 && files.contains(parts.mid(0, i).join('/')), false,
                    QStringLiteral("a path below a file: ") + path);
        }
    }
    QList<const Record *> byOffset;
    for (const Record &r : records) {
        if (r.hasLocal)
            byOffset.append(&r);
    }
    std::sort(byOffset.begin(), byOffset.end(), [](const Record *a, const Record *b) {
        return a->offset < b->offset;
    });
    for (int i = 1; i < byOffset.size(); ++i)
        why.add(byOffset.at(i - 1)->end > byOffset.at(i)->offset, true,
                QStringLiteral("entries sharing bytes by their local headers"));
    why.add(stated > ZipArchive::MaxUnpackedBytes, true, QStringLiteral("more bytes than the budget"));
    why.add(stated > quint64(QStorageInfo(out).bytesAvailable()), false,
            QStringLiteral("more bytes than free"));
    return why;
}

// Checks that the listing given is the directory the target read.
void checkListing(const Reading &reading, const QList<ZipArchive::Entry> &entries)
{
    if (entries.size() != reading.records.size())
        fail("listed another count of entries than the directory holds:", QString::number(entries.size()));
    for (int i = 0; i < entries.size(); ++i) {
        const ZipArchive::Entry &entry = entries.at(i);
        const Record &r = reading.records.at(i);
        if (!sameName(entry.name, r) || entry.size != r.size || entry.isDir != r.isDir ||
            entry.isSymLink != r.isLink)
            fail("listed other than the directory's record:", entry.name);
    }
}

// Checks that an unpacking done wrote each listed file as libzip reads it, and no other.
void checkUnpacked(const Reading &reading, const QList<ZipArchive::Entry> &entries, const QString &out,
                   QStringList written)
{
    QStringList expected;
    for (int i = 0; i < entries.size(); ++i) {
        const QString path = QDir::cleanPath(out + QLatin1Char('/') + entries.at(i).name);
        if (entries.at(i).isDir) {
            if (!QFileInfo(path).isDir())
                fail("unpacked a listed folder as no folder:", entries.at(i).name);
            continue;
        }
        expected.append(path);
        if (!QFileInfo(path).isFile() || !sameAsRead(reading.zip.get(), i, path))
            fail("unpacked other bytes than libzip reads for", entries.at(i).name);
    }
    for (QString &path : written)
        path = QDir::cleanPath(path);
    written.sort();
    expected.sort();
    if (written != expected)
        fail("told of other files than the listed ones:", written.join(QLatin1Char(' ')));
}

void unpackOne(const uint8_t *data, size_t size)
{
    QTemporaryDir work;
    const QString zipPath = work.filePath(QStringLiteral("in.zip"));
    QDir(work.path()).mkpath(QStringLiteral("out"));
    const QString out = work.filePath(QStringLiteral("out"));
    fuzz::Input in(data, size);
    if (in.byte() & 1) {
        QFile file(zipPath);
        const QByteArray rest = in.rest();
        if (!file.open(QIODevice::WriteOnly) || file.write(rest) != rest.size() || !file.flush())
            fail("cannot write the input to", zipPath);
    } else {
        QList<ZipEntry> list;
        const int entries = in.byte() % 6;
        for (int i = 0; i < entries && !in.atEnd(); ++i) {
            const uint8_t kind = in.byte();
            ZipEntry entry;
            const int nameLength = in.byte() % 40;
            for (int k = 0; k < nameLength; ++k)
                entry.name.append(char(in.byte()));
            const int contentLength = in.byte();
            for (int k = 0; k < contentLength && !in.atEnd(); ++k)
                entry.data.append(char(in.byte()));
            if (kind % 3 == 0)
                entry.mode = 040755; // a folder
            else if (kind % 3 == 2)
                entry.mode = 0120777; // a link, its target as the content
            list.append(entry);
        }
        QFile file(zipPath);
        const QByteArray zip = storedZip(list);
        if (!file.open(QIODevice::WriteOnly) || file.write(zip) != zip.size() || !file.flush())
            fail("cannot write the input to", zipPath);
    }
    const QStringList before = tree(work.path());
    QList<ZipArchive::Entry> entries;
    const bool listed = ZipArchive::listEntries(zipPath, entries);
    QStringList written;
    const bool unpacked = ZipArchive::extractDir(zipPath, out, &written);
    for (const QString &path : tree(work.path())) {
        if (!before.contains(path) && !path.startsWith(out + QLatin1Char('/')))
            fail("unpacked outside its folder:", path);
    }
    // Written: exactly the listed entries (files at their listed sizes) and the
    // folders above them, or nothing.
    QSet<QString> named;
    for (const ZipArchive::Entry &entry : qAsConst(entries)) {
        for (QString path = entry.name; !path.isEmpty(); path.truncate(qMax(0, path.lastIndexOf('/'))))
            named.insert(QDir::cleanPath(out + QLatin1Char('/') + path));
        if (unpacked && !entry.isDir && QFileInfo(out + '/' + entry.name).size() != qint64(entry.size))
            fail("unpacked at another size than listed:", entry.name);
    }
    const QStringList found = tree(out);
    if (unpacked ? !listed || QSet<QString>(found.begin(), found.end()) != named : !found.isEmpty())
        fail("unpacked other than what was listed");

    Reading reading;
    readListing(zipPath, reading);
    if (!listed && !reading.listing.any())
        fail("listing refused without a reason");
    if (!listed)
        return;
    if (!reading.listing.must.isEmpty())
        fail("listed although there is", reading.listing.must.first());
    checkListing(reading, entries);
    const Reasons why = unpackReasons(reading, entries, out);
    if (unpacked && !why.must.isEmpty())
        fail("unpacked although there is", why.must.first());
    if (unpacked)
        checkUnpacked(reading, entries, out, written);
    else if (!why.any())
        fail("unpacking refused without a reason");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzz::setUp();
    const int descriptors = openDescriptors();
    unpackOne(data, size);
    if (openDescriptors() != descriptors)
        fail("descriptors left open:", QString::number(openDescriptors() - descriptors));
    return 0;
}
