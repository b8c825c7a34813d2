// The user's own pictures, phone-photo sized, on the pages that draw or write them,
// each figure beside the same one with built-in pictures in the same run. Photos are
// made here: gradients with noise on every pixel, so a 4000 x 3000 PNG is about 12 MB
// as a real photo's is. A hold is the longest gap between the ticks of a 5 ms timer on
// the window's thread, less 5 ms; CPU is the whole process's (workers too).
// 1. Home page, 100 rooms with photos, left alone: % of a core, longest hold.
// 2. "Lighting", 100 rooms x 10 lights with photos: build and show; longest hold while
//    scrolled top to bottom; resident memory afterwards.
// 3. A room's 3-D page on a photo, a light's card shown, its dimmer focused and moved,
//    then left alone: % of a core, longest hold.
// 4. "Add From Gallery" in the room editor with 4000 x 3000 and 8000 x 6000 JPEGs
//    (beside a 640 x 480 one): longest hold, time until the tile is named after it.
// 5. Rooms added at once from a template with a photo: time, longest hold.
// 6. "Moods", 100 rooms with 200 moods, all with photos: time from the entry until
//    every picture on screen is drawn, then the same for "Rooms" entered next.
// 7. Home after a project switch made while the old project's tiles were still
//    coming (both projects with photo rooms): time until the new tiles are drawn.
// 8. Home again after "Lighting" (100 photo rooms, scrolled to its end): time until
//    its tiles are drawn, and the photos decoded again for them.
// 9. Built-in pictures, decoded on the window's thread: how long they hold it on each
//    page (the screen drawn with no copy kept, less drawn with them kept).
//
//   bench_pictures [home s] [3-D s] [rooms added] [scroll px per 20 ms] [rows]
//   (default 30 10 99 100 123456789; rows: which of the nine run)

#include "modalanswer.h"
#include "roomproject.h"

#include "bus/broadcastsocket.h"
#include "commissioning/commissioningrules.h"
#include "commissioning/pagesettingroommanageredit.h"
#include "commissioning/roomadder.h"
#include "moods/mooditem.h"
#include "moods/pagedeviceoperatemoods.h"
#include "operation/lightitem.h"
#include "operation/lightsliderctrl.h"
#include "operation/pagedeviceoperatelighting.h"
#include "operation/pagerooms.h"
#include "operation/roomitem.h"
#include "shell/filedialogs.h"
#include "shell/iconstyledlg.h"
#include "shell/manageritem.h"
#include "shell/pagehome.h"
#include "settings/projectswitch.h"
#include "store/globals.h"
#include "store/projectlist.h"
#include "store/startupconfig.h"
#include "view3d/light3dviewitem.h"
#include "view3d/pageroomoperate3dview.h"
#include "view3d/pageroomoperate3dviewlighting.h"
#if __has_include("shell/pictures.h")
#include "shell/pictures.h"
#include "shell/projectpicture.h"
#define HAVE_PICTURE_SERVICE 1
#endif

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QImage>
#include <QMouseEvent>
#include <QScrollBar>
#include <QSet>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>
#include <QUdpSocket>
#include <qtmaterialcanvas.h>
#include <qtmaterialslider.h>

#include <functional>
#include <sys/resource.h>
#include <unistd.h>

namespace {

QTextStream out(stdout);
QString g_project; // the current project's folder
QString g_sources; // pictures that are not the project's

double cpuSeconds()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
           double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

double residentMiB()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    const QList<QByteArray> fields =
        statm.open(QIODevice::ReadOnly) ? statm.readAll().split(' ') : QList<QByteArray>();
    return fields.size() > 1 ? fields.at(1).toDouble() * double(sysconf(_SC_PAGESIZE)) / 1048576.0 : 0;
}

// Pictures being decoded or written by workers now, and decodes started so far;
// none where pictures are decoded and written where they are drawn and chosen.
struct Workers
{
#ifdef HAVE_PICTURE_SERVICE
    static int busy() { return Pictures::instance().pending() + PictureWriter::running(); }
    static int decodes() { return Pictures::instance().decodesStarted(); }
#else
    static int busy() { return 0; }
    static int decodes() { return 0; }
#endif
    static bool idle() { return busy() == 0; }
};

void runFor(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// Runs the event loop until done() or timeoutMs; whether done() came true.
bool waitFor(const std::function<bool()> &done, int timeoutMs = 120000)
{
    QElapsedTimer t;
    t.start();
    while (!done()) {
        if (t.elapsed() > timeoutMs)
            return false;
        runFor(5);
    }
    return true;
}

// A 5 ms timer on the window's thread: the longest gap between its ticks, and the
// CPU time per wall second, since it was made.
class Probe
{
public:
    Probe()
    {
        timer.setTimerType(Qt::PreciseTimer);
        QObject::connect(&timer, &QTimer::timeout, [this] { holdMs(); });
        clock.start();
        timer.start(5);
    }
    double holdMs()
    {
        const qint64 now = clock.nsecsElapsed();
        worst = std::max(worst, now - last);
        last = now;
        return std::max(0.0, double(worst) / 1e6 - 5.0);
    }
    double corePercent() const
    {
        return 100.0 * (cpuSeconds() - cpu0) / (double(clock.nsecsElapsed()) / 1e9);
    }

private:
    QTimer timer;
    QElapsedTimer clock;
    qint64 last = 0;
    qint64 worst = 0;
    const double cpu0 = cpuSeconds();
};

// Gradients with noise on every pixel: compresses as badly as a photo does.
QImage photo(int w, int h, quint32 seed)
{
    QImage image(w, h, QImage::Format_RGB32);
    quint32 s = seed * 2654435761u + 1;
    for (int y = 0; y < h; ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < w; ++x) {
            s ^= s << 13;
            s ^= s >> 17;
            s ^= s << 5;
            const int n = int(s % 5) - 2;
            line[x] = qRgb(qBound(0, 40 + 150 * x / w + n, 255), qBound(0, 60 + 120 * y / h + n, 255),
                           qBound(0, 150 - 100 * (x + y) / (w + h) + int((s >> 8) % 7) - 3, 255));
        }
    }
    return image;
}

// Puts the photo into the project's folder as "<name>.png": a link of its own (a
// path, size and time of its own), or a copy.
void placePhoto(const QString &name)
{
    const QString source = g_sources + QStringLiteral("/photo.png");
    const QString target = g_project + QLatin1Char('/') + name + QStringLiteral(".png");
    QFile::remove(target);
    if (::link(QFile::encodeName(source).constData(), QFile::encodeName(target).constData()) != 0)
        QFile::copy(source, target);
}

QString figure(double value, const char *unit, double baseline)
{
    return QStringLiteral("%1 %2 (built-in %3)")
        .arg(value, 0, 'f', 1)
        .arg(QLatin1String(unit))
        .arg(baseline, 0, 'f', 1);
}

void fillRooms(int rooms, int lights)
{
    for (const char *table : {"tbl_room", "tbl_light", "tbl_region", "tbl_floor", "tbl_3d_view_manager",
                              "tbl_3d_view_light", "tbl_panel"})
        roomproject::exec(QStringLiteral("delete from %1").arg(QLatin1String(table)));
    roomproject::exec(QStringLiteral("begin"));
    roomproject::addRegion(1, QStringLiteral("North"));
    roomproject::addFloor(1, 1, QStringLiteral("Ground"));
    for (int room = 1; room <= rooms; ++room) {
        roomproject::addRoom(room, QStringLiteral("Room %1").arg(room), 1, 1);
        for (int c = 1; c <= lights; ++c) {
            roomproject::Light l;
            l.room = room;
            l.lightId = (room - 1) * lights + c;
            l.device = room; // a module that takes every frame and never answers
            l.channel = c;
            roomproject::addLight(l);
        }
    }
    roomproject::exec(QStringLiteral("commit"));
}

void roomPictures(bool photos)
{
    roomproject::exec(photos ? QStringLiteral("update tbl_room set icon_name='photo_Room_'||room_id")
                             : QStringLiteral("update tbl_room set icon_name='room_'||(1+room_id%52)"));
}

// Shows page, enters it as the navigation does, and lets its pictures arrive.
void enter(QWidget &page, int height, const QString &prm1 = QString(), const QString &prm2 = QString())
{
    page.resize(1920, height);
    page.show();
    emit gl_socket.signalsStopRefresh(false);
    emit gl_socket.signalsPageEnter(prm1, prm2);
    runFor(300);
    waitFor(Workers::idle);
    runFor(300);
}

struct Figures
{
    double core = 0, hold = 0, build = 0, drawn = 0, rss = 0;
    int decodes = 0;
};

void homeRow(int seconds)
{
    fillRooms(100, 0);
    Figures f[2];
    for (const bool photos : {false, true}) {
        roomPictures(photos);
        PageHome page(QStringLiteral("Home"), QStringLiteral("Home"));
        enter(page, 1080);
        Probe probe;
        runFor(seconds * 1000);
        f[photos] = {probe.corePercent(), probe.holdMs()};
    }
    out << QStringLiteral("1 home, 100 rooms, %1 s alone: %2, longest hold %3\n")
               .arg(seconds)
               .arg(figure(f[1].core, "% of a core", f[0].core), figure(f[1].hold, "ms", f[0].hold));
}

void lightingRow(int step)
{
    fillRooms(100, 10);
    Figures f[2];
    for (const bool photos : {false, true}) {
        roomPictures(photos);
        Figures &r = f[photos];
        r.decodes = Workers::decodes();
        PageDeviceOperateLighting page(QStringLiteral("Lighting"), QStringLiteral("Lighting"));
        page.resize(1920, 1080);
        QElapsedTimer t;
        t.start();
        page.show();
        emit gl_socket.signalsStopRefresh(false);
        emit gl_socket.signalsPageEnter(QString(), QString());
        QCoreApplication::processEvents();
        page.repaint();
        r.build = double(t.nsecsElapsed()) / 1e6;
        waitFor(Workers::idle);
        r.drawn = double(t.nsecsElapsed()) / 1e6;
        runFor(300);

        QScrollBar *bar = page.findChild<QtMaterialCanvas *>()->verticalScrollBar();
        Probe probe;
        QEventLoop loop;
        QTimer ticker;
        ticker.setTimerType(Qt::PreciseTimer);
        QObject::connect(&ticker, &QTimer::timeout, [&] {
            if (bar->value() >= bar->maximum())
                loop.quit();
            bar->setValue(bar->value() + step);
        });
        ticker.start(20);
        loop.exec();
        runFor(200);
        r.hold = probe.holdMs();
        waitFor(Workers::idle);
        runFor(200);
        r.rss = residentMiB();
        r.decodes = Workers::decodes() - r.decodes;
        emit gl_socket.signalsStopRefresh(false);
    }
    out << QStringLiteral("2 Lighting, 100 rooms x 10 lights: build and show %1 (%2x), every picture drawn "
                          "after %3 ms\n  scrolled by %4 px per 20 ms: longest hold %5; resident %6 "
                          "(+%7 MiB); %8 photos decoded by workers\n")
               .arg(figure(f[1].build, "ms", f[0].build))
               .arg(f[1].build / std::max(0.001, f[0].build), 0, 'f', 2)
               .arg(f[1].drawn, 0, 'f', 0)
               .arg(step)
               .arg(figure(f[1].hold, "ms", f[0].hold), figure(f[1].rss, "MiB", f[0].rss))
               .arg(f[1].rss - f[0].rss, 0, 'f', 0)
               .arg(f[1].decodes);
}

void room3DRow(int seconds)
{
    Figures f[2];
    for (const bool photos : {false, true}) {
        roomproject::exec(
            QStringLiteral("update tbl_3d_view_manager set icon_name='%1'")
                .arg(photos ? QStringLiteral("photo_3dView_1") : QStringLiteral("3d_view_01")));
        PageRoomOperate3DView page(QStringLiteral("Operate Room 3D View"), QStringLiteral("Room 1"));
        enter(page, 980, QStringLiteral("1"));
        // A press on the light's icon shows its card; its dimmer takes the focus.
        Light3DViewItem *overlay = page.lightingTab()->overlay();
        const QPoint at = overlay->count() > 0 ? overlay->position(0) + QPoint(40, 40) : QPoint();
        QMouseEvent press(QEvent::MouseButtonPress, at, overlay->mapToGlobal(at), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(overlay, &press);
        LightItem *card = overlay->count() > 0 ? overlay->lightCard(0) : nullptr;
        if (!card || !card->isVisible() || !card->brightnessSlider()) {
            out << "3 (no light card shown)\n";
            return;
        }
        QAbstractSlider *slider = card->brightnessSlider()->slider();
        QApplication::setActiveWindow(&page);
        slider->setFocus();
        Probe probe;
        for (int i = 1; i <= 10; ++i) {
            slider->setValue(i * 9);
            runFor(100);
        }
        runFor(std::max(0, seconds * 1000 - 1000));
        f[photos] = {probe.corePercent(), probe.holdMs()};
        emit gl_socket.signalsStopRefresh(false);
    }
    out << QStringLiteral(
               "3 room 3-D page, card shown, dimmer focused and moved, %1 s: %2, longest hold %3\n")
               .arg(seconds)
               .arg(figure(f[1].core, "% of a core", f[0].core), figure(f[1].hold, "ms", f[0].hold));
}

// Chooses file from the gallery for the editor's room; longest hold, ms until the
// tile is named after the room's photo, ms until every worker is done.
Figures gallery(PageSettingRoomManagerEdit &editor, const QString &file)
{
    editor.pictureTile()->setIconName(QStringLiteral("room_7"));
    runFor(300);
    answerFileDialogsWith([file](FileDialogKind, const QString &, const QString &) { return file; });
    Figures r;
    r.build = -1;
    QElapsedTimer t;
    Probe probe;
    t.start();
    QTimer::singleShot(0, [&editor] {
        varnotest::answerModal<IconStyleDlg>([](IconStyleDlg *d) { d->slotsIconStyleChanged(1); });
        editor.labelModifyRoomIcon_pressed();
    });
    if (waitFor([&] { return editor.pictureTile()->getIconName() == QLatin1String("photo_Room_1"); }))
        r.build = double(t.nsecsElapsed()) / 1e6;
    waitFor(Workers::idle);
    runFor(100);
    r.drawn = double(t.nsecsElapsed()) / 1e6;
    runFor(1000);
    r.hold = probe.holdMs();
    answerFileDialogsWith({});
    return r;
}

void galleryRow()
{
    PageSettingRoomManagerEdit editor(QStringLiteral("Edit Room"), QStringLiteral("Edit Room"));
    enter(editor, 1080, QStringLiteral("1"), QStringLiteral("1"));
    out << "4 Add From Gallery (640 x 480 the baseline):\n";
    for (const QSize size : {QSize(640, 480), QSize(4000, 3000), QSize(8000, 6000)}) {
        const QString file = g_sources + QStringLiteral("/gallery_%1.jpg").arg(size.width());
        photo(size.width(), size.height(), size.width()).save(file, "JPG", 90);
        const Figures r = gallery(editor, file);
        out << QStringLiteral("  %1 x %2 JPEG (%3 MB): longest hold %4 ms, named after %5 ms, workers done "
                              "after %6 ms\n")
                   .arg(size.width())
                   .arg(size.height())
                   .arg(double(QFile(file).size()) / 1e6, 0, 'f', 1)
                   .arg(r.hold, 0, 'f', 1)
                   .arg(r.build, 0, 'f', 0)
                   .arg(r.drawn, 0, 'f', 0);
        out.flush();
    }
    emit gl_socket.signalsPageLeave(QStringLiteral("Edit Room"));
}

void addRow(int rooms)
{
    roomproject::addTemplate(1, QStringLiteral("Suite"));
    for (int i = 1; i <= 10; ++i)
        roomproject::addTemplateLight(1, i, i <= 3 ? 2 : 1, QStringLiteral("Light %1").arg(i));
    for (int i = 1; i <= 4; ++i)
        roomproject::addTemplatePanel(1, i, QStringLiteral("Panel %1").arg(i));
    placePhoto(QStringLiteral("photo_Template_1"));
    QStringList names;
    for (int i = 0; i < rooms; ++i)
        names.append(bulkRoomName(QStringLiteral("Room"), i, rooms));
    // Built-in pictures, a photo the rooms link to, and a photo on a file system
    // that makes no links (each room a copy of its bytes).
    Figures f[3];
    bool ok = true;
    for (int run = 0; run < 3; ++run) {
        fillRooms(0, 0);
        roomproject::exec(QStringLiteral("update tbl_room_template set room_template_icon_name='%1'")
                              .arg(run > 0 ? QStringLiteral("photo_Template_1") : QStringLiteral("room_1")));
        RoomAdder::setLinkCall(run == 2 ? +[](const char *, const char *) { return -1; } : nullptr);
        RoomAdder adder(1);
        Probe probe;
        QElapsedTimer t;
        // Added from the event loop, as a press would, so the probe sees the hold.
        QTimer::singleShot(10, [&] {
            t.start();
            ok = adder.add(QStringLiteral("North"), QStringLiteral("Ground"), names) && ok;
            f[run].build = double(t.nsecsElapsed()) / 1e6;
        });
        waitFor([&] { return f[run].build > 0; });
        runFor(50);
        f[run].hold = probe.holdMs();
        ok = ok && adder.addedRooms().size() == rooms && !adder.pictureFallback();
    }
    RoomAdder::setLinkCall(nullptr);
    out << QStringLiteral("5 %1 rooms added from a template with a photo: %2, longest hold %3; links refused "
                          "(copies): %4 ms, longest hold %5 ms%6\n")
               .arg(rooms)
               .arg(figure(f[1].build, "ms", f[0].build), figure(f[1].hold, "ms", f[0].hold))
               .arg(f[2].build, 0, 'f', 1)
               .arg(f[2].hold, 0, 'f', 1)
               .arg(ok ? QString() : QStringLiteral(" (an add failed)"));
}

// The picture a tile or block of these pages draws over its whole rectangle.
QString drawnPicture(QWidget *w)
{
    if (auto *tile = qobject_cast<ManagerItem *>(w))
        return ManagerItem::picturePath(tile->getType(), tile->getIconName());
    if (auto *block = qobject_cast<RoomItem *>(w))
        return block->picturePath();
    if (auto *mood = qobject_cast<MoodItem *>(w))
        return mood->picturePath();
    return QString();
}

// Tiles and blocks of page with a picture that are on screen now (some of their
// pixels unobscured within every scroll area around them).
QList<QWidget *> onScreen(QWidget &page)
{
    QList<QWidget *> shown;
    for (QWidget *w : page.findChildren<QWidget *>()) {
        if (w->isVisible() && !w->visibleRegion().isEmpty() && !drawnPicture(w).isEmpty())
            shown.append(w);
    }
    return shown;
}

// Whether every picture on screen in page is there to be drawn. Asked as their
// paints ask, so it starts nothing they would not start themselves.
bool drawnOnScreen(QWidget &page, int *count = nullptr)
{
    const QList<QWidget *> shown = onScreen(page);
    if (count)
        *count = shown.size();
    if (shown.isEmpty())
        return false;
    for (QWidget *w : shown) {
#ifdef HAVE_PICTURE_SERVICE
        if (Pictures::instance().picture(drawnPicture(w), w->size(), w).isNull())
            return false;
#endif
    }
    return true;
}

// Shows page, enters it, and answers the ms until every picture on screen is drawn
// (-1: not within two minutes), and the pictures on screen then (shown).
double enterUntilDrawn(QWidget &page, int &shown, const QString &prm1 = QString())
{
    QElapsedTimer t;
    t.start();
    page.resize(1920, 1080);
    page.show();
    emit gl_socket.signalsStopRefresh(false);
    emit gl_socket.signalsPageEnter(prm1, QString());
    runFor(1);
    const bool drawn = waitFor([&] { return drawnOnScreen(page, &shown); });
    return drawn ? double(t.nsecsElapsed()) / 1e6 : -1;
}

void moodPictures(bool photos)
{
    roomproject::exec(QStringLiteral("update tbl_mood set mood_icon_name=%1")
                          .arg(photos ? QStringLiteral("'photo_Mood_'||mood_id")
                                      : QStringLiteral("'moods_'||(1+mood_id%23)")));
}

// Decoding the photo for one drawn size alone, on this thread: ms.
double decodeMs(const QSize &size)
{
    QElapsedTimer t;
    t.start();
    readPicture(g_sources + QStringLiteral("/photo.png"), size);
    return double(t.nsecsElapsed()) / 1e6;
}

// Two moods in each of the 100 rooms, each with a photo of its own.
void fillMoods()
{
    roomproject::exec(QStringLiteral("delete from tbl_mood"));
    roomproject::exec(QStringLiteral("begin"));
    for (int m = 1; m <= 200; ++m) {
        roomproject::exec(QStringLiteral("insert into tbl_mood(mood_id,mood_name,mood_icon_name,light_bool,"
                                         "room_id) values(%1,'Mood %1','moods_1',0,%2)")
                              .arg(m)
                              .arg((m + 1) / 2));
        placePhoto(QStringLiteral("photo_Mood_%1").arg(m));
    }
    roomproject::exec(QStringLiteral("commit"));
}

void moodsRow()
{
    fillRooms(100, 0);
    fillMoods();
    double moods[2] = {}, rooms[2] = {};
    int shownMoods = 0, shownRooms = 0, decodes = 0;
    QSize block, tile;
    for (const bool photos : {false, true}) {
        roomPictures(photos);
        moodPictures(photos);
        Pictures::instance().clear();
        const int before = Workers::decodes();
        PageDeviceOperateMoods page(QStringLiteral("Moods"), QStringLiteral("Moods"));
        moods[photos] = enterUntilDrawn(page, shownMoods);
        for (QWidget *w : onScreen(page))
            (qobject_cast<RoomItem *>(w) ? block : tile) = w->size();
        page.hide();
        emit gl_socket.signalsStopRefresh(false);
        PageRooms next(QStringLiteral("Rooms"), QStringLiteral("Rooms"));
        rooms[photos] = enterUntilDrawn(next, shownRooms);
        decodes = Workers::decodes() - before;
        next.hide();
        emit gl_socket.signalsStopRefresh(false);
        waitFor(Workers::idle);
    }
    out << QStringLiteral("6 Moods, 100 photo rooms with 200 photo moods: every picture on screen (%1) "
                          "drawn after %2\n  Rooms entered next: every tile on screen (%3) drawn after "
                          "%4; %5 decodes started until then\n  one decode alone: block %6x%7 %8 ms, "
                          "mood tile %9x%10 %11 ms\n")
               .arg(shownMoods)
               .arg(figure(moods[1], "ms", moods[0]))
               .arg(shownRooms)
               .arg(figure(rooms[1], "ms", rooms[0]))
               .arg(decodes)
               .arg(block.width())
               .arg(block.height())
               .arg(decodeMs(block), 0, 'f', 0)
               .arg(tile.width())
               .arg(tile.height())
               .arg(decodeMs(tile), 0, 'f', 0);
}

// Project "Second" beside the first, 100 photo rooms in each; the first is current.
void secondProject(QString &first)
{
    getCurrentProject(first);
    const QString firstFolder = g_project;
    // A new project's database is made after a notice.
    varnotest::answerModal<QDialog>([](QDialog *notice) { notice->accept(); });
    if (!switchProjectDatabase(QStringLiteral("Second")))
        return;
    g_project = projectFolder(QStringLiteral("Second"));
    fillRooms(100, 0);
    for (int room = 1; room <= 100; ++room)
        placePhoto(QStringLiteral("photo_Room_%1").arg(room));
    switchProjectDatabase(first);
    g_project = firstFolder;
}

void switchTo(const QString &name)
{
    switchProjectDatabase(name);
    emit gl_socket.signalsProjectStateChanged(name);
}

void switchRow()
{
    QString first;
    secondProject(first);
    fillRooms(100, 0);
    double f[2] = {};
    int shown = 0, left = 0;
    for (const bool photos : {false, true}) {
        for (const QString &name : {QStringLiteral("Second"), first}) {
            switchTo(name);
            roomPictures(photos);
        }
        Pictures::instance().clear();
        PageHome page(QStringLiteral("Home"), QStringLiteral("Home"));
        page.resize(1920, 1080);
        page.show();
        emit gl_socket.signalsPageEnter(QString(), QString());
        runFor(100); // the first project's tiles are drawn and ask for their photos;
        switchTo(QStringLiteral("Second")); // the switch comes while they are decoded
        left = Workers::busy();
        QElapsedTimer t;
        t.start();
        const bool drawn = waitFor([&] { return drawnOnScreen(page, &shown); });
        f[photos] = drawn ? double(t.nsecsElapsed()) / 1e6 : -1;
        page.hide();
        waitFor(Workers::idle);
        switchTo(first);
    }
    out << QStringLiteral("7 Home after a project switch, 100 photo rooms in both: the new tiles on screen "
                          "(%1) drawn after %2 (%3 pictures of the old project waiting or being decoded "
                          "at the switch)\n")
               .arg(shown)
               .arg(figure(f[1], "ms", f[0]))
               .arg(left);
}

void returnRow()
{
    fillRooms(100, 10);
    double f[2] = {};
    int shown = 0, decodes = 0;
    for (const bool photos : {false, true}) {
        roomPictures(photos);
        Pictures::instance().clear();
        PageHome home(QStringLiteral("Home"), QStringLiteral("Home"));
        int s = 0;
        enterUntilDrawn(home, s);
        home.hide();
        {
            PageDeviceOperateLighting lighting(QStringLiteral("Lighting"), QStringLiteral("Lighting"));
            enterUntilDrawn(lighting, s);
            // Scrolled to the end a screen at a time, each screen's blocks drawn.
            QScrollBar *bar = lighting.findChild<QtMaterialCanvas *>()->verticalScrollBar();
            while (bar->value() < bar->maximum()) {
                bar->setValue(bar->value() + 1000);
                runFor(1);
                waitFor([&] { return drawnOnScreen(lighting); }, 20000);
            }
            lighting.hide();
            emit gl_socket.signalsStopRefresh(false);
        }
        const int before = Workers::decodes();
        QElapsedTimer t;
        t.start();
        home.show();
        emit gl_socket.signalsPageEnter(QString(), QString());
        const bool drawn = waitFor([&] { return drawnOnScreen(home, &shown); });
        f[photos] = drawn ? double(t.nsecsElapsed()) / 1e6 : -1;
        decodes = Workers::decodes() - before;
        home.hide();
        waitFor(Workers::idle);
    }
    out << QStringLiteral("8 Home again after Lighting, 100 photo rooms: the tiles on screen (%1) drawn "
                          "after %2; %3 decodes started for them\n")
               .arg(shown)
               .arg(figure(f[1], "ms", f[0]))
               .arg(decodes);
}

// ms that drawing page's screen takes with no picture kept, less with them kept;
// and the longest hold from its entry until its pictures on screen are drawn.
void builtInHold(QWidget &page, double &screen, double &entry, const QString &prm1 = QString())
{
    Pictures::instance().clear();
    Probe probe;
    enter(page, 1080, prm1);
    entry = probe.holdMs();
    double ms[2] = {};
    for (const bool kept : {false, true}) {
        if (!kept)
            Pictures::instance().clear();
        QElapsedTimer t;
        t.start();
        page.grab();
        ms[kept] = double(t.nsecsElapsed()) / 1e6;
    }
    page.hide();
    emit gl_socket.signalsStopRefresh(false);
    screen = ms[0] - ms[1];
}

template <typename Page> void builtInLine(const char *name, const QString &prm1 = QString())
{
    double screen[2] = {}, entry[2] = {};
    for (const bool photos : {false, true}) {
        roomPictures(photos);
        moodPictures(photos);
        const QString id = QLatin1String(name);
        Page page(id, id);
        builtInHold(page, screen[photos], entry[photos], prm1);
    }
    out << QStringLiteral("  %1: screen %2 ms; longest hold from the entry %3 (with photos %4 ms)\n")
               .arg(QLatin1String(name))
               .arg(screen[0], 0, 'f', 1)
               .arg(entry[0], 0, 'f', 1)
               .arg(entry[1], 0, 'f', 1);
}

void builtInRow()
{
    fillRooms(100, 10);
    fillMoods();
    out << "9 built-in pictures: the window held by their decodes on a page\n";
    builtInLine<PageHome>("Home");
    builtInLine<PageRooms>("Rooms");
    builtInLine<PageDeviceOperateMoods>("Moods");
    builtInLine<PageDeviceOperateLighting>("Lighting");
    fillRooms(1, 1);
    roomproject::exec(
        QStringLiteral("insert into tbl_3d_view_light(light_id,xp1,yp1,room_id) values(1,300,200,1)"));
    roomproject::exec(
        QStringLiteral("insert into tbl_3d_view_manager(icon_name,room_id) values('3d_view_01',1)"));
    double screen = 0, entry = 0;
    PageRoomOperate3DView page(QStringLiteral("Operate Room 3D View"), QStringLiteral("Room 1"));
    builtInHold(page, screen, entry, QStringLiteral("1"));
    out << QStringLiteral("  Room 3-D view: screen %1 ms; longest hold from the entry %2\n")
               .arg(screen, 0, 'f', 1)
               .arg(entry, 0, 'f', 1);
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
    QCoreApplication::setOrganizationName(QStringLiteral("Kest"));
    QCoreApplication::setApplicationName(QStringLiteral("Varno-bench"));
    const QStringList args = app.arguments();
    auto arg = [&args](int i, int all) { return args.size() > i ? std::max(1, args.at(i).toInt()) : all; };
    const QString rows = args.size() > 5 ? args.at(5) : QStringLiteral("123456789");

    // On disk beside the program: a hundred photos do not belong in a RAM /tmp.
    QTemporaryDir folder(QCoreApplication::applicationDirPath() + QStringLiteral("/pictures-XXXXXX"));
    if (!folder.isValid())
        return 1;
    initConfig(folder.path());
    gl_curPath = folder.path();
    preInitProject();
    QString project;
    getCurrentProject(project);
    g_project = projectFolder(project);
    g_sources = folder.path() + QStringLiteral("/sources");
    QDir().mkpath(g_sources);
    screen_cx = 1920;
    screen_cy = 1080;

    gl_socket.setId(1, 254);
    gl_net_style = NetStyleDnsServer;
    gl_domain_name = QStringLiteral("127.0.0.2");
    gl_ip_port_mac = QStringLiteral("00-11-22-33-44-55-66-77");
    gl_host_ip = QStringLiteral("192.168.1.5");
    gl_socket.setKeepAliveInterval(3600 * 1000);
    // The lights' modules: every frame is taken and none answered.
    QUdpSocket modules;
    if (!gl_socket.createSocket() ||
        !modules.bind(QHostAddress(gl_domain_name), 6000,
                      QUdpSocket::ShareAddress | QUdpSocket::ReuseAddressHint) ||
        !photo(4000, 3000, 1).save(g_sources + QStringLiteral("/photo.png"), "PNG")) {
        out << "cannot open the bus or write the photo\n";
        gl_sqlite3db.close();
        return 1;
    }
    QObject::connect(&modules, &QUdpSocket::readyRead, [&modules] {
        while (modules.hasPendingDatagrams())
            modules.readDatagram(nullptr, 0);
    });
    for (int room = 1; room <= 100; ++room)
        placePhoto(QStringLiteral("photo_Room_%1").arg(room));
    out << QStringLiteral("photo: 4000 x 3000, %1 MB as PNG\n")
               .arg(double(QFile(g_sources + QStringLiteral("/photo.png")).size()) / 1e6, 0, 'f', 1);

    auto row = [&rows](char which, const std::function<void()> &measure) {
        if (rows.contains(QLatin1Char(which))) {
            measure();
            out.flush();
        }
    };
    row('1', [&] { homeRow(arg(1, 30)); });
    row('2', [&] { lightingRow(arg(4, 100)); });
    // Room 1 with one light on its 3-D picture.
    fillRooms(1, 1);
    roomproject::exec(
        QStringLiteral("insert into tbl_3d_view_light(light_id,xp1,yp1,room_id) values(1,300,200,1)"));
    roomproject::exec(
        QStringLiteral("insert into tbl_3d_view_manager(icon_name,room_id) values('3d_view_01',1)"));
    placePhoto(QStringLiteral("photo_3dView_1"));
    row('3', [&] { room3DRow(arg(2, 10)); });
    row('4', galleryRow);
    row('5', [&] { addRow(arg(3, 99)); });
    row('6', moodsRow);
    row('7', switchRow);
    row('8', returnRow);
    row('9', builtInRow);
    gl_socket.closeSocket();
    gl_sqlite3db.close();
    return 0;
}
