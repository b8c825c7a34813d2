#include "qtmaterialflatbutton.h"
#include "qtmaterialflatbuttonprivate.h"
#include "qtmaterialflatbuttonstatemachine.h"
#include "qtmaterialripple.h"
#include "qtmaterialrippleoverlay.h"
#include "qtmaterialstyle.h"

#include <QGraphicsDropShadowEffect>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPointer>
#include <QPropertyAnimation>
#include <QStateMachine>

namespace {

constexpr int IconPadding = 12;

// The theme colour that goes with a button's role.
QColor roleColor(Material::Role role)
{
    const QtMaterialStyle &style = QtMaterialStyle::instance();
    switch (role) {
    case Material::PrimaryRole:
        return style.themeColor(Material::PrimaryColor);
    case Material::SecondaryRole:
        return style.themeColor(Material::AccentColor);
    case Material::DefaultRole:
    default:
        return style.themeColor(Material::TextColor);
    }
}

} // namespace

QtMaterialFlatButton::QtMaterialFlatButton(QWidget *parent)
    : QtMaterialFlatButton(QString(), Material::TextDefault, parent)
{
}

QtMaterialFlatButton::QtMaterialFlatButton(const QString &text, Material::ButtonPreset preset,
                                           QWidget *parent)
    : QPushButton(text, parent), d_ptr(new QtMaterialFlatButtonPrivate(this))
{
    d_func()->init();
    applyPreset(preset);
}

QtMaterialFlatButton::QtMaterialFlatButton(const QIcon &icon, const QString &text,
                                           Material::ButtonPreset preset, QWidget *parent)
    : QtMaterialFlatButton(text, preset, parent)
{
    setIcon(icon);
}

QtMaterialFlatButton::QtMaterialFlatButton(QtMaterialFlatButtonPrivate &d, QWidget *parent,
                                           Material::ButtonPreset preset)
    : QPushButton(parent), d_ptr(&d)
{
    d_func()->init();
    applyPreset(preset);
}

QtMaterialFlatButton::~QtMaterialFlatButton()
{
    Q_D(QtMaterialFlatButton);

    // The machines filter this button's events and read the private part, which
    // goes before the widget's children do: remove them first, so that no focus or
    // leave event sent while the widget is torn down reaches them.
    delete d->raiseMachine;
    d->raiseMachine = nullptr;
    d->raiseNormalState = nullptr;
    d->raisePressedState = nullptr;
    delete d->stateMachine;
    d->stateMachine = nullptr;
}

void QtMaterialFlatButton::applyPreset(Material::ButtonPreset preset)
{
    Q_D(QtMaterialFlatButton);

    if (preset < Material::TextDefault || preset > Material::FilledSecondary)
        return;

    const auto type = static_cast<Material::ButtonType>(preset / 3);
    if (type != d->type) {
        if (type == Material::RaisedButton)
            d->initRaiseEffect();
        else
            d->removeRaiseEffect();
        d->type = type;
        d->stateMachine->setupProperties();
    }

    d->role = static_cast<Material::Role>(preset % 3);
    d->stateMachine->setupProperties();
}

void QtMaterialFlatButton::setUseThemeColors(bool value)
{
    Q_D(QtMaterialFlatButton);

    if (d->useThemeColors == value)
        return;
    d->useThemeColors = value;
    d->stateMachine->setupProperties();
}

bool QtMaterialFlatButton::useThemeColors() const
{
    Q_D(const QtMaterialFlatButton);
    return d->useThemeColors;
}

void QtMaterialFlatButton::setRole(Material::Role role)
{
    Q_D(QtMaterialFlatButton);
    d->role = role;
    d->stateMachine->setupProperties();
}

Material::Role QtMaterialFlatButton::role() const
{
    Q_D(const QtMaterialFlatButton);
    return d->role;
}

void QtMaterialFlatButton::setType(Material::ButtonType type)
{
    Q_D(QtMaterialFlatButton);

    if (d->type == type)
        return;
    if (type == Material::RaisedButton)
        d->initRaiseEffect();
    else
        d->removeRaiseEffect();
    d->type = type;
    d->stateMachine->setupProperties();
}

Material::ButtonType QtMaterialFlatButton::type() const
{
    Q_D(const QtMaterialFlatButton);
    return d->type;
}

void QtMaterialFlatButton::setFontSize(qreal size)
{
    Q_D(QtMaterialFlatButton);

    d->fontSize = size;
    QFont f(font());
    f.setPointSizeF(size);
    setFont(f);
    updateGeometry();
    update();
}

qreal QtMaterialFlatButton::fontSize() const
{
    return font().pointSize();
}

void QtMaterialFlatButton::setHaloVisible(bool visible)
{
    Q_D(QtMaterialFlatButton);
    d->haloVisible = visible;
    update();
}

bool QtMaterialFlatButton::isHaloVisible() const
{
    Q_D(const QtMaterialFlatButton);
    return d->haloVisible;
}

void QtMaterialFlatButton::setOverlayStyle(Material::OverlayStyle style)
{
    Q_D(QtMaterialFlatButton);
    d->overlayStyle = style;
    update();
}

Material::OverlayStyle QtMaterialFlatButton::overlayStyle() const
{
    Q_D(const QtMaterialFlatButton);
    return d->overlayStyle;
}

void QtMaterialFlatButton::setRippleStyle(Material::RippleStyle style)
{
    Q_D(QtMaterialFlatButton);
    d->rippleStyle = style;
}

Material::RippleStyle QtMaterialFlatButton::rippleStyle() const
{
    Q_D(const QtMaterialFlatButton);
    return d->rippleStyle;
}

void QtMaterialFlatButton::setIconPlacement(Material::ButtonIconPlacement placement)
{
    Q_D(QtMaterialFlatButton);
    d->iconPlacement = placement;
    update();
}

Material::ButtonIconPlacement QtMaterialFlatButton::iconPlacement() const
{
    Q_D(const QtMaterialFlatButton);
    return d->iconPlacement;
}

void QtMaterialFlatButton::setCornerRadius(qreal radius)
{
    Q_D(QtMaterialFlatButton);
    d->cornerRadius = radius;
    updateClipPath();
    update();
}

qreal QtMaterialFlatButton::cornerRadius() const
{
    Q_D(const QtMaterialFlatButton);
    return d->cornerRadius;
}

void QtMaterialFlatButton::setBaseOpacity(qreal opacity)
{
    Q_D(QtMaterialFlatButton);
    d->baseOpacity = opacity;
    d->stateMachine->setupProperties();
}

qreal QtMaterialFlatButton::baseOpacity() const
{
    Q_D(const QtMaterialFlatButton);
    return d->baseOpacity;
}

void QtMaterialFlatButton::setCheckable(bool value)
{
    Q_D(QtMaterialFlatButton);
    d->stateMachine->updateCheckedStatus();
    QPushButton::setCheckable(value);
}

void QtMaterialFlatButton::setHasFixedRippleRadius(bool value)
{
    Q_D(QtMaterialFlatButton);
    d->useFixedRippleRadius = value;
}

bool QtMaterialFlatButton::hasFixedRippleRadius() const
{
    Q_D(const QtMaterialFlatButton);
    return d->useFixedRippleRadius;
}

void QtMaterialFlatButton::setFixedRippleRadius(qreal radius)
{
    Q_D(QtMaterialFlatButton);
    d->fixedRippleRadius = radius;
    setHasFixedRippleRadius(true);
}

void QtMaterialFlatButton::setTextAlignment(Qt::Alignment alignment)
{
    Q_D(QtMaterialFlatButton);
    d->textAlignment = alignment;
}

Qt::Alignment QtMaterialFlatButton::textAlignment() const
{
    Q_D(const QtMaterialFlatButton);
    return d->textAlignment;
}

void QtMaterialFlatButton::setForegroundColor(const QColor &color)
{
    Q_D(QtMaterialFlatButton);
    d->foregroundColor = color;
    d->useThemeColors = false;
    update();
}

QColor QtMaterialFlatButton::foregroundColor() const
{
    Q_D(const QtMaterialFlatButton);

    if (!d->useThemeColors && d->foregroundColor.isValid())
        return d->foregroundColor;
    if (d->type == Material::RaisedButton || d->type == Material::FilledButton)
        return QtMaterialStyle::instance().themeColor(Material::CanvasColor);
    return roleColor(d->role);
}

void QtMaterialFlatButton::setBackgroundColor(const QColor &color)
{
    Q_D(QtMaterialFlatButton);
    d->backgroundColor = color;
    d->useThemeColors = false;
    update();
}

QColor QtMaterialFlatButton::backgroundColor() const
{
    Q_D(const QtMaterialFlatButton);

    if (!d->useThemeColors && d->backgroundColor.isValid())
        return d->backgroundColor;
    return roleColor(d->role);
}

void QtMaterialFlatButton::setOverlayColor(const QColor &color)
{
    Q_D(QtMaterialFlatButton);
    d->overlayColor = color;
    d->useThemeColors = false;
    setOverlayStyle(Material::OverlayTinted);
    update();
}

QColor QtMaterialFlatButton::overlayColor() const
{
    Q_D(const QtMaterialFlatButton);

    if (!d->useThemeColors && d->overlayColor.isValid())
        return d->overlayColor;
    return foregroundColor();
}

void QtMaterialFlatButton::setDisabledForegroundColor(const QColor &color)
{
    Q_D(QtMaterialFlatButton);
    d->disabledForegroundColor = color;
    d->useThemeColors = false;
    update();
}

QColor QtMaterialFlatButton::disabledForegroundColor() const
{
    Q_D(const QtMaterialFlatButton);

    if (!d->useThemeColors && d->disabledForegroundColor.isValid())
        return d->disabledForegroundColor;
    return QtMaterialStyle::instance().themeColor(Material::DisabledColor);
}

void QtMaterialFlatButton::setDisabledBackgroundColor(const QColor &color)
{
    Q_D(QtMaterialFlatButton);
    d->disabledBackgroundColor = color;
    d->useThemeColors = false;
    update();
}

QColor QtMaterialFlatButton::disabledBackgroundColor() const
{
    Q_D(const QtMaterialFlatButton);

    if (!d->useThemeColors && d->disabledBackgroundColor.isValid())
        return d->disabledBackgroundColor;
    return QtMaterialStyle::instance().themeColor(Material::DisabledFillColor);
}

QSize QtMaterialFlatButton::sizeHint() const
{
    ensurePolished();

    const QSize label(fontMetrics().size(Qt::TextSingleLine, text()));

    int w = 20 + label.width();
    int h = label.height();
    if (!icon().isNull()) {
        w += iconSize().width() + IconPadding;
        h = qMax(h, iconSize().height());
    }
    return QSize(w, 20 + h);
}

bool QtMaterialFlatButton::event(QEvent *event)
{
    Q_D(QtMaterialFlatButton);

    if (event->type() == QEvent::EnabledChange && d->raiseMachine && d->shadowEffect) {
        if (isEnabled()) {
            if (!d->raiseMachine->isRunning())
                d->raiseMachine->start();
            d->shadowEffect->setEnabled(true);
        } else {
            d->raiseMachine->stop();
            d->shadowEffect->setEnabled(false);
        }
    }
    return QPushButton::event(event);
}

void QtMaterialFlatButton::mousePressEvent(QMouseEvent *event)
{
    Q_D(QtMaterialFlatButton);

    if (d->rippleStyle != Material::RippleOff) {
        const QPoint pos = d->rippleStyle == Material::RippleFromCentre ? rect().center()
                                                                        : event->pos();
        auto *ripple = new QtMaterialRipple(pos);
        ripple->setRadiusEndValue(d->useFixedRippleRadius ? d->fixedRippleRadius
                                                          : width() * 0.5);
        ripple->setOpacityStartValue(0.35);
        ripple->setColor(foregroundColor());
        ripple->radiusAnim()->setDuration(600);
        ripple->opacityAnim()->setDuration(1300);
        d->rippleOverlay->addRipple(ripple);
    }

    QPushButton::mousePressEvent(event);
}

void QtMaterialFlatButton::mouseReleaseEvent(QMouseEvent *event)
{
    // A click handler may delete this button.
    QPointer<QtMaterialFlatButton> self(this);
    QPushButton::mouseReleaseEvent(event);
    if (!self)
        return;

    Q_D(QtMaterialFlatButton);
    d->stateMachine->updateCheckedStatus();
}

void QtMaterialFlatButton::checkStateSet()
{
    Q_D(QtMaterialFlatButton);
    d->stateMachine->updateCheckedStatus();
    QPushButton::checkStateSet();
}

void QtMaterialFlatButton::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    updateClipPath();
}

void QtMaterialFlatButton::paintEvent(QPaintEvent *event)
{
    Q_UNUSED(event)
    Q_D(QtMaterialFlatButton);

    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);

    const qreal cr = d->cornerRadius;
    if (cr > 0) {
        QPainterPath path;
        path.addRoundedRect(rect(), cr, cr);
        painter.setClipPath(path);
        painter.setClipping(true);
    }

    paintBackground(&painter);
    if (d->haloVisible)
        paintHalo(&painter);

    painter.setOpacity(1);
    painter.setClipping(false);

    paintForeground(&painter);
}

void QtMaterialFlatButton::paintBackground(QPainter *painter)
{
    Q_D(QtMaterialFlatButton);

    const qreal overlayOpacity = d->stateMachine->overlayOpacity();
    const qreal checkedProgress = d->stateMachine->checkedOverlayProgress();

    if (d->type == Material::RaisedButton || d->type == Material::FilledButton) {
        painter->setOpacity(1);
        painter->setPen(Qt::NoPen);
        painter->setBrush(isEnabled() ? backgroundColor() : disabledBackgroundColor());
        painter->drawRect(rect());
    }

    if (!isEnabled())
        return;

    painter->setPen(Qt::NoPen);
    painter->setBrush(Qt::SolidPattern);

    if (overlayOpacity > 0 && d->overlayStyle != Material::OverlayOff) {
        painter->setOpacity(overlayOpacity);
        painter->setBrush(d->overlayStyle == Material::OverlayGray ? QColor(Qt::gray)
                                                                  : overlayColor());
        painter->drawRect(rect());
    }

    if (isCheckable() && checkedProgress > 0) {
        const qreal opacity = d->isTranparent() ? 0.45 : 0.7;
        painter->setOpacity(opacity * checkedProgress);
        painter->setBrush(foregroundColor());
        painter->drawRect(QRect(0, 0, width(), int(checkedProgress * height())));
    }
}

void QtMaterialFlatButton::paintHalo(QPainter *painter)
{
    Q_D(QtMaterialFlatButton);

    const qreal opacity = d->stateMachine->haloOpacity();
    const qreal s = d->stateMachine->haloScaleFactor() * d->stateMachine->haloSize();
    const qreal radius = s * width();

    if (!isEnabled() || opacity <= 0)
        return;

    painter->setPen(Qt::NoPen);
    painter->setBrush(foregroundColor());
    painter->setOpacity(opacity);
    painter->drawEllipse(QPointF(rect().center()), radius, radius);
}

void QtMaterialFlatButton::paintForeground(QPainter *painter)
{
    Q_D(QtMaterialFlatButton);

    QColor penColor;
    if (!isEnabled()) {
        penColor = disabledForegroundColor();
    } else {
        penColor = foregroundColor();
        const qreal p = d->stateMachine->checkedOverlayProgress();
        if (isCheckable() && p > 0) {
            const QColor source = penColor;
            const QColor target = d->isTranparent() ? QColor(Qt::white) : backgroundColor();
            if (qFuzzyCompare(p, 1)) {
                penColor = target;
            } else {
                penColor = QColor(int(source.red() * (1 - p) + target.red() * p),
                                  int(source.green() * (1 - p) + target.green() * p),
                                  int(source.blue() * (1 - p) + target.blue() * p),
                                  int(source.alpha() * (1 - p) + target.alpha() * p));
            }
        }
    }
    painter->setPen(penColor);

    if (d->type == Material::OutlinedButton && d->cornerRadius > 0) {
        QPainterPath outline;
        outline.addRoundedRect(rect(), d->cornerRadius, d->cornerRadius);
        painter->setBrush(Qt::NoBrush);
        painter->drawPath(outline);
    }

    const bool leftAligned = d->textAlignment == Qt::AlignLeft;

    if (icon().isNull()) {
        if (leftAligned)
            painter->drawText(rect().adjusted(IconPadding, 0, 0, 0),
                              Qt::AlignLeft | Qt::AlignVCenter, text());
        else
            painter->drawText(rect(), Qt::AlignCenter, text());
        return;
    }

    const QSize textSize(fontMetrics().size(Qt::TextSingleLine, text()));
    const QSize iconSz = iconSize();
    const int x = leftAligned
                      ? IconPadding
                      : (width() - textSize.width() - iconSz.width() - IconPadding) / 2;

    QRect textGeometry(QPoint(x, (height() - textSize.height()) / 2), textSize);
    QRect iconGeometry(QPoint(x, (height() - iconSz.height()) / 2), iconSz);
    if (d->iconPlacement == Material::IconBeforeText)
        textGeometry.translate(iconSz.width() + IconPadding, 0);
    else
        iconGeometry.translate(textSize.width() + IconPadding, 0);

    painter->drawText(textGeometry, Qt::AlignCenter, text());

    QPixmap pixmap = icon().pixmap(iconSz);
    {
        QPainter iconPainter(&pixmap);
        iconPainter.setCompositionMode(QPainter::CompositionMode_SourceIn);
        iconPainter.fillRect(pixmap.rect(), penColor);
    }
    painter->drawPixmap(iconGeometry, pixmap);
}

void QtMaterialFlatButton::updateClipPath()
{
    Q_D(QtMaterialFlatButton);

    const qreal radius = d->cornerRadius;
    QPainterPath path;
    path.addRoundedRect(rect(), radius, radius);
    d->rippleOverlay->setClipShape(path);
}
