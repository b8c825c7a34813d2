#include "lightitem.h"

#include "bus/broadcastsocket.h"
#include "bus/colorconversion.h"
#include "bus/commandbuilders.h"
#include "operation/busreply.h"
#include "operation/colorlabel.h"
#include "operation/colorselectdlg.h"
#include "operation/lightcolours.h"
#include "operation/lightsliderctrl.h"
#include "store/conversions.h"
#include "store/cppsqlite3db.h"
#include "store/devicelog.h"
#include "store/globals.h"
#include "store/queryhelpers.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPointer>
#include <QSqlQuery>
#include <QVariant>
#include <qtmaterialiconbutton.h>
#include <qtmateriallabel.h>
#include <qtmaterialtheme.h>

namespace {

constexpr quint16 FirmwareReply = 0xEFFE;
constexpr quint16 LevelsReply = 0x0034;
constexpr quint16 SetConfirmation = 0x0032;
constexpr quint16 SceneConfirmation = 0x0003;
constexpr quint16 HsbConfirmation = 0x2035;
constexpr quint16 HsbReply = 0x2037;
constexpr quint8 Success = 0xF8;
constexpr int VersionLength = 63;

const QColor kOnColour(0x1F, 0x29, 0x33);
const QColor kOffColour(0x3D, 0x53, 0x66);

quint8 lowByte(int value)
{
    return quint8(value & 0xFF);
}

} // namespace

LightItem::LightItem(light rec, bool in3DView, QWidget *parent)
    : DeviceItem(in3DView, parent)
    , record(rec)
{
    setFixedSize(CardWidth, CardHeight);
    buildControls();
    installEventFilter(this);
    connect(&gl_socket, &BroadcastSocket::signalsLightStatus, this, &LightItem::slotsLightStatus);
    startFirstDisplay();
}

LightItem::~LightItem() = default;

void LightItem::buildControls()
{
    offlinePicture = new QLabel(this);
    offlinePicture->setFixedSize(36, 36);
    offlinePicture->setScaledContents(true);
    offlinePicture->setPixmap(QPixmap(tr(":/myImages/png/icon-light-disconnected.png")));
    offlinePicture->hide();
    offlineText = new QtMaterialLabel(tr("Not online"), this);
    offlineText->hide();

    nameLabel = new QtMaterialLabel(this);
    nameLabel->setText(nameLabel->fontMetrics().elidedText(record.remark(), Qt::ElideRight, 200));

    pictureLabel = new QLabel(this);
    pictureLabel->setFixedSize(192, 192);
    pictureLabel->setScaledContents(true);

    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(20, 10, 20, 20);
    grid->setSpacing(20);
    grid->addWidget(offlinePicture, 0, 0);
    grid->addWidget(offlineText, 0, 1);
    grid->setColumnStretch(2, 1);
    grid->addWidget(nameLabel, 1, 0, 1, 2, Qt::AlignLeft | Qt::AlignTop);
    grid->addWidget(pictureLabel, 1, 2, Qt::AlignRight);

    QLayout *controls = nullptr;
    switch (record.light_type) {
    case LightAdjust: {
        sliderLevel = new LightSliderCtrl(false, this);
        auto *row = new QHBoxLayout;
        row->setContentsMargins(0, 0, 0, 0);
        row->addWidget(sliderLevel);
        controls = row;
        break;
    }
    case LightRGB:
    case LightHSB: {
        swatch = new ColorLabel(this);
        auto *row = new QHBoxLayout;
        row->setContentsMargins(0, 0, 0, 0);
        row->addWidget(swatch);
        row->addStretch(1);
        controls = row;
        break;
    }
    case LightScene: {
        buttonReduce = new QtMaterialIconButton(
            QtMaterialTheme::icon(QStringLiteral("content"), QStringLiteral("remove")), this);
        buttonReduce->setColor(Qt::white);
        buttonReduce->setIconSize(QSize(32, 32));
        auto *picture = new QLabel(this);
        picture->setFixedSize(20, 20);
        picture->setScaledContents(true);
        picture->setPixmap(QPixmap(tr(":/myImages/png/icon-lighting-brightness.png")));
        buttonAdd = new QtMaterialIconButton(
            QtMaterialTheme::icon(QStringLiteral("content"), QStringLiteral("add")), this);
        buttonAdd->setColor(Qt::white);
        buttonAdd->setIconSize(QSize(32, 32));
        auto *row = new QGridLayout;
        row->setContentsMargins(0, 0, 0, 0);
        row->addWidget(buttonReduce, 0, 0);
        row->addWidget(picture, 0, 1);
        row->addWidget(buttonAdd, 0, 2);
        row->setColumnStretch(3, 1);
        connect(buttonReduce, &QAbstractButton::clicked, this, &LightItem::pushButtonSceneReduce_clicked);
        connect(buttonAdd, &QAbstractButton::clicked, this, &LightItem::pushButtonSceneAdd_clicked);
        controls = row;
        break;
    }
    case LightDaliDT8: {
        swatch = new ColorLabel(this);
        sliderLevel = new LightSliderCtrl(false, this);
        sliderTemperature = new LightSliderCtrl(true, this);
        auto *rows = new QGridLayout;
        rows->setContentsMargins(0, 0, 0, 0);
        rows->setHorizontalSpacing(20);
        rows->setVerticalSpacing(0);
        rows->addWidget(swatch, 0, 0, 2, 1);
        rows->addWidget(sliderLevel, 0, 1);
        rows->addWidget(sliderTemperature, 1, 1);
        rows->setColumnStretch(1, 1);
        controls = rows;
        break;
    }
    default:
        break;
    }
    if (controls)
        grid->addLayout(controls, 2, 0, 1, 3, Qt::AlignBottom);
    grid->setRowStretch(3, 1);

    for (LightSliderCtrl *s : {sliderLevel, sliderTemperature}) {
        if (s)
            connect(s, &LightSliderCtrl::valueChanged, this, &LightItem::valueChanged);
    }
}

QString LightItem::deviceName() const
{
    return record.remark();
}

bool LightItem::concerns(quint8 subnet, quint8 device) const
{
    for (int k = 0; k < light::Sets; ++k) {
        if (record.subnet_id[k] == subnet && record.device_id[k] == device)
            return true;
    }
    return false;
}

QString LightItem::nameText() const
{
    return nameLabel->text();
}

bool LightItem::isOfflineShown() const
{
    return !offlinePicture->isHidden() && !offlineText->isHidden();
}

void LightItem::disconnected(bool offline)
{
    offlinePicture->setVisible(offline);
    offlineText->setVisible(offline);
}

// ---------------------------------------------------------------------------
// Display

void LightItem::showPicture()
{
    QString name = QString::fromUtf8(record.isOn() ? record.icon_name_of_light_on
                                                    : record.icon_name_of_light_off);
    if (!name.contains(QLatin1String(".png")))
        name += QLatin1String(".png");
    const QString path = tr(":/myImages/png/light/%1").arg(name);
    if (path != shownPicture) {
        shownPicture = path;
        pictureLabel->setPixmap(QPixmap(path));
    }
}

void LightItem::updateStatus()
{
    firstDisplayTimer.stop();
    ready = false;
    showPicture();
    update();
    switch (record.light_type) {
    case LightAdjust:
        sliderLevel->setValue(record.brightness[0]);
        break;
    case LightRGB:
        swatch->setBackgroundColor(displayColourOfRgb(record));
        break;
    case LightHSB:
        swatch->setBackgroundColor(displayColourOfHsb(record));
        break;
    case LightDaliDT8:
        sliderLevel->setValue(record.brightness[0]);
        sliderTemperature->setValue(record.brightness[1]);
        swatch->setBackgroundColor(displayColourOfTemperature(record.brightness[1]));
        break;
    default:
        break;
    }
    ready = true;
}

void LightItem::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath path;
    path.addRoundedRect(QRectF(rect()), 10, 10);
    painter.setClipPath(path);
    const QColor fill = record.isOn() ? kOnColour : kOffColour;
    painter.setPen(fill);
    painter.setBrush(fill);
    painter.drawRect(rect());
    painter.end();
    QWidget::paintEvent(event);
}

void LightItem::generateLog()
{
    QString text;
    const int *b = record.brightness;
    switch (record.light_type) {
    case LightAdjust:
        text = QStringLiteral("status is %1")
                   .arg(b[0] > 0 ? QString::asprintf("%d%%", b[0]) : QStringLiteral("off"));
        break;
    case LightRGB:
        text = QString::asprintf("status is red=%d,green=%d,blue=%d", b[0] * 255 / 100, b[1] * 255 / 100,
                                 b[2] * 255 / 100);
        break;
    case LightHSB: {
        unsigned char r = 0;
        unsigned char g = 0;
        unsigned char bl = 0;
        HSL2RGB(float(b[1]), float(b[2]), float(b[0]) * 120.0f / 100.0f, &r, &g, &bl);
        text = QString::asprintf("status is red=%d,green=%d,blue=%d", r, g, bl);
        break;
    }
    case LightDaliDT8:
        text = QString::asprintf("status is level %d%%,temperature is %d(kelvin)", b[0], 6500 - 38 * b[1]);
        break;
    default:
        text = QStringLiteral("status is %1").arg(b[0] >= 1 ? QStringLiteral("on") : QStringLiteral("off"));
        break;
    }
    // The log itself drops an event equal to the newest of this light.
    commitLog(QStringLiteral("light_") + record.remark(), text, record.room_id, 0);
}

// ---------------------------------------------------------------------------
// Channel sets

bool LightItem::hasFirmwareSet(int k) const
{
    if (k < 0 || k >= light::Sets)
        return false;
    if (k < 3)
        return true;
    return record.subnet_id[3] >= 1 && record.device_id[3] >= 1;
}

bool LightItem::hasStateSet(int k) const
{
    if (k < 0 || k >= light::Sets)
        return false;
    return k < 3 || record.hasWhiteSet();
}

int LightItem::nextSetWithoutVersion() const
{
    for (int k = 0; k < light::Sets; ++k) {
        if (hasFirmwareSet(k) && !(queryMask & (1 << k)))
            return k;
    }
    return -1;
}

int LightItem::nextSetWithoutState() const
{
    for (int k = 0; k < light::Sets; ++k) {
        if (hasStateSet(k) && !(confirmedMask & (1 << k)))
            return k;
    }
    return -1;
}

bool LightItem::allStateSetsConfirmed() const
{
    return nextSetWithoutState() < 0;
}

bool LightItem::answersFor(const BusReply &reply, int k) const
{
    return reply.isFrom(record.subnet_id[k], record.device_id[k]);
}

// ---------------------------------------------------------------------------
// Frames sent

void LightItem::queryStep()
{
    const int s = record.subnet_id[0];
    const int d = record.device_id[0];
    switch (record.light_type) {
    case LightOnOff:
    case LightAdjust:
        if (!(queryMask & 1))
            fn_getFirmwareVersion(s, d);
        else
            fn_light_getChannelStatus(s, d, record.channel[0]);
        break;
    case LightRGB: {
        int k = nextSetWithoutVersion();
        if (k >= 0) {
            fn_getFirmwareVersion(record.subnet_id[k], record.device_id[k]);
            break;
        }
        k = nextSetWithoutState();
        if (k >= 0)
            fn_light_getChannelStatus(record.subnet_id[k], record.device_id[k], record.channel[k]);
        break;
    }
    case LightHSB:
        if (!(queryMask & 1))
            fn_getFirmwareVersion(s, d);
        else
            fn_light_getHSBRgbStatus(s, d, record.channel[0]);
        break;
    case LightScene:
        // Nothing to ask: the card shows the stored state.
        finished = true;
        break;
    case LightDaliDT8:
        fn_getFirmwareVersion(s, d);
        break;
    default:
        break;
    }
}

void LightItem::commandStep()
{
    const int s = record.subnet_id[0];
    const int d = record.device_id[0];
    const int *b = record.brightness;
    levelWaiting = false;
    switch (record.light_type) {
    case LightOnOff:
    case LightAdjust:
        noteSent(0, b[0]);
        fn_light_setChannelStatus(s, d, record.channel[0], b[0]);
        break;
    case LightRGB: {
        const int k = nextSetWithoutState();
        if (k >= 0) {
            noteSent(k, b[k]);
            fn_light_setChannelStatus(record.subnet_id[k], record.device_id[k], record.channel[k], b[k]);
        }
        break;
    }
    case LightHSB:
        fn_light_setHSBRgbStatus(s, d, record.channel[0], b[0], b[1], b[2]);
        break;
    case LightScene:
        fn_light_setSceneStatus(s, d, record.channel[0], b[0] >= 1 ? record.us_id : 0);
        break;
    case LightDaliDT8:
        if (confirmedMask & 1) {
            noteSent(1, b[1]);
            fn_light_setChannelStatus(s, d, record.channel[0] + 100, b[1]);
        } else {
            noteSent(0, b[0]);
            fn_light_setChannelStatus(s, d, record.channel[0], b[0]);
        }
        break;
    default:
        break;
    }
}

// ---------------------------------------------------------------------------
// Replies

void LightItem::decodeReply(const BusReply &reply)
{
    // While the user's newer level waits to be sent, whatever the device says
    // answers an earlier frame: taken, it would put the older level back and end
    // the send. The answer to the newer level sets the card and the row.
    if (levelWaiting && sendTimer.isActive())
        return;
    const int type = record.light_type;
    switch (reply.code()) {
    case FirmwareReply:
        if (type == LightOnOff || type == LightAdjust || type == LightRGB || type == LightHSB
            || type == LightDaliDT8)
            decodeFirmware(reply);
        break;
    case LevelsReply:
        if (type == LightOnOff || type == LightAdjust || type == LightRGB)
            decodeLevels(reply);
        break;
    case SetConfirmation:
        if (type == LightOnOff || type == LightAdjust || type == LightRGB || type == LightDaliDT8)
            decodeConfirmation(reply);
        break;
    case SceneConfirmation:
        if (type == LightScene)
            decodeScene(reply);
        break;
    case HsbConfirmation:
    case HsbReply:
        if (type == LightHSB)
            decodeHsb(reply);
        break;
    default:
        break;
    }
}

void LightItem::takeFirmware(int k, const BusReply &reply)
{
    record.original_type[k] = reply.deviceType();
    // The longest leading run of printable characters, at most 63 of them.
    QByteArray payload = reply.payloadBytes();
    QByteArray text(payload.size() + 1, '\0');
    letterFilter(reinterpret_cast<unsigned char *>(text.data()),
                 reinterpret_cast<unsigned char *>(payload.data()), payload.size(), true);
    text = QByteArray(text.constData()).left(VersionLength);
    light::copyText(record.version[k], sizeof record.version[k], QString::fromLatin1(text));
    writeFirmware(k);
}

void LightItem::decodeFirmware(const BusReply &reply)
{
    if (record.light_type == LightRGB) {
        bool matched = false;
        for (int k = 0; k < light::Sets; ++k) {
            if (hasFirmwareSet(k) && answersFor(reply, k)) {
                takeFirmware(k, reply);
                queryMask |= quint8(1 << k);
                matched = true;
            }
        }
        if (!matched)
            return;
        tryCount = 0;
        if (!finished)
            queryStep();
        return;
    }

    if (!answersFor(reply, 0))
        return;
    takeFirmware(0, reply);
    if (record.light_type == LightDaliDT8)
        finished = true;
    else
        queryMask |= 1;
    tryCount = 0;
    if (finished)
        return;
    if (record.light_type == LightHSB)
        fn_light_getHSBRgbStatus(record.subnet_id[0], record.device_id[0], record.channel[0]);
    else
        fn_light_getChannelStatus(record.subnet_id[0], record.device_id[0], record.channel[0]);
}

void LightItem::decodeLevels(const BusReply &reply)
{
    if (!reply.hasPayload(1))
        return;
    const int count = reply.payload(0);
    // Channel c is answered when it lies within the reported count and within
    // the bytes the frame carries.
    auto levelOf = [&](int channel, int &level) {
        if (channel < 1 || channel > count || !reply.hasPayload(channel + 1))
            return false;
        level = reply.payload(channel);
        return true;
    };

    if (record.light_type != LightRGB) {
        int level = 0;
        if (answersFor(reply, 0) && levelOf(record.channel[0], level))
            singleLevelAnswered(level);
        return;
    }

    bool answered = false;
    for (int k = 0; k < light::Sets; ++k) {
        int level = 0;
        if (hasStateSet(k) && answersFor(reply, k) && levelOf(record.channel[k], level)) {
            record.brightness[k] = level;
            confirmedMask |= quint8(1 << k);
            writeLevel(k, level);
            answered = true;
        }
    }
    if (answered)
        rgbSetsAnswered(false);
}

void LightItem::decodeConfirmation(const BusReply &reply)
{
    if (!reply.hasPayload(3) || reply.payload(1) != Success)
        return;
    const quint8 channel = reply.payload(0);
    const int level = reply.payload(2);

    switch (record.light_type) {
    case LightOnOff:
    case LightAdjust:
        if (answersFor(reply, 0) && channel == lowByte(record.channel[0]) && confirms(0, level))
            singleLevelAnswered(level);
        break;
    case LightRGB: {
        bool answered = false;
        for (int k = 0; k < light::Sets; ++k) {
            if (hasStateSet(k) && answersFor(reply, k) && channel == lowByte(record.channel[k]) &&
                confirms(k, level)) {
                record.brightness[k] = level;
                confirmedMask |= quint8(1 << k);
                writeLevel(k, level);
                answered = true;
            }
        }
        if (answered)
            rgbSetsAnswered(true);
        break;
    }
    case LightDaliDT8:
        if (!answersFor(reply, 0))
            return;
        if (channel == lowByte(record.channel[0]) && confirms(0, level))
            record.brightness[0] = level;
        else if (channel == lowByte(record.channel[0] + 100) && confirms(1, level))
            record.brightness[1] = level;
        else
            return;
        finished = true;
        tryCount = 0;
        writeLevel(0, record.packedBrightness());
        updateStatus();
        generateLog();
        break;
    default:
        break;
    }
}

void LightItem::decodeScene(const BusReply &reply)
{
    if (!reply.hasPayload(2) || !answersFor(reply, 0))
        return;
    const quint8 scene = reply.payload(1);
    if (reply.payload(0) != lowByte(record.channel[0]) || (scene != 0 && scene != lowByte(record.us_id)))
        return;
    finished = true;
    tryCount = 0;
    writeLevel(0, record.brightness[0]);
    generateLog();
}

void LightItem::decodeHsb(const BusReply &reply)
{
    if (!reply.hasPayload(8) || !answersFor(reply, 0))
        return;
    if (reply.payload(0) != Success || reply.payload(1) != lowByte(record.channel[0]))
        return;
    record.brightness[0] = reply.payload(5);
    record.brightness[1] = reply.payload(6);
    record.brightness[2] = reply.payload(7);
    finished = true;
    tryCount = 0;
    writeLevel(0, record.packedBrightness());
    updateStatus();
    generateLog();
}

void LightItem::singleLevelAnswered(int level)
{
    record.brightness[0] = level;
    finished = true;
    tryCount = 0;
    writeLevel(0, level);
    updateStatus();
    generateLog();
}

void LightItem::rgbSetsAnswered(bool confirming)
{
    if (allStateSetsConfirmed()) {
        finished = true;
        tryCount = 0;
        generateLog();
    }
    updateStatus();
    if (finished)
        return;
    tryCount = 0;
    const int k = nextSetWithoutState();
    if (k < 0)
        return;
    if (confirming) {
        noteSent(k, record.brightness[k]);
        fn_light_setChannelStatus(record.subnet_id[k], record.device_id[k], record.channel[k],
                                  record.brightness[k]);
    }
    else
        fn_light_getChannelStatus(record.subnet_id[k], record.device_id[k], record.channel[k]);
}

qint64 LightItem::rowOf(int k)
{
    if (rowIds[k] >= 0)
        return rowIds[k];
    static const QString find = QStringLiteral("select id from tbl_light where light_id=? and room_id=?");
    static const QString findRgb = find + QStringLiteral(" and rgb=?");
    QSqlQuery row = record.light_type == LightRGB
                        ? gl_sqlite3db.queryBound(findRgb, {record.light_id, record.room_id, k + 1})
                        : gl_sqlite3db.queryBound(find, {record.light_id, record.room_id});
    if (row.next())
        rowIds[k] = row.value(0).toLongLong();
    row.finish();
    return rowIds[k];
}

bool LightItem::writeById(int k, const QString &byId, QVariantList values)
{
    const qint64 id = rowOf(k);
    if (id < 0)
        return false;
    values << id << record.light_id << record.room_id;
    if (record.light_type == LightRGB)
        values << k + 1;
    int changed = 0;
    gl_sqlite3db.execBound(byId, values, &changed);
    if (changed > 0)
        return true;
    rowIds[k] = -1; // the row was replaced: found again next time
    return false;
}

void LightItem::writeFirmware(int k)
{
    // The version text is bound, so a device's quotes or "%" reach the row as sent.
    const QString version = QString::fromLatin1(record.version[k]);
    static const QString byId = QStringLiteral("update tbl_light set original_type=?,version=? "
                                               "where id=? and light_id=? and room_id=?");
    static const QString byIdRgb = byId + QStringLiteral(" and rgb=?");
    if (writeById(k, record.light_type == LightRGB ? byIdRgb : byId, {record.original_type[k], version}))
        return;
    if (record.light_type == LightRGB)
        gl_sqlite3db.execBound(QStringLiteral("update tbl_light set original_type=?,version=? "
                                              "where light_id=? and room_id=? and rgb=?"),
                               {record.original_type[k], version, record.light_id, record.room_id, k + 1});
    else
        gl_sqlite3db.execBound(QStringLiteral("update tbl_light set original_type=?,version=? "
                                              "where light_id=? and room_id=?"),
                               {record.original_type[k], version, record.light_id, record.room_id});
}

void LightItem::writeLevel(int k, int value)
{
    static const QString byId =
        QStringLiteral("update tbl_light set brightness=? where id=? and light_id=? and room_id=?");
    static const QString byIdRgb = byId + QStringLiteral(" and rgb=?");
    if (writeById(k, record.light_type == LightRGB ? byIdRgb : byId, {value}))
        return;
    if (record.light_type == LightRGB)
        gl_sqlite3db.execBound(QStringLiteral("update tbl_light set brightness=? where light_id=? and "
                                              "room_id=? and rgb=?"),
                               {value, record.light_id, record.room_id, k + 1});
    else
        gl_sqlite3db.execBound(QStringLiteral("update tbl_light set brightness=? where light_id=? and "
                                              "room_id=?"),
                               {value, record.light_id, record.room_id});
}

// ---------------------------------------------------------------------------
// Operation by the user

void LightItem::slotsLightStatus(int brightness)
{
    if (!isVisible())
        return;
    int *b = record.brightness;
    int *saved = record.saved_level;
    switch (record.light_type) {
    case LightAdjust:
    case LightHSB:
    case LightDaliDT8:
        if (brightness < 1) {
            // The level in force is kept, 0 too: a second all-off makes the next
            // all-on a full one.
            saved[0] = b[0];
            b[0] = 0;
        } else {
            b[0] = saved[0] >= 1 ? saved[0] : 100;
        }
        break;
    case LightRGB:
        if (brightness > 0) {
            bool anySaved = false;
            for (int k = 0; k < light::Sets; ++k)
                anySaved = anySaved || saved[k] >= 1;
            for (int k = 0; k < light::Sets; ++k)
                b[k] = anySaved ? saved[k] : 100;
        } else {
            for (int k = 0; k < light::Sets; ++k) {
                saved[k] = b[k];
                b[k] = 0;
            }
        }
        break;
    default:
        b[0] = brightness;
        break;
    }
    updateStatus();
    sendNow();
}

void LightItem::valueChanged(int value)
{
    if (!ready)
        return;
    const bool temperature = sender() == sliderTemperature && sliderTemperature;
    if (temperature)
        record.brightness[1] = value;
    else if (sender() == sliderLevel && sliderLevel)
        record.brightness[0] = value;
    else
        return;
    updateStatus();
    disconnected(false);
    sendAfterPause();
    levelWaiting = true;
    if (temperature)
        confirmedMask |= 1; // the pending change is the colour temperature
}

void LightItem::pushButtonSceneReduce_clicked()
{
    fn_light_setScene(record.subnet_id[0], record.device_id[0], record.channel[0], false);
}

void LightItem::pushButtonSceneAdd_clicked()
{
    fn_light_setScene(record.subnet_id[0], record.device_id[0], record.channel[0], true);
}

bool LightItem::openColourDialog()
{
    QPointer<LightItem> self(this);
    ColorSelectDlg dialog(record, nullptr);
    const int result = dialog.exec();
    // The page may have rebuilt its cards while the dialog ran.
    if (!self)
        return false;
    if (result != QDialog::Accepted)
        return true;
    for (int k = 0; k < light::Sets; ++k)
        record.brightness[k] = dialog.lightRecord.brightness[k];
    updateStatus();
    sendNow();
    return true;
}

bool LightItem::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == this && event->type() == QEvent::MouseButtonPress) {
        const QPoint pos = static_cast<QMouseEvent *>(event)->pos();
        const int type = record.light_type;
        if ((type == LightRGB || type == LightHSB) && swatch && swatch->geometry().contains(pos)) {
            if (!openColourDialog()) {
                event->accept();
                return true;
            }
        } else if (type == LightRGB) {
            slotsLightStatus(record.isOn() ? 0 : 100);
        } else {
            slotsLightStatus(record.brightness[0] > 0 ? 0 : 100);
        }
    }
    return QWidget::eventFilter(watched, event);
}
