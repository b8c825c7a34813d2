#include "occupationmasteritem.h"

#include "bus/broadcastsocket.h"
#include "bus/commandbuilders.h"
#include "operation/busreply.h"
#include "operation/deviceitem.h"
#include "store/devicelog.h"
#include "store/globals.h"

#include <QGridLayout>
#include <QPointer>
#include <qtmateriallabel.h>

#include <algorithm>
#include <cstring>

namespace {

constexpr quint16 OccupationReply = 0x012D;
constexpr quint16 LevelsReply = 0x0034;
constexpr quint16 SwitchConfirmation = 0x0032;
constexpr quint8 Success = 0xF8;
constexpr int PollInterval = 1000;
constexpr int MaxTries = 10;

quint8 masterState(int level)
{
    return level != 0 ? StateOnOrOccupied : StateOffOrUnoccupied;
}

} // namespace

OccupationMasterItem::OccupationMasterItem(int iconWidth, int iconHeight, QWidget *parent)
    : QWidget(parent)
{
    auto makePicture = [&](const QString &path, QString &shown) {
        auto *label = new QtMaterialLabel(QString(), this);
        label->setFixedSize(iconWidth, iconHeight);
        label->setScaledContents(true);
        label->setPixmap(QPixmap(path));
        shown = path;
        return label;
    };
    labelOccupation = makePicture(tr(":/myImages/png/occupation_unknown.png"), shownOccupation);
    labelOccupationText = new QtMaterialLabel(tr("Unknown"), this);
    labelMaster = makePicture(tr(":/myImages/png/master_unknown.png"), shownMaster);
    labelMasterText = new QtMaterialLabel(tr("Unknown"), this);

    connect(labelMaster, &QtMaterialLabel::signalsPressed, this, &OccupationMasterItem::labelMaster_pressed);

    auto *grid = new QGridLayout(this);
    grid->setSpacing(20);
    grid->addWidget(labelOccupation, 0, 0);
    grid->addWidget(labelOccupationText, 0, 1);
    grid->addWidget(labelMaster, 0, 2);
    grid->addWidget(labelMasterText, 0, 3);
    grid->setColumnStretch(4, 1);
    grid->setRowStretch(1, 1);

    connect(&pollTimer, &QTimer::timeout, this, &OccupationMasterItem::slotsGetStatus);
    connect(&sendTimer, &QTimer::timeout, this, &OccupationMasterItem::slotsSetStatus);
    connect(&gl_socket, &BroadcastSocket::signalsStopRefresh, this, &OccupationMasterItem::stopRefresh);
    connect(&gl_socket, &BroadcastSocket::dataIsComming, this, &OccupationMasterItem::dataIsComming);
}

OccupationMasterItem::~OccupationMasterItem()
{
    pollTimer.stop();
    sendTimer.stop();
    disconnect(&gl_socket, nullptr, this, nullptr);
}

void OccupationMasterItem::setOccupationMaster(occupationMaster rec)
{
    record = rec;
    const bool occupation = record.occupationComplete();
    const bool master = record.masterComplete();
    labelOccupation->setVisible(occupation);
    labelOccupationText->setVisible(occupation);
    labelMaster->setVisible(master);
    labelMasterText->setVisible(master);
    updateStatus();
}

QString OccupationMasterItem::occupationText() const
{
    return labelOccupationText->text();
}

QString OccupationMasterItem::masterText() const
{
    return labelMasterText->text();
}

bool OccupationMasterItem::isOccupationShown() const
{
    return !labelOccupation->isHidden() && !labelOccupationText->isHidden();
}

bool OccupationMasterItem::isMasterShown() const
{
    return !labelMaster->isHidden() && !labelMasterText->isHidden();
}

void OccupationMasterItem::updateStatus()
{
    if (record.occupationComplete()) {
        QString picture;
        QString text;
        switch (record.occupation_status) {
        case StateOnOrOccupied:
            picture = tr(":/myImages/png/occupation_on.png");
            text = tr("Occupied");
            break;
        case StateOffOrUnoccupied:
            picture = tr(":/myImages/png/occupation_off.png");
            text = tr("Unoccupied");
            break;
        default:
            picture = tr(":/myImages/png/occupation_unknown.png");
            text = tr("Unknown");
            break;
        }
        if (picture != shownOccupation) {
            shownOccupation = picture;
            labelOccupation->setPixmap(QPixmap(picture));
        }
        labelOccupationText->setText(text);
    }
    if (record.masterComplete()) {
        QString picture;
        QString text;
        switch (record.master_status) {
        case StateOnOrOccupied:
            picture = tr(":/myImages/png/master_on.png");
            text = tr("On");
            break;
        case StateOffOrUnoccupied:
            picture = tr(":/myImages/png/master_off.png");
            text = tr("Off");
            break;
        default:
            picture = tr(":/myImages/png/master_unknown.png");
            text = tr("Unknown");
            break;
        }
        if (picture != shownMaster) {
            shownMaster = picture;
            labelMaster->setPixmap(QPixmap(picture));
        }
        labelMasterText->setText(text);
    }
}

void OccupationMasterItem::generateLog(int which)
{
    QString device;
    QString event;
    if (which == 1) {
        device = QStringLiteral("master");
        switch (record.master_status) {
        case StateOnOrOccupied:
            event = QStringLiteral("status is on");
            break;
        case StateOffOrUnoccupied:
            event = QStringLiteral("status is off");
            break;
        default:
            event = QStringLiteral("status is unknown");
            break;
        }
    } else {
        device = QStringLiteral("occupation");
        switch (record.occupation_status) {
        case StateOnOrOccupied:
            event = QStringLiteral("status is occupied");
            break;
        case StateOffOrUnoccupied:
            event = QStringLiteral("status is unoccupied");
            break;
        default:
            event = QStringLiteral("status is unknown");
            break;
        }
    }
    commitLog(device, event, record.room_id, 0);
}

// ---------------------------------------------------------------------------
// Cycle

void OccupationMasterItem::clearCycle()
{
    tries = 0;
    doneMask = 0;
    finished = 0;
    pollTimer.stop();
    sendTimer.stop();
}

bool OccupationMasterItem::status() const
{
    return finished || tries > MaxTries - 1;
}

void OccupationMasterItem::getStatus()
{
    clearCycle();
    if (record.occupationComplete() && record.masterEmpty())
        doneMask |= 2;
    if (record.masterComplete() && record.occupationEmpty())
        doneMask |= 1;
    if (!record.occupationComplete() && !record.masterComplete())
        finished = 1;
    QPointer<OccupationMasterItem> self(this);
    slotsGetStatus();
    if (self)
        pollTimer.start(DeviceItem::scaledInterval(PollInterval));
}

void OccupationMasterItem::startRefresh()
{
    QPointer<OccupationMasterItem> self(this);
    slotsGetStatus();
    if (self)
        pollTimer.start(DeviceItem::scaledInterval(PollInterval));
}

void OccupationMasterItem::stopRefresh()
{
    clearCycle();
}

void OccupationMasterItem::setStatus()
{
    clearCycle();
    QPointer<OccupationMasterItem> self(this);
    slotsSetStatus();
    if (self)
        sendTimer.start(DeviceItem::scaledInterval(PollInterval));
}

bool OccupationMasterItem::report(const QString &text)
{
    // A receiver of the message may rebuild the page and delete this item.
    QPointer<OccupationMasterItem> self(this);
    emit gl_socket.signalsInformation(text);
    return !self.isNull();
}

void OccupationMasterItem::queryMaster()
{
    fn_light_getChannelStatus(record.master_subnet_id, record.master_device_id, record.master_channel);
}

void OccupationMasterItem::slotsGetStatus()
{
    if (finished) {
        pollTimer.stop();
        return;
    }
    if (tries > MaxTries - 1) {
        pollTimer.stop();
        if (!(doneMask & 1))
            report(QString::asprintf("occupation(%d-%d) lost connection", record.occupation_subnet_id,
                                     record.occupation_device_id));
        else if (!(doneMask & 2))
            report(QString::asprintf("master(%d-%d) lost connection", record.master_subnet_id,
                                     record.master_device_id));
        return;
    }
    if (!(doneMask & 1))
        fn_occupation_getStatus(record.occupation_subnet_id, record.occupation_device_id);
    else if (!(doneMask & 2))
        queryMaster();
    ++tries;
}

void OccupationMasterItem::labelMaster_pressed()
{
    record.master_status =
        record.master_status == StateOnOrOccupied ? StateOffOrUnoccupied : StateOnOrOccupied;
    updateStatus();
    setStatus();
}

void OccupationMasterItem::slotsSetStatus()
{
    if (!record.masterComplete()) {
        finished = 1;
        sendTimer.stop();
        return;
    }
    if (finished) {
        sendTimer.stop();
        return;
    }
    if (tries > MaxTries - 1) {
        sendTimer.stop();
        report(QString::asprintf("master(%d-%d) lost connection", record.master_subnet_id,
                                 record.master_device_id));
        return;
    }
    fn_light_setChannelStatus(record.master_subnet_id, record.master_device_id, record.master_channel,
                              record.master_status == StateOnOrOccupied ? 100 : 0);
    ++tries;
}

// ---------------------------------------------------------------------------
// Replies

void OccupationMasterItem::dataIsComming(quint8 *recvBuff, qlonglong recvLength)
{
    if (!recvBuff || recvLength < 1 || !isVisible())
        return;
    quint8 frame[BroadcastSocket::BufferSize];
    const int n = int(std::min<qlonglong>(recvLength, BroadcastSocket::BufferSize));
    std::memcpy(frame, recvBuff, size_t(n));
    if (!gl_socket.checkRecvBuff_0xAAAA(frame, n))
        return;
    const BusReply reply(frame, n);

    switch (reply.code()) {
    case OccupationReply: {
        if (!reply.isFrom(record.occupation_subnet_id, record.occupation_device_id))
            return;
        // 0xF8, the channel count, a block of count bytes, then one state byte
        // per channel; the sensor's byte must lie within the frame.
        const int count = reply.payload(1);
        const int channel = record.occupation_channel;
        const int at = 1 + count + channel;
        if (!reply.hasPayload(2) || reply.payload(0) != Success || count < 1 || channel < 1 ||
            channel > count || !reply.hasPayload(at + 1))
            return;
        takeOccupation(reply.payload(at) != 0 ? StateOffOrUnoccupied : StateOnOrOccupied,
                       reply.sourceSubnet(), reply.sourceDevice());
        break;
    }
    case LevelsReply: {
        if (!reply.isFrom(record.master_subnet_id, record.master_device_id))
            return;
        const int count = reply.payload(0);
        const int channel = record.master_channel;
        if (!reply.hasPayload(1) || count < 1 || channel < 1 || channel > count ||
            !reply.hasPayload(channel + 1))
            return;
        takeMaster(masterState(reply.payload(channel)), reply.sourceSubnet(), reply.sourceDevice(), false);
        break;
    }
    case SwitchConfirmation: {
        if (!reply.isFrom(record.master_subnet_id, record.master_device_id))
            return;
        if (!reply.hasPayload(3) || reply.payload(0) != record.master_channel || reply.payload(1) != Success)
            return;
        takeMaster(masterState(reply.payload(2)), reply.sourceSubnet(), reply.sourceDevice(), true);
        break;
    }
    default:
        break;
    }
}

void OccupationMasterItem::takeOccupation(quint8 state, quint8 subnet, quint8 device)
{
    record.occupation_status = state;
    doneMask |= 1;
    if (doneMask & 2)
        finished = 1;
    tries = 0;
    storeDeviceState(QStringLiteral("update tbl_occupation set status=%1 where subnet_id=%2 and "
                                    "device_id=%3 and channel=%4")
                         .arg(state)
                         .arg(subnet)
                         .arg(device)
                         .arg(record.occupation_channel));
    updateStatus();
    generateLog(0);
    if (!finished)
        queryMaster();
}

void OccupationMasterItem::takeMaster(quint8 state, quint8 subnet, quint8 device, bool confirmation)
{
    record.master_status = state;
    if (confirmation) {
        finished = 1;
    } else {
        doneMask |= 2;
        if (doneMask & 1)
            finished = 1;
    }
    tries = 0;
    storeDeviceState(QStringLiteral("update tbl_master set status=%1 where subnet_id=%2 and "
                                    "device_id=%3 and channel=%4")
                         .arg(state)
                         .arg(subnet)
                         .arg(device)
                         .arg(record.master_channel));
    updateStatus();
    generateLog(1);
}
