#pragma once

#include "qtmaterialflatbutton.h"

class QtMaterialFloatingActionButtonPrivate;

// A round, raised icon button that sits in a corner of its parent and follows the
// parent as it moves and resizes.
class QtMaterialFloatingActionButton : public QtMaterialFlatButton
{
    Q_OBJECT

    Q_PROPERTY(bool mini WRITE setMini READ isMini)
    Q_PROPERTY(Qt::Corner corner WRITE setCorner READ corner)
    Q_PROPERTY(QPoint offset WRITE setOffset READ offset)

public:
    explicit QtMaterialFloatingActionButton(const QIcon &icon, QWidget *parent = nullptr);
    ~QtMaterialFloatingActionButton() override;

    QSize sizeHint() const override;

    void setMini(bool state);
    bool isMini() const;

    void setCorner(Qt::Corner corner);
    Qt::Corner corner() const;

    void setOffset(int x, int y);
    void setOffset(const QPoint &offset);
    QPoint offset() const;

protected:
    bool event(QEvent *event) override;
    bool eventFilter(QObject *obj, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

    void updateClipPath() override;

private:
    Q_DISABLE_COPY(QtMaterialFloatingActionButton)
    Q_DECLARE_PRIVATE(QtMaterialFloatingActionButton)
};
