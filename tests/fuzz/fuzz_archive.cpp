// The archive reader: a zip whose bytes are fuzzed, or a well-formed zip whose
// entries (names, kinds, contents) are fuzzed, listed and unpacked into a fresh
// folder. Nothing may be written outside that folder, and what is written there is
// exactly what the listing named (each file at its stated size), or nothing.

#include "fuzzsupport.h"

#include "store/ziparchive.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QSet>
#include <QTemporaryDir>

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

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzz::setUp();
    QTemporaryDir work;
    const QString zipPath = work.filePath(QStringLiteral("in.zip"));
    QDir(work.path()).mkpath(QStringLiteral("out"));
    const QString out = work.filePath(QStringLiteral("out"));
    fuzz::Input in(data, size);
    if (in.byte() & 1) {
        QFile file(zipPath);
        if (!file.open(QIODevice::WriteOnly))
            return 0;
        const QByteArray rest = in.rest();
        file.write(rest);
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
        if (!file.open(QIODevice::WriteOnly))
            return 0;
        file.write(storedZip(list));
    }
    const QStringList before = tree(work.path());
    QList<ZipArchive::Entry> entries;
    const bool listed = ZipArchive::listEntries(zipPath, entries);
    QStringList written;
    const bool unpacked = ZipArchive::extractDir(zipPath, out, &written);
    for (const QString &path : tree(work.path())) {
        if (!before.contains(path) && !path.startsWith(out + QLatin1Char('/'))) {
            fprintf(stderr, "unpacked outside its folder: %s\n", qPrintable(path));
            abort();
        }
    }
    // Written: exactly the listed entries (files at their listed sizes) and the
    // folders above them, or nothing.
    QSet<QString> named;
    for (const ZipArchive::Entry &entry : qAsConst(entries)) {
        for (QString path = entry.name; !path.isEmpty(); path.truncate(qMax(0, path.lastIndexOf('/'))))
            named.insert(QDir::cleanPath(out + QLatin1Char('/') + path));
        if (unpacked && !entry.isDir && QFileInfo(out + '/' + entry.name).size() != qint64(entry.size))
            abort();
    }
    const QStringList found = tree(out);
    if (unpacked ? !listed || QSet<QString>(found.begin(), found.end()) != named : !found.isEmpty())
        abort();
    return 0;
}
