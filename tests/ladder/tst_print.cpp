// Printing the finished lottery through a replaced printer dialog.
#include "app/form1.h"
#include "app/units.h"
#include "support/fake_seams.h"

#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

struct Printing
{
    FakePrinterDialog *dialog;
    std::unique_ptr<Form1> form;
};

// A window after standby with n participants, traced up to `traced` of them.
Printing readyToPrint(int count, int traced)
{
    TestSeams ts{unsigned(count)};
    Printing p{ts.printerDialog, std::make_unique<Form1>(std::move(ts.seams))};
    Form1 &form = *p.form;
    form.st.man_count = int16_t(count);
    form.st.atari_count = 1;
    form.st.line_top = 720;
    form.st.color_table = kColorTable;
    form.st.rung_density = 2.0f;
    form.cmd_make_Click();
    for (int i = 0; i < count; ++i) {
        form.man[i]->setText(QStringLiteral("名前%1").arg(i));
        form.ans[i]->setText(i == 0 ? QStringLiteral("あたり") : QString());
    }
    for (int i = count; i < Form1::BoxCount; ++i) {
        form.man[i]->hide();
        form.ans[i]->hide();
    }
    form.st.ready_flag = 1;
    for (int i = 0; i < traced; ++i)
        form.man_Click(i);
    return p;
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
    void printsTheWindowOnOnePage();
};

void PrintTest::refusedUntilAllTraced()
{
    auto [dialog, form] = readyToPrint(3, 2);
    form->resize(300, 100);
    form->cmd_print_Click();
    QVERIFY(dialog->selectionDisabledAtShowing.empty());
    QCOMPARE(form->size(), QSize(300, 100));
}

void PrintTest::cancelPrintsNothingAndKeepsTheNewSize_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("heightTwips");
    QTest::newRow("2 participants") << 2 << 2100;
    QTest::newRow("5 participants") << 5 << 3180;
    QTest::newRow("37 participants") << 37 << 14700;
}

void PrintTest::cancelPrintsNothingAndKeepsTheNewSize()
{
    QFETCH(int, count);
    QFETCH(int, heightTwips);

    auto [dialog, form] = readyToPrint(count, count);
    form->resize(300, 100);
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("cancelled.pdf"));
    int heightAtShowing = 0;
    dialog->onShow = [&, choose = pdfChoice(pdf, false), window = form.get()](QPrinter &printer) {
        heightAtShowing = window->outerHeightTwips();
        return choose(printer);
    };

    form->cmd_print_Click();
    QCOMPARE(dialog->selectionDisabledAtShowing.size(), size_t(1));
    QCOMPARE(heightAtShowing, heightTwips);
    QCOMPARE(form->outerHeightTwips(), heightTwips);
    QCOMPARE(form->width(), twipsToPixels(9705));
    QVERIFY(!QFileInfo::exists(pdf));
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

    auto [dialog, form] = readyToPrint(2, 2);
    QTemporaryDir dir;
    for (int i = 0; i < accepted.size(); ++i) {
        dialog->onShow = pdfChoice(dir.filePath(QStringLiteral("%1.pdf").arg(i)), accepted[i]);
        form->cmd_print_Click();
    }
    QCOMPARE(QList<bool>(dialog->selectionDisabledAtShowing.begin(), dialog->selectionDisabledAtShowing.end()),
             selectionDisabled);
    for (int i = 0; i < accepted.size(); ++i)
        QCOMPARE(QFileInfo::exists(dir.filePath(QStringLiteral("%1.pdf").arg(i))), accepted[i]);
}

void PrintTest::printsTheWindowOnOnePage()
{
    const QString pdftoppm = QStandardPaths::findExecutable(QStringLiteral("pdftoppm"));
    if (pdftoppm.isEmpty())
        QSKIP("pdftoppm is not installed");

    auto [dialog, form] = readyToPrint(6, 6);
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("sheet.pdf"));
    dialog->onShow = pdfChoice(pdf, true);
    form->cmd_print_Click();
    QVERIFY(QFileInfo::exists(pdf));

    QProcess convert;
    convert.start(pdftoppm, {QStringLiteral("-r"), QStringLiteral("60"), QStringLiteral("-png"), pdf,
                             dir.filePath(QStringLiteral("page"))});
    QVERIFY(convert.waitForFinished(60000));
    QCOMPARE(convert.exitCode(), 0);
    const QStringList pages = QDir(dir.path()).entryList({QStringLiteral("page*.png")});
    QCOMPARE(pages.size(), 1);
    const QImage page = QImage(dir.filePath(pages.first())).convertToFormat(QImage::Format_RGB32);

    // The printed area has the window's proportions, fills the page's width and looks like the window.
    const QImage window = form->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QRect area = printedArea(page);
    QVERIFY(area.isValid());
    QVERIFY(area.width() > page.width() * 8 / 10);
    QVERIFY(qAbs(double(area.width()) / area.height() - double(window.width()) / window.height()) < 0.05);
    const QImage scaled = window.scaled(area.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    QVERIFY2(meanDifference(page.copy(area), scaled) < 12, "the page does not show the window");
    QVERIFY(pixelsNear(page, QColor(255, 128, 128)) > 20);
}

QTEST_MAIN(PrintTest)
#include "tst_print.moc"
