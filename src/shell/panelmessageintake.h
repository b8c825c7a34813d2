#pragma once

// Intake of the universal-switch frames that wall panels raise: every frame is
// answered at once; alarms are stored at once, service messages once their switch
// has rested 20 s in one state. Stored or updated rows are announced on the hub.
// A message whose look-ups or writes fail is kept and tried again on every tick
// of the sweep until it is stored: a panel does not send it again. It holds back
// only the later messages of the same panel and switch, whose order matters; all
// others are stored at once. The kept messages are stored in slices, one
// transaction each, so that a long backlog never holds the window for long.
// One given up at a limit, or left behind at a project switch, is said on the hub.

#include "store/records.h"

#include <QList>
#include <QObject>
#include <QSet>
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
    // A slice of the kept messages: at most this many, or this long, in one
    // transaction; a drain hands the window back after BusyMs.
    static constexpr int SliceSize = 50;
    static constexpr qint64 SliceMs = 20;
    static constexpr qint64 BusyMs = 40;

    explicit PanelMessageIntake(QObject *parent = nullptr);

    // Takes one received buffer. Answers true when it was a bus frame addressed
    // to this application (whatever its operation code), false otherwise.
    bool takeFrame(const quint8 *buffer, qlonglong length);

    void processUniversalSwitch(unsigned char subnet, unsigned char device, unsigned char switchNo,
                                unsigned char status);
    // Stores one settled service message, now or, when that fails, on a later tick.
    void processServiceMessage(universalSwitchMessage msg);

    const QList<universalSwitchMessage> &pending() const { return m_pending; }
    int unstored() const { return m_unstored.size(); }

    // The clock, in seconds since the epoch; tests replace it.
    void setClock(std::function<qint64()> clock) { m_clock = std::move(clock); }

public slots:
    // The message timer's tick: tries the kept messages again, then settles every
    // entry that has rested 20 s.
    void slotsUniversalSwitch();
    // The current project is about to be left: the kept messages get one more try
    // into its database.
    void storeBeforeLeaving();

private:
    // What is left to do for a received message.
    enum class Stage { LookUp, Settle, Insert, FindId };
    struct Work
    {
        universalSwitchMessage msg;
        Stage stage;
        qint64 since;
    };

    void keep(const universalSwitchMessage &msg, Stage stage);
    // Carries the kept messages on, slice by slice; a message that fails again holds
    // back the later ones of its panel and switch. With whole false, hands the
    // window back after BusyMs and goes on from the event loop.
    void drain(bool whole = false);
    // One slice in one transaction; false when nothing more can be done now.
    bool storeSlice(QSet<QString> &held, qint64 now);
    // Carries one message as far as it goes: false when a read or a write failed.
    // A stored or updated row goes into announce.
    bool advance(Work &work, QList<universalSwitchMessage> &announce);
    // Says how many messages were given up, and why.
    void sayLost(int count, const QString &why);
    // The panel and message look-ups: false when one failed to read; known is false
    // for a panel or switch number the project does not configure.
    bool lookUp(universalSwitchMessage &msg, bool &known);
    void waitToSettle(const universalSwitchMessage &msg);

    QList<universalSwitchMessage> m_pending;
    QList<Work> m_unstored;
    bool m_draining = false;
    QTimer m_drainLater;
    std::function<qint64()> m_clock;
};
