// The framed dialogs as a bare X server shows them (run by CTest on an Xvfb of its
// own, with no compositing manager, read back as it holds the screen): the open list of
// a drop-down draws its items, the corners are rounded, and the titles sit in the
// middle of their dialogs.

#include "testmain.h"

#include "commissioning/roomadddlg.h"
#include "commissioning/roomtemplateadddlg.h"
#include "records/alarmdlg.h"
#include "records/messagedlg.h"
#include "records/messageform.h"
#include "store/cppsqlite3db.h"
#include "store/databaseinit.h"
#include "store/globals.h"

#include <QAbstractItemView>
#include <QProcess>
#include <QScreen>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>
#include <qtmaterialcombobox.h>
#include <qtmateriallabel.h>


namespace {

bool near(QRgb a, const QColor &b, int tolerance = 12)
{
    return qAbs(qRed(a) - b.red()) <= tolerance && qAbs(qGreen(a) - b.green()) <= tolerance
           && qAbs(qBlue(a) - b.blue()) <= tolerance;
}

// The area of the screen as the X server holds it (what a user sees), read
// through xwd: a grab through the toolkit composes translucent windows itself and
// so shows what a bare X server does not. Xvfb's depth-24 screen comes as 32-bit
// pixels, least significant byte first: QImage's RGB32. A null image otherwise.
QImage screenImage(const QRect &area)
{
    QProcess xwd;
    xwd.start(QStringLiteral("xwd"), {QStringLiteral("-root"), QStringLiteral("-silent")});
    if (!xwd.waitForFinished(20000) || xwd.exitCode() != 0)
        return QImage();
    const QByteArray file = xwd.readAllStandardOutput();
    const auto card = [&file](int offset) { return qFromBigEndian<quint32>(file.constData() + offset); };
    if (file.size() < 100 || card(4) != 7)
        return QImage();
    const quint32 width = card(16), height = card(20), bytesPerLine = card(48);
    const qint64 pixels = qint64(card(0)) + qint64(card(76)) * 12; // header, then the colour map
    if (card(28) != 0 || bytesPerLine != width * 4 || card(56) != 0xFF0000 || card(64) != 0xFF
        || pixels + qint64(height) * bytesPerLine > file.size())
        return QImage();
    const QImage screen(reinterpret_cast<const uchar *>(file.constData() + pixels), int(width), int(height),
                        int(bytesPerLine), QImage::Format_RGB32);
    return screen.rect().contains(area) ? screen.copy(area) : QImage();
}

// Whether every row of the open list shows on the screen as a row of the list's
// colour (or the pointer's) with white text on it.
bool rowsReadable(QComboBox *box)
{
    QAbstractItemView *view = box->view();
    if (!view->isVisible() || box->count() == 0)
        return false;
    const QRect list(view->viewport()->mapToGlobal(QPoint(0, 0)), view->viewport()->size());
    const QImage screen = screenImage(list);
    if (screen.isNull())
        return false;
    for (int i = 0; i < box->count(); ++i) {
        const QRect row = view->visualRect(box->model()->index(i, 0)).adjusted(3, 3, -3, -3);
        if (!QRect(QPoint(0, 0), list.size()).contains(row))
            return false;
        int ground = 0;
        int text = 0;
        for (int y = row.top(); y <= row.bottom(); ++y) {
            for (int x = row.left(); x <= row.right(); ++x) {
                const QRgb c = screen.pixel(x, y);
                ground += near(c, QColor(0x1F, 0x29, 0x33)) || near(c, QColor(0x55, 0x7F, 0xA3));
                text += near(c, Qt::white, 60);
            }
        }
        if (ground < row.width() * row.height() / 2 || text < 10)
            return false;
    }
    return true;
}

const QColor backdropColor(0xC0, 0x40, 0x80);

// Whether, on the screen, the dialog's top-left corner shows the backdrop beneath
// it just outside its rounded edge and the panel just inside.
bool cornerRounded(QWidget *dialog)
{
    // The panel's corner, from a point just outside its rounded edge to one inside.
    const QImage screen = screenImage(QRect(dialog->mapToGlobal(QPoint(1, 1)), QSize(5, 5)));
    return !screen.isNull() && near(screen.pixel(0, 0), backdropColor, 0)
           && near(screen.pixel(4, 4), QColor(0x1F, 0x29, 0x33), 0);
}

} // namespace

class TestFramedDialogs : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QScopedPointer<QWidget> m_backdrop;

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        initDatabase(m_dir.filePath(QStringLiteral("p.db3")));
    }
    void cleanupTestCase() { gl_sqlite3db.close(); }

    void dropDownListReadable_data()
    {
        QTest::addColumn<QString>("dialog");
        QTest::newRow("alarm") << QStringLiteral("alarm");
        QTest::newRow("message") << QStringLiteral("message");
        QTest::newRow("add room") << QStringLiteral("room");
    }
    void dropDownListReadable()
    {
        QFETCH(QString, dialog);
        if (QGuiApplication::platformName() != QLatin1String("xcb"))
            QSKIP("needs Xvfb (package xvfb) to show the dialogs on an X server");
        if (QStandardPaths::findExecutable(QStringLiteral("xwd")).isEmpty())
            QSKIP("needs xwd (package x11-apps) to read the screen as the X server holds it");
        if (!m_backdrop) {
            // Something to show beneath the dialogs' corners.
            m_backdrop.reset(new QWidget);
            m_backdrop->setPalette(QPalette(backdropColor));
            m_backdrop->setAutoFillBackground(true);
            m_backdrop->setWindowFlags(Qt::FramelessWindowHint);
            m_backdrop->setGeometry(QGuiApplication::primaryScreen()->geometry());
            m_backdrop->show();
            QVERIFY(QTest::qWaitForWindowExposed(m_backdrop.data()));
        }
        QScopedPointer<QDialog> dlg;
        QComboBox *box = nullptr;
        if (dialog == QLatin1String("room")) {
            gl_sqlite3db.execDML(QStringLiteral("insert into tbl_room_template(room_template_name,"
                                                "room_template_icon_name,room_template_id) "
                                                "values('Office','room_1',7)"));
            auto *room = new RoomAddDlg;
            dlg.reset(room);
            box = room->findChildren<QtMaterialComboBox *>().value(2);
        } else {
            MessageForm *form = nullptr;
            if (dialog == QLatin1String("alarm")) {
                auto *alarm = new AlarmDlg;
                form = alarm->form();
                dlg.reset(alarm);
            } else {
                auto *message = new MessageDlg;
                form = message->findChild<MessageForm *>();
                dlg.reset(message);
            }
            box = form->statusBox();
        }
        QVERIFY(box && box->count() > 0);
        dlg->show();
        QVERIFY(QTest::qWaitForWindowExposed(dlg.data()));
        QTRY_VERIFY_WITH_TIMEOUT(cornerRounded(dlg.data()), 5000);
        QTest::mouseClick(box, Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(rowsReadable(box), 5000);
        box->hidePopup();
    }

    void titlesCentred_data()
    {
        QTest::addColumn<QString>("dialog");
        QTest::newRow("Add Room") << QStringLiteral("room");
        QTest::newRow("Add Room Template") << QStringLiteral("template");
    }
    void titlesCentred()
    {
        QFETCH(QString, dialog);
        QScopedPointer<QDialog> dlg(dialog == QLatin1String("room") ? static_cast<QDialog *>(new RoomAddDlg)
                                                                     : new RoomTemplateAddDlg);
        dlg->show();
        QVERIFY(QTest::qWaitForWindowExposed(dlg.data()));
        const QString text = QString::fromLatin1(QTest::currentDataTag());
        QtMaterialLabel *title = nullptr;
        for (QtMaterialLabel *label : dlg->findChildren<QtMaterialLabel *>())
            if (label->text() == text)
                title = label;
        QVERIFY(title);
        QVERIFY2(qAbs(title->geometry().center().x() - dlg->rect().center().x()) <= 1,
                 qPrintable(QStringLiteral("title at %1 in %2").arg(title->x()).arg(dlg->width())));
    }
};

VARNO_TEST_MAIN(TestFramedDialogs)
#include "tst_framedialogs.moc"
