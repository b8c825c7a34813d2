#pragma once

// The project list "database/project.xml" under the application folder: the
// projects, three settings of each, and the current project.

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
// control characters, not "." or "..", and short enough for a file name.
bool isValidProjectName(const QString &name);

void init_projectConfig();
bool getProjectList(QStringList &list);
bool getCurrentProject(QString &name);
void setCurrentProject(const QString &name);
bool isProjectExist(const QString &name);
bool getProjectNode(const QString &project, const QString &node, QString &value);
void setProjectNode(const QString &project, const QString &node, const QString &value);
void addProject(const QString &name);
void deleteProject(const QString &name);

void preInitProject();
