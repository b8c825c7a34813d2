#include "messagesound.h"

#include <QAudioDeviceInfo>
#include <QSoundEffect>
#include <QUrl>

const char *const MessageSound::AlarmFile = ":/myFiles/audio/alarm.wav";
const char *const MessageSound::ServiceFile = ":/myFiles/audio/service.wav";

MessageSound::MessageSound(QObject *parent)
    : QObject(parent)
    , m_probe(&MessageSound::audioOutputExists)
{}

MessageSound::~MessageSound() = default;

QString MessageSound::fileFor(int messageType)
{
    return QString::fromLatin1(messageType == 1 ? AlarmFile : ServiceFile);
}

bool MessageSound::audioOutputExists()
{
    return !QAudioDeviceInfo::availableDevices(QAudio::AudioOutput).isEmpty();
}

void MessageSound::play(int messageType)
{
    if (!m_probe || !m_probe())
        return;
    const QString file = fileFor(messageType);
    ++m_playCount;
    m_lastPlayed = file;
    if (m_player)
        m_player(file);
    else
        start(file);
}

void MessageSound::start(const QString &file)
{
    // One effect per file, made on first use and kept: a new arrival restarts it.
    QSoundEffect *effect = m_effects.value(file);
    if (!effect) {
        effect = new QSoundEffect(this);
        effect->setSource(QUrl(QStringLiteral("qrc") + file));
        effect->setLoopCount(1);
        m_effects.insert(file, effect);
    }
    effect->stop();
    effect->play();
}
