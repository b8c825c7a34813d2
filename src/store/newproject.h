#pragma once

// A new project's database, made from the current project's: the fixed tables
// and the history of IP modules are kept, everything describing a building goes.

#include <QString>

// Creates the database at path; on return gl_sqlite3db names the new file.
// False when the new database could not be given its schema, emptied and seeded;
// its statements are then rolled back and the file still holds the copied project.
bool addDatabase(const QString &path);
