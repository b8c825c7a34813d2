#pragma once

// A spreadsheet written as an xlsx file: sheets of text cells, saved in one piece.
// Every cell is a text cell, so a value such as "=1+1" or "007" reads back exactly
// as written, never as a formula or a number. The file is written beside the
// chosen name and moved over it only once it is complete and read back whole: a
// failed save leaves an existing file as it was.
//
// Rows are written in order: once a later row is written, a row is handed to the
// writer, which stages it while the next rows are still being made.
//
// A document is used by one thread at a time; save() may be split in two: prepare()
// on a worker, commit() back on the thread that decides whether the file is still
// wanted. Work done on a worker gives up at its next piece once
// BackgroundWork::stopping() says so there. Until the file is under its name or
// removed, the file beside it is remembered (BackgroundWork::remember()), so an exit
// that cannot wait for the work removes it. A document dropped before it is saved
// stops its writer at once and leaves no file.

#include <QByteArray>
#include <QFileInfo>
#include <QString>
#include <QStringList>

#include <deque>
#include <functional>
#include <memory>
#include <vector>

class QTemporaryFile;

class XlsxDocument
{
public:
    using Cells = std::vector<QByteArray>; // UTF-8, from column 1
    using Rows = std::deque<Cells>;        // from row 1; a row stays where it is as rows are added

    // A workbook that save() writes under fileName.
    explicit XlsxDocument(const QString &fileName);
    ~XlsxDocument();
    XlsxDocument(const XlsxDocument &) = delete;
    XlsxDocument &operator=(const XlsxDocument &) = delete;

    // Appends a sheet and makes it the one write() fills.
    void addSheet(const QString &name);
    QStringList sheetNames() const;

    // Writes text into the cell at row and column of the current sheet, both
    // counted from 1; a sheet is added when there is none yet.
    void write(int row, int column, const QString &text);

    // Saves the workbook. Returns false, with the reason in error, when the file
    // could not be written whole; the target is then left untouched.
    bool save(QString *error = nullptr);
    // save() in two steps. prepare() writes the workbook beside the target and reads
    // it back whole, leaving the target untouched; false, with the reason in error,
    // when it could not, or when it gave up. commit() then moves it over the target
    // in one step.
    bool prepare(QString *error = nullptr);
    bool commit(QString *error = nullptr);

    // For tests: runs with the written file's path before the file is read back.
    static void setBeforeReadBack(std::function<void(const QString &path)> hook);

private:
    class Writer;
    struct Sheet
    {
        QString name;
        QByteArray utf8Name;
        Rows rows;
        size_t handed = 0; // the rows given to the writer
    };
    // Hands the current sheet's rows above row number below (all when not given).
    void handRows(size_t below = size_t(-1));

    QFileInfo target;
    QString setupError;
    std::unique_ptr<QTemporaryFile> temporary;
    std::deque<Sheet> sheets; // a sheet stays where it is as sheets are added
    std::unique_ptr<Writer> writer;
    bool prepared = false;
};
