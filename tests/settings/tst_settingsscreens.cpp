// "About" as a user sees it at 1920 by 1080: its versions, its vendor fields
// kept in the settings file, and its emblem and dividing lines (checked at a few
// pixels of the picture saved under the build folder).

#include "testmain.h"

#include "projectfixture.h"

#include "bus/broadcastsocket.h"
#include "settings/pagesettingabout.h"
#include "store/cppsqlite3db.h"
#include "store/globals.h"
#include "store/settings.h"

#include <QDir>
#include <QSettings>
#include <QtTest>
#include <qtmateriallineedit.h>

namespace {

QImage shot(QWidget *page, const QString &name)
{
    page->resize(1920, 1080);
    page->show();
    QTest::qWait(20);
    const QImage image = page->grab().toImage();
    QDir().mkpath(QStringLiteral(VARNO_SCREENSHOT_DIR));
    image.save(QStringLiteral(VARNO_SCREENSHOT_DIR "/%1.png").arg(name));
    return image;
}

bool near(const QColor &a, const QColor &b)
{
    return qAbs(a.red() - b.red()) < 12 && qAbs(a.green() - b.green()) < 12 &&
           qAbs(a.blue() - b.blue()) < 12;
}

} // namespace

class TestSettingsScreens : public QObject
{
    Q_OBJECT

    QScopedPointer<varnotest::ProjectFolder> m_folder;

private slots:
    void initTestCase()
    {
        m_folder.reset(new varnotest::ProjectFolder);
        screen_cx = 1920;
        screen_cy = 1080;
    }
    void cleanupTestCase() { m_folder.reset(); }

    void about_data()
    {
        QTest::addColumn<bool>("versionRow");
        QTest::addColumn<QString>("dbVersion");
        QTest::newRow("project database") << true << "V3.01";
        QTest::newRow("no version row") << false << "V";
    }
    void about()
    {
        QFETCH(bool, versionRow);
        QFETCH(QString, dbVersion);
        if (!versionRow)
            QVERIFY(gl_sqlite3db.execDML(QStringLiteral("delete from tbl_version")));
        setConfig(QStringLiteral("about"), QStringLiteral("about_name"), QString());
        setConfig(QStringLiteral("about"), QStringLiteral("about_phone"), QString());
        PageSettingAbout page(QStringLiteral("About"), QStringLiteral("About"));
        QCOMPARE(page.softwareVersionText(), QStringLiteral("V3.01"));
        QCOMPARE(page.databaseVersionText(), dbVersion);
        QCOMPARE(page.nameField()->text(), QString());
        // Finishing the name field stores both keys, the phone as empty text.
        page.nameField()->setText(QStringLiteral("Bob's Installations"));
        emit page.nameField()->editingFinished();
        page.phoneField()->setText(QStringLiteral("unsaved"));
        QString name;
        QString phone;
        getConfig(QStringLiteral("about"), QStringLiteral("about_name"), name);
        getConfig(QStringLiteral("about"), QStringLiteral("about_phone"), phone);
        QCOMPARE(name, QStringLiteral("Bob's Installations"));
        QCOMPARE(phone, QString());
        PageSettingAbout again(QStringLiteral("About"), QStringLiteral("About"));
        QCOMPARE(again.nameField()->text(), QStringLiteral("Bob's Installations"));

        const QImage image =
            shot(&page, versionRow ? QStringLiteral("about") : QStringLiteral("about_no_version"));
        // The emblem's disc in the top-right quarter, the dividing line, the page.
        const int d = qMin(1920 / 8, 1080 / 4);
        const QPoint disc(960 + (480 - d) / 2 + d / 2, (540 - d) / 2 + 20);
        QVERIFY(near(image.pixelColor(disc), QColor(0x1F, 0x29, 0x33)));
        QVERIFY(near(image.pixelColor(960, 540), QColor(Qt::lightGray)));
        QVERIFY(near(image.pixelColor(1900, 1060), QColor(0x26, 0x34, 0x40)));
        if (!versionRow)
            m_folder->reset();
    }
};

VARNO_TEST_MAIN(TestSettingsScreens)
#include "tst_settingsscreens.moc"
