#include "projectdownloaddlg.h"

#include "bus/broadcastsocket.h"
#include "bus/networkcommands.h"
#include "settings/httpserver.h"
#include "settings/transfersettings.h"
#include "shell/framedialog.h"
#include "shell/roundedpanel.h"
#include "store/databaseinit.h"
#include "store/filehelpers.h"
#include "store/globals.h"
#include "store/projectlist.h"
#include "store/ziparchive.h"

#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHostAddress>
#include <QLabel>
#include <QTemporaryDir>
#include <QTime>
#include <QVBoxLayout>
#include <qtmaterialflatbutton.h>
#include <qtmaterialiconbutton.h>
#include <qtmateriallabel.h>
#include <qtmateriallineedit.h>

ProjectDownloadDlg::ProjectDownloadDlg(QWidget *parent)
    : MyDialog(parent)
{
    QtMaterialIconButton *close = initFramedDialog(this, QStringLiteral("ProjectDownloadDlg"));
    setMinimumWidth(480);

    labelIcon = new QLabel(this);
    labelIcon->setObjectName(QStringLiteral("labelIcon"));
    labelIcon->setFixedSize(40, 40);
    labelIcon->setPixmap(QPixmap(QStringLiteral(":/myImages/png/icon-projectsettings-download.png"))
                             .scaled(40, 40, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    labelPrompt = new QtMaterialLabel(tr("Enter the code from sending device"), Material::Body1, this);
    labelPrompt->setObjectName(QStringLiteral("labelPrompt"));
    labelTitle = new QtMaterialLabel(QString(), Material::FontType(12), this);
    labelTitle->setObjectName(QStringLiteral("labelTitle"));
    lineEditCode = new QtMaterialLineEdit(this);
    lineEditCode->setObjectName(QStringLiteral("lineEditCode"));
    lineEditCode->setAlignment(Qt::AlignCenter);
    pushButtonDownloadServer =
        new QtMaterialFlatButton(tr("Download Server"), Material::RaisedPrimary, this);
    pushButtonDownloadServer->setObjectName(QStringLiteral("pushButtonDownloadServer"));
    pushButtonDownloadServer->setBackgroundColor(QColor(0xE3, 0x51, 0x51));
    pushButtonDownloadDevice =
        new QtMaterialFlatButton(tr("Download Device"), Material::RaisedPrimary, this);
    pushButtonDownloadDevice->setObjectName(QStringLiteral("pushButtonDownloadDevice"));

    auto *layout = new QVBoxLayout(this);
    layout->setSpacing(20);
    auto *top = new QHBoxLayout;
    top->addWidget(labelTitle, 1);
    top->addWidget(close, 0, Qt::AlignRight | Qt::AlignTop);
    layout->addLayout(top);
    layout->addWidget(labelIcon, 0, Qt::AlignHCenter);
    layout->addWidget(labelPrompt, 0, Qt::AlignHCenter);
    layout->addWidget(lineEditCode);
    auto *buttons = new QHBoxLayout;
    buttons->setSpacing(20);
    buttons->addWidget(pushButtonDownloadServer);
    buttons->addWidget(pushButtonDownloadDevice);
    layout->addLayout(buttons);
    layout->addStretch(1);

    broadcastTimer.setSingleShot(false);
    broadcastTimer.setInterval(1000);
    connect(&httpClient, &HttpClient::signalsReplyPercent, this, &ProjectDownloadDlg::slotsReplyPercent);
    connect(&httpClient, &HttpClient::signalsReplyFinished, this, &ProjectDownloadDlg::slotsDownloadServer);
    // The cloud's archive is written as it arrives, as a sender's is.
    connect(&httpClient, &HttpClient::signalsDownloadData, this, &ProjectDownloadDlg::slotsDownloadData);
    connect(&httpClient, &HttpClient::signalsReplyErrorString, this,
            &ProjectDownloadDlg::slotsReplyErrorString);
    connect(&broadcastTimer, &QTimer::timeout, this, &ProjectDownloadDlg::slotsDownloadDB);
    connect(pushButtonDownloadServer, &QAbstractButton::clicked, this,
            &ProjectDownloadDlg::pushButtonDownloadServer_clicked);
    connect(pushButtonDownloadDevice, &QAbstractButton::clicked, this,
            &ProjectDownloadDlg::pushButtonDownloadDevice_clicked);
}

ProjectDownloadDlg::~ProjectDownloadDlg()
{
    httpClient.abort();
    abandonTransfer();
}

HttpServer *ProjectDownloadDlg::server() const
{
    return m_server.data();
}

void ProjectDownloadDlg::getDownloadProjectList(const QString &path, QStringList &list)
{
    const QFileInfoList entries =
        QDir(path).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    for (const QFileInfo &info : entries) {
        if (!info.isSymLink())
            list.append(info.fileName());
    }
}

QStringList ProjectDownloadDlg::uniqueNames(const QStringList &downloaded, QStringList taken)
{
    QStringList names;
    for (const QString &name : downloaded) {
        QString candidate = name;
        for (int n = 1; taken.contains(candidate, Qt::CaseSensitive); ++n)
            candidate = QString::asprintf("%s_%d", name.toUtf8().constData(), n);
        taken.append(candidate);
        names.append(candidate);
    }
    return names;
}

bool ProjectDownloadDlg::checkCode()
{
    const QString text = lineEditCode->text();
    if (text.isEmpty()) {
        emit signalsInformation(tr("Please input the complete content!"));
        return false;
    }
    // Only the digits 0 to 9: digits of other scripts do not make a number the
    // other side can read.
    for (const QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) {
            emit signalsInformation(tr("Invalid code,please input new value!"));
            return false;
        }
    }
    return true;
}

bool ProjectDownloadDlg::startTransfer()
{
    endTransfer();
    m_transferDir = std::make_unique<QTemporaryDir>();
    if (!m_transferDir->isValid()) {
        m_transferDir.reset();
        emit signalsInformation(tr("Failed to open file!"));
        return false;
    }
    m_archivePath = m_transferDir->filePath(transferArchiveName());
    m_archive.setFileName(m_archivePath);
    if (!m_archive.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        endTransfer();
        emit signalsInformation(tr("Failed to open file!"));
        return false;
    }
    return true;
}

void ProjectDownloadDlg::endTransfer()
{
    if (m_archive.isOpen())
        m_archive.close();
    m_archivePath.clear();
    // The partial archive and any unpacked files go with their folder.
    m_transferDir.reset();
}

void ProjectDownloadDlg::abandonTransfer()
{
    broadcastTimer.stop();
    disposeServer();
    downloading = false;
    endTransfer();
}

void ProjectDownloadDlg::disposeServer()
{
    if (!m_server)
        return;
    HttpServer *old = m_server;
    m_server.clear();
    old->disconnect(this);
    if (old->isListening())
        old->close();
    old->abortConnections();
    old->deleteLater();
}

void ProjectDownloadDlg::pushButtonDownloadServer_clicked()
{
    if (!checkCode())
        return;
    if (downloading) {
        emit signalsInformation(tr("Downloading...,please wait a moment"));
        return;
    }
    broadcastTimer.stop();
    disposeServer();
    labelTitle->clear();
    if (!startTransfer())
        return;
    downloading = true;
    httpClient.download(transferDownloadUrl(), lineEditCode->text());
}

void ProjectDownloadDlg::pushButtonDownloadDevice_clicked()
{
    if (!checkCode())
        return;
    if (lineEditCode->text().toLongLong() > 9999) {
        emit signalsInformation(tr("Invalid code,please input new value!"));
        return;
    }
    // A download from the cloud keeps its archive; only a wait for a sender starts afresh.
    if (downloading && !m_server) {
        emit signalsInformation(tr("Downloading...,please wait a moment"));
        return;
    }
    // The wait for a sender ends here, partial archive and all, whether or not a new one starts.
    abandonTransfer();
    labelTitle->clear();

    auto *server = new HttpServer(this);
    if (!server->listen(QHostAddress(gl_host_ip), TransferPort)) {
        server->deleteLater();
        emit signalsInformation(QString::asprintf("Failed to start server(%s:%d)!",
                                                  gl_host_ip.toUtf8().constData(), int(TransferPort)));
        return;
    }
    if (!startTransfer()) {
        server->close();
        server->deleteLater();
        return;
    }
    m_server = server;
    connect(server, &HttpServer::signalsDownloadData, this, &ProjectDownloadDlg::slotsDownloadData);
    connect(server, &HttpServer::signalsReplyPercent, this, &ProjectDownloadDlg::slotsReplyPercent);
    connect(server, &HttpServer::signalsReplyFinished, this, &ProjectDownloadDlg::slotsReplyFinished);
    connect(server, &HttpServer::signalsReplyErrorString, this, &ProjectDownloadDlg::slotsReplyErrorString);
    downloading = true;
    slotsDownloadDB();
    broadcastTimer.start();
}

void ProjectDownloadDlg::slotsDownloadDB()
{
    // The entry is read at every tick; while it holds no valid code the last
    // valid one is announced.
    const QString text = lineEditCode->text();
    bool ok = !text.isEmpty();
    for (const QChar c : text)
        ok = ok && c >= QLatin1Char('0') && c <= QLatin1Char('9');
    if (ok && text.toLongLong() <= 9999)
        m_code = static_cast<quint16>(text.toInt());
    fn_download_db_broadcastAddress(m_code, gl_host_ip, TransferPort);
}

void ProjectDownloadDlg::slotsReplyPercent(int percent)
{
    labelTitle->setText(QString::asprintf("%d%%", percent));
}

void ProjectDownloadDlg::slotsDownloadData(QByteArray postData)
{
    if (!downloading)
        return; // what is left of a transfer given up
    if (!m_archive.isOpen() || m_archive.write(postData) != postData.size() || !m_archive.flush()) {
        // Bytes that cannot be kept end the transfer: the sender then hears no
        // answer instead of a success for an archive that was lost, and a
        // download from the cloud stops without a second message.
        {
            const QSignalBlocker quiet(&httpClient);
            httpClient.abort();
        }
        slotsReplyErrorString(tr("Failed to open file!"));
    }
}

void ProjectDownloadDlg::slotsDownloadServer(QByteArray body)
{
    // The body came through slotsDownloadData as it arrived; this is its end.
    slotsDownloadData(body);
    if (downloading)
        slotsReplyFinished();
}

void ProjectDownloadDlg::slotsReplyErrorString(QString errorString)
{
    abandonTransfer();
    emit signalsInformation(errorString);
}

void ProjectDownloadDlg::slotsReplyFinished()
{
    broadcastTimer.stop();
    downloading = false;
    if (!m_transferDir) {
        disposeServer();
        return;
    }
    m_archive.close();

    const QString unpacked =
        m_transferDir->filePath(QTime::currentTime().toString(QStringLiteral("hhmmss")));
    QString error;
    const bool ok = QDir().mkpath(unpacked) && importProjects(unpacked, error);
    endTransfer();
    // A sender waiting on the connection hears how the import went.
    if (m_server)
        m_server->answerImport(ok, error);
    disposeServer();
    if (!ok) {
        emit signalsInformation(error);
        return;
    }
    downloaded = true;
    emit signalsInformation(tr("success."));
}

bool ProjectDownloadDlg::importProjects(const QString &unpacked, QString &error)
{
    // Listed first: an archive with an absolute, "..", or link entry is refused
    // whole before anything is written.
    if (!ZipArchive::extractDir(m_archivePath, unpacked)) {
        error = tr("Invalid project archive!");
        return false;
    }
    QStringList found;
    getDownloadProjectList(unpacked, found);
    QStringList downloadedNames;
    for (const QString &name : qAsConst(found)) {
        if (isValidProjectName(name))
            downloadedNames.append(name);
    }
    if (downloadedNames.isEmpty()) {
        error = tr("No project in the archive!");
        return false;
    }
    // A project folder without a whole database is no project: one missing, empty,
    // cut short or not SQLite at all refuses the archive whole before anything is
    // listed. The unpacked copy is the one looked at, so nothing has been moved yet.
    for (const QString &name : qAsConst(downloadedNames)) {
        if (!isIntactDatabase(QStringLiteral("%1/%2/%2.db3").arg(unpacked, name))) {
            error = tr("Invalid project archive!");
            return false;
        }
    }
    QStringList taken;
    if (!getProjectList(taken)) {
        // Without the list no name is known to be free, and a listed project's
        // folder could be taken for one left behind.
        error = QString::asprintf("Failed to add project %s!", downloadedNames.first().toUtf8().constData());
        return false;
    }
    const QStringList newNames = uniqueNames(downloadedNames, taken);

    for (int i = 0; i < downloadedNames.size(); ++i) {
        const QString &from = downloadedNames.at(i);
        const QString &name = newNames.at(i);
        const QString target = projectFolder(name);
        // A project that cannot be put in place whole leaves no folder behind.
        auto fail = [&](const char *text) {
            removeProjectFolder(target);
            error = QString::asprintf(text, name.toUtf8().constData());
            return false;
        };
        // A folder left behind by no listed project makes room for the new one.
        removeProjectFolder(target);
        if (target.isEmpty() || !copyDirToPath(unpacked + QLatin1Char('/') + from, target, true))
            return fail("Failed to copy project %s!");
        if (name != from) {
            const QString oldDb =
                QString::asprintf("%s/%s.db3", target.toUtf8().constData(), from.toUtf8().constData());
            const QString newDb =
                QString::asprintf("%s/%s.db3", target.toUtf8().constData(), name.toUtf8().constData());
            if (QFileInfo::exists(oldDb)) {
                QFile::remove(newDb);
                if (!QFile::rename(oldDb, newDb))
                    return fail("Failed to copy project %s!");
            }
        }
        if (!addProject(name))
            return fail("Failed to add project %s!");
        downloaded = true; // the list has changed, even if a later copy fails
    }
    return true;
}

void ProjectDownloadDlg::done(int result)
{
    // Closing the dialog gives up what is under way: the request, the wait for
    // a sender and its partial archive.
    httpClient.abort();
    abandonTransfer();
    MyDialog::done(result);
}

void ProjectDownloadDlg::paintEvent(QPaintEvent *event)
{
    paintRoundedPanel(this);
    MyDialog::paintEvent(event);
}
