#include "projectdownloaddlg.h"

#include "bus/broadcastsocket.h"
#include "bus/networkcommands.h"
#include "settings/httpserver.h"
#include "settings/transfersettings.h"
#include "shell/framedialog.h"
#include "shell/roundedpanel.h"
#include "store/backgroundwork.h"
#include "store/databaseinit.h"
#include "store/filehelpers.h"
#include "store/globals.h"
#include "store/projectlist.h"
#include "store/ziparchive.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHostAddress>
#include <QLabel>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QThreadPool>
#include <QTime>
#include <QVBoxLayout>
#include <qtmaterialflatbutton.h>
#include <qtmaterialiconbutton.h>
#include <qtmateriallabel.h>
#include <qtmateriallineedit.h>

#include <utility>

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
    if (m_givenUp)
        m_givenUp->store(true);
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
    // The folder goes once neither the dialog nor an import under way needs it; an
    // exit that cannot wait for the import removes it.
    m_transferDir.reset(new QTemporaryDir, [](QTemporaryDir *dir) {
        BackgroundWork::forget(dir->path());
        delete dir;
    });
    BackgroundWork::remember(m_transferDir->path());
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
    if (downloading || m_importing) {
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
    if ((downloading && !m_server) || m_importing) {
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

namespace {

using Imported = ProjectDownloadDlg::Imported;

std::function<void(const QString &)> importHook;

// The first file work of an import, on a worker: the archive unpacked into
// unpacked; found gets the folders it holds.
Imported unpackArchive(const QString &archive, const QString &unpacked)
{
    Imported result;
    if (!QDir().mkpath(unpacked))
        return result;
    // Listed first: an archive with an absolute, "..", or link entry is refused
    // whole before anything is written.
    if (!ZipArchive::extractDir(archive, unpacked)) {
        result.error = ProjectDownloadDlg::tr("Invalid project archive!");
        return result;
    }
    ProjectDownloadDlg::getDownloadProjectList(unpacked, result.found);
    result.ok = true;
    return result;
}

// The second, once the window has chosen the names: each project from (a folder
// of unpacked) checked, then copied into its target (a project folder) under the
// name at the same index. listed: whether the project list could be read.
Imported copyProjects(const QString &unpacked, const QStringList &from, const QStringList &names,
                      const QStringList &targets, bool listed)
{
    Imported result;
    // A project folder without a whole database is no project: one missing, empty,
    // cut short or not SQLite at all refuses the archive whole before anything is
    // listed. The unpacked copy is the one looked at, so nothing has been moved yet.
    for (const QString &name : from) {
        const QString db = QStringLiteral("%1/%2/%2.db3").arg(unpacked, name);
        if (BackgroundWork::stopping() || !isIntactDatabase(db)) {
            result.error = ProjectDownloadDlg::tr("Invalid project archive!");
            return result;
        }
    }
    if (!listed) {
        // Without the list no name is known to be free, and a listed project's
        // folder could be taken for one left behind.
        result.error = QString::asprintf("Failed to add project %s!", from.first().toUtf8().constData());
        return result;
    }
    for (int i = 0; i < from.size(); ++i) {
        const QString &name = names.at(i);
        const QString &target = targets.at(i);
        // Given up (or the exit): nothing more is removed, copied or renamed; what was
        // put in place so far goes with the given-up import.
        if (BackgroundWork::stopping()) {
            result.error = QString::asprintf("Failed to copy project %s!", name.toUtf8().constData());
            return result;
        }
        if (importHook)
            importHook(name);
        // A project that cannot be put in place whole leaves no folder behind; an exit
        // that cannot wait removes it.
        BackgroundWork::remember(target);
        const auto forget = qScopeGuard([&] { BackgroundWork::forget(target); });
        auto fail = [&](bool remove) {
            // Given up, the window removes what was begun here, unless its name is listed
            // by then; at the exit or on a real failure, nothing else can have listed it.
            if (remove && BackgroundWork::stopping() && !BackgroundWork::exiting()) {
                result.names.append(name);
                result.targets.append(target);
            } else if (remove) {
                QDir(target).removeRecursively();
            }
            result.error = QString::asprintf("Failed to copy project %s!", name.toUtf8().constData());
            return result;
        };
        const QFileInfo left(target);
        // A linked folder is not followed: what it points to is not this project's.
        if (target.isEmpty() || left.isSymLink())
            return fail(false);
        // A folder left behind by no listed project makes room for the new one.
        if (left.exists() && !QDir(target).removeRecursively())
            return fail(false);
        if (!copyDirToPath(unpacked + QLatin1Char('/') + from.at(i), target, true))
            return fail(true);
        if (name != from.at(i)) {
            const QString oldDb = QString::asprintf("%s/%s.db3", target.toUtf8().constData(),
                                                    from.at(i).toUtf8().constData());
            const QString newDb =
                QString::asprintf("%s/%s.db3", target.toUtf8().constData(), name.toUtf8().constData());
            if (QFileInfo::exists(oldDb)) {
                QFile::remove(newDb);
                if (!QFile::rename(oldDb, newDb))
                    return fail(true);
            }
        }
        result.names.append(name);
        result.targets.append(target);
    }
    result.ok = true;
    return result;
}

} // namespace

void ProjectDownloadDlg::setImportHookForTest(std::function<void(const QString &)> hook)
{
    importHook = std::move(hook);
}

namespace {

// Dialogs whose import waits for project names that another import holds.
QList<QPointer<ProjectDownloadDlg>> &waitingDialogs()
{
    static QList<QPointer<ProjectDownloadDlg>> dialogs;
    return dialogs;
}

// What a given-up import put in place goes again, unless its name is listed by now.
void removeUnlisted(const Imported &result)
{
    QStringList listed;
    if (result.targets.isEmpty() || !getProjectList(listed))
        return;
    for (int i = 0; i < result.targets.size() && i < result.names.size(); ++i) {
        if (!listed.contains(result.names.at(i)))
            removeProjectFolder(result.targets.at(i));
    }
}

} // namespace

void ProjectDownloadDlg::runImportStep(std::function<Imported()> work,
                                       void (ProjectDownloadDlg::*next)(const Imported &),
                                       const QStringList &held)
{
    // The folder stays while the worker needs it, even once the dialog is closed.
    const std::shared_ptr<QTemporaryDir> folder = m_transferDir;
    const std::shared_ptr<std::atomic<bool>> givenUp = m_givenUp;
    const int ticket = m_imports;
    QPointer<ProjectDownloadDlg> self(this);
    BackgroundWork::pool().start([=, folder = folder]() mutable {
        Imported result;
        {
            const BackgroundWork::GiveUpScope scope(givenUp.get());
            result = work();
        }
        QMetaObject::invokeMethod(
            QCoreApplication::instance(),
            [self, ticket, result, next, held, folder = std::move(folder)]() mutable {
                folder.reset();
                if (self && self->m_imports == ticket)
                    (self.data()->*next)(result);
                else
                    removeUnlisted(result);
                // Listed or removed: the names are free for other imports again.
                if (!held.isEmpty()) {
                    releaseProjectNames(held);
                    wakeWaitingImports();
                }
            },
            Qt::QueuedConnection);
    });
}

void ProjectDownloadDlg::wakeWaitingImports()
{
    const QList<QPointer<ProjectDownloadDlg>> waiting = std::exchange(waitingDialogs(), {});
    for (const QPointer<ProjectDownloadDlg> &dialog : waiting) {
        if (dialog && dialog->m_waitingForNames)
            dialog->chooseNames(dialog->m_waitingUnpacked);
    }
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

    // The unpacking, its checks and the copies run on a worker: the window and the
    // bus go on, and both buttons answer that a download is under way. The project
    // list is read and written here, between those steps.
    m_importing = true;
    if (m_server) // the sender hears how the import went once it is over
        m_server->deferAnswer();
    ++m_imports;
    m_givenUp = std::make_shared<std::atomic<bool>>(false);
    const QString archive = m_archivePath;
    m_unpacked = m_transferDir->filePath(QTime::currentTime().toString(QStringLiteral("hhmmss")));
    const QString unpacked = m_unpacked;
    runImportStep([archive, unpacked] { return unpackArchive(archive, unpacked); },
                  &ProjectDownloadDlg::chooseNames);
}

void ProjectDownloadDlg::chooseNames(const Imported &unpacked)
{
    if (!unpacked.ok) {
        finishImport(unpacked);
        return;
    }
    QStringList from;
    for (const QString &name : unpacked.found) {
        if (isValidProjectName(name))
            from.append(name);
    }
    if (from.isEmpty()) {
        Imported none;
        none.error = tr("No project in the archive!");
        finishImport(none);
        return;
    }
    QStringList taken;
    const bool listed = getProjectList(taken);
    const QStringList names = uniqueNames(from, taken);
    // A name that another import still holds (one given up whose worker has not
    // ended) is waited for: its folder may still be written or removed.
    for (const QString &name : names) {
        if (isProjectNameHeld(name)) {
            if (!m_waitingForNames)
                emit signalsInformation(tr("Downloading...,please wait a moment"));
            m_waitingForNames = true;
            m_waitingUnpacked = unpacked;
            waitingDialogs().append(this);
            return;
        }
    }
    m_waitingForNames = false;
    QStringList targets;
    for (const QString &name : names)
        targets.append(projectFolder(name));
    const QString folder = m_unpacked;
    holdProjectNames(names);
    runImportStep([folder, from, names, targets,
                   listed] { return copyProjects(folder, from, names, targets, listed); },
                  &ProjectDownloadDlg::finishImport, names);
}

void ProjectDownloadDlg::finishImport(const Imported &result)
{
    m_importing = false;
    bool ok = result.ok;
    QString error = result.error;
    for (int i = 0; i < result.names.size(); ++i) {
        if (!addProject(result.names.at(i))) {
            // This one and those after it are in no list: none is left behind.
            for (int j = i; j < result.targets.size(); ++j)
                removeProjectFolder(result.targets.at(j));
            ok = false;
            error = QString::asprintf("Failed to add project %s!", result.names.at(i).toUtf8().constData());
            break;
        }
        downloaded = true; // the list has changed, even if a later copy fails
    }
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

void ProjectDownloadDlg::done(int result)
{
    // Closing the dialog gives up what is under way: the request, the wait for
    // a sender and its partial archive, an import.
    ++m_imports;
    if (m_givenUp)
        m_givenUp->store(true);
    m_importing = false;
    m_waitingForNames = false;
    httpClient.abort();
    abandonTransfer();
    MyDialog::done(result);
}

void ProjectDownloadDlg::paintEvent(QPaintEvent *event)
{
    paintRoundedPanel(this);
    MyDialog::paintEvent(event);
}
