// Printing the finished lottery: the window's whole image on a printer the user picks.
#include "form1.h"
#include "panel/panel_text.h"
#include "units.h"

#include <QPainter>
#include <QPrinter>

namespace {

constexpr int kPrintWidthTwips = 9705;

// The printer as the user knows it: its name, or the file a PDF printer writes.
QString printerName(const QPrinter &printer)
{
    if (printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty())
        return printer.outputFileName();
    return printer.printerName();
}

} // namespace

void Form1::cmd_print_Click()
{
    finishRunningPath();
    if (!lottery.allTraced())
        return;
    fitWindowToResult();

    // The printer chosen last is offered again.
    if (!printer)
        printer = std::make_shared<QPrinter>(QPrinter::HighResolution);
    if (!paused([&] { return seams.printerDialog->choose(*printer, printSelectionDisabled, this); }))
        return;
    printSelectionDisabled = true;
    if (!printWindow(*printer))
        showMessage(QStringLiteral("プリンタ %1 で印刷を始められませんでした。").arg(printerName(*printer)));
}

// The window just holds every participant's row.
void Form1::fitWindowToResult()
{
    windowView.setOuterWidthTwips(kPrintWidthTwips);
    windowView.setOuterHeightTwips(printHeightTwips());
}

// The window's own height for the participants: the print is the window as it stands.
int Form1::printHeightTwips() const
{
    return panel::outerHeightTwips(lottery.participantCount());
}

// The client area the window has once fitted for printing.
QSize Form1::printSize() const
{
    return windowView.clientSize(kPrintWidthTwips, printHeightTwips());
}

// Scales the window at 100 % to fit the printable area, keeping its aspect ratio; false when the
// printer cannot start a job.
bool Form1::printWindow(QPrinter &target)
{
    QPainter painter;
    if (!painter.begin(&target))
        return false;
    const QRect shown(QPoint(), printSize());
    const QRect area = painter.viewport();
    painter.setViewport(QRect(area.topLeft(), shown.size().scaled(area.size(), Qt::KeepAspectRatio)));
    painter.setWindow(shown);
    windowView.atActualSize([&] { render(&painter, QPoint(), QRegion(shown)); });
    painter.end();
    return true;
}
