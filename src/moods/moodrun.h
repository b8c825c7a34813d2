#pragma once

// What running a mood sends: read at the moment of the press from the mood's
// stored rows, in the fixed order lights, air conditioners, floor heating, DIY
// commands. Each step sends at most one frame and is followed by a 50 ms wait;
// a step without a frame is a wait of its own (the missing fourth set of an
// "RGB" light, a light of an unknown type, a DIY command that sends nothing).

#include "moods/mood.h"

#include <QList>

#include <functional>

using MoodStep = std::function<void()>;

// The steps of one run of m, from the database as it is now; false when a stored
// row could not be read (the steps are then not the whole mood).
bool moodRunSteps(const mood &m, QList<MoodStep> &steps);

// The frame of one DIY command: operation code, length byte and payload by
// command type; false for a type that sends nothing.
bool diyCommandFrame(int command_type, unsigned char prm1, unsigned char prm2, unsigned char prm3,
                     unsigned char prm4, unsigned short *code, unsigned char *length,
                     unsigned char payload[5], int *payloadLength);
