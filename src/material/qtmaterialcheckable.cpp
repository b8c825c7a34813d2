#include "qtmaterialcheckable.h"
#include "qtmaterialcheckableicon.h"
#include "qtmaterialcheckableprivate.h"
#include "qtmaterialripple.h"
#include "qtmaterialrippleoverlay.h"
#include "qtmaterialstyle.h"

#include <QEvent>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QState>
#include <QStateMachine>

QtMaterialCheckable::QtMaterialCheckable(QWidget *parent)
    : QAbstractButton(parent), d_ptr(new QtMaterialCheckablePrivate(this))
{
    d_func()->init();
}

QtMaterialCheckable::QtMaterialCheckable(QtMaterialCheckablePrivate &d, QWidget *parent)
    : QAbstractButton(parent), d_ptr(&d)
{
    d_func()->init();
}

QtMaterialCheckable::~QtMaterialCheckable()
{
    Q_D(QtMaterialCheckable);

    // The machine watches this button and animates its icons: it goes first, so that
    // nothing sent while the widget is torn down reaches it.
    delete d->stateMachine;
    d->stateMachine = nullptr;

    // The ripple overlay lives on the parent, which may well outlive this button.
    delete d->rippleOverlay.data();
}

void QtMaterialCheckable::setLabelPosition(LabelPosition placement)
{
    Q_D(QtMaterialCheckable);
    d->labelPosition = placement;
    update();
}

QtMaterialCheckable::LabelPosition QtMaterialCheckable::labelPosition() const
{
    Q_D(const QtMaterialCheckable);
    return d->labelPosition;
}

void QtMaterialCheckable::setUseThemeColors(bool value)
{
    Q_D(QtMaterialCheckable);

    if (d->useThemeColors == value)
        return;
    d->useThemeColors = value;
    setupProperties();
}

bool QtMaterialCheckable::useThemeColors() const
{
    Q_D(const QtMaterialCheckable);
    return d->useThemeColors;
}

void QtMaterialCheckable::setCheckedColor(const QColor &color)
{
    Q_D(QtMaterialCheckable);
    d->checkedColor = color;
    d->useThemeColors = false;
    setupProperties();
}

QColor QtMaterialCheckable::checkedColor() const
{
    Q_D(const QtMaterialCheckable);
    if (!d->useThemeColors && d->checkedColor.isValid())
        return d->checkedColor;
    return QtMaterialStyle::instance().themeColor(Material::PrimaryColor);
}

void QtMaterialCheckable::setUncheckedColor(const QColor &color)
{
    Q_D(QtMaterialCheckable);
    d->uncheckedColor = color;
    d->useThemeColors = false;
    setupProperties();
}

QColor QtMaterialCheckable::uncheckedColor() const
{
    Q_D(const QtMaterialCheckable);
    if (!d->useThemeColors && d->uncheckedColor.isValid())
        return d->uncheckedColor;
    return QtMaterialStyle::instance().themeColor(Material::CanvasColor);
}

void QtMaterialCheckable::setTextColor(const QColor &color)
{
    Q_D(QtMaterialCheckable);
    d->textColor = color;
    d->useThemeColors = false;
    setupProperties();
}

QColor QtMaterialCheckable::textColor() const
{
    Q_D(const QtMaterialCheckable);
    if (!d->useThemeColors && d->textColor.isValid())
        return d->textColor;
    return QtMaterialStyle::instance().themeColor(Material::CanvasColor);
}

void QtMaterialCheckable::setDisabledColor(const QColor &color)
{
    Q_D(QtMaterialCheckable);
    d->disabledColor = color;
    d->useThemeColors = false;
    setupProperties();
}

QColor QtMaterialCheckable::disabledColor() const
{
    Q_D(const QtMaterialCheckable);
    if (!d->useThemeColors && d->disabledColor.isValid())
        return d->disabledColor;
    return QtMaterialStyle::instance().themeColor(Material::AccentDarkColor);
}

void QtMaterialCheckable::setCheckedIcon(const QIcon &icon)
{
    Q_D(QtMaterialCheckable);
    d->checkedIcon->setIcon(icon);
    update();
}

QIcon QtMaterialCheckable::checkedIcon() const
{
    Q_D(const QtMaterialCheckable);
    return d->checkedIcon->icon();
}

void QtMaterialCheckable::setUncheckedIcon(const QIcon &icon)
{
    Q_D(QtMaterialCheckable);
    d->uncheckedIcon->setIcon(icon);
    update();
}

QIcon QtMaterialCheckable::uncheckedIcon() const
{
    Q_D(const QtMaterialCheckable);
    return d->uncheckedIcon->icon();
}

QSize QtMaterialCheckable::sizeHint() const
{
    if (text().isEmpty())
        return QSize(40, 40);
    return QSize(fontMetrics().size(Qt::TextShowMnemonic, text()).width() + 52, 40);
}

bool QtMaterialCheckable::event(QEvent *event)
{
    Q_D(QtMaterialCheckable);

    switch (event->type()) {
    case QEvent::Move:
    case QEvent::Resize:
        d->checkedIcon->setGeometry(rect());
        d->uncheckedIcon->setGeometry(rect());
        break;
    case QEvent::StyleChange:
        // The style's own creation sends one while this button is being set up.
        if (d->stateMachine)
            setupProperties();
        break;
    default:
        break;
    }
    return QAbstractButton::event(event);
}

void QtMaterialCheckable::mouseReleaseEvent(QMouseEvent *event)
{
    // A click handler may delete this button.
    QPointer<QtMaterialCheckable> self(this);
    QAbstractButton::mouseReleaseEvent(event);
    if (!self || !event->isAccepted())
        return;

    Q_D(QtMaterialCheckable);
    if (!d->rippleOverlay)
        return;

    const QPoint center = d->labelPosition == LabelOnLeft ? QPoint(width() - 14, 28)
                                                          : QPoint(28, 28);
    auto *ripple = new QtMaterialRipple(center);
    ripple->setRadiusEndValue(22);
    ripple->setColor(isChecked() ? checkedColor() : uncheckedColor());
    if (isChecked())
        ripple->setOpacityStartValue(1);
    d->rippleOverlay->addRipple(ripple);
}

void QtMaterialCheckable::paintEvent(QPaintEvent *event)
{
    Q_UNUSED(event)
    Q_D(QtMaterialCheckable);

    QPainter painter(this);
    painter.setPen(isEnabled() ? textColor() : disabledColor());

    const QFontMetrics fm = painter.fontMetrics();
    const int y = (height() - fm.height()) / 2 + fm.height() - fm.descent();
    const int x = d->labelPosition == LabelOnRight ? 48 : 4;
    painter.drawText(x, y, text());
}

void QtMaterialCheckable::setupProperties()
{
    Q_D(QtMaterialCheckable);

    d->checkedState->assignProperty(d->checkedIcon, "color", checkedColor());
    d->checkedState->assignProperty(d->uncheckedIcon, "color", checkedColor());
    d->uncheckedState->assignProperty(d->uncheckedIcon, "color", uncheckedColor());
    d->disabledUncheckedState->assignProperty(d->uncheckedIcon, "color", disabledColor());
    d->disabledCheckedState->assignProperty(d->checkedIcon, "color", disabledColor());

    if (!isEnabled()) {
        d->checkedIcon->setColor(disabledColor());
        d->uncheckedIcon->setColor(disabledColor());
    } else if (isChecked()) {
        d->checkedIcon->setColor(checkedColor());
    } else {
        d->uncheckedIcon->setColor(uncheckedColor());
    }

    update();
}
