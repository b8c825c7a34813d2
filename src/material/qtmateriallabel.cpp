#include "qtmateriallabel.h"
#include "qtmateriallabelprivate.h"
#include "qtmaterialrippleoverlay.h"
#include "qtmaterialstyle.h"

#include <QEvent>
#include <QMouseEvent>
#include <QPointer>

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

QtMaterialLabel::QtMaterialLabel(QWidget *parent, Qt::WindowFlags f)
    : QLabel(withStyleReady(parent), f), d_ptr(new QtMaterialLabelPrivate(this))
{
    d_func()->init();
}

QtMaterialLabel::QtMaterialLabel(const QString &text, QWidget *parent, Qt::WindowFlags f)
    : QLabel(text, withStyleReady(parent), f), d_ptr(new QtMaterialLabelPrivate(this))
{
    d_func()->init();
}

QtMaterialLabel::QtMaterialLabel(const QString &text, Material::FontType type, QWidget *parent)
    : QLabel(text, withStyleReady(parent)), d_ptr(new QtMaterialLabelPrivate(this))
{
    d_func()->init();
    setFontType(type);
}

QtMaterialLabel::~QtMaterialLabel()
{
    Q_D(QtMaterialLabel);

    // The overlay sits on the parent, which would otherwise keep it (and any
    // running ripple) after this label is gone.
    delete d->rippleOverlay.data();
}

void QtMaterialLabel::setFontType(Material::FontType type)
{
    Q_D(QtMaterialLabel);
    d->fontType = type;
    setFont(QtMaterialStyle::instance().themeFont(type));
}

Material::FontType QtMaterialLabel::fontType() const
{
    Q_D(const QtMaterialLabel);
    return d->fontType;
}

void QtMaterialLabel::setUseThemeColors(bool value)
{
    Q_D(QtMaterialLabel);

    if (d->useThemeColors == value)
        return;
    d->useThemeColors = value;
    d->applyColors();
    setFont(QtMaterialStyle::instance().themeFont(d->fontType));
}

bool QtMaterialLabel::useThemeColors() const
{
    Q_D(const QtMaterialLabel);
    return d->useThemeColors;
}

void QtMaterialLabel::setColor(const QColor &color)
{
    Q_D(QtMaterialLabel);
    d->color = color;
    d->useThemeColors = false;
    d->applyColors();
}

QColor QtMaterialLabel::color() const
{
    Q_D(const QtMaterialLabel);

    if (!d->useThemeColors && d->color.isValid())
        return d->color;
    return QtMaterialStyle::instance().themeColor(Material::CanvasColor);
}

void QtMaterialLabel::setBackgroud(const QColor &color)
{
    QPalette palette;
    palette.setBrush(QPalette::All, QPalette::Window, QBrush(color, Qt::SolidPattern));
    setPalette(palette);
}

bool QtMaterialLabel::event(QEvent *event)
{
    Q_D(QtMaterialLabel);

    if (event->type() == QEvent::StyleChange) {
        d->applyColors();
        setFont(QtMaterialStyle::instance().themeFont(d->fontType));
    }
    return QLabel::event(event);
}

void QtMaterialLabel::mousePressEvent(QMouseEvent *event)
{
    Q_D(QtMaterialLabel);

    QLabel::mousePressEvent(event);

    if (d->rippleOverlay) {
        const QRect r = d->rippleOverlay->rect();
        d->rippleOverlay->addRipple(QPoint(qRound(r.width() * 0.5), qRound(r.height() * 0.5)),
                                    width());
    }
    if (event->button() == Qt::LeftButton && rect().contains(event->pos()))
        m_pressed = true;
}

void QtMaterialLabel::mouseReleaseEvent(QMouseEvent *event)
{
    QLabel::mouseReleaseEvent(event);

    if (!m_pressed)
        return;
    m_pressed = false;
    if (rect().contains(event->pos()))
        emit signalsPressed();
}

void QtMaterialLabel::mouseMoveEvent(QMouseEvent *event)
{
    QLabel::mouseMoveEvent(event);

    if (m_pressed && !rect().contains(event->pos()))
        m_pressed = false;
}
