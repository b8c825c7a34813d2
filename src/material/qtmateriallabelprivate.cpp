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

    rippleOverlay = new QtMaterialRippleOverlay(q->parentWidget());
    rippleOverlay->installEventFilter(q);

    q->setStyle(&QtMaterialStyle::instance());

    QSizePolicy policy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    policy.setHeightForWidth(false);
    policy.setWidthForHeight(true);
    q->setSizePolicy(policy);

    if (q->parentWidget())
        rippleOverlay->show();

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

QRect QtMaterialLabelPrivate::rippleGeometry() const
{
    Q_Q(const QtMaterialLabel);

    // Twice the label's size, centred on it, so the ripple may spread beyond it.
    const QRect g = q->geometry();
    QRect r(0, 0, 2 * g.width(), 2 * g.height());
    r.moveCenter(g.center());
    return r;
}

void QtMaterialLabelPrivate::updateRipple()
{
    if (rippleOverlay)
        rippleOverlay->setGeometry(rippleGeometry());
}
