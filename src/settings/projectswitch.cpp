#include "projectswitch.h"

#include "bus/broadcastsocket.h"
#include "shell/kestmessagebox.h"
#include "store/cppsqlite3db.h"
#include "store/databaseinit.h"
#include "store/devicelog.h"
#include "store/globals.h"
#include "store/newproject.h"
#include "store/projectlist.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QFile>

namespace {

// Puts gl_sqlite3db back on the previous project's database and reads its
// network settings. False, and said on the hub, when that database does not open.
bool reopenPrevious(const QString &previous)
{
    gl_sqlite3db.close();
    gl_sqlite3db.setDbName(previous);
    // Opening a file that is gone would leave an empty database in its place.
    if (QFile::exists(previous) && gl_sqlite3db.tableExists(QStringLiteral("tbl_version"))) {
        getNetworkConfig();
        return true;
    }
    qDebug() << "failed to open the database" << previous << "again";
    emit gl_socket.signalsInformation(
        QCoreApplication::translate("MainWindow", "Failed to open the project database!"));
    return false;
}

// What waits to be stored into the previous project goes there before it closes.
// Its link goes first: what it still holds came to this project and is handed on,
// then it is closed, so that nothing it carries reaches the next project.
void leaving()
{
    gl_socket.closeSocket();
    emit gl_socket.signalsProjectLeaving();
    storeKeptDeviceWrites();
}

} // namespace

bool keepBrokenDatabase(const QString &file, QString &backup)
{
    backup.clear();
    if (!QFile::exists(file))
        return true;
    if (QFile(file).size() == 0)
        return QFile::remove(file);
    QString name = file + QStringLiteral(".bak");
    for (int n = 1; QFile::exists(name); ++n)
        name = file + QStringLiteral(".bak%1").arg(n);
    if (!QFile::rename(file, name)) {
        qDebug() << "failed to keep" << file << "as" << name;
        return false;
    }
    backup = name;
    return true;
}

bool switchProjectDatabase(const QString &name, QWidget *parent)
{
    const QString folder = projectFolder(name);
    if (folder.isEmpty())
        return false;
    const bool madeFolder = !QDir(folder).exists();
    if (madeFolder && !QDir().mkpath(folder))
        return false;
    const QString file = projectDatabasePath(name);
    const bool existed = QFile::exists(file);
    const QString previous = gl_sqlite3db.getDbName();
    QString previousName;
    getCurrentProject(previousName);
    // Until the project list names the new project, the previous one stays the
    // current one and gl_sqlite3db stays on its database: what arrives meanwhile
    // is stored there. On failure, a connection that has left it goes back.
    bool left = false;
    bool linkClosed = false;
    auto leave = [&] {
        leaving();
        linkClosed = true;
    };
    auto giveUp = [&] {
        if (left)
            reopenPrevious(previous);
        // The project stays the current one: it gets a link of its own again.
        if (linkClosed)
            emit gl_socket.signalsNetworkOpen();
        if (!existed)
            QFile::remove(file); // the empty file the check opened
        if (madeFolder)
            QDir().rmdir(folder);
        return false;
    };
    bool readable = false;
    if (!isLegalFormat(file, &readable)) {
        // Only a file that was read and is no project database is formatted; a
        // busy or unreadable one is left as it is.
        if (!readable) {
            qDebug() << "failed to read the database of project" << name;
            return giveUp();
        }
        KestMessageBox box(
            QCoreApplication::translate("MainWindow",
                                        "Illegally formatted databases,the database will be formatted!"),
            450, 160, KestMessageBoxOk, parent);
        box.exec();
        // What arrived while the box was up is committed to the previous project.
        leave();
        gl_sqlite3db.close();
        left = true;
        QString backup;
        if (!keepBrokenDatabase(file, backup))
            return giveUp();
        // The fresh database starts as a copy of the current project's, emptied.
        if (!addDatabase(file) || !getNetworkConfig() || !setCurrentProject(name)) {
            qDebug() << "failed to format the database of project" << name;
            gl_sqlite3db.close();
            QFile::remove(file);
            if (!backup.isEmpty())
                QFile::rename(backup, file);
            else if (existed)
                QFile(file).open(QIODevice::WriteOnly); // it was empty
            return giveUp();
        }
    } else {
        leave();
        if (!setCurrentProject(name))
            return giveUp();
        left = true;
        // Opening reads the project's module and server for the bus, which must not
        // go on with the previous project's.
        if (!initDatabase(file)) {
            qDebug() << "failed to open the database of project" << name;
            setCurrentProject(previousName);
            return giveUp();
        }
    }
    QString style;
    getProjectNode(name, QStringLiteral("network_type"), style);
    gl_net_style = style.toInt();
    return true;
}
