#pragma once

// Switching the current project, as the main window's project choice and the
// network settings page do it: the project's folder is made when missing, its
// database is checked (a file that is no project database is kept as a backup
// beside a fresh one, after the user has been told), opened and brought to the
// current schema; the project becomes current and its network style is read.
// The caller announces the switch on the hub afterwards.

#include <QString>

class QWidget;

// Answers whether the switch happened. It happens whole or not at all: false,
// with the previous project's database open again and nothing of either project
// changed, when name is no valid project name or when the project list or the
// new database cannot be written; the caller then says so.
bool switchProjectDatabase(const QString &name, QWidget *parent = nullptr);

// Renames a database file that failed the project-database check to a free
// "<file>.bak", "<file>.bak1", ... name; an empty file is simply removed.
// Answers the backup's path, empty when nothing was kept.
QString keepBrokenDatabase(const QString &file);
