#pragma once

#include <QColor>
#include <QScopedPointer>
#include <QWidget>

class QtMaterialSystemBarPrivate;

// A strip that shows the current date and time, repainted twice a second.
class QtMaterialSystemBar : public QWidget
{
    Q_OBJECT

public:
    explicit QtMaterialSystemBar(QWidget *parent = nullptr);
    ~QtMaterialSystemBar() override;

    void setDateTimeFormat(const QString &format);
    QString dateTimeFormat() const;

    void setUseThemeColors(bool value);
    bool useThemeColors() const;

    void setTextColor(const QColor &color);
    QColor textColor() const;

    void setBackgroundColor(const QColor &color);
    QColor backgroundColor() const;

    QSize sizeHint() const override;

protected:
    bool event(QEvent *event) override;
    void timerEvent(QTimerEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

    const QScopedPointer<QtMaterialSystemBarPrivate> d_ptr;

private:
    Q_DISABLE_COPY(QtMaterialSystemBar)
    Q_DECLARE_PRIVATE(QtMaterialSystemBar)
};
