#pragma once

#include "material.h"

#include <QColor>
#include <QtGlobal>

class QGraphicsDropShadowEffect;
class QState;
class QStateMachine;
class QtMaterialFlatButton;
class QtMaterialFlatButtonStateMachine;
class QtMaterialRippleOverlay;

// Data and set-up of a flat button; subclasses of the button may extend it.
class QtMaterialFlatButtonPrivate
{
    Q_DISABLE_COPY(QtMaterialFlatButtonPrivate)
    Q_DECLARE_PUBLIC(QtMaterialFlatButton)

public:
    explicit QtMaterialFlatButtonPrivate(QtMaterialFlatButton *q);
    virtual ~QtMaterialFlatButtonPrivate();

    void init();
    void initRaiseEffect();
    void removeRaiseEffect();
    bool isTranparent() const;

    QtMaterialFlatButton *const q_ptr;
    QtMaterialRippleOverlay *rippleOverlay = nullptr;
    QtMaterialFlatButtonStateMachine *stateMachine = nullptr;
    QStateMachine *raiseMachine = nullptr;
    QState *raiseNormalState = nullptr;
    QState *raisePressedState = nullptr;
    QGraphicsDropShadowEffect *shadowEffect = nullptr;
    Material::Role role = Material::DefaultRole;
    Material::ButtonType type = Material::TextButton;
    Material::RippleStyle rippleStyle = Material::RippleFromPress;
    Material::ButtonIconPlacement iconPlacement = Material::IconBeforeText;
    Material::OverlayStyle overlayStyle = Material::OverlayOff;
    Qt::Alignment textAlignment = Qt::AlignHCenter;
    QColor backgroundColor;
    QColor foregroundColor;
    QColor overlayColor;
    QColor disabledForegroundColor;
    QColor disabledBackgroundColor;
    qreal fixedRippleRadius = 64;
    qreal cornerRadius = 3;
    qreal baseOpacity = 0.13;
    qreal fontSize = 0;
    bool useThemeColors = true;
    bool useFixedRippleRadius = false;
    bool haloVisible = false;
};
