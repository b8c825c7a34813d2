#include "roomitem.h"

#include "shell/pictures.h"

#include "operation/acitem.h"
#include "operation/borderlessboxstyle.h"
#include "operation/climateloader.h"
#include "operation/floorheatitem.h"
#include "operation/lightitem.h"
#include "operation/lightloader.h"
#include "operation/occupationmaster.h"
#include "operation/occupationmasteritem.h"
#include "shell/manageritem.h"
#include "shell/tilegrid.h"
#include "store/cppsqlite3db.h"
#include "store/globals.h"
#include "store/roomnames.h"

#include <QGridLayout>
#include <QPainter>
#include <QPainterPath>
#include <QSqlQuery>
#include <QVariant>
#include <qtmaterialcanvas.h>
#include <qtmaterialgroupbox.h>
#include <qtmateriallabel.h>

namespace {

RoomItem::MoodTileMaker &moodTileMaker()
{
    static RoomItem::MoodTileMaker maker;
    return maker;
}

} // namespace

void RoomItem::setMoodTileMaker(MoodTileMaker maker)
{
    moodTileMaker() = std::move(maker);
}

RoomItem::RoomItem(int roomId, int kind, QWidget *parent)
    : QWidget(parent)
    , roomId(roomId)
    , kind(kind)
{
    refreshTimer.setSingleShot(true);

    // The room's row read once for its four columns; a missing room reads as 0
    // and empty texts.
    int floorId = 0;
    int regionId = 0;
    QString roomName;
    QSqlQuery room =
        gl_sqlite3db.execQuery(QString::asprintf("select * from tbl_room where room_id=%d", roomId));
    if (room.next()) {
        floorId = room.value(QStringLiteral("floor_id")).toInt();
        regionId = room.value(QStringLiteral("region_id")).toInt();
        roomName = room.value(QStringLiteral("room_name")).toString();
        iconName = room.value(QStringLiteral("icon_name")).toString();
    }
    room.finish();

    titleLabel = new QtMaterialLabel(roomTitle(regionId, floorId, roomName), this);

    occupationMasterItem = new OccupationMasterItem(24, 24, this);
    occupationMasterItem->setOccupationMaster(loadOccupationMaster(roomId, &loaded));

    canvas = new QtMaterialCanvas(Qt::Horizontal, this);
    // The room's picture stays visible behind the cards.
    canvas->setBackgroundColor(Qt::transparent);
    canvas->viewport()->setAutoFillBackground(false);
    groupBox = BorderlessBoxStyle::makeBox(canvas);

    auto *layout = new QGridLayout(this);
    layout->setSizeConstraint(QLayout::SetNoConstraint);
    layout->addWidget(titleLabel, 0, 0);
    layout->addWidget(occupationMasterItem, 0, 1, Qt::AlignRight);
    layout->addWidget(canvas, 1, 0, 1, 2);
    layout->setRowStretch(1, 1);
    setFixedHeight(BlockHeight);

    connect(&refreshTimer, &QTimer::timeout, this, &RoomItem::startRefresh);

    loadDevice();
}

RoomItem::~RoomItem()
{
    refreshTimer.stop();
}

QString RoomItem::titleText() const
{
    return titleLabel->text();
}

QList<DeviceItem *> RoomItem::makeCards(bool &read)
{
    // Made in their box: a card built in place takes its style once, instead of
    // again for every child when it moves in.
    QList<DeviceItem *> made;
    switch (kind) {
    case KindLights:
        for (const light &rec : loadRoomLights(roomId, &read))
            made.append(new LightItem(rec, false, groupBox));
        break;
    case KindAirConditioners:
        for (const airConditioner &rec : loadRoomAirConditioners(roomId, &read))
            made.append(new ACItem(rec, false, groupBox));
        break;
    case KindFloorHeating:
        for (const airConditioner &rec : loadRoomFloorHeating(roomId, &read))
            made.append(new FloorHeatItem(rec, false, groupBox));
        break;
    case KindMoods:
        // Mood tiles are no device cards: they are laid out but never refreshed.
        if (moodTileMaker())
            moodTileList = moodTileMaker()(roomId, groupBox);
        break;
    default:
        break;
    }
    return made;
}

void RoomItem::loadDevice()
{
    const int columns = tileGridColumns(screen_cx, 0, CardWidth);
    grid = new QGridLayout;
    grid->setSizeConstraint(QLayout::SetNoConstraint);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(tileGridSpacing(screen_cx, 0, CardWidth, columns));
    grid->setVerticalSpacing(CardSpacing);

    if (loaded)
        cardList = makeCards(loaded);
    if (!loaded) {
        ::occupationMaster none;
        none.room_id = roomId;
        occupationMasterItem->setOccupationMaster(none);
    }
    QList<QWidget *> tiles;
    for (DeviceItem *card : qAsConst(cardList))
        tiles.append(card);
    tiles += moodTileList;
    for (int i = 0; i < tiles.size(); ++i)
        grid->addWidget(tiles.at(i), tileGridRow(i, columns), tileGridColumn(i, columns));
    setTileGridStretch(grid, tiles.size(), columns);
    groupBox->setLayout(grid);

    const int rows = tileGridRows(tiles.size(), columns);
    if (rows > 1)
        setFixedHeight(BlockHeight + (rows - 1) * (CardHeight + CardSpacing));
}

void RoomItem::getStatus(int delay)
{
    refreshTimer.stop();
    if (delay < 1)
        startRefresh();
    else
        refreshTimer.start(DeviceItem::scaledInterval(delay));
}

void RoomItem::startRefresh()
{
    if (refreshTimer.isActive())
        refreshTimer.stop();
    occupationMasterItem->getStatus();
    for (int i = 0; i < cardList.size(); ++i)
        cardList.at(i)->getStatus(i * StaggerMs);
}

bool RoomItem::status() const
{
    for (const DeviceItem *card : cardList) {
        if (!card->status())
            return false;
    }
    return occupationMasterItem->status();
}

QString RoomItem::picturePath() const
{
    return ManagerItem::picturePath(ManagerItemRoom, iconName);
}

void RoomItem::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath clip;
    clip.addRoundedRect(QRectF(0, 0, width(), height()), 10, 10, Qt::AbsoluteSize);
    painter.setClipPath(clip, Qt::ReplaceClip);
    if (!pictureLoaded) {
        pictureLoaded = true;
        pictureFile = picturePath();
    }
    Pictures::draw(painter, rect(), pictureFile, this);
    painter.end();
    QWidget::paintEvent(event);
}
