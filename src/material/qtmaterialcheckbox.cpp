#include "qtmaterialcheckbox.h"
#include "qtmaterialcheckboxprivate.h"

QtMaterialCheckBox::QtMaterialCheckBox(QWidget *parent)
    : QtMaterialCheckable(*new QtMaterialCheckBoxPrivate(this), parent)
{
    d_func()->init();
}

QtMaterialCheckBox::QtMaterialCheckBox(const QString &text, QWidget *parent)
    : QtMaterialCheckBox(parent)
{
    setText(text);
}

QtMaterialCheckBox::~QtMaterialCheckBox() = default;
