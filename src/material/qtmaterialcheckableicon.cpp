#include "qtmaterialcheckableicon.h"
#include "qtmaterialcheckable.h"

#include <QPainter>
#include <QPixmap>

namespace {

constexpr int PictureSize = 24;

} // namespace

QtMaterialCheckableIcon::QtMaterialCheckableIcon(const QIcon &icon, QtMaterialCheckable *parent)
    : QWidget(parent),
      m_checkable(parent),
      m_color(Qt::black),
      m_icon(icon),
      m_iconSize(24),
      m_opacity(1.0)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

QtMaterialCheckableIcon::~QtMaterialCheckableIcon() = default;

QSize QtMaterialCheckableIcon::sizeHint() const
{
    return QSize(int(m_iconSize), int(m_iconSize));
}

void QtMaterialCheckableIcon::setIcon(const QIcon &icon)
{
    m_icon = icon;
    update();
}

void QtMaterialCheckableIcon::setColor(const QColor &color)
{
    m_color = color;
    update();
}

void QtMaterialCheckableIcon::setIconSize(qreal size)
{
    m_iconSize = size;
    update();
}

void QtMaterialCheckableIcon::setOpacity(qreal opacity)
{
    m_opacity = opacity;
    update();
}

void QtMaterialCheckableIcon::paintEvent(QPaintEvent *event)
{
    Q_UNUSED(event)

    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.setOpacity(m_opacity);

    QPixmap pixmap = m_icon.pixmap(PictureSize, PictureSize, QIcon::Normal, QIcon::Off);
    if (pixmap.isNull())
        return;

    const qreal p = (height() - m_iconSize) / 2;
    const qreal z = m_iconSize / PictureSize;

    if (m_checkable->labelPosition() == QtMaterialCheckable::LabelOnRight)
        painter.translate(p, p);
    else
        painter.translate(width() + p - 42, p);
    painter.scale(z, z);

    {
        QPainter tint(&pixmap);
        tint.setCompositionMode(QPainter::CompositionMode_SourceIn);
        tint.fillRect(pixmap.rect(), m_color);
    }
    painter.drawPixmap(0, 0, pixmap);
}
