// The archive reader: a zip whose bytes are fuzzed, or a well-formed zip whose
// entries (names, kinds, contents) are fuzzed, listed and unpacked into a fresh
// folder. Nothing may be written outside that folder, and what is written there is
// exactly what the listing named (each file at its stated size), or nothing. A
// refusal must have a reason that holds: for the listing, libzip itself cannot
// open the file, it holds too many entries or two end records; for the unpacking,
// an entry is unsafe, named twice or below a file, shares bytes with another, the
// sizes exceed the budget, or an entry does not read back through libzip to its
// stated size and checksum. No descriptor stays open after an input.

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

// Why a reader may refuse to list the archive, or empty when it may not. The
// inputs are far smaller than the directory a listing accepts, so its size needs
// no reason here.
QString listingRefusal(const QString &zipPath)
{
    int error = 0;
    zip_t *zip = zip_open(QFile::encodeName(zipPath).constData(), ZIP_RDONLY, &error);
    if (!zip)
        return QStringLiteral("libzip cannot open it");
    const zip_int64_t count = zip_get_num_entries(zip, 0);
    zip_discard(zip);
    if (count > ZipArchive::MaxEntries)
        return QStringLiteral("more entries than a project holds");
    QFile file(zipPath);
    if (!file.open(QIODevice::ReadOnly))
        fail("cannot read back the input", zipPath);
    const QByteArray tail = file.readAll().right(22 + 0xFFFF);
    return tail.count(QByteArray("PK\5\6", 4)) > 1 ? QStringLiteral("two end records") : QString();
}

// Why a reader may refuse to unpack the listed entries, or empty when it may not.
QString unpackRefusal(const QString &zipPath, const QList<ZipArchive::Entry> &entries, const QString &out)
{
    QSet<QString> paths;
    QSet<QString> files;
    quint64 stated = 0;
    for (const ZipArchive::Entry &entry : entries) {
        const QString path = QDir::cleanPath(entry.name);
        if (!ZipArchive::isSafeEntry(entry) || paths.contains(path))
            return QStringLiteral("an unsafe or repeated entry ") + entry.name;
        paths.insert(path);
        if (!entry.isDir)
            files.insert(path);
        stated += entry.size;
    }
    for (const QString &path : qAsConst(paths)) {
        const QStringList parts = path.split('/');
        for (int i = 0; i < parts.size(); ++i) {
            if (parts.at(i).toUtf8().size() > 255 || (i > 0 && files.contains(parts.mid(0, i).join('/'))))
                return QStringLiteral("a path the file system does not take: ") + path;
        }
    }
    QList<ZipArchive::Entry> byOffset = entries;
    std::sort(byOffset.begin(), byOffset.end(),
              [](const ZipArchive::Entry &a, const ZipArchive::Entry &b) { return a.offset < b.offset; });
    for (int i = 1; i < byOffset.size(); ++i) {
        if (byOffset.at(i - 1).end > byOffset.at(i).offset)
            return QStringLiteral("entries sharing bytes");
    }
    if (stated > ZipArchive::MaxUnpackedBytes || stated > quint64(QStorageInfo(out).bytesAvailable()))
        return QStringLiteral("more bytes than the budget");
    // Each file entry must read back through libzip to its stated size with a good checksum.
    int error = 0;
    zip_t *zip = zip_open(QFile::encodeName(zipPath).constData(), ZIP_RDONLY, &error);
    if (!zip)
        fail("libzip no longer opens a listed archive", zipPath);
    QString refusal;
    QByteArray chunk(64 * 1024, Qt::Uninitialized);
    for (int i = 0; i < entries.size() && refusal.isEmpty(); ++i) {
        zip_file_t *in = entries.at(i).isDir ? nullptr : zip_fopen_index(zip, zip_uint64_t(i), 0);
        quint64 got = 0;
        zip_int64_t n = -1;
        while (in && got <= entries.at(i).size &&
               (n = zip_fread(in, chunk.data(), zip_uint64_t(chunk.size()))) > 0)
            got += quint64(n);
        if (in)
            zip_fclose(in);
        if (!entries.at(i).isDir && (n != 0 || got != entries.at(i).size))
            refusal = QStringLiteral("an entry that does not read back: ") + entries.at(i).name;
    }
    zip_discard(zip);
    return refusal;
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
    if (!listed && listingRefusal(zipPath).isEmpty())
        fail("listing refused without a reason");
    if (listed && !unpacked && unpackRefusal(zipPath, entries, out).isEmpty())
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
