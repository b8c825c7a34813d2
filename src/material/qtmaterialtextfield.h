#pragma once

#include <QColor>
#include <QLineEdit>
#include <QScopedPointer>

class QtMaterialTextFieldPrivate;

// A single-line input with a floating label: the label rests inside the empty field
// and rises, at half size, above the text when the field takes the focus or holds
// text. An input line runs along the bottom with an ink bar that grows from its
// centre while the field has the focus.
class QtMaterialTextField : public QLineEdit
{
    Q_OBJECT

    Q_PROPERTY(bool labelVisible WRITE setLabelVisible READ labelVisible)
    Q_PROPERTY(qreal labelFontSize WRITE setLabelFontSize READ labelFontSize)
    Q_PROPERTY(QString labelText WRITE setLabelText READ labelText)
    Q_PROPERTY(bool inputLineVisible WRITE setInputLineVisible READ inputLineVisible)
    Q_PROPERTY(QColor textColor WRITE setTextColor READ textColor)
    Q_PROPERTY(QColor labelColor WRITE setLabelColor READ labelColor)
    Q_PROPERTY(QColor inkColor WRITE setInkColor READ inkColor)
    Q_PROPERTY(QColor inputLineColor WRITE setInputLineColor READ inputLineColor)

public:
    explicit QtMaterialTextField(QWidget *parent = nullptr);
    ~QtMaterialTextField() override;

    void setUseThemeColors(bool value);
    bool useThemeColors() const;

    void setLabelVisible(bool value);
    bool labelVisible() const;

    void setLabelFontSize(qreal size);
    qreal labelFontSize() const;

    void setLabelText(const QString &text);
    QString labelText() const;

    void setInputLineVisible(bool value);
    bool inputLineVisible() const;

    void setTextColor(const QColor &color);
    QColor textColor() const;

    void setLabelColor(const QColor &color);
    QColor labelColor() const;

    void setInkColor(const QColor &color);
    QColor inkColor() const;

    void setInputLineColor(const QColor &color);
    QColor inputLineColor() const;

protected:
    QtMaterialTextField(QtMaterialTextFieldPrivate &d, QWidget *parent = nullptr);

    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

    const QScopedPointer<QtMaterialTextFieldPrivate> d_ptr;

private:
    Q_DISABLE_COPY(QtMaterialTextField)
    Q_DECLARE_PRIVATE(QtMaterialTextField)
};
