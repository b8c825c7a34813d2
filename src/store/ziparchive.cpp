#include "ziparchive.h"

// KZip first: the entry headers need KArchive declared before them.
#include <KZip>
#include <KArchiveDirectory>
#include <KArchiveFile>

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QIODevice>
#include <QRegularExpression>
#include <QSet>
#include <QStorageInfo>
#include <QVector>

#include <algorithm>
#include <memory>

namespace {

constexpr quint32 kEndOfCentralDir = 0x06054b50;
constexpr quint32 kZip64EndLocator = 0x07064b50;
constexpr quint32 kZip64EndOfCentralDir = 0x06064b50;
constexpr quint32 kCentralDirHeader = 0x02014b50;
constexpr quint32 kLocalHeader = 0x04034b50;
constexpr int kEndRecordSize = 22;
constexpr int kMaxCommentSize = 0xFFFF;
constexpr int kCentralHeaderSize = 46;
constexpr int kLocalHeaderSize = 30;
constexpr quint16 kZip64ExtraTag = 0x0001;
// Flag bit 3: the sizes follow the data, in a descriptor "PK\7\8", CRC, sizes.
constexpr quint16 kFlagDescriptor = 0x0008;
constexpr int kDescriptorSize = 16;
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

// Where the central directory lies, how many entries it holds, and where the
// record that closes it (the end record, or its Zip64 form) begins.
struct CentralDir
{
    quint64 offset = 0;
    quint64 size = 0;
    quint64 count = 0;
    quint64 closedAt = 0;
};

bool findCentralDir(QFile &file, CentralDir &cd)
{
    const qint64 fileSize = file.size();
    if (fileSize < kEndRecordSize)
        return false;
    const qint64 tailStart = qMax<qint64>(0, fileSize - kEndRecordSize - kMaxCommentSize);
    const QByteArray tail = readAt(file, tailStart, fileSize - tailStart);
    if (tail.isEmpty())
        return false;

    // The end record is the last signature whose comment reaches the end of the file.
    qint64 pos = -1;
    for (qint64 i = tail.size() - kEndRecordSize; i >= 0; --i) {
        if (le32(tail, i) == kEndOfCentralDir && i + kEndRecordSize + le16(tail, i + 20) == tail.size()) {
            pos = i;
            break;
        }
    }
    if (pos < 0)
        return false;

    cd.count = le16(tail, pos + 10);
    cd.size = le32(tail, pos + 12);
    cd.offset = le32(tail, pos + 16);
    cd.closedAt = static_cast<quint64>(tailStart + pos);

    if (cd.count == 0xFFFF || cd.size == 0xFFFFFFFFu || cd.offset == 0xFFFFFFFFu) {
        const qint64 locatorAt = tailStart + pos - 20;
        const QByteArray locator = readAt(file, locatorAt, 20);
        if (locator.isEmpty() || le32(locator, 0) != kZip64EndLocator)
            return false;
        const quint64 recordAt = le64(locator, 8);
        if (recordAt > static_cast<quint64>(fileSize))
            return false;
        const QByteArray record = readAt(file, static_cast<qint64>(recordAt), 56);
        if (record.isEmpty() || le32(record, 0) != kZip64EndOfCentralDir)
            return false;
        cd.count = le64(record, 32);
        cd.size = le64(record, 40);
        cd.offset = le64(record, 48);
        cd.closedAt = recordAt;
    }
    return cd.offset <= static_cast<quint64>(fileSize) &&
           cd.size <= static_cast<quint64>(fileSize) - cd.offset;
}

// Where a central record says its local entry lies, and what it holds.
struct LocalRef
{
    quint64 offset = 0;
    quint32 packedSize = 0;
    quint32 size = 0;
    quint16 method = 0;
    QByteArray name;
};

// The first descriptor signature that begins in [from, to), or -1; read in pieces.
qint64 findDescriptor(QFile &file, qint64 from, qint64 to)
{
    static const QByteArray signature("PK\x07\x08", 4);
    constexpr qint64 piece = 64 * 1024;
    for (qint64 at = from; at + signature.size() <= to; at += piece - (signature.size() - 1)) {
        const QByteArray chunk = readAt(file, at, qMin(piece, to - at));
        const int found = chunk.indexOf(signature);
        if (chunk.isEmpty() || found >= 0)
            return found >= 0 ? at + found : -1;
    }
    return -1;
}

// KZip builds its tree by walking the file from the start: local entries one after
// the other, then the central records up to the end record. That walk has to meet
// exactly the entries the central directory names, each local header where its
// record says, with nothing before, between or after them; otherwise KZip would
// unpack something other than what was listed and weighed. Like KZip, the walk
// steps over the data of an entry with flag bit 3 to the first descriptor after it.
bool localEntriesAgree(QFile &file, QVector<LocalRef> refs, quint64 dirOffset)
{
    std::sort(refs.begin(), refs.end(),
              [](const LocalRef &a, const LocalRef &b) { return a.offset < b.offset; });
    quint64 at = 0;
    for (const LocalRef &ref : qAsConst(refs)) {
        const QByteArray header = readAt(file, static_cast<qint64>(at), kLocalHeaderSize + ref.name.size());
        if (ref.offset != at || header.isEmpty() || le32(header, 0) != kLocalHeader ||
            le16(header, 26) != ref.name.size() || header.mid(kLocalHeaderSize) != ref.name)
            return false;
        const quint64 dataEnd = at + kLocalHeaderSize + ref.name.size() + le16(header, 28) + ref.packedSize;
        if (dataEnd > dirOffset)
            return false;
        // The method and the sizes decide how far KZip reads: a stored entry whose local
        // header states fewer bytes than its data holds would make it parse on inside the data.
        if (le16(header, 8) != ref.method)
            return false;
        if (le16(header, 6) & kFlagDescriptor) {
            const auto end = static_cast<qint64>(dataEnd);
            if (findDescriptor(file, static_cast<qint64>(at) + kLocalHeaderSize, end + 4) != end)
                return false;
            at = dataEnd + kDescriptorSize;
        } else {
            if (le32(header, 18) != ref.packedSize || le32(header, 22) != ref.size)
                return false;
            at = dataEnd;
        }
    }
    return at == dirOffset;
}

// How many folders unpacking the entries makes: those named and every folder above
// a name, each once. Counting stops past MaxEntries, so that a few deep names cannot
// make KZip build millions of folders.
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

// Checks one name as the unpacked tree will see it (a single path component).
bool isPlainComponent(const QString &name)
{
    return !name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..") &&
           !name.contains(QLatin1Char('/')) && !name.contains(QChar(0));
}

bool isLinkEntry(const KArchiveEntry *entry)
{
    return !entry->symLinkTarget().isEmpty() ||
           (static_cast<quint32>(entry->permissions()) & kModeTypeMask) == kModeSymLink;
}

// Second look at the tree that KZip built, before anything is written: every name
// must be one plain component, nothing may be a link, and it holds no more than
// MaxEntries files and MaxEntries folders. KZip parses the file on its own, so what
// it built is weighed again rather than taken to be what was listed.
bool isSafeTree(const KArchiveDirectory *dir, int &files, int &folders)
{
    const QStringList names = dir->entries();
    for (const QString &name : names) {
        const KArchiveEntry *entry = dir->entry(name);
        if (!entry || !isPlainComponent(name) || isLinkEntry(entry))
            return false;
        if (!entry->isDirectory() && ++files > ZipArchive::MaxEntries)
            return false;
        if (entry->isDirectory() &&
            (++folders > ZipArchive::MaxEntries ||
             !isSafeTree(static_cast<const KArchiveDirectory *>(entry), files, folders)))
            return false;
    }
    return true;
}

// What one unpacking has written so far, so that a failure can take it back, and
// how many more bytes the archive's stated sizes allow.
struct Unpacking
{
    QStringList files;
    QStringList dirs;
    quint64 budget = 0;

    void undo() const
    {
        for (const QString &path : files)
            QFile::remove(path);
        for (auto it = dirs.crbegin(); it != dirs.crend(); ++it)
            QDir().rmdir(*it);
    }
};

// Streams one entry into path, never more than its stated size nor than the
// archive's remaining budget: an entry whose data runs on past that lies about
// its size and fails.
bool writeEntryFile(const KArchiveFile *file, const QString &path, Unpacking &unpacking)
{
    if (QFileInfo(path).isSymLink()) {
        qDebug() << "zip: refusing to write through a link:" << path;
        return false;
    }
    const quint64 stated = static_cast<quint64>(qMax<qint64>(0, file->size()));
    const quint64 limit = qMin(stated, unpacking.budget);
    const std::unique_ptr<QIODevice> in(file->createDevice());
    if (!in || !in->isOpen())
        return false;
    QFile out(path);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    unpacking.files.append(path);
    quint64 written = 0;
    while (!in->atEnd()) {
        // One byte past the limit is enough to tell that the entry runs on.
        const qint64 wanted = static_cast<qint64>(qMin<quint64>(64 * 1024, limit - written + 1));
        const QByteArray chunk = in->read(wanted);
        if (chunk.isEmpty())
            break;
        written += static_cast<quint64>(chunk.size());
        if (written > limit) {
            qDebug() << "zip: entry runs past its stated size:" << path;
            return false;
        }
        if (out.write(chunk) != chunk.size())
            return false;
    }
    unpacking.budget -= written;
    return written == stated && out.flush();
}

bool writeTree(const KArchiveDirectory *dir, const QString &target, Unpacking &unpacking)
{
    const QStringList names = dir->entries();
    for (const QString &name : names) {
        const KArchiveEntry *entry = dir->entry(name);
        const QString path = target + QLatin1Char('/') + name;
        if (entry->isDirectory()) {
            const QFileInfo info(path);
            if (info.isSymLink() || (info.exists() && !info.isDir()))
                return false;
            if (!info.exists()) {
                if (!QDir().mkdir(path))
                    return false;
                unpacking.dirs.append(path);
            }
            if (!writeTree(static_cast<const KArchiveDirectory *>(entry), path, unpacking))
                return false;
        } else if (!writeEntryFile(static_cast<const KArchiveFile *>(entry), path, unpacking)) {
            return false;
        }
    }
    return true;
}

bool addTree(KZip &zip, const QString &dir, const QString &prefix)
{
    const QFileInfoList list =
        QDir(dir).entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                                QDir::Name | QDir::IgnoreCase);
    for (const QFileInfo &info : list) {
        const QString name = prefix + info.fileName();
        if (info.isSymLink())
            continue;
        if (info.isDir()) {
            if (!zip.writeDir(name) || !addTree(zip, info.filePath(), name + QLatin1Char('/')))
                return false;
        } else if (info.isFile()) {
            if (!zip.addLocalFile(info.filePath(), name))
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
    KZip zip(zipPath);
    if (!zip.open(QIODevice::WriteOnly)) {
        qDebug() << "zip: cannot create" << zipPath << zip.errorString();
        return false;
    }
    const bool added = addTree(zip, dir, QString());
    const bool closed = zip.close();
    if (!added || !closed) {
        qDebug() << "zip: failed to write" << zipPath;
        QFile::remove(zipPath);
        return false;
    }
    return true;
}

bool ZipArchive::listEntries(const QString &zipPath, QList<Entry> &entries)
{
    entries.clear();
    QFile file(zipPath);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    CentralDir cd;
    if (!findCentralDir(file, cd))
        return false;
    // Weighed before the directory is read, so that memory stays bounded by the
    // entry bound whatever the file holds.
    if (cd.count > static_cast<quint64>(MaxEntries) || cd.size > MaxEntries * kDirBytesPerEntry) {
        qDebug() << "zip: refusing" << zipPath << "stating" << cd.count << "entries in" << cd.size
                 << "bytes";
        return false;
    }
    const QByteArray dir = readAt(file, static_cast<qint64>(cd.offset), static_cast<qint64>(cd.size));
    if (dir.size() != static_cast<qint64>(cd.size))
        return false;

    QList<Entry> found;
    QVector<LocalRef> refs;
    qint64 pos = 0;
    for (quint64 n = 0; n < cd.count; ++n) {
        if (pos + kCentralHeaderSize > dir.size() || le32(dir, pos) != kCentralDirHeader)
            return false;
        const quint16 flags = le16(dir, pos + 8);
        const int nameLength = le16(dir, pos + 28);
        const int extraLength = le16(dir, pos + 30);
        const int commentLength = le16(dir, pos + 32);
        const quint32 external = le32(dir, pos + 38);
        quint64 size = le32(dir, pos + 24);
        const qint64 next = pos + kCentralHeaderSize + nameLength + extraLength + commentLength;
        if (next > dir.size())
            return false;
        const QByteArray raw = dir.mid(pos + kCentralHeaderSize, nameLength);
        Entry entry;
        // Bit 11: the name is UTF-8; other names are read byte for byte.
        entry.name = (flags & 0x0800) ? QString::fromUtf8(raw) : QString::fromLatin1(raw);
        if (raw.contains('\0'))
            entry.name.append(QChar(0)); // keep the NUL visible to isSafeEntry()
        const quint32 mode = external >> 16;
        entry.isSymLink = (mode & kModeTypeMask) == kModeSymLink;
        entry.isDir = entry.name.endsWith(QLatin1Char('/')) || (mode & kModeTypeMask) == kModeDir ||
                      (!entry.isSymLink && mode == 0 && (external & kDosDirAttribute));
        if (size == 0xFFFFFFFFu) {
            // The true size is the first field of the Zip64 extra block.
            const QByteArray extra = dir.mid(pos + kCentralHeaderSize + nameLength, extraLength);
            for (int at = 0; at + 4 <= extra.size(); at += 4 + le16(extra, at + 2)) {
                if (le16(extra, at) == kZip64ExtraTag && at + 12 <= extra.size()) {
                    size = le64(extra, at + 4);
                    break;
                }
            }
        }
        entry.size = size;
        found.append(entry);
        refs.append({le32(dir, pos + 42), le32(dir, pos + 20), le32(dir, pos + 24), le16(dir, pos + 10),
                     raw});
        pos = next;
    }
    // The stated count fills the directory exactly, the end record follows it, and
    // the local entries are the ones it names.
    if (pos != dir.size() || cd.offset + cd.size != cd.closedAt ||
        !localEntriesAgree(file, refs, cd.offset)) {
        qDebug() << "zip: refusing" << zipPath << "whose entries disagree with its central directory";
        return false;
    }
    entries = found;
    return true;
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
    if (!listEntries(zipPath, entries)) {
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
    if (entries.size() > MaxEntries || folderCount(entries) > MaxEntries) {
        qDebug() << "zip: refusing archive" << zipPath << "with more than" << MaxEntries
                 << "files or folders";
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

    KZip zip(zipPath);
    if (!zip.open(QIODevice::ReadOnly)) {
        qDebug() << "zip: cannot open" << zipPath << zip.errorString();
        return false;
    }
    const KArchiveDirectory *root = zip.directory();
    int treeFiles = 0;
    int treeFolders = 0;
    if (!root || !isSafeTree(root, treeFiles, treeFolders)) {
        qDebug() << "zip: refusing archive" << zipPath;
        return false;
    }
    Unpacking unpacking;
    unpacking.budget = stated;
    if (!writeTree(root, QDir::cleanPath(target.absoluteFilePath()), unpacking)) {
        qDebug() << "zip: failed to unpack" << zipPath << "into" << dir;
        unpacking.undo();
        return false;
    }
    if (files)
        *files = unpacking.files;
    return true;
}
