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
#include <QEvent>
#include <QLabel>
#include <QRegularExpression>
#include <QSettings>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTimer>
#include <QUdpSocket>
#include <QVariant>
#include <QtTest>

#include <net/if.h>
#include <sched.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>
#include <memory>

namespace faultsweep {

namespace {

const QHostAddress RecorderAddress(QStringLiteral("127.0.0.2"));
const QByteArray EndMark("faultsweep: end of run");
// A run that still reaches its Nth step after this many is taken as endless.
const int MaxSteps = 20000;

// The process-wide settings a run may change, put back before the next one.
struct Globals
{
    QString subId = gl_subId, devId = gl_devId, lock = gl_lockPassword, retain = gl_retainDays;
    QString mac = gl_ip_port_mac, password = gl_password, server = gl_server_ip;
    QString domain = gl_domain_name, host = gl_host_ip;
    int style = gl_net_style;

    void putBack() const
    {
        gl_subId = subId;
        gl_devId = devId;
        gl_lockPassword = lock;
        gl_retainDays = retain;
        gl_ip_port_mac = mac;
        gl_password = password;
        gl_server_ip = server;
        gl_domain_name = domain;
        gl_host_ip = host;
        gl_net_style = style;
    }
};

bool copyTree(const QString &from, const QString &to)
{
    QDir().mkpath(to);
    QDirIterator it(from, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString target = to + path.mid(from.size());
        if (it.fileInfo().isDir()) {
            if (!QDir().mkpath(target))
                return false;
        } else if (!QFile::copy(path, target)) {
            return false;
        }
    }
    return true;
}

// Times of the run itself (anything stamped "now") read the same in every run:
// "2026-12-08 19:04:38", "20261208190438" and Qt's text form "Tue Dec 8 19:04:38 2026".
QString withoutNow(QString text, qint64 from, qint64 to)
{
    static const QRegularExpression stamp(QStringLiteral(
        "\\d{4}-\\d\\d-\\d\\d[ T]\\d\\d:\\d\\d:\\d\\d|\\d{14}|[A-Z][a-z]{2} [A-Z][a-z]{2} {1,2}\\d{1,2} "
        "\\d\\d:\\d\\d:\\d\\d \\d{4}"));
    QString out;
    int last = 0;
    auto it = stamp.globalMatch(text);
    while (it.hasNext()) {
        const QRegularExpressionMatch m = it.next();
        const QString found = m.captured(0);
        QDateTime time;
        if (found.size() == 14)
            time = QDateTime::fromString(found, QStringLiteral("yyyyMMddHHmmss"));
        else if (found.at(0).isDigit())
            time = QDateTime::fromString(found.left(10) + QLatin1Char(' ') + found.mid(11),
                                         QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        else
            time = QDateTime::fromString(found, Qt::TextDate);
        out += text.midRef(last, m.capturedStart() - last);
        const qint64 secs = time.isValid() ? time.toSecsSinceEpoch() : 0;
        out += secs >= from - 2 && secs <= to + 2 ? QStringLiteral("<now>") : found;
        last = m.capturedEnd();
    }
    out += text.midRef(last);
    return out;
}

// How a text differs from the one expected, line by line, for the report.
QString firstDifference(const QString &got, const QString &expected)
{
    const QStringList g = got.split(QLatin1Char('\n'));
    const QStringList e = expected.split(QLatin1Char('\n'));
    QStringList extra;
    QStringList missing;
    for (const QString &line : g)
        if (!e.contains(line) && extra.size() < 3)
            extra << line.left(160);
    for (const QString &line : e)
        if (!g.contains(line) && missing.size() < 3)
            missing << line.left(160);
    if (extra.isEmpty() && missing.isEmpty())
        return QStringLiteral("(the same lines in another order)");
    return QStringLiteral("{+ %1} {- %2}").arg(extra.join(QLatin1String(" / ")), missing.join(QLatin1String(" / ")));
}

QString framesText(const QList<QByteArray> &frames)
{
    QStringList out;
    for (const QByteArray &f : frames)
        out << QString::fromLatin1(f.toHex());
    return out.join(QLatin1Char(' '));
}

} // namespace

namespace {

QString makeNetworkNamespace()
{
    if (qEnvironmentVariable("VARNO_NETNS") != QLatin1String("1"))
        return QStringLiteral("needs the private network namespace of ./test");
    if (unshare(CLONE_NEWNET) != 0)
        return QStringLiteral("no network namespace of its own: %1").arg(QString::fromLocal8Bit(strerror(errno)));
    const int fd = socket(AF_INET, SOCK_DGRAM, 0);
    if (fd < 0)
        return QStringLiteral("no socket to bring the loopback up");
    ifreq request{};
    std::strncpy(request.ifr_name, "lo", IFNAMSIZ - 1);
    bool up = ioctl(fd, SIOCGIFFLAGS, &request) == 0;
    request.ifr_flags |= IFF_UP;
    up = up && ioctl(fd, SIOCSIFFLAGS, &request) == 0;
    close(fd);
    return up ? QString() : QStringLiteral("the loopback of the own namespace stays down");
}

} // namespace

QString ownNetworkNamespace()
{
    static const QString why = makeNetworkNamespace();
    return why;
}

// ---------------------------------------------------------------------------

void Run::start()
{
    connect(&gl_socket, &BroadcastSocket::signalsInformation, this, [this](const QString &text) {
        m_said << text;
    });
    for (QWidget *widget : QApplication::allWidgets())
        watchDialog(widget);
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

void Run::watchDialog(QObject *object)
{
    auto *dialog = qobject_cast<MyDialog *>(object);
    if (!dialog || m_watched.contains(dialog))
        return;
    m_watched.insert(dialog);
    connect(dialog, &MyDialog::signalsInformation, this, [this](const QString &text) {
        if (m_started)
            m_said << text;
    });
}

bool Run::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Polish)
        watchDialog(watched);
    if (event->type() != QEvent::Show)
        return false;
    auto *dialog = qobject_cast<QDialog *>(watched);
    if (!dialog || !dialog->isModal())
        return false;
    QPointer<QDialog> shown(dialog);
    // Answered once its own event loop runs.
    QTimer::singleShot(0, this, [this, shown]() {
        if (!shown || !shown->isVisible())
            return;
        if (m_answer && m_answer(shown))
            return;
        if (qobject_cast<KestMessageBox *>(shown)) {
            QStringList texts;
            for (QLabel *label : shown->findChildren<QLabel *>())
                if (!label->text().isEmpty())
                    texts << label->text();
            if (m_started)
                m_said << QStringLiteral("box: ") + texts.join(QLatin1Char(' '));
            shown->accept();
            return;
        }
        if (m_started)
            m_said << QStringLiteral("dialog: ") + QString::fromLatin1(shown->metaObject()->className());
        shown->reject();
    });
    return false;
}

// ---------------------------------------------------------------------------

namespace {
std::unique_ptr<varnotest::ProjectFolder> folder;
std::unique_ptr<Globals> globals;
} // namespace

Sweeper::Sweeper()
{
    m_unavailable = ownNetworkNamespace();
    folder = std::make_unique<varnotest::ProjectFolder>();
    m_app = folder->path();
    gl_subId = QStringLiteral("1");
    gl_devId = QStringLiteral("254");
    gl_socket.setId(1, 254);
    gl_net_style = NetStyleDnsServer;
    gl_domain_name = RecorderAddress.toString();
    gl_ip_port_mac = QStringLiteral("00-11-22-33-44-55-66-77");
    globals = std::make_unique<Globals>();
    if (!m_unavailable.isEmpty())
        return;
    SimBus probe;
    if (!probe.listenUdp(RecorderAddress, BroadcastSocket::BusPort))
        m_unavailable = QStringLiteral("no recorder on 127.0.0.2:6000: ") + probe.errorString();
    gl_socket.setKeepAliveInterval(24 * 3600 * 1000);
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

void Sweeper::putSettings(const QByteArray &bytes) const
{
    QFile::remove(m_settings);
    if (bytes.isNull())
        return;
    QFile file(m_settings);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
    file.close();
    // A new time, so that Qt's cache of the file reads it again.
    static qint64 stamp = QDateTime::currentSecsSinceEpoch() - 100000;
    file.setFileTime(QDateTime::fromSecsSinceEpoch(++stamp), QFileDevice::FileModificationTime);
}

void Sweeper::restore()
{
    const QString dbName = gl_sqlite3db.getDbName();
    gl_sqlite3db.close();
    QDir(m_app).removeRecursively();
    copyTree(m_snapshot + QStringLiteral("/app"), m_app);
    putSettings(m_settingsBytes);
    globals->putBack();
    gl_socket.setId(1, 254);
    gl_socket.createSocket();
    // The sockets and pages of the run before go now, not at the end of the test.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    gl_sqlite3db.setDbName(dbName);
    gl_sqlite3db.open();
}

QString Sweeper::dumpTables(const QStringList &leftOut) const
{
    const QString name = QStringLiteral("faultsweep-dump");
    QString out;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(gl_sqlite3db.getDbName());
        if (!db.open())
            return QStringLiteral("(the database does not open)");
        QStringList tables;
        QSqlQuery master(db);
        master.exec(QStringLiteral("select type,name,sql from sqlite_master order by type,name"));
        while (master.next()) {
            out += master.value(0).toString() + QLatin1Char(' ') + master.value(2).toString() +
                   QLatin1Char('\n');
            if (master.value(0).toString() == QLatin1String("table") &&
                !leftOut.contains(master.value(1).toString()))
                tables << master.value(1).toString();
        }
        for (const QString &table : qAsConst(tables)) {
            QSqlQuery rows(db);
            rows.exec(QStringLiteral("select * from \"%1\" order by rowid").arg(table));
            while (rows.next()) {
                QStringList columns;
                for (int i = 0; i < rows.record().count(); ++i)
                    columns << rows.value(i).toString();
                out += table + QLatin1String(": ") + columns.join(QLatin1Char('|')) + QLatin1Char('\n');
            }
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return out;
}

QString Sweeper::listFiles() const
{
    QStringList out;
    const QString db = QFileInfo(gl_sqlite3db.getDbName()).canonicalFilePath();
    QDirIterator it(m_app, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        if (it.fileInfo().canonicalFilePath() == db)
            continue;
        QFile file(path);
        file.open(QIODevice::ReadOnly);
        out << path.mid(m_app.size()) + QLatin1Char(' ') +
                   QString::fromLatin1(QCryptographicHash::hash(file.readAll(), QCryptographicHash::Md5).toHex());
    }
    out.sort();
    QFile settings(m_settings);
    if (settings.open(QIODevice::ReadOnly))
        out << QStringLiteral("settings:\n") + QString::fromUtf8(settings.readAll());
    return out.join(QLatin1Char('\n'));
}

Outcome Sweeper::runOnce(const Action &action, int nth)
{
    restore();
    Outcome outcome;
    // Every time stamped since the action's seed reads "<now>", in every run alike.
    const qint64 from = m_actionStart;
    {
        // A recorder of the run's own: the devices a script adds go with it.
        SimBus bus;
        bus.listenUdp(RecorderAddress, BroadcastSocket::BusPort);
        m_bus = &bus;
        Run run;
        run.m_nth = nth;
        run.m_bus = m_bus;
        qApp->installEventFilter(&run);
        // A run that never calls start() fails nothing and is flagged below.
        StepFault::arm(QString(), 0);
        action.script(run);
        StepFault::disarm();
        qApp->removeEventFilter(&run);
        outcome.said = run.m_said;
        if (!run.m_started)
            outcome.said << QStringLiteral("(the script never started the action)");
        // The bus: every frame sent up to a mark sent now.
        QUdpSocket mark;
        mark.writeDatagram(EndMark, RecorderAddress, BroadcastSocket::BusPort);
        Run::waitUntil([this]() { return !m_bus->frames().isEmpty() && m_bus->frames().last().raw == EndMark; });
        for (const SimFrame &frame : m_bus->frames())
            if (frame.raw != EndMark)
                outcome.frames << frame.raw;
        outcome.observed = run.m_notes.join(QLatin1Char('\n'));
        if (action.observe)
            outcome.observed += QLatin1Char('\n') + action.observe();
        m_bus = nullptr;
    }
    outcome.fired = StepFault::fired();
    outcome.steps = StepFault::steps();
    outcome.failedSql = StepFault::failedSql();
    // Whatever is still unwritten or left in an open transaction is what a close
    // would leave: the tables are read from the file afterwards.
    gl_sqlite3db.close();
    const qint64 to = QDateTime::currentSecsSinceEpoch();
    outcome.tables = withoutNow(dumpTables(action.leftOut), from, to);
    outcome.files = withoutNow(listFiles(), from, to);
    outcome.observed = withoutNow(outcome.observed, from, to);
    for (QString &text : outcome.said)
        text = withoutNow(text, from, to);
    return outcome;
}

QStringList Sweeper::sweep(const Action &action, QString &summary)
{
    QStringList faults;
    // The folder as the action finds it.
    QTemporaryDir snapshot;
    m_snapshot = snapshot.path();
    m_actionStart = QDateTime::currentSecsSinceEpoch();
    // Each action starts from the settings the sweep began with, not those the
    // action before left.
    folder.reset();
    putSettings(m_pristineSettings);
    folder = std::make_unique<varnotest::ProjectFolder>();
    m_app = folder->path();
    if (action.seed)
        action.seed();
    gl_sqlite3db.flushBatch();
    const QString dbName = gl_sqlite3db.getDbName();
    gl_sqlite3db.close();
    copyTree(m_app, m_snapshot + QStringLiteral("/app"));
    QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Kest"), QStringLiteral("Varno"))
        .sync();
    QFile settings(m_settings);
    m_settingsBytes = settings.open(QIODevice::ReadOnly) ? settings.readAll() : QByteArray();
    gl_sqlite3db.setDbName(dbName);
    gl_sqlite3db.open();
    const auto now = [] { return QDateTime::currentSecsSinceEpoch(); };
    const QString before = withoutNow(dumpTables(action.leftOut), m_actionStart, now());

    const Outcome clean = runOnce(action, INT_MAX);
    const Outcome again = runOnce(action, INT_MAX);
    if (clean.tables != again.tables || clean.frames != again.frames || clean.said != again.said ||
        clean.files != again.files || clean.observed != again.observed) {
        faults << QStringLiteral("two runs without a fault differ: tables %1, frames [%2] / [%3], said [%4] / [%5]")
                      .arg(firstDifference(again.tables, clean.tables), framesText(clean.frames),
                           framesText(again.frames), clean.said.join(QLatin1String("; ")),
                           again.said.join(QLatin1String("; ")));
        return faults;
    }
    if (qEnvironmentVariableIsSet("VARNO_SWEEP_VERBOSE"))
        qInfo("clean run: %d steps, %d frames, said [%s], observed [%s]", clean.steps, int(clean.frames.size()),
              qPrintable(clean.said.join(QLatin1String("; "))), qPrintable(clean.observed.simplified()));
    const QString beforeFiles = [&]() {
        restore();
        gl_sqlite3db.close();
        return withoutNow(listFiles(), m_actionStart, now());
    }();
    // An action that changes, sends, says and shows nothing proves nothing.
    if (clean.tables == before && clean.files == beforeFiles && clean.frames.isEmpty() && clean.said.isEmpty() &&
        clean.observed.trimmed().isEmpty()) {
        faults << QStringLiteral("the action without a fault does nothing that can be seen");
        return faults;
    }

    int refused = 0;
    int whole = 0;
    int toldBesides = 0;
    int nth = 1;
    for (; nth <= MaxSteps; ++nth) {
        const Outcome o = runOnce(action, nth);
        if (!o.fired)
            break;
        // Whole: the work as without the fault. A read for the page that failed after
        // the work was done may be said besides what the clean run says.
        int matched = 0;
        bool onlyNewBesides = true;
        for (const QString &text : o.said) {
            if (matched < clean.said.size() && text == clean.said.at(matched))
                ++matched;
            else
                onlyNewBesides = onlyNewBesides && !clean.said.contains(text);
        }
        const bool isWhole = o.tables == clean.tables && o.files == clean.files && o.frames == clean.frames &&
                             matched == clean.said.size() && onlyNewBesides && o.observed == clean.observed;
        const bool quietBus = o.frames.size() <= action.sentFirst && o.frames == clean.frames.mid(0, o.frames.size());
        // Told: something the clean run does not say, and none of its successes.
        bool told = false;
        bool boasts = false;
        for (const QString &text : o.said) {
            told = told || !clean.said.contains(text);
            boasts = boasts || (clean.said.contains(text) && text.contains(QLatin1String("success"), Qt::CaseInsensitive));
        }
        told = told && !boasts;
        const bool isRefused = o.tables == before && o.files == beforeFiles && quietBus && told;
        if (isWhole) {
            ++whole;
            toldBesides += o.said.size() > clean.said.size() ? 1 : 0;
            continue;
        }
        if (isRefused && !action.mustBeWhole) {
            ++refused;
            continue;
        }
        QStringList why;
        if (o.tables != clean.tables)
            why << QStringLiteral("tables %1 (against the clean run)").arg(firstDifference(o.tables, clean.tables));
        if (o.tables != before)
            why << QStringLiteral("changed %1").arg(firstDifference(o.tables, before));
        if (o.files != clean.files)
            why << QStringLiteral("files %1 (against the clean run)").arg(firstDifference(o.files, clean.files));
        if (o.files != beforeFiles)
            why << QStringLiteral("files changed %1").arg(firstDifference(o.files, beforeFiles));
        if (o.frames != clean.frames)
            why << QStringLiteral("frames [%1] where [%2]").arg(framesText(o.frames), framesText(clean.frames));
        if (o.observed != clean.observed)
            why << QStringLiteral("observed %1").arg(firstDifference(o.observed, clean.observed));
        why << QStringLiteral("said [%1] where [%2]")
                   .arg(o.said.join(QLatin1String("; ")), clean.said.join(QLatin1String("; ")));
        faults << QStringLiteral("step %1 (\"%2\"): neither refused nor whole: %3")
                      .arg(nth)
                      .arg(o.failedSql.simplified().left(200), why.join(QLatin1String(", ")));
    }
    if (nth > MaxSteps)
        faults << QStringLiteral("still stepping after %1 steps").arg(MaxSteps);
    summary = QStringLiteral("%1 steps: %2 refused, %3 whole (%4 with a failure said besides), %5 neither")
                  .arg(clean.steps)
                  .arg(refused)
                  .arg(whole)
                  .arg(toldBesides)
                  .arg(faults.size());
    return faults;
}

} // namespace faultsweep
