#pragma once
// An X server of the test's own (Xvfb) with the real program on it, started from a copy in a
// folder of its own, and the X tools that look at it and act on it from outside.

#include <QDeadlineTimer>
#include <QFile>
#include <QImage>
#include <QMap>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>
#include <QThread>

#include <csignal>
#include <memory>
#include <sys/prctl.h>

// Calls attempt() until it reports done (returns true) or the deadline passes; returns whether it
// got done. For what a busy machine makes fail now and then: X tools that find no display yet, a
// window that is not mapped yet or gone a moment later.
template<typename Attempt>
bool retryUntil(const QDeadlineTimer &deadline, Attempt attempt)
{
    while (!attempt()) {
        if (deadline.hasExpired())
            return false;
        QThread::msleep(50);
    }
    return true;
}

class XSession
{
public:
    XSession() = default;
    XSession(const XSession &) = delete;
    XSession &operator=(const XSession &) = delete;
    ~XSession()
    {
        stop(m_program);
        stop(m_server);
    }

    // The tools of the list that cannot be found.
    static QStringList missingTools(const QStringList &tools)
    {
        QStringList missing;
        for (const QString &tool : tools) {
            if (QStandardPaths::findExecutable(tool).isEmpty())
                missing << tool;
        }
        return missing;
    }

    // Starts Xvfb on a free display; -displayfd has it write the number once it listens, and
    // -noreset keeps it from resetting (and refusing clients meanwhile) when the last one leaves.
    bool startServer(QString *error)
    {
        m_server = childProcess();
        m_server->setStandardErrorFile(QProcess::nullDevice());
        m_server->start(QStringLiteral("Xvfb"), {QStringLiteral("-displayfd"), QStringLiteral("1"),
                                                 QStringLiteral("-screen"), QStringLiteral("0"),
                                                 QStringLiteral("1024x768x24"), QStringLiteral("-nolisten"),
                                                 QStringLiteral("tcp"), QStringLiteral("-noreset")});
        if (!m_server->waitForStarted(5000)) {
            *error = QStringLiteral("Xvfb did not start");
            return false;
        }
        QDeadlineTimer deadline(15000);
        QByteArray output;
        while (!output.contains('\n') && !deadline.hasExpired() && m_server->state() == QProcess::Running) {
            m_server->waitForReadyRead(200);
            output += m_server->readAllStandardOutput();
        }
        bool ok = false;
        const int number = output.trimmed().toInt(&ok);
        if (!ok) {
            *error = QStringLiteral("Xvfb gave no display number: '%1'").arg(QString::fromLatin1(output));
            return false;
        }
        m_display = QStringLiteral(":%1").arg(number);
        return true;
    }

    // Copies the executable into the folder and starts the copy there, on this display.
    bool startProgram(const QString &executable, const QString &folder, QString *error)
    {
        const QString copy = folder + QStringLiteral("/amidakuji");
        if (!QFile::copy(executable, copy)
            || !QFile::setPermissions(copy, QFile::permissions(copy) | QFile::ExeOwner)) {
            *error = QStringLiteral("cannot copy %1 into %2").arg(executable, folder);
            return false;
        }
        return launchProgram(folder, {}, error);
    }

    // Starts (again) the copy of the program in the folder, with extra environment settings.
    bool launchProgram(const QString &folder, const QMap<QString, QString> &settings, QString *error)
    {
        stop(m_program);
        m_program = childProcess();
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        // The user's own remembered zoom stays out of the tests.
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), folder + QStringLiteral("/config"));
        for (auto it = settings.begin(); it != settings.end(); ++it)
            environment.insert(it.key(), it.value());
        environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
        environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
        environment.insert(QStringLiteral("DISPLAY"), m_display);
        m_program->setProcessEnvironment(environment);
        m_program->setWorkingDirectory(folder);
        m_program->setProcessChannelMode(QProcess::MergedChannels);
        m_output.clear();
        m_program->start(folder + QStringLiteral("/amidakuji"), {});
        if (!m_program->waitForStarted(5000)) {
            *error = m_program->errorString();
            return false;
        }
        return true;
    }

    // Kills the program outright (SIGKILL), as a crash or a power cut would end it.
    void killProgram()
    {
        if (!m_program)
            return;
        m_program->kill();
        m_program->waitForFinished(3000);
    }

    bool programRunning() const { return m_program && m_program->state() == QProcess::Running; }
    // What the program has printed since it started.
    QString programOutput()
    {
        if (m_program)
            m_output += m_program->readAll();
        return QString::fromLocal8Bit(m_output);
    }

    // Waits until the program has printed the text; false if it ended or the time ran out first.
    bool waitForProgramOutput(const QByteArray &text, int milliseconds)
    {
        QDeadlineTimer deadline(milliseconds);
        while (!m_output.contains(text)) {
            if (!m_program || deadline.hasExpired())
                return false;
            m_program->waitForReadyRead(int(qMin<qint64>(deadline.remainingTime(), 200)));
            m_output += m_program->readAll();
            if (m_program->state() != QProcess::Running && m_program->bytesAvailable() == 0
                && !m_output.contains(text))
                return false;
        }
        return true;
    }

    // Runs an X client tool on this display and returns what it printed. A failure that an X
    // server under load gives now and then (see transientXError) is retried until the time is up;
    // it comes before the tool has done anything, so a click or a key is never sent twice.
    QByteArray runTool(const QString &program, const QStringList &arguments, int *exitCode = nullptr,
                       int milliseconds = 20000)
    {
        QByteArray output;
        int code = -1;
        retryUntil(QDeadlineTimer(milliseconds), [&] {
            auto tool = childProcess();
            QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
            environment.insert(QStringLiteral("DISPLAY"), m_display);
            tool->setProcessEnvironment(environment);
            tool->start(program, arguments);
            if (!tool->waitForFinished(10000))
                tool->kill();
            tool->waitForFinished(1000);
            code = tool->exitStatus() == QProcess::NormalExit ? tool->exitCode() : -1;
            output = tool->readAllStandardOutput();
            return code == 0 || !transientXError(tool->readAllStandardError());
        });
        if (exitCode)
            *exitCode = code;
        return output;
    }

    // X errors that say "not now" rather than "never": no connection to the server yet, or a
    // window that is not mapped yet or was just unmapped.
    static bool transientXError(const QByteArray &error)
    {
        for (const char *sign : {"Can't open display", "Connection refused", "Resource temporarily unavailable",
                                 "Maximum number of clients", "BadWindow", "BadMatch", "BadDrawable",
                                 "unable to open X server", "unable to read X window", "XGetWindowAttributes"}) {
            if (error.contains(sign))
                return true;
        }
        return false;
    }

    QByteArray xdotool(const QStringList &arguments, int *exitCode = nullptr)
    {
        return runTool(QStringLiteral("xdotool"), arguments, exitCode);
    }

    // The program's visible window, waited for while the program runs; empty if none came. Only
    // this run's window counts, not one a program killed a moment ago may still leave listed.
    QString waitForWindow(int milliseconds)
    {
        QString window;
        const QDeadlineTimer deadline(milliseconds);
        const bool found = retryUntil(deadline, [&] {
            if (!programRunning())
                return false;
            int exitCode = 0;
            const QByteArray listed = runTool(QStringLiteral("xdotool"),
                                              {QStringLiteral("search"), QStringLiteral("--all"),
                                              QStringLiteral("--onlyvisible"), QStringLiteral("--pid"),
                                              QString::number(m_program->processId()), QStringLiteral("--name"),
                                              QStringLiteral("Vornikel")},
                                             &exitCode, int(deadline.remainingTime()));
            window = QString::fromLatin1(listed.trimmed().split('\n').first());
            return exitCode == 0 && !window.isEmpty();
        });
        return found && programRunning() ? window : QString();
    }

    QImage screenshot(const QString &window)
    {
        return QImage::fromData(runTool(QStringLiteral("import"),
                                        {QStringLiteral("-window"), window, QStringLiteral("png:-")}),
                                "PNG");
    }

    // Takes screenshots until one satisfies the check or the time is up; returns the last.
    template<typename Check>
    QImage waitForPicture(const QString &window, int milliseconds, Check check)
    {
        QDeadlineTimer deadline(milliseconds);
        QImage picture = screenshot(window);
        while (!check(picture) && !deadline.hasExpired()) {
            QThread::msleep(100);
            picture = screenshot(window);
        }
        return picture;
    }

private:
    // Children die with the test, even when the test itself is killed.
    static std::unique_ptr<QProcess> childProcess()
    {
        auto process = std::make_unique<QProcess>();
        process->setChildProcessModifier([] { prctl(PR_SET_PDEATHSIG, SIGKILL); });
        return process;
    }

    static void stop(std::unique_ptr<QProcess> &process)
    {
        if (!process)
            return;
        if (process->state() != QProcess::NotRunning) {
            process->terminate();
            if (!process->waitForFinished(3000)) {
                process->kill();
                process->waitForFinished(3000);
            }
        }
        process.reset();
    }

    std::unique_ptr<QProcess> m_server;
    std::unique_ptr<QProcess> m_program;
    QByteArray m_output;
    QString m_display;
};
