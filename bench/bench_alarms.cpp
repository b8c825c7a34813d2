// A backlog of alarms: 1,000 alarms of ten panels arrive while every insert into
// the message log fails, and are kept. Then the database writes again and the
// next tick of the message timer stores them, and the message bar shows each.
// Prints how long the window was held at most meanwhile (the worst lateness of a
// 5 ms timer), how long the whole backlog took to be stored and shown, and, as
// the baseline, how long the same 1,000 alarms take to be stored as they arrive.
//
//   bench_alarms [alarms]      (default 1000)

#include "roomproject.h"
#include "stepfault.h"

#include "records/messagebar.h"
#include "shell/panelmessageintake.h"
#include "store/cppsqlite3db.h"
#include "store/globals.h"
#include "store/projectlist.h"
#include "store/startupconfig.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>

#include <algorithm>

namespace {

QTextStream out(stdout);

int storedAlarms()
{
    return roomproject::value(QStringLiteral("select count(*) from tbl_message_log")).toInt();
}

// Raises count alarms, ten panels in turn.
void raise(PanelMessageIntake &intake, int count)
{
    for (int i = 0; i < count; ++i)
        intake.processUniversalSwitch(1, static_cast<unsigned char>(20 + i % 10), 9, 1);
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Kest"));
    QCoreApplication::setApplicationName(QStringLiteral("Varno-bench"));
    const int alarms = argc > 1 ? std::max(1, atoi(argv[1])) : PanelMessageIntake::MaxUnstored;

    // Beside the program, on disk: /tmp may be a RAM file system.
    QTemporaryDir folder(QCoreApplication::applicationDirPath() + QStringLiteral("/alarms-XXXXXX"));
    if (!folder.isValid())
        return 1;
    initConfig(folder.path());
    gl_curPath = folder.path();
    preInitProject();
    roomproject::addRegion(1, QStringLiteral("North"));
    roomproject::addFloor(1, 1, QStringLiteral("1F"));
    roomproject::addRoom(7, QStringLiteral("Room 101"), 1, 1);
    for (int i = 0; i < 10; ++i)
        roomproject::addPanel(7, i + 1, 1, 20 + i);
    roomproject::addMessage(12, 1, QStringLiteral("Fire"), 9);

    // Baseline: each alarm stored as it arrives.
    double live = 0;
    {
        PanelMessageIntake intake;
        MessageBar bar;
        bar.show();
        QElapsedTimer timer;
        timer.start();
        raise(intake, alarms);
        live = timer.nsecsElapsed() / 1e9;
        if (storedAlarms() != alarms)
            out << "  (the baseline did not store every alarm)\n";
        roomproject::exec(QStringLiteral("delete from tbl_message_log"));
    }

    PanelMessageIntake intake;
    MessageBar bar;
    bar.show();
    StepFault::arm(QStringLiteral("insert into tbl_message_log"), -1);
    raise(intake, alarms);
    StepFault::disarm();
    const int kept = intake.unstored();

    qint64 worst = 0;
    QElapsedTimer sinceTick;
    QTimer probe;
    QObject::connect(&probe, &QTimer::timeout, [&]() {
        worst = std::max(worst, sinceTick.elapsed() - 5);
        sinceTick.restart();
    });
    QElapsedTimer backlog;
    QTimer::singleShot(20, [&]() {
        backlog.start();
        intake.slotsUniversalSwitch();
    });
    QTimer done;
    QObject::connect(&done, &QTimer::timeout, [&]() {
        if (backlog.isValid() && intake.unstored() == 0 && bar.tiles().size() == alarms)
            app.quit();
    });
    sinceTick.start();
    probe.start(5);
    done.start(1);
    app.exec();
    const double drained = backlog.nsecsElapsed() / 1e9; // stored and shown

    out << alarms << " alarms of 10 panels, " << kept << " kept while the inserts failed:\n";
    out << QStringLiteral("  stored after the fault: %1 rows, %2 tiles\n")
               .arg(storedAlarms())
               .arg(bar.tiles().size());
    out << QStringLiteral("  longest hold of the window: %1 ms\n").arg(worst);
    out << QStringLiteral("  backlog stored in:        %1 s\n").arg(drained, 0, 'f', 4);
    out << QStringLiteral("  stored as they arrive:    %1 s (baseline)\n").arg(live, 0, 'f', 4);
    out << QStringLiteral("  ratio backlog / baseline: %1\n").arg(drained / live, 0, 'f', 3);
    gl_sqlite3db.close();
    return 0;
}
