#include "qtmaterialappbarprivate.h"
#include "qtmaterialappbar.h"
#include "qtmaterialappbarlayout.h"
#include "qtmaterialiconbutton.h"
#include "qtmateriallabel.h"
#include "qtmaterialtheme.h"

QtMaterialAppBarPrivate::QtMaterialAppBarPrivate(QtMaterialAppBar *q)
    : q_ptr(q)
{
}

QtMaterialAppBarPrivate::~QtMaterialAppBarPrivate() = default;

void QtMaterialAppBarPrivate::init()
{
    Q_Q(QtMaterialAppBar);

    navIconType = Material::NavIconNone;
    navButton = nullptr;
    titleLabel = new QtMaterialLabel(q);
    titleLabel->setFontType(Material::Headline3);
    titleLabel->setContentsMargins(6, 0, 0, 0);

    iconSize = QSize(48, 48);
    useThemeColors = true;

    layout = new QtMaterialAppBarLayout(q);
    layout->setTitleLabel(titleLabel);
    q->setLayout(layout);

    titleLabel->setColor(q->foregroundColor());
    layout->updateButtons();
}

void QtMaterialAppBarPrivate::setNavIconType(Material::NavIconType type)
{
    Q_Q(QtMaterialAppBar);

    if (type != Material::NavIconNone && !navButton) {
        navButton = new QtMaterialIconButton(QIcon(), q);
        navButton->setIconSize(iconSize);
        navButton->setColor(q->foregroundColor());
        layout->setNavButton(navButton);
        QObject::connect(navButton, &QAbstractButton::clicked, q, &QtMaterialAppBar::navIconClicked);
    }

    const QString navigation = QStringLiteral("navigation");
    switch (type) {
    case Material::NavIconNone:
        if (navButton) {
            layout->setNavButton(nullptr);
            navButton->hide();
            delete navButton;
            navButton = nullptr;
        }
        break;
    case Material::NavIconMenu:
        navButton->setIcon(QtMaterialTheme::icon(navigation, QStringLiteral("menu")));
        break;
    case Material::NavIconBack:
        navButton->setIcon(QtMaterialTheme::icon(navigation, QStringLiteral("arrow_back")));
        break;
    case Material::NavIconExpand:
        navButton->setIcon(QtMaterialTheme::icon(navigation, QStringLiteral("expand_less")));
        break;
    }
    navIconType = type;
}

void QtMaterialAppBarPrivate::updateChildrenColor()
{
    Q_Q(QtMaterialAppBar);
    titleLabel->setColor(q->foregroundColor());
    layout->updateButtons();
}

void QtMaterialAppBarPrivate::setIconSize(const QSize &size)
{
    iconSize = size;
    layout->updateButtons();
    layout->invalidate();
}
