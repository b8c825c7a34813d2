#include "newproject.h"

#include "store/cppsqlite3db.h"
#include "store/databaseinit.h"
#include "store/filehelpers.h"
#include "store/globals.h"
#include "store/projectlist.h"
#include "store/queryhelpers.h"

#include <QDate>
#include <QFile>
#include <QStringList>

bool addDatabase(const QString &path)
{
    QString current;
    getCurrentProject(current);
    const QString source = projectDatabasePath(current);
    if (!source.isEmpty())
        copyFileToPath(source, path, true);

    gl_sqlite3db.close();
    gl_sqlite3db.setDbName(path);

    // Without a copy the file would be an empty database in which every
    // statement below fails: it gets the whole schema first.
    const bool copied = QFile::exists(path) && QFile(path).size() > 0 &&
                        gl_sqlite3db.tableExists(QStringLiteral("tbl_version"));

    static const char *const emptied[] = {
        "tbl_log",
        "tbl_region",
        "tbl_floor",
        "tbl_room_template",
        "tbl_room",
        "tbl_3d_view_manager",
        "tbl_3d_view_light",
        "tbl_3d_air_conditioner",
        "tbl_light",
        "tbl_template_light",
        "tbl_air_conditioner",
        "tbl_mood",
        "tbl_mood_light_status",
        "tbl_mood_air_conditioner_status",
        "tbl_mood_command",
        "tbl_occupation",
        "tbl_master",
        "tbl_panel",
        "tbl_template_panel",
        "tbl_message",
        "tbl_message_log",
        "tbl_network",
    };
    QStringList statements;
    for (const char *table : emptied)
        statements << QStringLiteral("delete from %1").arg(QLatin1String(table));
    statements << QString::asprintf(
        "insert into tbl_network(subnet_id,device_id,ip_port_mac,password,server_ip,domain_name,host_ip,"
        "server_type,static_server_ip,static_domain) values(%d,%d,'%s','%s','%s','%s','%s',%d,'%s','%s')",
        0, 0, "", "", "", "", sqlText(gl_host_ip).toUtf8().constData(), 0, "", "");
    statements << QStringLiteral("delete from tbl_last_update") << QStringLiteral("delete from tbl_version");
    statements << QString::asprintf(
        "insert into tbl_version(name,version,date) values('%s','%s','%s')", kDatabaseIdentity,
        QString::asprintf("%.2f", kSchemaVersion).toUtf8().constData(),
        QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd")).toUtf8().constData());
    // The schema, the emptying and the seeding: all of it or nothing.
    return runInTransaction(
        [&] { return (copied || createProjectSchema()) && execTransaction(statements); });
}
