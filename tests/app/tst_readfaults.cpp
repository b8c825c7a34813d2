// Every action that keeps, sends or announces anything, run with the Nth SQLite
// step failed for N = 1, 2, ... until a run reaches no Nth step: each run is
// refused (nothing kept or sent, the failure said) or whole (as without the
// fault). VARNO_SWEEP_AREA picks the actions of one part of the program.

#include "testmain.h"

#include "faultsweep.h"
#include "readfaults.h"

#include <QtTest>

using faultsweep::Action;

class TestReadFaults : public QObject
{
    Q_OBJECT

    std::unique_ptr<faultsweep::Sweeper> m_sweeper;
    QList<Action> m_actions;

private slots:
    void initTestCase()
    {
        m_sweeper = std::make_unique<faultsweep::Sweeper>();
        if (!m_sweeper->unavailable().isEmpty())
            QSKIP(qPrintable(m_sweeper->unavailable()));
        using namespace readfaults;
        m_actions << messagesActions() << startupActions() << settingsActions() << commissioningActions()
                  << moodsActions() << operationActions() << recordsActions();
    }

    void sweep_data()
    {
        QTest::addColumn<int>("index");
        const QString area = qEnvironmentVariable("VARNO_SWEEP_AREA");
        for (int i = 0; i < m_actions.size(); ++i)
            if (area.isEmpty() || m_actions.at(i).area == area)
                QTest::newRow(qPrintable(m_actions.at(i).name)) << i;
    }

    void sweep()
    {
        QFETCH(int, index);
        const Action &action = m_actions.at(index);
        QString summary;
        const QStringList faults = m_sweeper->sweep(action, summary);
        qInfo("%s: %s", qPrintable(action.name), qPrintable(summary));
        if (!faults.isEmpty()) // the first few, with their count
            QFAIL(qPrintable(faults.mid(0, 8).join('\n') +
                             QStringLiteral("\n(%1 in all)").arg(faults.size())));
    }
};

VARNO_TEST_MAIN_AFTER(TestReadFaults, faultsweep::ownNetworkNamespace())
#include "tst_readfaults.moc"
