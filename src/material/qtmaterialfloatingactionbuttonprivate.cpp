#include "qtmaterialfloatingactionbuttonprivate.h"
#include "qtmaterialfloatingactionbutton.h"

#include <QGraphicsDropShadowEffect>
#include <QState>

QtMaterialFloatingActionButtonPrivate::QtMaterialFloatingActionButtonPrivate(
    QtMaterialFloatingActionButton *q)
    : QtMaterialFlatButtonPrivate(q)
{
}

QtMaterialFloatingActionButtonPrivate::~QtMaterialFloatingActionButtonPrivate() = default;

void QtMaterialFloatingActionButtonPrivate::init()
{
    Q_Q(QtMaterialFloatingActionButton);

    q->setType(Material::RaisedButton);
    corner = Qt::BottomRightCorner;
    mini = false;
    offset = QPoint(34, 36);

    q->setRole(Material::PrimaryRole);
    q->setFixedSize(DefaultDiameter, DefaultDiameter);
    if (q->parentWidget())
        q->setGeometry(fabGeometry());

    setupProperties();
    q->updateClipPath();

    if (QWidget *parent = q->parentWidget())
        parent->installEventFilter(q);

    q->setFixedRippleRadius(50);
}

void QtMaterialFloatingActionButtonPrivate::setupProperties()
{
    if (!shadowEffect)
        return;

    const QPointF normalOffset = mini ? QPointF(0, 3) : QPointF(0, 6);
    const qreal normalBlur = mini ? 13 : 16;
    const QPointF pressedOffset = mini ? QPointF(0, 7) : QPointF(0, 11);
    const qreal pressedBlur = mini ? 20 : 28;

    if (raiseNormalState && raisePressedState) {
        raiseNormalState->assignProperty(shadowEffect, "offset", normalOffset);
        raiseNormalState->assignProperty(shadowEffect, "blurRadius", normalBlur);
        raisePressedState->assignProperty(shadowEffect, "offset", pressedOffset);
        raisePressedState->assignProperty(shadowEffect, "blurRadius", pressedBlur);
    }

    shadowEffect->setColor(QColor(0, 0, 0, mini ? 80 : 105));
    // The button rests unpressed: show the resting shadow now.
    if (!raisePressedState || !raisePressedState->active()) {
        shadowEffect->setOffset(normalOffset);
        shadowEffect->setBlurRadius(normalBlur);
    }
}

QRect QtMaterialFloatingActionButtonPrivate::fabGeometry() const
{
    Q_Q(const QtMaterialFloatingActionButton);

    const QWidget *parent = q->parentWidget();
    if (!parent)
        return QRect();

    const int s = diameter();
    const int w = parent->width();
    const int h = parent->height();

    switch (corner) {
    case Qt::TopLeftCorner:
        return QRect(offset.x(), offset.y(), s, s);
    case Qt::TopRightCorner:
        return QRect(w - s - offset.x(), offset.y(), s, s);
    case Qt::BottomLeftCorner:
        return QRect(offset.x(), h - s - offset.y(), s, s);
    case Qt::BottomRightCorner:
    default:
        return QRect(w - s - offset.x(), h - s - offset.y(), s, s);
    }
}
