#include "qtmaterialdrawer.h"
#include "qtmaterialdrawerprivate.h"
#include "qtmaterialdrawerstatemachine.h"
#include "qtmaterialdrawerwidget.h"

#include <QEvent>
#include <QLayout>
#include <QMouseEvent>
#include <QPainter>

QtMaterialDrawer::QtMaterialDrawer(QWidget *parent)
    : QtMaterialOverlayWidget(parent), d_ptr(new QtMaterialDrawerPrivate(this))
{
    d_func()->init();
}

QtMaterialDrawer::~QtMaterialDrawer() = default;

void QtMaterialDrawer::setDrawerWidth(int width)
{
    Q_D(QtMaterialDrawer);
    d->width = width;
    d->drawerWidget->setFixedWidth(width + QtMaterialDrawerWidget::ShadowWidth);
    d->stateMachine->updatePropertyAssignments();
}

int QtMaterialDrawer::drawerWidth() const
{
    Q_D(const QtMaterialDrawer);
    return d->width;
}

void QtMaterialDrawer::setDrawerLayout(QLayout *layout)
{
    Q_D(QtMaterialDrawer);
    d->window->setLayout(layout);
}

QLayout *QtMaterialDrawer::drawerLayout() const
{
    Q_D(const QtMaterialDrawer);
    return d->window->layout();
}

void QtMaterialDrawer::setClickOutsideToClose(bool state)
{
    Q_D(QtMaterialDrawer);
    d->clickToClose = state;
}

bool QtMaterialDrawer::clickOutsideToClose() const
{
    Q_D(const QtMaterialDrawer);
    return d->clickToClose;
}

void QtMaterialDrawer::setAutoRaise(bool state)
{
    Q_D(QtMaterialDrawer);
    d->autoRaise = state;
}

bool QtMaterialDrawer::autoRaise() const
{
    Q_D(const QtMaterialDrawer);
    return d->autoRaise;
}

void QtMaterialDrawer::setOverlayMode(bool value)
{
    Q_D(QtMaterialDrawer);
    d->overlay = value;
    update();
}

bool QtMaterialDrawer::overlayMode() const
{
    Q_D(const QtMaterialDrawer);
    return d->overlay;
}

void QtMaterialDrawer::openDrawer()
{
    Q_D(QtMaterialDrawer);

    d->request(true);
    if (d->autoRaise) {
        show();
        raise();
    }
    setAttribute(Qt::WA_TransparentForMouseEvents, false);
    setAttribute(Qt::WA_NoSystemBackground, false);
}

void QtMaterialDrawer::closeDrawer()
{
    Q_D(QtMaterialDrawer);

    d->request(false);
    // Also without overlay: the mask still covers the panel's place, and a closed
    // drawer must not swallow clicks meant for what lies below it.
    setAttribute(Qt::WA_TransparentForMouseEvents);
    if (d->overlay)
        setAttribute(Qt::WA_NoSystemBackground);
}

bool QtMaterialDrawer::event(QEvent *event)
{
    Q_D(QtMaterialDrawer);

    switch (event->type()) {
    case QEvent::Move:
    case QEvent::Resize:
        // Only the panel takes mouse input; clicks beside it reach what lies below.
        if (!d->overlay)
            setMask(QRegion(0, 0, d->drawerWidget->width(), d->drawerWidget->height()));
        break;
    default:
        break;
    }
    return QtMaterialOverlayWidget::event(event);
}

bool QtMaterialDrawer::eventFilter(QObject *obj, QEvent *event)
{
    Q_D(QtMaterialDrawer);

    switch (event->type()) {
    case QEvent::Move:
    case QEvent::Resize: {
        QLayout *layout = d->drawerWidget->layout();
        if (layout && layout->contentsMargins().right() != QtMaterialDrawerWidget::ShadowWidth)
            layout->setContentsMargins(0, 0, QtMaterialDrawerWidget::ShadowWidth, 0);
        break;
    }
    case QEvent::MouseButtonPress: {
        auto *mouseEvent = static_cast<QMouseEvent *>(event);
        const QPoint position = mouseEvent->localPos().toPoint();
        if (d->clickToClose && !d->drawerWidget->geometry().contains(position))
            closeDrawer();
        break;
    }
    default:
        break;
    }
    return QtMaterialOverlayWidget::eventFilter(obj, event);
}

void QtMaterialDrawer::paintEvent(QPaintEvent *event)
{
    Q_UNUSED(event)
    Q_D(QtMaterialDrawer);

    if (!d->overlay || d->stateMachine->isInClosedState())
        return;

    QPainter painter(this);
    painter.setOpacity(d->stateMachine->opacity());
    painter.fillRect(QRectF(0, 0, width(), height()), Qt::black);
}
