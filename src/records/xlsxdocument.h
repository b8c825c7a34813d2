#pragma once

// A spreadsheet written as an xlsx file: sheets of text cells, saved in one piece.
// Every cell is a text cell, so a value such as "=1+1" or "007" reads back exactly
// as written, never as a formula or a number. The file is written beside the
// chosen name and moved over it only once it is complete: a failed save leaves an
// existing file as it was.

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

class XlsxDocument
{
public:
    XlsxDocument() = default;

    // Appends a sheet and makes it the one write() fills.
    void addSheet(const QString &name);
    QStringList sheetNames() const;

    // Writes text into the cell at row and column of the current sheet, both
    // counted from 1; a sheet is added when there is none yet.
    void write(int row, int column, const QString &text);

    // Saves the workbook under fileName. Returns false, with the reason in error,
    // when the file could not be written; the target is then left untouched.
    bool saveAs(const QString &fileName, QString *error = nullptr) const;

    // For tests: runs with the written file's path before the file is read back.
    static void setBeforeReadBack(std::function<void(const QString &path)> hook);

private:
    struct Sheet
    {
        QString name;
        std::vector<std::vector<QByteArray>> rows; // UTF-8, row-major from row 1
    };
    bool writeWorkbook(const QString &path, QString *error) const;

    std::vector<Sheet> sheets;
};
