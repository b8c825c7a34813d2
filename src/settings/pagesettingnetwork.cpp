#include "pagesettingnetwork.h"

#include "bus/broadcastsocket.h"
#include "bus/networkcommands.h"
#include "settings/ipmoduleframe.h"
#include "settings/numberfield.h"
#include "settings/projectswitch.h"
#include "settings/settingslock.h"
#include "shell/kestmessagebox.h"
#include "store/cppsqlite3db.h"
#include "store/globals.h"
#include "store/projectlist.h"
#include "store/queryhelpers.h"

#include <QButtonGroup>
#include <QDateTime>
#include <QGridLayout>
#include <QLineEdit>
#include <QNetworkInterface>
#include <QPixmap>
#include <QRegularExpression>
#include <QRegularExpressionValidator>
#include <QSqlQuery>
#include <QVariant>
#include <qprogressindicator.h>
#include <qtmaterialcombobox.h>
#include <qtmaterialflatbutton.h>
#include <qtmateriallabel.h>
#include <qtmateriallineedit.h>
#include <qtmaterialradiobutton.h>
#include <qtmaterialtheme.h>

#include <cstring>

namespace {

const char *const JoinHint = "Enable device join,you need to press the PRG button on the module for 7 "
                             "seconds to allow the new network setting to be saved by the software!";

QGridLayout *grid20()
{
    auto *grid = new QGridLayout;
    grid->setSpacing(20);
    grid->setSizeConstraint(QLayout::SetNoConstraint);
    return grid;
}

} // namespace

PageSettingNetwork::PageSettingNetwork(const QString &id, const QString &name, QWidget *parent)
    : MyDialog(id, name, parent)
{
    if (objectName().isEmpty())
        setObjectName(QStringLiteral("PageSettingNetwork"));

    progress = new QProgressIndicator(this);
    progress->setColor(QColor(Qt::green));

    comboBoxProject = new QtMaterialComboBox(this);
    comboBoxProject->setObjectName(QStringLiteral("comboBoxProject"));
    comboBoxProject->setEditable(false);
    connect(comboBoxProject, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &PageSettingNetwork::comboBoxChange);

    lineEditSubnetId = new QtMaterialLineEdit(this);
    lineEditSubnetId->setObjectName(QStringLiteral("lineEditSubnetId"));
    makeNumberField(lineEditSubnetId);
    connect(lineEditSubnetId, &QLineEdit::textChanged, this, &PageSettingNetwork::textChanged);
    lineEditDeviceId = new QtMaterialLineEdit(this);
    lineEditDeviceId->setObjectName(QStringLiteral("lineEditDeviceId"));
    makeNumberField(lineEditDeviceId);
    connect(lineEditDeviceId, &QLineEdit::textChanged, this, &PageSettingNetwork::textChanged);

    comboBoxMac = new QtMaterialComboBox(this);
    comboBoxMac->setObjectName(QStringLiteral("comboBoxMac"));
    comboBoxMac->setEditable(true);
    comboBoxMac->setInsertPolicy(QComboBox::NoInsert);
    comboBoxMac->lineEdit()->setInputMask(QStringLiteral("hh-hh-hh-hh-hh-hh-hh-hh"));
    connect(comboBoxMac, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &PageSettingNetwork::comboBoxChange);

    lineEditPassword = new QtMaterialLineEdit(this);
    lineEditPassword->setObjectName(QStringLiteral("lineEditPassword"));
    lineEditPassword->setEchoMode(QLineEdit::Password);
    lineEditPassword->setMaxLength(4);
    // A password typed after a failed look-up is the user's own.
    connect(lineEditPassword, &QLineEdit::textEdited, this, [this] { passwordRead = true; });

    radioButtonDisable = new QtMaterialRadioButton(tr("Disable"), this);
    radioButtonServerIp = new QtMaterialRadioButton(tr("Server IP"), this);
    radioButtonDomain = new QtMaterialRadioButton(tr("Domain"), this);
    styleGroup = new QButtonGroup(this);
    styleGroup->addButton(radioButtonDisable, 0);
    styleGroup->addButton(radioButtonServerIp, 1);
    styleGroup->addButton(radioButtonDomain, 2);
    radioButtonDisable->setChecked(true);
    for (QtMaterialRadioButton *button : {radioButtonDisable, radioButtonServerIp, radioButtonDomain})
        connect(button, &QAbstractButton::clicked, this,
                &PageSettingNetwork::radioButtonServerStyle_clicked);

    comboBoxServer = new QtMaterialComboBox(this);
    comboBoxServer->setObjectName(QStringLiteral("comboBoxServer"));
    comboBoxServer->setEditable(true);
    comboBoxServer->setInsertPolicy(QComboBox::NoInsert);
    comboBoxServer->setEnabled(false);
    comboBoxServer->lineEdit()->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("\\b(?:(?:25[0-5]|2[0-4][0-9]|[01]?[0-9][0-9]?)\\.){3}"
                                          "(?:25[0-5]|2[0-4][0-9]|[01]?[0-9][0-9]?)\\b")),
        comboBoxServer));

    comboBoxDomain = new QtMaterialComboBox(this);
    comboBoxDomain->setObjectName(QStringLiteral("comboBoxDomain"));
    comboBoxDomain->setEditable(true);
    comboBoxDomain->setInsertPolicy(QComboBox::NoInsert);
    comboBoxDomain->setEnabled(false);
    comboBoxDomain->setVisible(false);
    comboBoxDomain->lineEdit()->setMaxLength(IpModuleFrame::DomainBytes);

    lineEditRouterDomain = new QtMaterialLineEdit(this);
    lineEditRouterDomain->setObjectName(QStringLiteral("lineEditRouterDomain"));
    comboBoxHost = new QtMaterialComboBox(this);
    comboBoxHost->setObjectName(QStringLiteral("comboBoxHost"));
    comboBoxHost->setEditable(false);

    labelSearch = new QtMaterialLabel(this);
    labelSearch->setObjectName(QStringLiteral("labelSearch"));
    labelSearch->setFixedSize(32, 32);
    labelSearch->setPixmap(QPixmap(QStringLiteral(":/myImages/png/icon-search.png"))
                               .scaled(32, 32, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    labelSearch->setToolTip(tr(JoinHint));
    connect(labelSearch, &QtMaterialLabel::signalsPressed, this, &PageSettingNetwork::labelSearch_pressed);

    pushButtonSave =
        new QtMaterialFlatButton(QtMaterialTheme::icon(QStringLiteral("content"), QStringLiteral("save")),
                                 tr("Save"), Material::RaisedPrimary, this);
    pushButtonSave->setObjectName(QStringLiteral("pushButtonSave"));
    connect(pushButtonSave, &QAbstractButton::clicked, this, &PageSettingNetwork::pushButtonSave_clicked);

    m_lock = new SettingsLock(this);
    const QList<QWidget *> editControls{comboBoxProject, lineEditSubnetId,     lineEditDeviceId,
                                        comboBoxMac,     lineEditPassword,     comboBoxServer,
                                        comboBoxDomain,  lineEditRouterDomain, comboBoxHost};
    for (QWidget *control : editControls)
        m_lock->addControl(control);

    QGridLayout *header = grid20();
    header->addWidget(new QtMaterialLabel(tr("Project Network Options"), this), 0, 0);
    header->addWidget(labelSearch, 0, 1, Qt::AlignRight);
    QGridLayout *top = grid20();
    top->addLayout(header, 0, 0);
    top->addWidget(pushButtonSave, 0, 1, Qt::AlignRight);
    top->setColumnStretch(0, 1);
    QGridLayout *ids = grid20();
    ids->addWidget(new QtMaterialLabel(tr("Subnet ID"), this), 0, 0);
    ids->addWidget(new QtMaterialLabel(tr("Device ID"), this), 0, 1);
    ids->addWidget(lineEditSubnetId, 1, 0);
    ids->addWidget(lineEditDeviceId, 1, 1);
    QGridLayout *radios = grid20();
    radios->addWidget(radioButtonDisable, 0, 0);
    radios->addWidget(radioButtonServerIp, 0, 1);
    radios->addWidget(radioButtonDomain, 0, 2);

    QGridLayout *page = grid20();
    setLayout(page);
    page->addLayout(top, 0, 0);
    page->addWidget(new QtMaterialLabel(tr("Project Name"), this), 1, 0);
    page->addWidget(comboBoxProject, 2, 0);
    page->addLayout(ids, 3, 0);
    page->addWidget(new QtMaterialLabel(tr("MAC Address"), this), 4, 0);
    page->addWidget(comboBoxMac, 5, 0);
    page->addWidget(new QtMaterialLabel(tr("Password"), this), 6, 0);
    page->addWidget(lineEditPassword, 7, 0);
    page->addLayout(radios, 8, 0);
    page->addWidget(comboBoxServer, 9, 0);
    page->addWidget(comboBoxDomain, 9, 0);
    page->addWidget(new QtMaterialLabel(tr("Domain Name(By Router)"), this), 10, 0);
    page->addWidget(lineEditRouterDomain, 11, 0);
    page->addWidget(new QtMaterialLabel(tr("Host Address"), this), 12, 0);
    page->addWidget(comboBoxHost, 13, 0);
    page->setRowStretch(14, 1);

    timerGetNetwork.setInterval(ExchangeMs);
    timerSetNetwork.setInterval(ExchangeMs);
    connect(&gl_socket, &BroadcastSocket::signalsPageEnter, this, &PageSettingNetwork::slotsPageEnter);
    connect(&gl_socket, &BroadcastSocket::dataIsComming, this, &PageSettingNetwork::dataIsComming);
    connect(&timerGetNetwork, &QTimer::timeout, this, &PageSettingNetwork::slotsGetNetwork);
    connect(&timerSetNetwork, &QTimer::timeout, this, &PageSettingNetwork::slotsSetNetwork);
    // The exchange belongs to the project it began in: a switch ends it, and the
    // answers that come after are not taken.
    connect(&gl_socket, &BroadcastSocket::signalsProjectStateChanged, this, [this] {
        stopRefresh();
        staleAnswers = true;
    });
}

QtMaterialRadioButton *PageSettingNetwork::styleButton(int id) const
{
    return qobject_cast<QtMaterialRadioButton *>(styleGroup->button(id));
}

// --- the form ---------------------------------------------------------------

void PageSettingNetwork::slotsPageEnter()
{
    if (!isVisible())
        return;
    loading = true;
    deviceJoin = false;
    m_port = 0;
    stopRefresh();

    comboBoxProject->clear();
    QStringList projects;
    getProjectList(projects);
    comboBoxProject->addItems(projects);
    if (selectCurrentProject())
        getNetworkSetting();
    getHostIp();
    loading = false;
}

bool PageSettingNetwork::selectCurrentProject()
{
    QString current;
    getCurrentProject(current);
    const int index = comboBoxProject->findText(current, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index >= 0) {
        comboBoxProject->setCurrentIndex(index);
        shownProject = index;
    }
    return index >= 0;
}

void PageSettingNetwork::selectText(QtMaterialComboBox *box, const QString &text)
{
    int index = box->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index < 0) {
        box->addItem(text);
        index = box->count() - 1;
    }
    box->setCurrentIndex(index);
}

void PageSettingNetwork::showServer(const QString &address)
{
    QString alias;
    if (getTextFromDb(QStringLiteral("select alias from tbl_server_ip where ip='%1'").arg(sqlText(address)),
                      QStringLiteral("alias"), alias))
        selectText(comboBoxServer, alias);
    else
        selectText(comboBoxServer, address);
}

void PageSettingNetwork::getNetworkSetting()
{
    const bool wasLoading = loading;
    loading = true;
    lineEditSubnetId->clear();
    lineEditDeviceId->clear();
    lineEditPassword->clear();
    lineEditRouterDomain->clear();
    radioButtonDisable->setChecked(true);

    QStringList items;
    comboBoxMac->clear();
    getTextsFromDb(QStringLiteral("select ip_port_mac from tbl_ip_port_mac order by update_time desc"),
                   QStringLiteral("ip_port_mac"), items);
    comboBoxMac->addItems(items);
    comboBoxMac->setCurrentIndex(-1);
    comboBoxServer->clear();
    getTextsFromDb(QStringLiteral("select alias from tbl_server_ip"), QStringLiteral("alias"), items);
    comboBoxServer->addItems(items);
    comboBoxServer->setCurrentIndex(-1);
    comboBoxDomain->clear();
    getTextsFromDb(QStringLiteral("select domain from tbl_domain"), QStringLiteral("domain"), items);
    comboBoxDomain->addItems(items);
    comboBoxDomain->setCurrentIndex(-1);

    passwordRead = true;
    QSqlQuery query = gl_sqlite3db.execQuery(QStringLiteral("select * from tbl_network"));
    const bool found = query.next();
    entryRead = found || rowsReadToEnd(query);
    if (!entryRead)
        emit gl_socket.signalsInformation(tr("Failed to read the network settings!"));
    if (found) {
        const QString mac = query.value(QStringLiteral("ip_port_mac")).toString();
        const QString password = query.value(QStringLiteral("password")).toString();
        const QString routerDomain = query.value(QStringLiteral("domain_name")).toString();
        const QString staticServer = query.value(QStringLiteral("static_server_ip")).toString();
        const QString staticDomain = query.value(QStringLiteral("static_domain")).toString();
        const int subnet = query.value(QStringLiteral("subnet_id")).toInt();
        const int device = query.value(QStringLiteral("device_id")).toInt();
        const int type = query.value(QStringLiteral("server_type")).toInt();
        query.finish();
        if (subnet > 0)
            lineEditSubnetId->setText(QString::number(subnet));
        if (device > 0)
            lineEditDeviceId->setText(QString::number(device));
        if (!mac.isEmpty())
            selectText(comboBoxMac, mac);
        lineEditPassword->setText(password);
        if (type == 2)
            radioButtonDomain->setChecked(true);
        else if (type == 1)
            radioButtonServerIp->setChecked(true);
        else
            radioButtonDisable->setChecked(true);
        if (!staticServer.isEmpty())
            showServer(staticServer);
        if (!staticDomain.isEmpty())
            selectText(comboBoxDomain, staticDomain);
        lineEditRouterDomain->setText(routerDomain);
    }
    m_lock->lock();
    radioButtonServerStyle_clicked();
    loading = wasLoading;
}

void PageSettingNetwork::radioButtonServerStyle_clicked()
{
    const bool serverIp = radioButtonServerIp->isChecked();
    const bool domain = radioButtonDomain->isChecked();
    if (serverIp || domain) {
        comboBoxServer->setVisible(serverIp);
        comboBoxDomain->setVisible(domain);
    }
    // A locked form stays locked: the radio buttons only choose which box shows.
    const bool unlocked = m_lock->isUnlocked();
    comboBoxServer->setEnabled(serverIp && unlocked);
    comboBoxDomain->setEnabled(domain && unlocked);
}

void PageSettingNetwork::getHostIp()
{
    comboBoxHost->clear();
    for (const QNetworkInterface &iface : QNetworkInterface::allInterfaces()) {
        for (const QNetworkAddressEntry &entry : iface.addressEntries()) {
            const QHostAddress address = entry.ip();
            if (address.protocol() != QAbstractSocket::IPv4Protocol || address.isNull() ||
                address == QHostAddress(QHostAddress::LocalHost))
                continue;
            comboBoxHost->addItem(address.toString());
        }
    }
    const int index = comboBoxHost->findText(gl_host_ip, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index >= 0)
        comboBoxHost->setCurrentIndex(index);
}

bool PageSettingNetwork::isValidIpMacAddress(const QString &text)
{
    const QStringList pieces = text.split(QLatin1Char('-'));
    if (pieces.size() != 8)
        return false;
    for (const QString &piece : pieces) {
        if (piece.isEmpty())
            return false;
    }
    return true;
}

void PageSettingNetwork::comboBoxChange(int index)
{
    if (loading || index < 0)
        return;
    if (sender() == comboBoxMac) {
        const QString mac = comboBoxMac->currentText();
        QString password;
        if (mac.isEmpty())
            return;
        const bool found = getTextFromDb(
            QStringLiteral("select password from tbl_ip_port_mac where ip_port_mac='%1'").arg(sqlText(mac)),
            QStringLiteral("password"), password, &passwordRead);
        // The field still holds the module shown before: nothing is saved until it is known.
        if (!passwordRead)
            emit gl_socket.signalsInformation(tr("Failed to read the password of the IP module!"));
        else if (found)
            lineEditPassword->setText(password);
        return;
    }
    if (sender() != comboBoxProject)
        return;
    const QString project = comboBoxProject->currentText();
    if (!switchProjectDatabase(project)) {
        // The page stays on the project that is still the current one: the one it
        // showed before, when the list cannot be read.
        loading = true;
        if (!selectCurrentProject())
            comboBoxProject->setCurrentIndex(shownProject);
        loading = false;
        emit gl_socket.signalsInformation(tr("Failed to switch the project!"));
        return;
    }
    shownProject = index;
    getNetworkSetting();
    emit gl_socket.signalsProjectStateChanged(project);
    emit gl_socket.signalsNetworkStateChanged(false);
    emit gl_socket.signalsNetworkOpen();
}

void PageSettingNetwork::textChanged(const QString &text)
{
    auto *field = qobject_cast<QLineEdit *>(sender());
    if (!field)
        return;
    const QString capped = capNumberText(text, 255);
    if (capped != text)
        field->setText(capped);
}

int PageSettingNetwork::serverStyle() const
{
    if (radioButtonServerIp->isChecked())
        return 1;
    if (radioButtonDomain->isChecked())
        return 2;
    return 0;
}

QString PageSettingNetwork::serverAddress(const QString &text, bool *ok) const
{
    QString address = text;
    getTextFromDb(QStringLiteral("select ip from tbl_server_ip where alias='%1'").arg(sqlText(text)),
                  QStringLiteral("ip"), address, ok);
    return address;
}

void PageSettingNetwork::pushButtonSave_clicked()
{
    if (!entryRead || !passwordRead) {
        emit gl_socket.signalsInformation(tr("Failed to save the network settings!"));
        return;
    }
    KestMessageBox box(tr("This save will also synchronize the modification of information in the device"),
                       500, 160, KestMessageBoxCancelOk, nullptr);
    if (!box.exec()) {
        if (!save_config()) {
            emit gl_socket.signalsInformation(tr("Failed to save the network settings!"));
            return;
        }
        emit gl_socket.signalsInformation(tr("Save successfully"));
        emit gl_socket.signalsPageIdChanged(QStringLiteral("Setting"), QStringLiteral("Setting"), QString(),
                                            QString());
        return;
    }
    if (lineEditSubnetId->text().isEmpty() || lineEditDeviceId->text().isEmpty()) {
        emit gl_socket.signalsInformation(tr("Please input subnet id and device id!"));
        return;
    }
    if (radioButtonServerIp->isChecked() && comboBoxServer->currentText().isEmpty()) {
        emit gl_socket.signalsInformation(tr("Please input server ip address!"));
        return;
    }
    if (radioButtonDomain->isChecked() && comboBoxDomain->currentText().isEmpty()) {
        emit gl_socket.signalsInformation(tr("Please input domain name!"));
        return;
    }
    const QString password = lineEditPassword->text();
    if (!password.isEmpty() && password.size() != 4) {
        emit gl_socket.signalsInformation(tr("The length of password is 4 characters,please input again!"));
        return;
    }
    startSequence(timerSetNetwork);
}

bool PageSettingNetwork::save_config()
{
    if (!entryRead || !passwordRead)
        return false;
    QString mac = comboBoxMac->currentText();
    // A failed look-up stores nothing: the alias is no server address.
    bool read = false;
    const QString server = serverAddress(comboBoxServer->currentText(), &read);
    if (!read)
        return false;
    const QString domain = comboBoxDomain->currentText();
    const int type = serverStyle();
    const QString serverIp = type == 1 ? server : type == 2 ? domain : QString();
    const QString password = lineEditPassword->text();

    QStringList statements;
    if (!mac.isEmpty()) {
        if (!isValidIpMacAddress(mac)) {
            mac.clear();
        } else {
            const QString now = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMddhhmmss"));
            const bool known = isRecordExist(
                QStringLiteral("select id from tbl_ip_port_mac where ip_port_mac='%1'").arg(sqlText(mac)),
                &read);
            if (!read)
                return false; // an unread history is no reason to add the address again
            if (!known) {
                statements << QStringLiteral("insert into tbl_ip_port_mac(ip_port_mac,password,update_time) "
                                             "values('%1','%2','%3')")
                                  .arg(sqlText(mac), sqlText(password), sqlText(now));
            } else {
                statements << QStringLiteral("update tbl_ip_port_mac set password='%1',update_time='%2' "
                                             "where ip_port_mac='%3'")
                                  .arg(sqlText(password), sqlText(now), sqlText(mac));
            }
        }
    }
    statements
        << QStringLiteral(
               "update tbl_network set subnet_id=%1,device_id=%2,ip_port_mac='%3',password='%4',"
               "server_ip='%5',domain_name='%6',server_type=%7,static_server_ip='%8',static_domain='%9'")
               // One pass: a typed "%N" must not be taken for a later placeholder.
               .arg(QString::number(lineEditSubnetId->text().toInt()),
                    QString::number(lineEditDeviceId->text().toInt()), sqlText(mac), sqlText(password),
                    sqlText(serverIp), sqlText(lineEditRouterDomain->text()), QString::number(type),
                    sqlText(server), sqlText(domain));
    // The history and the network row go together or not at all.
    if (!execTransaction(statements))
        return false;
    // The bus takes what was stored; a read back could fail once it is stored.
    gl_ip_port_mac = mac;
    gl_password = password;
    gl_server_ip = serverIp;
    gl_domain_name = lineEditRouterDomain->text();
    return true;
}

// --- the exchange with the IP module ------------------------------------------

void PageSettingNetwork::stopRefresh()
{
    progress->stopAnimation();
    serverStep = false;
    domainStep = false;
    tries = 0;
    timerGetNetwork.stop();
    timerSetNetwork.stop();
}

void PageSettingNetwork::startSequence(QTimer &timer)
{
    stopRefresh();
    staleAnswers = false;
    progress->startAnimation();
    if (&timer == &timerGetNetwork)
        slotsGetNetwork();
    else
        slotsSetNetwork();
    timer.start(ExchangeMs);
}

void PageSettingNetwork::labelSearch_pressed()
{
    deviceJoin = true;
    emit gl_socket.signalsInformation(tr(JoinHint));
}

void PageSettingNetwork::slotsGetNetwork()
{
    if (domainStep) {
        progress->stopAnimation();
        timerGetNetwork.stop();
        return;
    }
    if (tries > 2) {
        progress->stopAnimation();
        timerGetNetwork.stop();
        emit gl_socket.signalsInformation(tr("Get Server Information (Time Out)!"));
        return;
    }
    const int subnet = lineEditSubnetId->text().toInt();
    const int device = lineEditDeviceId->text().toInt();
    if (!serverStep)
        fn_network_getServerInfo(subnet, device);
    else
        fn_network_getServerDomain(subnet, device);
    ++tries;
}

void PageSettingNetwork::slotsSetNetwork()
{
    if (domainStep) {
        progress->stopAnimation();
        timerSetNetwork.stop();
        return;
    }
    if (tries > 2) {
        progress->stopAnimation();
        timerSetNetwork.stop();
        emit gl_socket.signalsInformation(tr("Save Server Information (Time Out)!"));
        return;
    }
    const int subnet = lineEditSubnetId->text().toInt();
    const int device = lineEditDeviceId->text().toInt();
    if (!serverStep) {
        // An alias whose address cannot be looked up is no address to give the module.
        bool read = false;
        const QString address = serverAddress(comboBoxServer->currentText(), &read);
        if (!read) {
            stopRefresh();
            emit gl_socket.signalsInformation(tr("Failed To Save Server Information!"));
            return;
        }
        fn_network_setServerInfo(subnet, device, address, lineEditPassword->text(), m_port,
                                 static_cast<unsigned char>(serverStyle()));
    } else {
        fn_network_setServerDomain(subnet, device, comboBoxDomain->currentText());
    }
    ++tries;
}

void PageSettingNetwork::dataIsComming(quint8 *recvBuff, qlonglong recvLength)
{
    if (!isVisible() || !recvBuff || recvLength < 1 || recvLength > BroadcastSocket::BufferSize)
        return;
    quint8 frame[BroadcastSocket::BufferSize] = {};
    std::memcpy(frame, recvBuff, size_t(recvLength));
    if (!gl_socket.checkRecvBuff_0xAAAA(frame, recvLength))
        return;
    const IpModuleFrame in = IpModuleFrame::decode(frame, recvLength);
    const int subnet = lineEditSubnetId->text().toInt();
    const int device = lineEditDeviceId->text().toInt();

    switch (in.kind) {
    case IpModuleFrame::Ignored:
        return;
    case IpModuleFrame::Join:
        if (!deviceJoin)
            return;
        deviceJoin = false;
        loading = true;
        lineEditSubnetId->setText(QString::number(in.subnet));
        lineEditDeviceId->setText(QString::number(in.device));
        selectText(comboBoxMac, in.mac);
        loading = false;
        startSequence(timerGetNetwork);
        return;
    default:
        break;
    }

    if (staleAnswers || in.subnet != subnet || in.device != device)
        return;
    if (!in.success) {
        stopRefresh();
        if (in.kind == IpModuleFrame::ServerInfo)
            emit gl_socket.signalsInformation(tr("Failed To Get Server Information!"));
        else if (in.kind == IpModuleFrame::ServerWritten)
            emit gl_socket.signalsInformation(tr("Failed To Save Server Information!"));
        else if (in.kind == IpModuleFrame::DomainWritten)
            emit gl_socket.signalsInformation(tr("Failed To Save Domain Name!"));
        return;
    }
    switch (in.kind) {
    case IpModuleFrame::ServerInfo:
        m_port = in.port;
        lineEditPassword->setText(in.password);
        if (in.style == 1)
            radioButtonServerIp->setChecked(true);
        else if (in.style == 2)
            radioButtonDomain->setChecked(true);
        else
            radioButtonDisable->setChecked(true);
        showServer(in.address);
        radioButtonServerStyle_clicked();
        serverStep = true;
        tries = 0;
        if (!domainStep)
            fn_network_getServerDomain(subnet, device);
        break;
    case IpModuleFrame::ServerWritten:
        serverStep = true;
        tries = 0;
        if (!domainStep)
            fn_network_setServerDomain(subnet, device, comboBoxDomain->currentText());
        break;
    case IpModuleFrame::Domain:
        selectText(comboBoxDomain, in.domain);
        domainStep = true;
        tries = 0;
        break;
    case IpModuleFrame::DomainWritten:
        domainStep = true;
        tries = 0;
        if (!save_config()) {
            // The module has the new settings already; the project has not.
            emit gl_socket.signalsInformation(
                tr("The IP module is synchronized, but failed to save the network settings!"));
            break;
        }
        emit gl_socket.signalsInformation(tr("Synchronize successfully"));
        emit gl_socket.signalsPageIdChanged(QStringLiteral("Setting"), QStringLiteral("Setting"), QString(),
                                            QString());
        break;
    default:
        break;
    }
}
