// Adding 99 rooms in bulk from a template of 10 lights (3 of them colour lights of
// three channel rows) and 4 panels, into a project on disk: the whole add in one
// transaction, against the same statements committed one by one, in the same run.
//
//   bench_roomadd [rounds]      (default 3; the best round of each way counts)

#include "roomproject.h"

#include "commissioning/commissioningrules.h"
#include "commissioning/roomadder.h"
#include "store/cppsqlite3db.h"
#include "store/globals.h"
#include "store/projectlist.h"
#include "store/startupconfig.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>

namespace {

QTextStream out(stdout);

constexpr int Rooms = 99;

void emptyRooms()
{
    for (const char *table : {"tbl_room", "tbl_light", "tbl_panel", "tbl_region", "tbl_floor"})
        roomproject::exec(QStringLiteral("delete from %1").arg(QLatin1String(table)));
}

// Seconds for one bulk add; checks that every row is there.
double addOnce(bool oneTransaction)
{
    emptyRooms();
    QStringList names;
    for (int i = 0; i < Rooms; ++i)
        names.append(bulkRoomName(QStringLiteral("Room"), i, Rooms));
    RoomAdder adder(1);
    adder.setOneTransaction(oneTransaction);
    QElapsedTimer timer;
    timer.start();
    const bool ok = adder.add(QStringLiteral("North"), QStringLiteral("Ground"), names);
    const double seconds = timer.nsecsElapsed() / 1e9;
    const int lights = roomproject::value(QStringLiteral("select count(*) from tbl_light")).toInt();
    if (!ok || adder.addedRooms().size() != Rooms || lights != Rooms * 16)
        out << "  (the add did not write every row)\n";
    return seconds;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Kest"));
    QCoreApplication::setApplicationName(QStringLiteral("Varno-bench"));
    const int rounds = argc > 1 ? std::max(1, atoi(argv[1])) : 3;

    // Beside the program, on disk: /tmp may be a RAM file system.
    QTemporaryDir folder(QCoreApplication::applicationDirPath() + QStringLiteral("/roomadd-XXXXXX"));
    if (!folder.isValid())
        return 1;
    initConfig(folder.path());
    gl_curPath = folder.path();
    preInitProject();

    roomproject::addTemplate(1, QStringLiteral("Suite"));
    for (int i = 1; i <= 10; ++i)
        roomproject::addTemplateLight(1, i, i <= 3 ? 2 : 1, QStringLiteral("Light %1").arg(i));
    for (int i = 1; i <= 4; ++i)
        roomproject::addTemplatePanel(1, i, QStringLiteral("Panel %1").arg(i));

    double single = 1e9;
    double each = 1e9;
    for (int round = 0; round < rounds; ++round) {
        single = std::min(single, addOnce(true));
        each = std::min(each, addOnce(false));
    }
    out << "99 rooms (10 lights, 4 panels each), " << rounds << " rounds, best of each:\n";
    out << QStringLiteral("  one transaction:          %1 s\n").arg(single, 0, 'f', 4);
    out << QStringLiteral("  each statement committed: %1 s (baseline)\n").arg(each, 0, 'f', 4);
    out << QStringLiteral("  ratio one transaction / baseline: %1 (%2x faster)\n")
               .arg(single / each, 0, 'f', 4)
               .arg(each / single, 0, 'f', 1);
    gl_sqlite3db.close();
    return 0;
}
