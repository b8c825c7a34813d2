#pragma once

// The small tile of the home page's band that opens the 3-D view pages ("3D View").

#include "shell/dynamicwidget.h"

class HomeManager3DViewIconItem : public DynamicWidget
{
    Q_OBJECT
public:
    explicit HomeManager3DViewIconItem(QWidget *parent = nullptr);

    static QString text();
    static QString picture();

public slots:
    void slotsPressed();

protected:
    void paintEvent(QPaintEvent *event) override;
};
