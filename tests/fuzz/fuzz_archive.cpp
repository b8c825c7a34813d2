// The archive reader: a zip whose bytes are fuzzed, or a well-formed zip whose
// entries (names, kinds, contents) are fuzzed, listed and unpacked into a fresh
// folder. Nothing may be written outside that folder.

#include "fuzzsupport.h"

#include "store/ziparchive.h"

#include <KZip>

#include <QDir>
#include <QDirIterator>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

namespace {

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
        KZip zip(zipPath);
        if (!zip.open(QIODevice::WriteOnly))
            return 0;
        const int entries = in.byte() % 6;
        for (int i = 0; i < entries && !in.atEnd(); ++i) {
            const uint8_t kind = in.byte();
            const int nameLength = in.byte() % 40;
            QByteArray name;
            for (int k = 0; k < nameLength; ++k)
                name.append(char(in.byte()));
            const int contentLength = in.byte();
            QByteArray content;
            for (int k = 0; k < contentLength && !in.atEnd(); ++k)
                content.append(char(in.byte()));
            const QString entry = QString::fromUtf8(name);
            if (kind % 3 == 0)
                zip.writeDir(entry);
            else if (kind % 3 == 1)
                zip.writeFile(entry, content);
            else
                zip.writeSymLink(entry, QString::fromUtf8(content));
        }
        zip.close();
    }
    const QStringList before = tree(work.path());
    QList<ZipArchive::Entry> entries;
    ZipArchive::listEntries(zipPath, entries);
    QStringList written;
    ZipArchive::extractDir(zipPath, out, &written);
    for (const QString &path : tree(work.path())) {
        if (!before.contains(path) && !path.startsWith(out + QLatin1Char('/'))) {
            fprintf(stderr, "unpacked outside its folder: %s\n", qPrintable(path));
            abort();
        }
    }
    return 0;
}
