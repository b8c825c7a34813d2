#pragma once

// Simulated field devices on the "Local Network" style for end-to-end tests:
// inside the private network namespace of ./test, a veth pair joins this
// process (10.77.0.1/24) with a second namespace (10.77.0.2/24) in which the
// varno-simdevice program runs the devices given on its command line, driven
// through its command channel ("levels" answers "LEVELS <subnet>/<device> ..."
// lines and "END"). Header-only; needs root in the test's namespace.

#include <QElapsedTimer>
#include <QFile>
#include <QMap>
#include <QNetworkInterface>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>
#include <QtTest>

#include <unistd.h>

namespace varnotest {

class VethDevices
{
public:
    static QString varnoSide() { return QStringLiteral("varno0"); }
    static QString deviceSide() { return QStringLiteral("varno1"); }
    static QString ownAddress() { return QStringLiteral("10.77.0.1"); }
    static QString deviceAddress() { return QStringLiteral("10.77.0.2"); }

    ~VethDevices() { stop(); }

    // Why the pair cannot be made here; empty when it can.
    QString skipReason()
    {
        if (qgetenv("VARNO_NETNS") != "1")
            return QStringLiteral(
                "runs only inside the private network namespace of ./test (VARNO_NETNS=1)");
        if (geteuid() != 0)
            return QStringLiteral("making a veth pair needs root in the test's namespace");
        m_ip = findTool(QStringLiteral("ip"));
        m_nsenter = findTool(QStringLiteral("nsenter"));
        m_unshare = findTool(QStringLiteral("unshare"));
        if (m_ip.isEmpty() || m_nsenter.isEmpty() || m_unshare.isEmpty())
            return QStringLiteral("needs the ip, nsenter and unshare tools");
        // Only a namespace made for the tests holds nothing but lo (and what an
        // earlier run left behind); nothing is touched before that is known.
        for (const QNetworkInterface &iface : QNetworkInterface::allInterfaces()) {
            if (iface.name() == QLatin1String("lo"))
                continue;
            if (iface.name() == varnoSide()) {
                run({m_ip, QStringLiteral("link"), QStringLiteral("del"), varnoSide()});
                continue;
            }
            return QStringLiteral("interface %1 exists: this is not a private network namespace")
                .arg(iface.name());
        }
        return QString();
    }

    // Makes the pair and starts the program with the device arguments; false with
    // error() set when a step fails.
    bool start(const QString &program, const QStringList &deviceArgs)
    {
        m_holder.start(m_unshare, {QStringLiteral("--net"), QStringLiteral("sleep"), QStringLiteral("600")});
        if (!m_holder.waitForStarted())
            return fail(QStringLiteral("the namespace holder did not start"));
        QElapsedTimer t;
        t.start();
        while ((netnsOf(m_holder.processId()).isEmpty() || netnsOf(m_holder.processId()) == netnsOf(0)) &&
               t.elapsed() < 3000)
            QTest::qWait(10);
        const QString pid = QString::number(m_holder.processId());
        const bool made =
            run({m_ip, "link", "add", varnoSide(), "type", "veth", "peer", "name", deviceSide()}) &&
            run({m_ip, "link", "set", deviceSide(), "netns", pid}) &&
            run({m_ip, "addr", "add", ownAddress() + "/24", "dev", varnoSide()}) &&
            run({m_ip, "link", "set", varnoSide(), "up"}) && inDevices({m_ip, "link", "set", "lo", "up"}) &&
            inDevices({m_ip, "addr", "add", deviceAddress() + "/24", "dev", deviceSide()}) &&
            inDevices({m_ip, "link", "set", deviceSide(), "up"});
        if (!made)
            return false;
        QStringList args{"-t",
                         pid,
                         "-n",
                         "--",
                         program,
                         "--udp",
                         "0.0.0.0:6000",
                         "--header-ip",
                         deviceAddress(),
                         "--commands",
                         "--exit-on-eof"};
        QObject::connect(&m_devices, &QProcess::readyReadStandardOutput,
                         [this] { m_output += m_devices.readAllStandardOutput(); });
        m_devices.start(m_nsenter, args + deviceArgs);
        if (!m_devices.waitForStarted())
            return fail(QStringLiteral("varno-simdevice did not start"));
        t.restart();
        while (!m_output.contains("READY") && t.elapsed() < 5000)
            QTest::qWait(10);
        return m_output.contains("READY") || fail(QStringLiteral("varno-simdevice is not ready"));
    }

    void stop()
    {
        if (m_devices.state() != QProcess::NotRunning) {
            m_devices.closeWriteChannel();
            if (!m_devices.waitForFinished(2000)) {
                m_devices.kill();
                m_devices.waitForFinished(2000);
            }
        }
        if (m_holder.state() != QProcess::NotRunning) {
            m_holder.kill();
            m_holder.waitForFinished(2000);
        }
        if (!m_ip.isEmpty())
            run({m_ip, QStringLiteral("link"), QStringLiteral("del"), varnoSide()});
        m_ip.clear();
    }

    QString error() const { return m_error; }

    // The level of each channel of a lighting module, channel 1 first, from a
    // fresh "levels" answer.
    QStringList levels(int device)
    {
        const int before = lines(QStringLiteral("END")).size();
        m_devices.write("levels\n");
        QElapsedTimer t;
        t.start();
        while (lines(QStringLiteral("END")).size() <= before && t.elapsed() < 5000)
            QTest::qWait(10);
        QStringList found;
        for (const QString &line : lines(QStringLiteral("LEVELS "))) {
            const QStringList words = line.split(QLatin1Char(' '));
            if (words.value(1).section(QLatin1Char('/'), 1, 1).toInt() == device)
                found = words.mid(2);
        }
        return found;
    }

private:
    static QString findTool(const QString &name)
    {
        QString path = QStandardPaths::findExecutable(name);
        if (path.isEmpty())
            path = QStandardPaths::findExecutable(name, {"/usr/sbin", "/sbin", "/usr/bin", "/bin"});
        return path;
    }
    static QString netnsOf(qint64 pid)
    {
        return QFile::symLinkTarget(pid > 0 ? QStringLiteral("/proc/%1/ns/net").arg(pid)
                                            : QStringLiteral("/proc/self/ns/net"));
    }
    bool fail(const QString &text)
    {
        m_error = text;
        return false;
    }
    bool run(const QStringList &command)
    {
        QProcess process;
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.start(command.first(), command.mid(1));
        const bool ok = process.waitForFinished(10000) && process.exitStatus() == QProcess::NormalExit &&
                        process.exitCode() == 0;
        return ok || fail(command.join(' ') + ": " + QString::fromLocal8Bit(process.readAll()).trimmed());
    }
    bool inDevices(const QStringList &command)
    {
        return run(QStringList{m_nsenter, "-t", QString::number(m_holder.processId()), "-n", "--"} +
                   command);
    }
    QStringList lines(const QString &prefix) const
    {
        QStringList found;
        for (const QString &line : QString::fromLatin1(m_output).split(QLatin1Char('\n'))) {
            if (line.startsWith(prefix))
                found.append(line);
        }
        return found;
    }

    QString m_ip;
    QString m_nsenter;
    QString m_unshare;
    QString m_error;
    QProcess m_holder;
    QProcess m_devices;
    QByteArray m_output;
};

} // namespace varnotest
