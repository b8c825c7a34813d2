#pragma once

// The whole-number fields of the settings pages: digits only, nothing below 0,
// and a typed value above the field's cap replaced by the cap.

#include <QString>

class QLineEdit;

// Gives the field a validator for whole numbers from 0 up.
void makeNumberField(QLineEdit *field);

// The text a number field shows for text: the cap when text reads as a whole
// number above it, "0" for a number below 0, text itself otherwise.
QString capNumberText(const QString &text, int cap);
