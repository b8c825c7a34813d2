#include "qtmaterialbuttonlistprivate.h"
#include "qtmaterialbuttonlist.h"
#include "qtmaterialflatbutton.h"

QtMaterialButtonListPrivate::QtMaterialButtonListPrivate(QtMaterialButtonList *q)
    : q_ptr(q)
{
}

QtMaterialButtonListPrivate::~QtMaterialButtonListPrivate() = default;

QtMaterialFlatButton *QtMaterialButtonListPrivate::createButton(const QIcon &icon,
                                                                const QString &text)
{
    Q_Q(QtMaterialButtonList);

    auto *button = new QtMaterialFlatButton(text, Material::TextDefault, q);
    button->setFont(q->font());
    button->setTextAlignment(Qt::AlignLeft);
    button->setIcon(icon);
    button->setCornerRadius(0);
    button->setHaloVisible(false);
    button->setFixedHeight(RowHeight);
    button->setOverlayStyle(Material::OverlayTinted);
    button->raise();
    button->show();
    return button;
}
