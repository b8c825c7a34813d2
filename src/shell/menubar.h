#pragma once

// The strip across the top of the main window: project, page title and Back,
// the top-level pages, the network state, the settings lock and the exit.

#include "shell/pageidentry.h"

#include <QList>
#include <QTimer>
#include <QWidget>

class QtMaterialLabel;
class QtMaterialIconButton;

class MenuBar : public QWidget
{
    Q_OBJECT
public:
    explicit MenuBar(QWidget *parent = nullptr);

    void setHomePage(bool home);

    // Read access for the main window and for tests.
    bool isUnlocked() const { return unlocked; }
    const QTimer &unlockTimer() const { return timerUnlock; }
    const QList<PageIdEntry> &history() const { return pageHistory; }
    PageIdEntry current() const { return currentPage; }

    static constexpr int UnlockMs = 180000;

signals:
    void signalsProjectSetting(QString projectName);
    void signalsNetworkSetting();

private slots:
    void slotsPageCurrent(QString id, QString name, QString prm1, QString prm2);
    void slotsProjectStateChanged(QString projectName);
    void slotsNetworkStateChanged(bool loginSuccess);
    void slotsUnlock();
    void labelProject_pressed();
    void labelMessage_pressed();
    void labelLog_pressed();
    void labelBack_pressed();
    void labelHome_pressed();
    void labelRooms_pressed();
    void labelNetwork_pressed();
    void labelSetting_pressed();
    void pushButtonExit_clicked();

private:
    QtMaterialLabel *makePicture(const QString &path, const QString &tip, int w, int h);
    void requestPage(const QString &id);
    static void setPicture(QtMaterialLabel *label, const QString &path);

    bool unlocked = false;
    QTimer timerUnlock;
    PageIdEntry currentPage;
    QList<PageIdEntry> pageHistory;

    QtMaterialLabel *labelProjectIcon = nullptr;
    QtMaterialLabel *labelProjectName = nullptr;
    QtMaterialLabel *labelLogo = nullptr;
    QtMaterialLabel *labelMessage = nullptr;
    QtMaterialLabel *labelLog = nullptr;
    QtMaterialLabel *labelBack = nullptr;
    QtMaterialLabel *labelTitle = nullptr;
    QtMaterialLabel *labelHome = nullptr;
    QtMaterialLabel *labelRooms = nullptr;
    QtMaterialLabel *labelNetwork = nullptr;
    QtMaterialLabel *labelSetting = nullptr;
};
