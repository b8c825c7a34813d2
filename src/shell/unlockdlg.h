#pragma once

// Asks for the lock password; accepts only when it matches gl_lockPassword.

#include "shell/mydialog.h"

class QtMaterialLineEdit;

class UnlockDlg : public MyDialog
{
    Q_OBJECT
public:
    explicit UnlockDlg(QWidget *parent = nullptr);

    QtMaterialLineEdit *passwordField() const { return lineEditPassword; }

public slots:
    void pushButtonOk_clicked();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QtMaterialLineEdit *lineEditPassword = nullptr;
};
