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

    useThemeColors = true;

    q->setStyle(&QtMaterialStyle::instance());

    QSizePolicy policy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    policy.setWidthForHeight(true);
    q->setSizePolicy(policy);

    rippleOverlay = new QtMaterialRippleOverlay;
    rippleOverlay->followWidget(q, &QtMaterialRippleOverlay::doubledAround);
}
