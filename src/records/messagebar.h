#pragma once

// The strip at the foot of the main window: one tile per message row that panels
// raised since the start, a sound for every arrival, and the alarm dialog for
// every new alarm. Fed only by the hub's signalsAppendMessage and
// signalsRemoveMessage. An announced row that fails to read is kept and read
// again on every showWaiting() until it is shown; it holds back no other row.

#include "records/alarmdlg.h"
#include "records/messagesound.h"
#include "store/records.h"

#include <QElapsedTimer>
#include <QList>
#include <QTimer>
#include <QWidget>

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

    // How long a waiting row is read again before it is given up (said on the
    // hub), and how many are kept; how long, and how many tiles, the bar shows
    // before it hands the window back.
    static constexpr qint64 RetryMs = 600000;
    static constexpr int MaxWaiting = 1000;
    static constexpr qint64 BusyMs = 40;
    static constexpr int TilesPerTurn = 50;

public slots:
    // Reads the waiting rows again and shows those read; the main window calls it
    // on every tick of its message timer.
    void showWaiting();

private slots:
    void slotsAppendMessage(universalSwitchMessage msg);
    void slotsRemoveMessage(int value, int type);
    void slotsProjectStateChanged(QString projectName);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
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
        QElapsedTimer since;
    };
    QList<Waiting> m_waiting;
    bool m_showing = false;
    QTimer m_showLater; // goes on with a long backlog once the window has had its turn
    int m_shownThisTurn = 0;
};
