#pragma once

// The look every framed dialog shares: a frameless window cut to the rounded
// panel paintRoundedPanel paints in it, with a white close icon that rejects the
// dialog, and a borderless list box inside a scroll canvas.

#include <QColor>
#include <QString>

class QDialog;
class QWidget;
class QtMaterialCanvas;
class QtMaterialGroupBox;
class QtMaterialIconButton;

// Names the dialog, gives it the form's 400 x 300 size and the title "Dialog",
// makes it frameless with rounded corners (a RoundedFrameMask), and returns its
// close icon (a child of the dialog, object name "pushButtonClose"), already
// connected to close().
QtMaterialIconButton *initFramedDialog(QDialog *dialog, const QString &objectName);

// A group box with an empty title and no border, placed in a new canvas on
// parent that resizes it; the canvas takes the given background when valid.
QtMaterialGroupBox *makeCanvasBox(QWidget *parent, QtMaterialCanvas *&canvas,
                                  const QColor &background = QColor());

// The list pages' body: a canvas box that fills page through a vertical layout
// without size constraint; returns the box that holds the tiles.
QtMaterialGroupBox *fillWithCanvasBox(QWidget *page);

// The list dialogs' frame: initFramedDialog(), then a #1F2933 canvas box under the
// close icon that takes all the room left. Returns the box the list goes in.
QtMaterialGroupBox *initListDialog(QDialog *dialog, const QString &objectName);
