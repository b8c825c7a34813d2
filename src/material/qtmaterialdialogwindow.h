#pragma once

#include <QWidget>

class QtMaterialDialog;

// The white card of a dialog. Its offset is the bottom margin of the dialog's
// outer layout, which pushes the centred card up by half of it.
class QtMaterialDialogWindow : public QWidget
{
    Q_OBJECT

    Q_PROPERTY(int offset WRITE setOffset READ offset)

public:
    explicit QtMaterialDialogWindow(QtMaterialDialog *dialog, QWidget *parent = nullptr);
    ~QtMaterialDialogWindow() override;

    void setOffset(int offset);
    int offset() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    Q_DISABLE_COPY(QtMaterialDialogWindow)

    QtMaterialDialog *const m_dialog;
};
