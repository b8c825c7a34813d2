#include "qtmaterialsnackbar.h"
#include "qtmaterialsnackbarprivate.h"
#include "qtmaterialsnackbarstatemachine.h"
#include "qtmaterialstatetransitionevent.h"
#include "qtmaterialstyle.h"

#include <QPainter>

namespace {

// Height of the text area before the text wraps onto more lines.
constexpr int MinTextHeight = 40;

} // namespace

QtMaterialSnackbar::QtMaterialSnackbar(QWidget *parent)
    : QtMaterialOverlayWidget(parent), d_ptr(new QtMaterialSnackbarPrivate(this))
{
    d_func()->init();
}

QtMaterialSnackbar::~QtMaterialSnackbar()
{
    Q_D(QtMaterialSnackbar);

    // The machine filters this widget's events and repaints it; it goes first.
    delete d->stateMachine;
    d->stateMachine = nullptr;
}

void QtMaterialSnackbar::setAutoHideDuration(int duration)
{
    Q_D(QtMaterialSnackbar);
    d->autoHideDuration = duration;
}

int QtMaterialSnackbar::autoHideDuration() const
{
    Q_D(const QtMaterialSnackbar);
    return d->autoHideDuration;
}

void QtMaterialSnackbar::setUseThemeColors(bool value)
{
    Q_D(QtMaterialSnackbar);

    if (d->useThemeColors == value)
        return;
    d->useThemeColors = value;
    update();
}

bool QtMaterialSnackbar::useThemeColors() const
{
    Q_D(const QtMaterialSnackbar);
    return d->useThemeColors;
}

void QtMaterialSnackbar::setBackgroundColor(const QColor &color)
{
    Q_D(QtMaterialSnackbar);
    d->backgroundColor = color;
    d->useThemeColors = false;
    update();
}

QColor QtMaterialSnackbar::backgroundColor() const
{
    Q_D(const QtMaterialSnackbar);

    if (!d->useThemeColors && d->backgroundColor.isValid())
        return d->backgroundColor;
    return QtMaterialStyle::instance().themeColor(Material::TextColor);
}

void QtMaterialSnackbar::setBackgroundOpacity(qreal opacity)
{
    Q_D(QtMaterialSnackbar);
    d->backgroundOpacity = opacity;
    update();
}

qreal QtMaterialSnackbar::backgroundOpacity() const
{
    Q_D(const QtMaterialSnackbar);
    return d->backgroundOpacity;
}

void QtMaterialSnackbar::setTextColor(const QColor &color)
{
    Q_D(QtMaterialSnackbar);
    d->textColor = color;
    d->useThemeColors = false;
    update();
}

QColor QtMaterialSnackbar::textColor() const
{
    Q_D(const QtMaterialSnackbar);

    if (!d->useThemeColors && d->textColor.isValid())
        return d->textColor;
    return QtMaterialStyle::instance().themeColor(Material::CanvasColor);
}

void QtMaterialSnackbar::setFontSize(qreal size)
{
    QFont f(font());
    f.setPointSizeF(size);
    setFont(f);
    update();
}

qreal QtMaterialSnackbar::fontSize() const
{
    return font().pointSizeF();
}

void QtMaterialSnackbar::setBoxWidth(int width)
{
    Q_D(QtMaterialSnackbar);
    d->boxWidth = width;
    update();
}

int QtMaterialSnackbar::boxWidth() const
{
    Q_D(const QtMaterialSnackbar);
    return d->boxWidth;
}

void QtMaterialSnackbar::setClickToDismissMode(bool value)
{
    Q_D(QtMaterialSnackbar);
    d->clickToDismiss = value;
}

bool QtMaterialSnackbar::clickToDismissMode() const
{
    Q_D(const QtMaterialSnackbar);
    return d->clickToDismiss;
}

void QtMaterialSnackbar::setCenter(bool value)
{
    Q_D(QtMaterialSnackbar);
    d->center = value;
    update();
}

QStringList QtMaterialSnackbar::messages() const
{
    Q_D(const QtMaterialSnackbar);
    return d->messages;
}

void QtMaterialSnackbar::addMessage(const QString &message)
{
    Q_D(QtMaterialSnackbar);

    d->messages.push_back(message);
    d->stateMachine->postEvent(new QtMaterialStateTransitionEvent(KindSnackbarShow));
    raise();
}

void QtMaterialSnackbar::addInstantMessage(const QString &message)
{
    Q_D(QtMaterialSnackbar);

    // Right behind the message on screen, which is then hidden at once.
    if (d->messages.isEmpty())
        d->messages.push_back(message);
    else
        d->messages.insert(1, message);
    d->stateMachine->progress();
}

void QtMaterialSnackbar::dequeue()
{
    Q_D(QtMaterialSnackbar);

    if (d->messages.isEmpty())
        return;
    d->messages.removeFirst();
    d->stateMachine->postEvent(new QtMaterialStateTransitionEvent(
        d->messages.isEmpty() ? KindSnackbarWait : KindSnackbarNext));
}

void QtMaterialSnackbar::paintEvent(QPaintEvent *event)
{
    Q_UNUSED(event)
    Q_D(QtMaterialSnackbar);

    if (d->messages.isEmpty())
        return;

    const QString message = d->messages.first();
    const int w = width();
    const int h = height();

    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);

    QBrush brush;
    brush.setStyle(Qt::SolidPattern);
    brush.setColor(backgroundColor());
    painter.setBrush(brush);
    painter.setOpacity(d->backgroundOpacity);

    QRect r(0, 0, d->boxWidth, MinTextHeight);
    if (d->center)
        r.moveTop(-((h - MinTextHeight) / 2));

    const int flags = Qt::AlignHCenter | Qt::AlignVCenter | Qt::TextWordWrap;
    QRect br = painter.boundingRect(r, flags, message);
    r = br.united(r).adjusted(-10, -10, 10, 20);

    const qreal s = 1 - d->stateMachine->offset();
    painter.translate((w - (r.width() - 20)) / 2, (h + 10) - s * r.height());

    br.moveCenter(r.center());

    painter.setPen(Qt::NoPen);
    painter.drawRoundedRect(r.adjusted(0, 0, 0, 3), 3, 3);

    painter.setPen(textColor());
    painter.drawText(br, flags, message);
}
