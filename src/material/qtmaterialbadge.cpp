#include "qtmaterialbadge.h"
#include "qtmaterialbadgeprivate.h"
#include "qtmaterialstyle.h"

#include <QFontMetrics>
#include <QPainter>

QtMaterialBadge::QtMaterialBadge(QWidget *parent)
    : QtMaterialOverlayWidget(parent), d_ptr(new QtMaterialBadgePrivate(this))
{
    d_func()->init();
}

QtMaterialBadge::QtMaterialBadge(const QIcon &icon, QWidget *parent)
    : QtMaterialOverlayWidget(parent), d_ptr(new QtMaterialBadgePrivate(this))
{
    d_func()->init();
    setIcon(icon);
}

QtMaterialBadge::QtMaterialBadge(const QString &text, QWidget *parent)
    : QtMaterialOverlayWidget(parent), d_ptr(new QtMaterialBadgePrivate(this))
{
    d_func()->init();
    setText(text);
}

QtMaterialBadge::~QtMaterialBadge() = default;

void QtMaterialBadge::setUseThemeColors(bool value)
{
    Q_D(QtMaterialBadge);

    if (d->useThemeColors == value)
        return;
    d->useThemeColors = value;
    update();
}

bool QtMaterialBadge::useThemeColors() const
{
    Q_D(const QtMaterialBadge);
    return d->useThemeColors;
}

void QtMaterialBadge::setTextColor(const QColor &color)
{
    Q_D(QtMaterialBadge);
    d->textColor = color;
    d->useThemeColors = false;
    update();
}

QColor QtMaterialBadge::textColor() const
{
    Q_D(const QtMaterialBadge);

    if (!d->useThemeColors && d->textColor.isValid())
        return d->textColor;
    return QtMaterialStyle::instance().themeColor(Material::CanvasColor);
}

void QtMaterialBadge::setBackgroundColor(const QColor &color)
{
    Q_D(QtMaterialBadge);
    d->backgroundColor = color;
    d->useThemeColors = false;
    update();
}

QColor QtMaterialBadge::backgroundColor() const
{
    Q_D(const QtMaterialBadge);

    if (!d->useThemeColors && d->backgroundColor.isValid())
        return d->backgroundColor;
    return QtMaterialStyle::instance().themeColor(Material::AccentColor);
}

void QtMaterialBadge::setRelativePosition(const QPointF &pos)
{
    Q_D(QtMaterialBadge);
    d->relativePosition = pos;
    update();
}

void QtMaterialBadge::setRelativePosition(qreal x, qreal y)
{
    setRelativePosition(QPointF(x, y));
}

QPointF QtMaterialBadge::relativePosition() const
{
    Q_D(const QtMaterialBadge);
    return d->relativePosition;
}

void QtMaterialBadge::setIcon(const QIcon &icon)
{
    Q_D(QtMaterialBadge);
    d->icon = icon;
    update();
}

QIcon QtMaterialBadge::icon() const
{
    Q_D(const QtMaterialBadge);
    return d->icon;
}

void QtMaterialBadge::setText(const QString &text)
{
    Q_D(QtMaterialBadge);

    d->text = text;
    if (!d->icon.isNull())
        d->icon = QIcon();
    d->size = QFontMetrics(font()).size(Qt::TextShowMnemonic, text);
    update();
}

QString QtMaterialBadge::text() const
{
    Q_D(const QtMaterialBadge);
    return d->text;
}

QSize QtMaterialBadge::sizeHint() const
{
    Q_D(const QtMaterialBadge);

    if (!d->icon.isNull())
        return QSize(28, 28);
    const int s = d->padding + qMax(d->size.width(), d->size.height()) + 4;
    return QSize(s, s);
}

int QtMaterialBadge::getDiameter() const
{
    Q_D(const QtMaterialBadge);

    if (!d->icon.isNull())
        return 24;
    return qMax(d->size.width(), d->size.height()) + d->padding;
}

void QtMaterialBadge::paintEvent(QPaintEvent *event)
{
    Q_UNUSED(event)
    Q_D(QtMaterialBadge);

    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(d->relativePosition);

    painter.setBrush(isEnabled() ? backgroundColor()
                                 : QtMaterialStyle::instance().themeColor(Material::DisabledColor));
    painter.setPen(Qt::NoPen);

    const int d2 = getDiameter();
    const QRectF disc((width() - d2) * 0.5, (height() - d2) * 0.5, d2, d2);
    painter.drawEllipse(disc);

    if (!d->icon.isNull()) {
        QPixmap pixmap = d->icon.pixmap(16, 16);
        if (pixmap.isNull())
            return;
        {
            QPainter tint(&pixmap);
            tint.setCompositionMode(QPainter::CompositionMode_SourceIn);
            tint.fillRect(pixmap.rect(), textColor());
        }
        const QPointF c = disc.center();
        const QPoint from(qRound(c.x() - 8), qRound(c.y() - 8));
        const QPoint to(qRound(c.x() + 8), qRound(c.y() + 8));
        painter.drawPixmap(QRect(from, QSize(to.x() - from.x(), to.y() - from.y())), pixmap);
    } else {
        painter.setPen(textColor());
        painter.setBrush(Qt::NoBrush);
        painter.drawText(disc.translated(0, -0.5), Qt::AlignCenter, d->text);
    }
}
