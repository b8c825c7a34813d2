#pragma once

// Two real installations side by side: each a copy of the varno program with its
// own application folder, HOME and configuration home, each in a network
// namespace of its own, the two joined by a veth pair (A 10.77.1.1/24, B
// 10.77.1.2/24). They are worked through the program's standard-input commands
// (VARNO_COMMANDS_ON_STDIN). Used by the end-to-end test and the benchmark.

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <QTest>

#include <unistd.h>

namespace twoinstances {

const QString AddressA = QStringLiteral("10.77.1.1");
const QString AddressB = QStringLiteral("10.77.1.2");

inline QString findTool(const QString &name)
{
    QString path = QStandardPaths::findExecutable(name);
    if (path.isEmpty())
        path = QStandardPaths::findExecutable(name, {"/usr/sbin", "/sbin", "/usr/bin", "/bin"});
    return path;
}

inline bool run(const QStringList &command, QString *error)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(command.first(), command.mid(1));
    const bool ok = process.waitForFinished(10000) && process.exitStatus() == QProcess::NormalExit &&
                    process.exitCode() == 0;
    if (!ok && error)
        *error = command.join(' ') + ": " + QString::fromLocal8Bit(process.readAll()).trimmed();
    return ok;
}

// Two namespaces held open by a sleeping process each, joined by a veth pair.
class Network
{
public:
    ~Network()
    {
        for (QProcess *holder : {&m_a, &m_b}) {
            if (holder->state() != QProcess::NotRunning) {
                holder->kill();
                holder->waitForFinished(2000);
            }
        }
    }

    // Answers an empty text when the network stands, else why it cannot.
    QString setUp()
    {
        if (qgetenv("VARNO_NETNS") != "1")
            return QStringLiteral("runs only inside the private network namespace of ./test");
        if (geteuid() != 0)
            return QStringLiteral("making network namespaces and a veth pair needs root");
        ip = findTool(QStringLiteral("ip"));
        nsenter = findTool(QStringLiteral("nsenter"));
        const QString unshare = findTool(QStringLiteral("unshare"));
        if (ip.isEmpty() || nsenter.isEmpty() || unshare.isEmpty())
            return QStringLiteral("needs the ip, nsenter and unshare tools");
        for (QProcess *holder : {&m_a, &m_b}) {
            holder->start(unshare,
                          {QStringLiteral("--net"), QStringLiteral("sleep"), QStringLiteral("900")});
            if (!holder->waitForStarted(5000))
                return QStringLiteral("cannot start a namespace holder");
        }
        // unshare runs sleep once its namespace exists.
        QElapsedTimer timer;
        timer.start();
        while ((netns(m_a.processId()) == netns(0) || netns(m_b.processId()) == netns(0)) &&
               timer.elapsed() < 5000)
            QTest::qWait(20);
        QString error;
        run({ip, "link", "del", "vxfer0"}, nullptr);
        const QString a = QString::number(m_a.processId());
        const QString b = QString::number(m_b.processId());
        const QList<QStringList> steps = {
            {ip, "link", "add", "vxfer0", "type", "veth", "peer", "name", "vxfer1"},
            {ip, "link", "set", "vxfer0", "netns", a},
            {ip, "link", "set", "vxfer1", "netns", b},
            {nsenter, "-t", a, "-n", "--", ip, "link", "set", "lo", "up"},
            {nsenter, "-t", a, "-n", "--", ip, "addr", "add", AddressA + "/24", "dev", "vxfer0"},
            {nsenter, "-t", a, "-n", "--", ip, "link", "set", "vxfer0", "up"},
            {nsenter, "-t", b, "-n", "--", ip, "link", "set", "lo", "up"},
            {nsenter, "-t", b, "-n", "--", ip, "addr", "add", AddressB + "/24", "dev", "vxfer1"},
            {nsenter, "-t", b, "-n", "--", ip, "link", "set", "vxfer1", "up"},
        };
        for (const QStringList &step : steps) {
            if (!run(step, &error))
                return error;
        }
        return QString();
    }

    // The command line that runs program inside namespace A or B.
    QStringList in(bool a, const QStringList &program) const
    {
        return QStringList{nsenter, "-t", QString::number((a ? m_a : m_b).processId()), "-n", "--"} +
               program;
    }

    QString ip;
    QString nsenter;

private:
    static QString netns(qint64 pid)
    {
        return QFile::symLinkTarget(pid > 0 ? QStringLiteral("/proc/%1/ns/net").arg(pid)
                                            : QStringLiteral("/proc/self/ns/net"));
    }

    QProcess m_a;
    QProcess m_b;
};

// One running installation, worked through its standard input.
class Installation
{
public:
    explicit Installation(const QString &root)
        : m_root(root)
    {
        for (const char *dir : {"app", "home", "config"})
            QDir(root).mkpath(QLatin1String(dir));
    }
    ~Installation()
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.write("quit\n");
            if (!m_process.waitForFinished(3000)) {
                m_process.kill();
                m_process.waitForFinished(3000);
            }
        }
    }

    QString appDir() const { return m_root + QStringLiteral("/app"); }
    QString databaseDir() const { return appDir() + QStringLiteral("/database"); }

    bool start(const QString &executable, const QStringList &launcher)
    {
        const QString program = appDir() + QStringLiteral("/varno");
        QFile::remove(program);
        if (!QFile::copy(executable, program))
            return false;
        QFile::setPermissions(program, QFile::ReadOwner | QFile::ExeOwner);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("HOME"), m_root + QStringLiteral("/home"));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_root + QStringLiteral("/config"));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("VARNO_COMMANDS_ON_STDIN"), QStringLiteral("1"));
        m_process.setProcessEnvironment(env);
        m_process.setProcessChannelMode(QProcess::SeparateChannels);
        m_process.setReadChannel(QProcess::StandardOutput);
        const QStringList command = launcher + QStringList{program};
        m_process.start(command.first(), command.mid(1));
        return m_process.waitForStarted(5000) && waitForLine("READY", 20000);
    }

    qint64 pid() const { return m_process.processId(); }

    // Reads output lines (kept in lines) until one of the wanted ones comes;
    // answers its index in wanted, or -1.
    int readUntil(const QList<QByteArray> &wanted, int timeoutMs = 10000)
    {
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < timeoutMs) {
            while (m_process.canReadLine()) {
                lines.append(m_process.readLine().trimmed());
                if (wanted.contains(lines.last()))
                    return wanted.indexOf(lines.last());
            }
            if (m_process.state() == QProcess::NotRunning)
                return -1;
            QTest::qWait(5);
        }
        return -1;
    }

    // Whether the line came since lines was last cleared, waiting for it if not.
    bool waitForLine(const QByteArray &line, int timeoutMs = 10000)
    {
        return lines.contains(line) || readUntil({line}, timeoutMs) == 0;
    }

    // Sends one command; answers whether it was carried out.
    bool command(const QByteArray &line)
    {
        m_process.write(line + '\n');
        return readUntil({"OK " + line, "FAIL " + line}) == 0;
    }

    // The same, tried again until it is carried out (a dialog opened by a queued
    // click shows a moment later).
    bool commandSoon(const QByteArray &line, int timeoutMs = 5000)
    {
        QElapsedTimer timer;
        timer.start();
        while (!command(line)) {
            if (timer.elapsed() > timeoutMs)
                return false;
            QTest::qWait(20);
        }
        return true;
    }

    QString text(const QByteArray &objectName)
    {
        if (!command("text " + objectName))
            return QStringLiteral("<none>");
        return QString::fromUtf8(lines.value(lines.size() - 2).mid(5));
    }

    QList<QByteArray> lines;

private:
    QString m_root;
    QProcess m_process;
};

} // namespace twoinstances
