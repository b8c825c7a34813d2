#include "overlay3dviewitem.h"

#include "bus/broadcastsocket.h"
#include "operation/deviceitem.h"
#include "shell/darkpalette.h"
#include "store/cppsqlite3db.h"
#include "store/globals.h"
#include "store/queryhelpers.h"
#include "view3d/view3dpainting.h"
#include "view3d/view3drows.h"

#include <QMouseEvent>
#include <QPainter>

Overlay3DViewItem::Overlay3DViewItem(QWidget *parent)
    : QWidget(parent)
{
    fillBackground(this, QColor(0x26, 0x34, 0x40));
    installEventFilter(this);
    connect(&refreshTimer, &QTimer::timeout, this, &Overlay3DViewItem::finishRefresh);
    connect(&gl_socket, &BroadcastSocket::signalsProjectStateChanged, this, &Overlay3DViewItem::dropProject);
}

Overlay3DViewItem::~Overlay3DViewItem() = default;

void Overlay3DViewItem::dropCards()
{
    for (const Entry &entry : qAsConst(entries)) {
        if (entry.card) {
            entry.card->hide();
            entry.card->deleteLater();
        }
    }
    entries.clear();
    clearRecords();
}

void Overlay3DViewItem::dropProject()
{
    clear();
}

void Overlay3DViewItem::clear()
{
    refreshTimer.stop();
    finished = false;
    dropCards();
    picture.clear();
    update();
}

bool Overlay3DViewItem::updatelist(int roomId)
{
    dropCards();
    picture = roomPictureName(roomId, picture);
    // The missing positions are stored with the list, or none.
    const bool read = runInTransaction([&] { return loadRecords(roomId); });
    if (!read) {
        dropCards();
        emit gl_socket.signalsInformation(tr("Failed to read the devices!"));
    }
    update();
    return read;
}

void Overlay3DViewItem::addEntry(const QPoint &pos, DeviceItem *card)
{
    if (card)
        card->hide();
    entries.append({pos, card});
}

void Overlay3DViewItem::startRefresh()
{
    finished = false;
    refreshTimer.stop();
    int k = 0;
    for (const Entry &entry : qAsConst(entries)) {
        if (entry.card)
            entry.card->getStatus(k++ * StaggerMs);
    }
    refreshTimer.start(CheckMs);
}

void Overlay3DViewItem::finishRefresh()
{
    if (!isVisible()) {
        refreshTimer.stop();
        return;
    }
    for (int i = 0; i < entries.size(); ++i) {
        DeviceItem *card = entries.at(i).card;
        if (!card)
            continue;
        if (!card->status()) {
            finished = false;
            return;
        }
        takeCardState(i);
    }
    refreshTimer.stop();
    update();
    finished = true;
}

bool Overlay3DViewItem::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == this && event->type() == QEvent::MouseButtonPress) {
        const QPoint at = static_cast<QMouseEvent *>(event)->localPos().toPoint();
        bool copied = false;
        for (int i = 0; i < entries.size(); ++i) {
            DeviceItem *card = entries.at(i).card;
            if (!card)
                continue;
            if (!card->isHidden()) {
                takeCardState(i);
                copied = true;
            }
            card->move((width() - card->width()) / 2, (height() - card->height()) / 2);
            const bool hit = view3d::iconBoxContains(entries.at(i).pos, at);
            card->setVisible(hit);
            if (hit)
                card->raise();
        }
        if (copied)
            update();
    }
    return QWidget::eventFilter(watched, event);
}

void Overlay3DViewItem::paintEvent(QPaintEvent *event)
{
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        view3d::drawRoomPicture(painter, size(), picture);
        for (int i = 0; i < entries.size(); ++i)
            paintIcon(painter, i, view3d::iconBox(entries.at(i).pos));
    }
    QWidget::paintEvent(event);
}
