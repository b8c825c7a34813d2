// The "Log" page: the range listing, delete mode over a range, and the export,
// read back with xlsx2csv; how a failed save is reported and what it leaves.

#include "testmain.h"

#include "filesizelimit.h"
#include "messagefixture.h"
#include "projectfixture.h"
#include "recordpages.h"
#include "smalltmp.h"
#include "stepfault.h"

#include "records/logitem.h"
#include "records/messageitem.h"
#include "records/pagelog.h"
#include "records/pagemessage.h"
#include "records/xlsxdocument.h"
#include "shell/filedialogs.h"
#include "store/backgroundwork.h"
#include "store/cppsqlite3db.h"
#include "store/queryhelpers.h"
#include "store/settings.h"

#include <QAbstractScrollArea>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QNetworkDatagram>
#include <QScopeGuard>
#include <QScrollBar>
#include <QSqlDatabase>
#include <QTemporaryDir>
#include <QThread>
#include <QUdpSocket>
#include <QtEndian>
#include <qtmaterialdatetimeedit.h>
#include <qtmaterialflatbutton.h>
#include <qtmaterialgroupbox.h>

#include <atomic>
#include <unistd.h>
#include <zip.h>

using namespace recordpages;

namespace {

const QDateTime Start(QDate(2026, 11, 2), QTime(8, 0, 0));
const QDateTime End(QDate(2026, 11, 3), QTime(8, 0, 0));

QString t(const QDateTime &d)
{
    return d.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

int addLog(const QDateTime &when, int type = 0, const QString &event = QStringLiteral("ON"),
           const QString &device = QStringLiteral("light_Lamp"))
{
    gl_sqlite3db.execDML(
        QStringLiteral("insert into tbl_log(log_type,log_address,log_device,log_event,log_time) "
                       "values(%1,'North-1F-Room 101','%2','%3','%4')")
            .arg(type)
            .arg(sqlText(device), sqlText(event), t(when)));
    return getValueFromDb(QStringLiteral("select max(id) as id from tbl_log"), QStringLiteral("id"));
}

QList<int> logIds()
{
    QStringList ids;
    getValuesFromDb(QStringLiteral("select id from tbl_log order by id asc"), QStringLiteral("id"), ids);
    QList<int> out;
    for (const QString &id : ids)
        out.append(id.toInt());
    return out;
}

QList<int> listed(const PageLog &page)
{
    QList<int> ids;
    for (QWidget *w : page.tiles())
        ids.append(qobject_cast<LogItem *>(w)->getLogRecord().id);
    return ids;
}

// The cells an export of the page's list holds, header row first.
QList<QStringList> listedCells(const RecordListPage &page)
{
    QList<QStringList> cells{{"Time", "Address", "Device", "Event", "Type"}};
    if (qobject_cast<const PageMessage *>(&page))
        cells = {{"Receiving Time", "Room Name", "Panel Name", "Message Name", "Message Type",
                  "Message Status", "Message Remark", "Deal Time"}};
    for (QWidget *w : page.tiles()) {
        if (auto *log = qobject_cast<LogItem *>(w)) {
            const logRecord r = log->getLogRecord();
            cells.append({r.log_time, r.log_address, r.log_device, r.log_event, "device status"});
        } else {
            cells.append({qobject_cast<MessageItem *>(w)->getMessageRecord().recv_time, "North-1F-Room 101",
                          "Door panel", "Clean room", "service message", "suspend", "", ""});
        }
    }
    return cells;
}

// A log page whose list is filled from outside.
struct OpenListPage : PageLog {
    OpenListPage() : PageLog(QStringLiteral("Log"), QStringLiteral("Log")) {}
    using RecordListPage::beginList, RecordListPage::addTile, RecordListPage::endList;
};
} // namespace

class TestLogPage : public QObject
{
    Q_OBJECT

    QScopedPointer<varnotest::ProjectFolder> m_folder;
    QScopedPointer<PageLog> m_page;
    QScopedPointer<RecordListPage> m_messages;

    // The page of the kind ("log" or "message") shown with count rows listed: logs in an order of
    // their own, several to a second; messages a second apart.
    RecordListPage *listedPage(const QString &kind, int count)
    {
        const bool log = kind == QLatin1String("log");
        const bool listed = runInTransaction([&] {
            if (!log)
                fixture::seed();
            for (int i = 0; i < count; ++i) {
                if (log)
                    addLog(End.addSecs(-(i * 7919 % qMax(1, count / 3))), 0, QString::number(i));
                else
                    fixture::addRow(fixture::ServiceClean, 0, fixture::DoorPanel, fixture::Room101, 0,
                                    t(QDateTime::currentDateTime().addSecs(-i - 1)));
            }
            return true;
        });
        if (!listed)
            return nullptr;
        if (log) {
            enterRange();
            return m_page.data();
        }
        m_messages.reset(new PageMessage(QStringLiteral("Message"), QStringLiteral("Message")));
        m_messages->show();
        emit gl_socket.signalsPageEnter(QString(), QString());
        return m_messages.data();
    }

    void enterRange()
    {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        emit gl_socket.signalsPageEnter(QString(), QString());
        m_page->startEdit()->setDateTime(Start);
        m_page->endEdit()->setDateTime(End);
    }

private slots:
    void initTestCase()
    {
        m_folder.reset(new varnotest::ProjectFolder);
        QVERIFY(m_folder->isValid());
        screen_cx = 1920;
    }
    void init()
    {
        m_folder->reset();
        answerFileDialogsWith({});
        setConfig(QStringLiteral("getOpenFileName"), QStringLiteral("exprotExcel"), QString());
        m_page.reset(new PageLog(QStringLiteral("Log"), QStringLiteral("Log")));
        m_page->resize(1920, 900);
        m_page->show();
    }
    void cleanup()
    {
        XlsxDocument::setBeforeReadBack({});
        BackgroundWork::resetForTests();
        m_messages.reset();
        m_page.reset();
    }
    void cleanupTestCase() { m_folder.reset(); }

    void listingAndEntry()
    {
        const int start = addLog(Start);
        const int end = addLog(End);
        // 130 two-byte characters and 100 three-byte ones: more than a field holds.
        const int middle = addLog(Start.addSecs(60), 0, QString(130, QChar(0x00E9)),
                                  QStringLiteral("light_") + QString(100, QChar(0x20AC)));
        addLog(Start.addSecs(-1));
        addLog(End.addSecs(1));
        const QDateTime recent = QDateTime::currentDateTime().addSecs(-5);
        const int now = addLog(recent);
        addLog(recent.addDays(-8));

        // Entry: the last seven days up to now, listed once.
        const QDateTime before = QDateTime::currentDateTime().addMSecs(-999);
        emit gl_socket.signalsPageEnter(QString(), QString());
        QVERIFY(m_page->endEdit()->dateTime() >= before);
        QCOMPARE(m_page->startEdit()->dateTime(), m_page->endEdit()->dateTime().addDays(-7));
        QCOMPARE(listed(*m_page), QList<int>{now});
        QCOMPARE(m_page->tileBox()->findChildren<LogItem *>().size(), 1);

        m_page->startEdit()->setDateTime(Start);
        m_page->endEdit()->setDateTime(End);
        QCOMPARE(listed(*m_page), (QList<int>{end, middle, start}));
        // Texts are cut at a character boundary.
        const logRecord record = qobject_cast<LogItem *>(m_page->tiles().at(1))->getLogRecord();
        QCOMPARE(QString::fromUtf8(record.log_event), QString(127, QChar(0x00E9)));
        QCOMPARE(QString::fromUtf8(record.log_device),
                 QStringLiteral("light_") + QString(83, QChar(0x20AC)));

        // A look at the page: three rows, white text on #3D5366.
        m_page->resize(1920, 1080);
        QTest::qWait(20);
        const QImage image = m_page->grab().toImage();
        QDir().mkpath(QStringLiteral(VARNO_SCREENSHOT_DIR));
        image.save(QStringLiteral(VARNO_SCREENSHOT_DIR "/log_page.png"));
        QWidget *row = m_page->tiles().at(2);
        QCOMPARE(image.pixelColor(row->mapTo(m_page.data(), QPoint(4, 20))), QColor(0x3D, 0x53, 0x66));
    }

    void deleteMode_data()
    {
        QTest::addColumn<QList<int>>("checked"); // listed positions; -1 every one
        QTest::addColumn<bool>("addLater");      // a row of the range added after listing
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QString>("question");
        QTest::addColumn<QList<int>>("kept"); // seeded positions (0 start, 1 middle, 2 end, 3 outside)
        QTest::addColumn<bool>("refused");    // the database refuses the delete
        QTest::addColumn<int>("bulk");        // more rows, listed between the end and the middle
        QTest::newRow("three checked") << QList<int>{0, 1, 2} << false << true << "3 logs will be deleted."
                                       << QList<int>{3} << false << 0;
        QTest::newRow("one checked") << QList<int>{1} << false << true << "1 logs will be deleted."
                                     << QList<int>{0, 2, 3} << false << 0;
        QTest::newRow("none checked") << QList<int>{} << false << true << "0 logs will be deleted."
                                      << QList<int>{0, 1, 2, 3} << false << 0;
        QTest::newRow("cancelled") << QList<int>{0} << false << false << "1 logs will be deleted."
                                   << QList<int>{0, 1, 2, 3} << false << 0;
        QTest::newRow("every one: only the listed rows")
            << QList<int>{-1} << true << true << "3 logs will be deleted." << QList<int>{3} << false << 0;
        QTest::newRow("every one, refused") << QList<int>{-1} << false << true << "3 logs will be deleted."
                                            << QList<int>{0, 1, 2, 3} << true << 0;
        QTest::newRow("12,000 rows more, taller than a layout can be")
            << QList<int>{0, 9000} << false << true << "2 logs will be deleted." << QList<int>{0, 1, 3}
            << false << 12000;
    }
    void deleteMode()
    {
        QFETCH(QList<int>, checked);
        QFETCH(bool, addLater);
        QFETCH(bool, ok);
        QFETCH(QString, question);
        QFETCH(QList<int>, kept);
        QFETCH(bool, refused);
        QFETCH(int, bulk);
        const QList<int> seeded{addLog(Start), addLog(Start.addSecs(30)), addLog(End),
                                addLog(End.addSecs(1))};
        QList<int> order{seeded[2]};
        gl_sqlite3db.execDML(QStringLiteral("begin"));
        for (int i = 1; i <= bulk; ++i)
            order.append(addLog(End.addSecs(-i)));
        gl_sqlite3db.execDML(QStringLiteral("commit"));
        enterRange();
        QCOMPARE(listed(*m_page), (order + QList<int>{seeded[1], seeded[0]}));

        m_page->deleteLabel()->signalsPressed();
        QVERIFY(m_page->isDeleteMode());
        for (QWidget *w : m_page->tiles())
            QVERIFY(qobject_cast<LogItem *>(w)->isCheckBoxVisible());
        // Row i lies i rows and gaps of 20 pixels below the first, inside the box.
        QWidget *list = m_page->tileBox();
        const QList<QWidget *> &rows = m_page->tiles();
        const auto rowAt = [&](int i) { return QRect(rows[i]->mapTo(list, QPoint()), rows[i]->size()); };
        const auto placed = [&](int i) { return rowAt(0).translated(0, i * (LogItem::RowHeight + 20)); };
        QTRY_COMPARE(rowAt(rows.size() - 1), placed(rows.size() - 1));
        for (int i = 0; i < rows.size(); ++i)
            QCOMPARE(rowAt(i), placed(i));
        QVERIFY(list->rect().contains(rowAt(rows.size() - 1)));
        // On a window that is drawn, the rows in view are visible widgets and no others.
        auto *canvas = qobject_cast<QAbstractScrollArea *>(list->parentWidget()->parentWidget());
        const auto onlyInView = [&, view = canvas->viewport()] {
            return std::all_of(rows.begin(), rows.end(), [view](QWidget *r) {
                return r->isVisible() == view->rect().intersects(QRect(r->mapTo(view, {}), r->size()));
            });
        };
        QVERIFY(QTest::qWaitForWindowExposed(m_page.data()) && onlyInView());
        if (checked == QList<int>{-1}) {
            // With nothing else left to draw, the window shows what "Select All" ticked.
            QTRY_VERIFY(checkBoxShown(rows.at(0)));
            QCoreApplication::sendPostedEvents();
            m_page->selectAllButton()->click();
            QTRY_VERIFY(checkBoxShown(rows.at(0)));
        } else {
            // A press where row i's check box is drawn, scrolled to the top of the small
            // offscreen screen, goes to the row under it; the deletion shows which rows it ticked.
            QScrollBar *bar = canvas->verticalScrollBar();
            for (int i : checked) {
                const QPoint point = placed(i).topLeft() + QPoint(30, LogItem::RowHeight / 2);
                bar->setValue(point.y() - LogItem::RowHeight);
                QWidget *row = list->childAt(point);
                QCOMPARE(row, rows[i]);
                QVERIFY(onlyInView());
                QTest::mouseClick(row, Qt::LeftButton, {}, row->mapFrom(list, point));
                // The top of the view cuts row i in half: row i still shows.
                const int top = list->mapFrom(canvas->viewport(), QPoint()).y();
                bar->setValue(bar->value() + rowAt(i).center().y() - top);
                QVERIFY(rows[i]->isVisible() && onlyInView());
            }
            const int height = canvas->viewport()->height(); // a taller window shows more rows
            m_page->resize(1920, 1080);
            QTRY_VERIFY(canvas->viewport()->height() > height && onlyInView());
        }
        const int shown = canvas->viewport()->height(); // hidden, taller, shown: the rows that fit show
        m_page->hide();
        m_page->resize(1920, 1400);
        m_page->show();
        QTRY_VERIFY(canvas->viewport()->height() > shown && onlyInView());
        // A row of the range that arrived after the list was made is never deleted.
        const int later = addLater ? addLog(Start.addSecs(10)) : -1;
        if (refused)
            QVERIFY(gl_sqlite3db.execDML(QStringLiteral(
                "create trigger refuse before delete on tbl_log begin select raise(abort,'no'); end")));

        QSignalSpy hub(&gl_socket, &BroadcastSocket::signalsInformation);
        std::shared_ptr<Box> box = answerNextBox(ok);
        m_page->deleteLabel()->signalsPressed();
        QCOMPARE(box->text, question);
        QCOMPARE(box->size, QSize(450, 160));
        QCOMPARE(m_page->isDeleteMode(), !ok);
        QList<int> expected;
        for (int i : kept)
            expected.append(seeded.at(i));
        for (int i = 1; i <= bulk; ++i) // the further rows left unticked
            if (!checked.contains(i))
                expected.append(order.at(i));
        if (later >= 0)
            expected.append(later);
        QCOMPARE(logIds(), expected);
        QCOMPARE(infos(hub), refused ? QStringList{"The logs could not be deleted!"} : QStringList());
        QVERIFY(onlyInView()); // also in the list made again after the deletion
    }

    // Rows past the tallest a widget may be: the list is that tall, and shows the rows in view.
    void tallestList_data()
    {
        QTest::addColumn<int>("rowHeight");
        QTest::addColumn<int>("count");
        QTest::newRow("16 rows, below the tallest") << 1000000 << 16;
        QTest::newRow("17 rows, past it") << 1000000 << 17;
        QTest::newRow("9 rows, far past it") << 4000000 << 9;
    }
    void tallestList()
    {
        QFETCH(int, rowHeight);
        QFETCH(int, count);
        auto *page = new OpenListPage;
        m_page.reset(page);
        page->show();
        page->beginList();
        for (int i = 0; i < count; ++i) {
            auto *row = new QWidget;
            row->resize(100, rowHeight);
            page->addTile(row);
        }
        page->endList();
        QWidget *list = m_page->tileBox();
        auto *canvas = qobject_cast<QAbstractScrollArea *>(list->parentWidget()->parentWidget());
        QTRY_VERIFY(list->height() >= qMin<qint64>((rowHeight + 20LL) * count - 20, QWIDGETSIZE_MAX - 1));
        QScrollBar *bar = canvas->verticalScrollBar();
        const QWidget *view = canvas->viewport();
        for (int value : {0, bar->maximum() / 3, bar->maximum()}) {
            bar->setValue(value);
            for (QWidget *r : m_page->tiles())
                QCOMPARE(r->isVisible(), QRect(r->mapTo(view, {}), r->size()).intersects(view->rect()));
        }
    }

    void emptyListDeletesNothing()
    {
        enterRange();
        QVERIFY(m_page->tiles().isEmpty());
        m_page->deleteLabel()->signalsPressed();
        // A row of the range that the empty list does not show.
        const int unseen = addLog(Start.addSecs(5));
        std::shared_ptr<Box> box = answerNextBox(true);
        m_page->deleteLabel()->signalsPressed();
        QCOMPARE(box->text, QStringLiteral("0 logs will be deleted."));
        QCOMPARE(logIds(), QList<int>{unseen});
    }

    void exportReadsBack()
    {
        QTemporaryDir target;
        addLog(Start, 0, QStringLiteral("=1+1"));
        const QString offline = QString::fromUtf8("offline & <back> \u00e9\u20ac"); // read back as written
        addLog(End, 1, offline, QStringLiteral("ac_Bob's AC"));
        addLog(Start.addSecs(60), 7, QStringLiteral("007"));
        addLog(End.addSecs(1));
        // XML holds no NUL: a text is exported without it.
        QVERIFY(gl_sqlite3db.execDML(
            "update tbl_log set log_device='light_'||char(0)||'Lamp' where log_event='007'"));
        QSignalSpy information(&gl_socket, &BroadcastSocket::signalsInformation);
        const QString file = target.filePath(QStringLiteral("logs.xlsx"));
        QStringList proposals;
        answerFileDialogsWith([&](FileDialogKind, const QString &, const QString &dir) {
            proposals.append(dir);
            return file;
        });
        m_page->startEdit()->setDateTime(QDateTime(QDate(2000, 1, 1), QTime(0, 0)));
        m_page->endEdit()->setDateTime(QDateTime(QDate(2000, 1, 2), QTime(0, 0)));
        m_page->exportLabel()->signalsPressed();
        QCOMPARE(infos(information), QStringList{"No logs"});
        QVERIFY(!QFile::exists(file));

        enterRange();
        information.clear();
        m_page->exportLabel()->signalsPressed();
        QTRY_COMPARE_WITH_TIMEOUT(infos(information), QStringList{"Exprot successfully"}, ExportWaitMs);
        QVERIFY(
            QRegularExpression(QStringLiteral("^\\d{14}_log\\.xlsx$")).match(proposals.value(0)).hasMatch());
        const Workbook book = readWorkbook(file);
        QVERIFY2(book.error.isEmpty(), qPrintable(book.error));
        QCOMPARE(book.sheets, QStringList{"log"});
        const QList<QStringList> expected{
            {"Time", "Address", "Device", "Event", "Type"},
            {t(End), "North-1F-Room 101", "ac_Bob's AC", offline, "device alert"},
            {t(Start.addSecs(60)), "North-1F-Room 101", "light_Lamp", "007", ""},
            {t(Start), "North-1F-Room 101", "light_Lamp", "=1+1", "device status"},
        };
        QCOMPARE(book.rows.value(QStringLiteral("log")), expected);
        const QByteArray xml = sheetXml(file);
        QVERIFY(!xml.isEmpty() && !xml.contains("<f>") && !xml.contains("<v>"));
        // Readable and writable by its owner, not writable by others.
        const QFile::Permissions rights = QFile(file).permissions();
        QVERIFY(rights & QFile::ReadOwner && rights & QFile::WriteOwner);
        QVERIFY(!(rights & QFile::WriteOther));
        QCOMPARE(QDir(target.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"logs.xlsx"});
    }

    // A save replaces the chosen file only when it succeeds; the file keeps its
    // owner's rights and never becomes writable by others.
    void save_data()
    {
        QTest::addColumn<QString>("page"); // "log" or "message"
        QTest::addColumn<QString>("how");
        QTest::addColumn<int>("freeKiB"); // room left on /tmp; then refused, or saved with every row
        QTest::newRow("replaces, rights kept") << "log" << "replace" << 0;
        QTest::newRow("folder missing") << "log" << "missing" << 0;
        QTest::newRow("disk refuses the bytes") << "log" << "limit" << 0;
        QTest::newRow("disk cuts the sheet staged unpacked") << "log" << "cut" << 0;
        QTest::newRow("target is a folder") << "log" << "folder" << 0;
        if (geteuid() != 0)
            QTest::newRow("folder read-only") << "log" << "readonly" << 0;
        for (const char *page : {"log", "message"}) {
            QTest::addRow("%s: a step of the rows fails", page) << page << "step" << 0;
            QTest::addRow("%s: a type name's read fails", page) << page << "name" << 0;
            // /tmp fills, then frees: at 400-600 KiB a sheet is cut, at 700 message rows are lost.
            for (int kib : {300, 400, 500, 600, 640, 700, 1024})
                QTest::addRow("%s: /tmp fills with %d KiB free", page, kib) << page << "tmp" << kib;
        }
        QTest::newRow("message: replaces") << "message" << "replace" << 0;
        // The workbook damaged before it is read back: "part|text|replacement"; no text: the part goes;
        // text "*": the whole part. No part: the file's first such bytes, a local header's.
        const auto damage = [](const char *name, const QByteArray &how) {
            QTest::addRow("damaged: %s", name) << "log" << QString::fromLatin1(how.data(), how.size()) << 0;
        };
        const QByteArray decl = "xl/styles.xml|version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"|";
        damage("declaration: XML 2.0", decl + "version=\"2.0\"");
        damage("declaration: another encoding", decl + "version=\"1.0\" encoding=\"ISO-8859-1\"");
        damage("declaration: not well formed", decl + "version=\"1.0\" standalone=\"maybe\"");
        damage("a document type", "xl/styles.xml|<styleSheet |<!DOCTYPE styleSheet><styleSheet ");
        damage("an attribute given twice", "xl/workbook.xml|sheetId=\"1\"|sheetId=\"1\" sheetId=\"2\"");
        damage("bytes that are not UTF-8", "docProps/app.xml|<Company>|<Company>\xC3(");
        damage("a prefix bound to no namespace", "xl/workbook.xml|<sheet |<sheet q:state=\"1\" ");
        damage("the rows in another namespace", "xl/worksheets/sheet1.xml|2006/main\"|2006/mine\"");
        damage("\"--\" in a comment", "xl/styles.xml|<fonts|<!-- a -- b --><fonts");
        damage("a part other than a sheet cut short", "xl/theme/theme1.xml|</a:theme>|");
        damage("the workbook names another sheet", "xl/workbook.xml|r:id=\"rId1\"|r:id=\"rId9\"");
        for (const char *part : {"[Content_Types].xml", "_rels/.rels", "xl/workbook.xml",
                                 "xl/_rels/workbook.xml.rels", "xl/worksheets/sheet1.xml"})
            damage(qPrintable(QStringLiteral("no ") + part), QByteArray(part) + "||");
        damage("a local header names another part", "|xl/worksheets/sheet1.xml|xl/worksheets/sheet9.xml");
        damage("a local header encrypted", QByteArray("|PK\3\4\x14\0\0\0|PK\3\4\x14\0\1\0", 18));
        damage("the first entry grows over the second", "|grow|"); // in both its headers
        const QByteArray types = "[Content_Types].xml|";
        damage("content types emptied", types + "*|<Types xmlns=\"http://schemas.openxmlformats.org/"
                                                   "package/2006/content-types\"/>");
        damage("the workbook's content type another", types + "sheet.main+xml|template.main+xml");
        damage("the sheet's content type another", types + "worksheet+xml|chartsheet+xml");
        damage("no office document", "_rels/.rels|/officeDocument\"|/extended-properties\"");
        damage("the sheet's relationship another type",
               "xl/_rels/workbook.xml.rels|/worksheet\"|/chartsheet\"");
    }
    void save()
    {
        QFETCH(QString, page);
        QFETCH(QString, how);
        QFETCH(int, freeKiB);
        if (freeKiB && !varnotest::smallTmpMissing().isEmpty())
            QSKIP(qPrintable(varnotest::smallTmpMissing()));
        QTemporaryDir target;
        const QString old = target.filePath(QStringLiteral("old.xlsx"));
        {
            QFile f(old);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("an earlier export");
        }
        QFile::setPermissions(old, QFile::ReadOwner | QFile::WriteOwner);
        QString file = old;
        if (how == QLatin1String("missing"))
            file = target.filePath(QStringLiteral("gone/new.xlsx"));
        if (how == QLatin1String("folder")) {
            file = target.filePath(QStringLiteral("dir.xlsx"));
            QVERIFY(QDir(target.path()).mkdir(QStringLiteral("dir.xlsx")));
        }
        if (how == QLatin1String("readonly"))
            QFile::setPermissions(target.path(), QFile::ReadOwner | QFile::ExeOwner);
        // 1,000 log rows stage 310 kB and pack into 23 kB. The rows are listed newest first.
        const int count = how == QLatin1String("cut") || freeKiB ? 1000 : 3;
        const bool log = page == QLatin1String("log");
        QScopedPointer<RecordListPage> messages;
        if (!log) {
            fixture::seed();
            messages.reset(new PageMessage(QStringLiteral("Message"), QStringLiteral("Message")));
            messages->show();
        }
        const QDateTime last = log ? End : QDateTime::currentDateTime();
        for (int i = 1; i <= count; ++i) {
            if (log)
                addLog(last.addSecs(-i));
            else
                fixture::addRow(fixture::ServiceClean, 0, fixture::DoorPanel, fixture::Room101, 0,
                                t(last.addSecs(-i)));
        }
        enterRange();
        answerFileDialogsWith([&](FileDialogKind, const QString &, const QString &) { return file; });
        QSignalSpy information(&gl_socket, &BroadcastSocket::signalsInformation);
        // The second row's read fails, or the look-up of a type's name: once for all logs; for messages
        // every look-up while armed, since a tile of the list looks its names up as it paints and
        // could take a single fault meant for the export.
        const bool name = how == QLatin1String("name"), fault = name || how == QLatin1String("step");
        const QList<QByteArray> damage = how.toLatin1().split('|');
        bool damaged = damage.size() < 3;
        if (!damaged)
            XlsxDocument::setBeforeReadBack([&](const QString &path) {
                if (damage[0].isEmpty()) {
                    QFile f(path);
                    QByteArray bytes = f.open(QIODevice::ReadWrite) ? f.readAll() : QByteArray();
                    const int at = bytes.indexOf(damage[1]);
                    const auto le16 = [&](int i) {
                        return int(qFromLittleEndian<quint16>(bytes.constData() + i));
                    };
                    if (damage[1] == "grow" && bytes.size() > 100) { // by the second's local header
                        const QByteArray sizes = bytes.mid(14, 8); // checksum and packed size
                        QByteArray grown = sizes;
                        const int packed = qFromLittleEndian<qint32>(sizes.constData() + 4);
                        const int second = 30 + le16(26) + le16(28) + packed;
                        qToLittleEndian(packed + 30 + le16(second + 26), grown.data() + 4);
                        damaged = bytes.replace(sizes, grown).count(grown) == 2; // in both its headers
                    } else if (at >= 0) {
                        bytes.replace(at, damage[1].size(), damage[2]);
                        damaged = true;
                    }
                    damaged = damaged && f.seek(0) && f.write(bytes) == bytes.size() && f.flush();
                    return;
                }
                zip_t *zip = zip_open(QFile::encodeName(path).constData(), 0, nullptr);
                const auto at = zip_uint64_t(zip ? zip_name_locate(zip, damage[0].constData(), 0) : -1);
                zip_file_t *file = zip ? zip_fopen_index(zip, at, 0) : nullptr;
                QByteArray text(1 << 20, '\0');
                text.resize(file ? int(zip_fread(file, text.data(), text.size())) : 0);
                if (!file || zip_fclose(file) != 0 || (!text.contains(damage[1]) && damage[1] != "*"))
                    return zip_discard(zip);
                text = damage[1] == "*" ? damage[2] : text.replace(damage[1], damage[2]);
                if (damage[1].isEmpty()) // the part goes
                    damaged = zip_delete(zip, at) == 0;
                else
                    damaged = zip_file_replace(zip, at, zip_source_buffer(zip, text.data(), text.size(), 0),
                                               0) == 0;
                damaged = zip_close(zip) == 0 && damaged;
            });
        StepFault::arm(name  ? QStringLiteral(" where %1_type=").arg(page)
                       : log ? QStringLiteral("from tbl_log where")
                             : QStringLiteral("tbl_message_log where id="),
                       !fault ? 0 : !name ? 2 : log ? 1 : -1);
        {
            QScopedPointer<varnotest::FileSizeLimit> limit(
                how == QLatin1String("limit") ? new varnotest::FileSizeLimit(2048)
                : how == QLatin1String("cut") ? new varnotest::FileSizeLimit(100000) : nullptr);
            QScopedPointer<varnotest::TmpFiller> full(
                freeKiB ? new varnotest::TmpFiller(freeKiB * 1024) : nullptr);
            QVERIFY(!full || full->ok());
            (log ? m_page.data() : messages.data())->exportLabel()->signalsPressed();
            QTRY_COMPARE_WITH_TIMEOUT(information.size(), 1, ExportWaitMs);
        }
        StepFault::disarm();
        XlsxDocument::setBeforeReadBack({});
        QVERIFY(!fault || StepFault::fired());
        QVERIFY(damaged);
        QFile::setPermissions(target.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        const QStringList texts = infos(information);
        QCOMPARE(texts.size(), 1);
        const bool saved = texts.at(0) == QLatin1String("Exprot successfully");
        if (!freeKiB)
            QCOMPARE(saved, how == QLatin1String("replace"));
        if (!saved)
            QVERIFY2(texts.at(0).startsWith(QLatin1String("Export failed")), qPrintable(texts.at(0)));
        QFile f(old);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll() == "an earlier export", !saved);
        QCOMPARE(f.permissions(), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser);
        if (saved) { // every row, each in its place
            const QList<QStringList> rows = readWorkbook(old).rows.value(page);
            QCOMPARE(rows.size(), count + 1);
            for (int i = 1; i <= count; ++i)
                QCOMPARE(rows[i].value(0), t(last.addSecs(-i)));
            QCOMPARE(rows[count].value(3), log ? QStringLiteral("ON") : QStringLiteral("Clean room"));
        }
        // No file is left beside it.
        QCOMPARE(QDir(target.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"old.xlsx"});
    }

    // An export runs beside the window. Alarms that come meanwhile are taken at once, by order:
    // each is answered with the next and committed by another connection while the rows are
    // still read; a second press starts no second export; the file is the list. One
    // whose page is hidden, left or gone, or whose program ends, while it reads or while its
    // workbook is read back, ends there: the earlier file stays, nothing beside it, no success.
    void exportBesideTheWindow_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("how"); // empty: to the end, alarms coming
        QTest::newRow("5,000 logs, alarms coming") << "log" << 5000 << "";
        QTest::newRow("1,000 messages, alarms coming") << "message" << 1000 << "";
        QTest::newRow("messages hidden while read") << "message" << 1000 << "hide";
        QTest::newRow("logs left while read back") << "log" << 1000 << "leave";
        QTest::newRow("logs gone while read back") << "log" << 1000 << "destroy";
        QTest::newRow("the exit while read back") << "log" << 1000 << "exit";
        QTest::newRow("logs left once handed on") << "log" << 1000 << "handed";
        QTest::newRow("the project closed while read") << "log" << 1000 << "close";
    }
    void exportBesideTheWindow()
    {
        QFETCH(QString, kind);
        QFETCH(int, count);
        QFETCH(QString, how);
        QPointer<RecordListPage> page = listedPage(kind, count);
        QVERIFY(page);
        QTemporaryDir target;
        const QString file = target.filePath(QStringLiteral("rows.xlsx"));
        QFile old(file);
        QVERIFY(old.open(QIODevice::WriteOnly) && old.write("an earlier export") > 0);
        old.close();
        answerFileDialogsWith([&](FileDialogKind, const QString &, const QString &) { return file; });
        std::atomic<bool> reached{false}, released{how.isEmpty()};
        XlsxDocument::setBeforeReadBack([&](const QString &) {
            reached = true;
            for (int i = 0; i < 5000 && !released && !BackgroundWork::exiting(); ++i)
                QThread::msleep(1);
        });
        QSignalSpy information(&gl_socket, &BroadcastSocket::signalsInformation);
        QSqlDatabase other = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("other"));
        other.setDatabaseName(gl_sqlite3db.getDbName());
        other.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=0"));
        QVERIFY(other.open());
        const auto forget = qScopeGuard([&] {
            other = QSqlDatabase();
            QSqlDatabase::removeDatabase(QStringLiteral("other"));
        });
        QUdpSocket alarms, panel;
        QVERIFY(alarms.bind(QHostAddress(QHostAddress::LocalHost)));
        QList<int> handled; // the steps of the rows' reading by each alarm, taken while the export ran
        connect(&alarms, &QUdpSocket::readyRead, [&] {
            while (alarms.hasPendingDatagrams())
                alarms.receiveDatagram();
            // Stored by another connection, which a read left open would keep from committing; in
            // the range, but after the press: not exported.
            QSqlQuery query(other);
            const QString insert = QStringLiteral("insert into tbl_log(log_type,log_time) values(1,'%1')");
            if (!(query.exec("begin") && query.exec(insert.arg(t(End))) && query.exec("commit")))
                query.exec(QStringLiteral("rollback"));
            else if (page->isExporting() && information.size() == 1)
                handled.append(StepFault::steps());
            if (handled.size() < 3 && page->isExporting())
                panel.writeDatagram("alarm", QHostAddress::LocalHost, alarms.localPort());
        });
        StepFault::arm(kind == QLatin1String("log") ? "from tbl_log where id>=" : "tbl_message_log where id=",
                       INT_MAX); // counted, none failed
        const auto disarm = qScopeGuard([] { StepFault::disarm(); });
        page->exportLabel()->signalsPressed();
        page->exportLabel()->signalsPressed();
        QCOMPARE(infos(information), QStringList{"An export is already running"});
        if (how.isEmpty()) {
            panel.writeDatagram("alarm", QHostAddress::LocalHost, alarms.localPort());
            QTRY_COMPARE_WITH_TIMEOUT(information.size(), 2, ExportWaitMs);
            QCOMPARE(handled.size(), 3);
            QVERIFY2(handled.last() < StepFault::steps(), "the rows were still being read");
            QCOMPARE(infos(information).at(1), QStringLiteral("Exprot successfully"));
            QCOMPARE(readWorkbook(file).rows.value(kind), listedCells(*page));
            return;
        }
        const bool reading = how == QLatin1String("hide") || how == QLatin1String("close");
        if (reading)
            QCoreApplication::processEvents(); // a slice of the ten or more
        else
            QTRY_VERIFY_WITH_TIMEOUT(reached, ExportWaitMs);
        QVERIFY(page->isExporting());
        QString project;
        QVERIFY(getCurrentProject(project));
        const auto back = qScopeGuard([&] {
            if (how == QLatin1String("close"))
                QVERIFY(varnotest::ProjectFolder::open(project));
        });
        if (how == QLatin1String("hide")) {
            page->hide();
        } else if (how == QLatin1String("close")) { // another project, with rows of its own in the range
            QVERIFY(varnotest::ProjectFolder::open(QStringLiteral("Next")));
            QVERIFY(!page->isExporting());
            const int steps = StepFault::steps();
            QVERIFY(runInTransaction([&] {
                for (int i = 0; i < count; ++i)
                    addLog(End.addSecs(-i), 0, QStringLiteral("next"));
                return true;
            }));
            QTRY_COMPARE_WITH_TIMEOUT(QDir(target.path()).entryList(QDir::Files | QDir::Hidden),
                                      QStringList{"rows.xlsx"}, ExportWaitMs);
            QCOMPARE(StepFault::steps(), steps); // not a row of it read
        } else if (how == QLatin1String("handed")) { // the worker has handed the file on; not yet renamed
            released = true;
            QVERIFY(BackgroundWork::pool().waitForDone(ExportWaitMs));
            emit gl_socket.signalsPageLeave(page->getId());
        } else if (how == QLatin1String("leave")) {
            emit gl_socket.signalsPageLeave(page->getId());
        } else if (how == QLatin1String("destroy")) {
            m_page.reset();
        } else {
            QVERIFY(BackgroundWork::finish(ExportWaitMs));
        }
        released = true;
        // The file beside it goes too, once its worker has stopped.
        QTRY_COMPARE_WITH_TIMEOUT(QDir(target.path()).entryList(QDir::Files | QDir::Hidden),
                                  QStringList{"rows.xlsx"}, ExportWaitMs);
        QTRY_VERIFY_WITH_TIMEOUT(!page || !page->isExporting(), ExportWaitMs);
        const QString said = how == QLatin1String("exit")    ? "Export failed: the export was given up"
                             : how == QLatin1String("close") ? "Export failed: the project was closed"
                                                             : "Export failed: the page was left";
        QCOMPARE(infos(information).mid(1), how == QLatin1String("destroy") ? QStringList() : QStringList{said});
        QVERIFY(old.open(QIODevice::ReadOnly) && old.readAll() == "an earlier export");
        // And a page left exports again.
        QVERIFY(BackgroundWork::pool().waitForDone(ExportWaitMs));
        BackgroundWork::resetForTests();
        XlsxDocument::setBeforeReadBack({});
        information.clear();
        if (page)
            page->exportLabel()->signalsPressed();
        QTRY_COMPARE_WITH_TIMEOUT(infos(information), page ? QStringList{"Exprot successfully"} : QStringList(),
                                  ExportWaitMs);
    }

    // A document dropped half-way stops its writer at once: no file is left, none kept open.
    void documentDroppedHalfWay()
    {
        QTemporaryDir target;
        const auto openFiles = [] { return QDir(QStringLiteral("/proc/self/fd")).count(); };
        const uint before = openFiles();
        {
            XlsxDocument document(target.filePath(QStringLiteral("half.xlsx")));
            for (int row = 1; row <= 20000; ++row)
                document.write(row, 1, QStringLiteral("row %1").arg(row));
        }
        QCOMPARE(openFiles(), before);
        QCOMPARE(QDir(target.path()).entryList(QDir::Files | QDir::Hidden), QStringList());
    }
};

VARNO_TEST_MAIN_SMALL_TMP(TestLogPage, 64 * 1024 * 1024) // ample; the export rows fill it
#include "tst_logpage.moc"
