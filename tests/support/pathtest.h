#pragma once

// Shared by the end-to-end tests that drive the real main window in the test
// process: the application folder with the own bus address and the current
// project in the "Local Network" style, the window shown and logged in, and the
// end of a helper process.

#include "bus/broadcastsocket.h"
#include "store/globals.h"
#include "store/projectlist.h"

#include <QProcess>
#include <QSignalSpy>
#include <QString>
#include <QWidget>
#include <QtTest>

namespace varnotest {

// Points the application at folder (made if missing), sets a 1920 x 1080 screen
// and the own address 1/254, makes the project list and the current project's
// database, and puts that project in the "Local Network" style.
inline bool useApplicationFolder(const QString &folder)
{
    QDir().mkpath(folder);
    gl_curPath = folder;
    screen_cx = 1920;
    screen_cy = 1080;
    gl_subId = QStringLiteral("1");
    gl_devId = QStringLiteral("254");
    gl_socket.setId(1, 254);
    preInitProject();
    QString project;
    if (!getCurrentProject(project))
        return false;
    setProjectNode(project, QStringLiteral("network_type"), QStringLiteral("0"));
    return true;
}

// Shows the main window at 1920 x 1080 and waits until the "Local Network" style
// reports itself logged in. Use with QVERIFY.
inline bool showLoggedIn(QWidget *window)
{
    QSignalSpy state(&gl_socket, &BroadcastSocket::signalsNetworkConnectState);
    window->showNormal();
    window->resize(1920, 1080);
    if (!QTest::qWaitForWindowExposed(window))
        return false;
    if (state.isEmpty() && !state.wait(3000))
        return false;
    return state.at(0).at(1).toString() == QLatin1String("Success");
}

// Ends a helper process that stops when its standard input closes.
inline void endProcess(QProcess &process)
{
    if (process.state() == QProcess::NotRunning)
        return;
    process.closeWriteChannel();
    if (!process.waitForFinished(2000)) {
        process.kill();
        process.waitForFinished(2000);
    }
}

} // namespace varnotest
