#pragma once

// What the program gives up (kept messages and reports it never could store, rows
// it never could read) is said on the hub, one notice for each kind with the count
// given up since the last: at the end of the turn of the event loop in which it
// was given up, and then at most once every interval. A thousand losses make one
// notice, not a thousand.

#include <QHash>
#include <QObject>

class LossNotice : public QObject
{
    Q_OBJECT
public:
    static constexpr int IntervalMs = 5000;

    // Counts count more of what text tells; text is a translatable text with %n,
    // in the translation context context (both must outlive the program).
    static void add(const char *context, const char *text, int count);
    // The count not said yet, of every kind.
    static int unsaid();
    // Test hook (clock seam): the least time between two notices of one kind.
    static void setInterval(int ms);

private:
    explicit LossNotice(QObject *parent);
    ~LossNotice() override;
    static LossNotice *instance();
    void say(const QByteArray &kind);

    struct Kind;
    QHash<QByteArray, Kind *> m_kinds;
    int m_intervalMs = IntervalMs;
};
