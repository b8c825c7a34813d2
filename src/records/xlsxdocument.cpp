#include "xlsxdocument.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <xlsxwriter.h>
#include <zip.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

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

// Whether a part of the workbook ends with the end tag of the element it begins with.
bool partIsWhole(zip_file_t *part)
{
    QByteArray head;
    QByteArray tail;
    QByteArray buffer(64 * 1024, Qt::Uninitialized);
    zip_int64_t got = 0;
    while ((got = zip_fread(part, buffer.data(), zip_uint64_t(buffer.size()))) > 0) {
        if (head.size() < 512)
            head.append(buffer.constData(), int(qMin<zip_int64_t>(got, 512)));
        tail.append(buffer.constData(), int(got));
        tail = tail.right(256);
    }
    // The root element follows the XML declaration.
    const int open = head.indexOf('<', head.startsWith("<?") ? head.indexOf("?>") : 0);
    int end = open + 1;
    while (open >= 0 && end < head.size() && !QByteArray(" \t\r\n/>").contains(head.at(end)))
        ++end;
    return got == 0 && open >= 0 && end < head.size() &&
           tail.trimmed().endsWith("</" + head.mid(open + 1, end - open - 1) + '>');
}

// libxlsxwriter stages each part of the workbook in a temporary file without
// checking those writes: on a full disk a part is cut short, while the archive of
// the parts is still written and closed without an error. Every part is read back.
bool partsAreWhole(const QString &path)
{
    int error = 0;
    zip_t *zip = zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY, &error);
    if (!zip)
        return false;
    const zip_int64_t count = zip_get_num_entries(zip, 0);
    bool whole = count > 0;
    for (zip_int64_t i = 0; whole && i < count; ++i) {
        zip_file_t *part = zip_fopen_index(zip, zip_uint64_t(i), 0);
        whole = part && partIsWhole(part);
        if (part)
            zip_fclose(part);
    }
    zip_discard(zip);
    return whole;
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
    if (!partsAreWhole(path)) {
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
