#include "projectswitch.h"

#include "shell/kestmessagebox.h"
#include "store/cppsqlite3db.h"
#include "store/databaseinit.h"
#include "store/globals.h"
#include "store/newproject.h"
#include "store/projectlist.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QFile>

QString keepBrokenDatabase(const QString &file)
{
    if (!QFile::exists(file))
        return QString();
    if (QFile(file).size() == 0) {
        QFile::remove(file);
        return QString();
    }
    QString backup = file + QStringLiteral(".bak");
    for (int n = 1; QFile::exists(backup); ++n)
        backup = file + QStringLiteral(".bak%1").arg(n);
    if (!QFile::rename(file, backup)) {
        qDebug() << "failed to keep" << file << "as" << backup;
        QFile::remove(file);
        return QString();
    }
    return backup;
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
    // Until the project list names the new project, the previous one stays the
    // current one: on failure its database is opened again and its settings read.
    auto giveUp = [&] {
        gl_sqlite3db.close();
        gl_sqlite3db.setDbName(previous);
        getNetworkConfig();
        if (madeFolder)
            QDir().rmdir(folder);
        return false;
    };
    if (!isLegalFormat(file)) {
        KestMessageBox box(
            QCoreApplication::translate("MainWindow",
                                        "Illegally formatted databases,the database will be formatted!"),
            450, 160, KestMessageBoxOk, parent);
        box.exec();
        gl_sqlite3db.close();
        const QString backup = keepBrokenDatabase(file);
        // The fresh database starts as a copy of the current project's, emptied.
        if (!addDatabase(file) || !setCurrentProject(name)) {
            qDebug() << "failed to format the database of project" << name;
            gl_sqlite3db.close();
            QFile::remove(file);
            if (!backup.isEmpty())
                QFile::rename(backup, file);
            else if (existed)
                QFile(file).open(QIODevice::WriteOnly); // it was empty
            return giveUp();
        }
        getNetworkConfig();
    } else {
        if (!setCurrentProject(name))
            return giveUp();
        initDatabase(file);
    }
    QString style;
    getProjectNode(name, QStringLiteral("network_type"), style);
    gl_net_style = style.toInt();
    return true;
}
