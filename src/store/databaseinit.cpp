#include "databaseinit.h"

#include "store/cppsqlite3db.h"
#include "store/globals.h"
#include "store/queryhelpers.h"
#include "store/schema.h"
#include "store/vocabulary.h"

#include <QAtomicInt>
#include <QDate>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
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

bool deleteExpiredLogRows()
{
    const QString cutoff = retentionCutoff();
    if (cutoff.isEmpty())
        return true;
    return gl_sqlite3db.execDML(QStringLiteral("delete from tbl_log where log_time <='%1'").arg(cutoff));
}

bool deleteExpiredMessageRows()
{
    const QString cutoff = retentionCutoff();
    if (cutoff.isEmpty())
        return true;
    return gl_sqlite3db.execDML(
        QStringLiteral("delete from tbl_message_log where recv_time <='%1'").arg(cutoff));
}

// The network settings held in tbl_network's first row.
struct NetworkRow
{
    int subnet = 0;
    int device = 0;
    int serverType = 0;
    QString mac, password, server, domain, host, staticServer, staticDomain;
};

QString networkRowInsert(const NetworkRow &row)
{
    return QString::asprintf(
        "insert into tbl_network(subnet_id,device_id,ip_port_mac,password,server_ip,"
        "domain_name,host_ip,server_type,static_server_ip,static_domain) "
        "values(%d,%d,'%s','%s','%s','%s','%s',%d,'%s','%s')",
        row.subnet, row.device, sqlText(row.mac).toUtf8().constData(),
        sqlText(row.password).toUtf8().constData(), sqlText(row.server).toUtf8().constData(),
        sqlText(row.domain).toUtf8().constData(), sqlText(row.host).toUtf8().constData(), row.serverType,
        sqlText(row.staticServer).toUtf8().constData(), sqlText(row.staticDomain).toUtf8().constData());
}

// Reads the first row of "select * from tbl_network" in one query, each column the
// table has; false, with row untouched, when the table has no row or it cannot be
// read (readable, when given, tells these apart).
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
    row.subnet = text("subnet_id").toInt();
    row.device = text("device_id").toInt();
    row.serverType = text("server_type").toInt();
    row.mac = text("ip_port_mac");
    row.password = text("password");
    row.server = text("server_ip");
    row.domain = text("domain_name");
    row.host = text("host_ip");
    row.staticServer = text("static_server_ip");
    row.staticDomain = text("static_domain");
    query.finish();
    return true;
}

void setNetworkGlobals(const NetworkRow &row)
{
    gl_ip_port_mac = row.mac;
    gl_password = row.password;
    gl_server_ip = row.server;
    gl_domain_name = row.domain;
    gl_host_ip = row.host;
}

bool insertDefaultNetworkRow()
{
    NetworkRow row;
    row.host = gl_host_ip;
    return gl_sqlite3db.execDML(networkRowInsert(row));
}

// Whether tbl_network lacks one of its later columns; checked false when a test
// could not be read, which tells nothing about the columns.
bool networkColumnMissing(bool &checked)
{
    static const char *const columns[] = {"subnet_id", "device_id", "server_type", "static_server_ip",
                                          "static_domain"};
    checked = true;
    for (const char *column : columns) {
        if (!gl_sqlite3db.fieldExists(QLatin1String(column), QStringLiteral("tbl_network"), &checked))
            return checked;
    }
    return false;
}

// Rebuilds tbl_network when one of its later columns is missing, carrying what its
// row holds (the module's MAC, password, server, domain and host address, and
// those of the later columns it has) into the new row. False when a check or the
// row could not be read, or the rebuild failed: the table is then left as it is.
bool repairNetworkTable()
{
    bool checked = false;
    if (!networkColumnMissing(checked))
        return checked;

    NetworkRow row;
    bool readable = false;
    readNetworkRow(row, &readable);
    if (!readable)
        return false;
    if (row.host.isEmpty())
        row.host = gl_host_ip;

    return execTransaction({QStringLiteral("drop table tbl_network"),
                            createStatement(QStringLiteral("tbl_network")), networkRowInsert(row)});
}

// Gives tbl_ip_port_mac its update_time column where it lacks it, the modules and
// passwords kept (with no time, so the oldest), and keeps the ten newest times.
// False when the check or the rows could not be read, or a statement failed.
bool repairIpPortMacTable()
{
    const QString table = QStringLiteral("tbl_ip_port_mac");
    bool checked = false;
    const bool current = gl_sqlite3db.fieldExists(QStringLiteral("update_time"), table, &checked);
    if (!checked)
        return false;
    if (!current) {
        QStringList statements{QStringLiteral("drop table tbl_ip_port_mac"), createStatement(table)};
        QSqlQuery query = gl_sqlite3db.execQuery(QStringLiteral("select * from tbl_ip_port_mac"));
        const QSqlRecord record = query.record();
        const int mac = record.indexOf(QStringLiteral("ip_port_mac"));
        const int password = record.indexOf(QStringLiteral("password"));
        while (query.next()) {
            statements << QStringLiteral("insert into tbl_ip_port_mac(ip_port_mac,password,update_time) "
                                         "values('%1','%2','')")
                              .arg(sqlText(mac < 0 ? QString() : query.value(mac).toString()),
                                   sqlText(password < 0 ? QString() : query.value(password).toString()));
        }
        const bool read = rowsReadToEnd(query);
        query.finish();
        if (!read || !execTransaction(statements))
            return false;
    }
    return gl_sqlite3db.execDML(
        QStringLiteral("delete from tbl_ip_port_mac where update_time not in "
                       "(select update_time from tbl_ip_port_mac order by update_time desc limit 10)"));
}

// Refills the fixed tables and raises the version row when it is older than
// this program's schema, all in one transaction. current tells whether a version
// row of this schema is there afterwards. False when the row could not be read
// or the upgrade failed.
bool checkVersion(bool &current)
{
    current = false;
    QString text;
    bool read = false;
    const bool found = getTextFromDb(QStringLiteral("select version from tbl_version"),
                                     QStringLiteral("version"), text, &read);
    if (!read)
        return false;
    if (!found)
        return true;
    bool ok = false;
    double version = text.trimmed().toDouble(&ok);
    if (!ok)
        version = 0.0;
    if (version >= kSchemaVersion - 1e-9) {
        current = true;
        return true;
    }

    if (!gl_sqlite3db.beginTransaction())
        return false;
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
            QStringLiteral("update tbl_version set version='%1',date='%2'").arg(versionText(), today()))) {
        gl_sqlite3db.rollbackTransaction();
        return false;
    }
    current = gl_sqlite3db.commitTransaction();
    return current;
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

bool getNetworkConfig()
{
    NetworkRow row;
    bool readable = false;
    if (readNetworkRow(row, &readable))
        setNetworkGlobals(row);
    return readable;
}

namespace {

// Creates every missing table with its fixed rows. With maintain set, it also
// prunes old rows and repairs tables, as when a project is opened; versionCurrent
// then tells whether a version row of this schema is there. False at the first
// check that could not be read or statement that failed: the caller's
// transaction then leaves the file as it was.
bool createTables(bool maintain, bool *versionCurrent = nullptr)
{
    bool listed = false;
    const QStringList existing = gl_sqlite3db.getTableList(&listed);
    if (!listed)
        return false;
    for (const TableSchema &table : projectTables()) {
        const QString name = QLatin1String(table.name);
        const bool created = !existing.contains(name);
        if (created && !gl_sqlite3db.execDML(QLatin1String(table.createSql)))
            return false;

        // The seeders run in transactions of their own inside the caller's: one that
        // fails makes the caller's commit fail.
        bool done = true;
        if (name == QLatin1String("tbl_log_type")) {
            if (created)
                initTableLogType();
        } else if (name == QLatin1String("tbl_log")) {
            if (maintain)
                done = deleteExpiredLogRows();
        } else if (name == QLatin1String("tbl_message_type")) {
            if (created)
                initTableMessageType();
        } else if (name == QLatin1String("tbl_message_status")) {
            if (created)
                initTableMessageStatus();
        } else if (name == QLatin1String("tbl_message_log")) {
            if (maintain)
                done = deleteExpiredMessageRows();
        } else if (name == QLatin1String("tbl_network")) {
            if (created)
                done = insertDefaultNetworkRow();
            else if (maintain)
                done = repairNetworkTable();
        } else if (name == QLatin1String("tbl_server_ip")) {
            if (created)
                initTableServerIp();
        } else if (name == QLatin1String("tbl_domain")) {
            if (created)
                initTableDomain();
        } else if (name == QLatin1String("tbl_ip_port_mac")) {
            if (maintain)
                done = repairIpPortMacTable();
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
                done =
                    gl_sqlite3db.execDML(QStringLiteral("insert into tbl_version(name,version,date) "
                                                        "values('%1','%2','%3')")
                                             .arg(QLatin1String(kDatabaseIdentity), versionText(), today()));
            }
            if (maintain && done)
                done = checkVersion(*versionCurrent);
        }
        if (!done)
            return false;
    }
    return true;
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
    // All of it in one transaction: a check that cannot be read, or a statement
    // that fails (another writer holds the file), leaves the file as it was; the
    // repairs are tried again at the next open.
    bool versionCurrent = false;
    NetworkRow network;
    bool hasNetworkRow = false;
    if (!runInTransaction([&] {
            bool read = createTables(true, &versionCurrent);
            hasNetworkRow = read && readNetworkRow(network, &read);
            return read;
        }))
        return false;
    if (hasNetworkRow)
        setNetworkGlobals(network);
    return versionCurrent;
}

bool createProjectSchema()
{
    return createTables(false);
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

bool isIntactDatabase(const QString &path)
{
    // SQLite takes an empty file for a new database and makes one of it: a file
    // smaller than the smallest page or without the header is refused before
    // SQLite sees it.
    static constexpr qint64 smallestPage = 512;
    static const QByteArray header("SQLite format 3\0", 16);
    const QFileInfo info(path);
    if (!info.isFile() || info.isSymLink() || info.size() < smallestPage)
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.read(header.size()) != header)
        return false;
    file.close();

    static QAtomicInt checks;
    const QString name = QStringLiteral("intact_check_%1").arg(checks.fetchAndAddRelaxed(1));
    bool intact = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        db.setConnectOptions(CppSQLite3DB::connectOptions() + QStringLiteral(";QSQLITE_OPEN_READONLY"));
        if (db.open()) {
            // The check reads the schema first: one that cannot be read fails the
            // statement. A whole file answers one row, "ok"; a damaged one answers
            // what is wrong, or fails. A failed step is no answer either.
            QSqlQuery query(db);
            query.setForwardOnly(true);
            if (query.exec(QStringLiteral("pragma quick_check")) && query.next()) {
                const bool ok = query.value(0).toString() == QLatin1String("ok");
                intact = ok && !query.next() && !query.lastError().isValid();
            }
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return intact;
}
