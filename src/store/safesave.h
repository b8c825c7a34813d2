#pragma once

// Files written whole or not at all. In Qt 5.15 QSaveFile::commit() answers true
// after a write cut short or a final flush that failed (a full disk), and the file
// named then holds only part of what was written; QSettings writes through it and
// says NoError then.

class QSaveFile;
class QSettings;

// Commits file when written (every write the caller made returned its full
// length, or the writer it used succeeded), a flush and the file's error state all
// say that everything was written. Otherwise the writing is cancelled and the file
// on disk stays as it was. Answers whether the file was committed.
bool commitSaveFile(QSaveFile &file, bool written = true);

// Writes the changes made on settings (no group open) to its file, as sync() does,
// and answers whether the file took them. The earlier file is kept aside until the
// new one reads back with every key and value, and put back otherwise: the status
// then stays NoError, and the settings read the earlier file again at their next use.
bool syncSettings(QSettings &settings);
