// Sweep actions of start-up and the project store: the layout checks and repairs, retention, new projects,
// the project-database check and id allocation.

#include "readfaults.h"

#include "bus/broadcastsocket.h"
#include "material/qtmateriallineedit.h"
#include "settings/projectadddlg.h"
#include "settings/projectswitch.h"
#include "store/cppsqlite3db.h"
#include "store/databaseinit.h"
#include "store/globals.h"
#include "store/idallocators.h"
#include "store/projectlist.h"
#include "store/queryhelpers.h"
#include "store/schema.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>

#include <functional>

namespace readfaults {

namespace {

using faultsweep::Action;

bool exec(const QString &sql)
{
    return gl_sqlite3db.execDML(sql);
}

// What start-up says on the hub, counted as said.
void hearHub(faultsweep::Run &run)
{
    QObject::connect(&gl_socket, &BroadcastSocket::signalsInformation, &run,
                     [&run](const QString &text) { run.say(text); });
}

QString stamp(int daysAgo)
{
    return QDateTime::currentDateTime().addDays(-daysAgo).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

// A project as a start finds it: history past the retention, more module addresses
// than are kept, and the network row of a configured installation.
void seedInUse()
{
    for (int days : {400, 31, 2}) {
        exec(QStringLiteral("insert into tbl_log(log_type,log_event,log_time) values(0,'On','%1')")
                 .arg(stamp(days)));
        exec(QStringLiteral("insert into tbl_message_log(message_id,recv_time) values(1,'%1')")
                 .arg(stamp(days)));
    }
    for (int i = 1; i <= 11; ++i)
        exec(QStringLiteral("insert into tbl_ip_port_mac(ip_port_mac,password,update_time) "
                            "values('00-00-00-00-00-00-00-%1','%2','202601%3000000')")
                 .arg(i, 2, 10, QLatin1Char('0'))
                 .arg(i * 1111)
                 .arg(i + 10));
    exec(QStringLiteral(
        "update tbl_network set subnet_id=7,device_id=8,ip_port_mac='11-22-33-44-55-66-77-88',"
        "password='2222',server_ip='srv',domain_name='dom',host_ip='10.0.0.9',server_type=2,"
        "static_server_ip='198.51.100.7',static_domain='home.example'"));
}

// A project of an older program: tbl_network and tbl_ip_port_mac without their later
// columns and tables missing. (An older version row reseeds some 300 rows: its upgrade
// failing part way is a row of tst_database, where it costs one run, not 300.)
void seedOldLayout()
{
    exec(QStringLiteral("drop table tbl_network"));
    exec(QStringLiteral(
        "create table tbl_network(id integer primary key,ip_port_mac nvarchar,password nvarchar,"
        "server_ip nvarchar,domain_name nvarchar,host_ip nvarchar)"));
    exec(QStringLiteral("insert into tbl_network(ip_port_mac,password,server_ip,domain_name,host_ip) "
                        "values('11-22-33-44-55-66-77-88','2222','srv','dom','10.0.0.9')"));
    exec(QStringLiteral("drop table tbl_ip_port_mac"));
    exec(QStringLiteral(
        "create table tbl_ip_port_mac(id integer primary key,ip_port_mac nvarchar,password nvarchar)"));
    exec(QStringLiteral(
        "insert into tbl_ip_port_mac(ip_port_mac,password) values('01-02-03-04-05-06-07-08','1111')"));
    exec(QStringLiteral(
        "insert into tbl_ip_port_mac(ip_port_mac,password) values('11-22-33-44-55-66-77-88','2222')"));
    exec(QStringLiteral("drop table tbl_message_status"));
    exec(QStringLiteral("drop table tbl_mood"));
}

// The start-up's own step: the project list and the current project's database.
void start(faultsweep::Run &run)
{
    hearHub(run);
    run.start();
    preInitProject();
    QCoreApplication::processEvents();
}

QString networkGlobals()
{
    return QStringList{gl_ip_port_mac, gl_password, gl_server_ip, gl_domain_name, gl_host_ip}.join(
        QLatin1Char('|'));
}

// A second project "Yard" with a database of its own, listed beside "Home".
void seedSecondProject()
{
    const QString home = gl_sqlite3db.getDbName();
    addProject(QStringLiteral("Yard"));
    QDir().mkpath(projectFolder(QStringLiteral("Yard")));
    initDatabase(projectDatabasePath(QStringLiteral("Yard")));
    exec(QStringLiteral("insert into tbl_room(room_name,room_id) values('Shed',3)"));
    gl_sqlite3db.close();
    gl_sqlite3db.setDbName(home);
    exec(QStringLiteral("insert into tbl_room(room_name,room_id) values('Hall',1)"));
}

// A row holding number in column, and the fixed column=value when given.
bool insertNumbered(const QString &table, const QString &column, int number, const QString &fixed)
{
    const QString columns = fixed.isEmpty() ? column : column + QLatin1Char(',') + fixed.section('=', 0, 0);
    const QString values =
        QString::number(number) + (fixed.isEmpty() ? QString() : QLatin1Char(',') + fixed.section('=', 1));
    return exec(QStringLiteral("insert into %1(%2) values(%3)").arg(table, columns, values));
}

// One allocator, used as its callers use it: the number it hands out goes into a new
// row; none is stored when it cannot tell which number is free.
Action allocation(const QString &what, std::function<int()> allocate, const QString &table,
                  const QString &column, const QString &fixed = QString())
{
    const auto seed = [=]() {
        for (int taken : {0, 1, 2, 4})
            insertNumbered(table, column, taken, fixed);
    };
    const auto script = [=](faultsweep::Run &run) {
        run.start();
        const int number = allocate();
        if (number < 0 || !insertNumbered(table, column, number, fixed))
            run.say(QStringLiteral("Failed to add!"));
    };
    return Action{QStringLiteral("startup"), QStringLiteral("a new %1 number").arg(what), seed, script,
                  nullptr};
}

} // namespace

QList<faultsweep::Action> startupActions()
{
    QList<Action> actions;
    actions << Action{QStringLiteral("startup"), QStringLiteral("a start on a project in use"), seedInUse,
                      start, networkGlobals};
    actions << Action{QStringLiteral("startup"), QStringLiteral("a start on an older layout"), seedOldLayout,
                      start, networkGlobals};
    actions << Action{QStringLiteral("startup"), QStringLiteral("a new project"), seedSecondProject,
                      [](faultsweep::Run &run) {
                          ProjectAddDlg dialog;
                          QObject::connect(&dialog, &MyDialog::signalsInformation, &run,
                                           [&run](const QString &text) { run.say(text); });
                          dialog.nameEdit()->setText(QStringLiteral("Barn"));
                          run.start();
                          dialog.pushButtonAdd_clicked();
                      },
                      nullptr};
    actions << Action{QStringLiteral("startup"), QStringLiteral("a switch to another project"),
                      seedSecondProject,
                      [](faultsweep::Run &run) {
                          const QString home = gl_sqlite3db.getDbName();
                          run.start();
                          if (!switchProjectDatabase(QStringLiteral("Yard")))
                              run.say(QStringLiteral("Failed to switch the project!"));
                          // The tables compared are Home's; Yard's database is compared as a file.
                          gl_sqlite3db.close();
                          gl_sqlite3db.setDbName(home);
                      },
                      networkGlobals};
    const QString room = QStringLiteral("room_id=5");
    const QString light = QStringLiteral("rgb=0");
    actions << allocation(QStringLiteral("room template"), getRoomTemplateId,
                          QStringLiteral("tbl_room_template"), QStringLiteral("room_template_id"))
            << allocation(QStringLiteral("region"), getRegionId, QStringLiteral("tbl_region"),
                          QStringLiteral("region_id"))
            << allocation(QStringLiteral("floor"), getFloorId, QStringLiteral("tbl_floor"),
                          QStringLiteral("floor_id"))
            << allocation(QStringLiteral("room"), getRoomId, QStringLiteral("tbl_room"),
                          QStringLiteral("room_id"))
            << allocation(QStringLiteral("light"), getLightId, QStringLiteral("tbl_light"),
                          QStringLiteral("light_id"), light)
            << allocation(QStringLiteral("template light"), getTemplateLightId,
                          QStringLiteral("tbl_template_light"), QStringLiteral("template_light_id"))
            << allocation(
                   QStringLiteral("air conditioner"), [] { return getACNO(5); },
                   QStringLiteral("tbl_air_conditioner"), QStringLiteral("air_conditioner_no"), room)
            << allocation(
                   QStringLiteral("floor heating"), [] { return getFHNO(5); },
                   QStringLiteral("tbl_air_conditioner"), QStringLiteral("air_conditioner_no"), room)
            << allocation(QStringLiteral("panel"), getPanelId, QStringLiteral("tbl_panel"),
                          QStringLiteral("panel_id"))
            << allocation(QStringLiteral("template panel"), getTemplatePanelId,
                          QStringLiteral("tbl_template_panel"), QStringLiteral("template_panel_id"))
            << allocation(QStringLiteral("message"), getMessageId, QStringLiteral("tbl_message"),
                          QStringLiteral("message_id"))
            << allocation(QStringLiteral("mood"), getMoodId, QStringLiteral("tbl_mood"),
                          QStringLiteral("mood_id"));
    return actions;
}

} // namespace readfaults
