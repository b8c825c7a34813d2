#pragma once

// The strip at the foot of the main window: one tile per message row that panels
// raised since the start, a sound for every arrival, and the alarm dialog for
// every new alarm. Fed only by the hub's signalsAppendMessage and
// signalsRemoveMessage.

#include "records/alarmdlg.h"
#include "records/messagesound.h"
#include "store/records.h"

#include <QList>
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

    // The tiles shown, in child order (tiles on their way out are not counted).
    QList<MessageItem *> tiles() const;
    QGridLayout *tileGrid() const { return grid; }
    AlarmDlg *alarmDialog() { return &alarmDlg; }
    MessageSound *sound() { return &m_sound; }

private slots:
    void slotsAppendMessage(universalSwitchMessage msg);
    void slotsRemoveMessage(int value, int type);
    void slotsProjectStateChanged(QString projectName);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void addTile(const messageRecord &record);
    void removeTile(MessageItem *tile);

    QtMaterialGroupBox *groupBox = nullptr;
    QtMaterialCanvas *canvas = nullptr;
    QGridLayout *grid = nullptr;
    AlarmDlg alarmDlg;
    MessageSound m_sound;
};
