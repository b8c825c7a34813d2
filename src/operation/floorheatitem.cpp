#include "floorheatitem.h"

#include "bus/broadcastsocket.h"
#include "bus/commandbuilders.h"
#include "operation/busreply.h"
#include "operation/climateloader.h"
#include "shell/sliderctrl.h"
#include "store/devicelog.h"
#include "store/globals.h"
#include "store/queryhelpers.h"

#include <qtmateriallabel.h>

namespace {

constexpr quint16 FirmwareReply = 0xEFFE;
constexpr quint16 RangeReply = 0xA13F;
constexpr quint16 StateReply = 0x1945;
constexpr quint16 Confirmation = 0xE3D9;
constexpr quint8 Success = 0xF8;
constexpr quint8 ChannelMark = 0x23;
constexpr quint8 PowerItem = 0x14;
constexpr quint8 SetPointItem = 0x18;

constexpr int RangePlainSize = 32;
constexpr int RangeChannelSize = 33;
constexpr int StatePlainSize = 35;
constexpr int StateChannelSize = 36;
constexpr int ConfirmationPlainSize = 29;
constexpr int ConfirmationChannelSize = 30;

} // namespace

FloorHeatItem::FloorHeatItem(airConditioner rec, bool in3DView, QWidget *parent)
    : ClimateItem(rec, in3DView, parent)
{
    connect(&gl_socket, &BroadcastSocket::signalsACStatus, this, &FloorHeatItem::slotsACStatus);
    connect(slider, &SliderCtrl::valueChanged, this, &FloorHeatItem::valueChanged);
    startFirstDisplay();
}

FloorHeatItem::~FloorHeatItem() = default;

// ---------------------------------------------------------------------------
// Display and log

void FloorHeatItem::updateStatus()
{
    firstDisplayTimer.stop();
    ready = false;
    showCommon();
    const bool on = record.status >= 1;
    if (on)
        showSetPoint(limitValue(record.low_limit, 0), limitValue(record.high_limit, 0),
                     record.current_temperature);
    slider->setVisible(on);
    update();
    ready = true;
}

void FloorHeatItem::generateLog()
{
    const QString unit = unitText(record.temperature_unit);
    const QString room = QString::number(record.room_temperature);
    const QString device = QStringLiteral("fh_") + climateText(record.remark);
    if (logOffState(device))
        return;
    QString text = QStringLiteral("room temperature is %1%2,setting temperature is %3%4")
                       .arg(room, unit, QString::number(record.current_temperature), unit);
    const int logType = appendLimitAlert(text, record.current_temperature);
    commitLog(device, text, record.room_id, logType);
}

// ---------------------------------------------------------------------------
// Frames sent

void FloorHeatItem::queryStep()
{
    const int s = record.subnet_id;
    const int d = record.device_id;
    if (!(queryMask & 1))
        fn_getFirmwareVersion(s, d);
    else if (!(confirmedMask & 1))
        fn_fh_getTemperatureRange(s, d, circuitIndex());
    else
        fn_fh_getStatus(s, d, circuitIndex());
}

void FloorHeatItem::commandStep()
{
    // Bit 0 of the confirmed mask marks a pending set point during a send.
    pointWaiting = false;
    if (confirmedMask & 1) {
        sentPoint = record.current_temperature & 0xFF;
        fn_fh_setTemperature(record.subnet_id, record.device_id, circuitIndex(), record.current_temperature);
    } else {
        sentPower = record.status & 0xFF;
        fn_fh_setStatus(record.subnet_id, record.device_id, circuitIndex(), record.status);
    }
}

// ---------------------------------------------------------------------------
// Replies

void FloorHeatItem::decodeReply(const BusReply &reply)
{
    if (!reply.isFrom(record.subnet_id, record.device_id))
        return;
    switch (reply.code()) {
    case FirmwareReply:
        takeFirmware(reply);
        queryMask |= 1;
        tryCount = 0;
        if (!finished)
            fn_fh_getTemperatureRange(record.subnet_id, record.device_id, circuitIndex());
        break;
    case RangeReply:
        decodeRange(reply);
        break;
    case StateReply:
        decodeState(reply);
        break;
    case Confirmation:
        decodeConfirmation(reply);
        break;
    default:
        break;
    }
}

void FloorHeatItem::decodeRange(const BusReply &reply)
{
    int first = 0;
    if (!channelForm()) {
        if (!hasFrameSize(reply, RangePlainSize) || reply.payload(0) != Success)
            return;
        first = 1;
    } else {
        if (!hasFrameSize(reply, RangeChannelSize) || reply.payload(0) != circuitIndex() ||
            reply.payload(1) != Success)
            return;
        first = 2;
    }
    setClimateText(record.low_limit, QString::number(reply.payload(first)));
    setClimateText(record.high_limit, QString::number(reply.payload(first + 1)));
    confirmedMask |= 1;
    tryCount = 0;
    writeRow(QStringLiteral("low_limit='%1',high_limit='%2'")
                 .arg(sqlText(climateText(record.low_limit)), sqlText(climateText(record.high_limit))));
    if (!finished)
        fn_fh_getStatus(record.subnet_id, record.device_id, circuitIndex());
}

void FloorHeatItem::takeState(const BusReply &reply, int first)
{
    record.temperature_unit = reply.payload(first);
    record.room_temperature = reply.payload(first + 1);
    record.status = reply.payload(first + 2);
    // The circuit's mode only picks the set point of that mode.
    const int mode = reply.payload(first + 3);
    if (mode >= 1 && mode <= 4)
        record.current_temperature = reply.payload(first + 3 + mode);

    finished = true;
    tryCount = 0;
    writeRow(QStringLiteral("temperature_unit=%1,room_temperature=%2,status=%3,current_temperature=%4")
                 .arg(record.temperature_unit)
                 .arg(record.room_temperature)
                 .arg(record.status)
                 .arg(record.current_temperature));
    updateStatus();
    generateLog();
}

void FloorHeatItem::decodeState(const BusReply &reply)
{
    if (hasFrameSize(reply, StateChannelSize) && reply.payload(0) == circuitIndex()) {
        takeState(reply, 1);
        return;
    }
    if (!channelForm() && hasFrameSize(reply, StatePlainSize))
        takeState(reply, 0);
}

void FloorHeatItem::decodeConfirmation(const BusReply &reply)
{
    int first = 0;
    if (!channelForm()) {
        if (!hasFrameSize(reply, ConfirmationPlainSize))
            return;
    } else {
        if (!hasFrameSize(reply, ConfirmationChannelSize) || reply.payload(0) != ChannelMark)
            return;
        first = 1;
    }
    const quint8 item = reply.payload(first);
    const int value = reply.payload(first + 1);
    const int sent = item == PowerItem ? sentPower : item == SetPointItem ? sentPoint : -1;
    if ((pointWaiting && sendTimer.isActive()) || (sent >= 0 && value != sent))
        return;
    if (item == PowerItem) {
        record.status = value;
        writeColumn("status", value);
    } else if (item == SetPointItem) {
        record.current_temperature = value;
        writeColumn("current_temperature", value);
    } else {
        return;
    }
    finished = true;
    tryCount = 0;
    updateStatus();
    generateLog();
}

// ---------------------------------------------------------------------------
// Operation by the user

void FloorHeatItem::sendPower()
{
    updateStatus();
    // sendNow clears the confirmed mask: the pending change is the power.
    sendNow();
}

void FloorHeatItem::powerPressed()
{
    record.status = record.status == 0 ? 1 : 0;
    if (isVisible())
        sendPower();
}

void FloorHeatItem::slotsACStatus(int status)
{
    if (!isVisible())
        return;
    record.status = status;
    sendPower();
}

void FloorHeatItem::valueChanged(int value)
{
    if (!ready || sender() != slider)
        return;
    record.current_temperature = value;
    updateStatus();
    sendAfterPause();
    confirmedMask |= 1; // the pending change is the set point
    pointWaiting = true;
}
