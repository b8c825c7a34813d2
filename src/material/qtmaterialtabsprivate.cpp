#include "qtmaterialtabsprivate.h"
#include "qtmaterialcanvas.h"
#include "qtmaterialgroupbox.h"
#include "qtmaterialstyle.h"
#include "qtmaterialtab.h"
#include "qtmaterialtabs.h"

#include <QLayout>
#include <QVBoxLayout>

namespace {

const QColor kBarColor(0x1F, 0x29, 0x33);

} // namespace

QtMaterialTabsPrivate::QtMaterialTabsPrivate(QtMaterialTabs *q)
    : q_ptr(q)
{
}

QtMaterialTabsPrivate::~QtMaterialTabsPrivate() = default;

void QtMaterialTabsPrivate::init()
{
    Q_Q(QtMaterialTabs);

    rippleStyle = Material::RippleFromCentre;
    currentIndex = -1;
    haloVisible = false;
    useThemeColors = true;
    iconSize = QSize(48, 48);

    q->setStyle(&QtMaterialStyle::instance());
    q->setFont(QtMaterialStyle::instance().themeFont(Material::ButtonText));

    q->setAutoFillBackground(true);
    QPalette palette;
    palette.setBrush(QPalette::All, QPalette::Window, QBrush(kBarColor, Qt::SolidPattern));
    q->setPalette(palette);

    tabCount = 0;
    tabBox = new QtMaterialGroupBox(QString(), nullptr);
    tabBox->setStyleSheet(QStringLiteral("QGroupBox{border:none;}"));

    auto *canvas = new QtMaterialCanvas(Qt::Horizontal, q);
    canvas->setBackgroundColor(kBarColor);
    canvas->setWidget(tabBox);
    canvas->setWidgetResizable(true);

    auto *layout = new QVBoxLayout;
    layout->setSizeConstraint(QLayout::SetNoConstraint);
    layout->setSpacing(0);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(canvas);
    q->setLayout(layout);

    q->setFixedHeight(100);
}

QtMaterialTab *QtMaterialTabsPrivate::tabAt(int index) const
{
    QLayout *layout = tabBox->layout();
    if (!layout || index < 0 || index >= layout->count())
        return nullptr;
    QLayoutItem *item = layout->itemAt(index);
    return item ? qobject_cast<QtMaterialTab *>(item->widget()) : nullptr;
}
