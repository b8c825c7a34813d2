#pragma once

// The one main window: menu bar, page area and message bar in one column; the
// page factory and navigation; the network opening and login; the intake of
// panel messages; the project switch.

#include <QList>
#include <QMainWindow>
#include <QTimer>

class MenuBar;
class MyDialog;
class PanelMessageIntake;
class QtMaterialGroupBox;
class QtMaterialSnackbar;
class QVBoxLayout;

class MainWindow : public QMainWindow
{
    Q_OBJECT
public:
    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

    void preInit();
    void preCreate(const QString &id, const QString &name);

    // Read access for tests.
    const QList<MyDialog *> &pages() const { return pageList; }
    MenuBar *menuBar() const { return m_menuBar; }
    QWidget *messageBar() const { return m_messageBar; }
    QtMaterialSnackbar *snackbar() const { return m_snackbar; }
    PanelMessageIntake *intake() const { return m_intake; }
    const QTimer &loginTimer() const { return timerLogin; }
    const QTimer &messageTimer() const { return timerMessage; }
    int loginTries() const { return m_loginTries; }

protected:
    void closeEvent(QCloseEvent *event) override;

private slots:
    void dataIsComming(quint8 *recvBuff, qlonglong recvLength);
    void slotsInformation(QString info);
    void slotsConnectNetwork();
    void slotsUniversalSwitch();
    void slotsPageIdChanged(QString id, QString name, QString prm1, QString prm2);
    void slotsNetworkSetting();
    void slotsProjectSetting(QString projectName);
    void slotsNetworkOpen();
    void slotsNetworkConnectState(bool loginSuccess, QString msg);

private:
    QtMaterialSnackbar *m_snackbar = nullptr;
    QList<MyDialog *> pageList;
    PanelMessageIntake *m_intake = nullptr;
    MenuBar *m_menuBar = nullptr;
    QtMaterialGroupBox *pageArea = nullptr;
    QVBoxLayout *pageLayout = nullptr;
    QWidget *m_messageBar = nullptr;
    QTimer timerLogin;
    QTimer timerMessage;
    int m_loginTries = 0;
};
