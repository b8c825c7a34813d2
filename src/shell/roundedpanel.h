#pragma once

// The framed dialogs' look: a #1F2933 panel with corners of radius 10. Bands such
// as the home page's room strip and the message bar use the same shape in their
// own colour.

class QColor;
class QWidget;

void paintRoundedPanel(QWidget *widget);
void paintRoundedPanel(QWidget *widget, const QColor &fill);
