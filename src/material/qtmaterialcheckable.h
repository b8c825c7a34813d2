#pragma once

#include <QAbstractButton>
#include <QColor>
#include <QIcon>
#include <QScopedPointer>

class QtMaterialCheckablePrivate;

// An animated two-state button: an indicator that changes between an unchecked and
// a checked picture, a label beside it and an ink ripple on every click. The
// indicator is painted by two icon widgets, the ripple by an overlay that sits on
// the button's parent.
class QtMaterialCheckable : public QAbstractButton
{
    Q_OBJECT

    Q_PROPERTY(LabelPosition labelPosition WRITE setLabelPosition READ labelPosition)
    Q_PROPERTY(QIcon checkedIcon WRITE setCheckedIcon READ checkedIcon)
    Q_PROPERTY(QIcon uncheckedIcon WRITE setUncheckedIcon READ uncheckedIcon)
    Q_PROPERTY(QColor checkedColor WRITE setCheckedColor READ checkedColor)
    Q_PROPERTY(QColor uncheckedColor WRITE setUncheckedColor READ uncheckedColor)
    Q_PROPERTY(QColor textColor WRITE setTextColor READ textColor)
    Q_PROPERTY(QColor disabledColor WRITE setDisabledColor READ disabledColor)

public:
    enum LabelPosition {
        LabelOnLeft,
        LabelOnRight,
    };
    Q_ENUM(LabelPosition)

    explicit QtMaterialCheckable(QWidget *parent = nullptr);
    ~QtMaterialCheckable() override;

    void setLabelPosition(LabelPosition placement);
    LabelPosition labelPosition() const;

    void setUseThemeColors(bool value);
    bool useThemeColors() const;

    void setCheckedColor(const QColor &color);
    QColor checkedColor() const;

    void setUncheckedColor(const QColor &color);
    QColor uncheckedColor() const;

    void setTextColor(const QColor &color);
    QColor textColor() const;

    void setDisabledColor(const QColor &color);
    QColor disabledColor() const;

    void setCheckedIcon(const QIcon &icon);
    QIcon checkedIcon() const;

    void setUncheckedIcon(const QIcon &icon);
    QIcon uncheckedIcon() const;

    QSize sizeHint() const override;

protected:
    QtMaterialCheckable(QtMaterialCheckablePrivate &d, QWidget *parent = nullptr);

    bool event(QEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

    virtual void setupProperties();

    const QScopedPointer<QtMaterialCheckablePrivate> d_ptr;

private:
    Q_DISABLE_COPY(QtMaterialCheckable)
    Q_DECLARE_PRIVATE(QtMaterialCheckable)
};
