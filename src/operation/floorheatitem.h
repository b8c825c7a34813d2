#pragma once

// The card of one floor-heating circuit of a controller on the bus: power, set
// point and room temperature. It reads the controller's set-point range and the
// circuit's state, and sends the power or the set point as separate commands,
// resent until the controller confirms them. Every state is written into
// tbl_air_conditioner and logged as "fh_<name>".

#include "operation/climateitem.h"

class FloorHeatItem : public ClimateItem
{
    Q_OBJECT
public:
    // in3DView: the card sits in the 3-D view and takes replies while hidden.
    FloorHeatItem(airConditioner rec, bool in3DView, QWidget *parent = nullptr);
    ~FloorHeatItem() override;

    void generateLog() override;

private slots:
    void valueChanged(int value);
    void updateStatus() override;
    void slotsACStatus(int status);

protected:
    void queryStep() override;
    void commandStep() override;
    void decodeReply(const BusReply &reply) override;
    void powerPressed() override;

private:
    // The circuit; a circuit without a number counts as the first.
    int circuit() const { return record.channel >= 1 ? record.channel : 1; }
    int circuitIndex() const { return circuit() - 1; }
    bool channelForm() const { return circuit() >= 2; }

    void decodeRange(const BusReply &reply);
    void decodeState(const BusReply &reply);
    void decodeConfirmation(const BusReply &reply);
    // State from payload offset first on: unit, room, status, mode, four set points.
    void takeState(const BusReply &reply, int first);
    // Sends the power command now and resends it until confirmed.
    void sendPower();

    // A set point moved by the user that waits out its pause before it is sent, and
    // the power and set point last sent (-1 before the first). Meanwhile, and for a
    // value other than the one last sent, a confirmation answers an earlier frame
    // that the controller may send late: it is not taken.
    bool pointWaiting = false;
    int sentPower = -1;
    int sentPoint = -1;
};
