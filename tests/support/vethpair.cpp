#include "vethpair.h"

#include <QElapsedTimer>
#include <QFile>
#include <QNetworkInterface>
#include <QStandardPaths>
#include <QThread>

#include <unistd.h>

namespace varnotest {

namespace {

const QString VarnoSide = QStringLiteral("varno0");
const QString DeviceSide = QStringLiteral("varno1");

QString findTool(const QString &name)
{
    QString path = QStandardPaths::findExecutable(name);
    if (path.isEmpty()) {
        path = QStandardPaths::findExecutable(name, {QStringLiteral("/usr/sbin"), QStringLiteral("/sbin"),
                                                     QStringLiteral("/usr/bin"), QStringLiteral("/bin")});
    }
    return path;
}

QString netnsOf(qint64 pid)
{
    return QFile::symLinkTarget(pid > 0 ? QStringLiteral("/proc/%1/ns/net").arg(pid)
                                        : QStringLiteral("/proc/self/ns/net"));
}

} // namespace

VethPair::~VethPair()
{
    tearDown();
}

QString VethPair::unavailable() const
{
    if (qgetenv("VARNO_NETNS") != "1")
        return QStringLiteral("runs only inside the private network namespace of ./test (VARNO_NETNS=1)");
    if (geteuid() != 0)
        return QStringLiteral("making a veth pair needs root in the test's namespace");
    for (const char *tool : {"ip", "nsenter", "unshare"}) {
        if (findTool(QString::fromLatin1(tool)).isEmpty())
            return QStringLiteral("needs the ip, nsenter and unshare tools");
    }
    for (const QNetworkInterface &iface : QNetworkInterface::allInterfaces()) {
        if (iface.name() != QLatin1String("lo") && iface.name() != VarnoSide)
            return QStringLiteral("interface %1 exists: this is not a private network namespace")
                .arg(iface.name());
    }
    return QString();
}

bool VethPair::run(const QStringList &command)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(command.first(), command.mid(1));
    const bool ok = process.waitForFinished(10000) && process.exitStatus() == QProcess::NormalExit
                    && process.exitCode() == 0;
    if (!ok)
        m_error = command.join(' ') + ": " + QString::fromLocal8Bit(process.readAll()).trimmed();
    return ok;
}

bool VethPair::setUp()
{
    m_error = unavailable();
    if (!m_error.isEmpty())
        return false;
    m_ip = findTool(QStringLiteral("ip"));
    m_nsenter = findTool(QStringLiteral("nsenter"));
    m_unshare = findTool(QStringLiteral("unshare"));
    // What an earlier run left behind.
    run({m_ip, QStringLiteral("link"), QStringLiteral("del"), VarnoSide});

    m_holder.start(m_unshare, {QStringLiteral("--net"), QStringLiteral("sleep"), QStringLiteral("3600")});
    if (!m_holder.waitForStarted()) {
        m_error = QStringLiteral("cannot start the devices' namespace");
        return false;
    }
    QElapsedTimer timer;
    timer.start();
    while (netnsOf(m_holder.processId()).isEmpty() || netnsOf(m_holder.processId()) == netnsOf(0)) {
        if (timer.elapsed() > 3000) {
            m_error = QStringLiteral("the devices' namespace did not come up");
            return false;
        }
        QThread::msleep(5);
    }
    const QString pid = QString::number(m_holder.processId());
    m_linked = run({m_ip, "link", "add", VarnoSide, "type", "veth", "peer", "name", DeviceSide});
    return m_linked && run({m_ip, "link", "set", DeviceSide, "netns", pid})
           && run({m_ip, "addr", "add", ownAddress() + "/24", "dev", VarnoSide})
           && run({m_ip, "link", "set", VarnoSide, "up"}) && inDevices({m_ip, "link", "set", "lo", "up"})
           && inDevices({m_ip, "addr", "add", deviceAddress() + "/24", "dev", DeviceSide})
           && inDevices({m_ip, "link", "set", DeviceSide, "up"});
}

void VethPair::tearDown()
{
    if (m_holder.state() != QProcess::NotRunning) {
        m_holder.kill();
        m_holder.waitForFinished(2000);
    }
    if (m_linked) {
        run({m_ip, QStringLiteral("link"), QStringLiteral("del"), VarnoSide});
        m_linked = false;
    }
}

bool VethPair::inDevices(const QStringList &command)
{
    return run(QStringList{m_nsenter, QStringLiteral("-t"), QString::number(m_holder.processId()),
                           QStringLiteral("-n"), QStringLiteral("--")}
               + command);
}

void VethPair::startInDevices(QProcess &process, const QString &program, const QStringList &arguments)
{
    process.start(m_nsenter, QStringList{QStringLiteral("-t"), QString::number(m_holder.processId()),
                                         QStringLiteral("-n"), QStringLiteral("--"), program}
                                 + arguments);
}

} // namespace varnotest
