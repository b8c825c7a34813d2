#pragma once

// The small round colour swatch on the card of a colour light: a filled circle
// with an optional centred text. It takes no mouse press itself, so a press on it
// reaches the card.

#include <QColor>
#include <QString>
#include <QWidget>

class ColorLabel : public QWidget
{
    Q_OBJECT
public:
    explicit ColorLabel(QWidget *parent = nullptr);

    void setBackgroundColor(QColor color);
    void setTextColor(QColor color);
    void setText(QString text);

    QColor backgroundColor() const { return background; }
    QColor textColor() const { return foreground; }
    QString text() const { return label; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QColor background = Qt::black;
    QColor foreground = Qt::white;
    QString label;
};
