#pragma once
// Rights as a user has them: root reads and writes whatever the mode bits say, so a test of a
// file that cannot be written runs its current row again as the user nobody.

#include <QCoreApplication>
#include <QProcess>
#include <QTest>

#include <unistd.h>

// True when this process runs as root, and the current row has then been run as nobody; the
// caller returns, its outcome being that run's.
#define RUN_AS_ANOTHER_USER_IF_ROOT()                                                                \
    do {                                                                                             \
        if (::geteuid() == 0) {                                                                      \
            QProcess child;                                                                          \
            child.start("setpriv", {"--reuid=nobody", "--regid=nogroup", "--clear-groups", "--",     \
                                    QCoreApplication::applicationFilePath(),                         \
                                    QStringLiteral("%1:%2").arg(QTest::currentTestFunction(),        \
                                                                QTest::currentDataTag())});          \
            QVERIFY(child.waitForFinished(60000));                                                   \
            QVERIFY2(child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0,            \
                     child.readAllStandardOutput() + child.readAllStandardError());                  \
            return;                                                                                  \
        }                                                                                            \
    } while (false)
