#pragma once

// Intake of the universal-switch frames that wall panels raise: every frame is
// answered at once; alarms are stored at once, service messages once their switch
// has rested 20 s in one state. Stored or updated rows are announced on the hub.

#include "store/records.h"

#include <QList>
#include <QObject>

#include <functional>

class PanelMessageIntake : public QObject
{
    Q_OBJECT
public:
    static constexpr qint64 SettleSeconds = 20;

    explicit PanelMessageIntake(QObject *parent = nullptr);

    // Takes one received buffer. Answers true when it was a bus frame addressed
    // to this application (whatever its operation code), false otherwise.
    bool takeFrame(const quint8 *buffer, qlonglong length);

    void processUniversalSwitch(unsigned char subnet, unsigned char device, unsigned char switchNo,
                                unsigned char status);
    void processServiceMessage(universalSwitchMessage msg);

    const QList<universalSwitchMessage> &pending() const { return m_pending; }

    // The clock, in seconds since the epoch; tests replace it.
    void setClock(std::function<qint64()> clock) { m_clock = std::move(clock); }

public slots:
    // The message timer's tick: settles every entry that has rested 20 s.
    void slotsUniversalSwitch();

private:
    void storeNewRow(universalSwitchMessage &msg);

    QList<universalSwitchMessage> m_pending;
    std::function<qint64()> m_clock;
};
