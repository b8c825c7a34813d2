// "Project Setting" with its add dialog and rows, and "Project Information",
// on a temporary application folder with the current project "Home" open.
// Also renders the pages and the add dialog at 1920x1080 for a look.

#include "testmain.h"

#include "projectfixture.h"
#include "screenshot.h"
#include "transferfixture.h"

#include "bus/broadcastsocket.h"
#include "settings/pagesettingproject.h"
#include "settings/pagesettingprojectinformation.h"
#include "settings/projectadddlg.h"
#include "settings/projectsettingitem.h"
#include "settings/projectuploaddlg.h"
#include "store/cppsqlite3db.h"
#include "store/queryhelpers.h"

#include <QSignalSpy>
#include <QProcess>
#include <QtTest>
#include <qtmaterialcheckbox.h>
#include <qtmaterialflatbutton.h>
#include <qtmaterialgroupbox.h>
#include <qtmaterialiconbutton.h>
#include <qtmateriallineedit.h>

#include <functional>
#include <memory>

using namespace transfertest;

namespace {

// Runs act on the next modal dialog once it is shown.
void whenModal(const std::function<void(QWidget *)> &act)
{
    auto *timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, [timer, act] {
        if (QWidget *modal = QApplication::activeModalWidget()) {
            timer->stop();
            timer->deleteLater();
            act(modal);
        }
    });
    timer->start(10);
}

QStringList rowNames(PageSettingProject &page)
{
    QStringList names;
    for (auto *row :
         page.listBox()->findChildren<ProjectSettingItem *>(QStringLiteral("ProjectSettingItem")))
        names.append(row->getProjectName() + (row->deleteButton() ? "" : " (current)"));
    names.sort();
    return names;
}

ProjectSettingItem *row(PageSettingProject &page, const QString &name)
{
    for (auto *item :
         page.listBox()->findChildren<ProjectSettingItem *>(QStringLiteral("ProjectSettingItem"))) {
        if (item->getProjectName() == name)
            return item;
    }
    return nullptr;
}

// Version, network and region rows of a database file, as the sqlite3 tool reads them.
QString seedRows(const QString &path)
{
    QProcess sqlite;
    sqlite.start(QStringLiteral("sqlite3"), {path, "select name||' '||version from tbl_version;"
                                                   "select count(*) from tbl_network;"
                                                   "select count(*) from tbl_region;"});
    sqlite.waitForFinished(10000);
    return QString::fromUtf8(sqlite.readAllStandardOutput()).trimmed().replace('\n', ';');
}

} // namespace

class TestProjectPages : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void addProject_data();
    void addProject();
    void rows();
    void information_data();
    void information();

private:
    std::unique_ptr<varnotest::ProjectFolder> m_folder;
};

void TestProjectPages::init()
{
    m_folder = std::make_unique<varnotest::ProjectFolder>();
    QVERIFY(m_folder->isValid());
    QVERIFY(gl_sqlite3db.execDML(
        QStringLiteral("insert into tbl_region(region_name,region_id) values('North',1)")));
}

void TestProjectPages::cleanup()
{
    m_folder.reset();
}

void TestProjectPages::addProject_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("message"); // empty: accepted
    QTest::newRow("Office") << "Office"
                            << "";
    QTest::newRow("another letter case") << "home"
                                         << "";
    QTest::newRow("blanks kept") << " Bob's lab "
                                 << "";
    QTest::newRow("empty") << ""
                           << "Please enter the complete content";
    QTest::newRow("existing") << "Home"
                              << "The project name has existed";
    QTest::newRow("held by an import") << "Yard" // its folder is being written
                                       << "The project name has existed";
    QTest::newRow("../x") << "../x"
                          << "Invalid project name!";
    QTest::newRow("path") << "a/b"
                          << "Invalid project name!";
    QTest::newRow("dot dot") << ".."
                             << "Invalid project name!";
}

void TestProjectPages::addProject()
{
    QFETCH(QString, name);
    QFETCH(QString, message);
    QVERIFY(makeProjectFolder(QFileInfo(databaseFolder()).absolutePath(), QStringLiteral("x"))); // "../x"
    const QStringList held{QStringLiteral("Yard")};
    holdProjectNames(held);
    const auto release = qScopeGuard([&] { releaseProjectNames(held); });
    const QStringList before = projectState();

    PageSettingProject page(QStringLiteral("Project Setting"), QStringLiteral("Project Setting"));
    page.resize(1920, 1000);
    page.show();
    emit gl_socket.signalsPageEnter();
    QStringList dialogMessages;
    bool accepted = false;
    whenModal([&](QWidget *modal) {
        auto *dialog = qobject_cast<ProjectAddDlg *>(modal);
        QVERIFY(dialog);
        connect(dialog, &MyDialog::signalsInformation, [&](QString text) { dialogMessages << text; });
        dialog->nameEdit()->setText(name);
        if (name == QLatin1String("Office"))
            QVERIFY(saveShot(*dialog, QStringLiteral("project-add"), QColor(0x1F, 0x29, 0x33)));
        dialog->pushButtonAdd_clicked();
        accepted = dialog->result() == QDialog::Accepted && !dialog->isVisible();
        if (!accepted)
            dialog->close();
    });
    page.pushButtonAddProject_clicked();

    QCOMPARE(dialogMessages, message.isEmpty() ? QStringList() : QStringList{message});
    QCOMPARE(accepted, message.isEmpty());
    // The current project and its open database stay as they were.
    QString current;
    getCurrentProject(current);
    QCOMPARE(current, QStringLiteral("Home"));
    QVERIFY(isRecordExist(QStringLiteral("select * from tbl_region where region_name='North'")));
    QVERIFY(QFile::exists(gl_curPath + QStringLiteral("/x/x.db3")));
    if (!message.isEmpty()) {
        QCOMPARE(projectState(), before);
        return;
    }
    QVERIFY(rowNames(page).contains(name));
    QString low, high, network;
    getProjectNode(name, QStringLiteral("indoor_temperature_low"), low);
    getProjectNode(name, QStringLiteral("indoor_temperature_high"), high);
    getProjectNode(name, QStringLiteral("network_type"), network);
    QCOMPARE(low + ' ' + high + ' ' + network, QStringLiteral("20 35 0"));
    QCOMPARE(seedRows(databaseFolder() + '/' + name + '/' + name + ".db3"),
             QStringLiteral("Varno 3.01;1;0"));
    if (name == QLatin1String("Office"))
        QVERIFY(saveShot(page, QStringLiteral("project-setting"), QColor(0x3D, 0x53, 0x66)));
}

void TestProjectPages::rows()
{
    QVERIFY(addListedProject(QStringLiteral("Office")));
    QVERIFY(addListedProject(QStringLiteral("Yard")));
    ::addProject(QStringLiteral("NoFolder"));
    PageSettingProject page(QStringLiteral("Project Setting"), QStringLiteral("Project Setting"));
    page.resize(1920, 1000);
    page.show();
    emit gl_socket.signalsPageEnter();
    QCOMPARE(rowNames(page), (QStringList{"Home (current)", "NoFolder", "Office", "Yard"}));
    QSignalSpy hub(&gl_socket, &BroadcastSocket::signalsInformation);
    QSignalSpy pages(&gl_socket, &BroadcastSocket::signalsPageIdChanged);

    // A project list that cannot be written keeps the entry and the whole folder.
    const QString list = projectListPath();
    QVERIFY(QFile::rename(list, list + ".away") && QDir().mkdir(list));
    row(page, QStringLiteral("Office"))->deleteButton()->click();
    QVERIFY(QDir().rmdir(list) && QFile::rename(list + ".away", list));
    QCOMPARE(hub.takeFirst().first().toString(), QStringLiteral("Failed to delete the project!"));
    QVERIFY(QFileInfo::exists(databaseFolder() + QStringLiteral("/Office/Office.db3")));

    // Deleting asks nothing and removes the entry and the whole folder.
    row(page, QStringLiteral("Office"))->deleteButton()->click();
    row(page, QStringLiteral("NoFolder"))->deleteButton()->click();
    QCOMPARE(rowNames(page), (QStringList{"Home (current)", "Yard"}));
    QVERIFY(!QFileInfo::exists(databaseFolder() + QStringLiteral("/Office")));
    QVERIFY(QFileInfo::exists(databaseFolder() + QStringLiteral("/Yard/Yard.db3")));

    page.findChild<QtMaterialFlatButton *>(QStringLiteral("pushButtonUpload"))->click();
    QCOMPARE(hub.size(), 1);
    QCOMPARE(hub.first().first().toString(), QStringLiteral("Please select database!"));

    // The checked rows, in row order, go to the upload dialog.
    row(page, QStringLiteral("Yard"))->checkBox()->setChecked(true);
    row(page, QStringLiteral("Home"))->checkBox()->setChecked(true);
    QStringList handed;
    whenModal([&](QWidget *modal) {
        auto *dialog = qobject_cast<ProjectUploadDlg *>(modal);
        QVERIFY(dialog);
        handed = dialog->projectNames;
        dialog->close();
    });
    page.findChild<QtMaterialFlatButton *>(QStringLiteral("pushButtonUpload"))->click();
    QCOMPARE(handed, (QStringList{"Home", "Yard"}));

    // A press on a row opens the project's information.
    ProjectSettingItem *yard = row(page, QStringLiteral("Yard"));
    // The tile's own press, as DynamicWidget reports it (the kinetic canvas keeps
    // synthetic mouse events of an offscreen dialog from its children).
    emit yard->signalsPressed();
    QCOMPARE(pages.size(), 1);
    QCOMPARE(pages.first().mid(0, 4),
             (QVariantList{"Project Information", "Project Information", "Yard", ""}));
}

void TestProjectPages::information_data()
{
    QTest::addColumn<QString>("low");
    QTest::addColumn<QString>("high");
    QTest::addColumn<QString>("message"); // empty: saved
    QTest::newRow("30 to 20") << "30"
                              << "20"
                              << "Invalid indoor temperature range!";
    QTest::newRow("25 to 25") << "25"
                              << "25"
                              << "";
    QTest::newRow("-5 to 20") << "-5"
                              << "20"
                              << "";
    QTest::newRow("empty") << ""
                           << "20"
                           << "Please input the complete content!";
}

void TestProjectPages::information()
{
    QFETCH(QString, low);
    QFETCH(QString, high);
    QFETCH(QString, message);
    QVERIFY(addListedProject(QStringLiteral("Office")));
    PageSettingProjectInformation page(QStringLiteral("Project Information"),
                                       QStringLiteral("Project Information"));
    page.resize(1920, 1000);
    page.show();
    emit gl_socket.signalsPageEnter(QStringLiteral("Office"), QString());
    auto *name = page.findChild<QtMaterialLineEdit *>(QStringLiteral("lineEditName"));
    auto *lowEdit = page.findChild<QtMaterialLineEdit *>(QStringLiteral("lineEditLow"));
    auto *highEdit = page.findChild<QtMaterialLineEdit *>(QStringLiteral("lineEditHigh"));
    QCOMPARE(name->text() + ' ' + lowEdit->text() + ' ' + highEdit->text(), QStringLiteral("Office 20 35"));
    QVERIFY(!name->isEnabled());
    if (low == QLatin1String("-5"))
        QVERIFY(saveShot(page, QStringLiteral("project-information"), QColor(0x26, 0x34, 0x40)));

    lowEdit->clear();
    QTest::keyClicks(lowEdit, low);
    highEdit->setText(high);
    QSignalSpy hub(&gl_socket, &BroadcastSocket::signalsInformation);
    QSignalSpy pages(&gl_socket, &BroadcastSocket::signalsPageIdChanged);
    page.findChild<QtMaterialFlatButton *>(QStringLiteral("pushButtonSave"))->click();

    QString storedLow, storedHigh;
    getProjectNode(QStringLiteral("Office"), QStringLiteral("indoor_temperature_low"), storedLow);
    getProjectNode(QStringLiteral("Office"), QStringLiteral("indoor_temperature_high"), storedHigh);
    if (message.isEmpty()) {
        QCOMPARE(storedLow + ' ' + storedHigh, low + ' ' + high);
        QCOMPARE(hub.size(), 0);
        QCOMPARE(pages.size(), 1);
        QCOMPARE(pages.first().first().toString(), QStringLiteral("Project Setting"));
    } else {
        QCOMPARE(storedLow + ' ' + storedHigh, QStringLiteral("20 35"));
        QCOMPARE(hub.size(), 1);
        QCOMPARE(hub.first().first().toString(), message);
        QCOMPARE(pages.size(), 0);
    }
}

VARNO_TEST_MAIN(TestProjectPages)
#include "tst_projectpages.moc"
