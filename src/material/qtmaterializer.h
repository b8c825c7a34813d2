#pragma once

class QLabel;

// Gives an ordinary label the theme's body font and text colour, and keeps them
// current across theme changes.
class QtMaterializer
{
public:
    static QLabel *materialise(QLabel *label);
};
