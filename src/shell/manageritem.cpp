#include "manageritem.h"

#include "pictures.h"

#include "bus/broadcastsocket.h"
#include "store/cppsqlite3db.h"
#include "store/filehelpers.h"
#include "store/globals.h"
#include "store/queryhelpers.h"

#include <QDate>
#include <QFileInfo>
#include <QGridLayout>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QSqlQuery>
#include <QVariant>
#include <qtmaterialiconbutton.h>
#include <qtmaterialstyle.h>
#include <qtmaterialtheme.h>

namespace {

const QColor kAlarmText(0xE3, 0x51, 0x51);
const QColor kServiceText(0xAB, 0xD2, 0x65);
const QColor kTileColor(0x1F, 0x29, 0x33);
constexpr int kCentreSquare = 96;

QString withSuffix(const QString &name, const QString &suffix)
{
    return name.contains(suffix) ? name : name + suffix;
}

// A picture the user added lives in the current project's folder. It is drawn only
// when that folder and the file both exist; a name that is not one plain file name
// (a separator, "." or "..", control characters) cannot be in the folder.
QString userPicturePath(const QString &iconName)
{
    const QString path = projectPicturePath(iconName);
    return !path.isEmpty() && QFileInfo(path).isFile() ? path : QString();
}

// Rooms, moods and 3-D views draw either a built-in picture or, for a "photo"
// name, one the user added.
QString builtInOrUserPicture(const QString &iconName, const QString &folder, const QString &suffix)
{
    if (iconName.contains(QLatin1String("photo")))
        return userPicturePath(iconName);
    return folder + withSuffix(iconName, suffix);
}

bool isWholeTileKind(int type)
{
    return type == ManagerItemRoomTemplate || type == ManagerItemRoom || type == ManagerItem3DView ||
           type == ManagerItemMood;
}

} // namespace

ManagerItem::ManagerItem(int itemType, int itemId, const QString &itemName, const QString &itemIconName,
                         bool editMode, const QColor &color, int width, int height, QWidget *parent)
    : DynamicWidget(color, parent)
    , type(itemType)
    , id(itemId)
    , name(itemName)
    , iconName(itemIconName)
    , edit(editMode)
{
    setFixedSize(width, height);

    if (edit) {
        auto *remove = new QtMaterialIconButton(
            QtMaterialTheme::icon(QStringLiteral("navigation"), QStringLiteral("close")), this);
        remove->setObjectName(QStringLiteral("pushButtonDelete"));
        remove->setColor(Qt::red);
        auto *grid = new QGridLayout(this);
        grid->setSizeConstraint(QLayout::SetNoConstraint);
        grid->addWidget(remove, 0, 0, Qt::AlignRight | Qt::AlignTop);
        grid->setRowStretch(1, 1);
        connect(remove, &QAbstractButton::clicked, this, &ManagerItem::pushButtonDelete_clicked);
    } else if (carriesMessages()) {
        loadMessages();
        connect(&pollTimer, &QTimer::timeout, this, &ManagerItem::onPoll);
        pollTimer.start(RotationMs);
    }

    connect(this, &DynamicWidget::signalsPressed, this, &ManagerItem::slotsPressed);
    connect(&gl_socket, &BroadcastSocket::signalsUpdateMessage, this, &ManagerItem::slotsUpdateMessage);
    connect(&gl_socket, &BroadcastSocket::signalsAppendMessage, this, &ManagerItem::slotsAppendMessage);
    connect(&gl_socket, &BroadcastSocket::signalsRemoveMessage, this, &ManagerItem::slotsRemoveMessage);
}

ManagerItem::~ManagerItem() = default;

bool ManagerItem::carriesMessages() const
{
    return type == ManagerItemRoom && !edit && id >= 1;
}

void ManagerItem::setIconName(const QString &newIconName)
{
    iconName = newIconName;
    previewPath.clear();
    update();
}

void ManagerItem::setPreview(const QString &path)
{
    previewPath = path;
    update();
}

QString ManagerItem::picturePath(int type, const QString &iconName)
{
    switch (type) {
    case ManagerItemAdd:
        return QStringLiteral(":/myImages/png/add_new_room.png");
    case ManagerItemRoomTemplate:
    case ManagerItemRoom:
        return builtInOrUserPicture(iconName, QStringLiteral(":/myImages/jpg/room/"),
                                    QStringLiteral(".jpg"));
    case ManagerItem3DView:
        return builtInOrUserPicture(iconName, QStringLiteral(":/myImages/png/3d_view/"),
                                    QStringLiteral(".png"));
    case ManagerItemMessage:
        return QStringLiteral(":/myImages/png/message/") + withSuffix(iconName, QStringLiteral(".png"));
    case ManagerItemLight:
        return QStringLiteral(":/myImages/png/light/") + withSuffix(iconName, QStringLiteral(".png"));
    case ManagerItemAirConditioner:
        return QStringLiteral(":/myImages/png/edit_room/icon-room-ac.png");
    case ManagerItemFloorHeat:
        return QStringLiteral(":/myImages/png/edit_room/icon-room-floorheat.png");
    case ManagerItemMood:
        return builtInOrUserPicture(iconName, QStringLiteral(":/myImages/jpg/moods/"),
                                    QStringLiteral(".jpg"));
    case ManagerItemPanel:
        return QStringLiteral(":/myImages/png/edit_room/icon-room-panel.png");
    default:
        return QString();
    }
}

void ManagerItem::loadMessages()
{
    messages.clear();
    const QString today = QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd"));
    const QString sql =
        QStringLiteral("select * from tbl_message_log where message_status=%1 and room_id=%2 "
                       "and recv_time like '%3%'")
            .arg(QString::number(0), QString::number(id), sqlText(today));
    QSqlQuery query = gl_sqlite3db.execQuery(sql);
    while (query.next())
        messages.append(messageRecord::fromRow(query));
    query.finish();
}

bool ManagerItem::readMessage(int logId, messageRecord &record, bool &read)
{
    QSqlQuery query =
        gl_sqlite3db.execQuery(QStringLiteral("select * from tbl_message_log where id=%1").arg(logId));
    const bool found = query.next();
    read = rowsReadToEnd(query);
    if (found)
        record = messageRecord::fromRow(query);
    query.finish();
    return found;
}

template <typename Match> bool ManagerItem::removeMessages(Match match)
{
    bool removed = false;
    for (int i = messages.size() - 1; i >= 0; --i) {
        if (match(messages.at(i))) {
            messages.removeAt(i);
            removed = true;
        }
    }
    return removed;
}

void ManagerItem::settleIndex()
{
    if (index >= messages.size())
        index = 0;
}

void ManagerItem::onPoll()
{
    if (messages.isEmpty())
        index = -1;
    else
        index = (index + 1 >= messages.size()) ? 0 : index + 1;
    update();
}

void ManagerItem::slotsPressed()
{
    emit signalsEdit(type, id);
    emit signalsIconEdit(iconName);
}

void ManagerItem::slotsUpdateMessage(messageRecord _messageRecord)
{
    if (!carriesMessages() || _messageRecord.room_id != id)
        return;
    const int logId = _messageRecord.id;
    if (_messageRecord.message_status == 0) {
        for (messageRecord &held : messages) {
            if (held.id == logId)
                held = _messageRecord;
        }
    } else {
        removeMessages([logId](const messageRecord &held) { return held.id == logId; });
    }
    settleIndex();
    update();
}

void ManagerItem::slotsAppendMessage(universalSwitchMessage msg)
{
    if (!carriesMessages() || msg.room_id != id)
        return;
    const int logId = msg.id;
    if (msg.message_status == 0) {
        // A message announced again replaces the copy already listed, so that the
        // strip never shows one message twice.
        messageRecord record;
        bool read = false;
        const bool found = readMessage(logId, record, read);
        if (!read) {
            // The strip shows and drops a message by what the announcement
            // carries, so a row that failed to read is still marked.
            record.id = logId;
            record.message_id = msg.message_id;
            record.message_type = msg.message_type;
            record.message_status = msg.message_status;
            record.panel_id = msg.panel_id;
            record.room_id = msg.room_id;
        }
        if (found || !read) {
            int position = -1;
            for (int i = 0; i < messages.size(); ++i) {
                if (messages.at(i).id == logId) {
                    position = i;
                    break;
                }
            }
            if (position < 0) {
                messages.append(record);
                position = messages.size() - 1;
            } else {
                messages[position] = record;
                for (int i = messages.size() - 1; i > position; --i) {
                    if (messages.at(i).id == logId)
                        messages.removeAt(i);
                }
            }
            index = position;
        } else {
            index = messages.size() - 1;
        }
    } else {
        removeMessages([logId](const messageRecord &held) { return held.id == logId; });
        settleIndex();
    }
    update();
}

void ManagerItem::slotsRemoveMessage(int value, int removeType)
{
    if (!carriesMessages())
        return;
    switch (removeType) {
    case 1:
        removeMessages([value](const messageRecord &held) { return held.room_id == value; });
        break;
    case 2:
        removeMessages([value](const messageRecord &held) { return held.panel_id == value; });
        break;
    case 3:
        removeMessages([value](const messageRecord &held) { return held.message_id == value; });
        break;
    default:
        removeMessages([value](const messageRecord &held) { return held.id == value; });
        break;
    }
    settleIndex();
    update();
}

void ManagerItem::pushButtonDelete_clicked()
{
    emit signalsDelete(type, id);
}

void ManagerItem::paintEvent(QPaintEvent *event)
{
    DynamicWidget::paintEvent(event);

    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    paintPicture(painter);
    paintMessageStrip(painter);
    paintTitle(painter);
}

void ManagerItem::paintPicture(QPainter &painter)
{
    const int w = width();
    const int h = height();
    const QRect centre((w - kCentreSquare) / 2, (h - kCentreSquare) / 2, kCentreSquare, kCentreSquare);

    if (type == ManagerItemAdd) {
        painter.save();
        painter.setPen(kTileColor);
        painter.setBrush(kTileColor);
        painter.drawEllipse(centre);
        painter.restore();
        Pictures::draw(painter, centre.adjusted(15, 15, -15, -15), picturePath(type, iconName), this);
        return;
    }

    const QString path = previewPath.isEmpty() ? picturePath(type, iconName) : previewPath;
    if (path.isEmpty())
        return;

    if (isWholeTileKind(type)) {
        painter.save();
        if (type != ManagerItem3DView) {
            QPainterPath clip;
            clip.addRoundedRect(QRectF(0, 0, w, h), 10, 10, Qt::AbsoluteSize);
            painter.setClipPath(clip);
        }
        Pictures::draw(painter, QRect(0, 0, w, h), path, this);
        painter.restore();
    } else {
        Pictures::draw(painter, centre, path, this);
    }
}

void ManagerItem::paintMessageStrip(QPainter &painter)
{
    if (!carriesMessages() || index < 0 || index >= messages.size())
        return;
    const messageRecord &shown = messages.at(index);
    // One read per paint: the strip repaints on every rotation step.
    QSqlQuery definition = gl_sqlite3db.execQuery(
        QStringLiteral("select * from tbl_message where message_id=%1").arg(shown.message_id));
    if (!definition.next())
        return;
    const QString remark = definition.value(QStringLiteral("message_remark")).toString();
    const QString icon = definition.value(QStringLiteral("icon_name")).toString();
    definition.finish();

    const int w = width();
    const int h = height();
    Pictures::draw(painter, QRect(10, h - 31, 30, 30),
                   QStringLiteral(":/myImages/png/message/") + withSuffix(icon, QStringLiteral(".png")), this);

    painter.save();
    painter.setBrush(Qt::NoBrush);
    painter.setFont(QtMaterialStyle::instance().themeFont(Material::Body1));
    painter.setPen(shown.message_type == 1 ? kAlarmText : kServiceText);
    // Elided to the tile's width; what runs past the right edge is clipped.
    const QString text = painter.fontMetrics().elidedText(remark, Qt::ElideRight, w);
    painter.drawText(QRect(50, h - 31, w, 30), Qt::AlignLeft | Qt::AlignBottom, text);
    painter.restore();
}

void ManagerItem::paintTitle(QPainter &painter)
{
    const int w = width();
    const int h = height();
    painter.setBrush(Qt::NoBrush);
    painter.setFont(QtMaterialStyle::instance().themeFont(Material::Body1));
    painter.setPen(Qt::white);
    if (isWholeTileKind(type)) {
        const QString text = painter.fontMetrics().elidedText(name, Qt::ElideRight, w - 10);
        painter.drawText(QRect(10, 10, w - 10, h - 10), Qt::AlignLeft | Qt::AlignTop, text);
    } else {
        const QString text = painter.fontMetrics().elidedText(name, Qt::ElideRight, w);
        painter.drawText(QRect(0, h - 31, w, 30), Qt::AlignHCenter | Qt::AlignVCenter | Qt::AlignBottom,
                         text);
    }
}

ManagerItem *ManagerItem::addTile(int width, int height)
{
    return new ManagerItem(ManagerItemAdd, 0, QString(), QString(), false, QColor(0x3D, 0x53, 0x66), width,
                           height, nullptr);
}
