#pragma once

#include "qtmaterialcheckable.h"

class QtMaterialRadioButtonPrivate;

// A radio button: the filled dot and the empty ring swap with a short animation;
// radio buttons with the same parent exclude each other.
class QtMaterialRadioButton : public QtMaterialCheckable
{
    Q_OBJECT

public:
    explicit QtMaterialRadioButton(QWidget *parent = nullptr);
    explicit QtMaterialRadioButton(const QString &text, QWidget *parent = nullptr);
    ~QtMaterialRadioButton() override;

protected:
    void setupProperties() override;

private:
    Q_DISABLE_COPY(QtMaterialRadioButton)
    Q_DECLARE_PRIVATE(QtMaterialRadioButton)
};
