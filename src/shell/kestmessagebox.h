#pragma once

// The modal message box: a text with "Ok", or "Ok" and "Cancel". Only "Ok"
// accepts; the close icon and "Cancel" reject.

#include "shell/mydialog.h"

enum kestMessageBoxType {
    KestMessageBoxOk = 0,       // "Ok"
    KestMessageBoxOkCancel = 1, // "Ok", "Cancel"
    KestMessageBoxCancelOk = 2  // "Cancel", "Ok"
};

class KestMessageBox : public MyDialog
{
    Q_OBJECT
public:
    KestMessageBox(const QString &text, int width, int height, int type, QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
};
