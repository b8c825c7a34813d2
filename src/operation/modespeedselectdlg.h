#pragma once

// The modal chooser of an air conditioner's mode or fan speed: a narrow frameless
// dialog with a column of four captioned tiles. Calling order: construct without
// a parent, set `kind` (0 modes, 1 fan speeds), initDlgCtrl(), exec(). A result
// of 1 means that `value` holds the pressed tile's value; 0 that the dialog was
// closed without a choice. All four values are always offered.

#include "shell/mydialog.h"

class QtMaterialGroupBox;

class ModeSpeedSelectDlg : public MyDialog
{
    Q_OBJECT
public:
    static constexpr int DialogWidth = 120;
    static constexpr int DialogHeight = 400;

    explicit ModeSpeedSelectDlg(QWidget *parent = nullptr);
    ~ModeSpeedSelectDlg() override;

    // Fills the column according to `kind`.
    void initDlgCtrl();
    QtMaterialGroupBox *tileBox() const { return groupBox; }

    int value = 0;
    int kind = 0;

private slots:
    void slotsEdit(int value);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QtMaterialGroupBox *groupBox = nullptr;
};
