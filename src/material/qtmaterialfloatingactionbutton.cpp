#include "qtmaterialfloatingactionbutton.h"
#include "qtmaterialfloatingactionbuttonprivate.h"
#include "qtmaterialrippleoverlay.h"

#include <QEvent>
#include <QPainter>
#include <QPainterPath>

QtMaterialFloatingActionButton::QtMaterialFloatingActionButton(const QIcon &icon,
                                                               QWidget *parent)
    : QtMaterialFlatButton(*new QtMaterialFloatingActionButtonPrivate(this), parent)
{
    d_func()->init();
    setIcon(icon);
}

QtMaterialFloatingActionButton::~QtMaterialFloatingActionButton() = default;

QSize QtMaterialFloatingActionButton::sizeHint() const
{
    Q_D(const QtMaterialFloatingActionButton);
    return QSize(d->diameter(), d->diameter());
}

void QtMaterialFloatingActionButton::setMini(bool state)
{
    Q_D(QtMaterialFloatingActionButton);

    if (d->mini == state)
        return;
    d->mini = state;

    setFixedSize(d->diameter(), d->diameter());
    setFixedRippleRadius(state ? 30 : 50);
    d->setupProperties();
    updateClipPath();
    if (parentWidget())
        setGeometry(d->fabGeometry());
    update();
}

bool QtMaterialFloatingActionButton::isMini() const
{
    Q_D(const QtMaterialFloatingActionButton);
    return d->mini;
}

void QtMaterialFloatingActionButton::setCorner(Qt::Corner corner)
{
    Q_D(QtMaterialFloatingActionButton);

    if (d->corner == corner)
        return;
    d->corner = corner;
    if (parentWidget())
        setGeometry(d->fabGeometry());
    update();
}

Qt::Corner QtMaterialFloatingActionButton::corner() const
{
    Q_D(const QtMaterialFloatingActionButton);
    return d->corner;
}

void QtMaterialFloatingActionButton::setOffset(int x, int y)
{
    setOffset(QPoint(x, y));
}

void QtMaterialFloatingActionButton::setOffset(const QPoint &offset)
{
    Q_D(QtMaterialFloatingActionButton);

    d->offset = offset;
    if (parentWidget())
        setGeometry(d->fabGeometry());
    update();
}

QPoint QtMaterialFloatingActionButton::offset() const
{
    Q_D(const QtMaterialFloatingActionButton);
    return d->offset;
}

bool QtMaterialFloatingActionButton::event(QEvent *event)
{
    Q_D(QtMaterialFloatingActionButton);

    if (QWidget *parent = parentWidget()) {
        switch (event->type()) {
        case QEvent::ParentAboutToChange:
            parent->removeEventFilter(this);
            break;
        case QEvent::ParentChange:
            parent->installEventFilter(this);
            setGeometry(d->fabGeometry());
            break;
        default:
            break;
        }
    }
    return QtMaterialFlatButton::event(event);
}

bool QtMaterialFloatingActionButton::eventFilter(QObject *obj, QEvent *event)
{
    Q_D(QtMaterialFloatingActionButton);

    if (obj == parentWidget()) {
        switch (event->type()) {
        case QEvent::Move:
        case QEvent::Resize:
            setGeometry(d->fabGeometry());
            break;
        default:
            break;
        }
    }
    return QObject::eventFilter(obj, event);
}

void QtMaterialFloatingActionButton::paintEvent(QPaintEvent *event)
{
    Q_UNUSED(event)
    Q_D(QtMaterialFloatingActionButton);

    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);

    const int s = d->diameter();
    QRect square(0, 0, s, s);
    square.moveCenter(rect().center());

    painter.setPen(Qt::NoPen);
    painter.setBrush(isEnabled() ? backgroundColor() : disabledBackgroundColor());
    painter.drawEllipse(square);

    const int iconSize = d->iconSize();
    QRect iconGeometry(0, 0, iconSize, iconSize);
    iconGeometry.moveCenter(square.center());

    QPixmap pixmap = icon().pixmap(QSize(iconSize, iconSize), QIcon::Normal, QIcon::Off);
    if (pixmap.isNull())
        return;
    {
        QPainter icon(&pixmap);
        icon.setCompositionMode(QPainter::CompositionMode_SourceIn);
        icon.fillRect(pixmap.rect(),
                      isEnabled() ? foregroundColor() : disabledForegroundColor());
    }
    painter.drawPixmap(iconGeometry, pixmap);
}

void QtMaterialFloatingActionButton::updateClipPath()
{
    Q_D(QtMaterialFloatingActionButton);

    const int s = d->diameter();
    QPainterPath path;
    path.addEllipse(0, 0, s, s);
    d->rippleOverlay->setClipShape(path);
}
