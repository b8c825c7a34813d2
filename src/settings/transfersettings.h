#pragma once

// Where project transfers go and the archives they move: the cloud transfer
// server's address (its own key in the settings file, empty until the installer
// sets it) and the packing of chosen projects into a zip archive.

#include <QString>
#include <QStringList>

// Settings group and key of the cloud transfer server's address.
extern const char *const TransferServerGroup; // "project"
extern const char *const TransferServerKey;   // "transfer_server"

// The address as the settings file holds it; empty when it was never set.
QString transferServerAddress();
// "http://<address>:6001/v1/dbUpload" and "http://<address>:6001/v1/dbDownload".
QString transferUploadUrl();
QString transferDownloadUrl();

// Packs the named projects into zipPath, one top-level folder each. Answers
// false, with nothing left at zipPath, when the gathered device writes cannot
// be stored first, a project cannot be copied whole or the archive cannot be
// made, or the archive read back does not list every file of every named
// project with its size, or holds no file at all.
bool packProjects(const QStringList &names, const QString &zipPath);

// The archive file name of a transfer: the local time as "hhmmss" + ".zip".
QString transferArchiveName();
