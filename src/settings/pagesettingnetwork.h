#pragma once

// "Network Setting": the current project's network settings (the one row of
// tbl_network) behind the settings lock, the history of IP modules, the switch of
// the current project, and the exchange with the site's IP module over the bus:
// the device join, the query of its server settings and the writing of new ones.

#include "shell/mydialog.h"

#include <QTimer>

class QButtonGroup;
class QProgressIndicator;
class QtMaterialComboBox;
class QtMaterialFlatButton;
class QtMaterialLabel;
class QtMaterialLineEdit;
class QtMaterialRadioButton;
class SettingsLock;

class PageSettingNetwork : public MyDialog
{
    Q_OBJECT
public:
    static constexpr int ExchangeMs = 2000;

    PageSettingNetwork(const QString &id, const QString &name, QWidget *parent = nullptr);

    void getNetworkSetting();
    // Stores the form in one transaction; false, with nothing stored, when a
    // statement or a look-up it needs fails.
    bool save_config();
    void getHostIp();
    static bool isValidIpMacAddress(const QString &text);
    void stopRefresh();

    // Read access for tests.
    QtMaterialComboBox *projectBox() const { return comboBoxProject; }
    QtMaterialLineEdit *subnetField() const { return lineEditSubnetId; }
    QtMaterialLineEdit *deviceField() const { return lineEditDeviceId; }
    QtMaterialComboBox *macBox() const { return comboBoxMac; }
    QtMaterialLineEdit *passwordField() const { return lineEditPassword; }
    QtMaterialRadioButton *styleButton(int id) const;
    QtMaterialComboBox *serverBox() const { return comboBoxServer; }
    QtMaterialComboBox *domainBox() const { return comboBoxDomain; }
    QtMaterialLineEdit *routerDomainField() const { return lineEditRouterDomain; }
    QtMaterialComboBox *hostBox() const { return comboBoxHost; }
    QtMaterialLabel *searchIcon() const { return labelSearch; }
    QtMaterialFlatButton *saveButton() const { return pushButtonSave; }
    QProgressIndicator *progressIndicator() const { return progress; }
    SettingsLock *settingsLock() const { return m_lock; }
    QTimer *queryTimer() { return &timerGetNetwork; }
    QTimer *writeTimer() { return &timerSetNetwork; }
    bool deviceJoinArmed() const { return deviceJoin; }
    quint16 modulePort() const { return m_port; }

private slots:
    void dataIsComming(quint8 *recvBuff, qlonglong recvLength);
    void slotsPageEnter();
    void slotsGetNetwork();
    void slotsSetNetwork();
    void comboBoxChange(int index);
    void textChanged(const QString &text);
    void radioButtonServerStyle_clicked();
    void labelSearch_pressed();
    void pushButtonSave_clicked();

private:
    int serverStyle() const;
    // The server text, or the address of the server that has it as its alias; *ok
    // false when the aliases could not be read.
    QString serverAddress(const QString &text, bool *ok) const;
    // Selects the item with text, appending it first when the box has none.
    static void selectText(QtMaterialComboBox *box, const QString &text);
    // Puts the project box on the current project; false when the box does not list it.
    bool selectCurrentProject();
    // Shows a server address, by its alias when it has one.
    void showServer(const QString &address);
    void startSequence(QTimer &timer);

    QProgressIndicator *progress = nullptr;
    QtMaterialLabel *labelSearch = nullptr;
    QtMaterialFlatButton *pushButtonSave = nullptr;
    QtMaterialComboBox *comboBoxProject = nullptr;
    QtMaterialLineEdit *lineEditSubnetId = nullptr;
    QtMaterialLineEdit *lineEditDeviceId = nullptr;
    QtMaterialComboBox *comboBoxMac = nullptr;
    QtMaterialLineEdit *lineEditPassword = nullptr;
    QButtonGroup *styleGroup = nullptr;
    QtMaterialRadioButton *radioButtonDisable = nullptr;
    QtMaterialRadioButton *radioButtonServerIp = nullptr;
    QtMaterialRadioButton *radioButtonDomain = nullptr;
    QtMaterialComboBox *comboBoxServer = nullptr;
    QtMaterialComboBox *comboBoxDomain = nullptr;
    QtMaterialLineEdit *lineEditRouterDomain = nullptr;
    QtMaterialComboBox *comboBoxHost = nullptr;
    SettingsLock *m_lock = nullptr;

    QTimer timerGetNetwork;
    QTimer timerSetNetwork;
    bool deviceJoin = false;
    quint16 m_port = 0;
    bool serverStep = false;
    bool domainStep = false;
    quint8 tries = 0;
    // Answers to an exchange that a project switch ended; cleared by the next sequence.
    bool staleAnswers = false;
    // The form shows what is stored: false once the entry read of tbl_network, or the
    // look-up of a picked module's password, failed. Such a form is neither saved nor sent.
    bool entryRead = false;
    bool passwordRead = true;
    // The box's index of the project open when it last changed.
    int shownProject = -1;
};
