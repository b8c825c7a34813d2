#pragma once

// Reading an exported workbook back with the xlsx2csv program (never with the
// program's own code): sheet names and rows as text (cells split at tabs, so test
// data holds none), and the raw XML of the first worksheet to see its cell types.

#include <QMap>
#include <QProcess>
#include <QString>
#include <QStringList>

namespace xlsxreadback {

struct Workbook
{
    QString error;
    QStringList sheets;
    QMap<QString, QList<QStringList>> rows;
};

inline Workbook readWorkbook(const QString &path)
{
    Workbook book;
    QProcess reader;
    reader.start(QStringLiteral("xlsx2csv"), {"-a", "-d", "tab", "-q", "none", path});
    if (!reader.waitForFinished(30000) || reader.exitCode() != 0) {
        book.error = QStringLiteral("xlsx2csv failed: ") + QString::fromUtf8(reader.readAllStandardError());
        return book;
    }
    QString sheet;
    for (const QString &line : QString::fromUtf8(reader.readAllStandardOutput()).split(QLatin1Char('\n'))) {
        if (line.startsWith(QLatin1String("-------- "))) { // "-------- 1 - name"
            sheet = line.section(QStringLiteral(" - "), 1);
            book.sheets.append(sheet);
        } else if (!line.isEmpty() && !sheet.isEmpty()) {
            book.rows[sheet].append(line.split(QLatin1Char('\t')));
        }
    }
    return book;
}

inline QByteArray sheetXml(const QString &path)
{
    QProcess unzip;
    unzip.start(QStringLiteral("unzip"), {"-p", path, "xl/worksheets/sheet1.xml"});
    unzip.waitForFinished(10000);
    return unzip.readAllStandardOutput();
}

} // namespace xlsxreadback
