#pragma once

// The framed dialogs' look: a #1F2933 panel with corners of radius 10.

class QWidget;

void paintRoundedPanel(QWidget *widget);
