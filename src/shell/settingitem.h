#pragma once

// The navigation tile of the home page and the settings hub: a picture above a
// title; a click asks for the page whose id is the title, or the page id set
// apart from it when the title is a translated text.

#include "shell/dynamicwidget.h"

#include <QSize>
#include <QString>

class SettingItem : public DynamicWidget
{
    Q_OBJECT
public:
    SettingItem(const QString &title, const QString &imagePath, int imageWidth, int imageHeight, int width,
                int height, QWidget *parent = nullptr);

    QString getTitle() const { return title; }
    QString getImagePath() const { return imagePath; }
    QSize getImageSize() const { return QSize(imageWidth, imageHeight); }
    QString getPageId() const { return pageId.isEmpty() ? title : pageId; }
    void setPageId(const QString &id) { pageId = id; }

public slots:
    void slotsPressed();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString title;
    QString imagePath;
    QString pageId;
    int imageWidth;
    int imageHeight;
};
