#pragma once

// The project list "database/project.xml" under the application folder: the
// projects, three settings of each, and the current project.

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

// Paths under gl_curPath.
QString databaseFolder();      // gl_curPath + "/database"
QString projectListPath();     // gl_curPath + "/database/project.xml"
// A project's folder and database file; empty when the name is not a valid
// project name.
QString projectFolder(const QString &name);
QString projectDatabasePath(const QString &name);

// A project name is one plain folder name: not empty, no "/", "\", NUL or
// control characters, not "." or "..", and short enough that SQLite can open its
// database under the database folder (its length in UTF-8 bytes counts).
bool isValidProjectName(const QString &name);

void init_projectConfig();
bool getProjectList(QStringList &list);
bool getCurrentProject(QString &name);
bool isProjectExist(const QString &name);
bool getProjectNode(const QString &project, const QString &node, QString &value);
// The writers answer whether the list was read and saved again; on false the
// file is as it was. setCurrentProject adds the current entry where it is missing.
bool setCurrentProject(const QString &name);
bool setProjectNode(const QString &project, const QString &node, const QString &value);
// Several nodes of one project in one write of the file: all of them or none.
bool setProjectNodes(const QString &project, const QList<QPair<QString, QString>> &nodeValues);
bool addProject(const QString &name);
bool deleteProject(const QString &name);

// Names of project folders that work still running has chosen (an import, also one
// given up whose worker has not ended yet): no other work writes, removes or lists a
// folder of such a name until the work that chose it releases it. Window's thread only.
void holdProjectNames(const QStringList &names);
void releaseProjectNames(const QStringList &names);
bool isProjectNameHeld(const QString &name);

// When the project list cannot name the project it opens, start-up says so on the
// hub's information signal once the event loop runs.
void preInitProject();
