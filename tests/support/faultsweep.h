#pragma once

// The read-fault sweep: runs one action of the program again and again, with the
// Nth SQLite step of any statement failed (N = 1, 2, ... until a run reaches no
// Nth step), the way SQLite tests its own I/O-error handling. After each run the
// action must have been either
//   refused: every table as before the action, nothing sent on the bus (but the
//            frames the action sends before it touches the database), and a
//            message said to the user; or
//   whole:   every table, every frame sent and every message said as in the run
//            without a fault (a failure the clean run never says may be said
//            besides: a read for the page that failed after the work was done).
//
// Each run starts from the same application folder (project list, project
// database, pictures) and settings file, restored byte for byte (and each action
// from the settings the sweep began with); times stamped since the action began
// read "<now>" in every outcome alike; the bus is
// the "DNS Server" style to a recorder on 127.0.0.2:6000, inside a network
// namespace of the process's own.

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QSet>
#include <QString>
#include <QStringList>

#include <functional>

class SimBus;
class QWidget;

namespace faultsweep {

class Run;

struct Action
{
    // Which test process runs it (the sweep is split over a few processes).
    QString area;
    QString name;
    // Fills the database and the folder once, before the first run.
    std::function<void()> seed;
    // One run: makes what the action needs, calls run.start() where the action
    // begins (from there on the Nth step fails), and ends it. Whatever it made is
    // gone when it returns.
    std::function<void(Run &run)> script;
    // State kept outside the database and the folder that the outcome must
    // include (what a page shows, say). Runs after the script, with no fault.
    std::function<QString()> observe;
    // The frames a refused run may still have sent: those the action sends before
    // it reads or writes anything (a panel's answer, say).
    int sentFirst = 0;
    // Work that is never refused, only delayed (a received alarm): every run
    // must end whole.
    bool mustBeWhole = false;
    // Tables left out of the outcome: written by a part that a row of its own
    // judges (the refresh control's stamp on every page that refreshes).
    QStringList leftOut = {};
};

// What one run left behind.
struct Outcome
{
    QString tables;
    QString files;
    QString observed;
    QList<QByteArray> frames;
    QStringList said;
    bool fired = false;
    int steps = 0;
    QString failedSql;
};

// Answers the modal dialogs that appear during a run: by default every message
// box is answered with "Ok" after its text is noted as said.
using ModalAnswer = std::function<bool(QWidget *dialog)>;

class Run : public QObject
{
    Q_OBJECT
public:
    // From here on the armed step fails.
    void start();
    bool started() const { return m_started; }
    // The recorder of the bus; a script may add simulated devices that answer.
    SimBus &bus() { return *m_bus; }
    // Notes a text as said to the user (for texts a script reads off a page).
    void say(const QString &text) { m_said << text; }
    // Notes what the user is shown besides messages (a tile, an announcement):
    // part of the outcome a whole run must match.
    void note(const QString &text) { m_notes << text; }
    // A script's own answer to the modal dialogs, tried before the default one;
    // true when it handled the dialog.
    void answerModalsWith(ModalAnswer answer) { m_answer = std::move(answer); }
    // Runs the event loop until done() holds or timeoutMs passes; false on time-out.
    static bool waitUntil(const std::function<bool()> &done, int timeoutMs = 3000);

private:
    friend class Sweeper;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void watchDialog(QObject *object);

    int m_nth = 0;
    bool m_started = false;
    SimBus *m_bus = nullptr;
    QStringList m_said;
    QStringList m_notes;
    ModalAnswer m_answer;
    QSet<QObject *> m_watched;
};

// Runs actions and judges each faulted run against the clean one.
class Sweeper
{
public:
    Sweeper();
    ~Sweeper();
    // Why the sweep cannot run here (empty when it can).
    QString unavailable() const { return m_unavailable; }
    // Sweeps one action; answers the faults found (empty when every run was
    // refused or whole) and fills summary with the counts.
    QStringList sweep(const Action &action, QString &summary);

private:
    Outcome runOnce(const Action &action, int nth);
    void restore();
    void putSettings(const QByteArray &bytes) const;
    QString dumpTables(const QStringList &leftOut = QStringList()) const;
    QString listFiles() const;

    QString m_unavailable;
    QString m_app;
    QString m_snapshot;
    QString m_settings;
    QByteArray m_settingsBytes;
    QByteArray m_pristineSettings;
    qint64 m_actionStart = 0;
    SimBus *m_bus = nullptr;
};

// Gives this process a network namespace of its own with loopback up, so its
// port 6000 is its own; answers why not where it cannot. The first call does
// it; call it before the application object (and any thread) is made.
QString ownNetworkNamespace();

} // namespace faultsweep
