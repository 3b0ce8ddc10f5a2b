// The yardstick for start-up time and memory: the smallest Qt Widgets program that shows a
// window with a line of Japanese text, about the size of the lottery window.
#include <QApplication>
#include <QLabel>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QLabel window(QStringLiteral("あみだくじ"));
    window.setWindowTitle(QStringLiteral("minimal window"));
    window.resize(639, 140);
    window.show();
    return app.exec();
}
