#pragma once

// One 40-pixel row of the picture-source chooser: "Select Image" (style 0) or
// "Add From Gallery" (style 1).

#include "shell/dynamicwidget.h"

class IconStyleItem : public DynamicWidget
{
    Q_OBJECT
public:
    IconStyleItem(int style, QWidget *parent = nullptr);

    int getStyle() const { return style; }
    static QString iconPath(int style);
    static QString text(int style);

signals:
    void signalsIconStyleChanged(int style);

public slots:
    void slotsPressed();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    int style;
};
