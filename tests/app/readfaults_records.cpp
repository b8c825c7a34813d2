// Sweep actions of the log and message pages: the exports and deletions, from the listing on.

#include "readfaults.h"
#include "records/recordlistpage.h"
#include "roomproject.h"
#include "shell/filedialogs.h"
#include "store/settings.h"
#include "xlsxreadback.h"

#include <QFile>
#include <QTest>
#include <qtmaterialdatetimeedit.h>
#include <qtmateriallabel.h>

namespace readfaults {

// Three logs a minute apart, a message of room 101 at each one's time; exports last went to the app folder.
static void seed()
{
    seedMessages();
    roomproject::exec("insert into tbl_log(log_type,log_address,log_device,log_event,log_time) values"
                      "(0,'North-1F-Room 101','light_Lamp 0','ON','2026-11-02 08:00:00'),"
                      "(1,'North-1F-Room 101','light_Lamp 1','ON','2026-11-02 08:01:00'),"
                      "(2,'North-1F-Room 101','light_Lamp 2','ON','2026-11-02 08:02:00')");
    roomproject::exec("insert into tbl_message_log(message_id,message_type,message_status,panel_id,room_id,"
                      "message_log_remark,recv_time,deal_time) select 11+log_type%2,log_type%2,log_type,"
                      "1,7,'remark '||log_type,log_time,'' from tbl_log");
    setConfig(QStringLiteral("getOpenFileName"), QStringLiteral("exprotExcel"), gl_curPath);
}

QList<faultsweep::Action> recordsActions()
{
    // The page listed over the seeded rows, then exported, or these rows ticked in delete mode and deleted.
    const auto row = [](const char *name, QString id, QList<int> ticked) {
        const auto script = [=](faultsweep::Run &run) {
            const QString file = gl_curPath + "/export.xlsx";
            answerFileDialogsWith([=](FileDialogKind, QString, QString) { return file; });
            std::unique_ptr<RecordListPage> page(qobject_cast<RecordListPage *>(createPage(id, id)));
            run.start();
            page->startEdit()->setDateTime(QDateTime(QDate(2026, 11, 2), QTime(8, 0, 0))); // up to now
            QtMaterialLabel *label = ticked.isEmpty() ? page->exportLabel() : page->deleteLabel();
            emit label->signalsPressed();
            if (!QTest::qWaitFor([&] { return !page->isExporting(); }, 10000))
                run.note("the export did not end");
            for (int row : ticked)
                QMetaObject::invokeMethod(page->tiles().value(row), "slotsPressed");
            if (!ticked.isEmpty())
                emit label->signalsPressed();
            answerFileDialogsWith({});
            // A new workbook holds the time it was made: its sheet is noted, and it goes.
            const QByteArray sheet = xlsxreadback::sheetXml(file);
            if (!sheet.isEmpty() && QFile::remove(file))
                run.note("exported: " + QString::fromUtf8(sheet));
        };
        return faultsweep::Action{"records", name, seed, script, nullptr, 0, false};
    };
    return {row("the logs exported", "Log", {}), row("every listed log deleted", "Log", {0, 1, 2}),
            row("the messages exported", "Message", {}),
            row("two ticked messages deleted", "Message", {0, 2})};
}

} // namespace readfaults
