#include "qtmaterialtextfield.h"
#include "qtmaterialstyle.h"
#include "qtmaterialtextfieldlabel.h"
#include "qtmaterialtextfieldprivate.h"
#include "qtmaterialtextfieldstatemachine.h"

#include <QEvent>
#include <QPainter>
#include <QPainterPath>

namespace {

const QColor FieldBackground(0x3D, 0x53, 0x66);

// The field's rectangle with rounded top corners (radius 5) and square bottom ones.
QPainterPath backgroundShape(int w, int h)
{
    QPainterPath path;
    path.arcMoveTo(0, 0, 10, 10, 180);
    path.arcTo(0, 0, 10, 10, 180, -90);
    path.arcTo(w - 10, 0, 10, 10, 90, -90);
    path.lineTo(w, h);
    path.lineTo(0, h);
    path.closeSubpath();
    return path;
}

QColor ownOrTheme(bool useTheme, const QColor &own, Material::ThemeColor slot)
{
    if (!useTheme && own.isValid())
        return own;
    return QtMaterialStyle::instance().themeColor(slot);
}

} // namespace

QtMaterialTextField::QtMaterialTextField(QWidget *parent)
    : QLineEdit(parent), d_ptr(new QtMaterialTextFieldPrivate(this))
{
    d_func()->init();
}

QtMaterialTextField::QtMaterialTextField(QtMaterialTextFieldPrivate &d, QWidget *parent)
    : QLineEdit(parent), d_ptr(&d)
{
    d_func()->init();
}

QtMaterialTextField::~QtMaterialTextField()
{
    Q_D(QtMaterialTextField);
    // The machine watches this field's focus: it goes first, so that nothing sent
    // while the widget is torn down reaches it.
    delete d->stateMachine;
    d->stateMachine = nullptr;
}

void QtMaterialTextField::setUseThemeColors(bool value)
{
    Q_D(QtMaterialTextField);
    if (d->useThemeColors == value)
        return;
    d->useThemeColors = value;

    QPalette p = palette();
    p.setBrush(QPalette::All, QPalette::Text, QBrush(textColor()));
    setPalette(p);
    d->stateMachine->setupProperties();
}

bool QtMaterialTextField::useThemeColors() const
{
    Q_D(const QtMaterialTextField);
    return d->useThemeColors;
}

void QtMaterialTextField::setLabelVisible(bool value)
{
    Q_D(QtMaterialTextField);
    if (d->showLabel == value)
        return;
    d->showLabel = value;

    if (value && !d->label) {
        d->label = new QtMaterialTextFieldLabel(this);
        d->stateMachine->setLabel(d->label);
        // A child made after its parent was shown is not shown with it.
        d->label->setGeometry(rect());
        d->label->show();
    }
    setContentsMargins(0, value ? 23 : 0, 0, 0);
}

bool QtMaterialTextField::labelVisible() const
{
    Q_D(const QtMaterialTextField);
    return d->showLabel;
}

void QtMaterialTextField::setLabelFontSize(qreal size)
{
    Q_D(QtMaterialTextField);
    d->labelFontSize = size;
    if (d->label) {
        QFont font(d->label->font());
        font.setPointSizeF(size);
        d->label->setFont(font);
        d->label->update();
    }
}

qreal QtMaterialTextField::labelFontSize() const
{
    Q_D(const QtMaterialTextField);
    return d->labelFontSize;
}

void QtMaterialTextField::setLabelText(const QString &text)
{
    Q_D(QtMaterialTextField);
    d->labelText = text;
    setLabelVisible(true);
    d->label->update();
}

QString QtMaterialTextField::labelText() const
{
    Q_D(const QtMaterialTextField);
    return d->labelText;
}

void QtMaterialTextField::setInputLineVisible(bool value)
{
    Q_D(QtMaterialTextField);
    if (d->showInputLine == value)
        return;
    d->showInputLine = value;
    update();
}

bool QtMaterialTextField::inputLineVisible() const
{
    Q_D(const QtMaterialTextField);
    return d->showInputLine;
}

void QtMaterialTextField::setTextColor(const QColor &color)
{
    Q_D(QtMaterialTextField);
    d->textColor = color;
    d->useThemeColors = false;

    QPalette p = palette();
    p.setBrush(QPalette::All, QPalette::Text, QBrush(color));
    setPalette(p);
    d->stateMachine->setupProperties();
}

QColor QtMaterialTextField::textColor() const
{
    Q_D(const QtMaterialTextField);
    return ownOrTheme(d->useThemeColors, d->textColor, Material::TextColor);
}

void QtMaterialTextField::setLabelColor(const QColor &color)
{
    Q_D(QtMaterialTextField);
    d->labelColor = color;
    d->useThemeColors = false;
    d->stateMachine->setupProperties();
}

QColor QtMaterialTextField::labelColor() const
{
    Q_D(const QtMaterialTextField);
    return ownOrTheme(d->useThemeColors, d->labelColor, Material::AccentDarkColor);
}

void QtMaterialTextField::setInkColor(const QColor &color)
{
    Q_D(QtMaterialTextField);
    d->inkColor = color;
    d->useThemeColors = false;
    d->stateMachine->setupProperties();
}

QColor QtMaterialTextField::inkColor() const
{
    Q_D(const QtMaterialTextField);
    return ownOrTheme(d->useThemeColors, d->inkColor, Material::AccentColor);
}

void QtMaterialTextField::setInputLineColor(const QColor &color)
{
    Q_D(QtMaterialTextField);
    d->inputLineColor = color;
    d->useThemeColors = false;
    d->stateMachine->setupProperties();
}

QColor QtMaterialTextField::inputLineColor() const
{
    Q_D(const QtMaterialTextField);
    return ownOrTheme(d->useThemeColors, d->inputLineColor, Material::PrimaryColor);
}

bool QtMaterialTextField::event(QEvent *event)
{
    Q_D(QtMaterialTextField);

    switch (event->type()) {
    case QEvent::Move:
    case QEvent::Resize:
        if (d->label)
            d->label->setGeometry(rect());
        break;
    case QEvent::ParentChange:
        if (testAttribute(Qt::WA_StyleSheet))
            setStyleSheet(QStringLiteral("QLineEdit {background-color: rgba(0, 0, 0, 0);}"));
        break;
    case QEvent::StyleChange:
        // Also sent while the field is being set up, before the machine exists.
        if (d->stateMachine)
            d->stateMachine->setupProperties();
        break;
    default:
        break;
    }
    return QLineEdit::event(event);
}

void QtMaterialTextField::paintEvent(QPaintEvent *event)
{
    Q_D(QtMaterialTextField);

    const int w = width();
    const int h = height();
    const QPainterPath shape = backgroundShape(w, h);
    {
        QPainter painter(this);
        painter.setPen(Qt::NoPen);
        painter.setBrush(FieldBackground);
        painter.drawPath(shape);
    }

    QLineEdit::paintEvent(event);

    QPainter painter(this);
    const qreal progress = d->stateMachine ? d->stateMachine->progress() : 0;

    // While the label rests inside the empty field, nothing of the line edit's own
    // drawing (cursor, placeholder) shows through.
    if (text().isEmpty() && progress < 1) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(FieldBackground);
        painter.drawPath(shape);
    }

    if (!d->showInputLine)
        return;

    QPen pen;
    pen.setWidth(1);
    pen.setColor(inputLineColor());
    if (!isEnabled())
        pen.setStyle(Qt::DashLine);
    painter.setPen(pen);
    painter.setOpacity(1);
    painter.drawLine(QLineF(2.5, h - 1, w, h - 1));

    if (progress > 0) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(inkColor());
        const int k = static_cast<int>(w * 0.5 * (1 - progress));
        painter.fillRect(QRect(k, h - 2, w - 2 * k, 2), inkColor());
    }
}
