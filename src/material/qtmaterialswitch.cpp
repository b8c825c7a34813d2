#include "qtmaterialswitch.h"
#include "qtmaterialstyle.h"
#include "qtmaterialswitchprivate.h"
#include "qtmaterialswitchrippleoverlay.h"
#include "qtmaterialswitchthumb.h"
#include "qtmaterialswitchtrack.h"

#include <QEvent>
#include <QFontMetrics>
#include <QPainter>
#include <QStateMachine>

QtMaterialSwitch::QtMaterialSwitch(QWidget *parent)
    : QAbstractButton(parent), d_ptr(new QtMaterialSwitchPrivate(this))
{
    d_func()->init();
}

QtMaterialSwitch::QtMaterialSwitch(Qt::Orientation orientation, QWidget *parent)
    : QtMaterialSwitch(parent)
{
    setOrientation(orientation);
}

QtMaterialSwitch::~QtMaterialSwitch()
{
    Q_D(QtMaterialSwitch);

    // The machine animates the thumb and the track: it goes first, so that nothing
    // sent while the widget is torn down reaches it.
    delete d->stateMachine;
    d->stateMachine = nullptr;

    // The ripple overlay lives on the parent, which may well outlive this switch.
    delete d->rippleOverlay.data();
}

void QtMaterialSwitch::setUseThemeColors(bool value)
{
    Q_D(QtMaterialSwitch);
    d->useThemeColors = value;
    d->setupProperties();
}

bool QtMaterialSwitch::useThemeColors() const
{
    Q_D(const QtMaterialSwitch);
    return d->useThemeColors;
}

void QtMaterialSwitch::setOrientation(Qt::Orientation orientation)
{
    Q_D(QtMaterialSwitch);
    if (d->orientation == orientation)
        return;
    d->orientation = orientation;
    updateGeometry();
}

Qt::Orientation QtMaterialSwitch::orientation() const
{
    Q_D(const QtMaterialSwitch);
    return d->orientation;
}

namespace {

QColor ownOrTheme(bool useTheme, const QColor &own, Material::ThemeColor slot)
{
    if (!useTheme && own.isValid())
        return own;
    return QtMaterialStyle::instance().themeColor(slot);
}

} // namespace

void QtMaterialSwitch::setDisabledColor(const QColor &color)
{
    Q_D(QtMaterialSwitch);
    d->disabledColor = color;
    d->useThemeColors = false;
    d->setupProperties();
}

QColor QtMaterialSwitch::disabledColor() const
{
    Q_D(const QtMaterialSwitch);
    return ownOrTheme(d->useThemeColors, d->disabledColor, Material::DisabledColor);
}

void QtMaterialSwitch::setActiveColor(const QColor &color)
{
    Q_D(QtMaterialSwitch);
    d->activeColor = color;
    d->useThemeColors = false;
    d->setupProperties();
}

QColor QtMaterialSwitch::activeColor() const
{
    Q_D(const QtMaterialSwitch);
    return ownOrTheme(d->useThemeColors, d->activeColor, Material::PrimaryColor);
}

void QtMaterialSwitch::setInactiveColor(const QColor &color)
{
    Q_D(QtMaterialSwitch);
    d->inactiveColor = color;
    d->useThemeColors = false;
    d->setupProperties();
}

QColor QtMaterialSwitch::inactiveColor() const
{
    Q_D(const QtMaterialSwitch);
    return ownOrTheme(d->useThemeColors, d->inactiveColor, Material::CanvasColor);
}

void QtMaterialSwitch::setTrackColor(const QColor &color)
{
    Q_D(QtMaterialSwitch);
    d->trackColor = color;
    d->useThemeColors = false;
    d->setupProperties();
}

QColor QtMaterialSwitch::trackColor() const
{
    Q_D(const QtMaterialSwitch);
    return ownOrTheme(d->useThemeColors, d->trackColor, Material::AccentDarkColor);
}

void QtMaterialSwitch::setTextColor(const QColor &color)
{
    Q_D(QtMaterialSwitch);
    d->textColor = color;
    d->useThemeColors = false;
    update();
}

QColor QtMaterialSwitch::textColor() const
{
    Q_D(const QtMaterialSwitch);
    return ownOrTheme(d->useThemeColors, d->textColor, Material::TextColor);
}

QSize QtMaterialSwitch::sizeHint() const
{
    Q_D(const QtMaterialSwitch);
    const int tw = fontMetrics().size(Qt::TextShowMnemonic, text()).width();
    return d->orientation == Qt::Horizontal ? QSize(tw + 64, 48) : QSize(tw + 48, 64);
}

bool QtMaterialSwitch::event(QEvent *event)
{
    Q_D(QtMaterialSwitch);

    switch (event->type()) {
    case QEvent::Move:
    case QEvent::Resize:
        if (!d->thumb)
            break;
        if (d->orientation == Qt::Horizontal) {
            d->thumb->setGeometry(8, 8, 48, 32);
            d->track->setGeometry(0, 0, 64, 48);
        } else {
            d->thumb->setGeometry(8, 8, 32, 48);
            d->track->setGeometry(0, 0, 48, 64);
        }
        break;
    case QEvent::StyleChange:
        // The style's own creation sends one while this switch is being set up.
        if (d->stateMachine)
            d->setupProperties();
        break;
    default:
        // A new parent needs nothing here: the ripple overlay follows the switch.
        break;
    }
    return QAbstractButton::event(event);
}

void QtMaterialSwitch::paintEvent(QPaintEvent *event)
{
    Q_UNUSED(event)

    QPainter painter(this);
    painter.setPen(isEnabled() ? textColor() : disabledColor());

    const QFontMetrics fm = painter.fontMetrics();
    const int y = (height() - fm.height()) / 2 + fm.height() - fm.descent();
    const int x = orientation() == Qt::Horizontal ? 64 : 48;
    painter.drawText(x, y, text());
}
