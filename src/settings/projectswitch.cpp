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
    if (!QDir(folder).exists())
        QDir().mkpath(folder);
    const QString file = projectDatabasePath(name);
    if (!isLegalFormat(file)) {
        KestMessageBox box(
            QCoreApplication::translate("MainWindow",
                                        "Illegally formatted databases,the database will be formatted!"),
            450, 160, KestMessageBoxOk, parent);
        box.exec();
        gl_sqlite3db.close();
        keepBrokenDatabase(file);
        addDatabase(file);
        getNetworkConfig();
    } else {
        initDatabase(file);
    }
    setCurrentProject(name);
    QString style;
    getProjectNode(name, QStringLiteral("network_type"), style);
    gl_net_style = style.toInt();
    return true;
}
