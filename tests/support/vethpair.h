#pragma once

// The "Local Network" test bed: inside the private network namespace of a test
// run, a veth pair joins this process (10.77.0.1/24) to a second namespace
// (10.77.0.2/24) where simulated devices run, so broadcasts never leave the
// machine. Needs root in the test's namespace and the ip, nsenter and unshare
// tools; refuses to touch a namespace that holds any interface but lo.

#include <QProcess>
#include <QString>
#include <QStringList>

namespace varnotest {

class VethPair
{
public:
    static QString ownAddress() { return QStringLiteral("10.77.0.1"); }    // this process
    static QString deviceAddress() { return QStringLiteral("10.77.0.2"); } // the devices' side

    VethPair() = default;
    ~VethPair();
    VethPair(const VethPair &) = delete;
    VethPair &operator=(const VethPair &) = delete;

    // Why the bed cannot be made here (empty when it can): not inside the test
    // run's namespace, not root, tools missing, or other interfaces present.
    QString unavailable() const;
    // Makes the second namespace and the pair. False with error() set on failure.
    bool setUp();
    void tearDown();

    // Runs command to its end inside the devices' namespace.
    bool inDevices(const QStringList &command);
    // Starts program with arguments inside the devices' namespace.
    void startInDevices(QProcess &process, const QString &program, const QStringList &arguments);

    QString error() const { return m_error; }

private:
    bool run(const QStringList &command);

    QString m_ip;
    QString m_nsenter;
    QString m_unshare;
    QString m_error;
    QProcess m_holder;
    bool m_linked = false;
};

} // namespace varnotest
