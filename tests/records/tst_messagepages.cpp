// The message definitions ("Message Manager", "Message Information") and the
// "Message" page: grid, saving rules, filters, delete mode and the export, read
// back with xlsx2csv.

#include "testmain.h"

#include "messagefixture.h"
#include "projectfixture.h"
#include "recordpages.h"

#include "records/messagebar.h"
#include "records/messageitem.h"
#include "records/pagemessage.h"
#include "records/pagesettingmessagemanager.h"
#include "records/pagesettingmessagemanagermessageinformation.h"
#include "shell/filedialogs.h"
#include "shell/iconselectdlg.h"
#include "shell/manageritem.h"
#include "store/databaseinit.h"
#include "store/settings.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QTemporaryDir>
#include <qtmaterialcombobox.h>
#include <qtmaterialdatetimeedit.h>
#include <qtmaterialflatbutton.h>
#include <qtmaterialgroupbox.h>
#include <qtmateriallineedit.h>

using namespace fixture;
using namespace recordpages;

namespace {

const QString Complete = QStringLiteral("Please input the complete content!");
const QString Used = QStringLiteral("The universal switch no has been used,please input new value!");

QString at(int secondsAgo)
{
    return QDateTime::currentDateTime().addSecs(-secondsAgo).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

int count(const QString &sql)
{
    return getValueFromDb(sql, QStringLiteral("n"));
}

void enter(QWidget *page, const QString &arg1 = QString())
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    if (!page->isVisible()) {
        page->resize(1920, 900);
        page->show();
    }
    emit gl_socket.signalsPageEnter(arg1, QString());
}

QList<int> listedIds(const PageMessage &page)
{
    QList<int> ids;
    for (QWidget *w : page.tiles())
        ids.append(qobject_cast<MessageItem *>(w)->getMessageRecord().id);
    return ids;
}

// The add tile: the last tile of the grid.
// Saves the page as shown at 1920 x 1080 for a look and returns the picture.
QImage shot(QWidget *page, const QString &name)
{
    page->resize(1920, 1080);
    QTest::qWait(20);
    const QImage image = page->grab().toImage();
    QDir().mkpath(QStringLiteral(VARNO_SCREENSHOT_DIR));
    image.save(QStringLiteral(VARNO_SCREENSHOT_DIR "/%1.png").arg(name));
    return image;
}

ManagerItem *addTile(QWidget *box)
{
    auto *grid = qobject_cast<QGridLayout *>(box->layout());
    return grid ? qobject_cast<ManagerItem *>(grid->itemAt(grid->count() - 1)->widget()) : nullptr;
}

} // namespace

class TestMessagePages : public QObject
{
    Q_OBJECT

    QScopedPointer<varnotest::ProjectFolder> m_folder;

private slots:
    void initTestCase()
    {
        m_folder.reset(new varnotest::ProjectFolder);
        QVERIFY(m_folder->isValid());
        screen_cx = 1920;
        screen_cy = 1080;
        registerVarnoMetaTypes();
    }
    void init()
    {
        m_folder->reset();
        seed();
        answerFileDialogsWith({});
    }
    void cleanupTestCase() { m_folder.reset(); }

    // ---- "Message Manager" ----

    void managerGrid_data()
    {
        QTest::addColumn<int>("screen");
        QTest::addColumn<int>("definitions");
        QTest::addColumn<int>("addRow");
        QTest::addColumn<int>("addColumn");
        QTest::addColumn<int>("stretchedColumn");
        QTest::newRow("none") << 1920 << 0 << 0 << 0 << 1;
        QTest::newRow("eight fill row 0") << 1920 << 8 << 0 << 8 << 9;
        QTest::newRow("ninth moves the add tile") << 1920 << 9 << 1 << 0 << 9;
        QTest::newRow("narrower than a tile: one column") << 150 << 2 << 2 << 0 << 1;
    }
    void managerGrid()
    {
        QFETCH(int, screen);
        QFETCH(int, definitions);
        QFETCH(int, addRow);
        QFETCH(int, addColumn);
        QFETCH(int, stretchedColumn);
        QVERIFY(exec(QStringLiteral("delete from tbl_message")));
        for (int i = 1; i <= definitions; ++i)
            QVERIFY(exec(QStringLiteral("insert into tbl_message(message_id,message_type,message_remark,"
                                        "icon_name,universal_switch_no) values(%1,0,'m%1','message_%2',%1)")
                             .arg(i)
                             .arg(i, 2, 10, QLatin1Char('0'))));
        PageSettingMessageManager page(QStringLiteral("Message Manager"), QStringLiteral("Message Manager"));
        screen_cx = screen;
        enter(&page);
        screen_cx = 1920;
        auto *grid = qobject_cast<QGridLayout *>(page.tileBox()->layout());
        QVERIFY(grid);
        QCOMPARE(grid->count(), definitions + 1);
        int row = -1, column = -1, rs = 0, cs = 0;
        grid->getItemPosition(grid->count() - 1, &row, &column, &rs, &cs);
        QCOMPARE(qobject_cast<ManagerItem *>(grid->itemAt(grid->count() - 1)->widget())->getType(),
                 int(ManagerItemAdd));
        QCOMPARE(row, addRow);
        QCOMPARE(column, addColumn);
        // Nine columns of 192 on 1920 pixels, spaced 19 apart.
        if (screen == 1920)
            QCOMPARE(grid->horizontalSpacing(), 19);
        QCOMPARE(grid->columnStretch(stretchedColumn), 1);
        QCOMPARE(grid->columnStretch(0), stretchedColumn == 0 ? 1 : 0);
        const QImage image = shot(&page, QStringLiteral("message_manager_%1").arg(definitions));
        QWidget *add = grid->itemAt(grid->count() - 1)->widget();
        QCOMPARE(image.pixelColor(add->mapTo(&page, QPoint(10, 96))), QColor(0x3D, 0x53, 0x66));
        for (int i = 0; i < grid->count() - 1; ++i) {
            auto *tile = qobject_cast<ManagerItem *>(grid->itemAt(i)->widget());
            QCOMPARE(tile->getId(), i + 1);
            QCOMPARE(tile->getType(), int(ManagerItemMessage));
            QVERIFY(tile->isEdit());
        }
    }

    void managerAddAndDelete()
    {
        // Received rows of two definitions, shown on the message bar.
        MessageBar bar(nullptr);
        const int clean1 = addRow(ServiceClean, 0, DoorPanel, Room101, 0, at(60));
        const int clean2 = addRow(ServiceClean, 0, BedPanel, BobsRoom, 1, at(50));
        const int towels = addRow(ServiceTowels, 0, DoorPanel, Room101, 0, at(40));
        for (int id : {clean1, clean2, towels}) {
            universalSwitchMessage msg;
            msg.id = id;
            emit gl_socket.signalsAppendMessage(msg);
        }
        QCOMPARE(bar.tiles().size(), 3);

        PageSettingMessageManager page(QStringLiteral("Message Manager"), QStringLiteral("Message Manager"));
        enter(&page);
        QSignalSpy requests(&gl_socket, &BroadcastSocket::signalsPageIdChanged);
        QSignalSpy removals(&gl_socket, &BroadcastSocket::signalsRemoveMessage);
        // The add tile offers the first free number (1), twice the same: nothing is written.
        addTile(page.tileBox())->slotsPressed();
        addTile(page.tileBox())->slotsPressed();
        QCOMPARE(requests.size(), 2);
        for (const auto &args : requests)
            QCOMPARE(args, (QList<QVariant>{"Message Information", "Message Information", "1", ""}));
        QCOMPARE(count(QStringLiteral("select count(*) as n from tbl_message")), 3);

        // Deleting "Clean room" (11) takes its received rows and their bar tiles.
        ManagerItem *clean = nullptr;
        for (ManagerItem *tile : page.tileBox()->findChildren<ManagerItem *>())
            if (tile->getId() == ServiceClean)
                clean = tile;
        QVERIFY(clean);
        clean->pushButtonDelete_clicked();
        QCOMPARE(removals.size(), 1);
        QCOMPARE(removals.at(0), (QList<QVariant>{ServiceClean, 3}));
        QCOMPARE(count(QStringLiteral("select count(*) as n from tbl_message where message_id=11")), 0);
        QCOMPARE(count(QStringLiteral("select count(*) as n from tbl_message_log")), 1);
        QVERIFY(fixture::row(towels).found);
        QCOMPARE(qobject_cast<QGridLayout *>(page.tileBox()->layout())->count(), 3);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(bar.tiles().size(), 1);
        QCOMPARE(bar.tiles().at(0)->getMessageRecord().id, towels);
    }

    // ---- "Message Information" ----

    void informationEntry_data()
    {
        QTest::addColumn<int>("messageId");
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("typeIndex");
        QTest::addColumn<QString>("number");
        QTest::addColumn<QString>("icon");
        QTest::addColumn<bool>("existing");
        QTest::newRow("service") << int(ServiceClean) << "Clean room" << 0 << "5"
                                 << "message_03" << true;
        QTest::newRow("alarm") << int(AlarmFire) << "Fire" << 1 << "9"
                               << "message_05.png" << true;
        QTest::newRow("new") << 1 << "" << 0 << ""
                             << "message_01" << false;
    }
    void informationEntry()
    {
        QFETCH(int, messageId);
        QFETCH(QString, name);
        QFETCH(int, typeIndex);
        QFETCH(QString, number);
        QFETCH(QString, icon);
        QFETCH(bool, existing);
        PageSettingMessageManagerMessageInformation page(QStringLiteral("Message Information"),
                                                         QStringLiteral("Message Information"));
        // A previous definition's values never stay on the form.
        enter(&page, QString::number(AlarmFire));
        enter(&page, QString::number(messageId));
        QCOMPARE(page.messageId(), messageId);
        QCOMPARE(page.isExisting(), existing);
        QCOMPARE(page.nameEdit()->text(), name);
        QCOMPARE(page.typeCombo()->currentIndex(), typeIndex);
        QCOMPARE(page.typeCombo()->count(), 2);
        QCOMPARE(page.switchEdit()->text(), number);
        QCOMPARE(page.iconTile()->getIconName(), icon);
        shot(&page, QStringLiteral("message_information_%1").arg(messageId));
        // Typing 300 leaves 255.
        page.switchEdit()->setText(QStringLiteral("300"));
        QCOMPARE(page.switchEdit()->text(), QStringLiteral("255"));
    }

    void informationSave_data()
    {
        QTest::addColumn<int>("messageId"); // 1: a new definition
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("typeIndex");
        QTest::addColumn<QString>("number");
        QTest::addColumn<QString>("icon");     // chosen in the picker; empty: none chosen
        QTest::addColumn<int>("answer");       // to the question: -1 none asked, 0 Cancel, 1 Ok
        QTest::addColumn<QString>("info");     // empty: saved and back to the manager
        QTest::addColumn<int>("storedNumber"); // of the definition afterwards; -1 no row
        QTest::addColumn<int>("receivedLeft"); // rows of tbl_message_log of the definition

        QTest::newRow("new, empty name") << 1 << "" << 0 << "7"
                                         << "" << -1 << Complete << -1 << 0;
        QTest::newRow("new, empty number") << 1 << "Call" << 0 << ""
                                           << "" << -1 << Complete << -1 << 0;
        QTest::newRow("new, number 0") << 1 << "Call" << 0 << "0"
                                       << "" << -1 << Complete << -1 << 0;
        QTest::newRow("new, negative number") << 1 << "Call" << 0 << "-3"
                                              << "" << -1 << Complete << -1 << 0;
        QTest::newRow("new, number in use") << 1 << "Call" << 0 << "6"
                                            << "" << -1 << Used << -1 << 0;
        QTest::newRow("new, quote in name, 300") << 1 << "Guest's call" << 1 << "300"
                                                 << "" << -1 << "" << 255 << 0;
        QTest::newRow("new, icon chosen") << 1 << "Call" << 0 << "40"
                                          << "message_07" << -1 << "" << 40 << 0;
        QTest::newRow("same number, new name") << int(ServiceClean) << "Clean it" << 0 << "5"
                                               << "" << -1 << "" << 5 << 2;
        QTest::newRow("number of another") << int(ServiceClean) << "Clean" << 0 << "6"
                                           << "" << -1 << Used << 5 << 2;
        QTest::newRow("new number, Cancel") << int(ServiceClean) << "Clean" << 1 << "20"
                                            << "" << 0 << "" << 5 << 2;
        QTest::newRow("new number, Ok") << int(ServiceClean) << "Clean" << 1 << "20"
                                        << "" << 1 << "" << 20 << 0;
    }
    void informationSave()
    {
        QFETCH(int, messageId);
        QFETCH(QString, name);
        QFETCH(int, typeIndex);
        QFETCH(QString, number);
        QFETCH(QString, icon);
        QFETCH(int, answer);
        QFETCH(QString, info);
        QFETCH(int, storedNumber);
        QFETCH(int, receivedLeft);
        addRow(ServiceClean, 0, DoorPanel, Room101, 0, at(30));
        addRow(ServiceClean, 0, DoorPanel, Room101, 1, at(20));

        PageSettingMessageManagerMessageInformation page(QStringLiteral("Message Information"),
                                                         QStringLiteral("Message Information"));
        enter(&page, QString::number(messageId));
        if (!icon.isEmpty()) {
            QTimer picker;
            connect(&picker, &QTimer::timeout, [&picker, icon]() {
                if (auto *dialog = qobject_cast<IconSelectDlg *>(QApplication::activeModalWidget())) {
                    picker.stop();
                    dialog->slotsIconEdit(icon);
                }
            });
            picker.start(10);
            page.iconTile()->slotsPressed();
        }
        page.nameEdit()->setText(name);
        page.typeCombo()->setCurrentIndex(typeIndex);
        page.switchEdit()->setText(number);

        QSignalSpy information(&gl_socket, &BroadcastSocket::signalsInformation);
        QSignalSpy requests(&gl_socket, &BroadcastSocket::signalsPageIdChanged);
        QSignalSpy removals(&gl_socket, &BroadcastSocket::signalsRemoveMessage);
        std::shared_ptr<Box> box = answerNextBox(answer == 1);
        page.saveButton()->click();
        box->stop();

        QCOMPARE(box->seen, answer >= 0);
        if (box->seen) {
            QCOMPARE(box->size, QSize(500, 160));
            QCOMPARE(box->text,
                     QStringLiteral("The universal switch no will be changed,the associated message "
                                    "records will be deleted,are you sure?"));
        }
        QCOMPARE(infos(information), info.isEmpty() ? QStringList() : QStringList{info});
        const bool saved = info.isEmpty() && answer != 0;
        QCOMPARE(requests.size(), saved ? 1 : 0);
        if (saved)
            QCOMPARE(requests.at(0).at(0).toString(), QStringLiteral("Message Manager"));
        QCOMPARE(removals.size(), answer == 1 ? 1 : 0);
        if (answer == 1)
            QCOMPARE(removals.at(0), (QList<QVariant>{messageId, 3}));

        const QString sql = QStringLiteral("select * from tbl_message where message_id=%1").arg(messageId);
        QCOMPARE(isRecordExist(sql) ? getValueFromDb(sql, QStringLiteral("universal_switch_no")) : -1,
                 storedNumber);
        QCOMPARE(count(QStringLiteral("select count(*) as n from tbl_message_log where message_id=%1")
                           .arg(messageId)),
                 receivedLeft);
        if (saved) {
            QString stored;
            getTextFromDb(sql, QStringLiteral("message_remark"), stored);
            QCOMPARE(stored, name);
            QCOMPARE(getValueFromDb(sql, QStringLiteral("message_type")), typeIndex);
            getTextFromDb(sql, QStringLiteral("icon_name"), stored);
            const QString expectedIcon = !icon.isEmpty()  ? icon
                                         : messageId == 1 ? QStringLiteral("message_01")
                                                          : QStringLiteral("message_03");
            QCOMPARE(stored, expectedIcon);
        }
        // Other definitions are never touched.
        QCOMPARE(count(QStringLiteral("select count(*) as n from tbl_message where message_id in (12,13)")),
                 2);
    }

    // ---- "Message" ----

    void messageEntryResetsAndListsOnce()
    {
        const int oldest = addRow(ServiceClean, 0, DoorPanel, Room101, 0, at(6 * 86400));
        const int newest = addRow(AlarmFire, 1, BedPanel, BobsRoom, 2, at(10));
        addRow(ServiceTowels, 0, DoorPanel, Room101, 0, at(8 * 86400)); // older than the range
        PageMessage page(QStringLiteral("Message"), QStringLiteral("Message"));
        enter(&page);
        page.typeCombo()->setCurrentIndex(2);
        page.statusCombo()->setCurrentIndex(3);
        page.roomCombo()->setCurrentIndex(1);
        QCOMPARE(listedIds(page), QList<int>{});

        // A room of another project appears once the page is entered again.
        QVERIFY(exec(QStringLiteral("insert into tbl_room(room_name,icon_name,room_id,floor_id,region_id,"
                                    "room_template_id) values('Hall','room_3',9,1,1,0)")));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        const QDateTime before = QDateTime::currentDateTime().addMSecs(-999);
        enter(&page);
        const QDateTime after = QDateTime::currentDateTime();
        QCOMPARE(page.typeCombo()->currentText(), QStringLiteral("All Types"));
        QCOMPARE(page.statusCombo()->currentText(), QStringLiteral("All Status"));
        QCOMPARE(page.roomCombo()->currentText(), QStringLiteral("All Rooms"));
        QStringList rooms;
        for (int i = 0; i < page.roomCombo()->count(); ++i)
            rooms.append(page.roomCombo()->itemText(i));
        QCOMPARE(rooms,
                 (QStringList{"All Rooms", "North-1F-Room 101", "North-1F-Hall", "North--Bob's room"}));
        QCOMPARE(page.typeCombo()->count(), 3);
        QCOMPARE(page.statusCombo()->count(), 6);
        const QDateTime end = page.endEdit()->dateTime();
        QVERIFY(end >= before && end <= after);
        QCOMPARE(page.startEdit()->dateTime(), end.addDays(-7));
        QCOMPARE(listedIds(page), (QList<int>{newest, oldest}));
        // Listed once: the tiles of one listing (and none of a second) await the box.
        QCOMPARE(page.tileBox()->findChildren<MessageItem *>().size(), 2);
    }

    void messageFilters_data()
    {
        QTest::addColumn<int>("type");        // combo index: 0 all, 1 service, 2 alarm
        QTest::addColumn<int>("status");      // 0 all, 1 + status
        QTest::addColumn<int>("room");        // 0 all, 1 Room 101, 2 Bob's room
        QTest::addColumn<QList<int>>("rows"); // indexes into the seeded rows, newest first
        // Seeded rows (index: type, status, room), row 0 newest.
        QTest::newRow("all") << 0 << 0 << 0 << QList<int>{0, 1, 2, 3, 4, 5};
        QTest::newRow("room") << 0 << 0 << 2 << QList<int>{1, 3, 5};
        QTest::newRow("status") << 0 << 1 << 0 << QList<int>{0, 2, 3};
        QTest::newRow("status, room") << 0 << 1 << 1 << QList<int>{0, 2};
        QTest::newRow("type") << 2 << 0 << 0 << QList<int>{1, 2, 5};
        QTest::newRow("type, room") << 2 << 0 << 1 << QList<int>{2};
        QTest::newRow("type, status") << 1 << 1 << 0 << QList<int>{0, 3};
        QTest::newRow("type, status, room") << 2 << 4 << 2 << QList<int>{5};
    }
    void messageFilters()
    {
        QFETCH(int, type);
        QFETCH(int, status);
        QFETCH(int, room);
        QFETCH(QList<int>, rows);
        // Rows exactly at both ends of a fixed range, and just outside it.
        const QDateTime start(QDate(2026, 11, 2), QTime(8, 0, 0));
        const QDateTime end(QDate(2026, 11, 3), QTime(8, 0, 0));
        const auto t = [](const QDateTime &d) { return d.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")); };
        const QList<int> seeded{
            addRow(ServiceClean, 0, DoorPanel, Room101, 0, t(end)),
            addRow(AlarmFire, 1, BedPanel, BobsRoom, 1, t(end.addSecs(-1))),
            addRow(AlarmFire, 1, DoorPanel, Room101, 0, t(end.addSecs(-2))),
            addRow(ServiceTowels, 0, BedPanel, BobsRoom, 0, t(end.addSecs(-3))),
            addRow(ServiceTowels, 0, DoorPanel, Room101, 2, t(end.addSecs(-4))),
            addRow(AlarmFire, 1, BedPanel, BobsRoom, 3, t(start)),
        };
        addRow(ServiceClean, 0, DoorPanel, Room101, 0, t(end.addSecs(1)));
        addRow(ServiceClean, 0, DoorPanel, Room101, 0, t(start.addSecs(-1)));
        PageMessage page(QStringLiteral("Message"), QStringLiteral("Message"));
        enter(&page);
        page.startEdit()->setDateTime(start);
        page.endEdit()->setDateTime(end);
        page.typeCombo()->setCurrentIndex(type);
        page.statusCombo()->setCurrentIndex(status);
        page.roomCombo()->setCurrentIndex(room);
        QList<int> expected;
        for (int i : rows)
            expected.append(seeded.at(i));
        QCOMPARE(listedIds(page), expected);
    }

    void messageDeleteMode()
    {
        const int a = addRow(ServiceClean, 0, DoorPanel, Room101, 0, at(40));
        const int b = addRow(AlarmFire, 1, BedPanel, BobsRoom, 1, at(30));
        const int c = addRow(ServiceTowels, 0, DoorPanel, Room101, 0, at(20));
        MessageBar bar(nullptr);
        for (int id : {a, b, c}) {
            universalSwitchMessage msg;
            msg.id = id;
            emit gl_socket.signalsAppendMessage(msg);
        }
        if (bar.alarmDialog())
            bar.alarmDialog()->hide();
        PageMessage page(QStringLiteral("Message"), QStringLiteral("Message"));
        enter(&page);
        QCOMPARE(listedIds(page), (QList<int>{c, b, a}));
        QVERIFY(!page.isDeleteMode());

        // First press: check boxes and the two buttons, no question.
        const QImage listed = shot(&page, QStringLiteral("message_page"));
        std::shared_ptr<Box> none = answerNextBox(false);
        page.deleteLabel()->signalsPressed();
        const QImage deleting = shot(&page, QStringLiteral("message_page_delete_mode"));
        const QRect box(page.tiles().at(0)->mapTo(&page, QPoint(20, 10)), QSize(20, 20));
        int changed = 0;
        for (int y = box.top(); y <= box.bottom(); ++y)
            for (int x = box.left(); x <= box.right(); ++x)
                changed += listed.pixel(x, y) != deleting.pixel(x, y);
        QVERIFY(changed > 20);
        QVERIFY(page.isDeleteMode());
        QVERIFY(page.cancelButton()->isVisible() && page.selectAllButton()->isVisible());
        for (QWidget *w : page.tiles())
            QVERIFY(qobject_cast<MessageItem *>(w)->isCheckBoxVisible());
        QTest::qWait(30);
        QVERIFY(!none->seen);
        none->stop();

        // A click now checks a row instead of opening the dialog.
        qobject_cast<MessageItem *>(page.tiles().at(0))->slotsPressed();
        qobject_cast<MessageItem *>(page.tiles().at(2))->slotsPressed();
        std::shared_ptr<Box> cancelled = answerNextBox(false);
        page.deleteLabel()->signalsPressed();
        QCOMPARE(cancelled->text, QStringLiteral("2 msgs will be deleted."));
        QCOMPARE(cancelled->size, QSize(450, 160));
        QVERIFY(page.isDeleteMode());
        QCOMPARE(count(QStringLiteral("select count(*) as n from tbl_message_log")), 3);

        // Refused by the database: nothing goes, nothing is announced, and it is said.
        QVERIFY(gl_sqlite3db.execDML(QStringLiteral(
            "create trigger refuse before delete on tbl_message_log begin select raise(abort,'no'); end")));
        {
            QSignalSpy refusedRemovals(&gl_socket, &BroadcastSocket::signalsRemoveMessage);
            QSignalSpy information(&gl_socket, &BroadcastSocket::signalsInformation);
            std::shared_ptr<Box> refused = answerNextBox(true);
            page.deleteLabel()->signalsPressed();
            QVERIFY(refused->seen);
            QVERIFY(refusedRemovals.isEmpty());
            QCOMPARE(infos(information), QStringList{"The messages could not be deleted!"});
            QCOMPARE(count(QStringLiteral("select count(*) as n from tbl_message_log")), 3);
            QCOMPARE(listedIds(page), (QList<int>{c, b, a}));
        }
        QVERIFY(gl_sqlite3db.execDML(QStringLiteral("drop trigger refuse")));
        if (!page.isDeleteMode())
            page.deleteLabel()->signalsPressed();
        for (int i : {0, 2}) {
            auto *tile = qobject_cast<MessageItem *>(page.tiles().at(i));
            if (!tile->isChecked())
                tile->slotsPressed();
        }

        QSignalSpy removals(&gl_socket, &BroadcastSocket::signalsRemoveMessage);
        std::shared_ptr<Box> ok = answerNextBox(true);
        page.deleteLabel()->signalsPressed();
        QVERIFY(ok->seen);
        QCOMPARE(removals.size(), 2);
        QCOMPARE(removals.at(0), (QList<QVariant>{c, 0}));
        QCOMPARE(removals.at(1), (QList<QVariant>{a, 0}));
        QVERIFY(!fixture::row(a).found && fixture::row(b).found && !fixture::row(c).found);
        QVERIFY(!page.isDeleteMode());
        QCOMPARE(listedIds(page), QList<int>{b});
        QVERIFY(!qobject_cast<MessageItem *>(page.tiles().at(0))->isCheckBoxVisible());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(bar.tiles().size(), 1);
        QCOMPARE(bar.tiles().at(0)->getMessageRecord().id, b);

        // "Select All" then "Cancel": nothing stays checked, and the window shows each step.
        page.deleteLabel()->signalsPressed();
        QTRY_VERIFY(checkBoxShown(page.tiles().at(0)));
        page.selectAllButton()->click();
        QVERIFY(qobject_cast<MessageItem *>(page.tiles().at(0))->isChecked());
        QTRY_VERIFY(checkBoxShown(page.tiles().at(0)));
        page.cancelButton()->click();
        QVERIFY(!page.isDeleteMode());
        QVERIFY(!qobject_cast<MessageItem *>(page.tiles().at(0))->isChecked());
        QTRY_VERIFY(checkBoxShown(page.tiles().at(0)));
    }

    void messageExport()
    {
        QTemporaryDir target;
        const QString t40 = at(40), t30 = at(30), t20 = at(20);
        // The bed panel and "Towels" are gone, one room too: their cells are empty, the
        // place keeps its dashes.
        const int first = addRow(ServiceClean, 0, DoorPanel, Room101, 3, t40);
        const int second = addRow(AlarmFire, 1, BedPanel, 99, 0, t30);
        const int third = addRow(ServiceTowels, 7, 5, BobsRoom, 9, t20);
        QVERIFY(exec(QStringLiteral("update tbl_message_log set message_log_remark='=1+1',"
                                    "deal_time='2026-12-01 10:00:00' where id=%1")
                         .arg(first)));
        QVERIFY(exec(QStringLiteral("delete from tbl_message where message_id=13")));
        PageMessage page(QStringLiteral("Message"), QStringLiteral("Message"));

        QSignalSpy information(&gl_socket, &BroadcastSocket::signalsInformation);
        QStringList proposals;
        QString answer;
        answerFileDialogsWith([&](FileDialogKind kind, const QString &caption, const QString &dir) {
            if (kind == FileDialogKind::Save && caption == QLatin1String("Save As"))
                proposals.append(dir);
            return answer;
        });
        // An empty list exports nothing.
        enter(&page);
        page.startEdit()->setDateTime(QDateTime(QDate(2000, 1, 1), QTime(0, 0)));
        page.endEdit()->setDateTime(QDateTime(QDate(2000, 1, 2), QTime(0, 0)));
        page.exportLabel()->signalsPressed();
        QCOMPARE(infos(information), QStringList{"No messages"});
        QVERIFY(proposals.isEmpty());
        enter(&page);
        QCOMPARE(listedIds(page), (QList<int>{third, second, first}));

        // A cancelled dialog writes nothing; the bare name is proposed.
        information.clear();
        page.exportLabel()->signalsPressed();
        QCOMPARE(proposals.size(), 1);
        QVERIFY2(
            QRegularExpression(QStringLiteral("^\\d{14}_message\\.xlsx$")).match(proposals.at(0)).hasMatch(),
            qPrintable(proposals.at(0)));
        QVERIFY(information.isEmpty());

        answer = target.filePath(QStringLiteral("out.xlsx"));
        page.exportLabel()->signalsPressed();
        QTRY_COMPARE_WITH_TIMEOUT(infos(information), QStringList{"Exprot successfully"}, ExportWaitMs);
        QString folder;
        getConfig(QStringLiteral("getOpenFileName"), QStringLiteral("exprotExcel"), folder);
        QCOMPARE(folder, QFileInfo(target.path()).absoluteFilePath());

        const Workbook book = readWorkbook(answer);
        QVERIFY2(book.error.isEmpty(), qPrintable(book.error));
        QCOMPARE(book.sheets, QStringList{"message"});
        const QList<QStringList> expected{
            {"Receiving Time", "Room Name", "Panel Name", "Message Name", "Message Type", "Message Status",
             "Message Remark", "Deal Time"},
            {t20, "North--Bob's room", "", "", "", "", "", ""},
            {t30, "--", "Bed panel", "Fire", "alarm message", "suspend", "", ""},
            {t40, "North-1F-Room 101", "Door panel", "Clean room", "service message", "processed", "=1+1",
             "2026-12-01 10:00:00"},
        };
        QCOMPARE(book.rows.value(QStringLiteral("message")), expected);
        // Text cells only: no formula, no number.
        const QByteArray xml = sheetXml(answer);
        QVERIFY(!xml.isEmpty());
        QVERIFY(!xml.contains("<f>") && !xml.contains("<v>"));

        // The next proposal lies in the folder last used.
        answer.clear();
        page.exportLabel()->signalsPressed();
        QCOMPARE(proposals.size(), 3);
        QVERIFY(proposals.at(2).startsWith(folder + QLatin1Char('/')));
        QVERIFY(proposals.at(2).endsWith(QLatin1String("_message.xlsx")));
    }
};

VARNO_TEST_MAIN(TestMessagePages)
#include "tst_messagepages.moc"
