#pragma once

// Base of the device tabs of a room page: the dark background and startRefresh().

#include <QWidget>

class MyWidget : public QWidget
{
    Q_OBJECT
public:
    explicit MyWidget(QWidget *parent = nullptr);

    // Starts the tab's device polling; empty here.
    virtual void startRefresh();
};
