#include "qtmaterialgroupboxprivate.h"
#include "qtmaterialgroupbox.h"
#include "qtmaterialstyle.h"

QtMaterialGroupBoxPrivate::QtMaterialGroupBoxPrivate(QtMaterialGroupBox *q)
    : q_ptr(q)
{
}

QtMaterialGroupBoxPrivate::~QtMaterialGroupBoxPrivate() = default;

void QtMaterialGroupBoxPrivate::init()
{
    Q_Q(QtMaterialGroupBox);

    fontType = Material::Body1;
    useThemeColors = true;
    applyColors();
    q->setFont(QtMaterialStyle::instance().themeFont(fontType));
}

void QtMaterialGroupBoxPrivate::applyColors()
{
    Q_Q(QtMaterialGroupBox);

    QPalette palette = q->palette();
    palette.setBrush(QPalette::All, QPalette::WindowText, QBrush(q->color(), Qt::SolidPattern));
    q->setPalette(palette);
}
