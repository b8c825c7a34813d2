#pragma once

#include "qtmaterialoverlaywidget.h"

#include <QScopedPointer>

class QLayout;
class QtMaterialDrawerPrivate;

// A side panel that slides in from the left edge over its parent, optionally
// darkening the rest of the parent, and slides out again.
class QtMaterialDrawer : public QtMaterialOverlayWidget
{
    Q_OBJECT

    Q_PROPERTY(bool clickOutsideToClose WRITE setClickOutsideToClose READ clickOutsideToClose)
    Q_PROPERTY(bool autoRaise WRITE setAutoRaise READ autoRaise)
    Q_PROPERTY(bool overlayMode WRITE setOverlayMode READ overlayMode)

public:
    explicit QtMaterialDrawer(QWidget *parent = nullptr);
    ~QtMaterialDrawer() override;

    void setDrawerWidth(int width);
    int drawerWidth() const;

    void setDrawerLayout(QLayout *layout);
    QLayout *drawerLayout() const;

    void setClickOutsideToClose(bool state);
    bool clickOutsideToClose() const;

    void setAutoRaise(bool state);
    bool autoRaise() const;

    void setOverlayMode(bool value);
    bool overlayMode() const;

public slots:
    void openDrawer();
    void closeDrawer();

protected:
    bool event(QEvent *event) override;
    bool eventFilter(QObject *obj, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

    const QScopedPointer<QtMaterialDrawerPrivate> d_ptr;

private:
    Q_DISABLE_COPY(QtMaterialDrawer)
    Q_DECLARE_PRIVATE(QtMaterialDrawer)
};
