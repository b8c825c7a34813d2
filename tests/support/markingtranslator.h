#pragma once

// A translator that renders every text of the user interface differently
// ("[Edit Room]"), so that a test sees whether a page request or a comparison
// uses a translated title where it needs the page id. Resource paths (":/...")
// are left alone, so pictures still load.

#include <QCoreApplication>
#include <QTranslator>

namespace varnotest {

class MarkingTranslator : public QTranslator
{
public:
    bool isEmpty() const override { return false; }

    QString translate(const char *, const char *source, const char *, int) const override
    {
        const QString text = QString::fromUtf8(source);
        if (text.isEmpty() || text.startsWith(QLatin1String(":/")))
            return text;
        return QLatin1Char('[') + text + QLatin1Char(']');
    }
};

// Installs the translator for the life of the object.
class MarkedTexts
{
public:
    MarkedTexts() { QCoreApplication::installTranslator(&m_translator); }
    ~MarkedTexts() { QCoreApplication::removeTranslator(&m_translator); }

private:
    MarkingTranslator m_translator;
};

} // namespace varnotest
