// A project of incompressible pictures sent from one installation (A) to another
// (B) over a veth pair, each in a network namespace of its own, against curl
// posting an archive of the same project to B waiting in the same way.
//
// Figures: the time from the first body bytes reaching B (A's POST) to B's
// "success.", as a ratio to the same for curl (from curl's start); B's peak
// memory growth during each transfer beside the archive's size.
//
// First, "Send To Server" of a project of 30 photo rooms (4000 x 3000 photo-like PNGs
// of about 11 MB each, a database of a year's log) to a stand-in server on loopback:
// the time until the request arrives and until "success.", and the window's longest
// hold meanwhile (the worst lateness of a 10 ms timer). With the copy of the database
// taken off the window's thread: its time, and the longest a commit of the window
// waits for it.
//
// Then, without a network: the time and peak memory growth of opening (listing)
// archives whose local headers carry large or many extra fields, each against
// opening a plain archive with as many entries; and of refusing the one with many
// fields that holds a second end record 65,558 bytes from its end.
//
//   bench_transfer [megabytes]      (default 50; needs root in a private
//                                    network namespace, as ./bench/run gives)
//   bench_transfer pack [rooms]     (the packing alone; default 30 rooms)
//   bench_transfer copy [megabytes] (the database copy alone; default 1024 MB)
//
// The copy of a project's database of 1 GB for packing, while the window commits a
// row every 5 ms: the longest commit and the copy's time, the way packing took it
// before (one backup step from a connection of its own on a worker) as the baseline,
// and the way it takes it now (in slices through the window's connection).

#include "handmadezip.h"
#include "transferfixture.h"
#include "twoinstances.h"

#include "settings/projectuploaddlg.h"
#include "settings/transfersettings.h"
#include "store/cppsqlite3db.h"
#include "store/filehelpers.h"
#include "store/settings.h"
#include "store/startupconfig.h"
#if __has_include("store/databasecopy.h")
#include "store/databasecopy.h"
#define VARNO_HAS_DATABASE_COPY 1
#endif

#include "store/steppeddatabasecopy.h"

#include <QAbstractButton>
#include <QApplication>
#include <QBuffer>
#include <QImage>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTextStream>
#include <QThread>
#include <QTimer>

#include <sqlite3.h>

#include <arpa/inet.h>
#include <atomic>
#include <cstdio>
#include <netinet/in.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

using namespace transfertest;
using namespace twoinstances;

namespace {

QTextStream out(stdout);

// Peak and current resident size of a process in kB ("VmHWM", "VmRSS").
qint64 statusKb(qint64 pid, const char *field)
{
    const QList<QByteArray> lines = readFile(QStringLiteral("/proc/%1/status").arg(pid)).split('\n');
    for (const QByteArray &line : lines) {
        if (line.startsWith(field))
            return line.mid(int(qstrlen(field)) + 1).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

// Starts a fresh peak: the kernel sets the peak back to the current size.
qint64 resetPeak(qint64 pid)
{
    QFile clear(QStringLiteral("/proc/%1/clear_refs").arg(pid));
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
    return statusKb(pid, "VmRSS:");
}

struct Opening
{
    double ms = 0;
    long kib = 0;   // peak memory growth
    qint64 kb = 0;  // the archive's size
    bool listed = false;
};

// Opens (lists) the archive bytes, written into folder: its time and this
// process's peak memory growth.
Opening opening(const QByteArray &bytes, const QString &folder)
{
    const QString path = folder + QStringLiteral("/opening.zip");
    writeFile(path, bytes);
    const varnotest::ResidentGrowth memory;
    QElapsedTimer clock;
    clock.start();
    QList<ZipArchive::Entry> listed;
    const bool ok = ZipArchive::listEntries(path, listed);
    const double ms = double(clock.nsecsElapsed()) / 1e6;
    const long kib = memory.kib();
    QFile::remove(path);
    return {ms, kib, bytes.size() / 1000, ok};
}

// Opens (lists) the archive of these entries, which it must list whole.
Opening opening(const QList<varnotest::HandZipEntry> &entries, const QString &folder)
{
    const Opening opened = opening(varnotest::handMadeZip(entries), folder);
    if (!opened.listed)
        out << "bench_transfer: an archive to open was not listed\n";
    return opened;
}

void reportOpening(const QString &folder)
{
    // 16,383 fields of 4 bytes fill a local header's extra fields: alike, or each
    // with an id of its own beside one field in the central record.
    struct Shape
    {
        const char *name;
        int entries;
        bool distinct;
    };
    for (const Shape &shape : {Shape{"2,000 entries, 64 KiB of local extra fields each", 2000, false},
                               Shape{"20 entries, 16,383 distinct local extra fields each", 20, true}}) {
        QList<varnotest::HandZipEntry> plain;
        for (int i = 0; i < shape.entries; ++i)
            plain.append({"Yard/" + QByteArray::number(i), 0, -1, true, true, "x"});
        const QList<varnotest::HandZipEntry> heavy = varnotest::costlyEntries(shape.entries, shape.distinct);
        const Opening base = opening(plain, folder);
        const Opening with = opening(heavy, folder);
        out << "opening " << shape.name << " (" << with.kb << " kB): "
            << QString::asprintf("%.1f ms, peak +%.1f MiB; plain: %.1f ms, peak +%.1f MiB; "
                                 "time ratio %.2f (aim: the same order; memory under 64 MiB)\n",
                                 with.ms, with.kib / 1024.0, base.ms, base.kib / 1024.0,
                                 with.ms / qMax(0.001, base.ms));
        out.flush();
    }
    // Two end records that libzip reads make it weigh both directories by every
    // local header: such an archive is refused before libzip opens it.
    QList<varnotest::HandZipEntry> plain;
    for (int i = 0; i < 20; ++i)
        plain.append({"Yard/" + QByteArray::number(i), 0, -1, true, true, "x"});
    const Opening base = opening(plain, folder);
    const QByteArray costly = varnotest::handMadeZip(varnotest::costlyEntries(20, true));
    const Opening far = opening(varnotest::withFarEndRecord(costly), folder);
    out << "opening 20 entries, 16,383 distinct local extra fields each, a second end record 65,558 bytes "
        << "from the end (" << far.kb << " kB): "
        << QString::asprintf("%s in %.1f ms, peak +%.1f MiB; plain: %.1f ms; time ratio %.2f "
                             "(aim: refused, the same order)\n",
                             far.listed ? "listed" : "refused", far.ms, far.kib / 1024.0, base.ms,
                             far.ms / qMax(0.001, base.ms));
    // A count that wrapped at 65,536 over 196,608 records, and 5 stated over as many bytes:
    // refused before libzip parses past the count, against plain archives: one stored file of the
    // same size, and 10,000 entries whose names fill a directory as large.
    const QByteArray wrapped = varnotest::unpackLimitArchive("196,608 records, the count wrapped");
    QByteArray five = wrapped;
    five[five.size() - 12] = 5;
    five[five.size() - 14] = 5;
    QList<varnotest::HandZipEntry> named;
    for (int i = 0; i < 10000; ++i)
        named.append({"Yard/" + QByteArray::number(i).rightJustified(870, '0'), 0, -1, true, true, "x"});
    const QByteArray oneFile(wrapped.size() - 110, 'x');
    const Opening one = opening({{"Yard/x", 0, -1, true, true, oneFile}}, folder);
    const Opening many = opening(named, folder);
    const QList<QPair<QString, QByteArray>> shapes{{"196,608 records whose count wrapped to 0", wrapped},
                                                   {"196,608 records stated as 5", five}};
    for (const auto &shape : shapes) {
        const Opening count = opening(shape.second, folder);
        out << "opening " << shape.first << " (" << count.kb << " kB): "
            << QString::asprintf("%s in %.1f ms, peak +%.1f MiB; plain: one file of the same size %.1f ms, "
                                 "10,000 entries of a directory as large (%lld kB) %.1f ms, peak +%.1f MiB\n",
                                 count.listed ? "listed" : "refused", count.ms, count.kib / 1024.0, one.ms,
                                 many.kb, many.ms, many.kib / 1024.0);
    }
    out.flush();
}

// The cloud transfer server's stand-in, on a thread of its own: takes one upload on
// 127.0.0.1:6001, reading and dropping its body, and answers with a code.
class UploadSink
{
public:
    UploadSink()
    {
        m_listener = ::socket(AF_INET, SOCK_STREAM, 0);
        const int on = 1;
        ::setsockopt(m_listener, SOL_SOCKET, SO_REUSEADDR, &on, sizeof(on));
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(6001);
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        m_ok = ::bind(m_listener, reinterpret_cast<sockaddr *>(&address), sizeof(address)) == 0 &&
               ::listen(m_listener, 4) == 0;
        if (m_ok)
            m_thread = std::thread([this] { serve(); });
    }
    ~UploadSink()
    {
        ::shutdown(m_listener, SHUT_RDWR);
        ::close(m_listener);
        if (m_thread.joinable())
            m_thread.join();
    }
    bool ok() const { return m_ok; }
    // Milliseconds since start when the request arrived; -1 until then.
    qint64 arrivedMs() const { return m_arrived.load(); }
    QElapsedTimer started;

private:
    void serve()
    {
        const int socket = ::accept(m_listener, nullptr, nullptr);
        if (socket < 0)
            return;
        m_arrived = started.elapsed();
        QByteArray head;
        char buffer[1 << 16];
        qint64 body = -1;
        for (ssize_t got; body != 0 && (got = ::read(socket, buffer, sizeof(buffer))) > 0;) {
            if (body > 0) {
                body = qMax<qint64>(0, body - got);
                continue;
            }
            head.append(buffer, int(got));
            const int end = head.indexOf("\r\n\r\n");
            if (end < 0)
                continue;
            const int at = head.toLower().indexOf("content-length:");
            body = head.mid(at + 15, head.indexOf('\r', at) - at - 15).trimmed().toLongLong();
            body = qMax<qint64>(0, body - (head.size() - end - 4));
        }
        const QByteArray json = R"({"code":0,"data":{"token":"T1"}})";
        const QByteArray answer = "HTTP/1.1 200 OK\r\nContent-Type: application/json\r\nContent-Length: " +
                                  QByteArray::number(json.size()) + "\r\nConnection: close\r\n\r\n" + json;
        (void)::write(socket, answer.constData(), size_t(answer.size()));
        ::close(socket);
    }

    int m_listener = -1;
    bool m_ok = false;
    std::atomic<qint64> m_arrived{-1};
    std::thread m_thread;
};

// A photo-like picture: smooth shades and fine grain, as a camera's, about 11 MB as PNG.
QByteArray photoPng()
{
    QImage image(4000, 3000, QImage::Format_RGB32);
    QRandomGenerator grain(7);
    for (int y = 0; y < image.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const quint32 noise = grain.generate();
            line[x] = qRgb(int(x * 200 / 4000 + (noise & 3)), int(y * 200 / 3000 + ((noise >> 2) & 3)),
                           int((x + y) * 100 / 7000 + ((noise >> 4) & 1)));
        }
    }
    QBuffer bytes;
    bytes.open(QIODevice::WriteOnly);
    image.save(&bytes, "PNG");
    return bytes.data();
}

// An application folder of its own in folder, its current project open; its name.
QString startNewProject(const QTemporaryDir &folder)
{
    initConfig(folder.path());
    gl_curPath = folder.path();
    preInitProject();
    QString current;
    getCurrentProject(current);
    return current;
}

// "Send To Server" of the current project with rooms photo rooms.
void reportPacking(int rooms)
{
    QTemporaryDir folder;
    const QString current = startNewProject(folder);
    const QString project = projectFolder(current);
    // A year of a busy site's log.
    gl_sqlite3db.beginTransaction();
    for (int i = 0; i < 150000; ++i)
        gl_sqlite3db.execBound("insert into tbl_log(log_type,log_address,log_device,log_event,log_time) "
                               "values(?,?,?,?,?)",
                               {i % 5, "1-" + QString::number(i % 254), "Panel " + QString::number(i % 40),
                                "Universal switch " + QString::number(i % 200) + " alarm raised",
                                "2026-01-01 00:00:00"});
    gl_sqlite3db.commitTransaction();
    const QByteArray photo = photoPng();
    for (int i = 1; i <= rooms; ++i)
        writeFile(project + QStringLiteral("/photo_Room_%1.png").arg(i), photo);
    const qint64 dbKb = QFileInfo(projectDatabasePath(current)).size() / 1024;
    out << "project: " << rooms << " photo rooms of " << photo.size() / 1000 << " kB, database " << dbKb
        << " kB\n";
    out.flush();

#ifdef VARNO_HAS_DATABASE_COPY
    {
        // The copy on a worker while the window commits a write every 5 ms.
        std::atomic<bool> copying{true};
        QElapsedTimer clock;
        clock.start();
        std::thread worker([&] {
            DatabaseCopy::copy(projectDatabasePath(current), folder.filePath("copy.db3"));
            copying = false;
        });
        qint64 longestCommit = 0;
        int commits = 0;
        while (copying) {
            QElapsedTimer commit;
            commit.start();
            gl_sqlite3db.execDML("insert into tbl_log(log_type,log_event) values(1,'during the copy')");
            longestCommit = qMax(longestCommit, commit.elapsed());
            ++commits;
            QThread::msleep(5); // alarms as a busy site raises them, more often than a batch commits

        }
        worker.join();
        out << "database copy: " << clock.elapsed() << " ms, read held " << DatabaseCopy::lastReadMs()
            << " ms; the window's longest commit meanwhile " << longestCommit << " ms (" << commits
            << " commits; aim: under 100 ms)\n";
    }
#else
    out << "database copy: not made (the live file is packed)\n";
#endif

    setConfig(QLatin1String(TransferServerGroup), QLatin1String(TransferServerKey),
              QStringLiteral("127.0.0.1"));
    UploadSink sink;
    if (!sink.ok()) {
        out << "bench_transfer: port 6001 is taken\n";
        return;
    }
    ProjectUploadDlg dialog;
    dialog.projectNames = QStringList{current};
    dialog.show();
    QStringList said;
    QObject::connect(&dialog, &MyDialog::signalsInformation, [&said](QString text) { said << text; });
    // The window's pulse: a 10 ms timer, and how late it ever came.
    QElapsedTimer pulse;
    qint64 worst = 0;
    QTimer ticker;
    ticker.setTimerType(Qt::PreciseTimer);
    ticker.setInterval(10);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        worst = qMax(worst, pulse.restart() - 10);
    });
    sink.started.start();
    QTimer::singleShot(0, &dialog, [&] {
        pulse.start();
        ticker.start();
        dialog.findChild<QAbstractButton *>(QStringLiteral("pushButtonSendToServer"))->click();
    });
    QElapsedTimer clock;
    clock.start();
    while (said.isEmpty() && clock.elapsed() < 600000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    const qint64 total = sink.started.elapsed();
    ticker.stop();
    out << "Send To Server: request after " << sink.arrivedMs() << " ms, \"" << said.value(0) << "\" after "
        << total << " ms; the window's longest hold " << worst << " ms (aim: under 100 ms)\n";
    out.flush();
    gl_sqlite3db.close();
}

// The copy as packing took it before: SQLite's backup in one step from a read-only
// connection of its own, on the worker. Every commit of the window waits for it.
bool copyInOneRead(const QString &source, const QString &target)
{
    sqlite3 *from = nullptr, *to = nullptr;
    bool ok = sqlite3_open_v2(QFile::encodeName(source).constData(), &from,
                              SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, nullptr) == SQLITE_OK &&
              sqlite3_open_v2(QFile::encodeName(target).constData(), &to,
                              SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX,
                              nullptr) == SQLITE_OK;
    if (ok) {
        sqlite3_busy_timeout(from, CppSQLite3DB::busyTimeoutMs);
        sqlite3_exec(to, "pragma journal_mode=off; pragma synchronous=off", nullptr, nullptr, nullptr);
        sqlite3_backup *backup = sqlite3_backup_init(to, "main", from, "main");
        const int rc = backup ? sqlite3_backup_step(backup, -1) : SQLITE_ERROR;
        ok = backup && sqlite3_backup_finish(backup) == SQLITE_OK && rc == SQLITE_DONE;
    }
    ok = sqlite3_close(to) == SQLITE_OK && ok;
    sqlite3_close(from);
    return ok;
}

struct LiveCopy
{
    qint64 copyMs = 0;
    qint64 longestCommitMs = 0;
    qint64 longestHoldMs = 0; // the longest the window did other work between two commits
    int commits = 0;
    int slowCommits = 0; // over 50 ms
    bool ok = false;
};

// Copies the current project's database on a worker with copy while the window's event
// loop commits a row every 5 ms; without a copy, commits for ms milliseconds.
LiveCopy copyWhileCommitting(const std::function<bool()> &copy, int ms = 0)
{
    LiveCopy result;
    // Each run begins with nothing of the runs before waiting to be written.
    ::sync();
    std::atomic<bool> copying{true};
    QElapsedTimer clock, pulse;
    qint64 lastCommit = 0;
    QTimer ticker;
    ticker.setTimerType(Qt::PreciseTimer);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        result.longestHoldMs = qMax(result.longestHoldMs, pulse.restart() - 5 - lastCommit);
        QElapsedTimer commit;
        commit.start();
        gl_sqlite3db.execDML("insert into tbl_log(log_type,log_event) values(1,'during the copy')");
        lastCommit = commit.elapsed();
        result.longestCommitMs = qMax(result.longestCommitMs, lastCommit);
        result.slowCommits += lastCommit > 50;
        ++result.commits;
    });
    clock.start();
    pulse.start();
    ticker.start(5);
    std::thread worker([&] {
        result.ok = copy ? copy() : (QThread::msleep(ulong(ms)), true);
        result.copyMs = clock.elapsed();
        copying = false;
    });
    while (copying)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    worker.join();
    return result;
}

// A project database of megabytes MB copied for packing, the old way and the new.
void reportLiveCopy(int megabytes)
{
    QTemporaryDir folder;
    const QString current = startNewProject(folder);
    const QString db = projectDatabasePath(current), target = folder.filePath("copy.db3");
    QElapsedTimer made;
    made.start();
    gl_sqlite3db.execDML("create table big(b blob)");
    gl_sqlite3db.execDML(QStringLiteral("with n(i) as (select 1 union all select i + 1 from n where i < %1) "
                                        "insert into big select randomblob(65536) from n")
                             .arg(megabytes * 16));
    out << "live copy: database of " << QFileInfo(db).size() / (1 << 20) << " MB, made in " << made.elapsed()
        << " ms\n";
    out.flush();
    const LiveCopy idle = copyWhileCommitting(nullptr, 3000);
    const LiveCopy before = copyWhileCommitting([&] { return copyInOneRead(db, target); });
    QFile::remove(target);
    DatabaseCopy::Live live;
    live.connection = &gl_sqlite3db;
    live.path = db;
    live.stop = std::make_shared<std::atomic<bool>>(false);
    const LiveCopy after = copyWhileCommitting([&] { return DatabaseCopy::copy(db, target, live); });
    QFile::remove(target);
    for (const auto &[name, run] : {std::make_pair("no copy (the disk alone)", idle),
                                    std::make_pair("one read on a worker (before)", before),
                                    std::make_pair("slices on the window (now)", after)})
        out << "  " << name << ": " << run.copyMs << " ms" << (run.ok ? "" : " FAILED")
            << ", longest commit " << run.longestCommitMs << " ms, " << run.slowCommits << " of "
            << run.commits << " commits over 50 ms, the window's longest other work " << run.longestHoldMs
            << " ms\n";
    out << QString::asprintf("  now / before: longest commit %.3f, copy time %.2f (aim: commits <= 50 ms)\n",
                             double(after.longestCommitMs) / qMax<qint64>(1, before.longestCommitMs),
                             double(after.copyMs) / qMax<qint64>(1, before.copyMs));
    out.flush();
    gl_sqlite3db.close();
    QFile::remove(db);
}

bool fail(const char *what, const Installation &side)
{
    out << "bench_transfer: " << what << "\n" << side.lines.join('\n') << "\n";
    out.flush();
    return false;
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Kest"));
    QCoreApplication::setApplicationName(QStringLiteral("Varno"));
    if (argc > 1 && qstrcmp(argv[1], "copy") == 0) {
        reportLiveCopy(argc > 2 ? qMax(1, atoi(argv[2])) : 1024);
        return 0;
    }
    const bool packOnly = argc > 1 && qstrcmp(argv[1], "pack") == 0;
    if (QFile::symLinkTarget(QStringLiteral("/proc/self/ns/net")) !=
        QFile::symLinkTarget(QStringLiteral("/proc/1/ns/net")))
        reportPacking(packOnly && argc > 2 ? qMax(1, atoi(argv[2])) : 30);
    else
        out << "bench_transfer: packing skipped, run it inside a private network namespace\n";
    if (packOnly)
        return 0;
    reportLiveCopy(1024);
    const int megabytes = argc > 1 ? qMax(1, atoi(argv[1])) : 50;
    {
        QTemporaryDir folder;
        reportOpening(folder.path());
    }

    // Only ever inside a namespace of its own, never on the machine's network.
    if (QFile::symLinkTarget(QStringLiteral("/proc/self/ns/net")) ==
        QFile::symLinkTarget(QStringLiteral("/proc/1/ns/net"))) {
        out << "bench_transfer: skipped, run it inside a private network namespace (./bench/run)\n";
        return 0;
    }
    qputenv("VARNO_NETNS", "1");
    Network network;
    const QString why = network.setUp();
    const QString curl = findTool(QStringLiteral("curl"));
    if (!why.isEmpty() || curl.isEmpty()) {
        out << "bench_transfer: skipped, " << (why.isEmpty() ? QStringLiteral("needs curl") : why) << "\n";
        return 0;
    }

    QTemporaryDir root;
    Installation a(root.filePath(QStringLiteral("a")));
    Installation b(root.filePath(QStringLiteral("b")));
    for (Installation *side : {&a, &b}) {
        gl_curPath = side->appDir();
        preInitProject();
        gl_sqlite3db.close();
    }
    // "Big": a database and pictures of random bytes, 5 MB each.
    gl_curPath = a.appDir();
    addProject(QStringLiteral("Big"));
    makeProjectFolder(databaseFolder(), QStringLiteral("Big"));
    const int pictureBytes = 5 * 1024 * 1024;
    for (int i = 0, left = megabytes * 1024 * 1024; left > 0; ++i, left -= pictureBytes) {
        QByteArray bytes(qMin(left, pictureBytes), Qt::Uninitialized);
        QRandomGenerator::global()->fillRange(reinterpret_cast<quint32 *>(bytes.data()), bytes.size() / 4);
        writeFile(databaseFolder() + QStringLiteral("/Big/photo_big_%1.png").arg(i), bytes);
    }
    // The same project as the sender packs it: one top-level folder "Big".
    const QString archive = root.filePath(QStringLiteral("archive.zip"));
    {
        QTemporaryDir staging;
        if (!copyDirToPath(databaseFolder() + QStringLiteral("/Big"),
                           staging.filePath(QStringLiteral("Big")), true) ||
            !ZipArchive::compressDir(archive, staging.path()))
            return 1;
    }
    const qint64 archiveKb = QFileInfo(archive).size() / 1024;

    if (!a.start(QStringLiteral(VARNO_EXECUTABLE), network.in(true, {})) ||
        !b.start(QStringLiteral(VARNO_EXECUTABLE), network.in(false, {})))
        return 1;
    if (!a.command("page Project Setting") || !a.command("check labelProjectName Big") ||
        !a.command("click pushButtonUpload") || !a.commandSoon("click pushButtonSendToOtherDevice"))
        return fail("A did not open its upload dialog", a) ? 0 : 1;
    const QString code = a.text("labelCode");
    if (!b.command("page Project Setting") || !b.command("click pushButtonDownload") ||
        !b.commandSoon("type lineEditCode " + code.toUtf8()))
        return fail("B did not open its download dialog", b) ? 0 : 1;

    // Varno to Varno: from the first percentage on B to its "success.".
    qint64 baseKb = resetPeak(b.pid());
    if (!b.command("click pushButtonDownloadDevice"))
        return 1;
    QElapsedTimer clock;
    while (b.text("labelTitle").isEmpty()) {
    }
    clock.start();
    if (!b.waitForLine("INFO success.", 300000))
        return fail("B did not report success", b) ? 0 : 1;
    const qint64 varnoMs = clock.elapsed();
    const qint64 varnoGrowthKb = statusKb(b.pid(), "VmHWM:") - baseKb;
    b.lines.clear();

    // curl to Varno, in the same run.
    if (!b.command("click pushButtonDownloadDevice") || !b.command("text labelTitle"))
        return 1;
    baseKb = resetPeak(b.pid());
    const QStringList command = network.in(
        true, {curl, "-sS", "-o", "/dev/null", "-H", "Expect:", "-H", "Content-Type: application/zip", "-H",
               "deviceType: 0", "--data-binary", "@" + archive, "http://" + AddressB + ":8080/"});
    clock.restart();
    QProcess post;
    post.start(command.first(), command.mid(1));
    if (!b.waitForLine("INFO success.", 300000))
        return fail("B did not take curl's archive", b) ? 0 : 1;
    const qint64 curlMs = clock.elapsed();
    const qint64 curlGrowthKb = statusKb(b.pid(), "VmHWM:") - baseKb;
    post.waitForFinished(30000);

    out << "archive: " << archiveKb / 1024 << " MB of " << megabytes << " MB incompressible pictures\n";
    out << "A to B (Varno):  " << varnoMs << " ms, B's peak memory growth " << varnoGrowthKb / 1024
        << " MB\n";
    out << "curl to B:       " << curlMs << " ms, B's peak memory growth " << curlGrowthKb / 1024 << " MB\n";
    out << QString::asprintf("ratio Varno/curl: %.2f (aim: within 2)\n",
                             double(varnoMs) / qMax<qint64>(1, curlMs));
    out << QString::asprintf("B's growth / archive size: %.2f (Varno), %.2f (curl)\n",
                             double(varnoGrowthKb) / qMax<qint64>(1, archiveKb),
                             double(curlGrowthKb) / qMax<qint64>(1, archiveKb));
    return 0;
}
