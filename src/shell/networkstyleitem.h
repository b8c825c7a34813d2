#pragma once

// One 40-pixel row of the network-style chooser, ticked when it is the current
// style.

#include "shell/dynamicwidget.h"
#include "store/globals.h"

class NetworkStyleItem : public DynamicWidget
{
    Q_OBJECT
public:
    NetworkStyleItem(NetStyle style, bool selected, QWidget *parent = nullptr);

    NetStyle getStyle() const { return style; }
    bool isSelected() const { return selected; }
    static QString iconPath(int style);
    static QString text(int style);

signals:
    void signalsNetworkChanged(NetStyle _netStyle);

public slots:
    void slotsPressed();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    NetStyle style;
    bool selected;
};
