#pragma once

// The small tile of the home page's band that opens the rooms page ("Rooms").

#include "shell/dynamicwidget.h"

class HomeManagerRoomsIconItem : public DynamicWidget
{
    Q_OBJECT
public:
    explicit HomeManagerRoomsIconItem(QWidget *parent = nullptr);

    static QString text();
    static QString picture();

public slots:
    void slotsPressed();

protected:
    void paintEvent(QPaintEvent *event) override;
};
