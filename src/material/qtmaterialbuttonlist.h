#pragma once

#include <QColor>
#include <QIcon>
#include <QScopedPointer>
#include <QWidget>

class QtMaterialButtonListPrivate;

// A menu-like column of flat buttons, one 50-pixel row each.
class QtMaterialButtonList : public QWidget
{
    Q_OBJECT

    Q_PROPERTY(QColor foregroundColor WRITE setForegroundColor READ foregroundColor)
    Q_PROPERTY(QColor backgroundColor WRITE setBackgroundColor READ backgroundColor)

public:
    explicit QtMaterialButtonList(QWidget *parent = nullptr);
    ~QtMaterialButtonList() override;

    void addButton(const QString &text);
    void addButton(const QIcon &icon, const QString &text);
    void insertButton(int index, const QString &text);
    void insertButton(int index, const QIcon &icon, const QString &text);

    QString buttonText(int index) const;
    void setButtonText(int index, const QString &text);

    QIcon buttonIcon(int index) const;
    void setButtonIcon(int index, const QIcon &icon);

    int count() const;

    void setUseThemeColors(bool value);
    bool useThemeColors() const;

    void setForegroundColor(const QColor &color);
    QColor foregroundColor() const;

    void setBackgroundColor(const QColor &color);
    QColor backgroundColor() const;

    QSize sizeHint() const override;

protected:
    void resizeEvent(QResizeEvent *event) override;

    const QScopedPointer<QtMaterialButtonListPrivate> d_ptr;

private:
    Q_DISABLE_COPY(QtMaterialButtonList)
    Q_DECLARE_PRIVATE(QtMaterialButtonList)
};
