#pragma once

#include <QObject>

class QLabel;

// Attached to a label as its child: applies the theme's text colour and body font,
// and applies them again after every style change.
class QtMaterializerLabel : public QObject
{
    Q_OBJECT

public:
    explicit QtMaterializerLabel(QLabel *label);
    ~QtMaterializerLabel() override;

    void updateColors();
    void updateFont();

protected:
    bool eventFilter(QObject *obj, QEvent *event) override;

private:
    Q_DISABLE_COPY(QtMaterializerLabel)

    QLabel *const m_label;
};
