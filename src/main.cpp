// Module1: reads the command line, loads the window, lets it restore its state, then shows it.
#include "form1.h"
#include "history.h"
#include "system_sound.h"
#include "translations.h"
#include "verify.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QTimer>
#include <QTranslator>

#include <fontconfig/fontconfig.h>

#include <cstdio>
#include <thread>

namespace {

// Exit statuses besides 0: no display to open the window on, and a command line not understood.
constexpr int kNoDisplay = 1;
constexpr int kUsage = 2;

bool displayAvailable()
{
    return qEnvironmentVariableIsSet("QT_QPA_PLATFORM") || qEnvironmentVariableIsSet("DISPLAY")
        || qEnvironmentVariableIsSet("WAYLAND_DISPLAY");
}

// The options of this program, and Qt's own (which QApplication takes out later), so that only
// what neither knows is refused.
struct CommandLine
{
    QCommandLineParser parser;
    QCommandLineOption help = parser.addHelpOption();
    QCommandLineOption version = parser.addVersionOption();
    QCommandLineOption historyCsv{QStringLiteral("history-csv"),
                                  QStringLiteral("Writes the history of lotteries as CSV into FILE (- for standard "
                                                 "output) and exits, without a display."),
                                  QStringLiteral("FILE")};
    QCommandLineOption verify{QStringLiteral("verify"),
                              QStringLiteral("Checks a saved commitment text (照合用テキスト) FILE: prints its code and "
                                             "results and whether it matches CODE, if given, or the history; exits 0 "
                                             "only for a match. Without a display."),
                              QStringLiteral("FILE")};

    CommandLine()
    {
        parser.setApplicationDescription(QStringLiteral("あみだくじ２: a ladder lottery for 2 to 37 participants."));
        parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
        parser.addOption(historyCsv);
        parser.addOption(verify);
        parser.addPositionalArgument(QStringLiteral("FILE"),
                                     QStringLiteral("A list of names (.txt, .csv or .tsv) to preview and take into "
                                                    "the name boxes."),
                                     QStringLiteral("[FILE]"));
        for (const char *name : {"platform", "platformpluginpath", "platformtheme", "plugin", "display", "style",
                                 "stylesheet", "qwindowgeometry", "qwindowicon", "qwindowtitle", "session", "geometry",
                                 "title", "name"})
            addQtOption(name, true);
        for (const char *name : {"reverse", "widgetcount", "nograb", "dograb", "sync"})
            addQtOption(name, false);
    }

    void addQtOption(const char *name, bool takesValue)
    {
        QCommandLineOption option{QString::fromLatin1(name)};
        if (takesValue)
            option.setValueName(QStringLiteral("value"));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
};

int usageError(const QString &message)
{
    std::fprintf(stderr, "amidakuji: %s\nTry 'amidakuji --help' for the options.\n", qPrintable(message));
    return kUsage;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication::setApplicationName(QStringLiteral("amidakuji"));
    QCoreApplication::setApplicationVersion(QStringLiteral(AMIDAKUJI_VERSION));
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    CommandLine line;
    if (!line.parser.parse(arguments))
        return usageError(line.parser.errorText());
    const QStringList files = line.parser.positionalArguments();
    if (line.parser.isSet(line.help) || line.parser.isSet(QStringLiteral("help-all"))) {
        const QCoreApplication app(argc, argv);
        // The usage line names the command as people type it, not the path it ran from.
        std::fputs(qPrintable(line.parser.helpText().replace(QCoreApplication::arguments().constFirst(),
                                                             QStringLiteral("amidakuji"))),
                   stdout);
        return 0;
    }
    if (line.parser.isSet(line.version)) {
        std::printf("amidakuji %s\n", AMIDAKUJI_VERSION);
        return 0;
    }
    // `--verify FILE [CODE]` checks a commitment text and ends: no window, no display.
    if (line.parser.isSet(line.verify)) {
        if (files.size() > 1 || line.parser.isSet(line.historyCsv))
            return usageError(QStringLiteral("--verify takes one FILE and at most one CODE"));
        QCoreApplication app(argc, argv);
        return runVerify(line.parser.value(line.verify), files.value(0));
    }
    if (files.size() > 1)
        return usageError(QStringLiteral("one list of names at most, not %1 files").arg(files.size()));
    // `--history-csv FILE` exports the history of lotteries and ends: no window, no display.
    if (line.parser.isSet(line.historyCsv)) {
        if (!files.isEmpty())
            return usageError(QStringLiteral("--history-csv takes no list of names"));
        QCoreApplication app(argc, argv);
        return exportHistoryCsv(line.parser.value(line.historyCsv));
    }
    if (!displayAvailable()) {
        std::fputs("amidakuji: no display found (DISPLAY is not set); "
                   "to run it without a screen, use: xvfb-run -a amidakuji\n", stderr);
        return kNoDisplay;
    }
    // Reading the font configuration takes a good part of start-up; it runs on the second core
    // while the application connects to the display, so Qt usually finds it done.
    std::thread([] { FcInit(); }).detach();
    QApplication app(argc, argv);
    // The standard dialogs (the printer dialog and what it opens) speak the window's language.
    QTranslator qtTexts;
    if (loadQtTranslations(qtTexts, QLocale::system()))
        QCoreApplication::installTranslator(&qtTexts);
    // Ties the window to its menu entry (amidakuji.desktop), whose icon the desktop then shows.
    QGuiApplication::setDesktopFileName(QStringLiteral("amidakuji"));
    // The show's sounds through the desktop's audio output, where there is one.
    WindowSeams seams;
    seams.soundOutput = std::make_unique<SystemSoundOutput>();
    Form1 form(std::move(seams));
    form.show();
    // The history opens once the window is up, so that start-up does not wait for it.
    QTimer::singleShot(0, &form, [&form] { form.openHistory(History::defaultPath()); });
    // A list of names named on the command line (or by "Open with") opens its preview once the
    // window is up.
    if (!files.isEmpty()) {
        const QString path = files.first();
        QTimer::singleShot(0, &form, [&form, path] { form.openNameList(path); });
    }
    return app.exec();
}
