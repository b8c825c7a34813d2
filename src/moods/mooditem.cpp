#include "mooditem.h"

#include "shell/pictures.h"

#include "moods/moodsequencer.h"
#include "shell/manageritem.h"

#include <QEvent>
#include <QFileInfo>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <qtmaterialstyle.h>

MoodItem::MoodItem(mood m, QWidget *parent)
    : QWidget(parent)
    , record(m)
{
    installEventFilter(this);
    setFixedSize(TileWidth, TileHeight);
}

QString MoodItem::picturePath() const
{
    const QString path = ManagerItem::picturePath(ManagerItemMood, record.iconName());
    if (path.isEmpty() || path.startsWith(QLatin1Char(':')))
        return path;
    return QFileInfo::exists(path) ? path : QString();
}

void MoodItem::run()
{
    const mood m = record;
    MoodSequencer::instance().enqueue([m](QList<MoodStep> &steps) { return moodRunSteps(m, steps); },
                                      tr("Send successfully"), tr("Failed to send the mood!"));
}

bool MoodItem::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == this && event->type() == QEvent::MouseButtonPress)
        run();
    return QWidget::eventFilter(watched, event);
}

void MoodItem::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    QPainterPath clip;
    clip.addRoundedRect(QRectF(rect()), 10, 10);
    painter.setClipPath(clip);

    Pictures::draw(painter, rect(), picturePath(), this);

    painter.setBrush(Qt::NoBrush);
    painter.setFont(QtMaterialStyle::instance().themeFont(Material::FontType(8)));
    painter.setPen(Qt::white);
    const QRect textRect(20, 0, qMax(0, width() - 20), height());
    painter.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter,
                     painter.fontMetrics().elidedText(record.name(), Qt::ElideRight, textRect.width()));
    painter.end();
    QWidget::paintEvent(event);
}
