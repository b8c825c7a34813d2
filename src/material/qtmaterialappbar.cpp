#include "qtmaterialappbar.h"
#include "qtmaterialappbarlayout.h"
#include "qtmaterialappbarprivate.h"
#include "qtmateriallabel.h"
#include "qtmaterialstyle.h"

#include <QActionEvent>
#include <QPainter>
#include <QWidgetAction>

namespace {

// The style exists before the bar does, so that its creation never meets this
// bar's style-change handler half made.
QWidget *withStyleReady(QWidget *parent)
{
    QtMaterialStyle::instance();
    return parent;
}

} // namespace

QtMaterialAppBar::QtMaterialAppBar(QWidget *parent)
    : QWidget(withStyleReady(parent)), d_ptr(new QtMaterialAppBarPrivate(this))
{
    d_func()->init();
}

QtMaterialAppBar::QtMaterialAppBar(const QString &title, QWidget *parent)
    : QWidget(withStyleReady(parent)), d_ptr(new QtMaterialAppBarPrivate(this))
{
    Q_D(QtMaterialAppBar);
    d->init();
    d->title = title;
    d->titleLabel->setText(title);
    updateGeometry();
}

QtMaterialAppBar::~QtMaterialAppBar() = default;

void QtMaterialAppBar::setTitle(const QString &title)
{
    Q_D(QtMaterialAppBar);
    d->title = title;
    d->titleLabel->setText(title);
    updateGeometry();
}

QString QtMaterialAppBar::title() const
{
    Q_D(const QtMaterialAppBar);
    return d->title;
}

void QtMaterialAppBar::setNavIconType(Material::NavIconType type)
{
    Q_D(QtMaterialAppBar);
    d->setNavIconType(type);
    updateGeometry();
}

Material::NavIconType QtMaterialAppBar::navIconType() const
{
    Q_D(const QtMaterialAppBar);
    return d->navIconType;
}

void QtMaterialAppBar::setIconSize(const QSize &size)
{
    Q_D(QtMaterialAppBar);
    d->setIconSize(size);
    updateGeometry();
}

void QtMaterialAppBar::setIconSize(int w, int h)
{
    setIconSize(QSize(w, h));
}

QSize QtMaterialAppBar::iconSize() const
{
    Q_D(const QtMaterialAppBar);
    return d->iconSize;
}

void QtMaterialAppBar::setUseThemeColors(bool value)
{
    Q_D(QtMaterialAppBar);

    if (d->useThemeColors == value)
        return;
    d->useThemeColors = value;
    d->updateChildrenColor();
    update();
}

bool QtMaterialAppBar::useThemeColors() const
{
    Q_D(const QtMaterialAppBar);
    return d->useThemeColors;
}

void QtMaterialAppBar::setForegroundColor(const QColor &color)
{
    Q_D(QtMaterialAppBar);
    d->foregroundColor = color;
    d->useThemeColors = false;
    d->updateChildrenColor();
    update();
}

QColor QtMaterialAppBar::foregroundColor() const
{
    Q_D(const QtMaterialAppBar);

    if (!d->useThemeColors && d->foregroundColor.isValid())
        return d->foregroundColor;
    return QtMaterialStyle::instance().themeColor(Material::OnPrimaryColor);
}

void QtMaterialAppBar::setBackgroundColor(const QColor &color)
{
    Q_D(QtMaterialAppBar);
    d->backgroundColor = color;
    d->useThemeColors = false;
    d->updateChildrenColor();
    update();
}

QColor QtMaterialAppBar::backgroundColor() const
{
    Q_D(const QtMaterialAppBar);

    if (!d->useThemeColors && d->backgroundColor.isValid())
        return d->backgroundColor;
    return QtMaterialStyle::instance().themeColor(Material::PrimaryColor);
}

bool QtMaterialAppBar::event(QEvent *event)
{
    Q_D(QtMaterialAppBar);

    // The private part is filled by init(); events may arrive while it is running.
    if (event->type() == QEvent::StyleChange && d->layout) {
        d->updateChildrenColor();
        update();
        d->titleLabel->setFont(font());
        updateGeometry();
    }
    return QWidget::event(event);
}

void QtMaterialAppBar::paintEvent(QPaintEvent *event)
{
    Q_UNUSED(event)

    QPainter painter(this);
    painter.fillRect(rect(), backgroundColor());
}

void QtMaterialAppBar::actionEvent(QActionEvent *event)
{
    Q_D(QtMaterialAppBar);

    switch (event->type()) {
    case QEvent::ActionAdded: {
        QAction *action = event->action();
        if (auto *widgetAction = qobject_cast<QWidgetAction *>(action))
            widgetAction->setParent(this);
        d->layout->insertAction(0, action);
        break;
    }
    case QEvent::ActionChanged:
        d->layout->updateActions();
        d->layout->invalidate();
        break;
    default:
        break;
    }
}
