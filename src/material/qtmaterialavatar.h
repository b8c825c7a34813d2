#pragma once

#include <QColor>
#include <QIcon>
#include <QImage>
#include <QScopedPointer>
#include <QWidget>

class QtMaterialAvatarPrivate;

// A round picture of a person or thing: a circular crop of an image, or an icon
// or a single letter on a filled disc.
class QtMaterialAvatar : public QWidget
{
    Q_OBJECT

    Q_PROPERTY(QColor textColor WRITE setTextColor READ textColor)
    Q_PROPERTY(QColor backgroundColor WRITE setBackgroundColor READ backgroundColor)

public:
    // What the avatar shows.
    enum AvatarType {
        ImageAvatar = 0,
        IconAvatar,
        LetterAvatar
    };

    explicit QtMaterialAvatar(QWidget *parent = nullptr);
    QtMaterialAvatar(const QIcon &icon, QWidget *parent = nullptr);
    QtMaterialAvatar(const QChar &letter, QWidget *parent = nullptr);
    QtMaterialAvatar(const QImage &image, QWidget *parent = nullptr);
    ~QtMaterialAvatar() override;

    void setUseThemeColors(bool value);
    bool useThemeColors() const;

    void setTextColor(const QColor &color);
    QColor textColor() const;

    void setBackgroundColor(const QColor &color);
    QColor backgroundColor() const;

    QSize sizeHint() const override;

    void setSize(int size);
    int size() const;

    void setLetter(const QChar &letter);
    void setImage(const QImage &image);
    void setIcon(const QIcon &icon);

    QChar letter() const;
    QImage image() const;
    QIcon icon() const;
    AvatarType type() const;

protected:
    void paintEvent(QPaintEvent *event) override;

    const QScopedPointer<QtMaterialAvatarPrivate> d_ptr;

private:
    Q_DISABLE_COPY(QtMaterialAvatar)
    Q_DECLARE_PRIVATE(QtMaterialAvatar)
};
