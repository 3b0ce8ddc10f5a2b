#pragma once
// The real program run without a display, its data and configuration in a folder of its own:
// its exit status (-1 when it crashed or did not end) and what it printed.

#include <QProcess>
#include <QString>
#include <QStringList>

struct Run
{
    int exitCode = -1;
    QString out;
    QString err;
};

inline Run runProgram(const QStringList &arguments, const QString &folder)
{
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(name);
    environment.insert("XDG_DATA_HOME", folder);
    environment.insert("XDG_CONFIG_HOME", folder);
    program.setProcessEnvironment(environment);
    program.setWorkingDirectory(folder);
    program.start(AMIDAKUJI_EXECUTABLE, arguments);
    Run run;
    if (!program.waitForFinished(30000))
        return run;
    run.exitCode = program.exitStatus() == QProcess::NormalExit ? program.exitCode() : -1;
    run.out = QString::fromUtf8(program.readAllStandardOutput());
    run.err = QString::fromUtf8(program.readAllStandardError());
    return run;
}
