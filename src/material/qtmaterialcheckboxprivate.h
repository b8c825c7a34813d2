#pragma once

#include "qtmaterialcheckableprivate.h"
#include "qtmaterialcheckbox.h"

// The check box's additions to a checkable: icon sizes per state and the
// animations of its two toggle transitions.
class QtMaterialCheckBoxPrivate : public QtMaterialCheckablePrivate
{
    Q_DISABLE_COPY(QtMaterialCheckBoxPrivate)
    Q_DECLARE_PUBLIC(QtMaterialCheckBox)

public:
    explicit QtMaterialCheckBoxPrivate(QtMaterialCheckBox *q);
    ~QtMaterialCheckBoxPrivate() override;

    void init();
};
