#include "qtmaterializerlabel.h"
#include "qtmaterialstyle.h"

#include <QEvent>
#include <QLabel>
#include <QPalette>

QtMaterializerLabel::QtMaterializerLabel(QLabel *label)
    : QObject(label), m_label(label)
{
    updateColors();
    updateFont();
    label->installEventFilter(this);
}

QtMaterializerLabel::~QtMaterializerLabel() = default;

void QtMaterializerLabel::updateColors()
{
    QPalette palette(m_label->palette());
    palette.setBrush(QPalette::All, QPalette::WindowText,
                     QBrush(QtMaterialStyle::instance().themeColor(Material::TextColor),
                            Qt::SolidPattern));
    m_label->setPalette(palette);
}

void QtMaterializerLabel::updateFont()
{
    m_label->setFont(QtMaterialStyle::instance().themeFont(Material::Body1));
}

bool QtMaterializerLabel::eventFilter(QObject *obj, QEvent *event)
{
    if (obj == m_label && event->type() == QEvent::StyleChange) {
        updateColors();
        updateFont();
    }
    return QObject::eventFilter(obj, event);
}
