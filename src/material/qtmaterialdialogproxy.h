#pragma once

#include <QWidget>

class QStackedLayout;
class QtMaterialDialog;
class QtMaterialDialogWindow;

// Stands in for a dialog's card while it fades: draws an image of the card at the
// current opacity, nothing when transparent, and the card itself once opaque.
class QtMaterialDialogProxy : public QWidget
{
    Q_OBJECT

    Q_PROPERTY(qreal opacity WRITE setOpacity READ opacity)

public:
    enum TransparencyMode {
        Transparent = 0,
        SemiTransparent,
        Opaque
    };

    QtMaterialDialogProxy(QtMaterialDialogWindow *source, QStackedLayout *layout,
                          QtMaterialDialog *dialog, QWidget *parent = nullptr);
    ~QtMaterialDialogProxy() override;

    void setOpacity(qreal opacity);
    qreal opacity() const { return m_opacity; }

    TransparencyMode mode() const { return m_mode; }

    QSize sizeHint() const override;

public slots:
    void makeOpaque();
    void makeTransparent();

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    Q_DISABLE_COPY(QtMaterialDialogProxy)

    QtMaterialDialogWindow *const m_source;
    QStackedLayout *const m_layout;
    QtMaterialDialog *const m_dialog;
    qreal m_opacity = 0;
    TransparencyMode m_mode = Transparent;
};
