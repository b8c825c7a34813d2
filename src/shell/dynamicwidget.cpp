#include "dynamicwidget.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

DynamicWidget::DynamicWidget(const QColor &color, QWidget *parent)
    : QWidget(parent)
    , normalColor(color)
    , currentColor(color)
{}

void DynamicWidget::drawEllipse(bool value)
{
    ellipse = value;
    update();
}

bool DynamicWidget::inside(const QPoint &pos) const
{
    return QRect(0, 0, width(), height()).contains(pos);
}

void DynamicWidget::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && inside(event->pos())) {
        pressed = true;
        currentColor = pressedColor();
        update();
    }
    QWidget::mousePressEvent(event);
}

void DynamicWidget::mouseMoveEvent(QMouseEvent *event)
{
    if (pressed && !inside(event->pos())) {
        pressed = false;
        currentColor = normalColor;
        update();
    }
    QWidget::mouseMoveEvent(event);
}

void DynamicWidget::mouseReleaseEvent(QMouseEvent *event)
{
    const bool click = pressed && inside(event->pos());
    if (pressed) {
        pressed = false;
        currentColor = normalColor;
        update();
    }
    QWidget::mouseReleaseEvent(event);
    // Last of all: a receiver may delete this tile. The click is taken here, so
    // the release is not handed on to the parent through a deleted tile.
    if (click) {
        event->accept();
        emit signalsPressed();
    }
}

void DynamicWidget::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(currentColor);
    painter.setBrush(currentColor);
    if (ellipse) {
        painter.drawEllipse(QRect(0, 0, width(), width()));
        return;
    }
    QPainterPath path;
    path.addRoundedRect(QRectF(0, 0, width(), height()), 10, 10, Qt::AbsoluteSize);
    painter.setClipPath(path);
    painter.drawRect(rect());
}
