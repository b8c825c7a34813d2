#pragma once

// What the air-conditioner card and the floor-heating card share: the record of
// one tbl_air_conditioner row, the card (name, power picture, room temperature,
// set point and its slider, painted #3D5366 with rounded corners), the power
// press, the firmware reply, the write-back of the row and the limit alert of the
// device-event log. The device kinds add their queries, commands and decoding.

#include "bus/airconditioner.h"
#include "operation/deviceitem.h"

#include <QString>

class BusReply;
class QGridLayout;
class QLabel;
class QtMaterialLabel;
class SliderCtrl;

class ClimateItem : public DeviceItem
{
    Q_OBJECT
public:
    static constexpr int CardWidth = 500;
    static constexpr int CardHeight = 320;

    ~ClimateItem() override;

    // A copy of the record with the values last shown.
    airConditioner getAirConditioner() const { return record; }

    // Logs the current state as a device event.
    virtual void generateLog() = 0;

    // "°C" for a unit below 1, else "°F".
    static QString unitText(int unit);
    // Part index of a limit text: "%d-%d-%d" (index 0 to 2) or "%d" (index 0); a
    // part that does not parse is 0.
    static int limitValue(const char *text, int index);

    // What the card shows, for its owners and for tests.
    QString nameText() const;
    QString setPointText() const;
    QString roomTemperatureText() const;
    bool isRoomTemperatureShown() const;
    QString powerPicturePath() const { return shownPower; }
    SliderCtrl *setPointSlider() const { return slider; }
    QLabel *powerButton() const { return powerLabel; }

protected:
    ClimateItem(const airConditioner &rec, bool in3DView, QWidget *parent);

    // The common part of the display: room temperature, power picture, and "OFF"
    // for a unit that is off.
    void showCommon();
    // The set point "%d°C" and the slider's range and value, without notifications
    // reaching valueChanged (the caller holds ready false).
    void showSetPoint(int low, int high, int value);

    // The power picture was pressed.
    virtual void powerPressed() = 0;

    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    QString deviceName() const override;

    // Exact frame sizes of the replies: the frame's own byte count (16 plus its
    // length byte).
    static bool hasFrameSize(const BusReply &reply, int size);

    // The firmware reply: device type and version text, written at once.
    void takeFirmware(const BusReply &reply);

    // "update tbl_air_conditioner set <assignments> where air_conditioner_no=%d and
    // room_id=%d"; the assignments carry numbers or texts passed through sqlText.
    void writeRow(const QString &assignments);
    void writeColumn(const char *column, int value);

    // Logs "room temperature is ...,status is off" for device when the unit is
    // off; answers whether it was.
    bool logOffState(const QString &device) const;
    // Appends the limit alert for setPoint against the current project's indoor
    // temperature range; returns the log type (1 with an alert, else 0).
    int appendLimitAlert(QString &text, int setPoint) const;
    // The current project's indoor_temperature_low and _high; 0 where a text is
    // not a number or missing.
    static void indoorRange(int &low, int &high);

    airConditioner record;

    QGridLayout *grid = nullptr;
    QtMaterialLabel *nameLabel = nullptr;
    QLabel *powerLabel = nullptr;
    QLabel *roomPicture = nullptr;
    QtMaterialLabel *roomLabel = nullptr;
    QtMaterialLabel *setPointLabel = nullptr;
    SliderCtrl *slider = nullptr;

private:
    void buildControls();

    QString shownPower;
};
