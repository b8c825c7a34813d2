#include "menubar.h"

#include "bus/broadcastsocket.h"
#include "shell/darkpalette.h"
#include "shell/unlockdlg.h"
#include "store/globals.h"

#include <QGridLayout>
#include <QPixmap>
#include <qtmaterialiconbutton.h>
#include <qtmateriallabel.h>
#include <qtmaterialtheme.h>

MenuBar::MenuBar(QWidget *parent)
    : QWidget(parent)
{
    fillBackground(this, Qt::black);

    labelProjectIcon =
        makePicture(QStringLiteral(":/myImages/png/icon-navigation-home.png"), tr("Project"), 24, 24);
    labelProjectName = new QtMaterialLabel(QString(), this);
    labelProjectName->setObjectName(QStringLiteral("labelProjectName"));
    labelBack = makePicture(QStringLiteral(":/myImages/png/icon-navigation-back.png"), tr("Back"), 24, 24);
    labelTitle = new QtMaterialLabel(QString(), this);
    labelLogo = makePicture(QStringLiteral(":/myImages/png/Kest Logo.png"),
                            tr("The best display effect is 1920*1080 resolution"), 44, 16);
    labelMessage =
        makePicture(QStringLiteral(":/myImages/png/icon-navigation-bell.png"), tr("Message"), 24, 24);
    labelHome = makePicture(QStringLiteral(":/myImages/png/icon-navigation-home.png"), tr("Home"), 24, 24);
    labelLog = makePicture(QStringLiteral(":/myImages/png/icon-system-log.png"), tr("Log"), 24, 24);
    labelRooms =
        makePicture(QStringLiteral(":/myImages/png/icon-navigation-rooms.png"), tr("Rooms"), 24, 24);
    labelNetwork = makePicture(QStringLiteral(":/myImages/png/network/icon-connection-localnetwork.png"),
                               tr("Local Network"), 24, 24);
    labelSetting =
        makePicture(QStringLiteral(":/myImages/png/icon-remote-settings.png"), tr("Setting"), 24, 24);

    auto *exit = new QtMaterialIconButton(
        QtMaterialTheme::icon(QStringLiteral("navigation"), QStringLiteral("close")), this);
    exit->setObjectName(QStringLiteral("pushButtonExit"));
    exit->setIconSize(QSize(24, 24));
    exit->setColor(Qt::white);
    exit->setToolTip(tr("Exit"));

    auto *left = new QGridLayout;
    left->setSpacing(20);
    left->addWidget(labelProjectIcon, 0, 0);
    left->addWidget(labelBack, 0, 0);
    left->addWidget(labelProjectName, 0, 1);
    left->addWidget(labelTitle, 0, 1);
    left->setColumnStretch(2, 1);
    left->setRowStretch(1, 1);

    auto *right = new QGridLayout;
    right->setSpacing(20);
    right->addWidget(labelMessage, 0, 0);
    right->addWidget(labelHome, 0, 0);
    right->addWidget(labelLog, 0, 1);
    right->addWidget(labelRooms, 0, 1);
    right->addWidget(labelNetwork, 0, 2);
    right->addWidget(labelSetting, 0, 3);
    right->addWidget(exit, 0, 4);
    right->setColumnStretch(5, 1);
    right->setRowStretch(1, 1);

    auto *outer = new QGridLayout(this);
    outer->setSpacing(0);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addLayout(left, 0, 0, Qt::AlignLeft);
    outer->addWidget(labelLogo, 0, 1, Qt::AlignCenter);
    outer->addLayout(right, 0, 2, Qt::AlignRight);
    outer->setColumnStretch(1, 1);
    outer->setRowStretch(1, 1);
    setFixedHeight(30);

    labelBack->hide();
    labelTitle->hide();
    labelHome->hide();
    labelRooms->hide();

    connect(labelProjectIcon, &QtMaterialLabel::signalsPressed, this, &MenuBar::labelProject_pressed);
    connect(labelProjectName, &QtMaterialLabel::signalsPressed, this, &MenuBar::labelProject_pressed);
    connect(labelBack, &QtMaterialLabel::signalsPressed, this, &MenuBar::labelBack_pressed);
    connect(labelTitle, &QtMaterialLabel::signalsPressed, this, &MenuBar::labelBack_pressed);
    connect(labelMessage, &QtMaterialLabel::signalsPressed, this, &MenuBar::labelMessage_pressed);
    connect(labelHome, &QtMaterialLabel::signalsPressed, this, &MenuBar::labelHome_pressed);
    connect(labelLog, &QtMaterialLabel::signalsPressed, this, &MenuBar::labelLog_pressed);
    connect(labelRooms, &QtMaterialLabel::signalsPressed, this, &MenuBar::labelRooms_pressed);
    connect(labelNetwork, &QtMaterialLabel::signalsPressed, this, &MenuBar::labelNetwork_pressed);
    connect(labelSetting, &QtMaterialLabel::signalsPressed, this, &MenuBar::labelSetting_pressed);
    connect(exit, &QAbstractButton::clicked, this, &MenuBar::pushButtonExit_clicked);
    connect(&timerUnlock, &QTimer::timeout, this, &MenuBar::slotsUnlock);

    connect(&gl_socket, &BroadcastSocket::signalsPageCurrent, this, &MenuBar::slotsPageCurrent);
    connect(&gl_socket, &BroadcastSocket::signalsPageBack, this, &MenuBar::labelBack_pressed);
    connect(&gl_socket, &BroadcastSocket::signalsProjectStateChanged, this,
            &MenuBar::slotsProjectStateChanged);
    connect(&gl_socket, &BroadcastSocket::signalsNetworkStateChanged, this,
            &MenuBar::slotsNetworkStateChanged);
}

QtMaterialLabel *MenuBar::makePicture(const QString &path, const QString &tip, int w, int h)
{
    auto *label = new QtMaterialLabel(this);
    label->setFixedSize(w, h);
    label->setScaledContents(true);
    setPicture(label, path);
    label->setToolTip(tip);
    return label;
}

void MenuBar::setPicture(QtMaterialLabel *label, const QString &path)
{
    label->setPixmap(QPixmap(path));
}

void MenuBar::setHomePage(bool home)
{
    labelProjectIcon->setVisible(home);
    labelProjectName->setVisible(home);
    labelLogo->setVisible(home);
    labelMessage->setVisible(home);
    labelLog->setVisible(home);
    labelBack->setVisible(!home);
    labelTitle->setVisible(!home);
    labelHome->setVisible(!home);
    labelRooms->setVisible(!home);
}

void MenuBar::requestPage(const QString &id)
{
    emit gl_socket.signalsPageIdChanged(id, id, QString(), QString());
}

void MenuBar::slotsPageCurrent(QString id, QString name, QString prm1, QString prm2)
{
    currentPage = PageIdEntry{id, name, prm1, prm2};
    labelTitle->setText(name);

    static const QStringList topLevel = {QStringLiteral("Message"), QStringLiteral("Log"),
                                         QStringLiteral("Setting"), QStringLiteral("Rooms")};
    if (topLevel.contains(id)) {
        QList<PageIdEntry> fresh;
        for (const PageIdEntry &entry : qAsConst(pageHistory)) {
            if (entry.id == QLatin1String("Home")) {
                fresh.append(entry);
                break;
            }
        }
        fresh.append(currentPage);
        pageHistory = fresh;
    } else {
        int found = -1;
        for (int i = 0; i < pageHistory.size(); ++i) {
            if (pageHistory.at(i).id == id) {
                found = i;
                break;
            }
        }
        if (found >= 0) {
            pageHistory[found] = currentPage;
        } else {
            pageHistory.append(currentPage);
            found = pageHistory.size() - 1;
        }
        while (pageHistory.size() > found + 1)
            pageHistory.removeLast();
    }

    bool moods = false;
    for (const PageIdEntry &entry : qAsConst(pageHistory))
        moods = moods || entry.id == QLatin1String("Moods Information");
    if (!moods)
        emit gl_socket.signalsPageRemoveMoodsInformation();
}

void MenuBar::slotsProjectStateChanged(QString projectName)
{
    labelProjectName->setText(projectName);
}

void MenuBar::slotsNetworkStateChanged(bool loginSuccess)
{
    QString picture;
    QString tip;
    if (gl_net_style == NetStyleDnsServer) {
        picture = QStringLiteral("dnsserver");
        tip = tr("DNS Server");
    } else if (gl_net_style == NetStyleCloudServer) {
        picture = QStringLiteral("cloudserver");
        tip = tr("Cloud Server");
    } else {
        picture = QStringLiteral("localnetwork");
        tip = tr("Local Network");
    }
    setPicture(labelNetwork, QStringLiteral(":/myImages/png/network/icon-connection-%1%2.png")
                                 .arg(picture, loginSuccess ? QStringLiteral("-active") : QString()));
    labelNetwork->setToolTip(tip);
    labelNetwork->setProperty("picture", picture + (loginSuccess ? QStringLiteral("-active") : QString()));
}

void MenuBar::slotsUnlock()
{
    timerUnlock.stop();
    unlocked = false;
}

void MenuBar::labelProject_pressed()
{
    emit signalsProjectSetting(labelProjectName->text());
}

void MenuBar::labelMessage_pressed()
{
    requestPage(QStringLiteral("Message"));
}

void MenuBar::labelLog_pressed()
{
    requestPage(QStringLiteral("Log"));
}

void MenuBar::labelBack_pressed()
{
    int found = -1;
    for (int i = 0; i < pageHistory.size(); ++i) {
        if (pageHistory.at(i).id == currentPage.id) {
            found = i;
            break;
        }
    }
    if (found <= 0)
        return;
    const PageIdEntry previous = pageHistory.at(found - 1);
    if (previous.id == QLatin1String("Edit Room") || previous.id == QLatin1String("Edit Template") ||
        previous.id == QLatin1String("Operate Room")) {
        emit gl_socket.signalsPageIdChanged(previous.id, previous.name, previous.prm1, QStringLiteral("0"));
    } else {
        emit gl_socket.signalsPageIdChanged(previous.id, previous.name, previous.prm1, previous.prm2);
    }
}

void MenuBar::labelHome_pressed()
{
    requestPage(QStringLiteral("Home"));
}

void MenuBar::labelRooms_pressed()
{
    requestPage(QStringLiteral("Rooms"));
}

void MenuBar::labelNetwork_pressed()
{
    emit signalsNetworkSetting();
}

void MenuBar::labelSetting_pressed()
{
    if (unlocked) {
        requestPage(QStringLiteral("Setting"));
        return;
    }
    UnlockDlg dialog(nullptr);
    if (dialog.exec() != QDialog::Accepted)
        return;
    unlocked = true;
    timerUnlock.start(UnlockMs);
    requestPage(QStringLiteral("Setting"));
}

void MenuBar::pushButtonExit_clicked()
{
    // What has already arrived (a device's reply) is taken while its card still shows, as the
    // termination signals take it first: once the window has closed, no card takes a frame.
    gl_socket.handOnHeld();
    emit gl_socket.signalsClosed();
}
