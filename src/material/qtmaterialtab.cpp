#include "qtmaterialtab.h"
#include "qtmaterialstyle.h"
#include "qtmaterialtabs.h"

#include <QPainter>

namespace {

// Text colour of the current tab.
const QColor kActiveTextColor(0xAB, 0xD2, 0x65);

} // namespace

QtMaterialTab::QtMaterialTab(QtMaterialTabs *parent)
    : QtMaterialFlatButton(parent), m_tabs(parent)
{
    setMinimumHeight(50);
    setCornerRadius(0);
    setRole(Material::PrimaryRole);
    setType(Material::FilledButton);
    setBaseOpacity(0.25);
}

QtMaterialTab::~QtMaterialTab() = default;

void QtMaterialTab::setActive(bool active)
{
    m_active = active;
    update();
}

void QtMaterialTab::setImagePath(const QString &path)
{
    m_imagePath = path;
    m_hasImage = true;
    m_image = QImage(path);
    update();
}

QSize QtMaterialTab::sizeHint() const
{
    if (icon().isNull())
        return QtMaterialFlatButton::sizeHint();

    ensurePolished();
    const QSize label = fontMetrics().size(Qt::TextSingleLine, text());
    return QSize(label.width() + 20, iconSize().height() + 46);
}

void QtMaterialTab::paintForeground(QPainter *painter)
{
    const int w = width();
    const int h = height();
    const QSize textSize = fontMetrics().size(Qt::TextSingleLine, text());
    const int tw = textSize.width();
    const int th = textSize.height();

    const QColor foreground = foregroundColor();
    painter->setPen(foreground);

    QRect textRect(qRound((w - tw) * 0.5), qRound((h - th) * 0.5), tw, th);

    if (!icon().isNull()) {
        const QSize is = iconSize();
        const QRect iconRect((w - is.width()) / 2, (h - th - is.height()) / 2, is.width(),
                             is.height());
        if (m_hasImage) {
            painter->drawImage(iconRect, m_image);
        } else {
            QPixmap pixmap = icon().pixmap(is);
            QPainter tint(&pixmap);
            tint.setCompositionMode(QPainter::CompositionMode_SourceIn);
            tint.fillRect(pixmap.rect(), foreground);
            tint.end();
            painter->drawPixmap(iconRect, pixmap);
        }
        textRect = QRect((w - tw) / 2, h - th, tw, th);
    }

    if (m_active) {
        // A crisp line along the bottom row, not smeared over two rows.
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing, false);
        painter->setPen(QtMaterialStyle::instance().themeColor(Material::AccentColor));
        painter->drawLine(0, h - 1, w - 1, h - 1);
        painter->restore();
        painter->setPen(kActiveTextColor);
    }

    painter->drawText(textRect, Qt::AlignCenter, text());

    if (!m_active) {
        painter->save();
        painter->setOpacity(0.36);
        painter->fillRect(rect(), QBrush(backgroundColor(), Qt::SolidPattern));
        painter->restore();
    }
}
