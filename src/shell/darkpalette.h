#pragma once

// Fills a widget's background with one solid colour through its palette.

#include <QColor>

class QWidget;

void fillBackground(QWidget *widget, const QColor &color);
