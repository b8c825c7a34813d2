// The log export of a large project: 100,000 rows of tbl_log (filled by SQL)
// listed on the "Log" page and exported through the page's own export, against
// the same rows written as CSV through QSaveFile in the same run.
//
// Figures: the export's time as a ratio to the CSV time, both times, the longest
// hold of the window while the export runs, the time to
// list the rows on a shown window until it answers again (on entry and for a tenth
// of the rows, each into an empty list, and for all of them again in place of a
// list of all) with the growth from a tenth to all, the time from the delete mode's
// start through "Select All" to its confirmation as a ratio to the listing, the time
// to delete every listed row through the page's delete mode, and the peak resident
// memory after each step.
//
//   bench_export [rows]      (default 100000)

#include "projectfixture.h"

#include "bus/broadcastsocket.h"
#include "records/pagelog.h"
#include "shell/filedialogs.h"
#include "store/cppsqlite3db.h"
#include "store/globals.h"
#include "store/queryhelpers.h"
#include "store/records.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QSaveFile>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>
#include <QVariant>
#include <QWindow>
#include <qtmaterialdatetimeedit.h>
#include <qtmaterialflatbutton.h>
#include <qtmateriallabel.h>

#include <sys/resource.h>

namespace {

QTextStream out(stdout);

long peakKiB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

QByteArray csvCell(const QString &text)
{
    QByteArray cell = text.toUtf8();
    cell.replace('"', "\"\"");
    return '"' + cell + '"';
}

// The baseline: the page's range query written as CSV, committed in one step.
bool writeCsv(const QString &path, const QString &from, const QString &to)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write("Time,Address,Device,Event,Type\n");
    QSqlQuery query = gl_sqlite3db.execQuery(
        QStringLiteral("select * from tbl_log where log_time>='%1'and log_time<='%2' order by log_time desc")
            .arg(from, to));
    while (query.next()) {
        QByteArray line;
        for (const char *column : {"log_time", "log_address", "log_device", "log_event"})
            line += csvCell(query.value(QLatin1String(column)).toString()) + ',';
        line += query.value(QStringLiteral("log_type")).toInt() == 1 ? "device alert\n" : "device status\n";
        file.write(line);
    }
    query.finish();
    return file.commit();
}

// Waits until the window is on screen, as the user sees it before anything is listed.
bool waitExposed(QWidget &window)
{
    QElapsedTimer waited;
    waited.start();
    while (!(window.windowHandle() && window.windowHandle()->isExposed()) && waited.elapsed() < 5000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    return window.windowHandle() && window.windowHandle()->isExposed();
}

// Sees the first listed row painted.
class PaintSpy : public QObject
{
public:
    bool painted = false;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            painted = true;
        return QObject::eventFilter(watched, event);
    }
};

// The time from the change that lists the rows until the window answers again: the
// first row has been painted and a call queued after that paint has run. -1 when no
// row was painted within ten minutes.
template<typename Change>
qint64 untilAnswered(PageLog &page, Change change)
{
    QElapsedTimer timer;
    timer.start();
    change();
    if (page.tiles().isEmpty())
        return -1;
    PaintSpy spy;
    page.tiles().first()->installEventFilter(&spy);
    while (!spy.painted && timer.elapsed() < 600000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    page.tiles().first()->removeEventFilter(&spy);
    if (!spy.painted)
        return -1;
    QEventLoop loop;
    QTimer::singleShot(0, &loop, &QEventLoop::quit);
    loop.exec();
    return timer.elapsed();
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir home;
    qputenv("HOME", home.path().toUtf8());
    qputenv("XDG_CONFIG_HOME", home.path().toUtf8());
    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Kest"));
    QCoreApplication::setApplicationName(QStringLiteral("Varno"));
    registerVarnoMetaTypes();
    const int rows = argc > 1 ? QString::fromLatin1(argv[1]).toInt() : 100000;
    screen_cx = 1920;
    screen_cy = 1080;

    varnotest::ProjectFolder folder;
    QTemporaryDir target;
    // One row a second back from now, so the page's seven days hold them all.
    const QString now = QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    gl_sqlite3db.execDML(
        QStringLiteral(
            "insert into tbl_log(log_type,log_address,log_device,log_event,log_time) "
            "with recursive n(i) as (select 1 union all select i+1 from n where i<%1) "
            "select i % 2,'North-Ground-Room '||(i % 50),'light_Lamp '||(i % 20),'brightness '||(i % 101),"
            "datetime('%2','-'||i||' seconds') from n")
            .arg(rows)
            .arg(now));
    const int stored =
        getValueFromDb(QStringLiteral("select count(*) as n from tbl_log"), QStringLiteral("n"));

    PageLog page(QStringLiteral("Log"), QStringLiteral("Log"));
    page.resize(1920, 900);
    page.show();
    const bool exposed = waitExposed(page);
    // Entry lists the last seven days into an empty list. A tenth of the rows, the
    // newest, is then listed into an empty list too, for the growth. Last, all of them
    // again in place of a drawn list of all, as after a deletion; the old rows are
    // deleted before the window answers.
    const qint64 listMs = untilAnswered(page, [] { emit gl_socket.signalsPageEnter(QString(), QString()); });
    const QDateTime entryStart = page.startEdit()->dateTime();
    const QDateTime entryEnd = page.endEdit()->dateTime();
    const int listedOnEntry = page.tiles().size();
    page.startEdit()->setDateTime(entryEnd.addSecs(1));
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    const qint64 tenthMs =
        untilAnswered(page, [&] { page.startEdit()->setDateTime(entryEnd.addSecs(-(rows / 10))); });
    const int listedTenth = page.tiles().size();
    untilAnswered(page, [&] { page.startEdit()->setDateTime(entryStart.addSecs(1)); });
    const qint64 relistMs = untilAnswered(page, [&] { page.startEdit()->setDateTime(entryStart); });
    const long afterList = peakKiB();
    QElapsedTimer timer;
    const QString from = page.startEdit()->dateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    const QString to = page.endEdit()->dateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));

    timer.start();
    const bool csvOk = writeCsv(target.filePath(QStringLiteral("logs.csv")), from, to);
    const qint64 csvMs = timer.elapsed();
    const long afterCsv = peakKiB();

    const QString xlsx = target.filePath(QStringLiteral("logs.xlsx"));
    answerFileDialogsWith([&](FileDialogKind, const QString &, const QString &) { return xlsx; });
    QString result;
    QObject::connect(&gl_socket, &BroadcastSocket::signalsInformation,
                     [&](const QString &text) { result = text; });
    // The export runs beside the window: its longest hold is the worst lateness of a
    // 5 ms timer while it runs.
    QElapsedTimer tick;
    qint64 held = 0;
    QTimer beat;
    QObject::connect(&beat, &QTimer::timeout, [&] {
        held = qMax(held, tick.restart() - 5);
    });
    timer.restart();
    emit page.exportLabel()->signalsPressed();
    tick.start();
    beat.start(5);
    while (page.isExporting())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    beat.stop();
    const qint64 exportMs = timer.elapsed();
    const long afterExport = peakKiB();

    // Deleting every listed row through the page's delete mode: first the time from
    // the press that starts the mode, through "Select All" and the second press, to
    // the confirmation being up; then the deletion, timed from "Ok".
    const int listed = page.tiles().size();
    qint64 okAt = -1;
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&]() {
        QWidget *modal = QApplication::activeModalWidget();
        auto *ok = modal ? modal->findChild<QAbstractButton *>(QStringLiteral("pushButtonOk")) : nullptr;
        if (!ok)
            return;
        answer.stop();
        // Up means drawn, with whatever the window still had to paint.
        QApplication::processEvents();
        okAt = timer.elapsed();
        ok->click();
    });
    timer.restart();
    emit page.deleteLabel()->signalsPressed();
    page.selectAllButton()->click();
    answer.start(1);
    emit page.deleteLabel()->signalsPressed();
    // The old rows go when the event loop next runs; until then the window is busy.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QApplication::processEvents();
    const qint64 deleteMs = timer.elapsed() - okAt;
    const int left =
        getValueFromDb(QStringLiteral("select count(*) as n from tbl_log"), QStringLiteral("n"));

    out << "rows in tbl_log: " << stored << ", listed: " << listed << '\n';
    const auto answered = [](qint64 ms) {
        return ms < 0 ? QStringLiteral("NOT DRAWN") : QStringLiteral("%1 ms").arg(ms);
    };
    out << "window exposed: " << (exposed ? "yes" : "NO") << '\n';
    out << "listing on the shown page until it answers: on entry " << answered(listMs) << " ("
        << listedOnEntry << " rows), a tenth " << answered(tenthMs) << " (" << listedTenth
        << " rows), all again in place of all " << answered(relistMs) << '\n';
    out << "growth from a tenth to all, both into an empty list: "
        << QString::number(double(listMs) / double(qMax<qint64>(1, tenthMs)), 'f', 1)
        << "x for 10x the rows; listing all as a ratio to the CSV: "
        << QString::number(double(relistMs) / double(qMax<qint64>(1, csvMs)), 'f', 2)
        << (listMs >= 0 && relistMs >= 0 && qMax(listMs, relistMs) < 3000 ? "  (within 3 s)\n"
                                                                          : "  (OUTSIDE 3 s)\n");
    out << "CSV through QSaveFile (baseline): " << csvMs << " ms, " << (csvOk ? "written" : "FAILED") << ", "
        << QFileInfo(target.filePath(QStringLiteral("logs.csv"))).size() / 1024 << " KiB\n";
    out << "xlsx through the page's export: " << exportMs << " ms, \"" << result << "\", "
        << QFileInfo(xlsx).size() / 1024 << " KiB; the window held at most " << held << " ms at a time\n";
    out << "ratio export / CSV: "
        << QString::number(double(exportMs) / double(qMax<qint64>(1, csvMs)), 'f', 2)
        << (exportMs <= 5 * qMax<qint64>(1, csvMs) && exportMs < 5000 ? "  (within 5x and 5 s)\n"
                                                                      : "  (OUTSIDE 5x or 5 s)\n");
    out << "delete mode, \"Select All\" and \"Delete\" until the confirmation is up: " << okAt
        << " ms, ratio to the listing: "
        << QString::number(double(okAt) / double(qMax<qint64>(1, listMs)), 'f', 2)
        << (okAt >= 0 && okAt < 1000 ? "  (within 1 s)\n" : "  (OUTSIDE 1 s)\n");
    out << "deleting every listed row after \"Ok\": " << deleteMs
        << " ms (the empty list rebuilt included), " << left << " rows left\n";
    out << "peak memory: " << afterList / 1024 << " MiB after listing, +" << (afterCsv - afterList) / 1024
        << " MiB for the CSV, +" << (afterExport - afterCsv) / 1024 << " MiB for the export ("
        << afterExport / 1024 << " MiB in all)\n";
    out.flush();
    return exposed && listMs >= 0 && relistMs >= 0 && csvOk && result == QLatin1String("Exprot successfully")
                   && left == 0
               ? 0
               : 1;
}
