#include "climateitem.h"

#include "store/devicelog.h"

#include "operation/busreply.h"
#include "operation/climateloader.h"
#include "shell/sliderctrl.h"
#include "store/conversions.h"
#include "store/globals.h"
#include "store/projectlist.h"
#include "store/queryhelpers.h"

#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QVBoxLayout>
#include <qtmateriallabel.h>
#include <qtmaterialslider.h>

#include <cstdio>

namespace {

const QColor kCardColour(0x3D, 0x53, 0x66);
constexpr int VersionBytes = 127;

// Every text field ends with a NUL, whatever the record was handed with.
void terminateTexts(airConditioner &rec)
{
    rec.remark[sizeof rec.remark - 1] = '\0';
    rec.function[sizeof rec.function - 1] = '\0';
    rec.high_limit[sizeof rec.high_limit - 1] = '\0';
    rec.low_limit[sizeof rec.low_limit - 1] = '\0';
    rec.version[sizeof rec.version - 1] = '\0';
}

} // namespace

ClimateItem::ClimateItem(const airConditioner &rec, bool in3DView, QWidget *parent)
    : DeviceItem(in3DView, parent)
    , record(rec)
{
    terminateTexts(record);
    // Nothing the slider reports before the first display is the user's.
    ready = false;
    setFixedSize(CardWidth, CardHeight);
    buildControls();
}

ClimateItem::~ClimateItem() = default;

void ClimateItem::buildControls()
{
    nameLabel = new QtMaterialLabel(this);
    nameLabel->setText(nameLabel->fontMetrics().elidedText(climateText(record.remark), Qt::ElideRight, 200));

    roomPicture = new QLabel(this);
    roomPicture->setFixedSize(24, 24);
    roomPicture->setScaledContents(true);
    roomPicture->setPixmap(QPixmap(tr(":/myImages/png/airConditioner/icon-ac-temp.png")));
    roomLabel = new QtMaterialLabel(tr("Room 0%1").arg(unitText(0)), this);

    powerLabel = new QLabel(this);
    powerLabel->setFixedSize(36, 36);
    powerLabel->setScaledContents(true);
    powerLabel->installEventFilter(this);

    setPointLabel = new QtMaterialLabel(QStringLiteral("0") + unitText(0), this);
    setPointLabel->setFontType(Material::Headline3);
    setPointLabel->setAlignment(Qt::AlignCenter);

    slider = new SliderCtrl(this);
    slider->setOrientation(Qt::Horizontal);

    grid = new QGridLayout(this);
    grid->setContentsMargins(20, 20, 20, 20);
    grid->setSpacing(20);

    auto *room = new QHBoxLayout;
    room->setContentsMargins(0, 0, 0, 0);
    room->setSpacing(20);
    room->addWidget(roomPicture);
    room->addWidget(roomLabel);
    grid->addWidget(nameLabel, 0, 0, Qt::AlignLeft | Qt::AlignVCenter);
    grid->addLayout(room, 0, 1, Qt::AlignCenter);
    grid->addWidget(powerLabel, 0, 2, Qt::AlignRight | Qt::AlignVCenter);

    auto *setPoint = new QVBoxLayout;
    setPoint->setContentsMargins(0, 0, 0, 0);
    setPoint->setSpacing(20);
    setPoint->addStretch(1);
    setPoint->addWidget(setPointLabel, 0, Qt::AlignHCenter);
    setPoint->addWidget(slider);
    setPoint->addStretch(1);
    grid->addLayout(setPoint, 1, 0, 1, 3);
    grid->setRowStretch(1, 1);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(2, 1);
}

QString ClimateItem::unitText(int unit)
{
    return unit < 1 ? QStringLiteral("\u00B0C") : QStringLiteral("\u00B0F");
}

int ClimateItem::limitValue(const char *text, int index)
{
    int parts[3] = {0, 0, 0};
    if (text)
        std::sscanf(text, "%d-%d-%d", &parts[0], &parts[1], &parts[2]);
    return index >= 0 && index < 3 ? parts[index] : 0;
}

QString ClimateItem::nameText() const
{
    return nameLabel->text();
}

QString ClimateItem::setPointText() const
{
    return setPointLabel->text();
}

QString ClimateItem::roomTemperatureText() const
{
    return roomLabel->text();
}

bool ClimateItem::isRoomTemperatureShown() const
{
    return !roomLabel->isHidden() && !roomPicture->isHidden();
}

QString ClimateItem::deviceName() const
{
    return climateText(record.remark);
}

void ClimateItem::showCommon()
{
    const QString unit = unitText(record.temperature_unit);
    roomLabel->setText(tr("Room %1%2").arg(record.room_temperature).arg(unit));
    const bool showRoom = record.room_temperature_type < 1;
    roomPicture->setVisible(showRoom);
    roomLabel->setVisible(showRoom);

    const QString power = record.status >= 1 ? tr(":/myImages/png/airConditioner/icon-ac-power-on.png")
                                             : tr(":/myImages/png/airConditioner/icon-ac-power-off.png");
    if (power != shownPower) {
        shownPower = power;
        powerLabel->setPixmap(QPixmap(power));
    }
    if (record.status < 1)
        setPointLabel->setText(tr("OFF"));
}

void ClimateItem::showSetPoint(int low, int high, int value)
{
    slider->setRange(low, high);
    slider->setValue(value);
    setPointLabel->setText(QStringLiteral("%1%2").arg(value).arg(unitText(record.temperature_unit)));
}

bool ClimateItem::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == powerLabel && event->type() == QEvent::MouseButtonPress)
        powerPressed();
    return QWidget::eventFilter(watched, event);
}

void ClimateItem::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath path;
    path.addRoundedRect(QRectF(rect()), 10, 10);
    painter.setClipPath(path);
    painter.setPen(kCardColour);
    painter.setBrush(kCardColour);
    painter.drawPath(path);
    painter.end();
    QWidget::paintEvent(event);
}

bool ClimateItem::hasFrameSize(const BusReply &reply, int size)
{
    return reply.frameSize() == size && reply.size() >= size;
}

void ClimateItem::takeFirmware(const BusReply &reply)
{
    record.original_type = reply.deviceType();
    // The leading run of printable characters of the payload.
    QByteArray payload = reply.payloadBytes();
    QByteArray text(payload.size() + 1, '\0');
    letterFilter(reinterpret_cast<unsigned char *>(text.data()),
                 reinterpret_cast<unsigned char *>(payload.data()), payload.size(), true);
    text = QByteArray(text.constData()).left(VersionBytes);
    setClimateText(record.version, QString::fromLatin1(text));
    writeRow(QStringLiteral("original_type=%1,version='%2'")
                 .arg(record.original_type)
                 .arg(sqlText(climateText(record.version))));
}

void ClimateItem::writeRow(const QString &assignments)
{
    storeDeviceState(
        QStringLiteral("update tbl_air_conditioner set %1 where air_conditioner_no=%2 and "
                       "room_id=%3")
            // One pass: the assignments can carry a device's text with
            // "%N" sequences that a later pass would rewrite.
            .arg(assignments, QString::number(record.air_conditioner_no), QString::number(record.room_id)));
}

void ClimateItem::writeColumn(const char *column, int value)
{
    writeRow(QStringLiteral("%1=%2").arg(QLatin1String(column)).arg(value));
}

void ClimateItem::indoorRange(int &low, int &high)
{
    QString project;
    getCurrentProject(project);
    QString lowText;
    QString highText;
    getProjectNode(project, QStringLiteral("indoor_temperature_low"), lowText);
    getProjectNode(project, QStringLiteral("indoor_temperature_high"), highText);
    low = lowText.trimmed().toInt();
    high = highText.trimmed().toInt();
}

int ClimateItem::appendLimitAlert(QString &text, int setPoint) const
{
    int low = 0;
    int high = 0;
    indoorRange(low, high);
    const QString unit = unitText(record.temperature_unit);
    if (setPoint < low) {
        text += QStringLiteral(",the lower effective temperature limit(%1%2) has been exceeded")
                    .arg(QString::number(low), unit);
        return 1;
    }
    if (setPoint > high) {
        text += QStringLiteral(",the upper effective temperature limit(%1%2) has been exceeded")
                    .arg(QString::number(high), unit);
        return 1;
    }
    return 0;
}

bool ClimateItem::logOffState(const QString &device) const
{
    if (record.status >= 1)
        return false;
    commitLog(device,
              QStringLiteral("room temperature is %1%2,status is off")
                  .arg(QString::number(record.room_temperature), unitText(record.temperature_unit)),
              record.room_id, 0);
    return true;
}
