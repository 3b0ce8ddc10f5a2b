// Printing the finished lottery through a replaced printer dialog.
#include "support/window.h"

#include <QDir>
#include <QFileInfo>
#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace {

// A window after standby in winner mode with n participants, traced up to `traced` of them.
bool readyToPrint(Window &w, int count, int traced)
{
    if (!w.prepare(kWinnerMode, count) || !w.standby())
        return false;
    for (int i = 0; i < traced; ++i)
        w.clickName(i);
    return true;
}

// The dialog's answer: print into this PDF file, or cancel after naming it.
std::function<bool(QPrinter &)> pdfChoice(const QString &path, bool accept)
{
    return [path, accept](QPrinter &printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path);
        return accept;
    };
}

// The smallest rectangle holding everything on the page that is not blank paper.
QRect printedArea(const QImage &page)
{
    QRect area;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x)
            if (qGray(page.pixel(x, y)) < 250)
                area |= QRect(x, y, 1, 1);
    return area;
}

double meanDifference(const QImage &a, const QImage &b)
{
    double sum = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) + std::abs(qBlue(p) - qBlue(q));
        }
    return sum / (3.0 * a.width() * a.height());
}

int pixelsNear(const QImage &image, QColor colour)
{
    int found = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor p = image.pixelColor(x, y);
            found += std::abs(p.red() - colour.red()) + std::abs(p.green() - colour.green())
                         + std::abs(p.blue() - colour.blue()) < 40;
        }
    return found;
}

} // namespace

class PrintTest : public QObject
{
    Q_OBJECT

private slots:
    void refusedUntilAllTraced();
    void cancelPrintsNothingAndKeepsTheNewSize_data();
    void cancelPrintsNothingAndKeepsTheNewSize();
    void selectionChoiceDisabledAfterAPrint_data();
    void selectionChoiceDisabledAfterAPrint();
    void printsTheWindowOnOnePage_data();
    void printsTheWindowOnOnePage();
    void printerThatCannotStartIsNamed();
};

// The button stays disabled until every path is traced; a click on it shows no dialog.
void PrintTest::refusedUntilAllTraced()
{
    Window w;
    QVERIFY(readyToPrint(w, 3, 2));
    w.form->resize(300, 100);
    QVERIFY(!w.button("cmd_print")->isEnabled());
    w.button("cmd_print")->click();
    QVERIFY(w.ts.printerDialog->selectionDisabledAtShowing.empty());
    QCOMPARE(w.form->size(), QSize(300, 100));
}

void PrintTest::cancelPrintsNothingAndKeepsTheNewSize_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("heightTwips");
    QTest::newRow("2 participants") << 2 << 2100;
    QTest::newRow("5 participants") << 5 << 3180;
    QTest::newRow("37 participants") << 37 << 14700;
}

// The window takes the print size before the dialog shows, and keeps it after a cancel (the
// offscreen window has no frame, so its outer size is its own).
void PrintTest::cancelPrintsNothingAndKeepsTheNewSize()
{
    QFETCH(int, count);
    QFETCH(int, heightTwips);
    Window w;
    QVERIFY(readyToPrint(w, count, count));
    w.form->resize(300, 100);
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("cancelled.pdf"));
    QSize sizeAtShowing;
    w.ts.printerDialog->onShow = [&, choose = pdfChoice(pdf, false)](QPrinter &printer) {
        sizeAtShowing = w.form->size();
        return choose(printer);
    };

    w.button("cmd_print")->click();
    const QSize printSize(twipsToPixels(9705), twipsToPixels(heightTwips));
    QCOMPARE(w.ts.printerDialog->selectionDisabledAtShowing.size(), size_t(1));
    QCOMPARE(sizeAtShowing, printSize);
    QCOMPARE(w.form->size(), printSize);
    QVERIFY(!QFileInfo::exists(pdf));
    QVERIFY(w.messages().isEmpty());
}

void PrintTest::selectionChoiceDisabledAfterAPrint_data()
{
    QTest::addColumn<QList<bool>>("accepted");
    QTest::addColumn<QList<bool>>("selectionDisabled");

    QTest::newRow("cancel, cancel") << QList<bool>{false, false} << QList<bool>{false, false};
    QTest::newRow("print, print") << QList<bool>{true, true} << QList<bool>{false, true};
    QTest::newRow("cancel, print, cancel") << QList<bool>{false, true, false} << QList<bool>{false, false, true};
}

void PrintTest::selectionChoiceDisabledAfterAPrint()
{
    QFETCH(QList<bool>, accepted);
    QFETCH(QList<bool>, selectionDisabled);

    Window w;
    QVERIFY(readyToPrint(w, 2, 2));
    FakePrinterDialog *dialog = w.ts.printerDialog;
    QTemporaryDir dir;
    for (int i = 0; i < accepted.size(); ++i) {
        dialog->onShow = pdfChoice(dir.filePath(QStringLiteral("%1.pdf").arg(i)), accepted[i]);
        w.button("cmd_print")->click();
    }
    QCOMPARE(QList<bool>(dialog->selectionDisabledAtShowing.begin(), dialog->selectionDisabledAtShowing.end()),
             selectionDisabled);
    for (int i = 0; i < accepted.size(); ++i)
        QCOMPARE(QFileInfo::exists(dir.filePath(QStringLiteral("%1.pdf").arg(i))), accepted[i]);
}

// The page is the same whatever the window's zoom.
void PrintTest::printsTheWindowOnOnePage_data()
{
    QTest::addColumn<int>("zoomSteps");
    QTest::newRow("100 %") << 0;
    QTest::newRow("200 %") << 4;
}

void PrintTest::printsTheWindowOnOnePage()
{
    QFETCH(int, zoomSteps);
    const QString pdftoppm = QStandardPaths::findExecutable(QStringLiteral("pdftoppm"));
    if (pdftoppm.isEmpty())
        QSKIP("pdftoppm is not installed");

    Window w;
    QVERIFY(readyToPrint(w, 6, 6));
    const int width = w.form->width();
    for (int i = 0; i < zoomSteps; ++i)
        w.entry("mnu_zoomIn")->trigger();
    QCOMPARE(w.form->width(), zoomSteps ? 2 * width : width);
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("sheet.pdf"));
    w.ts.printerDialog->onShow = pdfChoice(pdf, true);
    w.button("cmd_print")->click();
    QVERIFY(QFileInfo::exists(pdf));
    w.entry("mnu_zoomReset")->trigger();

    QProcess convert;
    convert.start(pdftoppm, {QStringLiteral("-r"), QStringLiteral("60"), QStringLiteral("-png"), pdf,
                             dir.filePath(QStringLiteral("page"))});
    QVERIFY(convert.waitForFinished(60000));
    QCOMPARE(convert.exitCode(), 0);
    const QStringList pages = QDir(dir.path()).entryList({QStringLiteral("page*.png")});
    QCOMPARE(pages.size(), 1);
    const QImage page = QImage(dir.filePath(pages.first())).convertToFormat(QImage::Format_RGB32);

    // The printed area has the window's proportions, fills the page's width and looks like the window.
    const QImage window = w.picture().convertToFormat(QImage::Format_RGB32);
    const QRect area = printedArea(page);
    QVERIFY(area.isValid());
    QVERIFY(area.width() > page.width() * 8 / 10);
    QVERIFY(qAbs(double(area.width()) / area.height() - double(window.width()) / window.height()) < 0.05);
    const QImage scaled = window.scaled(area.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    QVERIFY2(meanDifference(page.copy(area), scaled) < 12, "the page does not show the window");
    QVERIFY(pixelsNear(page, QColor(255, 128, 128)) > 20);
}

// A printer that cannot start a job (here a PDF file in a folder that does not exist) is a
// message naming it, not a print that silently never comes.
void PrintTest::printerThatCannotStartIsNamed()
{
    Window w;
    QVERIFY(readyToPrint(w, 3, 3));
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("missing/result.pdf"));
    w.ts.printerDialog->onShow = pdfChoice(pdf, true);

    w.button("cmd_print")->click();
    QCOMPARE(w.messages(), QStringList{QStringLiteral("プリンタ %1 で印刷を始められませんでした。").arg(pdf)});
    QVERIFY(!QFileInfo::exists(pdf));
}

QTEST_MAIN(PrintTest)
#include "tst_print.moc"
