#pragma once

// Zip archives written byte by byte, for archives no packer makes: entries that
// unpack into gigabytes of zeros from a few bytes, and headers that state a size
// other than the data holds. Also a guard that bounds what a test may write.

#include <QByteArray>
#include <QFile>
#include <QList>

#include <malloc.h>
#include <sys/resource.h>
#include <zlib.h>

namespace varnotest {

// The deflate stream of 1 + 258 * k zeros: one dynamic block whose codes make a
// copy of 258 bytes two bits long, so a gigabyte packs into about a megabyte.
inline QByteArray deflatedZeros(quint64 k)
{
    QByteArray out;
    quint64 at = 0;
    auto bit = [&](bool one) {
        const int byte = static_cast<int>(at / 8);
        if (out.size() <= byte)
            out.append(QByteArray(byte + 1 - out.size(), '\0'));
        if (one)
            out[byte] = char(out.at(byte) | (1 << (at % 8)));
        ++at;
    };
    auto field = [&](quint32 v, int n) { for (int i = 0; i < n; ++i) bit((v >> i) & 1); };
    auto code = [&](quint32 c, int n) { for (int i = n - 1; i >= 0; --i) bit((c >> i) & 1); };
    field(1, 1);  // last block
    field(2, 2);  // dynamic codes
    field(29, 5); // 286 literal/length codes
    field(0, 5);  // 1 distance code
    field(14, 4); // 18 code length codes, in the order 16 17 18 0 8 7 9 6 10 5 11 4 12 3 13 2 14 1
    for (int len : {0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 0, 2})
        field(len, 3);
    // Code lengths: literal 0 and end of block 2 bits, length 258 and distance 1 one bit.
    code(3, 2);                    // literal 0: 2
    code(0, 1);                    // 138 zeros ...
    field(127, 7);
    code(0, 1);                    // ... and 117: literals 1 to 255 unused
    field(106, 7);
    code(3, 2);                    // end of block: 2
    code(0, 1);                    // lengths 257 to 284 unused
    field(17, 7);
    code(2, 2);                    // length 258: 1
    code(2, 2);                    // distance 1: 1
    code(2, 2); // literal 0
    at += 2 * k; // k copies of 258 bytes, each coded "0" "0"
    code(3, 2); // end of block
    out.append(QByteArray(static_cast<int>((at + 7) / 8) - out.size(), '\0'));
    return out;
}

// The smallest count of zeros deflatedZeros() can make that is at least n.
inline quint64 zeroRun(quint64 n)
{
    return n <= 1 ? 1 : 1 + (n - 1 + 257) / 258 * 258;
}

struct HandZipEntry
{
    QByteArray name;
    quint64 zeros = 0;  // a zeroRun() length; 0 for an empty stored file
    qint64 stated = -1; // the size both headers state; -1 for the true one
    bool local = true;   // written as a local entry
    bool central = true; // named in the central directory, at the last local entry
    QByteArray stored {}; // when not empty, the entry's data, stored as it is
    qint64 localStated = -1; // the unpacked size the local header alone states; -1 as above
    // As a packer that writes to a pipe makes it: the sizes in a descriptor after the
    // data (flag bit 3), and a timestamp extra field in the local header alone.
    bool streamed = false;
    bool link = false; // a symbolic link whose target is the stored data
    // With streamed: the local header keeps both sizes (its checksum 0), as macOS's
    // archiver writes it.
    bool localSizes = false;
    bool wrongCrc = false; // both headers state a checksum the data does not have
    QByteArray localExtra {}; // extra fields of the local header alone
    QByteArray centralExtra {}; // extra fields of the central record alone
    qint64 at = -1; // where the central record says the local header starts; -1 for where it is
};

// count: the entries the end record states (Zip64 above 65,534 or with zip64); -1 for those named.
inline QByteArray handMadeZip(const QList<HandZipEntry> &entries, qint64 count = -1, bool zip64 = false)
{
    auto le = [](QByteArray &b, quint64 v, int bytes) {
        for (int i = 0; i < bytes; ++i)
            b.append(char((v >> (8 * i)) & 0xFF));
    };
    QByteArray zip;
    QByteArray central;
    int named = 0;
    int localAt = 0;
    for (const HandZipEntry &e : entries) {
        const QByteArray data = e.zeros ? deflatedZeros((e.zeros - 1) / 258) : e.stored;
        const quint64 size = e.stated < 0 ? e.zeros + e.stored.size() : static_cast<quint64>(e.stated);
        QByteArray common; // from "version needed" to the name length
        le(common, 20, 2), le(common, e.streamed ? 8 : 0, 2), le(common, e.zeros ? 8 : 0, 2);
        le(common, 0, 4);
        // Entries of more than 64 MiB are refused before their checksum matters.
        const QByteArray zeros(e.zeros >> 26 ? 0 : int(e.zeros), '\0');
        auto crc = [](uLong c, const QByteArray &b) {
            return crc32(c, reinterpret_cast<const Bytef *>(b.constData()), uInt(b.size()));
        };
        le(common, crc(crc(0, e.stored), zeros) ^ (e.wrongCrc ? 1 : 0), 4);
        le(common, data.size(), 4), le(common, size, 4), le(common, e.name.size(), 2);
        localAt = e.at >= 0 ? int(e.at) : e.local ? zip.size() : localAt;
        if (e.central) {
            le(central, 0x02014b50, 4), le(central, 0x0314, 2);
            central += common;
            le(central, e.centralExtra.size(), 2), le(central, 0, 2), le(central, 0, 2), le(central, 0, 2);
            le(central, quint64(e.link ? 0120777 : 0100644) << 16, 4), le(central, localAt, 4);
            central += e.name + e.centralExtra;
            ++named;
        }
        if (e.local) {
            le(zip, 0x04034b50, 4);
            QByteArray localSize; // in place of the unpacked size both headers state
            le(localSize, static_cast<quint64>(e.localStated), 4);
            zip += e.localStated < 0 ? common : QByteArray(common).replace(18, 4, localSize);
            if (e.streamed)
                zip.replace(zip.size() - 16, e.localSizes ? 4 : 12, QByteArray(e.localSizes ? 4 : 12, '\0'));
            le(zip, (e.streamed ? 9 : 0) + e.localExtra.size(), 2);
            zip += e.name + (e.streamed ? QByteArray("UT\x05\0\x01\0\0\0\0", 9) : QByteArray()) +
                   e.localExtra + data;
            if (e.streamed)
                le(zip, 0x08074b50, 4), zip += common.mid(10, 12);
        }
    }
    const int centralAt = zip.size();
    zip += central;
    const quint64 stated = count < 0 ? named : quint64(count);
    zip64 = zip64 || stated > 0xFFFE;
    if (zip64) { // the Zip64 end record and its locator
        const int recordAt = zip.size();
        le(zip, 0x06064b50, 4), le(zip, 44, 8), le(zip, 45, 2), le(zip, 45, 2), le(zip, 0, 8);
        le(zip, stated, 8), le(zip, stated, 8), le(zip, central.size(), 8), le(zip, centralAt, 8);
        le(zip, 0x07064b50, 4), le(zip, 0, 4), le(zip, recordAt, 8), le(zip, 1, 4);
    }
    le(zip, 0x06054b50, 4), le(zip, 0, 4), le(zip, zip64 ? 0xFFFF : stated, 2);
    le(zip, zip64 ? 0xFFFF : stated, 2), le(zip, central.size(), 4), le(zip, centralAt, 4);
    le(zip, 0, 2);
    return zip;
}

// While alive, no file this process writes may grow past the given size: a write
// beyond it ends the process (SIGXFSZ), so a test that gets through has kept the
// disk use of what it ran bounded.
class FileSizeBound
{
public:
    explicit FileSizeBound(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &m_old);
        rlimit bound = m_old;
        bound.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &bound);
    }
    ~FileSizeBound() { setrlimit(RLIMIT_FSIZE, &m_old); }

private:
    rlimit m_old {};
};

// How much resident memory may grow while an archive is refused or
// unpacked: 128 MiB (a few MiB are used), more under AddressSanitizer, which keeps
// freed memory aside and pads every allocation (some 600 MiB for 10,000 entries).
#if defined(__SANITIZE_ADDRESS__)
constexpr long UnpackMemoryBoundKiB = 1024 * 1024;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr long UnpackMemoryBoundKiB = 1024 * 1024;
#else
constexpr long UnpackMemoryBoundKiB = 128 * 1024;
#endif
#else
constexpr long UnpackMemoryBoundKiB = 128 * 1024;
#endif

// Resident memory in KiB as /proc/self/status states it: "VmRSS:", or "VmHWM:" (the peak).
inline long statusKiB(const QByteArray &field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    const QByteArray text = status.open(QIODevice::ReadOnly) ? status.readAll() : QByteArray();
    const int at = text.indexOf(field);
    return at < 0 ? 0 : text.mid(at + field.size()).trimmed().split(' ').first().toLong();
}

// How far the peak resident memory grows from here, in KiB. Freed heap goes back to
// the system and the kernel's peak is reset (clear_refs) first, so neither reused
// heap nor an earlier row's higher peak hides growth. Where the reset is refused
// nothing is measured (kib() is 0): the row then skips rather than pass.
class ResidentGrowth
{
public:
    ResidentGrowth()
    {
        malloc_trim(0);
        QFile refs(QStringLiteral("/proc/self/clear_refs"));
        m_peak = refs.open(QIODevice::WriteOnly) && refs.write("5") == 1 && refs.flush();
        m_start = statusKiB("VmRSS:");
    }
    bool measured() const { return m_peak; }
    long kib() const { return m_peak ? statusKiB("VmHWM:") - m_start : 0; }

private:
    bool m_peak = false;
    long m_start = 0;
};

// Entries whose local headers carry 16,383 extra fields of 4 bytes, all alike or each with an id of
// its own beside one field in the central record: the shape whose local headers are costly to parse.
inline QList<HandZipEntry> costlyEntries(int count, bool distinct)
{
    QByteArray extra;
    for (int id = 0x4000; id < 0x4000 + 16383; ++id) // an id, then no data
        extra.append(char(distinct ? id : 0xFE)).append(char(distinct ? id >> 8 : 0xCA)).append(2, '\0');
    QList<HandZipEntry> entries;
    for (int i = 0; i < count; ++i)
        entries.append({"Yard/" + QByteArray::number(i), 0, -1, true, true, "x", -1, false, false, false,
                        false, extra, distinct ? QByteArray("\xfe\xca\0\0", 4) : QByteArray()});
    return entries;
}

// The archive z, its end record 65,558 bytes from the end (the farthest libzip looks) and at the end.
inline QByteArray withFarEndRecord(const QByteArray &z) { return z + QByteArray(65514, '\0') + z.right(22); }

// A byte, then the entries and central records of a project "Evil".
inline QByteArray evilInYard()
{
    return "x" + handMadeZip({{"Evil/Evil.db3", 0, -1, true, true, "SQLite stand-in of Evil"}}).chopped(22);
}

// The archives the unpacking limits are tried with, each holding a project "Yard":
// "100 kB of zeros", "5 GiB of zeros", "1 GiB stated as 1 MiB", "<count> entries";
// "<count> unlisted entries" (all but the first without a central record), "<count>
// listed entries" (all but the first only a central record), "<count> entries
// stated as 1" (the end record states 1), "<count> hidden entries" (a stored entry,
// its local header stating 1 byte, holds the central records of all but the first;
// "..., both headers stating 1": both its headers state 1 byte and a hidden record
// points it at 1 byte), "200 bytes stated, 1 stored", "Evil hidden in Yard" (Yard's
// database holds evilInYard()), "streamed, with extra fields" (HandZipEntry::streamed),
// "<count> entries in Zip64" (the end record's counts are placeholders), "an end record
// 65,558 bytes from the end, before the cost shape", "two end records" (of one directory),
// "data shared through a local extra field" (the second local header ends the first's extra),
// "<count> records, the count wrapped" (central records of 47 bytes, one-byte names, the end
// record stating count modulo 65,536, as Info-ZIP writes it; "<count> records, stated as <n>": it
// states n), "a Unicode path, <kind>" (a second file "Yard/cafe.txt" whose central record names
// "Yard/café.txt" through the Unicode path field with its right checksum; "wrong checksum": one
// the stored name does not have; "to ../": the field names "../evil"). Where the kind does not
// say what Yard's database holds, it is an empty file, or yardDb when given; for "Evil hidden
// in Yard" a given yardDb takes the place of evilInYard() (a database holding it, say).
inline QByteArray unpackLimitArchive(const QByteArray &kind, const QByteArray &yardDb = QByteArray())
{
    const quint64 mib = quint64(1) << 20;
    if (kind.contains(" records, stated as ") || kind.endsWith("the count wrapped")) {
        const QList<QByteArray> words = QByteArray(kind).replace(",", "").split(' ');
        QList<HandZipEntry> records;
        for (int i = 0; i < words.first().toInt(); ++i)
            records.append({"x", 0, -1, false});
        const int stated = (kind.endsWith("wrapped") ? words.first() : words.last()).toInt();
        return handMadeZip(records, stated % 0x10000);
    }
    if (kind.startsWith("a Unicode path")) {
        const QByteArray stored = "Yard/cafe.txt";
        const QByteArray named = kind.endsWith("to ../") ? "../evil" : "Yard/caf\xc3\xa9.txt";
        QByteArray field("\x75\x70\0\0\x01", 5);
        field[2] = char(5 + named.size());
        const uLong crc = crc32(0, reinterpret_cast<const Bytef *>(stored.constData()), uInt(stored.size()));
        for (int i = 0; i < 4; ++i)
            field.append(char(((crc ^ (kind.endsWith("wrong checksum") ? 1 : 0)) >> (8 * i)) & 0xFF));
        HandZipEntry cafe{stored, 0, -1, true, true, "cafe"};
        cafe.centralExtra = field + named;
        return handMadeZip({{"Yard/Yard.db3", 0, -1, true, true, yardDb}, cafe});
    }
    if (kind == "a directory libzip refuses") { // its one record's name runs past the directory
        QByteArray zip = handMadeZip({{"Yard/Yard.db3", 0, -1, true, true, yardDb}});
        return zip.replace(zip.lastIndexOf("PK\x01\x02") + 28, 2, "\xff\xff", 2);
    }
    QList<HandZipEntry> entries{{"Yard/Yard.db3", 0, -1, true, true, yardDb}};
    if (kind == "Evil hidden in Yard")
        entries = {{"Yard/Yard.db3", 0, -1, true, true, yardDb.isEmpty() ? evilInYard() : yardDb}};
    const bool both = kind == "streamed, sizes in both";
    if (kind == "streamed, with extra fields" || both)
        entries = {{"Yard/Yard.db3", 0, -1, true, true, "SQLite stand-in", -1, true, false, both},
                   {"Yard/sub/deep.txt", 0, -1, true, true, "deep", -1, true, false, both}};
    if (kind == "end records in the last entry")
        entries.append({"Yard/last", 0, -1, true, true,
                        QByteArray("PK\5\6\0\0\0\0\1\0\1\0\x2e\0\0\0\0\0\0\x10\0\0"
                                   "PK\5\6\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\xff\xff",
                                   44)});
    if (kind == "overlapping entries" || kind == "data shared through a local extra field")
        entries = {{"Yard/Yard.db3", 0, -1, true, true, "SQLite stand-in"},
                   {"Yard/copy", 0, -1, false, true, "SQLite stand-in"}};
    if (kind.startsWith("data shared")) { // a field of 15 zeros and the second local header (30 + 9)
        const QByteArray header = handMadeZip({{"Yard/copy", 0, -1, true, true, "SQLite stand-in"}});
        entries[0].localExtra = QByteArray("\xfe\xca\x36\0", 4) + QByteArray(15, '\0') + header.left(39);
        entries[1].at = 30 + 13 + 4 + 15;
    }
    if (kind == "wrong checksum in the third entry")
        entries << HandZipEntry{"Yard/a", 0, -1, true, true, "a"}
                << HandZipEntry{"Yard/b", 0, -1, true, true, "b", -1, false, false, false, true};
    if (kind == "200 bytes stated, 1 stored")
        entries.append({"Yard/short", 0, 200, true, true, "x"});
    if (kind == "100 kB of zeros")
        entries.append({"Yard/zeros", zeroRun(100000)});
    for (int i = 0; kind == "5 GiB of zeros" && i < 5; ++i)
        entries.append({"Yard/zeros" + QByteArray::number(i), zeroRun(1024 * mib)});
    if (kind == "1 GiB stated as 1 MiB")
        entries.append({"Yard/zeros", zeroRun(1024 * mib), qint64(mib)});
    const QList<QByteArray> words = kind.split(' ');
    const int count = kind.contains(" entries") ? QByteArray(words.first()).replace(",", "").toInt() : 0;
    const bool hide = words.at(1) == "hidden";
    QList<HandZipEntry> hidden;
    for (int i = 1; i < count; ++i)
        (hide ? hidden : entries)
            .append({"Yard/" + QByteArray::number(i), 0, -1, words.at(1) != "listed" && !hide,
                     words.at(1) != "unlisted"});
    const bool bothOne = kind.endsWith("both headers stating 1");
    if (bothOne)
        hidden.append({"Yard/hidden", 0, -1, false, true, "x"});
    if (!hidden.isEmpty())
        entries.append({"Yard/hidden", 0, bothOne ? 1 : -1, true, true, "x" + handMadeZip(hidden),
                        bothOne ? -1 : 1});
    if (kind.endsWith("before the cost shape"))
        return withFarEndRecord(handMadeZip(costlyEntries(20, true)));
    if (kind == "two end records")
        return handMadeZip(entries) + handMadeZip(entries).right(22);
    return handMadeZip(entries, kind.endsWith("stated as 1") ? 1 : -1, kind.endsWith("Zip64"));
}

} // namespace varnotest
