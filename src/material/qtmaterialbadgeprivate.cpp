#include "qtmaterialbadgeprivate.h"
#include "qtmaterialbadge.h"

QtMaterialBadgePrivate::QtMaterialBadgePrivate(QtMaterialBadge *q)
    : q_ptr(q)
{
}

QtMaterialBadgePrivate::~QtMaterialBadgePrivate() = default;

void QtMaterialBadgePrivate::init()
{
    Q_Q(QtMaterialBadge);

    padding = 10;
    useThemeColors = true;

    q->setAttribute(Qt::WA_TransparentForMouseEvents);

    QFont font(q->font());
    font.setPointSize(10);
    font.setStyleName(QStringLiteral("Bold"));
    q->setFont(font);

    q->setText(QStringLiteral("+1"));
}
