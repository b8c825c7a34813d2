#pragma once

#include "qtmaterialcheckable.h"

class QtMaterialCheckBoxPrivate;

// A check box: the check mark grows into the box when checked and shrinks away
// when unchecked, while the empty outline fades.
class QtMaterialCheckBox : public QtMaterialCheckable
{
    Q_OBJECT

public:
    explicit QtMaterialCheckBox(QWidget *parent = nullptr);
    explicit QtMaterialCheckBox(const QString &text, QWidget *parent = nullptr);
    ~QtMaterialCheckBox() override;

private:
    Q_DISABLE_COPY(QtMaterialCheckBox)
    Q_DECLARE_PRIVATE(QtMaterialCheckBox)
};
