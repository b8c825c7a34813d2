#pragma once

// Where project transfers go and the archives they move: the cloud transfer
// server's address (its own key in the settings file, empty until the installer
// sets it) and the packing of chosen projects into a zip archive.

#include "store/databasecopy.h"

#include <QString>
#include <QStringList>

#include <functional>

class QObject;

// Settings group and key of the cloud transfer server's address.
extern const char *const TransferServerGroup; // "project"
extern const char *const TransferServerKey;   // "transfer_server"

// The address as the settings file holds it; empty when it was never set.
QString transferServerAddress();
// "http://<address>:6001/v1/dbUpload" and "http://<address>:6001/v1/dbDownload".
QString transferUploadUrl();
QString transferDownloadUrl();

// Packs the named projects into zipPath, one top-level folder each. Answers
// false, with no archive of this packing left at zipPath, when a named project
// has no folder, the gathered device writes cannot be stored first, a project
// cannot be copied whole or the archive cannot be made, or the archive read back
// does not list every file of every named project with its size, or holds no
// file at all.
bool packProjects(const QStringList &names, const QString &zipPath);

// packProjects in two parts. The window's part checks the names and stores the
// gathered device writes, and gives the projects' folders; the file part copies
// and packs them and may run on a worker (each database is copied as one
// transaction left it, so alarms may be stored meanwhile).
bool preparePacking(const QStringList &names, QStringList &folders);
bool packFolders(const QStringList &names, const QStringList &folders, const QString &zipPath);
// packFolders on a worker, with the database that the window's connection writes
// copied through that connection on the window's thread (see DatabaseCopy::Live).
bool packFolders(const QStringList &names, const QStringList &folders, const QString &zipPath,
                 const DatabaseCopy::Live &live);

// packProjects with its file part on BackgroundWork::pool(): the window and the bus
// go on, the current project's database copied in slices on the window's thread.
// done(ok) runs later on the window's thread, unless context is gone by then; a
// refusal of the window's part (see preparePacking) runs done(false) at once.
// Answers a function that gives the packing up (nobody waits for it any more): it
// stops at its next step, its files removed, and answers false.
std::function<void()> packProjectsInBackground(const QStringList &names, const QString &zipPath,
                                               QObject *context, std::function<void(bool)> done);

// Test hook: runs between the making of the archive and its read-back, with its
// path (a test damages the archive or changes a project there), on the thread that
// packs. The application never sets it.
void setPackedHookForTest(std::function<void(const QString &zipPath)> hook);

// Test hook: runs on the thread that packs, before the projects are copied for it.
void setStagingHookForTest(std::function<void()> hook);

// The archive file name of a transfer: the local time as "hhmmss" + ".zip".
QString transferArchiveName();
