#pragma once

// Intake of the universal-switch frames that wall panels raise: every frame is
// answered at once; alarms are stored at once, service messages once their switch
// has rested 20 s in one state. Stored or updated rows are announced on the hub.
// A message whose look-ups or writes fail is kept and tried again (a panel does
// not send it again): in a lane of its panel and switch, whose order matters, so
// that it holds back only the later messages of that panel and switch. A lane
// whose head keeps failing is tried ever less often; waiting lanes cost nothing,
// and what is stored in one turn of the event loop is bounded, so that received
// frames are read and answered first. One given up at a limit, or left behind at
// a project switch, is said on the hub.

#include "store/exitbound.h"
#include "store/records.h"
#include "store/retrylanes.h"

#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QTimer>

#include <functional>

class PanelMessageIntake : public QObject
{
    Q_OBJECT
public:
    static constexpr qint64 SettleSeconds = 20;
    // How long a message that cannot be stored is tried again before it is given
    // up, and how many such messages are kept.
    static constexpr qint64 RetrySeconds = 600;
    static constexpr int MaxUnstored = 1000;
    // At most this many messages are stored in one transaction, and storing hands
    // the window back after TurnMs in one turn of the event loop. What is stored all
    // at once (a project left, the exit) goes in larger transactions: each commit
    // costs a few syncs of the disk.
    static constexpr int SliceSize = 50;
    static constexpr int WholeSliceSize = 1000;
    static constexpr qint64 TurnMs = 20;

    explicit PanelMessageIntake(QObject *parent = nullptr);

    // Takes one received buffer. Answers true when it was a bus frame addressed
    // to this application (whatever its operation code), false otherwise.
    bool takeFrame(const quint8 *buffer, qlonglong length);

    void processUniversalSwitch(unsigned char subnet, unsigned char device, unsigned char switchNo,
                                unsigned char status);
    // Stores one settled service message, now or, when that fails, on a later tick.
    void processServiceMessage(universalSwitchMessage msg);

    const QList<universalSwitchMessage> &pending() const { return m_pending; }
    // The messages kept, and those of them whose panel and switch failed.
    int unstored() const { return m_kept.size(); }
    int waiting() const { return m_kept.waiting(); }
    // When the next try of a waiting message is due; -1 when none waits.
    qint64 nextTry() const { return m_kept.nextTry(); }

    // The clock, in seconds since the epoch; tests replace it.
    void setClock(std::function<qint64()> clock) { m_clock = std::move(clock); }

public slots:
    // The message timer's tick: settles every entry that has rested 20 s, and
    // tries again the kept messages whose wait is over.
    void slotsUniversalSwitch();
    // The current project is about to be left: the kept messages get one more try
    // into its database. The rows stored are announced on the next turn of the event
    // loop, unless the project has changed by then.
    void storeBeforeLeaving();
    // The program ends: from now on the messages taken are answered and kept, and
    // nothing is stored before storeBeforeExit, nor announced: the window is closing.
    void beginExit();
    // Stores the kept messages, answered and not yet stored, before the database
    // closes: while the storing succeeds, however slowly, within the exit's bound.
    // What is left is logged with its count.
    void storeBeforeExit(ExitBound &bound);

private:
    // What is left to do for a received message.
    enum class Stage { LookUp, Settle, Insert, FindId };
    struct Work
    {
        universalSwitchMessage msg;
        Stage stage;
        qint64 since;
    };
    using Lanes = RetryLanes<quint32, Work>;

    static quint32 laneOf(const universalSwitchMessage &msg);
    // Keeps work behind the messages of its panel and switch; with none kept
    // there, it is stored at once.
    void take(const Work &work);
    // Stores the messages of the lanes that are due (only that of *only, when
    // given), slice by slice, until none is due or the turn's time is spent;
    // with whole, every lane gets one try whatever the time of the turn.
    void drain(const quint32 *only = nullptr, bool whole = false);
    // One slice in one transaction; false when no lane was due.
    bool storeSlice(qint64 now, const quint32 *only, bool whole);
    // The head of lane failed: it is given up at its limit, else the lane waits.
    void failLane(quint32 lane, qint64 now);
    // Whether this turn's time for storing is spent (with moreNs spent besides), and
    // counts what clock measured as spent on storing.
    bool turnSpent(qint64 moreNs = 0) const;
    void spend(const QElapsedTimer &clock);
    // Carries one message as far as it goes: false when a read or a write failed.
    // A stored or updated row goes into announce.
    bool advance(Work &work, QList<universalSwitchMessage> &announce);
    // Says how many messages were given up, and why.
    void sayLost(int count, const char *why);
    // The panel and message look-ups: false when one failed to read; known is false
    // for a panel or switch number the project does not configure.
    bool lookUp(universalSwitchMessage &msg, bool &known);
    void waitToSettle(const universalSwitchMessage &msg);

    QList<universalSwitchMessage> m_pending;
    Lanes m_kept{MaxUnstored};
    bool m_draining = false;
    bool m_quiet = false; // stored rows are not announced
    bool m_leaving = false; // stored rows are announced on the next turn, unless the project changed
    QList<universalSwitchMessage> m_unannounced;
    bool m_exiting = false; // messages are kept for the exit's storing
    qint64 m_spentNs = 0; // on storing in this turn of the event loop
    QTimer m_nextTurn; // ends the turn, and goes on with what is due
    std::function<qint64()> m_clock;
};
