#include "qtmaterialiconbuttonprivate.h"
#include "qtmaterialiconbutton.h"
#include "qtmaterialrippleoverlay.h"
#include "qtmaterialstyle.h"

QtMaterialIconButtonPrivate::QtMaterialIconButtonPrivate(QtMaterialIconButton *q)
    : q_ptr(q)
{
}

QtMaterialIconButtonPrivate::~QtMaterialIconButtonPrivate() = default;

void QtMaterialIconButtonPrivate::init()
{
    Q_Q(QtMaterialIconButton);

    rippleOverlay = new QtMaterialRippleOverlay(q->parentWidget());
    useThemeColors = true;
    rippleOverlay->installEventFilter(q);

    q->setStyle(&QtMaterialStyle::instance());

    QSizePolicy policy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    policy.setWidthForHeight(true);
    q->setSizePolicy(policy);

    if (q->parentWidget())
        rippleOverlay->show();
}

void QtMaterialIconButtonPrivate::updateRipple()
{
    Q_Q(QtMaterialIconButton);

    if (!rippleOverlay)
        return;
    QRect r(q->geometry());
    r.setSize(QSize(q->width() * 2, q->height() * 2));
    r.translate(-q->width() / 2, -q->height() / 2);
    rippleOverlay->setGeometry(r);
}
