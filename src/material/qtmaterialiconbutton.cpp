#include "qtmaterialiconbutton.h"
#include "qtmaterialiconbuttonprivate.h"
#include "qtmaterialrippleoverlay.h"
#include "qtmaterialstyle.h"

#include <QEvent>
#include <QPainter>
#include <QPointer>

QtMaterialIconButton::QtMaterialIconButton(const QIcon &icon, QWidget *parent)
    : QAbstractButton(parent), d_ptr(new QtMaterialIconButtonPrivate(this))
{
    d_func()->init();
    setIcon(icon);
}

QtMaterialIconButton::QtMaterialIconButton(QtMaterialIconButtonPrivate &d, QWidget *parent)
    : QAbstractButton(parent), d_ptr(&d)
{
    d_func()->init();
}

QtMaterialIconButton::~QtMaterialIconButton()
{
    Q_D(QtMaterialIconButton);

    // The overlay sits on the parent, so the parent would otherwise keep it (and
    // any ripple on it) after this button is gone.
    if (QtMaterialRippleOverlay *overlay = d->rippleOverlay.data()) {
        delete overlay;
    }
}

QSize QtMaterialIconButton::sizeHint() const
{
    return iconSize();
}

void QtMaterialIconButton::setUseThemeColors(bool value)
{
    Q_D(QtMaterialIconButton);

    if (d->useThemeColors == value)
        return;
    d->useThemeColors = value;
    update();
}

bool QtMaterialIconButton::useThemeColors() const
{
    Q_D(const QtMaterialIconButton);
    return d->useThemeColors;
}

void QtMaterialIconButton::setColor(const QColor &color)
{
    Q_D(QtMaterialIconButton);
    d->color = color;
    d->useThemeColors = false;
    update();
}

QColor QtMaterialIconButton::color() const
{
    Q_D(const QtMaterialIconButton);

    if (!d->useThemeColors && d->color.isValid())
        return d->color;
    return QtMaterialStyle::instance().themeColor(Material::TextColor);
}

void QtMaterialIconButton::setDisabledColor(const QColor &color)
{
    Q_D(QtMaterialIconButton);
    d->disabledColor = color;
    d->useThemeColors = false;
    update();
}

QColor QtMaterialIconButton::disabledColor() const
{
    Q_D(const QtMaterialIconButton);

    if (!d->useThemeColors && d->disabledColor.isValid())
        return d->disabledColor;
    return QtMaterialStyle::instance().themeColor(Material::DisabledColor);
}

void QtMaterialIconButton::mousePressEvent(QMouseEvent *event)
{
    Q_D(QtMaterialIconButton);

    // A pressed() handler may delete this button.
    QPointer<QtMaterialIconButton> self(this);
    QAbstractButton::mousePressEvent(event);
    if (!self || !d->rippleOverlay)
        return;

    const QRect r = d->rippleOverlay->rect();
    d->rippleOverlay->addRipple(QPoint(qRound(r.width() * 0.5), qRound(r.height() * 0.5)),
                                iconSize().width());
}

void QtMaterialIconButton::mouseReleaseEvent(QMouseEvent *event)
{
    QAbstractButton::mouseReleaseEvent(event);
}

void QtMaterialIconButton::paintEvent(QPaintEvent *event)
{
    Q_UNUSED(event)

    if (icon().isNull())
        return;

    QPixmap pixmap = icon().pixmap(iconSize());
    {
        QPainter icon(&pixmap);
        icon.setCompositionMode(QPainter::CompositionMode_SourceIn);
        icon.fillRect(pixmap.rect(), isEnabled() ? color() : disabledColor());
    }

    QPainter painter(this);
    const QRect r(rect());
    const int x = int((r.width() - pixmap.width()) * 0.5);
    const int y = int((r.height() - pixmap.height()) * 0.5);
    painter.drawPixmap(x, y, pixmap);
}
