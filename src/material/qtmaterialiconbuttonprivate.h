#pragma once

#include <QColor>
#include <QPointer>

class QtMaterialIconButton;
class QtMaterialRippleOverlay;

// Data and set-up of an icon button; subclasses of the button may extend it.
class QtMaterialIconButtonPrivate
{
    Q_DISABLE_COPY(QtMaterialIconButtonPrivate)
    Q_DECLARE_PUBLIC(QtMaterialIconButton)

public:
    explicit QtMaterialIconButtonPrivate(QtMaterialIconButton *q);
    virtual ~QtMaterialIconButtonPrivate();

    void init();

    bool useThemeColors = true;
    QColor color;
    QColor disabledColor;
    // Lives on the button's parent, not on the button; guarded because the parent
    // may delete it before the button.
    QPointer<QtMaterialRippleOverlay> rippleOverlay;
    QtMaterialIconButton *const q_ptr;
};
