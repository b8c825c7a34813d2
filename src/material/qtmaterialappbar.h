#pragma once

#include "material.h"

#include <QColor>
#include <QScopedPointer>
#include <QWidget>

class QtMaterialAppBarPrivate;

// A top bar: an optional navigation icon at the left, a title, and up to three
// action icon buttons at the right, one square cell high, on a filled background.
// Actions are added with QWidget::addAction; each becomes a button that triggers it.
class QtMaterialAppBar : public QWidget
{
    Q_OBJECT

    Q_PROPERTY(QString title WRITE setTitle READ title)
    Q_PROPERTY(Material::NavIconType navIconType WRITE setNavIconType READ navIconType)
    Q_PROPERTY(QSize iconSize WRITE setIconSize READ iconSize)
    Q_PROPERTY(QColor foregroundColor WRITE setForegroundColor READ foregroundColor)
    Q_PROPERTY(QColor backgroundColor WRITE setBackgroundColor READ backgroundColor)

public:
    explicit QtMaterialAppBar(QWidget *parent = nullptr);
    explicit QtMaterialAppBar(const QString &title, QWidget *parent = nullptr);
    ~QtMaterialAppBar() override;

    void setTitle(const QString &title);
    QString title() const;

    void setNavIconType(Material::NavIconType type);
    Material::NavIconType navIconType() const;

    void setIconSize(const QSize &size);
    void setIconSize(int w, int h);
    QSize iconSize() const;

    void setUseThemeColors(bool value);
    bool useThemeColors() const;

    void setForegroundColor(const QColor &color);
    QColor foregroundColor() const;

    void setBackgroundColor(const QColor &color);
    QColor backgroundColor() const;

signals:
    void navIconClicked();

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void actionEvent(QActionEvent *event) override;

    const QScopedPointer<QtMaterialAppBarPrivate> d_ptr;

private:
    Q_DISABLE_COPY(QtMaterialAppBar)
    Q_DECLARE_PRIVATE(QtMaterialAppBar)
};
