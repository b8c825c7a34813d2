#pragma once

// Test entry point: every test process runs with a HOME, XDG_CONFIG_HOME and
// XDG_DATA_HOME of its own, inside a temporary folder that is removed at exit,
// so no test ever reads or writes the user's settings or key store.

#include <QApplication>
#include <QTemporaryDir>
#include <QTest>

namespace varnotest {

// Points HOME and the XDG folders at a fresh temporary folder. Must run before
// the application object is made (QSettings and QDir read them lazily, but
// Qt caches some of them on first use).
class IsolatedHome
{
public:
    IsolatedHome();
    QString path() const { return m_dir.path(); }

private:
    QTemporaryDir m_dir;
};

} // namespace varnotest

#define VARNO_TEST_MAIN(TestObject) VARNO_TEST_MAIN_AFTER(TestObject, (void)0)

// The same, with before run first, ahead of every other step.
#define VARNO_TEST_MAIN_AFTER(TestObject, before)                     \
    int main(int argc, char *argv[])                                  \
    {                                                                 \
        before;                                                       \
        varnotest::IsolatedHome home;                                 \
        QApplication app(argc, argv);                                 \
        QCoreApplication::setOrganizationName(QStringLiteral("Kest")); \
        QCoreApplication::setApplicationName(QStringLiteral("Varno")); \
        app.setAttribute(Qt::AA_Use96Dpi, true);                      \
        TestObject tc;                                                \
        QTEST_SET_MAIN_SOURCE_PATH                                    \
        return QTest::qExec(&tc, argc, argv);                         \
    }
