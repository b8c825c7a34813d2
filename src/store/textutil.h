#pragma once

// Fixed-size text fields: copies are cut at a UTF-8 character boundary and
// always terminated, never overflowing the destination.

#include <QByteArray>
#include <cstddef>

// Length of the longest prefix of utf8 that is at most maxBytes long and does
// not end inside a multi-byte character.
int utf8PrefixLength(const QByteArray &utf8, int maxBytes);

// Copies utf8 into field (size bytes, size >= 1): at most size - 1 bytes, cut at
// a character boundary, then zero-filled to the end.
void copyUtf8Field(char *field, size_t size, const QByteArray &utf8);
