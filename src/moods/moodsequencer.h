#pragma once

// The one queue through which every mood run goes out on the bus. A run's steps
// are built when its turn comes (so a press made during another run reads the
// database after that run, as it would have with the thread asleep), then sent
// one step at a time: each step's frame goes out and at least 50 ms pass before
// the next step or the end of the run, measured, never earlier. Only after the
// last wait is the run's closing text shown. The event loop keeps running
// between steps; runs never interleave. A run whose steps cannot all be read
// sends nothing and shows its failure text instead. A project switch drops the
// runs not yet ended: their mood ids are the project's before.

#include "moods/moodrun.h"

#include <QElapsedTimer>
#include <QObject>
#include <QQueue>
#include <QString>
#include <QTimer>

#include <functional>

class MoodSequencer : public QObject
{
    Q_OBJECT
public:
    static constexpr int WaitMs = 50;

    static MoodSequencer &instance();

    // Queues a run: build() makes its steps when it starts; doneText goes to the
    // hub's signalsInformation after its last wait. When build() answers false,
    // no step is sent and failText goes there at once.
    using Build = std::function<bool(QList<MoodStep> &steps)>;
    void enqueue(Build build, const QString &doneText, const QString &failText);

    bool isBusy() const { return running || !pending.isEmpty(); }

signals:
    // A run has ended (after its text was sent).
    void runFinished();

private:
    explicit MoodSequencer(QObject *parent = nullptr);
    void startNext();
    void runStep();
    void waitOver();
    // Drops the waiting runs and the rest of the one under way, without a text.
    void dropRuns();

    struct Run
    {
        Build build;
        QString doneText;
        QString failText;
    };
    QQueue<Run> pending;
    QList<MoodStep> steps;
    QString doneText;
    int index = 0;
    bool running = false;
    QTimer timer;
    QElapsedTimer sinceStep;
};
