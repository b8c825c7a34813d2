#pragma once

// Files written whole or not at all. In Qt 5.15 QSaveFile::commit() answers true
// after a write cut short or a final flush that failed (a full disk), and the file
// named then holds only part of what was written; QSettings writes through it and
// says NoError then.

#include <QStringList>

class QSaveFile;
class QSettings;

// Commits file when written (every write the caller made returned its full
// length, or the writer it used succeeded), a flush and the file's error state all
// say that everything was written. Otherwise the writing is cancelled and the file
// on disk stays as it was. Answers whether the file was committed.
bool commitSaveFile(QSaveFile &file, bool written = true);

// Writes the changes made on settings (no group open) to its file, as sync() does,
// and answers whether the file took them. The earlier file is kept aside, as
// "<file>.kept", until the new one reads back with every key and value, and put
// back otherwise: the status then stays NoError, and the settings read the earlier
// file again at their next use. A file that is a link is kept and put back through
// its target; the link stays. Keeping and dropping the earlier file happen under
// the lock that QSettings takes for the write.
bool syncSettings(QSettings &settings);

// A "<file>.kept" beside a file of settings (or beside its target) tells of a write
// that stopped before the new file was confirmed: it goes back in place of the file.
// Called before anything reads those settings. Not while another instance writes
// the file (it holds the lock that QSettings takes, "<file>.lock", and settles
// what it kept itself), and not when the kept file is empty or holds no settings.
// A kept file that holds settings but reads with an error, or lacks any of
// requiredKeys ("group/key"), is no whole file of settings: it is set aside as
// "<file>.kept.bad" (or .bad1, .bad2, … when taken), never put back.
// Answers false when a kept file could not be put back.
bool putBackUnconfirmed(const QString &fileName, const QStringList &requiredKeys = QStringList());
