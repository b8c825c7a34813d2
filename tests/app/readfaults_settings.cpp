// Sweep actions of the system settings and project transfer: network, address, about, projects,
// upload and download.

#include "readfaults.h"

#include "roomproject.h"
#include "simbus.h"
#include "simframe.h"
#include "simipmodule.h"

#include "app/pagefactory.h"
#include "bus/broadcastsocket.h"
#include "settings/httpserver.h"
#include "settings/pagesettingchangedeviceaddress.h"
#include "settings/pagesettingnetwork.h"
#include "settings/pagesettingproject.h"
#include "settings/projectadddlg.h"
#include "settings/projectdownloaddlg.h"
#include "settings/projectuploaddlg.h"
#include "settings/transfersettings.h"
#include "shell/kestmessagebox.h"
#include "store/databaseinit.h"
#include "store/projectlist.h"
#include "store/settings.h"

#include <QAbstractButton>
#include <QDir>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <qtmaterialcombobox.h>
#include <qtmaterialflatbutton.h>
#include <qtmateriallabel.h>
#include <qtmateriallineedit.h>

#include <memory>

namespace readfaults {

namespace {

using faultsweep::Action;
using faultsweep::Run;

const QString MacB = QStringLiteral("0A-1B-2C-3D-4E-5F-60-72");
const QString Office = QStringLiteral("Office");

QString networkRow(int subnet, int device, const QString &mac, const QString &password)
{
    return QStringLiteral("update tbl_network set subnet_id=%1,device_id=%2,ip_port_mac='%3',password='%4',"
                          "server_ip='203.0.113.30',domain_name='router.lan',server_type=1,"
                          "static_server_ip='203.0.113.30',static_domain='usa.kestgrid.invalid'")
        .arg(subnet)
        .arg(device)
        .arg(mac, password);
}

// The current project's network row and two modules of its history.
void seedNetwork()
{
    roomproject::exec(networkRow(1, 100, QStringLiteral("0A-1B-2C-3D-4E-5F-60-71"), QStringLiteral("1111")));
    roomproject::exec(QStringLiteral("insert into tbl_ip_port_mac(ip_port_mac,password,update_time) values"
                                     "('0A-1B-2C-3D-4E-5F-60-71','1111','20260101000000'),"
                                     "('%1','2222','20260102000000')")
                          .arg(MacB));
}

// A second listed project "Office": a copy of Home's database with a network row of its
// own, or a database that is no project's.
void seedOffice(bool project)
{
    seedNetwork();
    QString home;
    getCurrentProject(home);
    addProject(Office);
    QDir().mkpath(projectFolder(Office));
    gl_sqlite3db.close();
    if (project)
        QFile::copy(projectDatabasePath(home), projectDatabasePath(Office));
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("seed"));
        db.setDatabaseName(projectDatabasePath(Office));
        db.open();
        QSqlQuery(db).exec(project ? networkRow(2, 200, MacB, QStringLiteral("2222"))
                                   : QStringLiteral("create table t(x)"));
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("seed"));
    gl_sqlite3db.open();
}

void setTransferServer()
{
    setConfig(QLatin1String(TransferServerGroup), QLatin1String(TransferServerKey),
              QStringLiteral("127.0.0.1"));
}






// "Network Setting" entered, changed by change(page) and saved; with sync the IP module
// (1/100 on the bus) is given the settings first, else "Cancel" stores them without it.
void saveNetwork(Run &run, bool startAtEntry, bool sync,
                 const std::function<void(PageSettingNetwork *)> &change)
{
    if (sync)
        run.bus().add<SimIpModule>(1, 100);
    else
        run.answerModalsWith([](QWidget *dialog) {
            auto *box = qobject_cast<KestMessageBox *>(dialog);
            if (box)
                box->reject();
            return box != nullptr;
        });
    auto page = shownPage<PageSettingNetwork>("Network Setting");
    if (startAtEntry)
        run.start();
    emit gl_socket.signalsPageEnter();
    if (!startAtEntry)
        run.start();
    change(page.get());
    int heard = 0;
    QObject::connect(&gl_socket, &BroadcastSocket::signalsInformation, page.get(), [&heard] { ++heard; });
    page->saveButton()->click();
    page->writeTimer()->start(3600 * 1000); // no resend: the module answers at once
    Run::waitUntil([&heard] { return heard > 0; });
}

void typePassword(PageSettingNetwork *page)
{
    page->passwordField()->setText(QStringLiteral("4321"));
}

// The project box of "Network Setting" set to Office. The page's read of the form that
// follows is its entry (swept above): a failure of it may be said after a switch made whole.
void switchToOffice(Run &run)
{
    auto page = shownPage<PageSettingNetwork>("Network Setting");
    emit gl_socket.signalsPageEnter();
    const QString home = gl_sqlite3db.getDbName();
    getNetworkConfig(); // the bus settings are Home's, as at the start
    run.start();
    page->projectBox()->setCurrentIndex(page->projectBox()->findText(Office));
    run.note(QStringLiteral("open: ") + QFileInfo(gl_sqlite3db.getDbName()).fileName());
    // The next run starts on Home's database, as its project list says.
    gl_sqlite3db.close();
    gl_sqlite3db.setDbName(home);
}

// The transfer server on 127.0.0.1:6001: answers a whole request with body.
class Answerer : public QTcpServer
{
public:
    explicit Answerer(const QByteArray &body)
    {
        listen(QHostAddress(QStringLiteral("127.0.0.1")), 6001);
        connect(this, &QTcpServer::newConnection, this, [this, body] {
            QTcpSocket *socket = nextPendingConnection();
            connect(socket, &QTcpSocket::readyRead, socket, [socket, body, in = QByteArray()]() mutable {
                in += socket->readAll();
                const int head = in.indexOf("\r\n\r\n");
                if (head >= 0 && in.size() >= head + 4 + HttpServer::contentLength(in.left(head)))
                    socket->write("HTTP/1.1 200 OK\r\nConnection: close\r\nContent-Length: " +
                                  QByteArray::number(body.size()) + "\r\n\r\n" + body);
            });
        });
    }
};

} // namespace

QList<faultsweep::Action> settingsActions()
{
    QList<Action> actions;
    auto row = [&](const char *name, std::function<void()> seed, std::function<void(Run &)> script,
                   std::function<QString()> observe = nullptr, int sentFirst = 0) {
        actions << Action{
            QStringLiteral("settings"), QLatin1String(name), seed, script, observe, sentFirst, false};
    };

    row(
        "Network Setting: entering, then Save", seedNetwork,
        [](Run &run) { saveNetwork(run, true, false, typePassword); }, networkGlobals);
    row(
        "Network Setting: picking a module's MAC, then Save", seedNetwork,
        [](Run &run) {
            saveNetwork(run, false, false, [](PageSettingNetwork *p) {
                p->macBox()->setCurrentIndex(p->macBox()->findText(MacB));
            });
        },
        networkGlobals);
    // The module is given the settings before they are stored: two frames go first.
    row(
        "Network Setting: Save synchronized with the IP module", seedNetwork,
        [](Run &run) { saveNetwork(run, false, true, typePassword); }, networkGlobals, 2);
    row(
        "Network Setting: switching the project", [] { seedOffice(true); }, switchToOffice, networkGlobals);
    row(
        "Network Setting: switching to a database that is no project's", [] { seedOffice(false); },
        switchToOffice, networkGlobals);
    // Home's rows cannot be emptied into a fresh database: the switch is given up and Home read again.
    row(
        "Network Setting: switching to a database that cannot be formatted",
        [] {
            seedOffice(false);
            roomproject::exec(
                QStringLiteral("insert into tbl_log(log_type,log_time) values(0,'2026-12-06')"));
            roomproject::exec(QStringLiteral("create trigger kept before delete on tbl_log "
                                             "begin select raise(abort,'kept'); end"));
        },
        switchToOffice, networkGlobals);
    // The server box may show the address for its alias when that is not read: a save stores both alike.
    row("Network Setting: the IP module joins and is asked", seedNetwork, [](Run &run) {
        auto *module = run.bus().add<SimIpModule>(1, 100);
        module->setServer(QStringLiteral("203.0.113.30"), 8888, "9876", 1);
        module->setDomain(QStringLiteral("eu.kestgrid.invalid"));
        auto page = shownPage<PageSettingNetwork>("Network Setting");
        emit gl_socket.signalsPageEnter();
        run.start();
        emit page->searchIcon()->signalsPressed();
        handFrame(module->joinFrame());
        page->queryTimer()->start(3600 * 1000);
        Run::waitUntil(
            [&page] { return page->domainBox()->currentText() == QLatin1String("eu.kestgrid.invalid"); });
        run.note(QStringList{page->subnetField()->text(), page->deviceField()->text(),
                             page->macBox()->currentText(), page->passwordField()->text(),
                             QString::number(page->modulePort())}
                     .join(QLatin1Char(' ')));
    });
    row(
        "Change Device Address: Save",
        [] {
            for (const char *table : {"tbl_log(log_type,log_time)", "tbl_message_log(message_id,recv_time)"})
                roomproject::exec(QStringLiteral("insert into %1 values(0,'2000-01-01 00:00:00'),"
                                                 "(0,'2026-12-06 00:00:00')")
                                      .arg(QLatin1String(table)));
        },
        [](Run &run) {
                auto page = shownPage<PageSettingChangeDeviceAddress>("Change Device Address");
            page->setClock([] { return QDateTime(QDate(2026, 12, 7), QTime(9, 0)); });
            emit gl_socket.signalsPageEnter();
            run.start();
            page->subnetField()->setText(QStringLiteral("2"));
            page->retainDaysField()->setText(QStringLiteral("30"));
            page->saveButton()->click();
        },
        [] {
            return QStringList{gl_subId, gl_devId, gl_lockPassword, gl_retainDays}.join(QLatin1Char('|'));
        });
    row("About: the vendor's name and phone", nullptr, [](Run &run) {
        auto page = shownPage<MyDialog>("About");
        run.start();
        for (const char *field : {"lineEditName", "lineEditPhone"}) {
            child<QtMaterialLineEdit>(page.get(), field)->setText(QStringLiteral("Ann's 555"));
            emit child<QtMaterialLineEdit>(page.get(), field)->editingFinished();
        }
    });
    row("Project Setting: Add Project", nullptr, [](Run &run) {
        ProjectAddDlg dialog;
        dialog.show();
        dialog.nameEdit()->setText(Office);
        run.start();
        press(&dialog, "pushButtonAdd");
        run.note(QStringLiteral("accepted: %1").arg(dialog.result()));
    });
    row(
        "Project Setting: deleting a project", [] { seedOffice(true); },
        [](Run &run) {
                auto page = shownPage<PageSettingProject>("Project Setting");
            emit gl_socket.signalsPageEnter();
            run.start();
            page->slotsProjectDelete(Office);
        });
    row("Project Information: Save", nullptr, [](Run &run) {
        auto page = shownPage<MyDialog>("Project Information");
        emit gl_socket.signalsPageEnter(QStringLiteral("Home"));
        run.start();
        child<QtMaterialLineEdit>(page.get(), "lineEditLow")->setText(QStringLiteral("18"));
        press(page.get(), "pushButtonSave");
    });
    row(
        "Project Setting: Upload to another installation", [] { seedOffice(true); },
        [](Run &run) {
            HttpServer receiver; // takes the archive in, as a receiving installation does
            receiver.listen(QHostAddress(QStringLiteral("127.0.0.1")), 0);
            QObject::connect(&receiver, &HttpServer::signalsReplyFinished, &receiver, [&receiver] {
                receiver.answerImport(true);
                receiver.abortConnections();
            });
            ProjectUploadDlg dialog;
            dialog.projectNames = QStringList{QStringLiteral("Home"), Office};
            dialog.show();
            press(&dialog, "pushButtonSendToOtherDevice");
            child<QtMaterialLabel>(&dialog, "labelCode")->setText(QStringLiteral("0007"));
            const quint16 port = receiver.serverPort();
            int said = 0;
            QObject::connect(&dialog, &MyDialog::signalsInformation, &dialog, [&said] { ++said; });
            run.start();
            handFrame(SimFrame::build(QByteArray(4, 0), 1, 30, 1, 0x2025, 255, 255,
                                   QByteArray::fromHex("3800077f000001") + char(port >> 8) + char(port)));
            Run::waitUntil([&said] { return said > 0; });
        });
    row("Project Setting: Upload to the server, its code kept", setTransferServer, [](Run &run) {
        Answerer server(R"({"code":0,"data":{"token":"T42"}})");
        ProjectUploadDlg dialog;
        dialog.projectNames = QStringList{QStringLiteral("Home")};
        dialog.show();
        run.start();
        press(&dialog, "pushButtonSendToServer");
        run.note(child<QtMaterialLabel>(&dialog, "labelCodeTitle")->text());
    });
    row("Project Setting: Download from the server", setTransferServer, [](Run &run) {
        QTemporaryDir folder; // an archive of Home, imported as Home_1
        QFile archive(folder.filePath(QStringLiteral("a.zip")));
        packProjects({QStringLiteral("Home")}, archive.fileName());
        archive.open(QIODevice::ReadOnly);
        Answerer server(archive.readAll());
        ProjectDownloadDlg dialog;
        dialog.show();
        child<QtMaterialLineEdit>(&dialog, "lineEditCode")->setText(QStringLiteral("42"));
        run.start();
        press(&dialog, "pushButtonDownloadServer");
    });
    return actions;
}

} // namespace readfaults
