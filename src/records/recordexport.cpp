#include "recordexport.h"

#include "records/xlsxdocument.h"
#include "store/backgroundwork.h"

#include <QDeadlineTimer>
#include <QMetaObject>
#include <QThreadPool>
#include <QTimer>

#include <atomic>
#include <mutex>

// What the export and its worker share: the worker reaches the export through it
// only while the export wants its result.
struct RecordExport::Link
{
    std::mutex mutex;
    RecordExport *owner = nullptr; // null once given up
    std::atomic<bool> givenUp{false};
};

namespace {

struct Workbook
{
    QString fileName;
    QString sheetName;
    QStringList headers;
    std::shared_ptr<RecordExport::Rows> rows;
    RecordExport::Order order = nullptr;
};

const QString GivenUp = QStringLiteral("the export was given up");

// Writes the rows into a workbook beside its file and reads it back; answers the
// document, ready to be moved under its name, or null with the reason in error.
// Gives up between pieces once BackgroundWork::stopping() says so.
std::shared_ptr<XlsxDocument> writeWorkbook(const Workbook &job, QString *error)
{
    *error = GivenUp;
    RecordExport::Rows &rows = *job.rows;
    if (BackgroundWork::stopping())
        return nullptr;
    if (job.order)
        job.order(rows);
    auto document = std::make_shared<XlsxDocument>(job.fileName);
    document->addSheet(job.sheetName);
    for (int column = 0; column < job.headers.size(); ++column)
        document->write(1, column + 1, job.headers.at(column));
    for (size_t i = 0; i < rows.size(); ++i) {
        if (i % 256 == 0 && BackgroundWork::stopping())
            return nullptr;
        const QStringList &cells = rows[i].cells;
        for (int column = 0; column < cells.size(); ++column)
            document->write(int(i) + 2, column + 1, cells.at(column));
        // Each row's text lives once, in the document, from here on.
        rows[i] = RecordExport::Row();
    }
    if (!document->prepare(error))
        return nullptr;
    return document;
}

} // namespace

RecordExport::RecordExport(const QString &fileName, const QString &sheetName, const QStringList &headers,
                           Reader reader, Order order, QObject *parent)
    : QObject(parent)
    , m_fileName(fileName)
    , m_sheetName(sheetName)
    , m_headers(headers)
    , m_reader(std::move(reader))
    , m_order(order)
    , m_rows(std::make_shared<Rows>())
    , m_link(std::make_shared<Link>())
{
    m_link->owner = this;
}

RecordExport::~RecordExport()
{
    giveUp();
}

void RecordExport::start()
{
    QTimer::singleShot(0, this, &RecordExport::readSlice);
}

void RecordExport::giveUp()
{
    m_givenUp = true;
    if (!m_link) // never null; the check spares GCC 12 a false -Wstringop-overflow
        return;
    const std::lock_guard<std::mutex> locker(m_link->mutex);
    m_link->owner = nullptr;
    m_link->givenUp = true;
}

void RecordExport::readSlice()
{
    if (m_givenUp || !m_reader)
        return;
    QString error;
    const Slice slice = m_reader(QDeadlineTimer(SliceMs), *m_rows, &error);
    if (m_givenUp) {
        m_reader = nullptr;
        return;
    }
    if (slice == Slice::More) {
        QTimer::singleShot(0, this, &RecordExport::readSlice);
        return;
    }
    m_reader = nullptr;
    if (slice == Slice::Failed) {
        m_rows.reset();
        emit finished(false, error);
        return;
    }
    const Workbook job{m_fileName, m_sheetName, m_headers, std::move(m_rows), m_order};
    BackgroundWork::pool().start([link = m_link, job] {
        const BackgroundWork::GiveUpScope scope(&link->givenUp);
        QString reason;
        const std::shared_ptr<XlsxDocument> document = writeWorkbook(job, &reason);
        job.rows->clear();
        const std::lock_guard<std::mutex> locker(link->mutex);
        if (RecordExport *owner = link->owner) {
            QMetaObject::invokeMethod(
                owner, [owner, document, reason] { owner->written(document, reason); },
                Qt::QueuedConnection);
        }
    });
}

void RecordExport::written(const std::shared_ptr<XlsxDocument> &document, const QString &error)
{
    // Given up after the worker had handed its result on: the file stays beside.
    if (m_givenUp)
        return;
    QString reason = error;
    const bool saved = document && document->commit(&reason);
    m_givenUp = true;
    emit finished(saved, reason);
}
