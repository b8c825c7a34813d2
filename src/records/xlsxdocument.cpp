#include "xlsxdocument.h"

#include "store/backgroundwork.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QTemporaryFile>
#include <QtEndian>

#include <expat.h>
#include <xlsxwriter.h>
#include <zip.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <string>
#include <thread>

namespace {

using Cells = XlsxDocument::Cells;
using Rows = XlsxDocument::Rows;

void setError(QString *error, const QString &text)
{
    if (error)
        *error = text;
}

// The rights the saved file gets: those of the file it replaces, or read and
// write for its owner and read for everybody else; never writable by others.
QFile::Permissions targetPermissions(const QFileInfo &target)
{
    QFile::Permissions rights = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser |
                                QFile::ReadGroup | QFile::ReadOther;
    if (target.exists())
        rights = QFile(target.filePath()).permissions() | QFile::ReadOwner | QFile::WriteOwner |
                 QFile::ReadUser | QFile::WriteUser;
    return rights & ~QFile::Permissions(QFile::WriteOther);
}

// A cell as libxlsxwriter writes it into a sheet: control characters other than tab
// and line feed become "_xHHHH_", which reads back as it stands.
QByteArray asWritten(const QByteArray &cell)
{
    QByteArray text;
    for (const char c : cell) {
        if (uchar(c) < 0x20 && c != '\t' && c != '\n')
            text += "_x" + QByteArray::number(uint(uchar(c)), 16).toUpper().rightJustified(4, '0') + '_';
        else
            text += c;
    }
    return text;
}

// The namespaces of the parts' elements, as expat joins them to a name: "uri|local".
#define SHEET_NS "http://schemas.openxmlformats.org/spreadsheetml/2006/main|"
#define RELATIONSHIP_NS "http://schemas.openxmlformats.org/officeDocument/2006/relationships|"
#define PACKAGE_NS "http://schemas.openxmlformats.org/package/2006/relationships|"
#define TYPES_NS "http://schemas.openxmlformats.org/package/2006/content-types|"
// The types by which a reader finds the workbook and its sheets.
#define DOCUMENT_RELATIONSHIP "http://schemas.openxmlformats.org/officeDocument/2006/relationships/"
#define SHEET_CONTENT_TYPE "application/vnd.openxmlformats-officedocument.spreadsheetml."
constexpr char WorkbookRelationship[] = DOCUMENT_RELATIONSHIP "officeDocument";
constexpr char SheetRelationship[] = DOCUMENT_RELATIONSHIP "worksheet";
constexpr char WorkbookType[] = SHEET_CONTENT_TYPE "sheet.main+xml";
constexpr char SheetType[] = SHEET_CONTENT_TYPE "worksheet+xml";
constexpr char NamespaceSeparator = '|';

// The value of the attribute called name; null when the element has none.
const char *attribute(const char **attributes, const char *name)
{
    for (; attributes[0]; attributes += 2) {
        if (strcmp(attributes[0], name) == 0)
            return attributes[1];
    }
    return nullptr;
}

// Reads one part of the workbook as it is inflated: XML 1.0 in UTF-8, well formed,
// namespaces bound, no document type. What a part holds is seen through the
// handlers, which a reader of a certain part overrides; any of them may fail the
// part, which ends the parse at once.
class PartParser
{
public:
    PartParser()
        : parser(XML_ParserCreateNS("UTF-8", NamespaceSeparator))
    {
        if (!parser)
            return;
        // A parser told to stop may still pass on what it has read: a part that
        // failed sees no more of it.
        XML_SetUserData(parser, this);
        XML_SetElementHandler(
            parser,
            [](void *data, const char *name, const char **attributes) {
                auto *self = static_cast<PartParser *>(data);
                if (!self->failed)
                    self->startElement(name, attributes);
            },
            [](void *data, const char *name) {
                auto *self = static_cast<PartParser *>(data);
                if (!self->failed)
                    self->endElement(name);
            });
        XML_SetCharacterDataHandler(parser, [](void *data, const char *text, int length) {
            auto *self = static_cast<PartParser *>(data);
            if (!self->failed)
                self->characters(text, length);
        });
        XML_SetXmlDeclHandler(parser, [](void *self, const char *version, const char *encoding, int) {
            // expat reads any version number and, told UTF-8, passes any encoding named.
            if (strcmp(version, "1.0") != 0 || (encoding && qstricmp(encoding, "UTF-8") != 0))
                static_cast<PartParser *>(self)->fail();
        });
        XML_SetStartDoctypeDeclHandler(parser,
                                       [](void *self, const char *, const char *, const char *, int) {
                                           static_cast<PartParser *>(self)->fail();
                                       });
    }
    virtual ~PartParser()
    {
        if (parser)
            XML_ParserFree(parser);
    }
    PartParser(const PartParser &) = delete;
    PartParser &operator=(const PartParser &) = delete;

    // Reads the part to its end; whether it is whole XML and holds what it must.
    bool parse(zip_file_t *part)
    {
        constexpr int Chunk = 256 * 1024;
        while (parser && !failed && !BackgroundWork::stopping()) {
            void *buffer = XML_GetBuffer(parser, Chunk);
            const zip_int64_t got = buffer ? zip_fread(part, buffer, Chunk) : -1;
            if (got < 0 || XML_ParseBuffer(parser, int(got), got == 0) != XML_STATUS_OK)
                return false;
            if (got == 0)
                return !failed && complete();
        }
        return false;
    }

protected:
    virtual void startElement(const char *, const char **) {}
    virtual void endElement(const char *) {}
    virtual void characters(const char *, int) {}
    // Whether the part, read to its end, held all it must.
    virtual bool complete() const { return true; }

    void fail()
    {
        if (!failed)
            XML_StopParser(parser, XML_FALSE);
        failed = true;
    }

private:
    XML_Parser parser;
    bool failed = false;
};

// The workbook's list of sheets: each one's name and the id of its relationship.
class WorkbookParser : public PartParser
{
public:
    std::vector<std::pair<QByteArray, QByteArray>> sheets;

protected:
    void startElement(const char *name, const char **attributes) override
    {
        if (strcmp(name, SHEET_NS "sheet") == 0)
            sheets.emplace_back(attribute(attributes, "name"), attribute(attributes, RELATIONSHIP_NS "id"));
    }
};

// The content types of the package's parts: a part's own, or else the one of its
// extension. Names and extensions are compared without regard to case, as readers
// do; one named twice fails the part, as readers may take either.
class ContentTypesParser : public PartParser
{
public:
    // The type of the part with the name, which starts with "/".
    QByteArray typeOf(const QByteArray &part) const
    {
        const QByteArray name = part.toLower();
        return overrides.contains(name) ? overrides.value(name)
                                        : defaults.value(name.mid(name.lastIndexOf('.') + 1));
    }

protected:
    void startElement(const char *name, const char **attributes) override
    {
        const bool own = strcmp(name, TYPES_NS "Override") == 0;
        if (!own && strcmp(name, TYPES_NS "Default") != 0)
            return;
        const QByteArray key = QByteArray(attribute(attributes, own ? "PartName" : "Extension")).toLower();
        const char *type = attribute(attributes, "ContentType");
        QHash<QByteArray, QByteArray> &types = own ? overrides : defaults;
        if (key.isEmpty() || !type || types.contains(key))
            return fail();
        types.insert(key, type);
    }

private:
    QHash<QByteArray, QByteArray> overrides;
    QHash<QByteArray, QByteArray> defaults;
};

// The targets and types of a part's relationships, by id; an id given twice fails the part.
class RelationshipsParser : public PartParser
{
public:
    QHash<QByteArray, QByteArray> targets;
    QHash<QByteArray, QByteArray> types;

protected:
    void startElement(const char *name, const char **attributes) override
    {
        if (strcmp(name, PACKAGE_NS "Relationship") != 0)
            return;
        const QByteArray id = attribute(attributes, "Id");
        if (targets.contains(id))
            return fail();
        targets.insert(id, attribute(attributes, "Target"));
        types.insert(id, attribute(attributes, "Type"));
    }
};

// A worksheet, matched against the rows written as they pass: each written row
// with its number, each cell with text in its column with that text, in order and
// nothing else. Rows and cells without text are not written to a sheet. A sheet
// holds hundreds of thousands of elements, so nothing is allocated per element.
class SheetParser : public PartParser
{
public:
    explicit SheetParser(const Rows &rows)
        : rows(rows)
    {
        nextRow();
    }

protected:
    void startElement(const char *name, const char **attributes) override
    {
        switch (kind(name)) {
        case Row:
            if (inRow || row >= rows.size() || number(attribute(attributes, "r")) != row + 1)
                return fail();
            inRow = true;
            cell = 0;
            nextCell();
            break;
        case Cell: {
            const char *reference = nullptr;
            const char *type = nullptr;
            for (const char **a = attributes; a[0]; a += 2) {
                if (a[0][0] && !a[0][1] && (a[0][0] == 'r' || a[0][0] == 't'))
                    (a[0][0] == 'r' ? reference : type) = a[1];
            }
            // "AB12": the column in letters, then the row's number.
            size_t column = 0;
            for (; reference && isupper(uchar(*reference)); ++reference)
                column = column * 26 + size_t(*reference - 'A' + 1);
            if (!inRow || inCell || cell >= rows[row].size() || column != cell + 1 ||
                number(reference) != row + 1 || !type || strcmp(type, "inlineStr") != 0)
                return fail();
            inCell = true;
            cellText.clear();
            break;
        }
        case Text:
            inText = inCell;
            break;
        case Other:
            break;
        }
    }

    void endElement(const char *name) override
    {
        switch (kind(name)) {
        case Text:
            inText = false;
            break;
        case Cell: {
            const QByteArray &written = rows[row][cell];
            if (!sameText(written) && !sameText(asWritten(written)))
                return fail();
            inCell = false;
            ++cell;
            nextCell();
            break;
        }
        case Row:
            if (cell < rows[row].size())
                return fail();
            inRow = false;
            ++row;
            nextRow();
            break;
        case Other:
            break;
        }
    }

    void characters(const char *text, int length) override
    {
        if (inText)
            cellText.append(text, size_t(length));
        else if (std::any_of(text, text + length, [](char c) { return !isspace(uchar(c)); }))
            fail(); // a sheet has text only in its cells
    }

    bool complete() const override { return row >= rows.size(); }

private:
    enum Element { Other, Row, Cell, Text };
    // The sheet's elements that hold rows, found by name with their namespace.
    static Element kind(const char *name)
    {
        constexpr size_t Prefix = sizeof(SHEET_NS) - 1;
        if (strncmp(name, SHEET_NS, Prefix) != 0)
            return Other;
        const char *local = name + Prefix;
        if (strcmp(local, "c") == 0)
            return Cell;
        if (strcmp(local, "t") == 0)
            return Text;
        return strcmp(local, "row") == 0 ? Row : Other;
    }

    // The decimal number that fills the text; 0 when there is none.
    static size_t number(const char *text)
    {
        size_t value = 0;
        for (; text && *text; ++text) {
            if (*text < '0' || *text > '9' || value > 100000000)
                return 0;
            value = value * 10 + size_t(*text - '0');
        }
        return value;
    }

    bool sameText(const QByteArray &text) const
    {
        return size_t(text.size()) == cellText.size() &&
               memcmp(text.constData(), cellText.data(), cellText.size()) == 0;
    }

    void nextCell()
    {
        const auto &cells = rows[row];
        while (cell < cells.size() && cells[cell].isEmpty())
            ++cell;
    }
    void nextRow()
    {
        while (row < rows.size() && std::all_of(rows[row].begin(), rows[row].end(),
                                                [](const QByteArray &text) { return text.isEmpty(); }))
            ++row;
    }

    const Rows &rows;
    size_t row = 0;
    size_t cell = 0;
    bool inRow = false;
    bool inCell = false;
    bool inText = false;
    std::string cellText;
};

std::function<void(const QString &)> &beforeReadBack()
{
    static std::function<void(const QString &)> hook;
    return hook;
}

// Reads the part at index with the parser; false when it is missing or not whole.
bool readPart(zip_t *zip, zip_int64_t index, PartParser &parser)
{
    zip_file_t *part = index >= 0 ? zip_fopen_index(zip, zip_uint64_t(index), 0) : nullptr;
    if (!part)
        return false;
    const bool whole = parser.parse(part);
    zip_fclose(part);
    return whole;
}

// libxlsxwriter stages each part of the workbook in a temporary file without
// checking those writes: on a disk that fills, a part loses bytes anywhere in it,
// while the archive of the parts is still written and closed without an error.
// The package's parts must all be there: its content types and relationships, the
// workbook with its relationships, and every sheet the workbook names, which must
// be the sheets written, in order, each holding its rows. A reader finds the
// workbook and the sheets by their relationships' types and their content types,
// so those must be theirs. Every part is read to its end as XML.
bool partsAreWhole(zip_t *zip, const std::vector<std::pair<QByteArray, const Rows *>> &written)
{
    const zip_int64_t count = zip_get_num_entries(zip, 0);
    std::vector<bool> read(size_t(qMax<zip_int64_t>(count, 0)));
    const auto readNamed = [&](const QByteArray &name, PartParser &parser) {
        const zip_int64_t index = zip_name_locate(zip, name.constData(), 0);
        if (index < 0 || index >= count || read[size_t(index)])
            return false;
        read[size_t(index)] = true;
        return readPart(zip, index, parser);
    };
    ContentTypesParser contentTypes;
    RelationshipsParser packageRelationships;
    WorkbookParser workbook;
    RelationshipsParser relationships;
    if (!readNamed("[Content_Types].xml", contentTypes) || !readNamed("_rels/.rels", packageRelationships) ||
        !readNamed("xl/workbook.xml", workbook) ||
        !readNamed("xl/_rels/workbook.xml.rels", relationships) || workbook.sheets.size() != written.size())
        return false;
    // The one office document of the package is the workbook.
    const QList<QByteArray> documents = packageRelationships.types.keys(WorkbookRelationship);
    const QByteArray document =
        documents.size() == 1 ? packageRelationships.targets.value(documents[0]) : QByteArray();
    if ((document != "xl/workbook.xml" && document != "/xl/workbook.xml") ||
        contentTypes.typeOf("/xl/workbook.xml") != WorkbookType)
        return false;
    for (size_t i = 0; i < written.size(); ++i) {
        const auto &[name, id] = workbook.sheets[i];
        const QByteArray target = relationships.targets.value(id);
        const QByteArray part = target.startsWith('/') ? target.mid(1) : "xl/" + target;
        SheetParser sheet(*written[i].second);
        const bool typed = relationships.types.value(id) == SheetRelationship &&
                           contentTypes.typeOf('/' + part) == SheetType;
        if (name != written[i].first || target.isEmpty() || !typed || !readNamed(part, sheet))
            return false;
    }
    for (zip_int64_t i = 0; i < count; ++i) {
        PartParser other;
        if (!read[size_t(i)] && !readPart(zip, i, other))
            return false;
    }
    return true;
}

// Bytes of the file at offset; empty when they are not all there.
QByteArray bytesAt(QFile &file, qint64 offset, qint64 length)
{
    if (offset < 0 || length < 0 || offset + length > file.size() || !file.seek(offset))
        return QByteArray();
    const QByteArray bytes = file.read(length);
    return bytes.size() == length ? bytes : QByteArray();
}

quint32 le16(const QByteArray &bytes, int at) { return qFromLittleEndian<quint16>(bytes.constData() + at); }
quint32 le32(const QByteArray &bytes, int at) { return qFromLittleEndian<quint32>(bytes.constData() + at); }

// libzip, told to check, has found each entry's local header where its central
// record says and agreeing with it. A reader that walks the local headers one after
// another must find the same entries, and none may be encrypted to any reader. As
// libxlsxwriter writes the file, the entries follow one another from its start, in
// the directory's order, without descriptors after their data; then come the
// directory and its end record, without a comment. So an entry that overlaps
// another, or a gap between them, shows as a record whose entry is not where the
// one before it ends.
bool entriesFollowOneAnother(const QString &path, zip_t *zip)
{
    constexpr int HeaderSize = 30, RecordSize = 46, EndSize = 22;
    constexpr quint32 Encrypted = 0x2041; // the flags of encrypted data, of any kind
    QFile file(path);
    const QByteArray end =
        file.open(QIODevice::ReadOnly) ? bytesAt(file, file.size() - EndSize, EndSize) : QByteArray();
    const zip_int64_t count = zip_get_num_entries(zip, 0);
    if (end.isEmpty() || le32(end, 0) != 0x06054b50 || le16(end, 10) != count)
        return false;
    const qint64 directory = le32(end, 16);
    const QByteArray records = bytesAt(file, directory, le32(end, 12));
    if (directory + records.size() != file.size() - EndSize)
        return false;
    qint64 entry = 0;
    int record = 0;
    for (zip_int64_t i = 0; i < count; ++i) {
        zip_stat_t stat;
        const QByteArray header = bytesAt(file, entry, HeaderSize);
        if (zip_stat_index(zip, zip_uint64_t(i), ZIP_FL_ENC_RAW, &stat) != 0 || header.isEmpty() ||
            record + RecordSize > records.size() || le32(records, record) != 0x02014b50 ||
            le32(records, record + 42) != entry || (le16(records, record + 8) & Encrypted) ||
            records.mid(record + RecordSize, int(le16(records, record + 28))) != stat.name ||
            le32(header, 0) != 0x04034b50 || (le16(header, 6) & Encrypted))
            return false;
        entry += HeaderSize + le16(header, 26) + le16(header, 28) + qint64(stat.comp_size);
        record += RecordSize + int(le16(records, record + 28) + le16(records, record + 30) +
                                   le16(records, record + 32));
    }
    return entry == directory && record == records.size();
}

bool workbookIsWhole(const QString &path, const std::vector<std::pair<QByteArray, const Rows *>> &written)
{
    // The file is our own, small in entries: each local header is checked against
    // the directory as the archive opens.
    int error = 0;
    zip_t *zip = zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY | ZIP_CHECKCONS, &error);
    if (!zip)
        return false;
    const bool whole = entriesFollowOneAnother(path, zip) && partsAreWhole(zip, written);
    zip_discard(zip);
    return whole;
}

} // namespace

// Hands the rows to libxlsxwriter on a thread of its own as they are complete, so
// that the workbook's sheets are staged while their rows are still being read.
// Only that thread calls libxlsxwriter until finish() has joined it, or the
// destructor, which stops it at its next row.
class XlsxDocument::Writer
{
public:
    explicit Writer(const QString &path)
    {
        // Rows are written in order, so the workbook streams them to disk instead of
        // holding a second copy of every cell.
        lxw_workbook_options options{};
        options.constant_memory = LXW_TRUE;
        workbook = workbook_new_opt(QFile::encodeName(path).constData(), &options);
        if (workbook)
            thread = std::thread([this] { run(); });
    }
    // Without finish(), nothing is written: the thread stops at its next row and the
    // workbook is freed as it stands.
    ~Writer()
    {
        if (!workbook)
            return;
        abandon();
        thread.join();
        discard();
    }
    Writer(const Writer &) = delete;
    Writer &operator=(const Writer &) = delete;

    bool started() const { return workbook; }
    void addSheet(const QByteArray *name) { hand(Task{name, nullptr, 0}); }
    void addRow(const Cells *cells, size_t row) { hand(Task{nullptr, cells, lxw_row_t(row)}); }

    // Stages what is left and writes the file; answers how that went. The staging
    // lasts as long as the rows waiting for it: a caller that gives up meanwhile
    // (BackgroundWork::stopping()) stops it at its next row, writes no file and
    // gets false.
    bool finish(lxw_error &result)
    {
        // The writer thread sets failure until it has been joined.
        result = LXW_NO_ERROR;
        if (!workbook)
            return true;
        bool complete = false;
        {
            std::unique_lock<std::mutex> lock(mutex);
            queue.insert(queue.end(), batch.begin(), batch.end());
            done = true;
            wake.notify_one();
            while (!staged && !BackgroundWork::stopping())
                idle.wait_for(lock, std::chrono::milliseconds(20));
            complete = staged;
        }
        batch.clear();
        if (!complete)
            abandon();
        thread.join();
        result = failure;
        if (abandoned) {
            discard();
            return false;
        }
        // Closing writes the file; it also frees the workbook after a failure.
        const lxw_error closed = workbook_close(workbook);
        workbook = nullptr;
        if (failure == LXW_NO_ERROR)
            failure = closed;
        result = failure;
        return true;
    }

private:
    struct Task
    {
        const QByteArray *sheetName;
        const Cells *cells;
        lxw_row_t row;
    };

    // Tasks go over in groups, not one lock for each row.
    void hand(const Task &task)
    {
        if (!workbook)
            return;
        batch.push_back(task);
        if (batch.size() < 256)
            return;
        {
            const std::lock_guard<std::mutex> lock(mutex);
            queue.insert(queue.end(), batch.begin(), batch.end());
        }
        batch.clear();
        wake.notify_one();
    }

    void run()
    {
        std::vector<Task> tasks;
        for (;;) {
            tasks.clear();
            {
                std::unique_lock<std::mutex> lock(mutex);
                wake.wait(lock, [this] { return done || !queue.empty() || abandoned; });
                if (abandoned || queue.empty()) {
                    staged = true;
                    idle.notify_all();
                    return;
                }
                tasks.swap(queue);
            }
            for (const Task &task : tasks) {
                if (abandoned)
                    break;
                stage(task);
            }
        }
    }

    void abandon()
    {
        const std::lock_guard<std::mutex> lock(mutex);
        abandoned = true;
        wake.notify_one();
    }

    // Frees the workbook without writing it (closing it would write every row
    // staged). libxlsxwriter keeps the files in which its sheets stage their rows
    // open until they are written: they are closed here.
    void discard()
    {
        for (lxw_worksheet *sheet : worksheets) {
            if (sheet->optimize_tmpfile) {
                std::fclose(sheet->optimize_tmpfile);
                sheet->optimize_tmpfile = nullptr;
            }
        }
        lxw_workbook_free(workbook);
        workbook = nullptr;
    }

    void stage(const Task &task)
    {
        if (failure != LXW_NO_ERROR)
            return;
        if (task.sheetName) {
            worksheet = workbook_add_worksheet(workbook, task.sheetName->constData());
            if (!worksheet)
                failure = LXW_ERROR_SHEETNAME_ALREADY_USED;
            else
                worksheets.push_back(worksheet);
            return;
        }
        const Cells &cells = *task.cells;
        for (size_t c = 0; c < cells.size() && failure == LXW_NO_ERROR; ++c) {
            if (!cells[c].isNull())
                failure = worksheet_write_string(worksheet, task.row, lxw_col_t(c), cells[c].constData(),
                                                 nullptr);
        }
    }

    lxw_workbook *workbook = nullptr;
    lxw_worksheet *worksheet = nullptr;
    std::vector<lxw_worksheet *> worksheets;
    lxw_error failure = LXW_NO_ERROR;
    std::vector<Task> batch;
    std::mutex mutex;
    std::condition_variable wake;
    std::condition_variable idle; // told once the thread has ended
    std::vector<Task> queue;
    bool done = false;
    bool staged = false;
    std::atomic<bool> abandoned{false};
    std::thread thread;
};

XlsxDocument::XlsxDocument(const QString &fileName)
    : target(fileName)
{
    if (target.fileName().isEmpty()) {
        setupError = QStringLiteral("no file name");
        return;
    }
    temporary = std::make_unique<QTemporaryFile>(target.absolutePath() + QStringLiteral("/.") +
                                                 target.fileName() + QStringLiteral(".XXXXXX"));
    if (!temporary->open()) {
        setupError = temporary->errorString();
        return;
    }
    temporary->close();
    BackgroundWork::remember(temporary->fileName());
    writer = std::make_unique<Writer>(temporary->fileName());
    if (!writer->started()) {
        setupError = QStringLiteral("cannot start the workbook");
        writer.reset();
    }
}

// A document not saved leaves no file: the file beside the target goes.
XlsxDocument::~XlsxDocument()
{
    writer.reset();
    if (!temporary)
        return;
    const QString path = temporary->fileName();
    temporary.reset();
    BackgroundWork::forget(path);
}

void XlsxDocument::addSheet(const QString &name)
{
    handRows();
    sheets.push_back(Sheet{name, name.toUtf8(), {}, 0});
    if (writer)
        writer->addSheet(&sheets.back().utf8Name);
}

QStringList XlsxDocument::sheetNames() const
{
    QStringList names;
    for (const Sheet &sheet : sheets)
        names.append(sheet.name);
    return names;
}

void XlsxDocument::handRows(size_t below)
{
    if (sheets.empty())
        return;
    Sheet &sheet = sheets.back();
    for (below = qMin(below, sheet.rows.size()); sheet.handed < below; ++sheet.handed) {
        if (writer)
            writer->addRow(&sheet.rows[sheet.handed], sheet.handed);
    }
}

void XlsxDocument::write(int row, int column, const QString &text)
{
    if (row < 1 || column < 1)
        return;
    if (sheets.empty())
        addSheet(QStringLiteral("Sheet1"));
    // The rows above this one are complete; a row already handed is not changed.
    if (size_t(row) <= sheets.back().handed) {
        setupError = QStringLiteral("a row was written after a later one");
        return;
    }
    handRows(size_t(row - 1));
    auto &rows = sheets.back().rows;
    if (rows.size() < size_t(row))
        rows.resize(size_t(row));
    auto &cells = rows[size_t(row - 1)];
    // A row is mostly as wide as the one above it: its cells are made room for at once.
    if (cells.empty() && row > 1)
        cells.reserve(rows[size_t(row - 2)].size());
    if (cells.size() < size_t(column))
        cells.resize(size_t(column));
    // XML holds no NUL, and libxlsxwriter takes a text only up to its first one: a
    // text is written, and read back, without it.
    QByteArray utf8 = text.toUtf8();
    if (utf8.contains('\0'))
        utf8.replace(QByteArray(1, '\0'), QByteArray());
    cells[size_t(column - 1)] = utf8;
}

void XlsxDocument::setBeforeReadBack(std::function<void(const QString &path)> hook)
{
    beforeReadBack() = std::move(hook);
}

bool XlsxDocument::save(QString *error)
{
    return prepare(error) && commit(error);
}

bool XlsxDocument::prepare(QString *error)
{
    const QString givenUp = QStringLiteral("the export was given up");
    if (!writer || !setupError.isEmpty()) {
        setError(error, setupError);
        return false;
    }
    handRows();
    lxw_error failure = LXW_NO_ERROR;
    const bool finished = writer->finish(failure);
    writer.reset();
    if (!finished) {
        setError(error, givenUp);
        return false;
    }
    if (failure != LXW_NO_ERROR) {
        setError(error, QString::fromUtf8(lxw_strerror(failure)));
        return false;
    }
    const QString path = temporary->fileName();
    if (beforeReadBack())
        beforeReadBack()(path);
    std::vector<std::pair<QByteArray, const Rows *>> written;
    for (const Sheet &sheet : sheets)
        written.emplace_back(sheet.utf8Name, &sheet.rows);
    if (!workbookIsWhole(path, written)) {
        setError(error, BackgroundWork::stopping() ? givenUp
                                                   : QStringLiteral("the workbook was not written whole"));
        return false;
    }
    if (!QFile::setPermissions(path, targetPermissions(QFileInfo(target.filePath())))) {
        setError(error, QStringLiteral("cannot set the file's rights"));
        return false;
    }
    // The rows were kept to be compared with what was read back: they go here, not
    // on the thread that commits.
    for (Sheet &sheet : sheets)
        Rows().swap(sheet.rows);
    prepared = true;
    return true;
}

bool XlsxDocument::commit(QString *error)
{
    if (!prepared || !temporary) {
        setError(error, QStringLiteral("the workbook was not written"));
        return false;
    }
    const QString path = temporary->fileName();
    // rename() replaces the old file in one step: a reader sees the old file or
    // the new one, never a part of either.
    const QByteArray to = QFile::encodeName(target.absoluteFilePath());
    if (std::rename(QFile::encodeName(path).constData(), to.constData()) != 0) {
        setError(error, QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    temporary->setAutoRemove(false);
    temporary.reset();
    BackgroundWork::forget(path);
    return true;
}
