#include "lossnotice.h"

#include "bus/broadcastsocket.h"
#include "store/globals.h"

#include <QCoreApplication>
#include <QDebug>
#include <QElapsedTimer>
#include <QHash>
#include <QPointer>
#include <QTimer>

struct LossNotice::Kind
{
    const char *context = nullptr;
    const char *text = nullptr;
    int count = 0;
    QElapsedTimer lastSaid;
    QTimer timer;
};

LossNotice::LossNotice(QObject *parent)
    : QObject(parent)
{
}

LossNotice::~LossNotice()
{
    qDeleteAll(m_kinds);
}

LossNotice *LossNotice::instance()
{
    // Lives with the application, whose event loop says the notices.
    static QPointer<LossNotice> notices;
    if (!notices)
        notices = new LossNotice(QCoreApplication::instance());
    return notices;
}

void LossNotice::add(const char *context, const char *text, int count)
{
    if (count <= 0)
        return;
    LossNotice *self = instance();
    const QByteArray key = QByteArray(context) + '\n' + text;
    Kind *&kind = self->m_kinds[key];
    if (!kind) {
        kind = new Kind;
        kind->context = context;
        kind->text = text;
        kind->timer.setSingleShot(true);
        connect(&kind->timer, &QTimer::timeout, self, [self, key]() { self->say(key); });
    }
    kind->count += count;
    if (kind->timer.isActive())
        return;
    const qint64 since = kind->lastSaid.isValid() ? kind->lastSaid.elapsed() : self->m_intervalMs;
    kind->timer.start(int(qMax<qint64>(0, self->m_intervalMs - since)));
}

void LossNotice::say(const QByteArray &key)
{
    Kind *kind = m_kinds.value(key);
    if (!kind || kind->count <= 0)
        return;
    const QString text = QCoreApplication::translate(kind->context, kind->text, nullptr, kind->count);
    kind->count = 0;
    kind->lastSaid.start();
    qWarning().noquote() << text;
    emit gl_socket.signalsInformation(text);
}

int LossNotice::unsaid()
{
    int count = 0;
    for (const Kind *kind : qAsConst(instance()->m_kinds))
        count += kind->count;
    return count;
}

void LossNotice::setInterval(int ms)
{
    instance()->m_intervalMs = qMax(0, ms);
}
