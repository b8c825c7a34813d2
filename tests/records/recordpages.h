#pragma once

// Helpers of the page tests: answering the next modal box, the texts sent to the
// snackbar, and reading an exported workbook back with xlsx2csv (never with the
// program's own code).

#include "bus/broadcastsocket.h"
#include "store/globals.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMap>
#include <QProcess>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>
#include <qtmateriallabel.h>

#include <memory>

namespace recordpages {

// What the next modal box showed. The box is looked for every 10 ms for up to
// 3 s, or until stop().
struct Box
{
    bool seen = false;
    QString text;
    QSize size;
    QTimer timer;
    int ticks = 0;
    void stop() { timer.stop(); }
};

// Answers the next modal box with its "Ok" (ok) or "Cancel" button.
inline std::shared_ptr<Box> answerNextBox(bool ok)
{
    auto box = std::make_shared<Box>();
    Box *b = box.get();
    QObject::connect(&b->timer, &QTimer::timeout, [b, ok]() {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal) {
            if (++b->ticks > 300)
                b->stop();
            return;
        }
        b->stop();
        b->seen = true;
        b->size = modal->size();
        if (auto *label = modal->findChild<QtMaterialLabel *>())
            b->text = label->text();
        auto *button = modal->findChild<QAbstractButton *>(ok ? "pushButtonOk" : "pushButtonCancel");
        if (button)
            button->click();
        else
            modal->close();
    });
    b->timer.start(10);
    return box;
}

// The texts for the main window's snackbar since the spy was made.
inline QStringList infos(const QSignalSpy &spy)
{
    QStringList texts;
    for (const QList<QVariant> &args : spy)
        texts.append(args.at(0).toString());
    return texts;
}

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

} // namespace recordpages
