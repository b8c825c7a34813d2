// Sweep actions of the network settings: the form saved, with or without the IP module, and the
// project switched to a database that is no project's.

#include "readfaults.h"

#include "simbus.h"
#include "simipmodule.h"

#include "settings/pagesettingnetwork.h"
#include "shell/kestmessagebox.h"
#include "store/cppsqlite3db.h"
#include "store/databaseinit.h"
#include "store/projectlist.h"

#include <QDir>
#include <QFileInfo>
#include <qtmaterialcombobox.h>
#include <qtmaterialflatbutton.h>
#include <qtmateriallineedit.h>

namespace readfaults {

namespace {

using faultsweep::Action;
using faultsweep::Run;

// Home's network row and two modules of its history; with a project "Office" listed whose
// database is no project's, and with Home's logs kept from any deletion, when asked.
void seedNetwork(bool office = false, bool logsKept = false)
{
    QStringList sql{"update tbl_network set subnet_id=1,device_id=100,ip_port_mac='0A-1B-2C-3D-4E-5F-60-71',"
                    "password='1111',server_ip='203.0.113.30',domain_name='router.lan',server_type=1,"
                    "static_server_ip='203.0.113.30',static_domain='usa.kestgrid.invalid'",
                    "insert into tbl_ip_port_mac(ip_port_mac,password,update_time) values"
                    "('0A-1B-2C-3D-4E-5F-60-71','1111','20260101000000'),"
                    "('0A-1B-2C-3D-4E-5F-60-72','2222','20260102000000')"};
    if (logsKept)
        sql << "insert into tbl_log(log_type,log_time) values(0,'2026-12-06')"
            << "create trigger kept before delete on tbl_log begin select raise(abort,'kept'); end";
    for (const QString &statement : sql)
        gl_sqlite3db.execDML(statement);
    QFile file(projectDatabasePath("Office"));
    if (office && addProject("Office") && QDir().mkpath(projectFolder("Office")) &&
        file.open(QIODevice::WriteOnly))
        file.write("no project");
}

// "Network Setting" entered and saved, with the module's MAC picked if given, else a password
// typed. With sync the IP module (1/100) is given the settings first; else "Cancel" stores them.
std::function<void(Run &)> saveNetwork(bool startAtEntry, bool sync, const QString &mac = QString())
{
    return [=](Run &run) {
        if (sync)
            run.bus().add<SimIpModule>(1, 100);
        else
            run.answerModalsWith(
                [](QWidget *box) { return qobject_cast<KestMessageBox *>(box) && box->close(); });
        auto page = shownPage<PageSettingNetwork>("Network Setting");
        if (startAtEntry)
            run.start();
        emit gl_socket.signalsPageEnter();
        if (!startAtEntry)
            run.start();
        if (mac.isEmpty())
            page->passwordField()->setText("4321");
        else
            page->macBox()->setCurrentIndex(page->macBox()->findText(mac));
        int heard = 0;
        QObject::connect(&gl_socket, &BroadcastSocket::signalsInformation, page.get(),
                         [&heard] { ++heard; });
        page->saveButton()->click();
        page->writeTimer()->start(3600 * 1000); // no resend: the module answers at once
        Run::waitUntil([&heard] { return heard > 0; });
    };
}

// The project box of "Network Setting" set to Office. The page's read of the form that follows
// is its entry (swept above): a failure of it may be said after a switch made whole.
void switchToOffice(Run &run)
{
    auto page = shownPage<PageSettingNetwork>("Network Setting");
    emit gl_socket.signalsPageEnter();
    const QString home = gl_sqlite3db.getDbName();
    getNetworkConfig(); // the bus settings are Home's, as at the start
    run.start();
    page->projectBox()->setCurrentIndex(page->projectBox()->findText("Office"));
    run.note("open: " + QFileInfo(gl_sqlite3db.getDbName()).fileName());
    gl_sqlite3db.close(); // the next run starts on Home's database, as its project list says
    gl_sqlite3db.setDbName(home);
}

} // namespace

QList<Action> settingsActions()
{
    // In the last, Home's logs cannot be emptied into the fresh database: the switch is given up.
    return {{"settings", "Network Setting: entering, then Save", [] { seedNetwork(); },
             saveNetwork(true, false), networkGlobals},
            {"settings", "Network Setting: picking a module's MAC, then Save", [] { seedNetwork(); },
             saveNetwork(false, false, "0A-1B-2C-3D-4E-5F-60-72"), networkGlobals},
            {"settings", "Network Setting: Save synchronized with the IP module", [] { seedNetwork(); },
             saveNetwork(false, true), networkGlobals, 2}, // two frames to the module go first
            {"settings", "Network Setting: switching to a database that is no project's",
             [] { seedNetwork(true); }, switchToOffice, networkGlobals},
            {"settings", "Network Setting: switching to a database that cannot be formatted",
             [] { seedNetwork(true, true); }, switchToOffice, networkGlobals}};
}

} // namespace readfaults
