#include "xlsxdocument.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryFile>

#include <xlsxwriter.h>
#include <zip.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

using Rows = std::vector<std::vector<QByteArray>>;

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

// Bytes of a part, read in place.
struct Span
{
    const char *data = nullptr;
    int size = 0;
    template <int N>
    bool is(const char (&text)[N]) const
    {
        return size == N - 1 && memcmp(data, text, N - 1) == 0;
    }
};

// What a byte may be in a part, looked up rather than worked out for each byte.
enum ByteClass : uchar { NameStart = 1, NameChar = 2, Space = 4, TextChar = 8 };

const std::array<uchar, 256> byteClasses = [] {
    std::array<uchar, 256> classes{};
    for (int c = 0; c < 256; ++c) {
        const bool start =
            (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c == ':' || c >= 0x80;
        const bool space = c == ' ' || c == '\t' || c == '\n' || c == '\r';
        classes[size_t(c)] = uchar((start ? NameStart | NameChar : 0) |
                                   ((c >= '0' && c <= '9') || c == '-' || c == '.' ? NameChar : 0) |
                                   (space ? Space : 0) |
                                   ((c >= 0x20 || space) && c != '<' && c != '&' ? TextChar : 0));
    }
    return classes;
}();

bool isSpace(char c)
{
    return byteClasses[uchar(c)] & Space;
}

bool isNameChar(char c, bool first)
{
    return byteClasses[uchar(c)] & (first ? NameStart : NameChar);
}

void appendUtf8(std::string &text, uint code)
{
    if (code < 0x80) {
        text += char(code);
    } else if (code < 0x800) {
        text += char(0xC0 | (code >> 6));
        text += char(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        text += char(0xE0 | (code >> 12));
        text += char(0x80 | ((code >> 6) & 0x3F));
        text += char(0x80 | (code & 0x3F));
    } else {
        text += char(0xF0 | (code >> 18));
        text += char(0x80 | ((code >> 12) & 0x3F));
        text += char(0x80 | ((code >> 6) & 0x3F));
        text += char(0x80 | (code & 0x3F));
    }
}

// Reads one part of the workbook as XML, piece by piece as it is inflated: one root
// element, every tag closed in order, names and attributes well formed, every
// entity known, no markup or stray text outside the root. In a worksheet, the rows
// are matched against the rows written as they pass: each written row with its
// number, each cell with text in its column with that text, in order and nothing
// else. Rows and cells without text are not written to a sheet. A sheet part holds
// hundreds of thousands of elements, so nothing is allocated per element.
class PartReader
{
public:
    explicit PartReader(const Rows *rows)
        : rows(rows)
    {
        if (rows)
            nextRow();
    }

    // Takes the next bytes of the part; false once the part is known not to be whole.
    bool take(const char *data, int size)
    {
        if (failed)
            return false;
        if (pending.isEmpty()) {
            const int used = consume(data, data + size);
            pending = QByteArray(data + used, size - used);
        } else {
            pending.append(data, size);
            const int used = consume(pending.constData(), pending.constData() + pending.size());
            pending.remove(0, used);
        }
        return !failed;
    }

    // Whether the part ended with its root element closed and, for a sheet, every
    // written row seen.
    bool whole() const
    {
        return !failed && rootClosed && pending.isEmpty() && (!rows || row >= rows->size());
    }

private:
    // Reads as many whole tokens as the bytes hold; answers how many bytes were read.
    int consume(const char *begin, const char *end)
    {
        const char *p = begin;
        while (p < end && !failed) {
            const char *next = *p == '<' ? markup(p, end) : text(p, end);
            if (!next || next == p)
                break; // the token goes on in the next bytes
            p = next;
        }
        return int(p - begin);
    }

    // Text up to the next markup: only spaces outside the root.
    const char *text(const char *p, const char *end)
    {
        const bool outside = depth == 0;
        while (p < end && *p != '<') {
            if (*p == '&') {
                const char *after = entity(p, end);
                if (!after)
                    return p;
                p = after;
                failed = failed || outside || (rows && !inText);
                continue;
            }
            const char *run = p;
            while (p < end && (byteClasses[uchar(*p)] & TextChar) && !(outside && !isSpace(*p)))
                ++p;
            if (inText)
                cellText.append(run, size_t(p - run));
            else if (rows && std::any_of(run, p, [](char c) { return !isSpace(c); }))
                failed = true; // a sheet has text only in its cells
            if (p < end && *p != '<' && *p != '&') {
                failed = true; // a control character, or text outside the root
                return p;
            }
        }
        return p;
    }

    // An entity reference at p, decoded into the cell's text when inside one.
    const char *entity(const char *p, const char *end)
    {
        const char *semicolon = static_cast<const char *>(memchr(p, ';', size_t(qMin<qint64>(end - p, 12))));
        if (!semicolon) {
            failed = end - p >= 12;
            return nullptr;
        }
        const Span name{p + 1, int(semicolon - p - 1)};
        uint code = 0;
        if (name.is("amp"))
            code = '&';
        else if (name.is("lt"))
            code = '<';
        else if (name.is("gt"))
            code = '>';
        else if (name.is("quot"))
            code = '"';
        else if (name.is("apos"))
            code = '\'';
        else if (name.size > 2 && name.data[0] == '#' && name.data[1] == 'x')
            code = QByteArray(name.data + 2, name.size - 2).toUInt(nullptr, 16);
        else if (name.size > 1 && name.data[0] == '#' && isdigit(uchar(name.data[1])))
            code = QByteArray(name.data + 1, name.size - 1).toUInt(nullptr, 10);
        if (code == 0 || code > 0x10FFFF || (code >= 0xD800 && code < 0xE000))
            failed = true;
        else if (inText)
            appendUtf8(cellText, code);
        return semicolon + 1;
    }

    // The end of a construct that ends with close, searched from p; null when the
    // bytes end before it.
    static const char *after(const char *p, const char *end, const char *close)
    {
        const int length = int(strlen(close));
        for (; end - p >= length; ++p) {
            if (memcmp(p, close, size_t(length)) == 0)
                return p + length;
        }
        return nullptr;
    }

    const char *markup(const char *p, const char *end)
    {
        if (end - p < 2)
            return nullptr;
        if (p[1] == '?') { // the XML declaration or a processing instruction
            const char *close = after(p + 2, end, "?>");
            failed = close && memchr(p + 2, '<', size_t(close - p - 2));
            return close;
        }
        if (p[1] == '!') {
            if (end - p < 4)
                return nullptr;
            if (memcmp(p, "<!--", 4) == 0)
                return after(p + 4, end, "-->");
            if (end - p < 9)
                return nullptr;
            if (memcmp(p, "<![CDATA[", 9) == 0 && depth > 0) {
                const char *close = after(p + 9, end, "]]>");
                if (close && inText)
                    cellText.append(p + 9, size_t(close - p - 12));
                return close;
            }
            failed = true; // no document type, no CDATA outside the root
            return nullptr;
        }
        if (p[1] == '/')
            return endTag(p, end);
        return startTag(p, end);
    }

    // A name at p; null when it is not one, end when the bytes end inside it.
    const char *name(const char *p, const char *end)
    {
        if (p < end && !isNameChar(*p, true)) {
            failed = true;
            return nullptr;
        }
        while (p < end && isNameChar(*p, false))
            ++p;
        return p;
    }

    const char *endTag(const char *p, const char *end)
    {
        const char *nameEnd = name(p + 2, end);
        if (!nameEnd)
            return nullptr;
        const char *q = nameEnd;
        while (q < end && isSpace(*q))
            ++q;
        if (q >= end)
            return nullptr;
        const int length = int(nameEnd - p - 2);
        const size_t top = depth > 0 ? openAt.back() : 0;
        if (*q != '>' || depth == 0 || names.size() - top != size_t(length) ||
            memcmp(names.data() + top, p + 2, size_t(length)) != 0) {
            failed = true;
            return nullptr;
        }
        closeElement(Span{p + 2, length});
        names.resize(top);
        openAt.pop_back();
        --depth;
        rootClosed = depth == 0;
        return q + 1;
    }

    const char *startTag(const char *p, const char *end)
    {
        const char *nameEnd = name(p + 1, end);
        if (!nameEnd)
            return nullptr;
        const Span element{p + 1, int(nameEnd - p - 1)};
        Span reference; // the values of r and t
        Span type;
        const char *q = nameEnd;
        for (;;) {
            const char *spaces = q;
            while (q < end && isSpace(*q))
                ++q;
            if (q >= end)
                return nullptr;
            if (*q == '>' || *q == '/')
                break;
            const char *attributeEnd = q > spaces ? name(q, end) : nullptr;
            if (!attributeEnd) {
                failed = true;
                return nullptr;
            }
            const char *r = attributeEnd;
            while (r < end && isSpace(*r))
                ++r;
            if (r >= end)
                return nullptr;
            if (*r != '=') {
                failed = true;
                return nullptr;
            }
            for (++r; r < end && isSpace(*r);)
                ++r;
            if (r >= end)
                return nullptr;
            const char quote = *r;
            const bool quoted = quote == '"' || quote == '\'';
            const char *valueEnd =
                quoted ? static_cast<const char *>(memchr(r + 1, quote, size_t(end - r - 1))) : nullptr;
            failed = failed || !quoted;
            if (!valueEnd)
                return nullptr;
            for (const char *v = r + 1; v < valueEnd && !failed; ++v) {
                if (*v == '&') {
                    const char *known = entity(v, valueEnd);
                    failed = !known;
                    v = known ? known - 1 : v;
                } else if (*v == '<' || (uchar(*v) < 0x20 && !isSpace(*v))) {
                    failed = true;
                }
            }
            if (attributeEnd - q == 1 && (*q == 'r' || *q == 't')) {
                Span &value = *q == 'r' ? reference : type;
                failed = failed || value.data; // an attribute given twice
                value = Span{r + 1, int(valueEnd - r - 1)};
            }
            q = valueEnd + 1;
        }
        const bool empty = *q == '/';
        if (empty && (end - q < 2 || q[1] != '>')) {
            failed = end - q >= 2;
            return nullptr;
        }
        if (rootClosed || failed) {
            failed = true;
            return nullptr;
        }
        openElement(element, reference, type);
        if (empty) {
            closeElement(element);
            rootClosed = depth == 0;
            return q + 2;
        }
        openAt.push_back(names.size());
        names.append(element.data, size_t(element.size));
        ++depth;
        return q + 1;
    }

    // The sheet's rows as their elements open and close.
    void openElement(const Span &element, const Span &reference, const Span &type)
    {
        if (!rows || failed)
            return;
        if (element.is("row")) {
            failed = inRow || row >= rows->size() || number(reference, 0) != row + 1;
            if (failed)
                return;
            inRow = true;
            cell = 0;
            nextCell();
        } else if (element.is("c")) {
            // "AB12": the column in letters, then the row's number.
            size_t column = 0;
            int letters = 0;
            for (; letters < reference.size && isupper(uchar(reference.data[letters])); ++letters)
                column = column * 26 + size_t(reference.data[letters] - 'A' + 1);
            failed = !inRow || inCell || cell >= rows->at(row).size() || column != cell + 1 ||
                     number(reference, letters) != row + 1 || !type.is("inlineStr");
            inCell = true;
            cellText.clear();
        } else if (element.is("t")) {
            inText = inCell;
        }
    }

    // The decimal number that fills the span from index from; 0 when there is none.
    static size_t number(const Span &span, int from)
    {
        size_t value = 0;
        for (int i = from; i < span.size; ++i) {
            if (span.data[i] < '0' || span.data[i] > '9' || value > 100000000)
                return 0;
            value = value * 10 + size_t(span.data[i] - '0');
        }
        return value;
    }

    void closeElement(const Span &element)
    {
        if (!rows || failed)
            return;
        if (element.is("t")) {
            inText = false;
        } else if (element.is("c")) {
            const QByteArray &written = (*rows)[row][cell];
            failed = !sameText(written) && !sameText(asWritten(written));
            inCell = false;
            ++cell;
            nextCell();
        } else if (element.is("row")) {
            failed = cell < rows->at(row).size();
            inRow = false;
            ++row;
            nextRow();
        }
    }

    bool sameText(const QByteArray &text) const
    {
        return size_t(text.size()) == cellText.size() &&
               memcmp(text.constData(), cellText.data(), cellText.size()) == 0;
    }

    void nextCell()
    {
        const auto &cells = rows->at(row);
        while (cell < cells.size() && cells[cell].isEmpty())
            ++cell;
    }
    void nextRow()
    {
        while (row < rows->size() &&
               std::all_of(rows->at(row).begin(), rows->at(row).end(), [](const QByteArray &text) {
                   return text.isEmpty();
               }))
            ++row;
    }

    const Rows *rows;
    QByteArray pending;   // a token that goes on in the next bytes
    std::string names;          // the names of the open elements, one after another
    std::vector<size_t> openAt; // where each open element's name starts in names
    int depth = 0;
    bool rootClosed = false;
    bool failed = false;
    size_t row = 0;
    size_t cell = 0;
    bool inRow = false;
    bool inCell = false;
    bool inText = false;
    std::string cellText;
};

// Whether a part of the workbook reads as XML to the end of its root element and,
// for a sheet, holds exactly the rows written.
bool partIsWhole(zip_file_t *part, const Rows *rows)
{
    PartReader reader(rows);
    QByteArray buffer(256 * 1024, Qt::Uninitialized);
    zip_int64_t got = 0;
    while ((got = zip_fread(part, buffer.data(), zip_uint64_t(buffer.size()))) > 0) {
        if (!reader.take(buffer.constData(), int(got)))
            return false;
    }
    return got == 0 && reader.whole();
}

// libxlsxwriter stages each part of the workbook in a temporary file without
// checking those writes: on a disk that fills, a part loses bytes anywhere in it,
// while the archive of the parts is still written and closed without an error.
// Every part is read back to its end, and every sheet must hold its rows.
bool partsAreWhole(const QString &path, const std::vector<const Rows *> &sheets)
{
    int error = 0;
    zip_t *zip = zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY, &error);
    if (!zip)
        return false;
    const zip_int64_t count = zip_get_num_entries(zip, 0);
    bool whole = count > 0;
    std::vector<bool> sheetSeen(sheets.size());
    for (zip_int64_t i = 0; whole && i < count; ++i) {
        // libxlsxwriter names the sheets' parts by their order, from 1.
        const QString name = QString::fromUtf8(zip_get_name(zip, zip_uint64_t(i), 0));
        const QRegularExpressionMatch sheet =
            QRegularExpression(QStringLiteral("^xl/worksheets/sheet(\\d+)\\.xml$")).match(name);
        const size_t index = sheet.hasMatch() ? sheet.captured(1).toULongLong() : 0;
        if (sheet.hasMatch() && (index < 1 || index > sheets.size() || sheetSeen[index - 1])) {
            whole = false;
            break;
        }
        zip_file_t *part = zip_fopen_index(zip, zip_uint64_t(i), 0);
        whole = part && partIsWhole(part, index ? sheets[index - 1] : nullptr);
        if (index)
            sheetSeen[index - 1] = true;
        if (part)
            zip_fclose(part);
    }
    zip_discard(zip);
    return whole && std::all_of(sheetSeen.begin(), sheetSeen.end(), [](bool seen) { return seen; });
}

} // namespace

void XlsxDocument::addSheet(const QString &name)
{
    sheets.push_back(Sheet{name, {}});
}

QStringList XlsxDocument::sheetNames() const
{
    QStringList names;
    for (const Sheet &sheet : sheets)
        names.append(sheet.name);
    return names;
}

void XlsxDocument::write(int row, int column, const QString &text)
{
    if (row < 1 || column < 1)
        return;
    if (sheets.empty())
        addSheet(QStringLiteral("Sheet1"));
    auto &rows = sheets.back().rows;
    if (rows.size() < size_t(row))
        rows.resize(size_t(row));
    auto &cells = rows[size_t(row - 1)];
    // A row is mostly as wide as the one above it: its cells are made room for at once.
    if (cells.empty() && row > 1)
        cells.reserve(rows[size_t(row - 2)].size());
    if (cells.size() < size_t(column))
        cells.resize(size_t(column));
    cells[size_t(column - 1)] = text.toUtf8();
}

bool XlsxDocument::writeWorkbook(const QString &path, QString *error) const
{
    // Rows are written in order, so the workbook streams them to disk instead of
    // holding a second copy of every cell.
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    const QByteArray file = QFile::encodeName(path);
    lxw_workbook *workbook = workbook_new_opt(file.constData(), &options);
    if (!workbook) {
        setError(error, QStringLiteral("cannot start the workbook"));
        return false;
    }
    lxw_error failure = LXW_NO_ERROR;
    for (const Sheet &sheet : sheets) {
        const QByteArray name = sheet.name.toUtf8();
        lxw_worksheet *worksheet = workbook_add_worksheet(workbook, name.constData());
        if (!worksheet) {
            failure = LXW_ERROR_SHEETNAME_ALREADY_USED;
            break;
        }
        for (size_t r = 0; r < sheet.rows.size() && failure == LXW_NO_ERROR; ++r) {
            const auto &cells = sheet.rows[r];
            for (size_t c = 0; c < cells.size(); ++c) {
                if (cells[c].isNull())
                    continue;
                const lxw_error result = worksheet_write_string(worksheet, lxw_row_t(r), lxw_col_t(c),
                                                                cells[c].constData(), nullptr);
                if (result != LXW_NO_ERROR) {
                    failure = result;
                    break;
                }
            }
        }
        if (failure != LXW_NO_ERROR)
            break;
    }
    // Closing writes the file; it also frees the workbook after a failure above.
    const lxw_error closed = workbook_close(workbook);
    if (failure == LXW_NO_ERROR)
        failure = closed;
    if (failure != LXW_NO_ERROR) {
        setError(error, QString::fromUtf8(lxw_strerror(failure)));
        return false;
    }
    std::vector<const Rows *> written;
    for (const Sheet &sheet : sheets)
        written.push_back(&sheet.rows);
    if (!partsAreWhole(path, written)) {
        setError(error, QStringLiteral("the workbook was not written whole"));
        return false;
    }
    return true;
}

bool XlsxDocument::saveAs(const QString &fileName, QString *error) const
{
    const QFileInfo target(fileName);
    if (target.fileName().isEmpty()) {
        setError(error, QStringLiteral("no file name"));
        return false;
    }
    QTemporaryFile temporary(target.absolutePath() + QStringLiteral("/.") + target.fileName() +
                             QStringLiteral(".XXXXXX"));
    if (!temporary.open()) {
        setError(error, temporary.errorString());
        return false;
    }
    temporary.close();
    if (!writeWorkbook(temporary.fileName(), error))
        return false;
    if (!QFile::setPermissions(temporary.fileName(), targetPermissions(target))) {
        setError(error, QStringLiteral("cannot set the file's rights"));
        return false;
    }
    // rename() replaces the old file in one step: a reader sees the old file or
    // the new one, never a part of either.
    if (std::rename(QFile::encodeName(temporary.fileName()).constData(),
                    QFile::encodeName(target.absoluteFilePath()).constData()) != 0) {
        setError(error, QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    temporary.setAutoRemove(false);
    return true;
}
