#include "faultsweep.h"

#include "projectfixture.h"
#include "simbus.h"
#include "stepfault.h"

#include "bus/broadcastsocket.h"
#include "shell/kestmessagebox.h"
#include "shell/mydialog.h"
#include "store/cppsqlite3db.h"
#include "store/globals.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QDateTime>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QLabel>
#include <QPointer>
#include <QRegularExpression>
#include <QSettings>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTimer>
#include <QUdpSocket>

#include <net/if.h>
#include <sched.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <memory>

namespace faultsweep {

struct Sweeper::Outcome
{
    QString state; // the tables, the folder's files and the settings
    QString observed;
    QList<QByteArray> frames;
    QStringList said;
    bool fired = false;
    QString failedSql;
};

namespace {

const QHostAddress Recorder(QStringLiteral("127.0.0.2"));
const QByteArray EndMark("faultsweep: end of run");
const int MaxSteps = 20000; // a run still stepping past this is taken as endless

// The process-wide settings a run may change, put back before the next one.
QString *const Globals[] = {&gl_subId,    &gl_devId,     &gl_lockPassword, &gl_retainDays, &gl_ip_port_mac,
                            &gl_password, &gl_server_ip, &gl_domain_name,  &gl_host_ip};
QStringList savedGlobals;
int savedStyle = 0;

std::unique_ptr<varnotest::ProjectFolder> folder;

qint64 now()
{
    return QDateTime::currentSecsSinceEpoch();
}

void copyTree(const QString &from, const QString &to)
{
    QDirIterator it(from, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                    QDirIterator::Subdirectories);
    QDir().mkpath(to);
    while (it.hasNext()) {
        const QString path = it.next();
        if (it.fileInfo().isDir())
            QDir().mkpath(to + path.mid(from.size()));
        else
            QFile::copy(path, to + path.mid(from.size()));
    }
}

void writeSettings(const QString &path, const QByteArray &bytes)
{
    QFile::remove(path);
    QFile file(path);
    if (bytes.isNull() || !file.open(QIODevice::WriteOnly))
        return;
    file.write(bytes);
    file.close();
    // A new time, so that Qt's cache of the file reads it again.
    static qint64 stamp = now() - 100000;
    file.setFileTime(QDateTime::fromSecsSinceEpoch(++stamp), QFileDevice::FileModificationTime);
}

// Stamps "2026-12-08 19:04:38", "20261208190438" or "Tue Dec 8 19:04:38 2026"
// from from on read "<now>", so that every outcome of an action reads alike.
QString withoutNow(const QString &text, qint64 from)
{
    static const QRegularExpression stamp(QStringLiteral(
        "\\d{4}-\\d\\d-\\d\\d[ T]\\d\\d:\\d\\d:\\d\\d|\\d{14}|[A-Z][a-z]{2} [A-Z][a-z]{2} {1,2}\\d{1,2} "
        "\\d\\d:\\d\\d:\\d\\d \\d{4}"));
    QString out;
    int last = 0;
    for (auto it = stamp.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        QString found = m.captured(0);
        const QDateTime time =
            found.size() == 14      ? QDateTime::fromString(found, QStringLiteral("yyyyMMddHHmmss"))
            : found.at(0).isDigit() ? QDateTime::fromString(found.replace(10, 1, QLatin1Char(' ')),
                                                            QStringLiteral("yyyy-MM-dd HH:mm:ss"))
                                    : QDateTime::fromString(found, Qt::TextDate);
        const qint64 secs = time.isValid() ? time.toSecsSinceEpoch() : 0;
        out += text.midRef(last, m.capturedStart() - last);
        out += secs >= from - 2 && secs <= now() + 2 ? QStringLiteral("<now>") : m.captured(0);
        last = m.capturedEnd();
    }
    return out + text.midRef(last);
}

// The lines one text has and the other lacks, for the report.
QString difference(const QString &got, const QString &expected)
{
    const QStringList g = got.split(QLatin1Char('\n'));
    const QStringList e = expected.split(QLatin1Char('\n'));
    QStringList plus, minus;
    for (const QString &line : g)
        if (!e.contains(line) && plus.size() < 3)
            plus << line.left(160);
    for (const QString &line : e)
        if (!g.contains(line) && minus.size() < 3)
            minus << line.left(160);
    return QStringLiteral("{+ %1} {- %2}")
        .arg(plus.join(QLatin1String(" / ")), minus.join(QLatin1String(" / ")));
}

QString hex(const QList<QByteArray> &frames)
{
    QStringList out;
    for (const QByteArray &frame : frames)
        out << QString::fromLatin1(frame.toHex());
    return out.join(QLatin1Char(' '));
}

QString makeNetworkNamespace()
{
    if (qEnvironmentVariable("VARNO_NETNS") != QLatin1String("1"))
        return QStringLiteral("needs the private network namespace of ./test");
    if (unshare(CLONE_NEWNET) != 0)
        return QStringLiteral("no network namespace of its own: ") + QString::fromLocal8Bit(strerror(errno));
    const int fd = socket(AF_INET, SOCK_DGRAM, 0);
    ifreq request{};
    std::strncpy(request.ifr_name, "lo", IFNAMSIZ - 1);
    bool up = fd >= 0 && ioctl(fd, SIOCGIFFLAGS, &request) == 0;
    request.ifr_flags |= IFF_UP;
    up = up && ioctl(fd, SIOCSIFFLAGS, &request) == 0;
    if (fd >= 0)
        close(fd);
    return up ? QString() : QStringLiteral("the loopback of the own namespace stays down");
}

} // namespace

QString ownNetworkNamespace()
{
    static const QString why = makeNetworkNamespace();
    return why;
}

void Run::start()
{
    connect(&gl_socket, &BroadcastSocket::signalsInformation, this,
            [this](const QString &text) { say(text); });
    connect(&gl_socket, &BroadcastSocket::signalsPageIdChanged, this,
            [this](QString id, QString, QString a, QString b) {
                note(QStringList{"go", id, a, b}.join(' '));
            });
    for (QWidget *widget : QApplication::allWidgets())
        eventFilter(widget, nullptr);
    m_started = true;
    if (m_nth > 0)
        StepFault::arm(QString(), m_nth);
}

bool Run::waitUntil(const std::function<bool()> &done, int timeoutMs)
{
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return true;
}

// Hears every dialog's texts (event null: a dialog made before the run began),
// and answers modal dialogs once their own event loop runs.
bool Run::eventFilter(QObject *watched, QEvent *event)
{
    auto *page = qobject_cast<MyDialog *>(watched);
    if (page && !m_watched.contains(page) && (!event || event->type() == QEvent::Polish)) {
        m_watched.insert(page);
        connect(page, &MyDialog::signalsInformation, this, [this](const QString &text) {
            if (m_started)
                say(text);
        });
    }
    auto *dialog = qobject_cast<QDialog *>(watched);
    if (!event || event->type() != QEvent::Show || !dialog || !dialog->isModal())
        return false;
    QTimer::singleShot(0, this, [this, shown = QPointer<QDialog>(dialog)]() {
        if (!shown || !shown->isVisible() || (m_answer && m_answer(shown)))
            return;
        QStringList texts;
        for (QLabel *label : shown->findChildren<QLabel *>())
            texts << label->text();
        const bool box = qobject_cast<KestMessageBox *>(shown);
        if (m_started)
            say(box ? QStringLiteral("box: ") + texts.join(QLatin1Char(' ')).simplified()
                    : QStringLiteral("dialog: ") + QString::fromLatin1(shown->metaObject()->className()));
        box ? shown->accept() : shown->reject();
    });
    return false;
}

Sweeper::Sweeper()
{
    m_unavailable = ownNetworkNamespace();
    folder = std::make_unique<varnotest::ProjectFolder>();
    gl_subId = QStringLiteral("1");
    gl_devId = QStringLiteral("254");
    gl_socket.setId(1, 254);
    gl_net_style = NetStyleDnsServer;
    gl_domain_name = Recorder.toString();
    gl_ip_port_mac = QStringLiteral("00-11-22-33-44-55-66-77");
    for (QString *global : Globals)
        savedGlobals << *global;
    savedStyle = gl_net_style;
    gl_socket.setKeepAliveInterval(24 * 3600 * 1000);
    SimBus probe;
    if (m_unavailable.isEmpty() && !probe.listenUdp(Recorder, BroadcastSocket::BusPort))
        m_unavailable = QStringLiteral("no recorder on 127.0.0.2:6000: ") + probe.errorString();
    if (m_unavailable.isEmpty() && !gl_socket.createSocket())
        m_unavailable = QStringLiteral("the bus does not open");
    QSettings settings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Kest"),
                       QStringLiteral("Varno"));
    settings.sync();
    m_settings = settings.fileName();
    QFile file(m_settings);
    m_pristineSettings = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

Sweeper::~Sweeper()
{
    gl_socket.closeSocket();
    folder.reset();
}

void Sweeper::restore(const QByteArray &settings)
{
    const QString dbName = gl_sqlite3db.getDbName();
    gl_sqlite3db.close();
    QDir(m_app).removeRecursively();
    copyTree(m_snapshot, m_app);
    writeSettings(m_settings, settings);
    for (int i = 0; i < savedGlobals.size(); ++i)
        *Globals[i] = savedGlobals.at(i);
    gl_net_style = savedStyle;
    gl_socket.setId(1, 254);
    gl_socket.createSocket();
    // The sockets and pages of the run before go now, not at the end of the test.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    gl_sqlite3db.setDbName(dbName);
    gl_sqlite3db.open();
}

// Every table (its schema and rows) read from the file, the folder's other files
// and the settings. gl_sqlite3db is closed first: what a close would lose is lost.
QString Sweeper::state(const Action &action) const
{
    gl_sqlite3db.close();
    QString out;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("faultsweep"));
        db.setDatabaseName(gl_sqlite3db.getDbName());
        db.open();
        QSqlQuery master(QStringLiteral("select type,name,sql from sqlite_master order by type,name"), db);
        while (master.next()) {
            out += master.value(2).toString() + QLatin1Char('\n');
            if (master.value(0).toString() != QLatin1String("table") ||
                action.leftOut.contains(master.value(1).toString()))
                continue;
            QSqlQuery rows(
                QStringLiteral("select * from \"%1\" order by rowid").arg(master.value(1).toString()), db);
            const bool perDevice = action.perDevice.contains(master.value(1).toString());
            QList<QStringList> table;
            while (rows.next()) {
                QStringList columns;
                for (int i = perDevice ? 1 : 0; i < rows.record().count(); ++i)
                    columns << rows.value(i).toString();
                table << columns;
            }
            if (perDevice) {
                std::stable_sort(table.begin(), table.end(), [](const QStringList &a, const QStringList &b) {
                    return a.mid(0, 3) < b.mid(0, 3);
                });
            }
            for (const QStringList &columns : qAsConst(table))
                out +=
                    master.value(1).toString() + QLatin1String(": ") + columns.join('|') + QLatin1Char('\n');
        }
    }
    QSqlDatabase::removeDatabase(QStringLiteral("faultsweep"));
    QStringList files;
    for (QDirIterator it(m_app, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories); it.hasNext();) {
        QFile file(it.next());
        if (QFileInfo(file).canonicalFilePath() != QFileInfo(gl_sqlite3db.getDbName()).canonicalFilePath() &&
            file.open(QIODevice::ReadOnly))
            files << file.fileName().mid(m_app.size()) + QLatin1Char(' ') +
                         QCryptographicHash::hash(file.readAll(), QCryptographicHash::Md5).toHex();
    }
    files.sort();
    QFile settings(m_settings);
    settings.open(QIODevice::ReadOnly);
    return withoutNow(out + files.join('\n') + QStringLiteral("\nsettings:\n") + settings.readAll(),
                      m_actionStart);
}

Sweeper::Outcome Sweeper::runOnce(const Action &action, int nth)
{
    restore(m_settingsBytes);
    Outcome outcome;
    {
        SimBus bus; // the devices a script adds go with the run
        bus.listenUdp(Recorder, BroadcastSocket::BusPort);
        Run run;
        run.m_nth = nth;
        run.m_bus = &bus;
        qApp->installEventFilter(&run);
        StepFault::arm(QString(), 0); // counted from start()
        action.script(run);
        StepFault::disarm();
        qApp->removeEventFilter(&run);
        outcome.said = run.m_said;
        if (!run.m_started)
            outcome.said << QStringLiteral("(the script never started the action)");
        // Every frame sent up to a mark sent now.
        QUdpSocket().writeDatagram(EndMark, Recorder, BroadcastSocket::BusPort);
        Run::waitUntil([&bus]() { return !bus.frames().isEmpty() && bus.frames().last().raw == EndMark; });
        for (const SimFrame &frame : bus.frames())
            if (frame.raw != EndMark)
                outcome.frames << frame.raw;
        outcome.observed =
            run.m_notes.join('\n') + QLatin1Char('\n') + (action.observe ? action.observe() : QString());
    }
    outcome.fired = StepFault::fired();
    outcome.failedSql = StepFault::failedSql();
    outcome.state = state(action);
    outcome.observed = withoutNow(outcome.observed, m_actionStart);
    for (QString &text : outcome.said)
        text = withoutNow(text, m_actionStart);
    return outcome;
}

QStringList Sweeper::sweep(const Action &action, QString &summary)
{
    // The action starts from the settings the sweep began with, a new folder and
    // what its seed adds.
    m_actionStart = now();
    QTemporaryDir snapshot;
    m_snapshot = snapshot.path();
    folder.reset();
    writeSettings(m_settings, m_pristineSettings);
    folder = std::make_unique<varnotest::ProjectFolder>();
    m_app = folder->path();
    if (action.seed)
        action.seed();
    gl_sqlite3db.flushBatch();
    gl_sqlite3db.close();
    copyTree(m_app, m_snapshot);
    QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Kest"), QStringLiteral("Varno"))
        .sync();
    QFile settings(m_settings);
    m_settingsBytes = settings.open(QIODevice::ReadOnly) ? settings.readAll() : QByteArray();
    restore(m_settingsBytes);
    const QString before = state(action);

    QStringList faults;
    const Outcome clean = runOnce(action, INT_MAX);
    const Outcome again = runOnce(action, INT_MAX);
    if (clean.state != again.state || clean.frames != again.frames || clean.said != again.said ||
        clean.observed != again.observed)
        return {QStringLiteral("two runs without a fault differ: %1, frames [%2] / [%3], said [%4] / [%5]")
                    .arg(difference(again.state + again.observed, clean.state + clean.observed),
                         hex(clean.frames), hex(again.frames), clean.said.join(';'), again.said.join(';'))};
    if (clean.state == before && clean.frames.isEmpty() && clean.said.isEmpty() &&
        clean.observed.trimmed().isEmpty())
        return {QStringLiteral("the action without a fault does nothing that can be seen")};

    int steps = 0, refused = 0, whole = 0;
    for (int nth = 1;; ++nth) {
        if (nth > MaxSteps)
            return faults << QStringLiteral("still stepping after %1 steps").arg(MaxSteps);
        const Outcome o = runOnce(action, nth);
        if (!o.fired)
            break;
        ++steps;
        // Whole: the clean run's texts in order, and besides them only failures it never says.
        int matched = 0;
        bool besides = true;
        // Told: a text the clean run does not say, and none of its successes.
        bool told = false;
        bool boasts = false;
        for (const QString &text : o.said) {
            if (matched < clean.said.size() && text == clean.said.at(matched))
                ++matched;
            else
                besides = besides && !clean.said.contains(text);
            told = told || !clean.said.contains(text);
            boasts = boasts || (clean.said.contains(text) &&
                                text.contains(QLatin1String("success"), Qt::CaseInsensitive));
        }
        if (o.state == clean.state && o.frames == clean.frames && o.observed == clean.observed &&
            matched == clean.said.size() && besides) {
            ++whole;
            continue;
        }
        if (!action.mustBeWhole && o.state == before && o.frames.size() <= action.sentFirst &&
            o.frames == clean.frames.mid(0, o.frames.size()) && told && !boasts) {
            ++refused;
            continue;
        }
        QStringList why;
        if (o.state != clean.state)
            why << QStringLiteral("against the clean run %1").arg(difference(o.state, clean.state));
        if (o.state != before)
            why << QStringLiteral("changed %1").arg(difference(o.state, before));
        if (o.frames != clean.frames)
            why << QStringLiteral("frames [%1] where [%2]").arg(hex(o.frames), hex(clean.frames));
        if (o.observed != clean.observed)
            why << QStringLiteral("shown %1").arg(difference(o.observed, clean.observed));
        why << QStringLiteral("said [%1] where [%2]").arg(o.said.join(';'), clean.said.join(';'));
        faults << QStringLiteral("step %1 (\"%2\"): neither refused nor whole: %3")
                      .arg(nth)
                      .arg(o.failedSql.simplified().left(200), why.join(QLatin1String(", ")));
    }
    summary = QStringLiteral("%1 steps: %2 refused, %3 whole, %4 neither")
                  .arg(steps)
                  .arg(refused)
                  .arg(whole)
                  .arg(faults.size());
    return faults;
}

} // namespace faultsweep
