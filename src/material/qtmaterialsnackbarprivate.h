#pragma once

#include <QColor>
#include <QStringList>

class QtMaterialSnackbar;
class QtMaterialSnackbarStateMachine;

// Data and set-up of a snackbar.
class QtMaterialSnackbarPrivate
{
    Q_DISABLE_COPY(QtMaterialSnackbarPrivate)
    Q_DECLARE_PUBLIC(QtMaterialSnackbar)

public:
    explicit QtMaterialSnackbarPrivate(QtMaterialSnackbar *q);
    virtual ~QtMaterialSnackbarPrivate();

    void init();

    QtMaterialSnackbar *const q_ptr;
    QtMaterialSnackbarStateMachine *stateMachine = nullptr;
    QColor backgroundColor;
    QColor textColor;
    qreal backgroundOpacity = 0.9;
    QStringList messages;
    int autoHideDuration = 500;
    int boxWidth = 300;
    bool center = true;
    bool clickToDismiss = false;
    bool useThemeColors = true;
};
