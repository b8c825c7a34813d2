#pragma once

// Reading the integer text of the DIY command fields, and holding typed numbers
// under a field's upper bound.

#include <QString>

// The text read as a base-10 integer: 0 for empty text or text that is not a
// number; a string of digits too long for an int reads as the largest (or, with a
// minus sign, the smallest) int rather than 0.
int fieldNumber(const QString &text);

// What a bounded field keeps of its text: the bound written in decimal when the
// text reads above it (digit strings beyond an int included), else the text as it
// stands. There is no lower bound.
QString fieldTextWithin(const QString &text, int bound);
