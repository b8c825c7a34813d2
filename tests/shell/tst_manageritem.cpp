// The list tile: picture resolution, press handling, the delete button and the
// room tile's strip of today's open messages.

#include "testmain.h"

#include "bus/broadcastsocket.h"
#include "shell/manageritem.h"
#include "store/cppsqlite3db.h"
#include "store/globals.h"
#include "store/projectlist.h"
#include "store/queryhelpers.h"

#include <QAbstractButton>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QColor kTile(0x1F, 0x29, 0x33);
const QColor kPressed(0x55, 0x7F, 0xA3);
constexpr int kRoom = 5;

void exec(const QString &sql)
{
    QVERIFY2(gl_sqlite3db.execDML(sql), qPrintable(sql));
}

QString today()
{
    return QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd"));
}

// Stores one message log row and returns its id.
int addLog(int messageId, int type, int status, int panel, int room, const QString &remark,
           const QString &day = today())
{
    gl_sqlite3db.execDML(QStringLiteral("insert into tbl_message_log(message_id,message_type,message_status,"
                                        "panel_id,room_id,message_log_remark,recv_time,deal_time) "
                                        "values(%1,%2,%3,%4,%5,'%6','%7 08:00:00','')")
                             .arg(messageId)
                             .arg(type)
                             .arg(status)
                             .arg(panel)
                             .arg(room)
                             .arg(sqlText(remark), day));
    return getValueFromDb(QStringLiteral("select max(id) as n from tbl_message_log"), QStringLiteral("n"));
}

QList<int> ids(const ManagerItem &item)
{
    QList<int> result;
    for (const messageRecord &record : item.messageList())
        result << record.id;
    return result;
}

universalSwitchMessage announced(int logId, int room, int status)
{
    universalSwitchMessage msg;
    msg.id = logId;
    msg.room_id = room;
    msg.message_status = status;
    return msg;
}

// Counts the pixels of exactly that colour in a band of the image.
int pixelsOf(const QImage &image, const QRect &band, const QColor &color)
{
    int n = 0;
    for (int y = band.top(); y <= band.bottom(); ++y) {
        for (int x = band.left(); x <= band.right(); ++x) {
            if (image.pixelColor(x, y).rgb() == color.rgb())
                ++n;
        }
    }
    return n;
}

} // namespace

class TestManagerItem : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_projectFolder;

    void clearMessages() { exec(QStringLiteral("delete from tbl_message_log")); }

private slots:
    void initTestCase()
    {
        Q_INIT_RESOURCE(pictures);
        QVERIFY(m_dir.isValid());
        gl_curPath = m_dir.path();
        preInitProject();
        QString project;
        QVERIFY(getCurrentProject(project));
        m_projectFolder = projectFolder(project);
        QVERIFY(QDir(m_projectFolder).exists());
        exec(QStringLiteral("delete from tbl_message"));
        exec(QStringLiteral("insert into tbl_message(message_id,message_type,message_remark,icon_name,"
                            "universal_switch_no) values(1,1,'Fire in the kitchen','message_01',11)"));
        exec(QStringLiteral("insert into tbl_message(message_id,message_type,message_remark,icon_name,"
                            "universal_switch_no) values(2,0,'Towels please','message_02.png',12)"));
    }

    void cleanupTestCase() { gl_sqlite3db.close(); }

    void builtInPictures_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("iconName");
        QTest::addColumn<QString>("path");
        QTest::newRow("add") << 0 << "x"
                             << ":/myImages/png/add_new_room.png";
        QTest::newRow("template") << 1 << "room_3"
                                  << ":/myImages/jpg/room/room_3.jpg";
        QTest::newRow("room") << 2 << "room_52"
                              << ":/myImages/jpg/room/room_52.jpg";
        QTest::newRow("room with suffix") << 2 << "room_1.jpg"
                                          << ":/myImages/jpg/room/room_1.jpg";
        QTest::newRow("3d view") << 3 << "3d_view_01"
                                 << ":/myImages/png/3d_view/3d_view_01.png";
        QTest::newRow("3d view with suffix") << 3 << "3d_view_08.png"
                                             << ":/myImages/png/3d_view/3d_view_08.png";
        QTest::newRow("message") << 4 << "message_11"
                                 << ":/myImages/png/message/message_11.png";
        QTest::newRow("light") << 5 << "light_01_on"
                               << ":/myImages/png/light/light_01_on.png";
        QTest::newRow("light off") << 5 << "light_52_off.png"
                                   << ":/myImages/png/light/light_52_off.png";
        QTest::newRow("ac ignores name") << 6 << "light_01_on"
                                         << ":/myImages/png/edit_room/icon-room-ac.png";
        QTest::newRow("floor heat") << 7 << ""
                                    << ":/myImages/png/edit_room/icon-room-floorheat.png";
        QTest::newRow("mood") << 8 << "moods_23"
                              << ":/myImages/jpg/moods/moods_23.jpg";
        QTest::newRow("panel") << 9 << ""
                               << ":/myImages/png/edit_room/icon-room-panel.png";
    }
    void builtInPictures()
    {
        QFETCH(int, kind);
        QFETCH(QString, iconName);
        QFETCH(QString, path);
        QCOMPARE(ManagerItem::picturePath(kind, iconName), path);
        QVERIFY2(!QImage(path).isNull(), qPrintable(path));
    }

    void userPictures_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("iconName");
        QTest::addColumn<QString>("file"); // relative to the project folder, "" = none
        QTest::newRow("room") << 2 << "photo_1"
                              << "photo_1.png";
        QTest::newRow("room with suffix") << 2 << "photo_1.png"
                                          << "photo_1.png";
        QTest::newRow("template") << 1 << "photo_1"
                                  << "photo_1.png";
        QTest::newRow("mood") << 8 << "photo_1"
                              << "photo_1.png";
        QTest::newRow("3d view") << 3 << "myphoto_1"
                                 << "";
        QTest::newRow("missing file") << 2 << "photo_2"
                                      << "";
        QTest::newRow("outside the folder") << 2 << "../photo_1"
                                            << "";
        QTest::newRow("case-sensitive") << 2 << "Photo_1"
                                        << "__builtin__";
    }
    void userPictures()
    {
        QFETCH(int, kind);
        QFETCH(QString, iconName);
        QFETCH(QString, file);
        QImage picture(8, 8, QImage::Format_RGB32);
        picture.fill(Qt::red);
        QVERIFY(picture.save(m_projectFolder + QStringLiteral("/photo_1.png")));
        QVERIFY(picture.save(gl_curPath + QStringLiteral("/database/photo_1.png")));

        const QString path = ManagerItem::picturePath(kind, iconName);
        if (file == QLatin1String("__builtin__"))
            QCOMPARE(path, QStringLiteral(":/myImages/jpg/room/Photo_1.jpg"));
        else if (file.isEmpty())
            QCOMPARE(path, QString());
        else
            QCOMPARE(path, m_projectFolder + QLatin1Char('/') + file);
    }

    void userPictureIsPainted()
    {
        QImage picture(8, 8, QImage::Format_RGB32);
        picture.fill(Qt::red);
        QVERIFY(picture.save(m_projectFolder + QStringLiteral("/photo_9.png")));
        ManagerItem shown(2, 0, QString(), QStringLiteral("photo_9"), false, kTile, 300, 160);
        ManagerItem missing(2, 0, QString(), QStringLiteral("photo_8"), false, kTile, 300, 160);
        // The user's picture is decoded by a worker and arrives a moment later.
        QTRY_COMPARE(shown.grab().toImage().pixelColor(150, 120).rgb(), QColor(Qt::red).rgb());
        QCOMPARE(missing.grab().toImage().pixelColor(150, 120).rgb(), kTile.rgb());
    }

    void titlePlacement_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<bool>("top");
        for (int kind : {0, 4, 5, 6, 7, 9})
            QTest::newRow(qPrintable(QStringLiteral("kind %1").arg(kind))) << kind << false;
        for (int kind : {1, 2, 3, 8})
            QTest::newRow(qPrintable(QStringLiteral("kind %1").arg(kind))) << kind << true;
    }
    void titlePlacement()
    {
        // The big kinds get a missing picture, the others keep theirs inside the centre
        // square, so white pixels in the top or bottom band are the title's.
        QFETCH(int, kind);
        QFETCH(bool, top);
        const bool big = top;
        const int w = big ? 300 : 192;
        const int h = big ? 160 : 192;
        ManagerItem item(kind, 0, QStringLiteral("WWWWWW"), QStringLiteral("photo_none"), false, kTile, w,
                         h);
        const QImage image = item.grab().toImage();
        const int inTop = pixelsOf(image, QRect(0, 0, w, 40), Qt::white);
        const int inBottom = pixelsOf(image, QRect(0, h - 31, w, 31), Qt::white);
        QCOMPARE(inTop > 0, top);
        QCOMPARE(inBottom > 0, !top);
    }

    void press_data()
    {
        QTest::addColumn<int>("button");
        QTest::addColumn<QPoint>("press");
        QTest::addColumn<QPoint>("drag");
        QTest::addColumn<QPoint>("release");
        QTest::addColumn<bool>("pressedColour");
        QTest::addColumn<bool>("emitted");
        QTest::newRow("click") << int(Qt::LeftButton) << QPoint(20, 20) << QPoint(30, 30) << QPoint(30, 30)
                               << true << true;
        QTest::newRow("dragged out") << int(Qt::LeftButton) << QPoint(20, 20) << QPoint(400, 30)
                                     << QPoint(400, 30) << true << false;
        QTest::newRow("dragged out and back")
            << int(Qt::LeftButton) << QPoint(20, 20) << QPoint(400, 30) << QPoint(30, 30) << true << false;
        QTest::newRow("right button")
            << int(Qt::RightButton) << QPoint(20, 20) << QPoint(30, 30) << QPoint(30, 30) << false << false;
    }
    void press()
    {
        QFETCH(int, button);
        QFETCH(QPoint, press);
        QFETCH(QPoint, drag);
        QFETCH(QPoint, release);
        QFETCH(bool, pressedColour);
        QFETCH(bool, emitted);
        ManagerItem item(2, 0, QStringLiteral("Room"), QStringLiteral("room_2"), false, kTile, 300, 160);
        QStringList order;
        connect(&item, &ManagerItem::signalsEdit, this,
                [&](int type, int id) { order << QStringLiteral("edit %1 %2").arg(type).arg(id); });
        connect(&item, &ManagerItem::signalsIconEdit, this,
                [&](const QString &name) { order << QStringLiteral("icon %1").arg(name); });
        QSignalSpy deleted(&item, &ManagerItem::signalsDelete);

        const auto b = Qt::MouseButton(button);
        QMouseEvent down(QEvent::MouseButtonPress, press, b, b, Qt::NoModifier);
        QApplication::sendEvent(&item, &down);
        QCOMPARE(item.getCurrentColor() == kPressed, pressedColour);
        QMouseEvent move(QEvent::MouseMove, drag, Qt::NoButton, b, Qt::NoModifier);
        QApplication::sendEvent(&item, &move);
        QMouseEvent up(QEvent::MouseButtonRelease, release, b, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(&item, &up);

        QCOMPARE(item.getCurrentColor(), kTile);
        QCOMPARE(item.isPressed(), false);
        if (emitted)
            QCOMPARE(order, QStringList({QStringLiteral("edit 2 0"), QStringLiteral("icon room_2")}));
        else
            QVERIFY(order.isEmpty());
        QCOMPARE(deleted.count(), 0);
    }

    void deleteButton_data()
    {
        QTest::addColumn<bool>("edit");
        QTest::newRow("edit") << true;
        QTest::newRow("view") << false;
    }
    void deleteButton()
    {
        QFETCH(bool, edit);
        ManagerItem item(5, 14, QStringLiteral("Lamp"), QStringLiteral("light_02_on"), edit, kTile, 192,
                         192);
        auto *remove = item.findChild<QAbstractButton *>(QStringLiteral("pushButtonDelete"));
        QCOMPARE(remove != nullptr, edit);
        if (!remove)
            return;
        QSignalSpy deleted(&item, &ManagerItem::signalsDelete);
        QSignalSpy edited(&item, &ManagerItem::signalsEdit);
        remove->click();
        QCOMPARE(deleted.count(), 1);
        QCOMPARE(deleted.at(0).at(0).toInt(), 5);
        QCOMPARE(deleted.at(0).at(1).toInt(), 14);
        QCOMPARE(edited.count(), 0);
    }

    void loadsTodaysOpenMessages()
    {
        clearMessages();
        const int a = addLog(1, 1, 0, 3, kRoom, QStringLiteral("alarm"));
        addLog(2, 0, 2, 3, kRoom, QStringLiteral("processing"));
        addLog(2, 0, 0, 3, kRoom + 1, QStringLiteral("other room"));
        addLog(2, 0, 0, 3, kRoom, QStringLiteral("yesterday"),
               QDate::currentDate().addDays(-1).toString(QStringLiteral("yyyy-MM-dd")));
        const int b = addLog(2, 0, 0, 4, kRoom, QStringLiteral("towels"));

        ManagerItem item(2, kRoom, QStringLiteral("Room"), QStringLiteral("room_1"), false, kTile, 300, 160);
        QVERIFY(item.carriesMessages());
        QCOMPARE(ids(item), QList<int>({a, b}));
        QCOMPARE(item.currentIndex(), -1);
        QVERIFY(item.isRotating());
        QCOMPARE(item.rotationInterval(), 3000);
        QCOMPARE(QString::fromUtf8(item.messageList().at(1).message_log_remark), QStringLiteral("towels"));

        // Shown in turn: nothing first, then 1, 2, 1, ...
        QList<int> shown;
        for (int i = 0; i < 4; ++i) {
            item.onPoll();
            shown << item.currentIndex();
        }
        QCOMPARE(shown, QList<int>({0, 1, 0, 1}));
    }

    void rotationTimerDrivesTheStrip()
    {
        clearMessages();
        addLog(1, 1, 0, 3, kRoom, QStringLiteral("alarm"));
        ManagerItem item(2, kRoom, QString(), QStringLiteral("room_1"), false, kTile, 300, 160);
        item.setRotationInterval(20);
        QTRY_COMPARE_WITH_TIMEOUT(item.currentIndex(), 0, 2000);
    }

    void tilesWithoutMessages_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("id");
        QTest::addColumn<bool>("edit");
        QTest::newRow("edit mode") << 2 << kRoom << true;
        QTest::newRow("room id 0") << 2 << 0 << false;
        QTest::newRow("template") << 1 << kRoom << false;
    }
    void tilesWithoutMessages()
    {
        QFETCH(int, kind);
        QFETCH(int, id);
        QFETCH(bool, edit);
        clearMessages();
        const int a = addLog(1, 1, 0, 3, kRoom, QStringLiteral("alarm"));
        ManagerItem item(kind, id, QString(), QStringLiteral("room_1"), edit, kTile, 300, 160);
        QVERIFY(!item.carriesMessages());
        QVERIFY(item.messageList().isEmpty());
        QVERIFY(!item.isRotating());
        emit gl_socket.signalsAppendMessage(announced(a, id, 0));
        QVERIFY(item.messageList().isEmpty());
        QCOMPARE(item.currentIndex(), -1);
    }

    void announcedMessageShowsAtOnce()
    {
        clearMessages();
        const int a = addLog(1, 1, 0, 3, kRoom, QStringLiteral("alarm"));
        const int b = addLog(2, 0, 0, 3, kRoom, QStringLiteral("towels"));
        ManagerItem item(2, kRoom, QString(), QStringLiteral("room_1"), false, kTile, 300, 160);
        item.onPoll();
        QCOMPARE(item.currentIndex(), 0);

        const int c = addLog(2, 0, 0, 3, kRoom, QStringLiteral("more towels"));
        emit gl_socket.signalsAppendMessage(announced(c, kRoom, 0));
        QCOMPARE(ids(item), QList<int>({a, b, c}));
        QCOMPARE(item.currentIndex(), 2);

        // Another room's message changes nothing.
        const int d = addLog(2, 0, 0, 3, kRoom + 1, QStringLiteral("elsewhere"));
        emit gl_socket.signalsAppendMessage(announced(d, kRoom + 1, 0));
        QCOMPARE(ids(item), QList<int>({a, b, c}));
    }

    void announcedAgainIsListedOnce()
    {
        clearMessages();
        const int a = addLog(1, 1, 0, 3, kRoom, QStringLiteral("alarm"));
        const int b = addLog(2, 0, 0, 3, kRoom, QStringLiteral("towels"));
        ManagerItem item(2, kRoom, QString(), QStringLiteral("room_1"), false, kTile, 300, 160);
        exec(QStringLiteral("update tbl_message_log set message_log_remark='fire!' where id=%1").arg(a));

        emit gl_socket.signalsAppendMessage(announced(a, kRoom, 0));
        emit gl_socket.signalsAppendMessage(announced(a, kRoom, 0));
        QCOMPARE(ids(item), QList<int>({a, b}));
        QCOMPARE(item.currentIndex(), 0);
        QCOMPARE(QString::fromUtf8(item.messageList().at(0).message_log_remark), QStringLiteral("fire!"));

        // Cancelled: gone, and nothing of it stays behind.
        emit gl_socket.signalsAppendMessage(announced(a, kRoom, 1));
        QCOMPARE(ids(item), QList<int>({b}));
    }

    void updates_data()
    {
        QTest::addColumn<int>("status");
        QTest::addColumn<bool>("kept");
        QTest::newRow("still open") << 0 << true;
        QTest::newRow("processing") << 2 << false;
        QTest::newRow("secured") << 4 << false;
    }
    void updates()
    {
        QFETCH(int, status);
        QFETCH(bool, kept);
        clearMessages();
        const int a = addLog(1, 1, 0, 3, kRoom, QStringLiteral("alarm"));
        const int b = addLog(2, 0, 0, 3, kRoom, QStringLiteral("towels"));
        ManagerItem item(2, kRoom, QString(), QStringLiteral("room_1"), false, kTile, 300, 160);
        messageRecord record = item.messageList().at(1);
        record.message_status = status;
        messageRecord::setText(record.message_log_remark, QStringLiteral("changed"));
        emit gl_socket.signalsUpdateMessage(record);
        if (kept) {
            QCOMPARE(ids(item), QList<int>({a, b}));
            QCOMPARE(QString::fromUtf8(item.messageList().at(1).message_log_remark),
                     QStringLiteral("changed"));
        } else {
            QCOMPARE(ids(item), QList<int>({a}));
        }
        // A record of another room or not listed changes nothing.
        record.id = 9999;
        record.message_status = 0;
        emit gl_socket.signalsUpdateMessage(record);
        QCOMPARE(item.messageList().size(), kept ? 2 : 1);
    }

    void removals_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("by"); // which value of the first record is passed
        QTest::addColumn<QList<int>>("keptPositions");
        QTest::newRow("row id") << 0 << "id" << QList<int>({1, 2});
        QTest::newRow("room") << 1 << "room" << QList<int>();
        QTest::newRow("panel") << 2 << "panel" << QList<int>({2});
        QTest::newRow("message") << 3 << "message" << QList<int>({1});
        QTest::newRow("unknown type is row id") << 7 << "id" << QList<int>({1, 2});
    }
    void removals()
    {
        QFETCH(int, type);
        QFETCH(QString, by);
        QFETCH(QList<int>, keptPositions);
        clearMessages();
        const QList<int> rows = {addLog(1, 1, 0, 3, kRoom, QStringLiteral("a")),
                                 addLog(2, 0, 0, 3, kRoom, QStringLiteral("b")),
                                 addLog(1, 1, 0, 4, kRoom, QStringLiteral("c"))};
        ManagerItem item(2, kRoom, QString(), QStringLiteral("room_1"), false, kTile, 300, 160);
        const messageRecord first = item.messageList().at(0);
        const int value = by == QLatin1String("id")      ? first.id
                          : by == QLatin1String("room")  ? first.room_id
                          : by == QLatin1String("panel") ? first.panel_id
                                                         : first.message_id;
        emit gl_socket.signalsRemoveMessage(value, type);
        QList<int> expected;
        for (int position : keptPositions)
            expected << rows.at(position);
        QCOMPARE(ids(item), expected);
    }

    void removingTheLastShownJumpsToTheFirst()
    {
        clearMessages();
        const int a = addLog(1, 1, 0, 3, kRoom, QStringLiteral("a"));
        addLog(2, 0, 0, 3, kRoom, QStringLiteral("b"));
        const int c = addLog(2, 0, 0, 3, kRoom, QStringLiteral("c"));
        ManagerItem item(2, kRoom, QString(), QStringLiteral("room_1"), false, kTile, 300, 160);
        for (int i = 0; i < 3; ++i)
            item.onPoll();
        QCOMPARE(item.currentIndex(), 2);
        emit gl_socket.signalsRemoveMessage(c, 0);
        QCOMPARE(item.currentIndex(), 0);
        QCOMPARE(item.messageList().at(0).id, a);

        emit gl_socket.signalsRemoveMessage(kRoom, 1);
        QVERIFY(item.messageList().isEmpty());
        item.onPoll();
        QCOMPARE(item.currentIndex(), -1);
    }

    void longRemarkIsCutAtACharacterBoundary()
    {
        clearMessages();
        const QString remark = QString(300, QChar(0x00E9)); // 600 bytes of two-byte characters
        addLog(1, 1, 0, 3, kRoom, remark);
        ManagerItem item(2, kRoom, QString(), QStringLiteral("room_1"), false, kTile, 300, 160);
        const QByteArray stored(item.messageList().at(0).message_log_remark);
        QCOMPARE(stored.size(), 254);
        QCOMPARE(QString::fromUtf8(stored), QString(127, QChar(0x00E9)));
    }

    void stripColours_data()
    {
        QTest::addColumn<int>("messageId");
        QTest::addColumn<int>("messageType");
        QTest::addColumn<QColor>("colour");
        QTest::newRow("alarm") << 1 << 1 << QColor(0xE3, 0x51, 0x51);
        QTest::newRow("service") << 2 << 0 << QColor(0xAB, 0xD2, 0x65);
    }
    void stripColours()
    {
        QFETCH(int, messageId);
        QFETCH(int, messageType);
        QFETCH(QColor, colour);
        clearMessages();
        addLog(messageId, messageType, 0, 3, kRoom, QStringLiteral("x"));
        ManagerItem item(2, kRoom, QStringLiteral("Room"), QStringLiteral("photo_none"), false, kTile, 300,
                         160);
        const QRect band(50, 129, 250, 30);
        const QImage before = item.grab().toImage();
        QCOMPARE(pixelsOf(before, band, colour), 0);
        item.onPoll();
        const QImage after = item.grab().toImage();
        QVERIFY(pixelsOf(after, band, colour) > 0);
        // The message picture goes into the square at the left of the strip; a built-in
        // picture past the share of decoding of one turn of the event loop comes later.
        QTRY_VERIFY(item.grab().toImage().copy(10, 129, 30, 30) != before.copy(10, 129, 30, 30));
    }

    void stripWithoutDefinitionShowsNothing()
    {
        clearMessages();
        addLog(77, 1, 0, 3, kRoom, QStringLiteral("x"));
        ManagerItem item(2, kRoom, QStringLiteral("Room"), QStringLiteral("photo_none"), false, kTile, 300,
                         160);
        const QImage before = item.grab().toImage();
        item.onPoll();
        QCOMPARE(item.currentIndex(), 0);
        QCOMPARE(item.grab().toImage(), before);
    }
};

VARNO_TEST_MAIN(TestManagerItem)
#include "tst_manageritem.moc"
