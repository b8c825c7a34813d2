#pragma once

// Moving project files about: copying files and folder trees, emptying a folder,
// removing one of the current project's pictures, and packing project folders into
// a zip archive or unpacking one.

#include "store/databasecopy.h"

#include <QString>
#include <QStringList>

// Copies one file. Backslashes in target count as slashes. Answers true when the
// copy succeeded or source and target are the same path. With overwrite an
// existing target is replaced; without it an existing target makes the copy fail.
bool copyFileToPath(QString source, QString target, bool overwrite);

// Copies the tree below folder source into folder target (created, one level,
// when missing). Entries whose names begin with a dot are not copied, and linked
// folders are not followed. Answers true when every entry was copied; a folder
// or file that cannot be read fails the copy, and so does BackgroundWork::stopping().
// A false answer leaves what was copied before the failing entry in place.
bool copyDirToPath(const QString &source, const QString &target, bool overwrite);

// Deletes the entries inside a project folder and keeps the folder and its
// hidden entries. Any other folder is refused and left untouched.
void clearDir(const QString &path);

// The path of the current project's picture of that name: the project's folder,
// "/", and the name with ".png" appended when it does not contain it. Empty when
// the name is not one plain file name (a path separator, "." or "..", control
// characters) or the current project has no valid name: every path made from a
// stored picture name goes through here, so none reaches outside the folder.
QString projectPicturePath(const QString &name);

// Deletes one picture of the current project (see projectPicturePath); a refused
// name deletes nothing. A write of that file still running is dropped; one of the
// same name into another project's folder goes on.
void remove_external_photo(const QString &name);

// Packs the project folders names into the zip file zipPath: one folder per
// existing project at the archive's root. Missing or invalid names are skipped.
// Answers whether every existing project was copied whole into the staging
// folder and the archive was written; after a failed copy zipPath is left as it was.
bool compressFolder(const QStringList &names, const QString &zipPath);

// compressFolder for projects names whose folders (same order) are known: safe on a
// worker thread. Each is copied into the existing folder staging first (see
// stageProjectFolder), then staging is packed. Gives up once BackgroundWork::stopping().
bool compressFolders(const QStringList &names, const QStringList &folders, const QString &staging,
                     const QString &zipPath, const DatabaseCopy::Live &live = {});

// Copies the project folder (of project name) into target for packing, as
// copyDirToPath does, but the database name + ".db3" as one transaction left it
// (DatabaseCopy), without its journal files, while the window goes on writing to it.
// The database live names is copied through the window's connection.
bool stageProjectFolder(const QString &folder, const QString &name, const QString &target,
                        const DatabaseCopy::Live &live = {});

// Replaces folder with the content of the zip file zipPath. Nothing happens when
// the zip file is missing, cannot be read or holds an unsafe entry, or when an
// existing non-empty folder is not a direct child of the database folder: the
// archive is unpacked into a staging folder first, and only then replaces folder.
void decompressFolder(const QString &zipPath, const QString &folder);

// Whether path names a folder that may be removed with everything below it: a
// direct child of gl_curPath + "/database" that is not a link.
bool isRemovableProjectFolder(const QString &path);
// Removes such a folder with everything below it; any other path is left alone.
// Every picture write into it still running is dropped.
void removeProjectFolder(const QString &path);
