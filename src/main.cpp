// Module1: loads the window, lets it restore its state, then shows it.
#include "form1.h"
#include "history.h"
#include "translations.h"

#include <QApplication>
#include <QTimer>
#include <QTranslator>

#include <fontconfig/fontconfig.h>

#include <cstdio>
#include <cstring>
#include <thread>

static bool displayAvailable()
{
    return qEnvironmentVariableIsSet("QT_QPA_PLATFORM") || qEnvironmentVariableIsSet("DISPLAY")
        || qEnvironmentVariableIsSet("WAYLAND_DISPLAY");
}

int main(int argc, char *argv[])
{
    // `--history-csv FILE` exports the history of lotteries and ends: no window, no display.
    if (argc > 1 && std::strcmp(argv[1], "--history-csv") == 0) {
        if (argc != 3) {
            std::fputs("usage: amidakuji --history-csv FILE   (- for standard output)\n", stderr);
            return 2;
        }
        QCoreApplication app(argc, argv);
        return exportHistoryCsv(QString::fromLocal8Bit(argv[2]));
    }
    if (!displayAvailable()) {
        std::fputs("amidakuji: no display found (DISPLAY is not set); "
                   "to run it without a screen, use: xvfb-run -a amidakuji\n", stderr);
        return 1;
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
    Form1 form;
    form.show();
    // The history opens once the window is up, so that start-up does not wait for it.
    QTimer::singleShot(0, &form, [&form] { form.openHistory(History::defaultPath()); });
    // A list of names named on the command line (or by "Open with") opens its preview once the
    // window is up. QApplication has taken its own options out of argv by now.
    if (argc > 1) {
        const QString path = QString::fromLocal8Bit(argv[1]);
        QTimer::singleShot(0, &form, [&form, path] { form.openNameList(path); });
    }
    return app.exec();
}
