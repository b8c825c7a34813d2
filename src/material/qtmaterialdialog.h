#pragma once

#include "qtmaterialoverlaywidget.h"

#include <QScopedPointer>

class QLayout;
class QtMaterialDialogPrivate;

// An in-window modal card: when shown, the parent darkens and a white card with a
// soft shadow slides into the centre while fading in; when hidden it slides back
// and fades out. The caller puts the card's content in with setWindowLayout().
class QtMaterialDialog : public QtMaterialOverlayWidget
{
    Q_OBJECT

public:
    // Milliseconds of the show and hide transitions.
    static constexpr int TransitionDuration = 280;

    explicit QtMaterialDialog(QWidget *parent = nullptr);
    ~QtMaterialDialog() override;

    QLayout *windowLayout() const;
    void setWindowLayout(QLayout *layout);

public slots:
    void showDialog();
    void hideDialog();

protected:
    void paintEvent(QPaintEvent *event) override;

    const QScopedPointer<QtMaterialDialogPrivate> d_ptr;

private:
    Q_DISABLE_COPY(QtMaterialDialog)
    Q_DECLARE_PRIVATE(QtMaterialDialog)
};
