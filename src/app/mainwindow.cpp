#include "mainwindow.h"

#include "app/pagefactory.h"
#include "bus/broadcastsocket.h"
#include "bus/localaddress.h"
#include "records/messagebar.h"
#include "settings/projectselectdlg.h"
#include "settings/projectswitch.h"
#include "shell/darkpalette.h"
#include "shell/framedialog.h"
#include "shell/loginframes.h"
#include "shell/lossnotice.h"
#include "shell/menubar.h"
#include "shell/mydialog.h"
#include "shell/networkstyledlg.h"
#include "shell/panelmessageintake.h"
#include "store/cppsqlite3db.h"
#include "store/devicelog.h"
#include "store/globals.h"
#include "store/projectlist.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGridLayout>
#include <QGuiApplication>
#include <QScreen>
#include <QMenuBar>
#include <QStatusBar>
#include <QVBoxLayout>
#include <qtmaterialcanvas.h>
#include <qtmaterialgroupbox.h>
#include <qtmaterialsnackbar.h>

MainWindow::MainWindow(QWidget *parent)
    : QMainWindow(parent)
{
    m_snackbar = new QtMaterialSnackbar(nullptr);
    m_intake = new PanelMessageIntake(this);
    m_loginTries = 0;

    setObjectName(QStringLiteral("MainWindow"));
    resize(800, 600);
    auto *central = new QWidget(this);
    central->setObjectName(QStringLiteral("centralwidget"));
    setCentralWidget(central);
    auto *bar = new QMenuBar(this);
    bar->setObjectName(QStringLiteral("menubar"));
    QMainWindow::setMenuBar(bar);
    auto *status = new QStatusBar(this);
    status->setObjectName(QStringLiteral("statusbar"));
    setStatusBar(status);
    setWindowTitle(QStringLiteral("MainWindow"));

    m_snackbar->setParent(this);
    fillBackground(this, QColor(0x26, 0x34, 0x40));

    m_menuBar = new MenuBar(nullptr);
    connect(m_menuBar, &MenuBar::signalsProjectSetting, this, &MainWindow::slotsProjectSetting);
    connect(m_menuBar, &MenuBar::signalsNetworkSetting, this, &MainWindow::slotsNetworkSetting);

    QtMaterialCanvas *canvas = nullptr;
    pageArea = makeCanvasBox(this, canvas);

    auto *messageBar = new MessageBar(nullptr);
    m_messageBar = messageBar;

    auto *grid = new QGridLayout(central);
    grid->setSizeConstraint(QLayout::SetNoConstraint);
    grid->setSpacing(0);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(m_menuBar, 0, 0);
    grid->addWidget(canvas, 1, 0);
    grid->addWidget(m_messageBar, 2, 0);
    grid->setRowStretch(1, 1);

    connect(&timerLogin, &QTimer::timeout, this, &MainWindow::slotsConnectNetwork);
    connect(&timerMessage, &QTimer::timeout, this, &MainWindow::slotsUniversalSwitch);
    // After the intake's sweep: the rows that failed to read are read again.
    connect(&timerMessage, &QTimer::timeout, messageBar, &MessageBar::showWaiting);

    connect(&gl_socket, &BroadcastSocket::signalsInformation, this, &MainWindow::slotsInformation);
    setDeviceWritesLostHandler([](int count) {
        LossNotice::add("MainWindow",
                        QT_TRANSLATE_NOOP("MainWindow", "%n device report(s) could not be stored!"), count);
    });
    connect(&gl_socket, &BroadcastSocket::dataIsComming, this, &MainWindow::dataIsComming);
    connect(&gl_socket, &BroadcastSocket::signalsClosed, this, &QWidget::close);
    connect(&gl_socket, &BroadcastSocket::signalsPageIdChanged, this, &MainWindow::slotsPageIdChanged);
    connect(&gl_socket, &BroadcastSocket::signalsNetworkOpen, this, &MainWindow::slotsNetworkOpen);
    connect(&gl_socket, &BroadcastSocket::signalsNetworkConnectState, this,
            &MainWindow::slotsNetworkConnectState);

    // Cover the screen even where no window manager applies the full-screen state.
    if (QScreen *screen = QGuiApplication::primaryScreen())
        setGeometry(screen->geometry());
    showFullScreen();
    setWindowTitle(QCoreApplication::applicationName());
    preInit();
}

MainWindow::~MainWindow()
{
    setDeviceWritesLostHandler(nullptr);
}

void MainWindow::preInit()
{
    preCreate(QStringLiteral("Home"), QStringLiteral("Home"));
    emit gl_socket.signalsPageCurrent(QStringLiteral("Home"), QStringLiteral("Home"), QString(), QString());

    QString project;
    getCurrentProject(project);
    QString style;
    getProjectNode(project, QStringLiteral("network_type"), style);
    gl_net_style = style.toInt();

    emit gl_socket.signalsProjectStateChanged(project);
    emit gl_socket.signalsNetworkStateChanged(false);
    emit gl_socket.signalsNetworkOpen();
    timerMessage.start(1000);
}

void MainWindow::preCreate(const QString &id, const QString &name)
{
    for (MyDialog *page : qAsConst(pageList)) {
        if (page->getId() == id) {
            page->setName(name);
            return;
        }
    }
    MyDialog *page = createPage(id, name);
    if (!page)
        return;
    pageList.append(page);
    if (!pageLayout) {
        pageLayout = new QVBoxLayout(pageArea);
        pageLayout->setSizeConstraint(QLayout::SetNoConstraint);
        pageLayout->setSpacing(0);
        pageLayout->setContentsMargins(0, 0, 0, 0);
    }
    pageLayout->addWidget(page);
}

void MainWindow::slotsPageIdChanged(QString id, QString name, QString prm1, QString prm2)
{
    preCreate(id, name);
    emit gl_socket.signalsPageCurrent(id, name, prm1, prm2);
    const bool home = id == QLatin1String("Home");
    m_menuBar->setHomePage(home);
    m_messageBar->setVisible(home);
    for (MyDialog *page : qAsConst(pageList)) {
        if (page->isVisible() && page->getId() != id)
            emit gl_socket.signalsPageLeave(page->getId());
        page->setVisible(page->getId() == id);
    }
    emit gl_socket.signalsStopRefresh(false);
    emit gl_socket.signalsPageEnter(prm1, prm2);
}

void MainWindow::slotsInformation(QString info)
{
    // A notice already waiting behind the one on screen is not queued twice.
    if (isVisible() && m_snackbar->messages().indexOf(info, 1) < 0)
        m_snackbar->addMessage(info);
}

void MainWindow::slotsProjectSetting(QString projectName)
{
    ProjectSelectDlg dialog(nullptr);
    dialog.projectName = projectName;
    dialog.initDlgCtrl();
    if (dialog.exec() != QDialog::Accepted)
        return;
    const QString chosen = dialog.projectName;
    if (chosen == projectName)
        return;
    if (!isValidProjectName(chosen)) {
        slotsInformation(tr("Invalid project name: %1").arg(chosen));
        return;
    }
    if (!switchProjectDatabase(chosen)) {
        slotsInformation(tr("Failed to switch the project!"));
        return;
    }

    emit gl_socket.signalsProjectStateChanged(chosen);
    emit gl_socket.signalsNetworkStateChanged(false);
    emit gl_socket.signalsNetworkOpen();
}

void MainWindow::slotsNetworkOpen()
{
    timerLogin.stop();
    getHostIP();
    if (!gl_socket.createSocket())
        return;
    m_loginTries = 0;
    timerLogin.start(1000);
}

void MainWindow::slotsConnectNetwork()
{
    if (m_loginTries > 9) {
        if (gl_net_style == NetStyleCloudServer)
            emit gl_socket.signalsNetworkConnectState(false, tr("Failed to connect cloud server"));
        else if (gl_net_style == NetStyleDnsServer)
            emit gl_socket.signalsNetworkConnectState(false, tr("Failed To connect dns server"));
        timerLogin.stop();
        return;
    }
    if (gl_net_style == NetStyleLocalNetwork) {
        emit gl_socket.signalsNetworkConnectState(true, QStringLiteral("Success"));
        timerLogin.stop();
    } else if (gl_net_style == NetStyleCloudServer) {
        QByteArray frame = buildCloudLoginFrame(cloudClientId());
        gl_socket.send(reinterpret_cast<unsigned char *>(frame.data()), frame.size());
    } else if (gl_net_style == NetStyleDnsServer) {
        QByteArray frame = buildDnsLoginFrame();
        gl_socket.send(reinterpret_cast<unsigned char *>(frame.data()), frame.size());
    }
    ++m_loginTries;
}

void MainWindow::dataIsComming(quint8 *recvBuff, qlonglong recvLength)
{
    if (m_intake->takeFrame(recvBuff, recvLength))
        return;
    if (recvLength <= 0)
        return;
    unsigned char buffer[BroadcastSocket::BufferSize] = {};
    const qlonglong n = qMin<qlonglong>(recvLength, BroadcastSocket::BufferSize);
    memcpy(buffer, recvBuff, static_cast<size_t>(n));
    if (!gl_socket.checkRecvBuff_0xCCCC(buffer, n))
        return;
    bool ok = false;
    QString text;
    if (!readLoginAnswer(buffer, n, ok, text))
        return;
    emit gl_socket.signalsNetworkConnectState(ok, text);
    timerLogin.stop();
}

void MainWindow::slotsNetworkConnectState(bool loginSuccess, QString msg)
{
    emit gl_socket.signalsNetworkStateChanged(loginSuccess);
    if (!loginSuccess)
        emit gl_socket.signalsInformation(msg);
}

void MainWindow::slotsUniversalSwitch()
{
    m_intake->slotsUniversalSwitch();
}

void MainWindow::slotsNetworkSetting()
{
    NetworkStyleDlg dialog(nullptr);
    dialog.netStyle = NetStyle(gl_net_style);
    dialog.initDlgCtrl();
    if (dialog.exec() != QDialog::Accepted || int(dialog.netStyle) == gl_net_style)
        return;
    gl_net_style = int(dialog.netStyle);
    QString project;
    getCurrentProject(project);
    setProjectNode(project, QStringLiteral("network_type"), QString::asprintf("%d", gl_net_style));
    emit gl_socket.signalsNetworkStateChanged(false);
    emit gl_socket.signalsNetworkOpen();
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    timerLogin.stop();
    timerMessage.stop();
    QMainWindow::closeEvent(event);
}
