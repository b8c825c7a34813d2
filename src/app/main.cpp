// Varno: start-up.

#include "app/mainwindow.h"
#include "app/stdincommands.h"
#include "app/terminationsignals.h"
#include "bus/broadcastsocket.h"
#include "shell/panelmessageintake.h"
#include "store/backgroundwork.h"
#include "store/cppsqlite3db.h"
#include "store/devicelog.h"
#include "store/exitbound.h"
#include "store/globals.h"
#include "store/projectlist.h"
#include "store/records.h"
#include "store/safesave.h"
#include "store/settings.h"
#include "store/startupconfig.h"

#include <QApplication>
#include <QDebug>
#include <QGuiApplication>
#include <QSaveFile>
#include <QScreen>
#include <QTimer>
#include <QWidget>

namespace {

// How long the exit waits, once the database is closed, for the work handed to
// workers (a picture read, decoded or written, a project packed). A read from a
// source that never delivers would hold the exit for ever; it is left behind with
// the process, and what it staged is removed.
constexpr int WorkerBoundMs = 1000;
// How long one statement of the exit waits for a database that another process holds:
// the exit tries again while that lasts only so long, rather than wait in one try.
constexpr int ExitBusyMs = 100;

// Ends the work handed to workers, and the process at once when some of it does
// not end within the bound; otherwise answers code for a normal return.
int endWorkers(int code)
{
    if (!BackgroundWork::finish(WorkerBoundMs))
        BackgroundWork::leave(code);
    return code;
}

// When VARNO_SCREENSHOT names a file, the first screen is saved there shortly
// after start-up (used by ./run on machines without a display).
void scheduleScreenshot()
{
    const QString path = qEnvironmentVariable("VARNO_SCREENSHOT");
    if (path.isEmpty())
        return;
    QTimer::singleShot(2000, [path]() {
        // The shown top-level window, as drawn (works on any platform plug-in).
        for (QWidget *widget : QApplication::topLevelWidgets()) {
            if (!widget->isVisible() || !widget->isWindow())
                continue;
            // Written in one step, so a reader never sees half a picture.
            QSaveFile file(path);
            if (file.open(QIODevice::WriteOnly) && commitSaveFile(file, widget->grab().save(&file, "PNG")))
                return;
        }
        qWarning() << "failed to save screenshot to" << path;
    });
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication::setAttribute(Qt::AA_EnableHighDpiScaling);
    QApplication::setAttribute(Qt::AA_UseHighDpiPixmaps);
    QGuiApplication::setHighDpiScaleFactorRoundingPolicy(Qt::HighDpiScaleFactorRoundingPolicy::PassThrough);
    QApplication app(argc, argv);
    // Taken from here on; acted upon once an event loop runs.
    TerminationSignals termination;
    QCoreApplication::setOrganizationName(QStringLiteral("Kest"));
    QCoreApplication::setApplicationName(QStringLiteral("Varno"));
    registerVarnoMetaTypes();

    if (QScreen *screen = QGuiApplication::primaryScreen()) {
        screen_cx = screen->size().width();
        screen_cy = screen->size().height();
    }

    if (checkOnly())
        return 0;
    initConfig();
    preInitProject();

    // SIGTERM, SIGINT and SIGHUP end the program as Exit does: the windows close
    // and the event loops end, and closeAll below commits the gathered writes.
    // Queued, so that what has already arrived (a device reply) is taken first.
    QObject::connect(
        &termination, &TerminationSignals::terminationRequested, &app,
        []() {
            emit gl_socket.signalsClosed();
            QCoreApplication::quit();
        },
        Qt::QueuedConnection);

    MainWindow window(nullptr);
    window.show();

    // From the moment the exit begins, the panel messages wait for its storing, and no
    // statement waits long for a database that another process holds.
    const auto beginExit = [&window]() {
        gl_sqlite3db.setBusyTimeout(ExitBusyMs);
        window.intake()->beginExit();
    };
    QObject::connect(&gl_socket, &BroadcastSocket::signalsClosed, beginExit);
    // The link hands on what it still holds and its answers go out; nothing more
    // arrives once it is closed. What was answered is stored before the database
    // closes (a panel does not send an answered message again), then the devices'
    // reported states and events: each tried again while it fails, within one bound.
    const auto closeAll = [&window, beginExit]() {
        beginExit();
        gl_socket.closeSocket();
        ExitBound bound;
        window.intake()->storeBeforeExit(bound);
        storeDeviceWritesBeforeExit(bound);
        gl_sqlite3db.close();
    };
    QObject::connect(&app, &QCoreApplication::aboutToQuit, closeAll);
    // Exit ends the event loop itself, once the window has closed, as the termination
    // signals do: in a flood of alarms the quit that Qt posts when the last window
    // closes was seen never to arrive, and the program went on without a window.
    QObject::connect(&gl_socket, &BroadcastSocket::signalsClosed, &app, &QCoreApplication::quit);

    scheduleScreenshot();
    StdinCommands::startIfRequested(&app);
    // A signal taken inside a dialog of the start-up has ended that dialog's loop
    // already; no new one is started.
    if (termination.received()) {
        closeAll();
        return endWorkers(0);
    }
    return endWorkers(app.exec());
}
