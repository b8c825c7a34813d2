#pragma once

// Switching the current project, as the main window's project choice and the
// network settings page do it: the project's folder is made when missing, its
// database is checked on a connection of its own (a file that was read and is no
// project database is kept as a backup beside a fresh one, after the user has
// been told), opened and brought to the current schema; the project becomes
// current and its network settings and style are read. Until then the previous project's
// database stays open, so that what arrives meanwhile is stored there. Before it is
// left, its link hands on what it holds and is closed: a link carries only the
// project it was made for. The caller announces the switch on the hub afterwards
// and opens the new project's link.

#include <QString>

class QWidget;

// Answers whether the switch happened. It happens whole or not at all: false,
// with the previous project's database open again and nothing of either project
// changed, when name is no valid project name, when the project list or the new
// database cannot be written, when the database or its network settings cannot
// be read (busy, locked) or it cannot be brought to the schema, or when a broken
// file cannot be kept; the caller then
// says so. Should the previous database not open again, that is said on the hub. A
// switch that fails once the link was closed asks for a link anew (signalsNetworkOpen)
// for the project it stays on.
bool switchProjectDatabase(const QString &name, QWidget *parent = nullptr);

// Renames a database file that failed the project-database check to a free
// "<file>.bak", "<file>.bak1", ... name, given in backup; an empty file is simply
// removed, and backup is then empty. False, with the file where it was, when it
// could not be renamed (or the empty file removed).
bool keepBrokenDatabase(const QString &file, QString &backup);
