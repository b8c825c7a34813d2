#pragma once

#include "qtmaterialtextfield.h"

#include <QColor>
#include <QString>

class QtMaterialTextFieldLabel;
class QtMaterialTextFieldStateMachine;

// Data and set-up of a text field; the auto-complete's private part extends it.
class QtMaterialTextFieldPrivate
{
    Q_DISABLE_COPY(QtMaterialTextFieldPrivate)
    Q_DECLARE_PUBLIC(QtMaterialTextField)

public:
    explicit QtMaterialTextFieldPrivate(QtMaterialTextField *q);
    virtual ~QtMaterialTextFieldPrivate();

    void init();

    QtMaterialTextField *const q_ptr;
    QtMaterialTextFieldStateMachine *stateMachine = nullptr;
    QtMaterialTextFieldLabel *label = nullptr;
    QString labelText;
    qreal labelFontSize = 9.5;
    bool showLabel = false;
    bool showInputLine = true;
    bool useThemeColors = true;
    QColor textColor;
    QColor labelColor;
    QColor inkColor;
    QColor inputLineColor;
};
