#pragma once

// The two message sounds: ":/myFiles/audio/alarm.wav" for an alarm and
// ":/myFiles/audio/service.wav" for a service message. A sound is played once,
// asynchronously, and only when the system lists an audio output device; with
// none, nothing is played and nothing is reported.

#include <QHash>
#include <QObject>
#include <QString>

#include <functional>

class QSoundEffect;

class MessageSound : public QObject
{
    Q_OBJECT
public:
    static const char *const AlarmFile;
    static const char *const ServiceFile;

    explicit MessageSound(QObject *parent = nullptr);
    ~MessageSound() override;

    // The sound of a message type: the alarm sound for 1, the service sound otherwise.
    static QString fileFor(int messageType);
    // Whether the system lists at least one audio output device.
    static bool audioOutputExists();

    // Plays the sound of the message type when an output exists.
    void play(int messageType);

    // How many sounds were started, and the file of the last one.
    int playCount() const { return m_playCount; }
    QString lastPlayed() const { return m_lastPlayed; }

    // Test seams: the question whether an output exists, and what starts a sound.
    void setOutputProbe(std::function<bool()> probe) { m_probe = std::move(probe); }
    void setPlayer(std::function<void(const QString &)> player) { m_player = std::move(player); }

private:
    void start(const QString &file);

    std::function<bool()> m_probe;
    std::function<void(const QString &)> m_player;
    QHash<QString, QSoundEffect *> m_effects;
    int m_playCount = 0;
    QString m_lastPlayed;
};
