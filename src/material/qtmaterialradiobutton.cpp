#include "qtmaterialradiobutton.h"
#include "qtmaterialcheckableicon.h"
#include "qtmaterialradiobuttonprivate.h"

#include <QState>

QtMaterialRadioButton::QtMaterialRadioButton(QWidget *parent)
    : QtMaterialCheckable(*new QtMaterialRadioButtonPrivate(this), parent)
{
    d_func()->init();
}

QtMaterialRadioButton::QtMaterialRadioButton(const QString &text, QWidget *parent)
    : QtMaterialRadioButton(parent)
{
    setText(text);
}

QtMaterialRadioButton::~QtMaterialRadioButton() = default;

void QtMaterialRadioButton::setupProperties()
{
    QtMaterialCheckable::setupProperties();

    Q_D(QtMaterialRadioButton);
    d->checkedState->assignProperty(d->checkedIcon, "color", checkedColor());
    d->checkedState->assignProperty(d->uncheckedIcon, "color", uncheckedColor());
    d->uncheckedState->assignProperty(d->uncheckedIcon, "color", uncheckedColor());
}
