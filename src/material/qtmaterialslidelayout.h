#pragma once

#include <QEasingCurve>
#include <QScopedPointer>
#include <QStackedLayout>

class QtMaterialSlideLayoutPrivate;

// A stacked layout that changes pages by sliding them sideways: the current page
// leaves on one side while the new one comes in from the other.
class QtMaterialSlideLayout : public QStackedLayout
{
    Q_OBJECT

    Q_PROPERTY(unsigned int animationDuration WRITE setAnimationDuration READ animationDuration)
    Q_PROPERTY(QEasingCurve::Type animationType WRITE setAnimationType READ animationType)
    Q_PROPERTY(Qt::Orientation orientation WRITE setOrientation READ orientation)

public:
    explicit QtMaterialSlideLayout(QWidget *parent = nullptr);
    explicit QtMaterialSlideLayout(QLayout *parentLayout);
    ~QtMaterialSlideLayout() override;

    void setAnimationDuration(unsigned int duration);
    unsigned int animationDuration() const;

    void setAnimationType(QEasingCurve::Type type);
    QEasingCurve::Type animationType() const;

    // Stored only: slides always run sideways.
    void setOrientation(Qt::Orientation orientation);
    Qt::Orientation orientation() const;

    void setGeometry(const QRect &rect) override;

public slots:
    void slideToIndex(int index);
    void slideToWidget(QWidget *widget);

protected:
    const QScopedPointer<QtMaterialSlideLayoutPrivate> d_ptr;

private:
    Q_DISABLE_COPY(QtMaterialSlideLayout)
    Q_DECLARE_PRIVATE(QtMaterialSlideLayout)
};
