#pragma once

// Reading an exported workbook back with the xlsx2csv program (never with the
// program's own code): sheet names and rows as text, and the raw XML of the
// first worksheet (through unzip) to see how its cells are typed.

#include <QMap>
#include <QProcess>
#include <QString>
#include <QStringList>

namespace xlsxreadback {

// One workbook as xlsx2csv reads it: sheet names in order and their rows.
struct Workbook
{
    QString error;
    QStringList sheets;
    QMap<QString, QList<QStringList>> rows;
};

// Splits one CSV line (quotes doubled inside quoted cells).
inline QStringList csvCells(const QString &line)
{
    QStringList cells;
    QString cell;
    bool quoted = false;
    for (int i = 0; i < line.size(); ++i) {
        const QChar c = line.at(i);
        if (quoted) {
            if (c == QLatin1Char('"') && i + 1 < line.size() && line.at(i + 1) == QLatin1Char('"')) {
                cell += c;
                ++i;
            } else if (c == QLatin1Char('"')) {
                quoted = false;
            } else {
                cell += c;
            }
        } else if (c == QLatin1Char('"')) {
            quoted = true;
        } else if (c == QLatin1Char(',')) {
            cells.append(cell);
            cell.clear();
        } else {
            cell += c;
        }
    }
    cells.append(cell);
    return cells;
}

inline Workbook readWorkbook(const QString &path)
{
    Workbook book;
    QProcess reader;
    reader.start(QStringLiteral("xlsx2csv"), {QStringLiteral("-a"), path});
    if (!reader.waitForFinished(30000) || reader.exitCode() != 0) {
        book.error = QStringLiteral("xlsx2csv failed: ") + QString::fromUtf8(reader.readAllStandardError());
        return book;
    }
    const QString text = QString::fromUtf8(reader.readAllStandardOutput());
    QString sheet;
    const QString marker = QStringLiteral("-------- ");
    for (QString line : text.split(QLatin1Char('\n'))) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        if (line.startsWith(marker)) {
            // "-------- 1 - name"
            sheet = line.section(QStringLiteral(" - "), 1);
            book.sheets.append(sheet);
            continue;
        }
        if (line.isEmpty() || sheet.isEmpty())
            continue;
        book.rows[sheet].append(csvCells(line));
    }
    return book;
}

// The worksheet XML inside the file, to see how its cells are typed.
inline QByteArray sheetXml(const QString &path)
{
    QProcess unzip;
    unzip.start(QStringLiteral("unzip"), {QStringLiteral("-p"), path, QStringLiteral("xl/worksheets/sheet1.xml")});
    unzip.waitForFinished(10000);
    return unzip.readAllStandardOutput();
}

} // namespace xlsxreadback
