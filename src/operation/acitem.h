#pragma once

// The card of one air conditioner, reached through a wall panel (one unit of it,
// by unit number) or through an infrared module (by port). A panel unit is read
// by a chain of queries (firmware, temperature unit, modes and fan speeds,
// set-point ranges, parameters) and written as one parameter command that is
// resent until the panel confirms it. An infrared unit is read for its unit and
// room temperature only; every change goes out at once as universal-switch
// frames at least 50 ms apart, never resent. Every state is written into
// tbl_air_conditioner and logged as "ac_<name>".

#include "operation/climateitem.h"

#include <QVector>

class IrSequence;
class ModeSpeedItem;

class ACItem : public ClimateItem
{
    Q_OBJECT
public:
    // in3DView: the card sits in the 3-D view and takes replies while hidden.
    ACItem(airConditioner rec, bool in3DView, QWidget *parent = nullptr);
    ~ACItem() override;

    void generateLog() override;

    ModeSpeedItem *modeTile() const { return tileMode; }
    ModeSpeedItem *speedTile() const { return tileSpeed; }
    // Infrared frames still waiting for their turn.
    int pendingIrFrames() const;

private slots:
    void valueChanged(int value);
    void updateStatus() override;
    void slotsACStatus(int status);
    void slotsEdit(int value);

protected:
    void queryStep() override;
    void commandStep() override;
    void decodeReply(const BusReply &reply) override;
    void powerPressed() override;

private:
    bool viaPanel() const { return record.air_conditioner_type == 0; }
    bool viaIr() const { return record.air_conditioner_type == 1; }
    // The panel's unit number; a unit without a number counts as the first.
    int unitNumber() const { return record.channel >= 1 ? record.channel : 1; }
    bool channelForm() const { return unitNumber() >= 2; }
    int unitIndex() const { return unitNumber() - 1; }
    int irPort() const { return record.channel - 1; }

    // The set point of the current mode (cool for every mode but heat and auto).
    int setPoint() const;
    void storeSetPoint(int value);
    const char *setPointColumn() const;
    static bool modeHasSetPoint(int mode) { return mode == 0 || mode == 1 || mode == 3; }

    // Queries that move the chain on.
    void askModesAndSpeeds();
    void askRanges();
    void askParameters();

    void decodeUnit(const BusReply &reply);
    void decodeModesAndSpeeds(const BusReply &reply);
    void decodeRanges(const BusReply &reply);
    void decodeParameters(const BusReply &reply);
    void decodeParametersSet(const BusReply &reply);
    void decodeRoomTemperature(const BusReply &reply);
    // Parameters from payload offset first on: status, cool, mode and speed, _,
    // room, heat, _, auto, dry.
    void takeParameters(const BusReply &reply, int first);

    // Infrared frames, queued at least 50 ms apart.
    void irStatus(int status);
    void irMode(int mode);
    void irSpeed(int mode, int speed);
    void irTemperature(int mode, int value);

    // Runs the chooser for the tile of that kind showing value, and acts on the
    // choice. Opened once the press that asked for it is over, so that nothing of
    // the press runs on a card deleted while the chooser is open.
    void openChooser(int kind, int value);
    void takeChoice(int kind, int chosen);

    ModeSpeedItem *tileMode = nullptr;
    ModeSpeedItem *tileSpeed = nullptr;
    IrSequence *irFrames = nullptr;
    bool choosing = false;
    // A set point moved by the user that waits out its pause before it is sent, and
    // the parameters last sent (status, cool, mode and speed, heat, auto, dry; empty
    // before the first). Meanwhile, and for other parameters than those last sent, a
    // confirmation answers an earlier frame the panel may send late: it is not taken.
    bool pointWaiting = false;
    QVector<int> sentParameters;
};
