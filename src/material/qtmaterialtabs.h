#pragma once

#include "material.h"

#include <QColor>
#include <QIcon>
#include <QScopedPointer>
#include <QSize>
#include <QWidget>

class QtMaterialTabsPrivate;

// The tab bar of the room pages and editors: a dark strip holding a row of tabs,
// each a picture above a text, that scrolls sideways when wider than the window.
// It marks one tab as current and tells which through currentChanged().
class QtMaterialTabs : public QWidget
{
    Q_OBJECT

    Q_PROPERTY(int currentIndex WRITE setCurrentIndex READ currentIndex NOTIFY currentChanged)
    Q_PROPERTY(int count READ count)
    Q_PROPERTY(QSize iconSize WRITE setIconSize READ iconSize)
    Q_PROPERTY(QColor inkColor WRITE setInkColor READ inkColor)
    Q_PROPERTY(QColor backgroundColor WRITE setBackgroundColor READ backgroundColor)
    Q_PROPERTY(QColor textColor WRITE setTextColor READ textColor)

public:
    explicit QtMaterialTabs(QWidget *parent = nullptr);
    ~QtMaterialTabs() override;

    void setUseThemeColors(bool value);
    bool useThemeColors() const;

    void setHaloVisible(bool value);
    bool isHaloVisible() const;

    void setRippleStyle(Material::RippleStyle style);
    Material::RippleStyle rippleStyle() const;

    void setIconSize(const QSize &size);
    void setIconSize(int width, int height);
    QSize iconSize() const;

    void setInkColor(const QColor &color);
    QColor inkColor() const;

    void setBackgroundColor(const QColor &color);
    QColor backgroundColor() const;

    void setTextColor(const QColor &color);
    QColor textColor() const;

    void addTab(const QString &iconPath, const QString &text);
    void addTab(const QString &text);
    void addTab(const QIcon &icon, const QString &text, QString imagePath);

    void setCurrentIndex(int index);
    int currentIndex() const;

    void setTabActive(int index, bool active);

    int count() const;

    QString tabText(int index) const;
    void setTabText(int index, const QString &text);

    QIcon tabIcon(int index) const;
    void setTabIcon(int index, const QIcon &icon);

    void clear();

signals:
    void currentChanged(int index);

protected:
    void updateTabs();

    const QScopedPointer<QtMaterialTabsPrivate> d_ptr;

private:
    Q_DISABLE_COPY(QtMaterialTabs)
    Q_DECLARE_PRIVATE(QtMaterialTabs)
};
