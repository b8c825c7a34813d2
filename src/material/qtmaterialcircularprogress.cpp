#include "qtmaterialcircularprogress.h"
#include "qtmaterialcircularprogressdelegate.h"
#include "qtmaterialcircularprogressprivate.h"
#include "qtmaterialstyle.h"

#include <QPainter>
#include <QVector>

QtMaterialCircularProgress::QtMaterialCircularProgress(QWidget *parent)
    : QProgressBar(parent), d_ptr(new QtMaterialCircularProgressPrivate(this))
{
    d_func()->init();
}

QtMaterialCircularProgress::~QtMaterialCircularProgress() = default;

void QtMaterialCircularProgress::setProgressType(Material::ProgressType type)
{
    Q_D(QtMaterialCircularProgress);
    d->progressType = type;
    update();
}

Material::ProgressType QtMaterialCircularProgress::progressType() const
{
    Q_D(const QtMaterialCircularProgress);
    return d->progressType;
}

void QtMaterialCircularProgress::setUseThemeColors(bool value)
{
    Q_D(QtMaterialCircularProgress);

    if (d->useThemeColors == value)
        return;
    d->useThemeColors = value;
    update();
}

bool QtMaterialCircularProgress::useThemeColors() const
{
    Q_D(const QtMaterialCircularProgress);
    return d->useThemeColors;
}

void QtMaterialCircularProgress::setLineWidth(qreal width)
{
    Q_D(QtMaterialCircularProgress);
    d->penWidth = width;
    update();
    updateGeometry();
}

qreal QtMaterialCircularProgress::lineWidth() const
{
    Q_D(const QtMaterialCircularProgress);
    return d->penWidth;
}

void QtMaterialCircularProgress::setSize(int size)
{
    Q_D(QtMaterialCircularProgress);
    d->size = size;
    update();
    updateGeometry();
}

int QtMaterialCircularProgress::size() const
{
    Q_D(const QtMaterialCircularProgress);
    return d->size;
}

void QtMaterialCircularProgress::setColor(const QColor &color)
{
    Q_D(QtMaterialCircularProgress);
    d->color = color;
    d->useThemeColors = false;
    update();
}

QColor QtMaterialCircularProgress::color() const
{
    Q_D(const QtMaterialCircularProgress);

    if (!d->useThemeColors && d->color.isValid())
        return d->color;
    return QtMaterialStyle::instance().themeColor(Material::PrimaryColor);
}

QSize QtMaterialCircularProgress::sizeHint() const
{
    Q_D(const QtMaterialCircularProgress);
    const int s = int(d->size + d->penWidth + 8);
    return QSize(s, s);
}

void QtMaterialCircularProgress::paintEvent(QPaintEvent *event)
{
    Q_UNUSED(event)
    Q_D(QtMaterialCircularProgress);

    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);

    const int w = width();
    const int h = height();
    const int s = d->size;

    QPen pen;
    pen.setCapStyle(Qt::RoundCap);
    pen.setWidthF(d->penWidth);

    if (!isEnabled()) {
        pen.setColor(QtMaterialStyle::instance().themeColor(Material::BorderColor));
        painter.setPen(pen);
        const int cx = (w - 1) / 2;
        const int cy = (h - 1) / 2;
        painter.drawLine(cx - 20, cy - 20, cx + 20, cy + 20);
        painter.drawLine(cx + 20, cy - 20, cx - 20, cy + 20);
        return;
    }

    pen.setColor(color());

    if (d->progressType == Material::ProgressIndeterminate) {
        painter.translate(w / 2, h / 2);
        painter.rotate(d->delegate->angle());
        pen.setDashPattern(QVector<qreal>{s * d->delegate->dashLength() / 50, qreal((s * 30) / 50)});
        pen.setDashOffset(s * d->delegate->dashOffset() / 50);
        painter.setPen(pen);
        const int half = s / 2;
        painter.drawEllipse(QRect(-half, -half, 2 * half, 2 * half));
        return;
    }

    // An empty range has no share to show: no arc rather than a division by zero.
    const qint64 range = qint64(maximum()) - minimum();
    if (range == 0)
        return;
    painter.setPen(pen);
    const QRect square(int((w - s) * 0.5), int((h - s) * 0.5), s, s);
    const qreal share = qreal(qint64(value()) - minimum()) * -360 / range;
    painter.drawArc(square, 90 * 16, int(share * 16));
}
