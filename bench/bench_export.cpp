// The log export of a large project: 100,000 rows of tbl_log (filled by SQL)
// listed on the "Log" page and exported through the page's own export, against
// the same rows written as CSV through QSaveFile in the same run.
//
// Figures: the export's time as a ratio to the CSV time, both times, the time to
// list the rows on the page, the time from the delete mode's start through "Select
// All" to its confirmation as a ratio to the listing, the time to delete every
// listed row through the page's delete mode, and the peak resident memory after
// each step.
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
#include <QFileInfo>
#include <QSaveFile>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>
#include <QVariant>
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
    QElapsedTimer timer;
    timer.start();
    emit gl_socket.signalsPageEnter(QString(), QString());
    QCoreApplication::processEvents();
    const qint64 listMs = timer.elapsed();
    const long afterList = peakKiB();
    const QString from = page.startEdit()->dateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    const QString to = page.endEdit()->dateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));

    timer.restart();
    const bool csvOk = writeCsv(target.filePath(QStringLiteral("logs.csv")), from, to);
    const qint64 csvMs = timer.elapsed();
    const long afterCsv = peakKiB();

    const QString xlsx = target.filePath(QStringLiteral("logs.xlsx"));
    answerFileDialogsWith([&](FileDialogKind, const QString &, const QString &) { return xlsx; });
    QString result;
    QObject::connect(&gl_socket, &BroadcastSocket::signalsInformation,
                     [&](const QString &text) { result = text; });
    timer.restart();
    emit page.exportLabel()->signalsPressed();
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
    out << "listing on the page: " << listMs << " ms\n";
    out << "CSV through QSaveFile (baseline): " << csvMs << " ms, " << (csvOk ? "written" : "FAILED") << ", "
        << QFileInfo(target.filePath(QStringLiteral("logs.csv"))).size() / 1024 << " KiB\n";
    out << "xlsx through the page's export: " << exportMs << " ms, \"" << result << "\", "
        << QFileInfo(xlsx).size() / 1024 << " KiB\n";
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
    return csvOk && result == QLatin1String("Exprot successfully") && left == 0 ? 0 : 1;
}
