#pragma once

// Simulated field devices on the "Local Network" style for end-to-end tests:
// inside the private network namespace of ./test, a veth pair joins this
// process (10.77.0.1/24) with a second namespace (10.77.0.2/24) in which the
// varno-simdevice program runs the devices given on its command line, driven
// through its command channel ("levels" answers "LEVELS <subnet>/<device> ..."
// lines and "END"). Needs root in the test's namespace.

#include "pathtest.h"
#include "vethpair.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QStringList>
#include <QtTest>

namespace varnotest {

class VethDevices
{
public:
    static QString ownAddress() { return VethPair::ownAddress(); }
    static QString deviceAddress() { return VethPair::deviceAddress(); }

    ~VethDevices() { stop(); }

    // Why the pair cannot be made here; empty when it can.
    QString skipReason() const { return m_pair.unavailable(); }

    // Makes the pair and starts the program with the device arguments; false with
    // error() set when a step fails.
    bool start(const QString &program, const QStringList &deviceArgs)
    {
        if (!m_pair.setUp())
            return fail(m_pair.error());
        const QStringList args{"--udp", "0.0.0.0:6000", "--header-ip", deviceAddress(), "--commands",
                               "--exit-on-eof"};
        QObject::connect(&m_devices, &QProcess::readyReadStandardOutput,
                         [this] { m_output += m_devices.readAllStandardOutput(); });
        m_pair.startInDevices(m_devices, program, args + deviceArgs);
        if (!m_devices.waitForStarted())
            return fail(QStringLiteral("varno-simdevice did not start"));
        QElapsedTimer t;
        t.start();
        while (!m_output.contains("READY") && t.elapsed() < 5000)
            QTest::qWait(10);
        return m_output.contains("READY") || fail(QStringLiteral("varno-simdevice is not ready"));
    }

    void stop()
    {
        endProcess(m_devices);
        m_pair.tearDown();
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
    bool fail(const QString &text)
    {
        m_error = text;
        return false;
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

    VethPair m_pair;
    QString m_error;
    QProcess m_devices;
    QByteArray m_output;
};

} // namespace varnotest
