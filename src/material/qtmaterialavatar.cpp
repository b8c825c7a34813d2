#include "qtmaterialavatar.h"
#include "qtmaterialavatarprivate.h"
#include "qtmaterialstyle.h"

#include <QPainter>
#include <QPainterPath>

QtMaterialAvatar::QtMaterialAvatar(QWidget *parent)
    : QWidget(parent), d_ptr(new QtMaterialAvatarPrivate(this))
{
    d_func()->init();
}

QtMaterialAvatar::QtMaterialAvatar(const QIcon &icon, QWidget *parent)
    : QWidget(parent), d_ptr(new QtMaterialAvatarPrivate(this))
{
    d_func()->init();
    setIcon(icon);
}

QtMaterialAvatar::QtMaterialAvatar(const QChar &letter, QWidget *parent)
    : QWidget(parent), d_ptr(new QtMaterialAvatarPrivate(this))
{
    d_func()->init();
    setLetter(letter);
}

QtMaterialAvatar::QtMaterialAvatar(const QImage &image, QWidget *parent)
    : QWidget(parent), d_ptr(new QtMaterialAvatarPrivate(this))
{
    d_func()->init();
    setImage(image);
}

QtMaterialAvatar::~QtMaterialAvatar() = default;

void QtMaterialAvatar::setUseThemeColors(bool value)
{
    Q_D(QtMaterialAvatar);

    if (d->useThemeColors == value)
        return;
    d->useThemeColors = value;
    update();
}

bool QtMaterialAvatar::useThemeColors() const
{
    Q_D(const QtMaterialAvatar);
    return d->useThemeColors;
}

void QtMaterialAvatar::setTextColor(const QColor &color)
{
    Q_D(QtMaterialAvatar);
    d->textColor = color;
    d->useThemeColors = false;
    update();
}

QColor QtMaterialAvatar::textColor() const
{
    Q_D(const QtMaterialAvatar);

    if (!d->useThemeColors && d->textColor.isValid())
        return d->textColor;
    return QtMaterialStyle::instance().themeColor(Material::CanvasColor);
}

void QtMaterialAvatar::setBackgroundColor(const QColor &color)
{
    Q_D(QtMaterialAvatar);
    d->backgroundColor = color;
    d->useThemeColors = false;
    update();
}

QColor QtMaterialAvatar::backgroundColor() const
{
    Q_D(const QtMaterialAvatar);

    if (!d->useThemeColors && d->backgroundColor.isValid())
        return d->backgroundColor;
    return QtMaterialStyle::instance().themeColor(Material::PrimaryColor);
}

QSize QtMaterialAvatar::sizeHint() const
{
    Q_D(const QtMaterialAvatar);
    return QSize(d->size + 2, d->size + 2);
}

void QtMaterialAvatar::setSize(int size)
{
    Q_D(QtMaterialAvatar);

    d->size = size;
    if (!d->image.isNull())
        d->pixmap = QPixmap::fromImage(d->image.scaled(size, size, Qt::IgnoreAspectRatio,
                                                       Qt::SmoothTransformation));
    QFont f(font());
    f.setPointSize(16 * size / 40);
    setFont(f);
    update();
}

int QtMaterialAvatar::size() const
{
    Q_D(const QtMaterialAvatar);
    return d->size;
}

void QtMaterialAvatar::setLetter(const QChar &letter)
{
    Q_D(QtMaterialAvatar);

    d->letter = letter;
    d->type = LetterAvatar;
    d->image = QImage();
    d->pixmap = QPixmap();
    d->icon = QIcon();
    update();
}

void QtMaterialAvatar::setImage(const QImage &image)
{
    Q_D(QtMaterialAvatar);

    d->image = image;
    d->pixmap = QPixmap::fromImage(image.scaled(d->size, d->size, Qt::IgnoreAspectRatio,
                                                Qt::SmoothTransformation));
    d->type = ImageAvatar;
    d->letter = QChar();
    d->icon = QIcon();
    update();
}

void QtMaterialAvatar::setIcon(const QIcon &icon)
{
    Q_D(QtMaterialAvatar);

    d->icon = icon;
    d->type = IconAvatar;
    d->letter = QChar();
    d->image = QImage();
    d->pixmap = QPixmap();
    update();
}

QChar QtMaterialAvatar::letter() const
{
    Q_D(const QtMaterialAvatar);
    return d->letter;
}

QImage QtMaterialAvatar::image() const
{
    Q_D(const QtMaterialAvatar);
    return d->image;
}

QIcon QtMaterialAvatar::icon() const
{
    Q_D(const QtMaterialAvatar);
    return d->icon;
}

QtMaterialAvatar::AvatarType QtMaterialAvatar::type() const
{
    Q_D(const QtMaterialAvatar);
    return d->type;
}

void QtMaterialAvatar::paintEvent(QPaintEvent *event)
{
    Q_UNUSED(event)
    Q_D(QtMaterialAvatar);

    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);

    const int w = width();
    const int h = height();
    const int s = d->size;
    const QRect disc((w - s) / 2, (h - s) / 2, s, s);

    if (!isEnabled()) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(QtMaterialStyle::instance().themeColor(Material::DisabledColor));
        painter.drawEllipse(disc);
        return;
    }

    if (d->type == ImageAvatar) {
        const QRect square(w / 2 - s / 2, h / 2 - s / 2, s, s);
        QPainterPath path;
        path.addEllipse(square);
        painter.setClipPath(path);
        painter.drawPixmap(square, d->pixmap);
        return;
    }

    painter.setPen(Qt::NoPen);
    painter.setBrush(backgroundColor());
    painter.drawEllipse(disc);

    if (d->type == LetterAvatar) {
        // The null letter of a new avatar would come out as a missing-glyph box.
        if (d->letter.isNull())
            return;
        painter.setPen(textColor());
        painter.setBrush(Qt::NoBrush);
        painter.drawText(rect(), Qt::AlignCenter, QString(d->letter));
        return;
    }

    QPixmap pixmap = d->icon.pixmap(s / 2, s / 2);
    if (pixmap.isNull())
        return;
    {
        QPainter tint(&pixmap);
        tint.setCompositionMode(QPainter::CompositionMode_SourceIn);
        tint.fillRect(pixmap.rect(), textColor());
    }
    painter.drawPixmap(QRect(int((w - s / 2) * 0.5), int((h - s / 2) * 0.5), s / 2, s / 2), pixmap);
}
