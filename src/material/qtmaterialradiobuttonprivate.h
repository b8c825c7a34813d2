#pragma once

#include "qtmaterialcheckableprivate.h"
#include "qtmaterialradiobutton.h"

// The radio button's additions to a checkable: its icons, icon sizes per state and
// the animations that run on every transition.
class QtMaterialRadioButtonPrivate : public QtMaterialCheckablePrivate
{
    Q_DISABLE_COPY(QtMaterialRadioButtonPrivate)
    Q_DECLARE_PUBLIC(QtMaterialRadioButton)

public:
    explicit QtMaterialRadioButtonPrivate(QtMaterialRadioButton *q);
    ~QtMaterialRadioButtonPrivate() override;

    void init();
};
