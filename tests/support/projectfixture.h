#pragma once

// An application folder of a test's own: a temporary folder that stands for the
// program's folder (gl_curPath), holding "database/project.xml" with the project
// "Home" and that project's database of the full schema, opened on gl_sqlite3db.
// Rooms, templates, lights and the rest are then filled by SQL where a test
// needs them (see roomproject.h).

#include "store/cppsqlite3db.h"
#include "store/databaseinit.h"
#include "store/globals.h"
#include "store/projectlist.h"
#include "store/startupconfig.h"

#include <QDir>
#include <QString>
#include <QTemporaryDir>

namespace varnotest {

class ProjectFolder
{
public:
    // Makes the folder, the settings defaults, the project list and the current
    // project's database.
    ProjectFolder()
    {
        initConfig(m_dir.path());
        gl_curPath = m_dir.path();
        preInitProject();
    }
    ~ProjectFolder() { gl_sqlite3db.close(); }

    ProjectFolder(const ProjectFolder &) = delete;
    ProjectFolder &operator=(const ProjectFolder &) = delete;

    bool isValid() const { return m_dir.isValid(); }
    QString path() const { return m_dir.path(); }
    // The current project's folder, where its pictures lie.
    QString projectDir() const
    {
        QString name;
        getCurrentProject(name);
        return projectFolder(name);
    }

    // Makes name the current project with its database open, as a switch of projects does.
    static bool open(const QString &name)
    {
        return setCurrentProject(name) && QDir().mkpath(projectFolder(name)) &&
               initDatabase(projectDatabasePath(name));
    }

    // Empties the current project's database again: every table, fixed rows
    // seeded afresh.
    void reset()
    {
        QString name;
        getCurrentProject(name);
        const QString db = projectDatabasePath(name);
        gl_sqlite3db.close();
        QFile::remove(db);
        initDatabase(db);
    }

private:
    QTemporaryDir m_dir;
};

} // namespace varnotest
