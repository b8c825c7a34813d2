#include "projectuploaddlg.h"

#include "bus/broadcastsocket.h"
#include "settings/transfersettings.h"
#include "shell/framedialog.h"
#include "shell/roundedpanel.h"
#include "store/backgroundwork.h"
#include "store/globals.h"
#include "store/settings.h"

#include <QDateTime>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QPointer>
#include <QTemporaryDir>
#include <QTimer>
#include <QVBoxLayout>
#include <qtmaterialflatbutton.h>
#include <qtmaterialiconbutton.h>
#include <qtmateriallabel.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>
#include <utility>

namespace {

constexpr int AnnouncementBytes = 36;

QtMaterialLabel *makeLabel(const QString &text, int role, const char *name, QWidget *parent)
{
    auto *label = new QtMaterialLabel(text, Material::FontType(role), parent);
    label->setObjectName(QLatin1String(name));
    return label;
}

} // namespace

ProjectUploadDlg::ProjectUploadDlg(QWidget *parent)
    : MyDialog(parent)
{
    QtMaterialIconButton *close = initFramedDialog(this, QStringLiteral("ProjectUploadDlg"));
    setMinimumWidth(480);

    labelIcon = new QLabel(this);
    labelIcon->setObjectName(QStringLiteral("labelIcon"));
    labelIcon->setFixedSize(40, 40);
    labelIcon->setPixmap(QPixmap(QStringLiteral(":/myImages/png/icon-projectsettings-upload.png"))
                             .scaled(40, 40, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    labelPrompt = makeLabel(tr("Please select upload method"), Material::Body1, "labelPrompt", this);
    labelTitle = makeLabel(QString(), 12, "labelTitle", this);
    labelCodeTitle = makeLabel(tr("Code:"), 12, "labelCodeTitle", this);
    labelCode = makeLabel(QString(), 0, "labelCode", this);
    labelCode->setColor(QColor(0x00, 0xFF, 0x00));
    labelCode->hide();
    labelTime = makeLabel(QString(), 12, "labelTime", this);

    pushButtonSendToServer = new QtMaterialFlatButton(tr("Send To Server"), Material::RaisedPrimary, this);
    pushButtonSendToServer->setObjectName(QStringLiteral("pushButtonSendToServer"));
    pushButtonSendToServer->setBackgroundColor(QColor(0xE3, 0x51, 0x51));
    pushButtonSendToOtherDevice =
        new QtMaterialFlatButton(tr("Send To Other Device"), Material::RaisedPrimary, this);
    pushButtonSendToOtherDevice->setObjectName(QStringLiteral("pushButtonSendToOtherDevice"));

    auto *layout = new QVBoxLayout(this);
    layout->setSpacing(20);
    auto *top = new QHBoxLayout;
    top->addWidget(labelTitle, 1);
    top->addWidget(close, 0, Qt::AlignRight | Qt::AlignTop);
    layout->addLayout(top);
    layout->addWidget(labelIcon, 0, Qt::AlignHCenter);
    layout->addWidget(labelPrompt, 0, Qt::AlignHCenter);
    auto *codeBlock = new QGridLayout;
    codeBlock->setSpacing(20);
    codeBlock->addWidget(labelCodeTitle, 0, 0, Qt::AlignLeft);
    codeBlock->addWidget(labelCode, 0, 0, Qt::AlignCenter);
    codeBlock->addWidget(labelTime, 1, 0, Qt::AlignLeft);
    layout->addLayout(codeBlock);
    auto *buttons = new QHBoxLayout;
    buttons->setSpacing(20);
    buttons->addWidget(pushButtonSendToServer);
    buttons->addWidget(pushButtonSendToOtherDevice);
    layout->addLayout(buttons);
    layout->addStretch(1);

    connect(&httpClient, &HttpClient::signalsReplyPercent, this, &ProjectUploadDlg::slotsReplyPercent);
    connect(&httpClient, &HttpClient::signalsReplyFinished, this, &ProjectUploadDlg::slotsReplyFinished);
    connect(&httpClient, &HttpClient::signalsReplyErrorString, this,
            &ProjectUploadDlg::slotsReplyErrorString);
    connect(&gl_socket, &BroadcastSocket::dataIsComming, this, &ProjectUploadDlg::dataIsComming);
    connect(pushButtonSendToServer, &QAbstractButton::clicked, this,
            &ProjectUploadDlg::pushButtonSendToServer_clicked);
    connect(pushButtonSendToOtherDevice, &QAbstractButton::clicked, this,
            &ProjectUploadDlg::pushButtonSendToOtherDevice_clicked);
}

ProjectUploadDlg::~ProjectUploadDlg()
{
    httpClient.abort();
}

void ProjectUploadDlg::initDlgCtrl()
{
    QString code;
    QString time;
    getConfig(QStringLiteral("project"), QStringLiteral("upload_code"), code);
    getConfig(QStringLiteral("project"), QStringLiteral("upload_time"), time);
    if (!code.isEmpty() && !time.isEmpty()) {
        labelCodeTitle->setText(QString::asprintf("Code:%s", code.toUtf8().constData()));
        labelTime->setText(time);
    }
}

QString ProjectUploadDlg::newRandomCode()
{
    const auto micros = std::chrono::duration_cast<std::chrono::microseconds>(
        std::chrono::system_clock::now().time_since_epoch());
    return QString::number(micros.count()).right(4);
}

qint64 ProjectUploadDlg::now() const
{
    return m_clock ? m_clock() : static_cast<qint64>(std::time(nullptr));
}

bool ProjectUploadDlg::isValidRequest(const download_project_app &request)
{
    for (download_project_app &entry : requests) {
        if (std::strcmp(entry.ip, request.ip) != 0 || entry.port != request.port)
            continue;
        if (request.request_time - entry.request_time >= 10) {
            entry = request;
            return true;
        }
        return false;
    }
    requests.append(request);
    return true;
}

void ProjectUploadDlg::pushButtonSendToServer_clicked()
{
    if (busy) {
        emit signalsInformation(tr("Uploading...,please wait a moment"));
        return;
    }
    server = true;
    labelTitle->clear();
    sendTo(transferUploadUrl());
}

void ProjectUploadDlg::pushButtonSendToOtherDevice_clicked()
{
    if (busy) {
        emit signalsInformation(tr("Uploading...,please wait a moment"));
        return;
    }
    server = false;
    labelPrompt->setText(tr("Enter this code in receiving device"));
    labelTitle->clear();
    labelCode->setText(newRandomCode());
    labelCode->show();
    labelCodeTitle->hide();
    labelTime->hide();
    pushButtonSendToServer->hide();
    pushButtonSendToOtherDevice->hide();
    requests.clear();
}

void ProjectUploadDlg::sendTo(const QString &url)
{
    // The archive lives in a folder of its own outside the project folders and
    // goes with it when the exchange is over, or with the packing when the
    // dialog was closed meanwhile.
    std::shared_ptr<QTemporaryDir> folder(new QTemporaryDir, [](QTemporaryDir *dir) {
        BackgroundWork::forget(dir->path());
        delete dir;
    });
    const QString archive = folder->filePath(transferArchiveName());
    if (!folder->isValid()) {
        busy = false;
        emit signalsInformation(tr("Failed to create the project archive!"));
        return;
    }
    // Packing runs on a worker: the window and the bus go on; a second send is
    // refused as busy meanwhile.
    busy = true;
    const int ticket = ++m_packing;
    BackgroundWork::remember(folder->path());
    const auto packed = [this, folder, archive, url, ticket](bool ok) {
        if (ticket != m_packing)
            return; // the dialog was closed while it packed
        if (!ok) {
            busy = false;
            emit signalsInformation(tr("Failed to create the project archive!"));
            return;
        }
        QPointer<ProjectUploadDlg> self(this);
        httpClient.upload(url, archive, 0);
        if (self)
            busy = false;
    };
    m_stopPacking = packProjectsInBackground(projectNames, archive, this, packed);
}

void ProjectUploadDlg::dataIsComming(quint8 *recvBuff, qlonglong recvLength)
{
    if (!recvBuff || recvLength < AnnouncementBytes || recvLength > BroadcastSocket::BufferSize)
        return;
    unsigned char buff[BroadcastSocket::BufferSize] = {};
    std::memcpy(buff, recvBuff, static_cast<size_t>(recvLength));
    if (!isVisible() || !gl_socket.checkRecvBuff_0xAAAA(buff, recvLength))
        return;
    // The length byte must cover the nine payload bytes read below.
    if (buff[16] < 11 + 9)
        return;
    const unsigned short code = static_cast<unsigned short>((buff[21] << 8) | buff[22]);
    if (code != 0x2025 || buff[25] != 0x38 || !labelCode->isVisible() || busy)
        return;
    bool ok = false;
    const int shown = labelCode->text().toInt(&ok);
    if (!ok || ((buff[26] << 8) | buff[27]) != shown)
        return;

    download_project_app request;
    request.request_time = now();
    request.port = static_cast<quint16>((buff[32] << 8) | buff[33]);
    std::snprintf(request.ip, sizeof(request.ip), "%d.%d.%d.%d", buff[28], buff[29], buff[30], buff[31]);
    if (!isValidRequest(request))
        return;

    labelTitle->clear();
    server = false;
    busy = true;
    const QString url = QString::asprintf("http://%s:%d", request.ip, int(request.port));
    // The post waits in an event loop of its own; it runs once the bus has
    // finished handing on this frame.
    QTimer::singleShot(0, this, [this, url] {
        busy = false;
        sendTo(url);
    });
}

void ProjectUploadDlg::slotsReplyPercent(int percent)
{
    labelTitle->setText(QString::asprintf("%d%%", percent));
}

void ProjectUploadDlg::slotsReplyFinished(QByteArray body)
{
    busy = false;
    if (!server) {
        emit signalsInformation(tr("success."));
        return;
    }
    const QJsonDocument document = QJsonDocument::fromJson(body);
    if (!document.isObject())
        return;
    const QJsonObject object = document.object();
    if (!object.contains(QStringLiteral("code")) || object.value(QStringLiteral("code")).toInt() != 0)
        return;
    if (!object.contains(QStringLiteral("data")))
        return;
    const QJsonObject data = object.value(QStringLiteral("data")).toObject();
    if (!data.contains(QStringLiteral("token")))
        return;
    const QString code = data.value(QStringLiteral("token")).toString();
    const QString time = QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
    // Code and time go into the settings file in one write: both or neither.
    const bool kept = setConfig(QStringLiteral("project"), {{QStringLiteral("upload_code"), code},
                                                            {QStringLiteral("upload_time"), time}});
    // The archive is on the server either way, so the code is shown even when it could not be kept.
    labelCodeTitle->setText(QString::asprintf("Code:%s", code.toUtf8().constData()));
    labelTime->setText(time);
    if (!kept) {
        emit signalsInformation(tr("Upload succeeded, but failed to save the upload code!"));
        return;
    }
    emit signalsInformation(tr("success."));
}

void ProjectUploadDlg::slotsReplyErrorString(QString errorString)
{
    busy = false;
    emit signalsInformation(errorString);
}

void ProjectUploadDlg::done(int result)
{
    // Closing the dialog gives up the exchange under way, a packing included.
    ++m_packing;
    if (m_stopPacking)
        std::exchange(m_stopPacking, nullptr)();
    busy = false;
    httpClient.abort();
    MyDialog::done(result);
}

void ProjectUploadDlg::paintEvent(QPaintEvent *event)
{
    paintRoundedPanel(this);
    MyDialog::paintEvent(event);
}
