#include "moodsequencer.h"

#include "bus/broadcastsocket.h"
#include "store/globals.h"

MoodSequencer &MoodSequencer::instance()
{
    static MoodSequencer *sequencer = new MoodSequencer;
    return *sequencer;
}

MoodSequencer::MoodSequencer(QObject *parent)
    : QObject(parent)
{
    timer.setSingleShot(true);
    timer.setTimerType(Qt::PreciseTimer);
    connect(&timer, &QTimer::timeout, this, &MoodSequencer::waitOver);
    connect(&gl_socket, &BroadcastSocket::signalsProjectStateChanged, this, &MoodSequencer::dropRuns);
}

void MoodSequencer::dropRuns()
{
    // A waiting run would read the new project's rows by the old mood's ids.
    timer.stop();
    pending.clear();
    steps.clear();
    running = false;
}

void MoodSequencer::enqueue(Build build, const QString &text, const QString &failText)
{
    pending.enqueue({std::move(build), text, failText});
    startNext();
}

void MoodSequencer::startNext()
{
    if (running || pending.isEmpty())
        return;
    Run run = pending.dequeue();
    running = true;
    steps.clear();
    // A part of a mood is not the mood: steps that failed to read send nothing.
    const bool whole = run.build(steps);
    if (!whole)
        steps.clear();
    doneText = whole ? run.doneText : run.failText;
    index = 0;
    runStep();
}

void MoodSequencer::runStep()
{
    if (index >= steps.size()) {
        steps.clear();
        running = false;
        emit gl_socket.signalsInformation(doneText);
        emit runFinished();
        startNext();
        return;
    }
    const MoodStep step = steps.at(index++);
    if (step)
        step();
    sinceStep.start();
    timer.start(WaitMs);
}

void MoodSequencer::waitOver()
{
    // A timer may fire a little early; the wait is measured and topped up.
    const qint64 left = WaitMs - sinceStep.nsecsElapsed() / 1000000;
    if (sinceStep.nsecsElapsed() < qint64(WaitMs) * 1000000) {
        timer.start(int(qMax<qint64>(1, left)));
        return;
    }
    runStep();
}
