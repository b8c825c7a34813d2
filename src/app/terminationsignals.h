#pragma once

// SIGTERM (a panel PC shutting down), SIGINT and SIGHUP turned into a signal of
// the event loop, so that the program can end the way its Exit button ends it:
// the gathered device writes committed and the database closed. The handler
// only writes the signal's number into a socket pair; a notifier on the other
// end reads it in the event loop.

#include <QObject>

class QSocketNotifier;

class TerminationSignals : public QObject
{
    Q_OBJECT
public:
    // Installs the handlers for as long as the object lives (one at a time).
    explicit TerminationSignals(QObject *parent = nullptr);
    ~TerminationSignals() override;

    // Whether a signal has been taken by the event loop, for a caller that must
    // not start a new loop after it.
    bool received() const { return m_received; }

signals:
    void terminationRequested(int signalNumber);

private:
    void readSignals();

    QSocketNotifier *m_notifier = nullptr;
    bool m_received = false;
};
