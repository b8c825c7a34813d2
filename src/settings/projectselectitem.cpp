#include "projectselectitem.h"

#include "shell/pictures.h"

#include <QFontMetrics>
#include <QPainter>
#include <qtmaterialstyle.h>

ProjectSelectItem::ProjectSelectItem(const QString &projectName, bool current, QWidget *parent)
    : DynamicWidget(QColor(0x1F, 0x29, 0x33), parent)
    , m_projectName(projectName)
    , m_current(current)
{
    setFixedHeight(40);
    connect(this, &DynamicWidget::signalsPressed, this, &ProjectSelectItem::slotsPressed);
}

void ProjectSelectItem::slotsPressed()
{
    emit signalsProjectChanged(m_projectName);
}

void ProjectSelectItem::paintEvent(QPaintEvent *event)
{
    DynamicWidget::paintEvent(event);
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const int w = width() - 1;
    const int h = height() - 1;
    const int y = (h - 23) / 2;
    Pictures::draw(painter, QRect(20, y, 24, 24), QStringLiteral(":/myImages/png/icon-navigation-home.png"));
    if (m_current)
        Pictures::draw(painter, QRect(w - 40, y, 24, 24), QStringLiteral(":/myImages/png/selected.png"));
    painter.setPen(Qt::white);
    const QFont font = QtMaterialStyle::instance().themeFont(Material::FontType(8));
    painter.setFont(font);
    const QString text = QFontMetrics(font).elidedText(m_projectName, Qt::ElideRight, width());
    painter.drawText(QRect(60, 0, width(), height()), Qt::AlignLeft | Qt::AlignVCenter, text);
    painter.setPen(QColor(Qt::lightGray));
    painter.drawLine(0, h, w, h);
}
