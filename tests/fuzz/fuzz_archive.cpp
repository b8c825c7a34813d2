// The archive reader: a zip whose bytes are fuzzed, or a well-formed zip whose
// entries (names, kinds, contents) are fuzzed, listed and unpacked into a fresh
// folder. Nothing may be written outside that folder, and what is written there is
// exactly what the listing named, each file as libzip reads its entry, or nothing.
// The target reads the zip on its own and opens it with libzip itself: a refusal
// must have a reason there (listingRefusal, unpackRefusal), a binding reason forbids
// listing or unpacking, and a listing is the directory read. No descriptor stays open.

#include "fuzzsupport.h"

#include "store/ziparchive.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QSet>
#include <QStorageInfo>
#include <QTemporaryDir>

#include <zip.h>

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

quint32 crc32Of(const QByteArray &bytes)
{
    quint32 crc = 0xFFFFFFFFu;
    for (char c : bytes) {
        crc ^= quint8(c);
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return crc ^ 0xFFFFFFFFu;
}

// A stored (uncompressed) zip of the entries, written byte by byte so that any
// name, however odd, reaches the reader exactly as fuzzed.
QByteArray storedZip(const QList<ZipEntry> &entries)
{
    QByteArray zip;
    QByteArray central;
    for (const ZipEntry &e : entries) {
        const quint32 offset = quint32(zip.size());
        const quint32 crc32 = crc32Of(e.data);
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

constexpr quint32 kCentral = 0x02014b50;
// libzip looks for end records in this much of the file's end: an end record, a
// comment one byte longer than a record can state and a Zip64 locator.
constexpr quint64 kTail = 22 + 0x10000 + 20;

bool inside(const QByteArray &b, quint64 at, quint64 length)
{
    return at <= quint64(b.size()) && length <= quint64(b.size()) - at;
}

// The little-endian number of width bytes at offset at of b; 0 where they lie outside b.
quint64 le(const QByteArray &b, quint64 at, int width)
{
    quint64 v = 0;
    for (int k = width - 1; k >= 0 && inside(b, at, quint64(width)); --k)
        v = v << 8 | quint8(b.at(int(at) + k));
    return v;
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
    quint64 count, offset, size;
};

// One central record as libzip lists it, and libzip's read of its entry.
struct Record
{
    QByteArray name; // libzip's raw name: the stored one, or that of a Unicode path field
    QByteArray data; // libzip's read, at most a chunk past the stated size
    bool isDir = false, isLink = false;
    quint64 size = 0, offset = 0;
    quint64 end = 0; // one past its data, by its local header's own name and extra lengths
};

// Why a reader must not list the zip, or null; may tells of reasons it may refuse for.
// Exactly one end record in the tail must be one that libzip reads: its directory lies
// before it (a 32-bit record of disk 0 with equal counts, or through a Zip64 locator
// whose record lies in the file), its comment fits the file, and its directory starts
// with a central record or it states no entries. That directory must hold its records
// and be filled by them, libzip must list them index for index (each named by its Unicode
// path field where the field's checksum is that of the stored name), and each must start
// with a local header.
const char *listingRefusal(const QByteArray &zip, zip_t *lib, QList<Record> &records, bool &may)
{
    QList<Directory> found;
    const quint64 size = quint64(zip.size());
    for (quint64 p = size > kTail ? size - kTail : 0, end = 0; p + 22 <= size; ++p) {
        Directory d{le(zip, p + 10, 2), le(zip, p + 16, 4), le(zip, p + 12, 4)};
        const quint64 zip64 = p >= 20 ? le(zip, p - 12, 8) : 0;
        if (le(zip, p, 4) != 0x06054b50)
            continue;
        if (p >= 20 && le(zip, p - 20, 4) == 0x07064b50) {
            if (!inside(zip, zip64, 56) || le(zip, zip64, 4) != 0x06064b50)
                continue;
            d = {le(zip, zip64 + 32, 8), le(zip, zip64 + 48, 8), le(zip, zip64 + 40, 8)};
        } else if (le(zip, p + 4, 4) != 0 || le(zip, p + 8, 2) != d.count) {
            continue;
        }
        if (__builtin_add_overflow(d.offset, d.size, &end) || end > p)
            continue;
        // The inputs are too small to hold a directory over the bound on its size.
        may = may || d.count > quint64(ZipArchive::MaxEntries);
        if (p + 22 + le(zip, p + 20, 2) <= size && (d.count == 0 || le(zip, d.offset, 4) == kCentral))
            found.append(d);
    }
    if (!lib)
        return "libzip cannot open it";
    if (found.size() != 1)
        return "no or several end records that libzip can read";
    const QByteArray dir = zip.mid(int(found.first().offset), int(found.first().size));
    if (zip_get_num_entries(lib, 0) != zip_int64_t(found.first().count))
        return "libzip listing another count of entries";
    quint64 at = 0;
    for (quint64 i = 0; i < found.first().count; ++i) {
        const quint64 nameSize = le(dir, at + 28, 2);
        const quint64 next = at + 46 + nameSize + le(dir, at + 30, 2) + le(dir, at + 32, 2);
        if (!inside(dir, at, 46) || le(dir, at, 4) != kCentral || next > quint64(dir.size()))
            return "a directory that does not hold its records";
        Record r;
        const QByteArray extra = dir.mid(int(at + 46 + nameSize), int(le(dir, at + 30, 2)));
        const QByteArray unicode = extraField(extra, 0x7075);
        const QByteArray zip64 = extraField(extra, 1);
        quint64 packed = le(dir, at + 20, 4);
        r.size = le(dir, at + 24, 4);
        r.offset = le(dir, at + 42, 4);
        quint64 k = 0; // the Zip64 field holds those of the three that are placeholders, in this order
        for (quint64 *value : {&r.size, &packed, &r.offset}) {
            if (*value != 0xFFFFFFFF)
                continue;
            if (!inside(zip64, k, 8))
                return "a directory that does not hold its records";
            *value = le(zip64, k, 8);
            k += 8;
        }
        const zip_uint64_t wanted = ZIP_STAT_NAME | ZIP_STAT_SIZE | ZIP_STAT_COMP_SIZE | ZIP_STAT_CRC;
        zip_stat_t st;
        zip_stat_init(&st);
        if (zip_stat_index(lib, i, ZIP_FL_ENC_RAW, &st) != 0 || (st.valid & wanted) != wanted ||
            st.size != r.size || st.comp_size != packed || st.crc != le(dir, at + 16, 4))
            return "libzip listing other sizes or checksum";
        // The name of a Unicode path field (version 1) whose checksum is the stored name's;
        // the stored name else.
        r.name = st.name;
        const QByteArray stored = dir.mid(int(at + 46), int(nameSize));
        const bool unicodeName =
            unicode.size() >= 5 && unicode.at(0) == 1 && le(unicode, 1, 4) == crc32Of(stored);
        if (r.name != (unicodeName ? unicode.mid(5) : stored))
            return "libzip naming an entry otherwise";
        const quint64 mode = le(dir, at + 38, 4) >> 16;
        r.isLink = (mode & 0170000) == 0120000;
        r.isDir = r.name.endsWith('/') || (mode & 0170000) == 0040000 ||
                  (mode == 0 && (dir.at(int(at) + 38) & 0x10));
        if (le(zip, r.offset, 4) != 0x04034b50 || !inside(zip, r.offset, 30))
            return "an entry without a local header";
        if (__builtin_add_overflow(r.offset + 30 + le(zip, r.offset + 26, 2) + le(zip, r.offset + 28, 2),
                                   packed, &r.end))
            r.end = std::numeric_limits<quint64>::max();
        records.append(r);
        at = next;
    }
    // libzip reads records on past a count that wrapped; the reader refuses before it.
    if (at != quint64(dir.size()))
        return "a directory its stated records do not fill";
    return nullptr;
}

// Why the listed entries must not be unpacked, by the target's reading and libzip's
// read of each entry, or null; may tells of reasons a reader may refuse for.
const char *unpackRefusal(zip_t *zip, QList<Record> &records, const QList<ZipArchive::Entry> &entries,
                          const QString &out, bool &may)
{
    const char *why = nullptr;
    QSet<QString> paths, files, folders;
    quint64 stated = 0;
    for (int i = 0; i < records.size(); ++i) {
        Record &r = records[i];
        QString path = entries.at(i).name;
        while (path.endsWith('/'))
            path.chop(1);
        // Unsafe by its own bytes: a link, a drive letter, a . or .. part, or an empty part
        // (a leading "/" or "\" too) but a folder's last.
        QByteArray name = r.name;
        const QList<QByteArray> parts = name.replace('\\', '/').split('/');
        const char drive = char(name.size() > 1 && name.at(1) == ':' ? name.at(0) | 0x20 : 0);
        if (r.isLink || (drive >= 'a' && drive <= 'z') || parts.contains(".") || parts.contains("..") ||
            parts.mid(0, qMax(1, parts.size() - 1)).contains(QByteArray()))
            why = "an unsafe entry";
        if (paths.contains(path))
            why = "a path named twice";
        paths.insert(path);
        if (!r.isDir)
            files.insert(path);
        for (QString above = r.isDir ? path : path.left(qMax(0, path.lastIndexOf('/'))); !above.isEmpty();
             above.truncate(qMax(0, above.lastIndexOf('/'))))
            folders.insert(above);
        if (__builtin_add_overflow(stated, r.size, &stated))
            stated = std::numeric_limits<quint64>::max();
        if (r.isDir)
            continue;
        const std::unique_ptr<zip_file_t, int (*)(zip_file_t *)> in(zip_fopen_index(zip, zip_uint64_t(i), 0),
                                                                    zip_fclose);
        char chunk[16384];
        zip_int64_t n = in ? 1 : -1;
        while (n > 0 && quint64(r.data.size()) <= r.size) {
            n = zip_fread(in.get(), chunk, sizeof chunk);
            r.data.append(chunk, int(qMax<zip_int64_t>(n, 0)));
        }
        if (n != 0 || quint64(r.data.size()) != r.size)
            why = "an entry that does not read back";
    }
    for (const QString &path : qAsConst(paths)) {
        const QStringList parts = path.split('/');
        may = may || (out + '/' + path).toUtf8().size() > 4095;
        for (int k = 0; k < parts.size(); ++k)
            may = may || parts.at(k).toUtf8().size() > 255 ||
                  (k > 0 && files.contains(parts.mid(0, k).join('/')));
    }
    for (const Record &a : qAsConst(records)) {
        for (const Record &b : qAsConst(records)) {
            if (&a != &b && a.offset < b.end && b.offset < a.end)
                why = "entries sharing bytes by their local headers";
        }
    }
    if (folders.size() > ZipArchive::MaxEntries)
        why = "more folders than a project holds";
    if (stated > ZipArchive::MaxUnpackedBytes)
        why = "more bytes than the budget";
    may = may || stated > quint64(QStorageInfo(out).bytesAvailable());
    return why;
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

    QFile file(zipPath);
    if (!file.open(QIODevice::ReadOnly))
        fail("cannot read back the input", zipPath);
    int error = 0;
    const std::unique_ptr<zip_t, void (*)(zip_t *)> zip(
        zip_open(QFile::encodeName(zipPath).constData(), ZIP_RDONLY, &error), zip_discard);
    QList<Record> records;
    bool may = false;
    const char *why = listingRefusal(file.readAll(), zip.get(), records, may);
    if (!listed && !why && !may)
        fail("listing refused without a reason");
    if (!listed)
        return;
    if (why)
        fail("listed although there is", QString::fromLatin1(why));
    if (entries.size() != records.size())
        fail("listed another count of entries than the directory holds");
    for (int i = 0; i < entries.size(); ++i) {
        const ZipArchive::Entry &e = entries.at(i);
        if (e.size != records.at(i).size || e.isDir != records.at(i).isDir ||
            e.isSymLink != records.at(i).isLink ||
            e.name != QString::fromUtf8(zip_get_name(zip.get(), i, 0)))
            fail("listed other than the directory:", e.name);
    }
    may = false;
    why = unpackRefusal(zip.get(), records, entries, out, may);
    if (unpacked && why)
        fail("unpacked although there is", QString::fromLatin1(why));
    if (!unpacked && !why && !may)
        fail("unpacking refused without a reason");
    for (int i = 0; unpacked && i < entries.size(); ++i) {
        QFile unpackedFile(out + '/' + entries.at(i).name);
        if (!entries.at(i).isDir &&
            (!unpackedFile.open(QIODevice::ReadOnly) || unpackedFile.readAll() != records.at(i).data))
            fail("unpacked other bytes than libzip reads for", entries.at(i).name);
    }
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
