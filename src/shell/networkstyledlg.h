#pragma once

// Chooses the network style: "Local Network", "Cloud Server", "DNS Server", the
// current one ticked. Calling order: construct, set `netStyle`, initDlgCtrl(),
// exec(); after an accepted exec() `netStyle` holds the chosen style.

#include "shell/mydialog.h"
#include "store/globals.h"

class QtMaterialGroupBox;

class NetworkStyleDlg : public MyDialog
{
    Q_OBJECT
public:
    explicit NetworkStyleDlg(QWidget *parent = nullptr);

    void initDlgCtrl();
    QtMaterialGroupBox *rowBox() const { return groupBox; }

    NetStyle netStyle = NetStyleLocalNetwork;

public slots:
    void slotsNetworkChanged(NetStyle netStyle);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QtMaterialGroupBox *groupBox;
};
