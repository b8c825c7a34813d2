#include "databaseinit.h"

#include "store/cppsqlite3db.h"
#include "store/globals.h"
#include "store/queryhelpers.h"
#include "store/schema.h"
#include "store/vocabulary.h"

#include <QDate>
#include <QDateTime>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QVariant>
#include <QStringList>

const char *const kDatabaseIdentity = "Varno";

namespace {

const int kDefaultRetentionDays = 30;
const char *const kTimeFormat = "yyyy-MM-dd HH:mm:ss";

QString versionText()
{
    return QString::asprintf("%.2f", kSchemaVersion);
}

QString today()
{
    return QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd"));
}

QStringList numberNameRows(const char *insertFormat, const QVector<QPair<int, QString>> &rows)
{
    QStringList out;
    for (const auto &row : rows)
        out << QString::asprintf(insertFormat, row.first, sqlText(row.second).toUtf8().constData());
    return out;
}

// The cut-off time: now minus the retention; rows stamped at or before it go.
QString retentionCutoff()
{
    const int days = retentionDays(gl_retainDays);
    if (days < 0)
        return QString();
    return QDateTime::currentDateTime().addDays(-days).toString(QLatin1String(kTimeFormat));
}

void deleteExpiredLogRows()
{
    const QString cutoff = retentionCutoff();
    if (cutoff.isEmpty())
        return;
    gl_sqlite3db.execDML(QStringLiteral("delete from tbl_log where log_time <='%1'").arg(cutoff));
}

void deleteExpiredMessageRows()
{
    const QString cutoff = retentionCutoff();
    if (cutoff.isEmpty())
        return;
    gl_sqlite3db.execDML(
        QStringLiteral("delete from tbl_message_log where recv_time <='%1'").arg(cutoff));
}

QString networkRowInsert(const QString &mac, const QString &password, const QString &server,
                         const QString &domain, const QString &host)
{
    return QString::asprintf("insert into tbl_network(subnet_id,device_id,ip_port_mac,password,server_ip,"
                             "domain_name,host_ip,server_type,static_server_ip,static_domain) "
                             "values(%d,%d,'%s','%s','%s','%s','%s',%d,'%s','%s')",
                             0, 0, sqlText(mac).toUtf8().constData(),
                             sqlText(password).toUtf8().constData(), sqlText(server).toUtf8().constData(),
                             sqlText(domain).toUtf8().constData(), sqlText(host).toUtf8().constData(), 0,
                             "", "");
}

// The network settings held in tbl_network's first row.
struct NetworkRow
{
    QString mac, password, server, domain, host;
};

// Reads the first row of "select * from tbl_network" in one query; false, with
// row untouched, when the table has no row or it cannot be read (readable, when
// given, tells these apart).
bool readNetworkRow(NetworkRow &row, bool *readable = nullptr)
{
    QSqlQuery query = gl_sqlite3db.execQuery(QStringLiteral("select * from tbl_network"));
    const bool found = query.next();
    if (readable)
        *readable = rowsReadToEnd(query);
    if (!found)
        return false;
    const QSqlRecord record = query.record();
    const auto text = [&](const char *column) {
        const int index = record.indexOf(QLatin1String(column));
        return index < 0 ? QString() : query.value(index).toString();
    };
    row.mac = text("ip_port_mac");
    row.password = text("password");
    row.server = text("server_ip");
    row.domain = text("domain_name");
    row.host = text("host_ip");
    query.finish();
    return true;
}

void insertDefaultNetworkRow()
{
    gl_sqlite3db.execDML(networkRowInsert(QString(), QString(), QString(), QString(), gl_host_ip));
}

// Whether tbl_network lacks one of its later columns.
bool networkColumnMissing()
{
    static const char *const columns[] = {"subnet_id", "device_id", "server_type", "static_server_ip",
                                          "static_domain"};
    for (const char *column : columns) {
        if (!gl_sqlite3db.fieldExists(QLatin1String(column), QStringLiteral("tbl_network")))
            return true;
    }
    return false;
}

// Rebuilds tbl_network when one of its later columns is missing, carrying the
// module's MAC, password, server, domain and host address into the new row.
void repairNetworkTable()
{
    if (!networkColumnMissing())
        return;

    NetworkRow row;
    // The table is rebuilt from what was read: a row that cannot be read would be
    // rebuilt empty, its module address and password lost. It waits for a later start.
    bool readable = false;
    readNetworkRow(row, &readable);
    if (!readable)
        return;
    if (row.host.isEmpty())
        row.host = gl_host_ip;

    execTransaction({QStringLiteral("drop table tbl_network"),
                     createStatement(QStringLiteral("tbl_network")),
                     networkRowInsert(row.mac, row.password, row.server, row.domain, row.host)});
}

void repairIpPortMacTable()
{
    if (!gl_sqlite3db.fieldExists(QStringLiteral("update_time"), QStringLiteral("tbl_ip_port_mac"))) {
        execTransaction({QStringLiteral("drop table tbl_ip_port_mac"),
                         createStatement(QStringLiteral("tbl_ip_port_mac"))});
    }
    gl_sqlite3db.execDML(QStringLiteral(
        "delete from tbl_ip_port_mac where update_time not in "
        "(select update_time from tbl_ip_port_mac order by update_time desc limit 10)"));
}

// Refills the fixed tables and raises the version row when it is older than
// this program's schema, all in one transaction.
void checkVersion()
{
    QString text;
    if (!getTextFromDb(QStringLiteral("select version from tbl_version"), QStringLiteral("version"), text))
        return;
    bool ok = false;
    double version = text.trimmed().toDouble(&ok);
    if (!ok)
        version = 0.0;
    if (version >= kSchemaVersion - 1e-9)
        return;

    gl_sqlite3db.beginTransaction();
    initTableLogType();
    initTableMessageType();
    initTableMessageStatus();
    initTableFntType();
    initTableFntPrm1();
    initTableComP2Item();
    initTableComP3Item();
    initTableServerIp();
    initTableDomain();
    if (!gl_sqlite3db.execDML(
            QStringLiteral("update tbl_version set version='%1',date='%2'").arg(versionText(), today())))
        gl_sqlite3db.rollbackTransaction();
    else
        gl_sqlite3db.commitTransaction();
}

} // namespace

int retentionDays(const QString &text)
{
    static const QRegularExpression digits(QStringLiteral("^[0-9]+$"));
    if (!digits.match(text).hasMatch())
        return kDefaultRetentionDays;
    bool ok = false;
    const qlonglong days = text.toLongLong(&ok);
    // More days than a calendar can count back keeps everything.
    if (!ok || days > 3650000)
        return -1;
    return static_cast<int>(days);
}

void deleteExpiredRows()
{
    deleteExpiredLogRows();
    deleteExpiredMessageRows();
}

void initTableLogType()
{
    execTransaction(QStringList{QStringLiteral("delete from tbl_log_type")}
            + numberNameRows("insert into tbl_log_type(log_type,log_type_name) values(%d,'%s')",
                             {{0, QStringLiteral("device status")}, {1, QStringLiteral("device alert")}}));
}

void initTableMessageType()
{
    execTransaction(QStringList{QStringLiteral("delete from tbl_message_type")}
            + numberNameRows("insert into tbl_message_type(message_type,message_type_name) values(%d,'%s')",
                             {{0, QStringLiteral("service message")},
                              {1, QStringLiteral("alarm message")}}));
}

void initTableMessageStatus()
{
    execTransaction(QStringList{QStringLiteral("delete from tbl_message_status")}
            + numberNameRows(
                "insert into tbl_message_status(message_status,message_status_name) values(%d,'%s')",
                {{0, QStringLiteral("suspend")},
                 {1, QStringLiteral("user cancel")},
                 {2, QStringLiteral("processing")},
                 {3, QStringLiteral("processed")},
                 {4, QStringLiteral("secured")}}));
}

void initTableServerIp()
{
    // The maker's regional cloud servers. These are deployment settings; the
    // values shipped here are documentation addresses that reach nothing.
    static const QVector<QPair<QString, QString>> servers = {
        {QStringLiteral("Kest Server AUS"), QStringLiteral("203.0.113.10")},
        {QStringLiteral("Kest Server ASIA"), QStringLiteral("203.0.113.20")},
        {QStringLiteral("Kest Server USA"), QStringLiteral("203.0.113.30")},
    };
    QStringList statements{QStringLiteral("delete from tbl_server_ip")};
    for (const auto &server : servers) {
        statements << QStringLiteral("insert into tbl_server_ip(alias,ip) values('%1','%2')")
                          .arg(sqlText(server.first), sqlText(server.second));
    }
    execTransaction(statements);
}

void initTableDomain()
{
    // The maker's regional cloud services (AUS, USA, ASIA), as deployment
    // settings; names under .invalid never resolve.
    static const QStringList domains = {
        QStringLiteral("aus.kestgrid.invalid"),
        QStringLiteral("usa.kestgrid.invalid"),
        QStringLiteral("asia.kestgrid.invalid"),
    };
    QStringList statements{QStringLiteral("delete from tbl_domain")};
    for (const QString &domain : domains)
        statements << QStringLiteral("insert into tbl_domain(domain) values('%1')").arg(sqlText(domain));
    execTransaction(statements);
}

void getNetworkConfig()
{
    NetworkRow row;
    if (!readNetworkRow(row))
        return;
    gl_ip_port_mac = row.mac;
    gl_password = row.password;
    gl_server_ip = row.server;
    gl_domain_name = row.domain;
    gl_host_ip = row.host;
}

namespace {

// Creates every missing table with its fixed rows. With maintain set, it also
// prunes old rows, repairs tables and loads the network settings, as when a
// project is opened.
void createTables(bool maintain)
{
    for (const TableSchema &table : projectTables()) {
        const QString name = QLatin1String(table.name);
        const bool existed = gl_sqlite3db.tableExists(name);
        if (!existed)
            gl_sqlite3db.execDML(QLatin1String(table.createSql));
        const bool created = !existed;

        if (name == QLatin1String("tbl_log_type")) {
            if (created)
                initTableLogType();
        } else if (name == QLatin1String("tbl_log")) {
            if (maintain)
                deleteExpiredLogRows();
        } else if (name == QLatin1String("tbl_message_type")) {
            if (created)
                initTableMessageType();
        } else if (name == QLatin1String("tbl_message_status")) {
            if (created)
                initTableMessageStatus();
        } else if (name == QLatin1String("tbl_message_log")) {
            if (maintain)
                deleteExpiredMessageRows();
        } else if (name == QLatin1String("tbl_network")) {
            if (created)
                insertDefaultNetworkRow();
            else if (maintain)
                repairNetworkTable();
            if (maintain)
                getNetworkConfig();
        } else if (name == QLatin1String("tbl_server_ip")) {
            if (created)
                initTableServerIp();
        } else if (name == QLatin1String("tbl_domain")) {
            if (created)
                initTableDomain();
        } else if (name == QLatin1String("tbl_ip_port_mac")) {
            if (maintain)
                repairIpPortMacTable();
        } else if (name == QLatin1String("tbl_fnt_type")) {
            if (created)
                initTableFntType();
        } else if (name == QLatin1String("tbl_fnt_prm1")) {
            if (created)
                initTableFntPrm1();
        } else if (name == QLatin1String("tbl_comp2_item")) {
            if (created)
                initTableComP2Item();
        } else if (name == QLatin1String("tbl_comp3_item")) {
            if (created)
                initTableComP3Item();
        } else if (name == QLatin1String("tbl_version")) {
            if (created) {
                gl_sqlite3db.execDML(QStringLiteral("insert into tbl_version(name,version,date) "
                                                    "values('%1','%2','%3')")
                                         .arg(QLatin1String(kDatabaseIdentity), versionText(), today()));
            }
            if (maintain)
                checkVersion();
        }
    }
}

// Whether the database gl_sqlite3db points at was read and now holds every table,
// the repaired columns and a version row of this schema. A database that another
// writer holds, or that cannot be read, keeps what it lacked and fails here.
bool schemaComplete()
{
    const QStringList tables = gl_sqlite3db.getTableList();
    for (const TableSchema &table : projectTables()) {
        if (!tables.contains(QLatin1String(table.name)))
            return false;
    }
    if (networkColumnMissing() ||
        !gl_sqlite3db.fieldExists(QStringLiteral("update_time"), QStringLiteral("tbl_ip_port_mac")))
        return false;
    const QString sql = QStringLiteral("select version from tbl_version");
    QString version;
    if (!getTextFromDb(sql, QStringLiteral("version"), version))
        return false;
    return version.trimmed().toDouble() >= kSchemaVersion - 1e-9;
}

// SQLite's primary result codes for a file that was read and is no project
// database: a failed statement (no such table or column), a malformed file, and
// a file that is no database at all.
bool readButNotProject(const QSqlError &error)
{
    enum { Error = 1, Corrupt = 11, NotADatabase = 26 };
    const int code = error.nativeErrorCode().toInt() & 0xff;
    return code == Error || code == Corrupt || code == NotADatabase;
}

} // namespace

bool initDatabase(const QString &path)
{
    gl_sqlite3db.close();
    gl_sqlite3db.setDbName(path);
    gl_sqlite3db.open();
    if (!gl_sqlite3db.isOpen())
        return false;
    createTables(true);
    return schemaComplete();
}

void createProjectSchema()
{
    createTables(false);
}

bool isLegalFormat(const QString &path, bool *readable)
{
    // A connection of its own: gl_sqlite3db stays on the current project, so that
    // whatever is stored while the caller decides goes there.
    static int checks = 0;
    const QString name = QStringLiteral("format_check_%1").arg(checks++);
    bool legal = false;
    bool read = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        db.setConnectOptions(CppSQLite3DB::connectOptions());
        if (db.open()) {
            QSqlQuery query(db);
            if (query.exec(QStringLiteral("select name from tbl_version"))) {
                read = true;
                legal = query.next() && query.value(0).toString() == QLatin1String(kDatabaseIdentity);
            } else {
                read = readButNotProject(query.lastError());
            }
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    if (readable)
        *readable = read;
    return legal;
}
