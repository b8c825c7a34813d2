#pragma once

// The strip at the foot of the main window: one tile per message row that panels
// raised since the start, a sound for every arrival, and the alarm dialog for
// every new alarm. Fed only by the hub's signalsAppendMessage and
// signalsRemoveMessage. Every announced row is shown, however many arrive at once:
// a long backlog a slice at a time. A row that fails to read is kept and read
// again, ever less often, until it is shown; it holds back no other row.

#include "records/alarmdlg.h"
#include "records/messagesound.h"
#include "store/records.h"
#include "store/retrylanes.h"

#include <QElapsedTimer>
#include <QHash>
#include <QList>
#include <QMap>
#include <QTimer>
#include <QWidget>

#include <functional>

class MessageItem;
class QGridLayout;
class QtMaterialCanvas;
class QtMaterialGroupBox;

class MessageBar : public QWidget
{
    Q_OBJECT
public:
    static constexpr int BarHeight = 200;

    explicit MessageBar(QWidget *parent = nullptr);
    ~MessageBar() override;

    // The tiles shown, in the order they were added (tiles on their way out are not counted).
    QList<MessageItem *> tiles() const;
    QGridLayout *tileGrid() const { return grid; }
    AlarmDlg *alarmDialog() { return &alarmDlg; }
    MessageSound *sound() { return &m_sound; }

    // How long a row that fails to read is read again before it is given up
    // (said on the hub), and how many such rows are kept; how long, and how many
    // tiles, the bar shows in one turn of the event loop.
    static constexpr qint64 RetrySeconds = 600;
    static constexpr int MaxWaiting = 1000;
    static constexpr qint64 BusyMs = 40;
    static constexpr int TilesPerTurn = 50;

    // The rows announced and not shown yet.
    int waiting() const { return m_waiting.size(); }
    // The clock, in seconds; tests replace it.
    void setClock(std::function<qint64()> clock) { m_clock = std::move(clock); }

public slots:
    // Reads the rows that failed to read again, once their wait is over, and goes
    // on with the backlog; the main window calls it on every tick of its message
    // timer.
    void showWaiting();

private slots:
    void slotsAppendMessage(universalSwitchMessage msg);
    void slotsRemoveMessage(int value, int type);
    void slotsProjectStateChanged(QString projectName);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    // Shows the rows that are due (only row *only, when given) until none is or
    // the turn's share is used.
    void showDue(const int *only);
    // Whether this turn of the event loop may show another tile.
    bool turnLeft() const;
    // Shows one announced row; false when its read failed.
    bool showRow(const universalSwitchMessage &msg);
    void sayLost(int count);
    void addTile(const messageRecord &record);
    void removeTile(MessageItem *tile);

    QtMaterialGroupBox *groupBox = nullptr;
    QtMaterialCanvas *canvas = nullptr;
    QGridLayout *grid = nullptr;
    AlarmDlg alarmDlg;
    MessageSound m_sound;
    struct Waiting
    {
        universalSwitchMessage msg;
        qint64 since;
    };
    // One lane per row id: a row's announcements stay in order.
    RetryLanes<int, Waiting> m_waiting{MaxWaiting};
    QMap<int, MessageItem *> m_rows; // the tiles shown, by grid row
    QHash<int, int> m_rowOfId;       // their grid rows, by message row id
    int m_stretchRow = -1;
    bool m_showing = false;
    qint64 m_spentNs = 0; // on showing rows in this turn
    QTimer m_showLater; // goes on with a long backlog once the window has had its turn
    int m_shownThisTurn = 0;
    std::function<qint64()> m_clock;
};
