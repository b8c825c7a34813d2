// Sweep actions of start-up and the project store: the layout checks and repairs, retention, new
// projects, the switch to another project's database and id allocation.

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

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>

namespace readfaults {

namespace {

using faultsweep::Action;
using faultsweep::Run;

bool exec(const QStringList &statements)
{
    bool done = true;
    for (const QString &sql : statements)
        done = gl_sqlite3db.execDML(sql) && done;
    return done;
}

// A project in use: history past the retention, more module addresses than are kept,
// the network row of a configured installation.
void seedInUse()
{
    for (int days : {400, 31, 2}) {
        const QString at = QDateTime::currentDateTime().addDays(-days).toString("yyyy-MM-dd HH:mm:ss");
        exec({"insert into tbl_log(log_type,log_event,log_time) values(0,'On','" + at + "')",
              "insert into tbl_message_log(message_id,recv_time) values(1,'" + at + "')"});
    }
    for (int i = 10; i <= 20; ++i)
        exec({QString("insert into tbl_ip_port_mac(ip_port_mac,password,update_time) values('00-%1','%1',"
                      "'202601010000%1')")
                  .arg(i)});
    exec({"update tbl_network set subnet_id=7,device_id=8,ip_port_mac='11-22-33-44-55-66-77-88',password="
          "'2222',server_ip='srv',domain_name='dom',host_ip='10.0.0.9',server_type=2,static_server_ip="
          "'198.51.100.7',static_domain='home.example'"});
}

// A project of an older program: the network row and the module history without their later
// columns, tables missing. (Its version row's upgrade reseeds some 300 rows: that failing part
// way is a row of the database tests, where it costs one run rather than 300.)
void seedOldLayout()
{
    exec({"drop table tbl_network", "drop table tbl_ip_port_mac", "drop table tbl_mood",
          "drop table tbl_message_status",
          "create table tbl_network(id integer primary key,ip_port_mac nvarchar,password nvarchar,"
          "server_ip nvarchar,domain_name nvarchar,host_ip nvarchar)",
          "insert into tbl_network(ip_port_mac,password,server_ip,domain_name,host_ip) "
          "values('11-22-33-44-55-66-77-88','2222','srv','dom','10.0.0.9')",
          "create table tbl_ip_port_mac(id integer primary key,ip_port_mac nvarchar,password nvarchar)",
          "insert into tbl_ip_port_mac(ip_port_mac,password) values('01-02','1111'),('11-22','2222')"});
}

// What start-up does with the database: the project list and the current project's database.
void start(Run &run)
{
    run.start();
    preInitProject();
    QCoreApplication::processEvents();
}


// A second project "Yard" with a database of its own.
void seedSecondProject()
{
    const QString home = gl_sqlite3db.getDbName();
    addProject("Yard");
    QDir().mkpath(projectFolder("Yard"));
    initDatabase(projectDatabasePath("Yard"));
    exec({"insert into tbl_room(room_name,room_id) values('Shed',3)"});
    gl_sqlite3db.close();
    gl_sqlite3db.setDbName(home);
    exec({"insert into tbl_room(room_name,room_id) values('Hall',1)"});
}

void addProjectBarn(Run &run)
{
    ProjectAddDlg dialog;
    dialog.nameEdit()->setText("Barn");
    run.start();
    dialog.pushButtonAdd_clicked();
}

void switchToYard(Run &run)
{
    const QString home = gl_sqlite3db.getDbName();
    run.start();
    if (!switchProjectDatabase("Yard"))
        run.say("Failed to switch the project!"); // as its callers say
    // Home's tables are compared; Yard's database as a file.
    gl_sqlite3db.close();
    gl_sqlite3db.setDbName(home);
}

// An allocator used as its callers use it: the number it hands out goes into a new row of
// table (with fixed columns and values), none when it cannot tell a free one.
Action allocation(const char *what, int (*allocate)(), const QString &table, const QString &fixed = "")
{
    const auto insert = [=](int number) {
        return exec({QString("insert into %1 values(%2)")
                         .arg(table.arg(fixed.section('=', 0, 0)))
                         .arg(QString::number(number) + fixed.section('=', 1))});
    };
    return Action{"startup", QString("a new %1 number").arg(what),
                  [=]() {
                      for (int taken : {0, 1, 2, 4})
                          insert(taken);
                  },
                  [=](Run &run) {
                      run.start();
                      const int number = allocate();
                      if (number < 0 || !insert(number))
                          run.say("Failed to add!");
                  },
                  nullptr};
}

} // namespace

QList<Action> startupActions()
{
    const QString ac = "tbl_air_conditioner(air_conditioner_no%1)";
    return {{"startup", "a start on a project in use", seedInUse, start, networkGlobals},
            {"startup", "a start on an older layout", seedOldLayout, start, networkGlobals},
            {"startup", "a new project", seedSecondProject, addProjectBarn, nullptr},
            {"startup", "a switch to another project", seedSecondProject, switchToYard, networkGlobals},
            allocation("room template", getRoomTemplateId, "tbl_room_template(room_template_id%1)"),
            allocation("region", getRegionId, "tbl_region(region_id%1)"),
            allocation("floor", getFloorId, "tbl_floor(floor_id%1)"),
            allocation("room", getRoomId, "tbl_room(room_id%1)"),
            allocation("light", getLightId, "tbl_light(light_id%1)", ",rgb=,0"),
            allocation("template light", getTemplateLightId, "tbl_template_light(template_light_id%1)"),
            allocation(
                "air conditioner", [] { return getACNO(5); }, ac, ",room_id=,5"),
            allocation(
                "floor heating", [] { return getFHNO(5); }, ac, ",room_id=,5"),
            allocation("panel", getPanelId, "tbl_panel(panel_id%1)"),
            allocation("template panel", getTemplatePanelId, "tbl_template_panel(template_panel_id%1)"),
            allocation("message", getMessageId, "tbl_message(message_id%1)"),
            allocation("mood", getMoodId, "tbl_mood(mood_id%1)")};
}

} // namespace readfaults
