#include "placementcanvas.h"

#include "bus/broadcastsocket.h"
#include "store/cppsqlite3db.h"
#include "store/globals.h"
#include "store/queryhelpers.h"
#include "view3d/view3dpainting.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <qtmaterialstyle.h>

#include <algorithm>

PlacementCanvas::PlacementCanvas(QWidget *parent)
    : MyDialog(parent)
{
    // A pane of the editor page, not a window of its own.
    setWindowFlags(Qt::Widget);
}

PlacementCanvas::~PlacementCanvas() = default;

bool PlacementCanvas::updatelist(int room_id)
{
    list.clear();
    getTextFromDb(QString::asprintf("select icon_name from tbl_3d_view_manager where room_id=%d", room_id),
                  QStringLiteral("icon_name"), picture);
    getTextFromDb(QString::asprintf("select room_name from tbl_room where room_id=%d", room_id),
                  QStringLiteral("room_name"), room);
    // The missing positions are stored with the list, or none: the editor lists its
    // canvases in one transaction.
    const bool read = loadRecords(room_id);
    if (!read) {
        list.clear();
        emit gl_socket.signalsInformation(tr("Failed to read the devices!"));
    }
    update();
    return read;
}

void PlacementCanvas::setIconName(const QString &name)
{
    picture = name;
    update();
}

QPoint PlacementCanvas::placeIcon(const QPoint &pointer, const QSize &canvas)
{
    const int half = view3d::IconSize / 2;
    const int right = canvas.width() - 1;
    const int bottom = canvas.height() - 1;
    const int cx = std::max(pointer.x(), half);
    const int cy = std::max(pointer.y(), half);
    const int x = cx + half > right ? right - view3d::IconSize : cx - half;
    const int y = cy + half > bottom ? bottom - view3d::IconSize : cy - half;
    // A canvas narrower or lower than the box keeps it at the left or top edge.
    return QPoint(std::max(0, x), std::max(0, y));
}

positionRecord *PlacementCanvas::pressedRecord()
{
    for (positionRecord &rec : list) {
        if (rec.pressed)
            return &rec;
    }
    return nullptr;
}

void PlacementCanvas::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton) {
        const QPoint at = event->localPos().toPoint();
        for (positionRecord &rec : list) {
            if (view3d::iconBoxContains(QPoint(rec.xp1, rec.yp1), at)) {
                rec.pressed = true;
                pressedFrom = QPoint(rec.xp1, rec.yp1);
                break;
            }
        }
    }
    MyDialog::mousePressEvent(event);
}

void PlacementCanvas::mouseMoveEvent(QMouseEvent *event)
{
    if (positionRecord *rec = pressedRecord()) {
        const QPoint pos = placeIcon(event->localPos().toPoint(), size());
        rec->xp1 = pos.x();
        rec->yp1 = pos.y();
        update();
    }
    MyDialog::mouseMoveEvent(event);
}

void PlacementCanvas::mouseReleaseEvent(QMouseEvent *event)
{
    if (positionRecord *rec = pressedRecord()) {
        const QPoint pos = placeIcon(event->localPos().toPoint(), size());
        rec->xp1 = pos.x();
        rec->yp1 = pos.y();
        rec->pressed = false;
        update();
        if (!storePosition(*rec)) {
            // The canvas shows what is stored.
            rec->xp1 = pressedFrom.x();
            rec->yp1 = pressedFrom.y();
            emit gl_socket.signalsInformation(tr("Failed to save the position!"));
        }
    }
    MyDialog::mouseReleaseEvent(event);
}

void PlacementCanvas::paintEvent(QPaintEvent *event)
{
    Q_UNUSED(event)
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    view3d::drawRoomPicture(painter, size(), picture);

    const QFont &font = QtMaterialStyle::instance().themeFont(Material::Body1);
    painter.setFont(font);
    painter.setPen(Qt::white);
    const int textWidth = std::max(0, width() - 20);
    painter.drawText(QRect(20, 20, textWidth, std::max(0, height() - 20)), Qt::AlignLeft | Qt::AlignTop,
                     QFontMetrics(font).elidedText(room, Qt::ElideRight, textWidth));

    for (const positionRecord &rec : qAsConst(list)) {
        const QRect box = view3d::iconBox(QPoint(rec.xp1, rec.yp1));
        view3d::drawIconCircle(painter, box, view3d::iconOnColor());
        view3d::drawPicture(painter, QRect(box.x() + 22, box.y() + 10, 36, 36), devicePicture(rec));
        view3d::drawIconText(painter, QRect(box.x(), box.y() + 49, view3d::IconSize, 20),
                             QString::fromUtf8(rec.remark), Qt::white);
    }
}
