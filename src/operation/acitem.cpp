#include "acitem.h"

#include "bus/broadcastsocket.h"
#include "bus/commandbuilders.h"
#include "operation/busreply.h"
#include "operation/climateloader.h"
#include "operation/irsequence.h"
#include "operation/modespeeditem.h"
#include "operation/modespeedselectdlg.h"
#include "shell/sliderctrl.h"
#include "store/conversions.h"
#include "store/devicelog.h"
#include "store/globals.h"
#include "store/queryhelpers.h"

#include <QGridLayout>
#include <QPointer>
#include <QTimer>
#include <qtmateriallabel.h>

namespace {

constexpr quint16 FirmwareReply = 0xEFFE;
constexpr quint16 UnitReply = 0xE121;
constexpr quint16 ModesReply = 0xE125;
constexpr quint16 RangesReply = 0x1901;
constexpr quint16 ParametersReply = 0xE0ED;
constexpr quint16 ParametersSetReply = 0xE0EF;
constexpr quint16 RoomTemperatureReply = 0xE3E8;
constexpr quint8 Success = 0xF8;

// Frame sizes of the panel's replies, plain form and channel form.
constexpr int ModesPlainSize = 38;
constexpr int ModesChannelSize = 39;
constexpr int RangesPlainSize = 36;
constexpr int RangesChannelSize = 37;
constexpr int ParametersPlainSize = 37;
constexpr int ParametersChannelSize = 39;
constexpr int ParametersSetPlainSize = 38;
constexpr int ParametersSetChannelSize = 39;

// The plain modes reply: a count and four slots of mode values, a count and five
// slots of fan-speed values.
constexpr int ModeSlots = 4;
constexpr int SpeedSlots = 5;

constexpr int ModeCool = 0;
constexpr int ModeHeat = 1;
constexpr int ModeFan = 2;
constexpr int ModeAuto = 3;

QString rangeText(int cool, int heat, int autoValue)
{
    return QStringLiteral("%1-%2-%3").arg(cool).arg(heat).arg(autoValue);
}

} // namespace

ACItem::ACItem(airConditioner rec, bool in3DView, QWidget *parent)
    : ClimateItem(rec, in3DView, parent)
{
    irFrames = new IrSequence(this);

    tileMode = new ModeSpeedItem(0, record.mode, QString(), this);
    tileSpeed = new ModeSpeedItem(1, record.speed, QString(), this);
    grid->addWidget(tileMode, 2, 0, Qt::AlignLeft | Qt::AlignBottom);
    grid->addWidget(tileSpeed, 2, 2, Qt::AlignRight | Qt::AlignBottom);

    connect(&gl_socket, &BroadcastSocket::signalsACStatus, this, &ACItem::slotsACStatus);
    connect(slider, &SliderCtrl::valueChanged, this, &ACItem::valueChanged);
    connect(tileMode, &ModeSpeedItem::signalsEdit, this, &ACItem::slotsEdit);
    connect(tileSpeed, &ModeSpeedItem::signalsEdit, this, &ACItem::slotsEdit);
    startFirstDisplay();
}

ACItem::~ACItem() = default;

int ACItem::pendingIrFrames() const
{
    return irFrames->pending();
}

// ---------------------------------------------------------------------------
// Display

int ACItem::setPoint() const
{
    switch (record.mode) {
    case ModeHeat:
        return record.current_heat_temperature;
    case ModeAuto:
        return record.current_auto_temperature;
    default:
        return record.current_cool_temperature;
    }
}

void ACItem::storeSetPoint(int value)
{
    switch (record.mode) {
    case ModeHeat:
        record.current_heat_temperature = value;
        break;
    case ModeAuto:
        record.current_auto_temperature = value;
        break;
    default:
        record.current_cool_temperature = value;
        break;
    }
}

const char *ACItem::setPointColumn() const
{
    switch (record.mode) {
    case ModeHeat:
        return "current_heat_temperature";
    case ModeAuto:
        return "current_auto_temperature";
    default:
        return "current_cool_temperature";
    }
}

void ACItem::updateStatus()
{
    firstDisplayTimer.stop();
    ready = false;
    showCommon();
    const bool on = record.status >= 1;
    if (on) {
        switch (record.mode) {
        case ModeHeat:
            showSetPoint(limitValue(record.low_limit, 1), limitValue(record.high_limit, 1),
                         record.current_heat_temperature);
            tileMode->setValue(ModeHeat);
            break;
        case ModeFan:
            setPointLabel->setText(tr("FAN"));
            tileMode->setValue(ModeFan);
            break;
        case ModeAuto:
            showSetPoint(limitValue(record.low_limit, 2), limitValue(record.high_limit, 2),
                         record.current_auto_temperature);
            tileMode->setValue(ModeAuto);
            break;
        default:
            showSetPoint(limitValue(record.low_limit, 0), limitValue(record.high_limit, 0),
                         record.current_cool_temperature);
            tileMode->setValue(ModeCool);
            break;
        }
    }
    slider->setVisible(on && record.mode != ModeFan);
    tileMode->setVisible(on);
    tileSpeed->setVisible(on);
    tileSpeed->setValue(record.speed >= 1 && record.speed <= 3 ? record.speed : 0);
    update();
    ready = true;
}

void ACItem::generateLog()
{
    const QString unit = unitText(record.temperature_unit);
    const QString room = QString::number(record.room_temperature);
    const QString device = QStringLiteral("ac_") + climateText(record.remark);
    if (logOffState(device))
        return;

    QString text;
    int logType = 0;
    auto withSetPoint = [&](const QString &modeName, int value) {
        text = QStringLiteral("room temperature is %1%2,%3 mode,setting temperature is %4%5")
                   .arg(room, unit, modeName, QString::number(value), unit);
        logType = appendLimitAlert(text, value);
    };
    switch (record.mode) {
    case ModeHeat:
        withSetPoint(QStringLiteral("heat"), record.current_heat_temperature);
        break;
    case ModeFan:
        text = QStringLiteral("room temperature is %1%2,fan mode").arg(room, unit);
        break;
    case ModeAuto:
        withSetPoint(QStringLiteral("auto"), record.current_auto_temperature);
        break;
    default:
        withSetPoint(QStringLiteral("cool"), record.current_cool_temperature);
        break;
    }
    switch (record.speed) {
    case 3:
        text += QStringLiteral(",low speed");
        break;
    case 2:
        text += QStringLiteral(",medium speed");
        break;
    case 1:
        text += QStringLiteral(",high speed");
        break;
    default:
        text += QStringLiteral(",auto speed");
        break;
    }
    commitLog(device, text, record.room_id, logType);
}

// ---------------------------------------------------------------------------
// Frames sent

void ACItem::askModesAndSpeeds()
{
    if (channelForm())
        fn_ac_panel_getModeSpeedFlag(record.subnet_id, record.device_id, unitIndex());
    else
        fn_ac_panel_getModeSpeedFlag(record.subnet_id, record.device_id);
}

void ACItem::askRanges()
{
    if (channelForm())
        fn_ac_panel_getTemperatureRang(record.subnet_id, record.device_id, unitIndex());
    else
        fn_ac_panel_getTemperatureRang(record.subnet_id, record.device_id);
}

void ACItem::askParameters()
{
    if (channelForm())
        fn_ac_panel_getPrms(record.subnet_id, record.device_id, unitIndex());
    else
        fn_ac_panel_getPrms(record.subnet_id, record.device_id);
}

void ACItem::queryStep()
{
    const int s = record.subnet_id;
    const int d = record.device_id;
    if (viaPanel()) {
        if (!(queryMask & 1))
            fn_getFirmwareVersion(s, d);
        else if (!(confirmedMask & 1))
            fn_ac_getTemperatureUnit(s, d);
        else if (!(confirmedMask & 2))
            askModesAndSpeeds();
        else if (!(confirmedMask & 4))
            askRanges();
        else
            askParameters();
    } else if (viaIr()) {
        if (!(queryMask & 1))
            fn_getFirmwareVersion(s, d);
        else if (!(confirmedMask & 1))
            fn_ac_getTemperatureUnit(s, d);
        else
            fn_ac_ir_getRoomTemperature(s, d);
    }
}

void ACItem::commandStep()
{
    if (!viaPanel())
        return;
    pointWaiting = false;
    sentParameters = QVector<int>{record.status, record.current_cool_temperature,
                                  (record.mode << 4) | record.speed, record.current_heat_temperature,
                                  record.current_auto_temperature, record.current_dry_temperature};
    for (int &value : sentParameters)
        value &= 0xFF; // as the frame carries them
    if (channelForm())
        fn_ac_panel_setPrms(record.subnet_id, record.device_id, unitIndex(), record);
    else
        fn_ac_panel_setPrms(record.subnet_id, record.device_id, record);
}

void ACItem::irStatus(int status)
{
    const int s = record.subnet_id;
    const int d = record.device_id;
    const int k = irPort();
    irFrames->append([s, d, k, status] { fn_ac_ir_setStatus(s, d, k, status); });
}

void ACItem::irMode(int mode)
{
    const int s = record.subnet_id;
    const int d = record.device_id;
    const int k = irPort();
    irFrames->append([s, d, k, mode] { fn_ac_ir_setMode(s, d, k, mode); });
}

void ACItem::irSpeed(int mode, int speed)
{
    const int s = record.subnet_id;
    const int d = record.device_id;
    const int k = irPort();
    irFrames->append([s, d, k, mode, speed] { fn_ac_ir_setSpeed(s, d, k, mode, speed); });
}

void ACItem::irTemperature(int mode, int value)
{
    const int s = record.subnet_id;
    const int d = record.device_id;
    const int k = irPort();
    irFrames->append([s, d, k, mode, value] { fn_ac_ir_setTemperature(s, d, k, mode, value); });
}

// ---------------------------------------------------------------------------
// Replies

void ACItem::decodeReply(const BusReply &reply)
{
    if (!reply.isFrom(record.subnet_id, record.device_id))
        return;
    switch (reply.code()) {
    case FirmwareReply:
        takeFirmware(reply);
        queryMask |= 1;
        tryCount = 0;
        if (!finished)
            fn_ac_getTemperatureUnit(record.subnet_id, record.device_id);
        break;
    case UnitReply:
        decodeUnit(reply);
        break;
    case ModesReply:
        if (viaPanel())
            decodeModesAndSpeeds(reply);
        break;
    case RangesReply:
        if (viaPanel())
            decodeRanges(reply);
        break;
    case ParametersReply:
        if (viaPanel())
            decodeParameters(reply);
        break;
    case ParametersSetReply:
        if (viaPanel())
            decodeParametersSet(reply);
        break;
    case RoomTemperatureReply:
        if (viaIr())
            decodeRoomTemperature(reply);
        break;
    default:
        break;
    }
}

void ACItem::decodeUnit(const BusReply &reply)
{
    // A reply without its unit byte carries nothing.
    if (!reply.hasPayload(1))
        return;
    record.temperature_unit = reply.payload(0);
    confirmedMask |= 1;
    tryCount = 0;
    writeColumn("temperature_unit", record.temperature_unit);
    if (finished)
        return;
    if (viaPanel())
        askModesAndSpeeds();
    else if (viaIr())
        fn_ac_ir_getRoomTemperature(record.subnet_id, record.device_id);
}

void ACItem::decodeModesAndSpeeds(const BusReply &reply)
{
    if (!channelForm()) {
        if (!hasFrameSize(reply, ModesPlainSize))
            return;
        const int modes = reply.payload(0);
        const int speeds = reply.payload(1 + ModeSlots);
        // Counts beyond the slots would read the other list and the checksum.
        if (modes > ModeSlots || speeds > SpeedSlots)
            return;
        for (int i = 0; i < modes; ++i) {
            const int value = reply.payload(1 + i);
            if (value <= 3)
                record.mode_flag[value] = 1;
        }
        for (int i = 0; i < speeds; ++i) {
            const int value = reply.payload(2 + ModeSlots + i);
            if (value <= 4)
                record.speed_flag[value] = 1;
        }
    } else {
        if (!hasFrameSize(reply, ModesChannelSize) || reply.payload(0) != Success ||
            reply.payload(1) != unitIndex())
            return;
        for (int i = 0; i < ModeSlots; ++i)
            record.mode_flag[i] = reply.payload(2 + i);
        for (int i = 0; i < SpeedSlots; ++i)
            record.speed_flag[i] = reply.payload(2 + ModeSlots + i);
    }
    confirmedMask |= 2;
    tryCount = 0;
    if (!finished)
        askRanges();
}

void ACItem::decodeRanges(const BusReply &reply)
{
    int first = 0;
    if (!channelForm()) {
        if (!hasFrameSize(reply, RangesPlainSize))
            return;
    } else {
        if (!hasFrameSize(reply, RangesChannelSize) || reply.payload(0) != Success ||
            reply.payload(1) != unitIndex())
            return;
        first = 2;
    }
    const QString low = rangeText(reply.payload(first), reply.payload(first + 2), reply.payload(first + 4));
    const QString high =
        rangeText(reply.payload(first + 1), reply.payload(first + 3), reply.payload(first + 5));
    setClimateText(record.low_limit, low);
    setClimateText(record.high_limit, high);
    confirmedMask |= 4;
    tryCount = 0;
    writeRow(QStringLiteral("low_limit='%1',high_limit='%2'")
                 .arg(sqlText(climateText(record.low_limit)), sqlText(climateText(record.high_limit))));
    if (!finished)
        askParameters();
}

void ACItem::takeParameters(const BusReply &reply, int first)
{
    record.status = reply.payload(first);
    record.current_cool_temperature = reply.payload(first + 1);
    const int modeAndSpeed = reply.payload(first + 2);
    record.mode = modeAndSpeed / 16;
    record.speed = modeAndSpeed % 16;
    record.room_temperature = reply.payload(first + 4);
    record.current_heat_temperature = reply.payload(first + 5);
    record.current_auto_temperature = reply.payload(first + 7);
    record.current_dry_temperature = reply.payload(first + 8);

    finished = true;
    tryCount = 0;
    writeRow(QStringLiteral("status=%1,current_cool_temperature=%2,mode=%3,speed=%4,room_temperature=%5,"
                            "current_heat_temperature=%6,current_auto_temperature=%7,"
                            "current_dry_temperature=%8")
                 .arg(record.status)
                 .arg(record.current_cool_temperature)
                 .arg(record.mode)
                 .arg(record.speed)
                 .arg(record.room_temperature)
                 .arg(record.current_heat_temperature)
                 .arg(record.current_auto_temperature)
                 .arg(record.current_dry_temperature));
    updateStatus();
    generateLog();
}

void ACItem::decodeParameters(const BusReply &reply)
{
    if (hasFrameSize(reply, ParametersChannelSize) && reply.payload(0) == Success &&
        reply.payload(1) == unitIndex()) {
        takeParameters(reply, 2);
        return;
    }
    if (!channelForm() && hasFrameSize(reply, ParametersPlainSize))
        takeParameters(reply, 0);
}

void ACItem::decodeParametersSet(const BusReply &reply)
{
    if (pointWaiting && sendTimer.isActive())
        return;
    // Offsets as takeParameters reads them, after the one or two leading bytes.
    const int first = channelForm() ? 2 : 1;
    if (!sentParameters.isEmpty() && reply.hasPayload(first + 9)) {
        const QVector<int> answered{reply.payload(first), reply.payload(first + 1), reply.payload(first + 2),
                                    reply.payload(first + 5), reply.payload(first + 7),
                                    reply.payload(first + 8)};
        if (answered != sentParameters)
            return;
    }
    if (!channelForm()) {
        if (hasFrameSize(reply, ParametersSetPlainSize) && reply.payload(0) == Success)
            takeParameters(reply, 1);
        return;
    }
    if (hasFrameSize(reply, ParametersSetChannelSize) && reply.payload(0) == Success &&
        reply.payload(1) == unitIndex())
        takeParameters(reply, 2);
}

void ACItem::decodeRoomTemperature(const BusReply &reply)
{
    if (!reply.hasPayload(2) || reply.payload(0) != 0)
        return;
    int t = qint8(reply.payload(1));
    if (record.temperature_unit > 0)
        t = get_Fahrenheit_Temperature(t);
    record.room_temperature = t;
    finished = true;
    tryCount = 0;
    writeColumn("room_temperature", t);
    updateStatus();
}

// ---------------------------------------------------------------------------
// Operation by the user

void ACItem::powerPressed()
{
    record.status = record.status == 0 ? 1 : 0;
    slotsACStatus(record.status);
}

void ACItem::slotsACStatus(int status)
{
    if (!isVisible())
        return;
    record.status = status;
    updateStatus();
    if (viaPanel()) {
        sendNow();
        return;
    }
    if (!viaIr())
        return;
    irStatus(status);
    if (status >= 1) {
        irMode(record.mode);
        if (modeHasSetPoint(record.mode)) {
            irSpeed(record.mode, record.speed);
            irTemperature(record.mode, setPoint());
        }
    }
    writeColumn("status", record.status);
    generateLog();
}

void ACItem::slotsEdit(int value)
{
    QObject *from = sender();
    if (!from || (from != tileMode && from != tileSpeed) || choosing)
        return;
    const int kind = from == tileSpeed ? 1 : 0;
    choosing = true;
    QTimer::singleShot(0, this, [this, kind, value] { openChooser(kind, value); });
}

void ACItem::openChooser(int kind, int value)
{
    QPointer<ACItem> self(this);
    ModeSpeedSelectDlg dialog(nullptr);
    dialog.kind = kind;
    dialog.initDlgCtrl();
    const int result = dialog.exec();
    // The page may have rebuilt its cards while the chooser ran.
    if (!self)
        return;
    choosing = false;
    if (result != 1 || dialog.value == value)
        return;
    takeChoice(kind, dialog.value);
}

void ACItem::takeChoice(int kind, int chosen)
{
    const bool speed = kind == 1;
    if (speed)
        record.speed = chosen;
    else
        record.mode = chosen;
    updateStatus();
    if (viaPanel()) {
        sendNow();
        return;
    }
    if (!viaIr())
        return;
    if (speed) {
        irSpeed(record.mode, record.speed);
        writeColumn("speed", record.speed);
    } else {
        irMode(record.mode);
        if (modeHasSetPoint(record.mode))
            irTemperature(record.mode, setPoint());
        writeColumn("mode", record.mode);
    }
    generateLog();
}

void ACItem::valueChanged(int value)
{
    if (!ready || sender() != slider)
        return;
    if (record.mode == ModeFan)
        return;
    storeSetPoint(value);
    updateStatus();
    if (viaPanel()) {
        sendAfterPause();
        pointWaiting = true;
        return;
    }
    if (!viaIr())
        return;
    if (modeHasSetPoint(record.mode)) {
        irTemperature(record.mode, value);
        writeColumn(setPointColumn(), value);
    }
    generateLog();
}
