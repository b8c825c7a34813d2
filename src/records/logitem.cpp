#include "logitem.h"

#include "records/recordlistpage.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPixmap>
#include <qtmaterialstyle.h>

LogItem::LogItem(logRecord record, QWidget *parent)
    : DynamicWidget(QColor(0x3D, 0x53, 0x66), parent)
    , m_record(record)
{
    setFixedHeight(RowHeight);
    setToolTip(QStringLiteral("%1 %2").arg(QString::fromUtf8(m_record.log_device),
                                           QString::fromUtf8(m_record.log_event)));
    connect(this, &DynamicWidget::signalsPressed, this, &LogItem::slotsPressed);
}

void LogItem::slotsPressed()
{
    if (!checkBoxVisible)
        return;
    checked = !checked;
    update();
}

void LogItem::slotsLogsChecked(bool value)
{
    checked = value;
}

void LogItem::slotsLogsVisible(bool visible)
{
    checkBoxVisible = visible;
}

void LogItem::paintEvent(QPaintEvent *event)
{
    DynamicWidget::paintEvent(event);
    const int w = width();
    const int h = height();
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);

    if (checkBoxVisible)
        paintDeleteModeCheckBox(painter, h, checked);

    painter.setBrush(Qt::NoBrush);
    painter.setPen(Qt::white);
    painter.setFont(QtMaterialStyle::instance().themeFont(Material::Body1));
    const QFontMetrics metrics(painter.font());
    const auto text = [&](const QRect &rect, const QString &value, Qt::Alignment alignment) {
        if (rect.width() > 0)
            painter.drawText(rect, alignment, metrics.elidedText(value, Qt::ElideRight, rect.width()));
    };
    text(QRect(0, 0, w / 4, h), QString::fromUtf8(m_record.log_time), Qt::AlignCenter);
    text(QRect(w / 4, 0, w / 4, h), QString::fromUtf8(m_record.log_address), Qt::AlignCenter);
    text(QRect(w / 2, 0, w / 2, h),
         QStringLiteral("%1 %2").arg(QString::fromUtf8(m_record.log_device),
                                     QString::fromUtf8(m_record.log_event)),
         Qt::AlignLeft | Qt::AlignVCenter);

    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QColor(0xC0, 0xC0, 0xC0));
    painter.drawLine(0, h - 1, w - 1, h - 1);
}
