#pragma once

// Asks where a picture should come from: a built-in one ("Select Image", style 0)
// or a file the user adds ("Add From Gallery", style 1). After an accepted exec()
// the caller reads `style`.

#include "shell/mydialog.h"

class IconStyleDlg : public MyDialog
{
    Q_OBJECT
public:
    explicit IconStyleDlg(QWidget *parent = nullptr);

    int style = 0;

public slots:
    void slotsIconStyleChanged(int style);

protected:
    void paintEvent(QPaintEvent *event) override;
};
