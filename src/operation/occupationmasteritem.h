#pragma once

// The two room-wide devices of one room: the occupation sensor (occupied,
// unoccupied or unknown) and the master switch (on, off or unknown; pressing its
// picture switches it). One polling cycle serves both, occupation first; the
// master is a channel of an output module, read and switched like a light's
// channel. States are written into tbl_occupation and tbl_master and logged. When
// a device never answers, only a message goes out:
// "occupation(<subnet>-<device>) lost connection" or "master(...) lost connection".

#include "operation/occupationmaster.h"

#include <QTimer>
#include <QWidget>

class QtMaterialLabel;

class OccupationMasterItem : public QWidget
{
    Q_OBJECT
public:
    OccupationMasterItem(int iconWidth, int iconHeight, QWidget *parent = nullptr);
    ~OccupationMasterItem() override;

    // Takes the room's record; shows each part only when its address is complete.
    void setOccupationMaster(occupationMaster rec);
    occupationMaster getOccupationMaster() const { return record; }

    // Starts a poll cycle.
    void getStatus();
    // True when the cycle is over: both answered, or ten frames unanswered.
    bool status() const;
    // Starts a send cycle for the present master state without changing it.
    void setStatus();
    // Shows the states, each part only when its address is complete.
    void updateStatus();
    // Logs the master's state (which 1) or the occupation sensor's (any other).
    void generateLog(int which);

    // What the item shows, for its owners and for tests.
    QString occupationText() const;
    QString masterText() const;
    QString occupationPicture() const { return shownOccupation; }
    QString masterPicture() const { return shownMaster; }
    bool isOccupationShown() const;
    bool isMasterShown() const;
    QtMaterialLabel *masterButton() const { return labelMaster; }

public slots:
    void dataIsComming(quint8 *recvBuff, qlonglong recvLength);
    void slotsGetStatus();
    void slotsSetStatus();
    void startRefresh();
    void stopRefresh();
    void labelMaster_pressed();

private:
    void clearCycle();
    // Emits the message through the hub; false when this item was deleted meanwhile.
    bool report(const QString &text);
    void queryMaster();
    void takeOccupation(quint8 state, quint8 subnet, quint8 device);
    void takeMaster(quint8 state, quint8 subnet, quint8 device, bool confirmation);

    occupationMaster record;
    quint8 doneMask = 0; // bit 0 occupation answered, bit 1 master answered
    quint8 finished = 0;
    quint8 tries = 0;
    QTimer pollTimer;
    QTimer sendTimer;
    QtMaterialLabel *labelOccupation = nullptr;
    QtMaterialLabel *labelOccupationText = nullptr;
    QtMaterialLabel *labelMaster = nullptr;
    QtMaterialLabel *labelMasterText = nullptr;
    QString shownOccupation;
    QString shownMaster;
};
