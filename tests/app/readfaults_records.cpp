// Sweep actions of the log and message pages: the deletions and the spreadsheet
// exports, each from the listing of the rows on.

#include "readfaults.h"

#include "roomproject.h"

#include "app/pagefactory.h"
#include "bus/broadcastsocket.h"
#include "records/recordlistpage.h"
#include "shell/filedialogs.h"
#include "store/globals.h"
#include "store/settings.h"

#include <QDateTime>
#include <QFile>
#include <QScopedPointer>
#include <qtmaterialdatetimeedit.h>
#include <qtmaterialflatbutton.h>
#include <qtmateriallabel.h>

#include <zip.h>

namespace readfaults {

namespace {

const QDateTime From(QDate(2026, 11, 2), QTime(8, 0, 0));
const QByteArray Earlier("an earlier export");

// The export goes into the application folder, so that a refused export must
// leave the earlier file there byte for byte; the folder last used is that one.
QString exportFile()
{
    return gl_curPath + QStringLiteral("/export.xlsx");
}

void seed()
{
    using namespace roomproject;
    seedMessages();
    for (int i = 0; i < 3; ++i) {
        const QByteArray time = From.addSecs(60 * i).toString("yyyy-MM-dd HH:mm:ss").toLatin1();
        exec(QString::asprintf("insert into tbl_log(log_type,log_address,log_device,log_event,log_time) "
                               "values(%d,'North-1F-Room 101','light_Lamp %d','ON','%s')",
                               i, i, time.constData()));
        exec(QString::asprintf("insert into tbl_message_log(message_id,message_type,message_status,panel_id,"
                               "room_id,message_log_remark,recv_time,deal_time) "
                               "values(%d,%d,%d,1,7,'remark %d','%s','')",
                               11 + i % 2, i % 2, i, i, time.constData()));
    }
    QFile file(exportFile());
    if (file.open(QIODevice::WriteOnly))
        file.write(Earlier);
    setConfig(QStringLiteral("getOpenFileName"), QStringLiteral("exprotExcel"), gl_curPath);
}

// A new workbook holds the time it was made: it is noted by its sheet and then
// replaced by a fixed text, so that two whole runs leave the same folder.
void noteExport(faultsweep::Run &run)
{
    QFile file(exportFile());
    if (!file.open(QIODevice::ReadOnly) || file.readAll() == Earlier)
        return;
    file.close();
    QByteArray sheet(1 << 16, '\0');
    zip_int64_t got = -1;
    if (zip_t *zip = zip_open(QFile::encodeName(exportFile()).constData(), ZIP_RDONLY, nullptr)) {
        if (zip_file_t *part = zip_fopen(zip, "xl/worksheets/sheet1.xml", 0)) {
            got = zip_fread(part, sheet.data(), zip_uint64_t(sheet.size()));
            zip_fclose(part);
        }
        zip_discard(zip);
    }
    run.note(QStringLiteral("exported: ") + QString::fromUtf8(sheet.left(int(got))));
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write("a new export");
}

// The page of id listed over the seeded rows, from the start of the action on.
RecordListPage *listPage(faultsweep::Run &run, const QString &id)
{
    auto *page = qobject_cast<RecordListPage *>(createPage(id, id));
    QObject::connect(&gl_socket, &BroadcastSocket::signalsRemoveMessage, &run, [&run](int row, int type) {
        run.note(QStringLiteral("removed %1 %2").arg(row).arg(type));
    });
    run.start();
    page->startEdit()->setDateTime(From);
    page->endEdit()->setDateTime(From.addDays(1));
    return page;
}

void exportList(faultsweep::Run &run, const QString &id)
{
    answerFileDialogsWith([](FileDialogKind, const QString &, const QString &) { return exportFile(); });
    QScopedPointer<RecordListPage> page(listPage(run, id));
    emit page->exportLabel()->signalsPressed();
    answerFileDialogsWith({});
    noteExport(run);
}

// Delete mode, the given rows ticked (every one when none are given), then the
// confirmation, answered "Ok".
void deleteRows(faultsweep::Run &run, const QString &id, const QList<int> &ticked)
{
    QScopedPointer<RecordListPage> page(listPage(run, id));
    emit page->deleteLabel()->signalsPressed();
    if (ticked.isEmpty())
        page->selectAllButton()->click();
    for (int row : ticked) {
        if (auto *tile = page->tiles().value(row))
            QMetaObject::invokeMethod(tile, "slotsPressed");
    }
    emit page->deleteLabel()->signalsPressed();
}

faultsweep::Action action(const QString &name, std::function<void(faultsweep::Run &)> script)
{
    return faultsweep::Action{QStringLiteral("records"), name, seed, std::move(script), nullptr, 0, false};
}

} // namespace

QList<faultsweep::Action> recordsActions()
{
    using faultsweep::Run;
    QList<faultsweep::Action> actions;
    actions << action(QStringLiteral("the logs exported"), [](Run &run) { exportList(run, "Log"); })
            << action(QStringLiteral("every listed log deleted"),
                      [](Run &run) { deleteRows(run, "Log", {}); })
            << action(QStringLiteral("the messages exported"), [](Run &run) { exportList(run, "Message"); })
            << action(QStringLiteral("two ticked messages deleted"),
                      [](Run &run) { deleteRows(run, "Message", {0, 2}); });
    return actions;
}

} // namespace readfaults
