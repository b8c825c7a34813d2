// Sweep actions of start-up and the project store: the layout checks, repairs and retention of a
// start, a new project, a switch to another project, and the record numbers.

#include "readfaults.h"

#include "settings/projectadddlg.h"
#include "settings/projectswitch.h"
#include "store/cppsqlite3db.h"
#include "store/databaseinit.h"
#include "store/idallocators.h"
#include "store/projectlist.h"

#include <QCoreApplication>
#include <QDir>
#include <qtmateriallineedit.h>

// A project in use: history past the retention, a module address with its time, a network row.
static const char *const InUse =
    "with d(n) as (values(400),(31),(2)) insert into tbl_log(log_type,log_event,log_time) "
    "select 0,'On',datetime('now','localtime','-'||n||' days') from d;"
    "insert into tbl_ip_port_mac(ip_port_mac,password,update_time) values('01-02','1111','20260101000001');"
    "update tbl_network set subnet_id=7,ip_port_mac='11-22',password='2222',server_ip='srv'";

// A project of an older program: the module history without its times, tables missing.
static const char *const OldLayout =
    "drop table tbl_mood;drop table tbl_message_status;drop table tbl_ip_port_mac;"
    "create table tbl_ip_port_mac(id integer primary key,ip_port_mac nvarchar,password nvarchar);"
    "insert into tbl_ip_port_mac(ip_port_mac,password) values('01-02','1111'),('11-22','2222')";

// Each allocator with the row that takes its number, as its callers insert it.
static const std::pair<int (*)(), const char *> Numbers[] = {
    {getRoomTemplateId, "insert into tbl_room_template(room_template_id) values(%1)"},
    {getRegionId, "insert into tbl_region(region_id) values(%1)"},
    {getFloorId, "insert into tbl_floor(floor_id) values(%1)"},
    {getRoomId, "insert into tbl_room(room_id) values(%1)"},
    {getLightId, "insert into tbl_light(light_id,rgb) values(%1,0)"},
    {getTemplateLightId, "insert into tbl_template_light(template_light_id) values(%1)"},
    {[] { return getACNO(5); }, "insert into tbl_air_conditioner(air_conditioner_no,room_id) values(%1,5)"},
    {[] { return getFHNO(5); }, "insert into tbl_air_conditioner(air_conditioner_no,room_id) values(%1,5)"},
    {getPanelId, "insert into tbl_panel(panel_id) values(%1)"},
    {getTemplatePanelId, "insert into tbl_template_panel(template_panel_id) values(%1)"},
    {getMessageId, "insert into tbl_message(message_id) values(%1)"},
    {getMoodId, "insert into tbl_mood(mood_id) values(%1)"}};

QList<faultsweep::Action> readfaults::startupActions()
{
    const auto takeNumbers = [] { // 0, 1, 2 and 4 of each
        for (const auto &number : Numbers)
            for (int taken : {0, 1, 2, 4})
                gl_sqlite3db.execDML(QString(number.second).arg(taken));
    };
    // A new number of each kind goes into its row; none when one cannot be told.
    const auto addNumbers = [](faultsweep::Run &run) {
        run.start();
        QStringList rows;
        for (const auto &number : Numbers)
            rows << QString(number.second).arg(number.first());
        if (rows.join(';').contains("(-1") || !gl_sqlite3db.execTransaction(rows))
            run.say("Failed to add!");
    };
    const auto seed = [](const char *sql) {
        return [sql] { gl_sqlite3db.execTransaction(QString(sql).split(';')); };
    };
    const auto start = [](faultsweep::Run &run) {
        run.start();
        preInitProject();
        QCoreApplication::processEvents(); // the failure is said from the event loop
    };
    // A second project "Yard" with a module of its own; its database is compared as a file.
    const auto seedYard = [] {
        const QString home = gl_sqlite3db.getDbName();
        addProject("Yard");
        QDir().mkpath(projectFolder("Yard"));
        initDatabase(projectDatabasePath("Yard"));
        gl_sqlite3db.execDML("update tbl_network set ip_port_mac='33-44',password='4444'");
        gl_sqlite3db.close();
        gl_sqlite3db.setDbName(home);
    };
    const auto switchToYard = [](faultsweep::Run &run) {
        const QString home = gl_sqlite3db.getDbName();
        run.start();
        if (!switchProjectDatabase("Yard"))
            run.say("Failed to switch the project!"); // as its callers say
        gl_sqlite3db.close();
        gl_sqlite3db.setDbName(home);
    };
    const auto addProject = [](faultsweep::Run &run) {
        ProjectAddDlg dialog;
        dialog.nameEdit()->setText("Barn");
        run.start();
        dialog.pushButtonAdd_clicked();
    };
    return {{"startup", "a start on a project in use", seed(InUse), start, networkGlobals},
            {"startup", "a new project", nullptr, addProject, nullptr},
            {"startup", "a switch to another project", seedYard, switchToYard, networkGlobals},
            {"startup", "a start on an older layout", seed(OldLayout), start, networkGlobals},
            {"startup", "a new number of each kind", takeNumbers, addNumbers, nullptr}};
}
