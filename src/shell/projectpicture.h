#pragma once

// Pictures that the user adds to the current project: read from any image file
// and stored full size as "<name>.png" in the project's folder. The file is read
// and the PNG written by a worker thread, since a phone photo takes seconds to
// decode and encode; the window and the bus go on meanwhile. A write that fails
// leaves an earlier file of that name as it was. A write still running at the exit
// leaves nothing behind: its staging file has no name, or is removed by the exit;
// so does a whole file held until the user saves what it belongs to.

#include <QObject>
#include <QString>

#include <functional>
#include <memory>

class QSaveFile;

enum class PictureWrite {
    Written,
    NoFolder,   // the project's folder is missing
    Unreadable, // the source is missing, not a picture, or too large to decode
    Unwritable, // the PNG could not be written
    NotStored,  // the name could not be stored with the file; the file was not placed
    Dropped     // the project was changed, or the program ended, during the write
};
Q_DECLARE_METATYPE(PictureWrite)

// The current project's folder (gl_curPath + "/database/" + the project's name);
// empty when the project's name is not a plain folder name.
QString currentProjectFolder();
QString currentProjectName();

// Reads the picture file source and writes it, full size, as a PNG into target,
// which the caller commits. On failure target is cancelled. A staging file with a
// name is remembered for the exit (BackgroundWork), and its name given in staging:
// the caller forgets it once the file is committed or cancelled. Safe in any thread.
PictureWrite stagePicture(const QString &source, QSaveFile &target, QString *staging = nullptr);

// Writes bytes as the file path, whole or not at all. Safe in any thread.
bool writePictureBytes(const QByteArray &bytes, const QString &path);

// Puts a staged picture in place together with its row, or neither, on the window's
// thread: storeRow() writes the row inside a transaction, the file is committed, then
// the transaction. Until then the earlier file of that name is kept beside it as
// "<file>.old" and put back should the commit fail. NotStored: the row was refused or
// not committed; Unwritable: the file could not be placed.
PictureWrite placeWithRow(QSaveFile &file, const std::function<bool()> &storeRow);

// The copy kept beside a picture while a new one is placed is left by a change that
// stopped half-way. Beside the picture it is stale; where the picture is missing it is
// the only one left, and goes back in its place.
void settleKeptPicture(const QString &path);

// What an editor says about the end of a write, one text per failure; an empty text
// says nothing (the editor has said it itself). The dropped write's text is common.
struct PictureWriteTexts
{
    QString noFolder;
    QString unreadable;
    QString unwritable;
    QString notStored;
};

// Says through the hub's information what went wrong with a write; answers whether
// the picture was written.
bool sayPictureWrite(PictureWrite result, const PictureWriteTexts &texts);

// Writes one picture the user chose at a time into the current project's folder.
class PictureWriter : public QObject
{
    Q_OBJECT
public:
    // Puts the whole staged file in place, on the window's thread; the default
    // commits it.
    using Place = std::function<PictureWrite(QSaveFile &staged)>;

    explicit PictureWriter(QObject *parent = nullptr);
    // A file still held is dropped.
    ~PictureWriter() override;

    // Starts writing source as "<name>.png". Answers false, and starts nothing,
    // while an earlier write is still running. finished() follows in any case but
    // after drop(). A file still held is dropped first.
    bool start(const QString &source, const QString &name, const Place &place = Place());
    // As start(), but the whole file is held, staged and not yet in place, once it is
    // written (finished() says Written): placeHeld() puts it in place, drop() drops it.
    bool startHeld(const QString &source, const QString &name);
    bool isBusy() const { return m_busy; }
    bool isHolding() const { return bool(m_held); }
    // Puts the held file in place together with its row (placeWithRow). Dropped, and
    // nothing stored, when nothing is held or the project was changed since the write.
    PictureWrite placeHeld(const std::function<bool()> &storeRow);
    // Drops the held file, or the write still running: nothing of it is left, and
    // its end says nothing. So does the removal of the file it writes (the same name
    // in its project's folder; see remove_external_photo).
    void drop();
    // Called while a write runs, after the row that names the editor's picture was
    // saved with the earlier name: once the file is whole, sql (an update of that
    // row to the new name) and the file are put in place together, or neither.
    // A row no longer there takes neither.
    void storeNameWithFile(const QString &sql);
    // Writes running in all writers.
    static int running();

signals:
    void finished(PictureWrite result, const QString &name);

private:
    void staged(PictureWrite result, const std::shared_ptr<QSaveFile> &file, const QString &staging);

    bool m_busy = false;
    bool m_hold = false;     // the running write's file is to be held
    bool m_dropping = false; // the running write is dropped at its end
    std::shared_ptr<QSaveFile> m_held;
    QString m_heldStaging; // the held file's staging name, when it has one
    QString m_name;
    QString m_folder;
    Place m_place;
    QString m_storeSql;
};
