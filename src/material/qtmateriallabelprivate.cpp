#include "qtmateriallabelprivate.h"
#include "qtmateriallabel.h"
#include "qtmaterialrippleoverlay.h"
#include "qtmaterialstyle.h"

QtMaterialLabelPrivate::QtMaterialLabelPrivate(QtMaterialLabel *q)
    : q_ptr(q)
{
}

QtMaterialLabelPrivate::~QtMaterialLabelPrivate() = default;

void QtMaterialLabelPrivate::init()
{
    Q_Q(QtMaterialLabel);

    fontType = Material::Body1;
    useThemeColors = true;

    q->setStyle(&QtMaterialStyle::instance());

    QSizePolicy policy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    policy.setHeightForWidth(false);
    policy.setWidthForHeight(true);
    q->setSizePolicy(policy);

    rippleOverlay = new QtMaterialRippleOverlay;
    rippleOverlay->followWidget(q, &QtMaterialRippleOverlay::doubledAround);

    applyColors();
    q->setFont(QtMaterialStyle::instance().themeFont(fontType));
}

void QtMaterialLabelPrivate::applyColors()
{
    Q_Q(QtMaterialLabel);

    QPalette palette = q->palette();
    palette.setBrush(QPalette::All, QPalette::WindowText, QBrush(q->color(), Qt::SolidPattern));
    q->setPalette(palette);
}
