#pragma once

// One export of a list page's rows to an xlsx file, done without holding the
// window's thread, which reads the bus too: an alarm waits for one slice at most.
// The rows are read there in short slices with a turn of the event loop between
// them; each slice finishes its statements before it hands the turn on, since an
// open statement holds a read lock on the database file and other connections
// could not commit meanwhile. Then a worker puts the rows in order, writes the
// workbook beside the chosen name, closes it and reads it back; the window's
// thread moves it under that name, and only while the export is still wanted.
// An export given up (its page left or gone, the program ending) stops at its
// next piece, puts nothing under the name and says nothing.

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

class QDeadlineTimer;
class XlsxDocument;

class RecordExport : public QObject
{
    Q_OBJECT
public:
    // One data row: its cells from column 1, and what an order sorts it by.
    struct Row
    {
        QStringList cells;
        QByteArray orderKey;
        qint64 id = 0;
    };
    using Rows = std::vector<Row>;
    enum class Slice { More, Done, Failed };
    // Reads the next slice of rows and appends them: at least one row while any are
    // left, and no more once until has passed. It runs on the window's thread between
    // turns of the event loop, after its page may have made its list anew or gone:
    // it holds copies of what it needs, never the page. Failed gives the reason in error.
    using Reader = std::function<Slice(const QDeadlineTimer &until, Rows &rows, QString *error)>;
    // Puts the rows into the file's order, on the worker: it may use nothing but the rows.
    using Order = void (*)(Rows &rows);

    // How long one slice may read.
    static constexpr int SliceMs = 10;

    RecordExport(const QString &fileName, const QString &sheetName, const QStringList &headers,
                 Reader reader, Order order = nullptr, QObject *parent = nullptr);
    // Gives the export up when it is still running.
    ~RecordExport() override;
    RecordExport(const RecordExport &) = delete;
    RecordExport &operator=(const RecordExport &) = delete;

    // Reads the first slice at the next turn of the event loop.
    void start();
    // Stops the export for good: no further slice is read, the worker stops at its
    // next piece, and finished() is not emitted.
    void giveUp();

signals:
    // Once, unless given up: whether the file is in place, or why not.
    void finished(bool saved, const QString &error);

private:
    struct Link;

    void readSlice();
    void written(const std::shared_ptr<XlsxDocument> &document, const QString &error);

    QString m_fileName;
    QString m_sheetName;
    QStringList m_headers;
    Reader m_reader;
    Order m_order = nullptr;
    std::shared_ptr<Rows> m_rows;
    std::shared_ptr<Link> m_link;
    bool m_givenUp = false;
};
