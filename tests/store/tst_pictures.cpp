// The built-in pictures: every picture the pages load from the resources exists,
// decodes, and has the size it was drawn for. The picture service and the writer of
// the user's own pictures.

#include "testmain.h"

#include "filesizelimit.h"
#include "projectfixture.h"

#include "shell/pictures.h"
#include "shell/projectpicture.h"
#include "store/backgroundwork.h"
#include "store/filehelpers.h"

#include <QDateTime>
#include <QScopeGuard>
#include <QDirIterator>
#include <QPainter>
#include <QSignalSpy>
#include <QWidget>
#include <QBuffer>
#include <QImage>
#include <QRandomGenerator>
#include <QSet>
#include <QSize>
#include <QVector>
#include <QtTest>

#include <atomic>
#include <chrono>
#include <fcntl.h>
#include <future>
#include <memory>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

struct Picture
{
    QString path; // below ":/myImages/"
    QSize size;
};

QVector<Picture> allPictures()
{
    QVector<Picture> list = {
        {"png/Kest Logo.png", {88, 32}},
        {"png/add_new_room.png", {66, 66}},
        {"png/airConditioner/icon-ac-power-off.png", {72, 72}},
        {"png/airConditioner/icon-ac-power-on.png", {72, 72}},
        {"png/airConditioner/icon-ac-temp.png", {48, 48}},
        {"png/airConditioner/icon-acmode-auto.png", {48, 48}},
        {"png/airConditioner/icon-acmode-cool.png", {48, 48}},
        {"png/airConditioner/icon-acmode-fan.png", {48, 48}},
        {"png/airConditioner/icon-acmode-heat.png", {48, 48}},
        {"png/airConditioner/icon-fan-auto.png", {48, 48}},
        {"png/airConditioner/icon-fan-high.png", {48, 48}},
        {"png/airConditioner/icon-fan-low.png", {48, 48}},
        {"png/airConditioner/icon-fan-medium.png", {48, 48}},
        {"png/edit_room/icon-room-ac.png", {128, 128}},
        {"png/edit_room/icon-room-floorheat.png", {128, 128}},
        {"png/edit_room/icon-room-lighting.png", {128, 128}},
        {"png/edit_room/icon-room-master.png", {128, 128}},
        {"png/edit_room/icon-room-moods.png", {128, 128}},
        {"png/edit_room/icon-room-occupation.png", {128, 128}},
        {"png/edit_room/icon-room-panel.png", {128, 128}},
        {"png/icon-about-company.png", {160, 160}},
        {"png/icon-light-disconnected.png", {72, 72}},
        {"png/icon-lighting-brightness.png", {40, 40}},
        {"png/icon-navigation-back.png", {48, 48}},
        {"png/icon-navigation-bell.png", {48, 48}},
        {"png/icon-navigation-home.png", {48, 48}},
        {"png/icon-navigation-rooms.png", {48, 48}},
        {"png/icon-projectsettings-download.png", {80, 80}},
        {"png/icon-projectsettings-upload.png", {80, 80}},
        {"png/icon-remote-settings.png", {48, 48}},
        {"png/icon-search.png", {64, 64}},
        {"png/icon-system-delete.png", {80, 80}},
        {"png/icon-system-edit.png", {72, 72}},
        {"png/icon-system-log.png", {48, 48}},
        {"png/icon-system-save.png", {80, 80}},
        // Drawn "at its own size" into a 20-pixel row slot.
        {"png/icon_checkbox2_off.png", {20, 20}},
        {"png/icon_checkbox2_on.png", {20, 20}},
        {"png/icon_checkbox_off.png", {128, 72}},
        {"png/icon_checkbox_on.png", {128, 72}},
        {"png/icon_image_add.png", {48, 48}},
        {"png/icon_image_default.png", {48, 48}},
        {"png/logo-about-kest.png", {360, 120}},
        {"png/master_off.png", {48, 48}},
        {"png/master_on.png", {48, 48}},
        {"png/master_unknown.png", {48, 48}},
        {"png/network/icon-connection-cloudserver-active.png", {48, 48}},
        {"png/network/icon-connection-cloudserver.png", {48, 48}},
        {"png/network/icon-connection-dnsserver-active.png", {48, 48}},
        {"png/network/icon-connection-dnsserver.png", {48, 48}},
        {"png/network/icon-connection-localnetwork-active.png", {48, 48}},
        {"png/network/icon-connection-localnetwork.png", {48, 48}},
        {"png/occupation_off.png", {48, 48}},
        {"png/occupation_on.png", {48, 48}},
        {"png/occupation_unknown.png", {48, 48}},
        {"png/selected.png", {48, 48}},
        {"png/settings/icon-settings-3dview.png", {160, 160}},
        {"png/settings/icon-settings-about.png", {128, 128}},
        {"png/settings/icon-settings-deviceaddress.png", {128, 128}},
        {"png/settings/icon-settings-messagemanager.png", {128, 128}},
        {"png/settings/icon-settings-networksetting.png", {128, 128}},
        {"png/settings/icon-settings-projectsettings.png", {128, 128}},
        {"png/settings/icon-settings-roomsmanager.png", {128, 128}},
        {"png/settings/icon-settings-roomtemplate.png", {128, 128}},
        {"png/shuaxin.png", {72, 72}},
    };
    // The numbered families offered by the picture picker.
    for (int i = 1; i <= 8; ++i)
        list.append({QString::asprintf("png/3d_view/3d_view_%02d.png", i), {1280, 720}});
    for (int i = 1; i <= 11; ++i)
        list.append({QString::asprintf("png/message/message_%02d.png", i), {96, 96}});
    for (int i = 1; i <= 52; ++i) {
        list.append({QString::asprintf("png/light/light_%02d_on.png", i), {192, 192}});
        list.append({QString::asprintf("png/light/light_%02d_off.png", i), {192, 192}});
    }
    for (int i = 1; i <= 23; ++i)
        list.append({QString::asprintf("jpg/moods/moods_%d.jpg", i), {500, 320}});
    for (int i = 1; i <= 52; ++i)
        list.append({QString::asprintf("jpg/room/room_%d.jpg", i), {600, 320}});
    return list;
}

QImage load(const QString &path)
{
    return QImage(QStringLiteral(":/myImages/") + path);
}

QByteArray bytesOf(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// A real picture of just over 100 megapixels, one bit a pixel so that it is quick to make.
QByteArray hugePicture()
{
    static QByteArray png;
    if (png.isEmpty()) {
        QImage image(10001, 10000, QImage::Format_Mono);
        image.fill(0);
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "PNG");
    }
    return png;
}

// A widget that draws one picture through the service.
struct PaintCounter : QWidget
{
    QString file;
    bool drawn = false;
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        drawn = Pictures::draw(painter, rect(), file) || drawn;
    }
};

// Mean luminance and the share of pixels that carry any colour (alpha above 0).
void measure(const QImage &image, double &luminance, double &covered)
{
    const QImage img = image.convertToFormat(QImage::Format_ARGB32);
    double sum = 0;
    qint64 inked = 0;
    for (int y = 0; y < img.height(); ++y) {
        const QRgb *line = reinterpret_cast<const QRgb *>(img.constScanLine(y));
        for (int x = 0; x < img.width(); ++x) {
            const QRgb c = line[x];
            sum += qAlpha(c) / 255.0 * (0.3 * qRed(c) + 0.59 * qGreen(c) + 0.11 * qBlue(c));
            if (qAlpha(c) > 0)
                ++inked;
        }
    }
    const double n = double(img.width()) * img.height();
    luminance = sum / n;
    covered = inked / n;
}

// A picture file of its own for each name, made once: red on the left half, blue on the right.
QString halves(const QString &folder, const QString &name)
{
    const QString path = folder + QLatin1Char('/') + name + QStringLiteral(".png");
    QImage image(400, 300, QImage::Format_RGB32);
    image.fill(Qt::red);
    QPainter(&image).fillRect(200, 0, 200, 300, Qt::blue);
    return QFile::exists(path) || image.save(path) ? path : QString();
}

} // namespace

class TestPictures : public QObject
{
    Q_OBJECT

private slots:
    void loads_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QSize>("size");
        for (const Picture &picture : allPictures())
            QTest::addRow("%s", qPrintable(picture.path)) << picture.path << picture.size;
    }

    void loads()
    {
        QFETCH(QString, path);
        QFETCH(QSize, size);
        const QImage image = load(path);
        QVERIFY2(!image.isNull(), qPrintable(QStringLiteral("cannot load :/myImages/") + path));
        QCOMPARE(image.size(), size);

        double luminance = 0, covered = 0;
        measure(image, luminance, covered);
        if (path.endsWith(QLatin1String(".jpg"))) {
            QVERIFY(!image.hasAlphaChannel());
            // A picture, not a flat fill.
            QVERIFY(image.pixel(0, 0) != image.pixel(size.width() / 2, size.height() / 2));
        } else {
            // PNG pictures lie on tiles and bars of their own colour: a transparent
            // ground at the corners, and something drawn on it.
            QVERIFY(image.hasAlphaChannel());
            QCOMPARE(qAlpha(image.pixel(0, 0)), 0);
            QCOMPARE(qAlpha(image.pixel(size.width() - 1, size.height() - 1)), 0);
            QVERIFY2(covered > 0.03, qPrintable(QString::number(covered)));
        }
    }

    // The on picture of a light must read as lit next to its off twin.
    void lightOnIsBrighterThanOff_data()
    {
        QTest::addColumn<int>("number");
        for (int i = 1; i <= 52; ++i)
            QTest::addRow("light_%02d", i) << i;
    }

    void lightOnIsBrighterThanOff()
    {
        QFETCH(int, number);
        const QImage on = load(QString::asprintf("png/light/light_%02d_on.png", number));
        const QImage off = load(QString::asprintf("png/light/light_%02d_off.png", number));
        QVERIFY(!on.isNull() && !off.isNull());
        double onLuminance = 0, offLuminance = 0, covered = 0;
        measure(on, onLuminance, covered);
        measure(off, offLuminance, covered);
        QVERIFY2(onLuminance > offLuminance * 1.3,
                 qPrintable(QStringLiteral("%1 vs %2").arg(onLuminance).arg(offLuminance)));
    }

    // A picture from the gallery is read and written by a worker and placed whole on the
    // window's thread; a second choice waits, and a failure leaves the earlier file. The
    // pipe is fed only once start() has returned and the window has encoded a picture of
    // its own: read on the window's thread, or under a lock the window's pictures take,
    // it would wait for the 10 s fallback. Project "Home" deleted meanwhile takes along
    // no write into a project whose name begins with its own.
    void pictureWriter_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<int>("result");
        QTest::addColumn<QString>("project"); // written into, "Home" deleted meanwhile; none: "Home"
        QTest::newRow("a photo") << "noise" << int(PictureWrite::Written) << "";
        QTest::newRow("no room for its last byte") << "full" << int(PictureWrite::Unwritable) << "";
        QTest::newRow("not a picture") << "text" << int(PictureWrite::Unreadable) << "";
        QTest::newRow("over 100 megapixels") << "huge" << int(PictureWrite::Unreadable) << "";
        QTest::newRow("a picture still arriving") << "pipe" << int(PictureWrite::Written) << "";
        QTest::newRow("arriving into Home2") << "pipe" << int(PictureWrite::Written) << "Home2";
        QTest::newRow("arriving into Home 2") << "pipe" << int(PictureWrite::Written) << "Home 2";
    }
    void pictureWriter()
    {
        QFETCH(QString, source);
        QFETCH(int, result);
        QFETCH(QString, project);
        const varnotest::ProjectFolder app;
        QVERIFY(project.isEmpty() || varnotest::ProjectFolder::open(project));
        const QString file = app.projectDir() + QStringLiteral("/photo_Room_1.png");
        QVERIFY(load(QStringLiteral("png/selected.png")).save(file));
        const QByteArray before = bytesOf(file);
        const QStringList files = QDir(app.projectDir()).entryList(QDir::Files | QDir::Hidden);
        QImage noise(400, 300, QImage::Format_RGB32);
        QRandomGenerator(7).fillRange(reinterpret_cast<quint32 *>(noise.bits()), 400 * 300);
        QBuffer png;
        QVERIFY(png.open(QIODevice::WriteOnly) && noise.save(&png, "PNG", 50));
        const QString chosen = app.projectDir() + QStringLiteral("/../chosen.bmp");
        const QByteArray bytes = source == "huge" ? hugePicture() : source == "text" ? "no" : png.data();
        QVERIFY(source == "pipe" ? ::mkfifo(QFile::encodeName(chosen), 0600) == 0 : writeBytes(chosen, bytes));
        std::atomic<bool> windowDecoded{false};
        bool fedInTime = true;
        std::thread feeder;
        if (source == "pipe") {
            feeder = std::thread([&] {
                QFile pipe(chosen); // opens once the reader has
                fedInTime = pipe.open(QIODevice::WriteOnly);
                for (int i = 0; i < 200 && !windowDecoded; ++i)
                    std::this_thread::sleep_for(std::chrono::milliseconds(50));
                fedInTime = fedInTime && windowDecoded;
                pipe.write(bytes);
            });
        }
        const auto joinFeeder = qScopeGuard([&feeder] { // also when a row fails
            if (feeder.joinable())
                feeder.join();
        });
        PictureWriter writer;
        QSignalSpy finished(&writer, &PictureWriter::finished);
        std::unique_ptr<varnotest::FileSizeLimit> limit(
            source == "full" ? new varnotest::FileSizeLimit(png.size() - 1) : nullptr);
        QVERIFY(writer.start(chosen, QStringLiteral("photo_Room_1")));
        if (!project.isEmpty())
            removeProjectFolder(projectFolder(QStringLiteral("Home")));
        QBuffer own;
        QVERIFY(own.open(QIODevice::WriteOnly) && noise.save(&own, "PNG"));
        windowDecoded = true;
        QVERIFY(writer.isBusy() && !writer.start(chosen, QStringLiteral("photo_Room_2")));
        QCOMPARE(bytesOf(file), before); // nothing is placed before the window's thread runs
        QVERIFY(finished.wait(20000));
        limit.reset();
        if (feeder.joinable())
            feeder.join();
        QVERIFY(fedInTime);
        QCOMPARE(int(finished.at(0).at(0).value<PictureWrite>()), result);
        if (result == int(PictureWrite::Written))
            QCOMPARE(QImage(file).convertToFormat(QImage::Format_RGB32), noise);
        else
            QCOMPARE(bytesOf(file), before);
        QCOMPARE(QDir(app.projectDir()).entryList(QDir::Files | QDir::Hidden), files); // no staging left
    }

    // The picture service decodes a file once per drawn size, off the window's thread,
    // and repaints the widget that asked; a file written again is decoded anew, a
    // removed one is no longer drawn, and the kept copies stay within their budget.
    void pictureService()
    {
        const varnotest::ProjectFolder app;
        Pictures &pictures = Pictures::instance();
        const QString file = app.projectDir() + QStringLiteral("/photo_Room_3.png");
        const auto solid = [&file](QColor colour, int secondsAgo) {
            QImage image(800, 600, QImage::Format_RGB32);
            image.fill(colour);
            QFile out(file);
            return image.save(file) && out.open(QIODevice::ReadWrite) &&
                   out.setFileTime(QDateTime::currentDateTime().addSecs(-secondsAgo),
                                   QFileDevice::FileModificationTime);
        };
        QVERIFY(solid(Qt::red, 10));
        PaintCounter widget;
        widget.file = file;
        widget.resize(60, 40);
        widget.show();
        QVERIFY(QTest::qWaitForWindowExposed(&widget));
        QTRY_VERIFY(widget.drawn);
        const int decodes = pictures.decodesStarted();
        const QImage red = pictures.picture(file, QSize(60, 40));
        QCOMPARE(red.size(), QSize(60, 40));
        QCOMPARE(red.pixelColor(30, 20), QColor(Qt::red));
        QCOMPARE(pictures.decodesStarted(), decodes); // kept, not decoded again

        QVERIFY(solid(Qt::blue, 5)); // the same name and size, a newer file
        QVERIFY(pictures.picture(file, QSize(60, 40)).isNull());
        QTRY_COMPARE(pictures.picture(file, QSize(60, 40)).pixelColor(30, 20), QColor(Qt::blue));
        QVERIFY(QFile::remove(file));
        QVERIFY(pictures.picture(file, QSize(60, 40)).isNull());
        QCOMPARE(pictures.pending(), 0);

        QVERIFY(writeBytes(file, hugePicture()));
        QVERIFY(pictures.picture(file, QSize(60, 40)).isNull());
        QTRY_COMPARE(pictures.pending(), 0);
        QVERIFY(pictures.picture(file, QSize(60, 40)).isNull());
        QCOMPARE(pictures.pending(), 0); // known to be unreadable: not decoded again

        pictures.setBudget(100 * 1000);
        for (int side = 100; side < 140; side += 4)
            pictures.picture(QStringLiteral(":/myImages/jpg/room/room_1.jpg"), QSize(side, side));
        QVERIFY(pictures.keptBytes() <= 100 * 1000);
        QVERIFY(solid(Qt::red, 1)); // one picture larger than the whole budget is kept too
        QTRY_VERIFY(!pictures.picture(file, QSize(200, 200)).isNull());
        const int started = pictures.decodesStarted();
        QVERIFY(!pictures.picture(file, QSize(200, 200)).isNull());
        QCOMPARE(pictures.decodesStarted(), started);
        pictures.setBudget(64 * 1024 * 1024);
    }

    // Decodes start newest first; one whose widgets are gone, hidden or out of sight is dropped.
    void decodeOrder_data()
    {
        QTest::addColumn<QString>("asked");   // widgets in the order they ask
        QTest::addColumn<QString>("fates");   // per widget: s shown, g gone, h hidden, o out of sight
        QTest::addColumn<QString>("started"); // widgets whose decode started, in order
        QTest::newRow("newest first") << "0123" << "ssss" << "3210";
        QTest::newRow("asked again goes first") << "0120" << "sss" << "021";
        QTest::newRow("gone and hidden dropped") << "0123" << "sghs" << "30";
        QTest::newRow("out of sight dropped") << "012" << "oso" << "1";
    }
    void decodeOrder()
    {
        QFETCH(QString, asked);
        QFETCH(QString, fates);
        QFETCH(QString, started);
        const varnotest::ProjectFolder app;
        Pictures &pictures = Pictures::instance();
        QWidget host;
        host.resize(400, 300);
        QList<QWidget *> widgets;
        QStringList files;
        for (int i = 0; i < fates.size(); ++i) {
            widgets.append(new QWidget(&host));
            widgets.last()->setGeometry(fates.at(i) == 'o' ? 500 : 10 * i, 10, 40, 30);
            files.append(halves(app.projectDir(), QStringLiteral("order_%1").arg(i)));
        }
        host.show();
        QVERIFY(QTest::qWaitForWindowExposed(&host));
        pictures.setPaused(true);
        for (const QChar i : asked)
            pictures.picture(files.at(i.digitValue()), QSize(40, 30), widgets.at(i.digitValue()));
        for (int i = 0; i < fates.size(); ++i)
            fates.at(i) == 'g' ? delete widgets.at(i) : widgets.at(i)->setVisible(fates.at(i) != 'h');
        QSignalSpy spy(&pictures, &Pictures::decodeStarted);
        pictures.setPaused(false);
        QTRY_COMPARE(pictures.pending(), 0);
        QString order;
        for (const QList<QVariant> &args : qAsConst(spy))
            order += QString::number(files.indexOf(args.at(0).toString()));
        QCOMPARE(order, started);
    }

    // One decode serves every smaller size, each its own copy, and a larger size is decoded anew.
    // Past the budget the large copies go first, but not the one just kept: the tiles stay.
    void keptCopies_data()
    {
        QTest::addColumn<QVariantList>("asks"); // file, drawn size, ...: each served in turn
        QTest::addColumn<bool>("together");     // the first two asked before the decode starts
        QTest::addColumn<int>("budget");        // MiB
        QTest::addColumn<int>("decodes");
        const auto sizes = [](QSize a, QSize b) { return QVariantList{"one", a, "one", b, "one", a}; };
        QTest::newRow("smaller later") << sizes({200, 100}, {60, 40}) << false << 64 << 1;
        QTest::newRow("both before the start") << sizes({60, 40}, {200, 100}) << true << 64 << 1;
        QTest::newRow("larger later") << sizes({60, 40}, {200, 100}) << false << 64 << 2;
        QTest::newRow("wider, not taller") << sizes({100, 100}, {120, 20}) << false << 64 << 2;
        const auto tiles = [](int large, QSize size) { // 20 tiles, large copies after ten, the tiles again
            QVariantList asks;
            for (int i = 0; i < 40; ++i) {
                asks << QStringLiteral("tile_%1").arg(i % 20) << QSize(96, 96);
                for (int b = 1; i == 9 && b <= large; ++b)
                    asks << QStringLiteral("block_%1").arg(b) << size;
            }
            return asks;
        };
        // 3 MiB: ten tiles and one copy of 1000 x 650 fit, not one of 1000 x 700.
        QTest::newRow("one large copy over what is left") << tiles(1, {1000, 700}) << false << 3 << 21;
        QTest::newRow("three large copies, then more tiles") << tiles(3, {1000, 650}) << false << 3 << 23;
    }
    void keptCopies()
    {
        QFETCH(QVariantList, asks);
        QFETCH(bool, together);
        QFETCH(int, budget);
        QFETCH(int, decodes);
        const varnotest::ProjectFolder app;
        Pictures &pictures = Pictures::instance();
        pictures.clear();
        pictures.setBudget(qint64(budget) * 1024 * 1024);
        const int before = pictures.decodesStarted();
        const auto ask = [&](int i) {
            const QString file = halves(app.projectDir(), asks.at(i).toString());
            return pictures.picture(file, asks.at(i + 1).toSize());
        };
        if (together) // the smaller first
            QVERIFY(ask(0).isNull() && ask(2).isNull());
        for (int i = 0; i < asks.size(); i += 2) {
            QImage image;
            QTRY_VERIFY2(!(image = ask(i)).isNull(), qPrintable(asks.at(i).toString()));
            QCOMPARE(image.size(), asks.at(i + 1).toSize());
            QCOMPARE(image.pixelColor(image.width() * 3 / 4, image.height() / 2), QColor(Qt::blue));
        }
        QCOMPARE(pictures.decodesStarted() - before, decodes);
        pictures.setBudget(64 * 1024 * 1024);
    }

    // Built-in pictures past a short share of one turn of the event loop wait for a later one.
    void builtInShareOfATurn()
    {
        Pictures &pictures = Pictures::instance();
        pictures.clear();
        const QString room = QStringLiteral(":/myImages/jpg/room/room_%1.jpg");
        int late = 0;
        for (int i = 1; i <= 52; ++i)
            late += pictures.picture(room.arg(i), QSize(1200, 1000)).isNull() ? 1 : 0;
        QVERIFY(late > 0);
        for (int i = 1; i <= 52; ++i)
            QTRY_COMPARE(pictures.picture(room.arg(i), QSize(1200, 1000)).size(), QSize(1200, 1000));
    }

    // A (sparse) file over MaxPictureFileBytes is not read; a pipe never fed gives up at the exit.
    void readBounds_data()
    {
        QTest::addColumn<qint64>("size"); // -1: a pipe
        QTest::newRow("a small file") << qint64(7);
        QTest::newRow("over 512 MiB") << qint64(MaxPictureFileBytes) + 1;
        QTest::newRow("a pipe never fed, at the exit") << qint64(-1);
    }
    void readBounds()
    {
        QFETCH(qint64, size);
        const QTemporaryDir dir;
        const QString path = dir.path() + QStringLiteral("/source.png");
        QFile file(path);
        QVERIFY(size < 0 ? ::mkfifo(QFile::encodeName(path), 0600) == 0
                         : file.open(QIODevice::WriteOnly) && file.write("picture") && file.resize(size));
        auto read = std::async(std::launch::async, [&path] { return readPictureBytes(path); });
        if (size < 0)
            BackgroundWork::finish(0); // the exit begins; the pool has nothing running
        const bool ended = QTest::qWaitFor(
            [&read] { return read.wait_for(std::chrono::seconds(0)) == std::future_status::ready; }, 5000);
        if (!ended) // a writer that comes and goes ends the read, so that the test ends
            ::close(::open(QFile::encodeName(path).constData(), O_WRONLY | O_NONBLOCK));
        const QByteArray bytes = read.get();
        BackgroundWork::resetForTests();
        QVERIFY(ended);
        QCOMPARE(bytes, size == 7 ? QByteArray("picture") : QByteArray());
    }

    // The resources hold exactly the listed pictures: nothing the pages name is
    // missing and nothing unlisted slipped in.
    void resourceTreeMatchesList()
    {
        QSet<QString> listed;
        for (const Picture &picture : allPictures())
            listed.insert(picture.path);
        QSet<QString> present;
        for (const QString &root : {QStringLiteral(":/myImages/png"), QStringLiteral(":/myImages/jpg")}) {
            QDirIterator it(root, QDir::Files, QDirIterator::Subdirectories);
            while (it.hasNext())
                present.insert(it.next().mid(int(qstrlen(":/myImages/"))));
        }
        QCOMPARE(present.size(), 262);
        QCOMPARE(listed.size(), 262);
        QSet<QString> missing = listed - present;
        QSet<QString> extra = present - listed;
        QVERIFY2(missing.isEmpty(), qPrintable(QStringList(missing.values()).join(", ")));
        QVERIFY2(extra.isEmpty(), qPrintable(QStringList(extra.values()).join(", ")));
    }
};

VARNO_TEST_MAIN(TestPictures)
#include "tst_pictures.moc"
