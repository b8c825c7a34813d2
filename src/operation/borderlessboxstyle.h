#pragma once

// The look of the borderless boxes that hold many device cards: a group box with
// an empty title that draws nothing of its own and gives its whole area to its
// content, as the style-sheet rule "QGroupBox{border:none;}" would. A style
// sheet on a box would put every card below it under the slower style-sheet
// style; this style applies to the box alone (a widget's style does not pass to
// its children).

#include <QProxyStyle>

class QGroupBox;
class QtMaterialCanvas;
class QtMaterialGroupBox;

class BorderlessBoxStyle : public QProxyStyle
{
    Q_OBJECT
public:
    // Gives box this look. The style lives as long as the application.
    static void apply(QGroupBox *box);
    // A new box with an empty title and this look, made the resizable content of
    // canvas.
    static QtMaterialGroupBox *makeBox(QtMaterialCanvas *canvas);

    void drawComplexControl(ComplexControl control, const QStyleOptionComplex *option, QPainter *painter,
                            const QWidget *widget = nullptr) const override;
    QRect subControlRect(ComplexControl control, const QStyleOptionComplex *option, SubControl subControl,
                         const QWidget *widget = nullptr) const override;

private:
    BorderlessBoxStyle();
};
