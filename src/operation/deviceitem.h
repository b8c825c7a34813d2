#pragma once

// The polling cycle that every device card follows. When its page starts it, the
// card asks the device for its state, one frame per second, until a matching
// reply arrives; a change made by the user is sent, and resent once a second,
// until the device confirms it. After ten unanswered frames the card stops, may
// show offline marks, and tells the user "<name> lost connection". A card stands
// for a device of the project that was open when it was made: once the hub
// announces a project switch it stops and takes no frame again.
//
// A device kind derives from DeviceItem and supplies the frames (queryStep,
// commandStep), the decoding of replies (decodeReply), its display
// (updateStatus) and its name. The base owns the cycle state, the four timers
// and the hub connections; everything runs on the GUI thread.

#include <QString>
#include <QTimer>
#include <QWidget>

class BusReply;

class DeviceItem : public QWidget
{
    Q_OBJECT
public:
    static constexpr int PollInterval = 1000;      // poll and send-retry ticks
    static constexpr int FirstDisplayDelay = 100;  // the record is shown this long after construction
    static constexpr int MaxTries = 10;            // unanswered frames before giving up

    // in3DView: the card also takes replies while it is not visible.
    explicit DeviceItem(bool in3DView, QWidget *parent = nullptr);
    ~DeviceItem() override;

    // Starts a refresh: below 1 at once, else after delay ms.
    void getStatus(int delay);
    // True when the refresh or send is over: answered, or ten frames unanswered.
    bool status() const;
    // Starts a send of the state the card holds.
    void setStatus();
    // Shows (true) or hides (false) the offline marks; cards without marks keep
    // the default, which does nothing.
    virtual void disconnected(bool offline);

    bool isIn3DView() const { return in3DView; }
    // True until the card has shown its record the first time.
    bool isFirstDisplayPending() const { return firstDisplayTimer.isActive(); }

    // Test hook (clock seam): every interval of the device cards' timers is
    // multiplied by factor (at least 1 ms). 1 unless a test changes it; the
    // application never calls it.
    static void setIntervalScale(double factor);
    static double intervalScale();
    static int scaledInterval(int ms);

protected slots:
    // Pushes the record's state into the card's picture and controls.
    virtual void updateStatus() = 0;
    void dataIsComming(quint8 *recvBuff, qlonglong recvLength);
    // One poll step and one send step.
    void slotsGetStatus();
    void slotsSetStatus();
    // Target of the delayed-start timer.
    void startRefresh();
    // The hub's signalsStopRefresh: ends any refresh or send, no timer left running.
    void stopRefresh();

protected:
    // Sends the one query that the cycle state calls for (nothing when there is
    // none); may set finished instead.
    virtual void queryStep() = 0;
    // Sends the one command that carries the record's pending change.
    virtual void commandStep() = 0;
    // Called for every well-formed frame addressed to this installation while
    // the card takes frames; each decoder checks source, code and length itself.
    virtual void decodeReply(const BusReply &reply) = 0;
    // The device's name for "%s lost connection".
    virtual QString deviceName() const = 0;
    // The text sent through the hub when the tries run out.
    virtual QString lostConnectionText() const;
    // Whether a received frame is looked at: the card is visible, or in the 3-D view.
    virtual bool takesFrames() const;
    // Whether a frame from this source may be for the card at all. Looked at
    // before the frame is copied and checked, since every card sees every frame;
    // the decoders test the source again. The default takes every source.
    virtual bool concerns(quint8 subnet, quint8 device) const;

    // Clears the query mask, the confirmed mask, finished and the try counter.
    void clearCycle();
    // Stops the poll, send-retry and delayed-start timers.
    void stopCycleTimers();
    // A change by the user: hides the offline marks, clears the cycle, stops the
    // timers, sends one step at once and resends every 1000 ms.
    void sendNow();
    // A slider movement: clears the cycle, stops the timers and sends 1000 ms
    // after the last movement, then every 1000 ms until confirmed. The caller
    // may mark the pending change in the confirmed mask afterwards.
    void sendAfterPause();
    // Starts the first-display timer; the last act of a derived constructor.
    void startFirstDisplay();
    // Starts timer with the scaled interval ms.
    static void runTimer(QTimer &timer, int ms);

    quint8 queryMask = 0;      // bit k: firmware version of channel set k received
    quint8 confirmedMask = 0;  // bit k: state of set k received or confirmed (by kind)
    bool finished = false;     // the refresh or the send is complete
    quint8 tryCount = 0;       // frames sent since the last reply that moved the cycle on
    bool ready = true;         // false while the card pushes its own state into its controls

    QTimer firstDisplayTimer;
    QTimer pollTimer;
    QTimer sendTimer;
    QTimer delayTimer;

private:
    // Offline marks and the message, once; false when the card was deleted meanwhile.
    bool giveUp(QTimer &timer);

    const bool in3DView;
    // Set by the hub's project switch: the card's ids belong to the project before.
    bool retired = false;
    static double s_intervalScale;
};
