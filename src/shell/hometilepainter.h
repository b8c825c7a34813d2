#pragma once

// The face of the two small tiles of the home page's band: a 96-pixel picture
// above a one-line caption.

class QString;
class QWidget;

void paintHomeTile(QWidget *tile, const QString &picture, const QString &text);
