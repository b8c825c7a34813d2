#include "qtmaterialgroupbox.h"
#include "qtmaterialgroupboxprivate.h"
#include "qtmaterialstyle.h"

#include <QEvent>

namespace {

// Makes sure the style exists before the widget does: making it registers the
// theme's fonts and icon resources that the widget's set-up reads. Its creation
// tells no widget anything; only a later change of theme sends the style-change
// event that this widget's handler answers.
QWidget *withStyleReady(QWidget *parent)
{
    QtMaterialStyle::instance();
    return parent;
}

} // namespace

QtMaterialGroupBox::QtMaterialGroupBox(QWidget *parent)
    : QGroupBox(withStyleReady(parent)), d_ptr(new QtMaterialGroupBoxPrivate(this))
{
    d_func()->init();
}

QtMaterialGroupBox::QtMaterialGroupBox(const QString &title, QWidget *parent)
    : QGroupBox(title, withStyleReady(parent)), d_ptr(new QtMaterialGroupBoxPrivate(this))
{
    d_func()->init();
}

QtMaterialGroupBox::QtMaterialGroupBox(const QString &title, Material::FontType type,
                                       QWidget *parent)
    : QGroupBox(title, withStyleReady(parent)), d_ptr(new QtMaterialGroupBoxPrivate(this))
{
    d_func()->init();
    setFontType(type);
}

QtMaterialGroupBox::~QtMaterialGroupBox() = default;

void QtMaterialGroupBox::setFontType(Material::FontType type)
{
    Q_D(QtMaterialGroupBox);
    d->fontType = type;
    setFont(QtMaterialStyle::instance().themeFont(type));
}

Material::FontType QtMaterialGroupBox::fontType() const
{
    Q_D(const QtMaterialGroupBox);
    return d->fontType;
}

void QtMaterialGroupBox::setUseThemeColors(bool value)
{
    Q_D(QtMaterialGroupBox);

    if (d->useThemeColors == value)
        return;
    d->useThemeColors = value;
    d->applyColors();
    setFont(QtMaterialStyle::instance().themeFont(d->fontType));
}

bool QtMaterialGroupBox::useThemeColors() const
{
    Q_D(const QtMaterialGroupBox);
    return d->useThemeColors;
}

void QtMaterialGroupBox::setColor(const QColor &color)
{
    Q_D(QtMaterialGroupBox);
    d->color = color;
    d->useThemeColors = false;
    d->applyColors();
}

QColor QtMaterialGroupBox::color() const
{
    Q_D(const QtMaterialGroupBox);

    if (!d->useThemeColors && d->color.isValid())
        return d->color;
    return QtMaterialStyle::instance().themeColor(Material::CanvasColor);
}

bool QtMaterialGroupBox::event(QEvent *event)
{
    Q_D(QtMaterialGroupBox);

    if (event->type() == QEvent::StyleChange) {
        d->applyColors();
        setFont(QtMaterialStyle::instance().themeFont(d->fontType));
    }
    return QGroupBox::event(event);
}
