#pragma once

// Intake of the universal-switch frames that wall panels raise: every frame is
// answered at once; alarms are stored at once, service messages once their switch
// has rested 20 s in one state. Stored or updated rows are announced on the hub.
// A message whose look-ups or writes fail is kept, in arrival order, and tried
// again on every tick of the sweep until it is stored: a panel does not send it
// again.

#include "store/records.h"

#include <QList>
#include <QObject>

#include <functional>

class PanelMessageIntake : public QObject
{
    Q_OBJECT
public:
    static constexpr qint64 SettleSeconds = 20;
    // How long a message that cannot be stored is tried again before it is given
    // up (with a line in the debug output), and how many such messages are kept.
    static constexpr qint64 RetrySeconds = 600;
    static constexpr int MaxUnstored = 1000;

    explicit PanelMessageIntake(QObject *parent = nullptr);

    // Takes one received buffer. Answers true when it was a bus frame addressed
    // to this application (whatever its operation code), false otherwise.
    bool takeFrame(const quint8 *buffer, qlonglong length);

    void processUniversalSwitch(unsigned char subnet, unsigned char device, unsigned char switchNo,
                                unsigned char status);
    // Stores one settled service message, now or, when that fails, on a later tick.
    void processServiceMessage(universalSwitchMessage msg);

    const QList<universalSwitchMessage> &pending() const { return m_pending; }

    // The clock, in seconds since the epoch; tests replace it.
    void setClock(std::function<qint64()> clock) { m_clock = std::move(clock); }

public slots:
    // The message timer's tick: tries the kept messages again, then settles every
    // entry that has rested 20 s.
    void slotsUniversalSwitch();

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
    // Carries the kept messages on in their order, stopping at the first that fails again.
    void drain();
    // Carries one message as far as it goes: false when a read or a write failed.
    bool advance(Work &work);
    // The panel and message look-ups: false when one failed to read; known is false
    // for a panel or switch number the project does not configure.
    bool lookUp(universalSwitchMessage &msg, bool &known);
    void waitToSettle(const universalSwitchMessage &msg);

    QList<universalSwitchMessage> m_pending;
    QList<Work> m_unstored;
    bool m_draining = false;
    std::function<qint64()> m_clock;
};
