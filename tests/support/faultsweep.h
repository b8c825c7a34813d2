#pragma once

// The read-fault sweep: runs one action of the program again and again with the
// Nth SQLite step of any statement failed (N = 1, 2, ... until a run reaches no
// Nth step), the way SQLite tests its own I/O-error handling. Each run must be
//   refused: tables and files as before, nothing sent on the bus but the frames
//            the action sends before it touches the database, a failure said; or
//   whole:   tables, files, frames, what was said and shown as without a fault
//            (a failure the clean run never says may be said besides).
// Every run starts from the same application folder and settings file, byte for
// byte; times stamped since the action began read "<now>". The bus is the "DNS
// Server" style to a recorder on 127.0.0.2:6000, in a network namespace of the
// process's own.

#include <QObject>
#include <QSet>
#include <QStringList>

#include <functional>

class SimBus;
class QWidget;

namespace faultsweep {

class Run;

struct Action
{
    QString area; // which test process runs it
    QString name;
    // Fills the database and the folder once, before the first run.
    std::function<void()> seed;
    // One run: makes what the action needs, calls run.start() where the action
    // begins and drives it to its end. What it made goes when it returns.
    std::function<void(Run &run)> script;
    // What the outcome includes besides (a page's fields), read with no fault.
    std::function<QString()> observe;
    // Frames a refused run may still have sent before its work (a panel's answer).
    int sentFirst = 0;
    // Work that is only ever delayed, never refused (a received alarm).
    bool mustBeWhole = false;
    // Tables a row of their own judges (the refresh stamp of every refreshing page).
    QStringList leftOut = {};
    // Tables of reports compared device by device (type, place and device, after the
    // row id): each device's rows in order, and the devices' in any order, as a
    // device that fails to store waits without holding back the others.
    QStringList perDevice = {};
};

// A script's answer to a modal dialog; true when it handled it. Message boxes
// are otherwise answered "Ok" and their text counted as said; other dialogs are
// rejected.
using ModalAnswer = std::function<bool(QWidget *dialog)>;

class Run : public QObject
{
    Q_OBJECT
public:
    // From here on the armed step fails, and what the user is told or shown counts.
    void start();
    bool started() const { return m_started; }
    // The recorder of the bus; a script may add simulated devices that answer.
    SimBus &bus() { return *m_bus; }
    // A text said to the user that the script reads off a page.
    void say(const QString &text) { m_said << text; }
    // What the user is shown besides texts (a tile, an announcement). Page
    // requests are noted by the sweep itself.
    void note(const QString &text) { m_notes << text; }
    void answerModalsWith(ModalAnswer answer) { m_answer = std::move(answer); }
    // Runs the event loop until done() holds; false after timeoutMs.
    static bool waitUntil(const std::function<bool()> &done, int timeoutMs = 3000);

private:
    friend class Sweeper;
    bool eventFilter(QObject *watched, QEvent *event) override;

    int m_nth = 0;
    bool m_started = false;
    SimBus *m_bus = nullptr;
    QStringList m_said;
    QStringList m_notes;
    ModalAnswer m_answer;
    QSet<QObject *> m_watched;
};

class Sweeper
{
public:
    Sweeper();
    ~Sweeper();
    // Why the sweep cannot run here (empty when it can).
    QString unavailable() const { return m_unavailable; }
    // Sweeps one action: the runs that were neither refused nor whole, and the counts.
    QStringList sweep(const Action &action, QString &summary);

private:
    struct Outcome;
    Outcome runOnce(const Action &action, int nth);
    void restore(const QByteArray &settings);
    QString state(const Action &action) const;

    QString m_unavailable;
    QString m_app;
    QString m_snapshot;
    QString m_settings;
    QByteArray m_settingsBytes;
    QByteArray m_pristineSettings;
    qint64 m_actionStart = 0;
};

// Gives the process a network namespace of its own with loopback up (once; call
// it before any thread is made); answers why not where it cannot.
QString ownNetworkNamespace();

} // namespace faultsweep
