#include "messageitem.h"

#include "shell/pictures.h"

#include "bus/broadcastsocket.h"
#include "records/messagedlg.h"
#include "records/messagenames.h"
#include "store/globals.h"

#include "records/recordlistpage.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPixmap>
#include <qtmaterialstyle.h>

MessageItem::MessageItem(messageRecord record, QWidget *parent)
    : DynamicWidget(QColor(0x3D, 0x53, 0x66), parent)
    , m_record(record)
{
    setFixedHeight(RowHeight);
    connect(this, &DynamicWidget::signalsPressed, this, &MessageItem::slotsPressed);
    connect(&gl_socket, &BroadcastSocket::signalsUpdateMessage, this, &MessageItem::slotsUpdateMessage);
}

void MessageItem::setMessageRecord(messageRecord record)
{
    m_record = record;
    update();
}

QColor MessageItem::textColor(int messageType, int messageStatus)
{
    if (messageStatus != 0)
        return QColor(0xFF, 0xA5, 0x00);
    return messageType == 1 ? QColor(0xE3, 0x51, 0x51) : QColor(0xAB, 0xD2, 0x65);
}

void MessageItem::slotsUpdateMessage(messageRecord _messageRecord)
{
    if (_messageRecord.id != m_record.id)
        return;
    setMessageRecord(_messageRecord);
}

void MessageItem::slotsPressed()
{
    if (checkBoxVisible) {
        checked = !checked;
        update();
        return;
    }
    MessageDlg dialog(nullptr);
    dialog.setMessageRecord(m_record);
    dialog.initDlgCtrl();
    if (dialog.exec()) {
        m_record = dialog.getMessageRecord();
        update();
    }
}

void MessageItem::slotsMessageChecked(bool value)
{
    checked = value;
}

void MessageItem::slotsMessageVisible(bool visible)
{
    checkBoxVisible = visible;
}

void MessageItem::paintEvent(QPaintEvent *event)
{
    DynamicWidget::paintEvent(event);
    const int w = width();
    const int h = height();
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);

    if (checkBoxVisible)
        paintDeleteModeCheckBox(painter, h, checked);

    painter.setBrush(Qt::NoBrush);
    painter.setFont(QtMaterialStyle::instance().themeFont(Material::Body1));
    painter.setPen(textColor(m_record.message_type, m_record.message_status));

    const MessageNames names = MessageNames::lookup(m_record);
    if (names.defined) {
        Pictures::draw(painter, QRect(50, (h - 24) / 2, 24, 24), names.iconPath());
        const struct
        {
            int x;
            int width;
            QString text;
        } columns[] = {
            {80, 250, QString::fromUtf8(m_record.recv_time)},
            {340, 150, names.place()},
            {500, 150, names.panelName},
            {660, w - 1080, names.messageName},
            {w - 421, 250, names.typeName},
            {w - 161, 150, names.statusName},
        };
        const QFontMetrics metrics(painter.font());
        for (const auto &column : columns) {
            // Narrow rows leave the message column without room; it is then left out.
            if (column.width <= 0)
                continue;
            painter.drawText(QRect(column.x, 0, column.width, h), Qt::AlignCenter,
                             metrics.elidedText(column.text, Qt::ElideRight, column.width));
        }
    }

    // A crisp one-pixel line on the bottom row.
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QColor(0xC0, 0xC0, 0xC0));
    painter.drawLine(0, h - 1, w - 1, h - 1);
}
