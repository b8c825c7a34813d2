#pragma once

// The navigation tile of the home page and the settings hub: a picture above a
// title; a click asks for the page whose id is the title.

#include "shell/dynamicwidget.h"

#include <QString>

class SettingItem : public DynamicWidget
{
    Q_OBJECT
public:
    SettingItem(const QString &title, const QString &imagePath, int imageWidth, int imageHeight, int width,
                int height, QWidget *parent = nullptr);

    QString getTitle() const { return title; }
    QString getImagePath() const { return imagePath; }

public slots:
    void slotsPressed();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString title;
    QString imagePath;
    int imageWidth;
    int imageHeight;
};
