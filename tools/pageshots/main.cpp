// Writes a 1920 x 1080 picture of every page the page factory makes, of each tab
// of "Operate Room", and of the dialogs the pages open (each centred on the page
// colour), into the folder given as the first argument (default: "pageshots").
// The project is a temporary one filled with a few rooms, devices and messages.
// No socket is opened: the device cards' queries go nowhere.
//
//   pageshots [folder]

#include "app/pagefactory.h"
#include "bus/broadcastsocket.h"
#include "operation/colorselectdlg.h"
#include "operation/light.h"
#include "operation/modespeedselectdlg.h"
#include "operation/pageroomoperate.h"
#include "records/alarmdlg.h"
#include "records/messagedlg.h"
#include "roomproject.h"
#include "shell/manageritem.h"
#include "shell/mydialog.h"
#include "shell/networkstyledlg.h"
#include "store/cppsqlite3db.h"
#include "store/globals.h"
#include "store/projectlist.h"
#include "store/records.h"

#include <QApplication>
#include <QDate>
#include <QDir>
#include <QEventLoop>
#include <QPainter>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>
#include <qtmaterialtabs.h>

#include <memory>

namespace {

constexpr int Width = 1920;
constexpr int Height = 1080;
const QColor kPage(0x26, 0x34, 0x40);

QTextStream out(stdout);

// Lets timers (first display, layouts, fades) run for ms milliseconds.
void settle(int ms = 300)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

QString fileName(const QString &name)
{
    QString file = name.toLower();
    file.replace(QLatin1Char(' '), QLatin1Char('_'));
    return file + QStringLiteral(".png");
}

void save(const QImage &image, const QDir &folder, const QString &name)
{
    const QString path = folder.filePath(fileName(name));
    out << (image.save(path) ? "wrote " : "FAILED ") << path << '\n';
    out.flush();
}

// A dialog, as drawn, in the middle of a page-coloured picture.
void saveDialog(QWidget &dialog, const QDir &folder, const QString &name)
{
    dialog.show();
    settle();
    QImage canvas(Width, Height, QImage::Format_RGB32);
    canvas.fill(kPage);
    const QImage drawn = dialog.grab().toImage();
    QPainter painter(&canvas);
    painter.drawImage((Width - drawn.width()) / 2, (Height - drawn.height()) / 2, drawn);
    painter.end();
    save(canvas, folder, name);
    dialog.hide();
}

// The project: two regions, four rooms, lights of every type, climate units, an
// occupation sensor and a master switch, panels, today's open messages and
// yesterday's log.
void fillProject()
{
    using namespace roomproject;
    addRegion(1, QStringLiteral("North"));
    addRegion(2, QStringLiteral("South"));
    addFloor(1, 1, QStringLiteral("Ground"));
    addFloor(2, 2, QStringLiteral("Top"));
    addRoom(1, QStringLiteral("Hall"), 1, 1, QStringLiteral("room_1"));
    addRoom(2, QStringLiteral("Bob's room"), 1, 1, QStringLiteral("room_8"));
    addRoom(3, QStringLiteral("Conference hall with a long name"), 2, 2, QStringLiteral("room_15"));
    addRoom(4, QStringLiteral("Kitchen"), 2, 2, QStringLiteral("room_22"));
    const struct
    {
        int type;
        const char *name;
        int brightness;
    } lights[] = {{LightOnOff, "Ceiling", 100},
                  {LightAdjust, "Reading lamp", 65},
                  {LightHSB, "Colour strip", 80 * 65536 + 40 * 256 + 200},
                  {LightScene, "Evening scene", 0},
                  {LightDaliDT8, "Desk light with a rather long name", 70 * 256 + 40},
                  {LightAdjust, "Hall lamp", 0}};
    int id = 1;
    for (const auto &l : lights) {
        Light row;
        row.room = 1;
        row.lightId = id;
        row.type = l.type;
        row.name = QString::fromLatin1(l.name);
        row.device = quint8(20 + id);
        row.channel = 1;
        row.brightness = l.brightness;
        addLight(row);
        ++id;
    }
    for (int k = 0; k < 3; ++k) {
        Light set;
        set.room = 2;
        set.lightId = 1;
        set.type = LightRGB;
        set.name = QStringLiteral("Mood light");
        set.device = 40;
        set.channel = k + 1;
        set.rgb = k + 1;
        set.brightness = 30 * (k + 1);
        addLight(set);
    }
    Unit ac;
    ac.room = 1;
    ac.name = QStringLiteral("Hall AC");
    addUnit(ac);
    Unit floor;
    floor.room = 1;
    floor.no = 2;
    floor.name = QStringLiteral("Hall floor");
    addUnit(floor);
    addRoomDevice(QStringLiteral("tbl_occupation"), 1, 1, 30, 1, 2);
    addRoomDevice(QStringLiteral("tbl_master"), 1, 1, 31, 1, 1);
    addPanel(1, 1, 1, 50);
    addPanel(2, 2, 1, 51);
    addMessage(1, 1, QStringLiteral("Emergency call"), 11);
    addMessage(2, 0, QStringLiteral("Please clean the room"), 12);
    const QString today = QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd"));
    exec(QStringLiteral("insert into tbl_message_log(message_id,message_type,message_status,panel_id,"
                        "room_id,message_log_remark,recv_time) values(1,1,0,1,1,'','%1 09:00:00')")
             .arg(today));
    exec(QStringLiteral("insert into tbl_message_log(message_id,message_type,message_status,panel_id,"
                        "room_id,message_log_remark,recv_time) values(2,0,0,2,2,'','%1 09:05:00')")
             .arg(today));
    const QString yesterday = QDate::currentDate().addDays(-1).toString(QStringLiteral("yyyy-MM-dd"));
    exec(QStringLiteral("insert into tbl_log(log_type,log_address,log_device,log_event,log_time) values"
                        "(0,'North-Ground-Hall','light_Ceiling','ON','%1 08:00:00'),"
                        "(1,'North-Ground-Hall','ac_Hall AC','offline','%1 08:30:00'),"
                        "(0,'North-Ground-Bob''s room','light_Mood light','brightness 60','%1 09:10:00')")
             .arg(yesterday));
}

messageRecord messageRow(int id)
{
    QSqlQuery query =
        gl_sqlite3db.execQuery(QStringLiteral("select * from tbl_message_log where id=%1").arg(id));
    messageRecord record;
    if (query.next())
        record = messageRecord::fromRow(query);
    return record;
}

void pages(const QDir &folder)
{
    for (const QString &id : pageIds()) {
        std::unique_ptr<MyDialog> page(createPage(id, id));
        if (!page)
            continue;
        page->resize(Width, Height);
        page->show();
        const bool room = id == QLatin1String("Operate Room");
        emit gl_socket.signalsPageEnter(room ? QStringLiteral("1") : QString(),
                                        room ? QStringLiteral("1") : QString());
        settle();
        // The room tiles show their first open message at once, not after 3000 ms.
        for (ManagerItem *tile : page->findChildren<ManagerItem *>())
            tile->onPoll();
        settle(50);
        if (auto *operate = qobject_cast<PageRoomOperate *>(page.get())) {
            for (int i = 0; i < operate->tabBar()->count(); ++i) {
                operate->tabBar()->setCurrentIndex(i);
                settle();
                save(page->grab().toImage(), folder, id + QStringLiteral(" tab %1").arg(i));
            }
        } else {
            save(page->grab().toImage(), folder, id);
        }
        emit gl_socket.signalsStopRefresh(false);
        page->hide();
    }
}

void dialogs(const QDir &folder)
{
    AlarmDlg alarm;
    alarm.append(messageRow(1));
    alarm.append(messageRow(2));
    alarm.resize(800, 600);
    saveDialog(alarm, folder, QStringLiteral("Dialog Alarm"));

    MessageDlg message;
    message.setMessageRecord(messageRow(2));
    message.initDlgCtrl();
    message.resize(800, 600);
    saveDialog(message, folder, QStringLiteral("Dialog Message"));

    light rgb;
    rgb.light_type = LightRGB;
    for (int k = 0; k < 3; ++k)
        rgb.brightness[k] = 30 * (k + 1);
    ColorSelectDlg colour(rgb, nullptr);
    saveDialog(colour, folder, QStringLiteral("Dialog Colour"));

    ModeSpeedSelectDlg modes;
    modes.kind = 0;
    modes.initDlgCtrl();
    saveDialog(modes, folder, QStringLiteral("Dialog Mode"));

    NetworkStyleDlg network;
    network.netStyle = NetStyleCloudServer;
    network.initDlgCtrl();
    saveDialog(network, folder, QStringLiteral("Dialog Network Style"));
}

} // namespace

int main(int argc, char *argv[])
{
    QTemporaryDir home;
    qputenv("HOME", home.path().toUtf8());
    qputenv("XDG_CONFIG_HOME", (home.path() + QStringLiteral("/config")).toUtf8());
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    registerVarnoMetaTypes();
    const QDir folder(app.arguments().value(1, QStringLiteral("pageshots")));
    if (!QDir().mkpath(folder.path())) {
        out << "cannot make " << folder.path() << '\n';
        return 1;
    }

    QTemporaryDir application;
    gl_curPath = application.path();
    screen_cx = Width;
    screen_cy = Height;
    gl_socket.setId(1, 254);
    preInitProject();
    fillProject();

    pages(folder);
    dialogs(folder);
    gl_sqlite3db.close();
    return 0;
}
