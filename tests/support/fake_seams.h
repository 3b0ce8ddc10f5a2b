#pragma once
// Deterministic stand-ins for the window's seams and the lottery's sources.

#include "support/fake_sources.h"
#include "window_seams.h"

#include <QStringList>
#include <QTemporaryDir>

#include <functional>
#include <vector>

class RecordingMessenger : public Messenger
{
public:
    void show(QWidget *, const QString &text) override
    {
        shown << text;
        if (whileOpen)
            whileOpen();
    }
    bool ask(QWidget *, const QString &text) override
    {
        asked << text;
        if (whileOpen)
            whileOpen();
        return answer;
    }
    QStringList shown;
    QStringList asked;
    bool answer = true;
    // Runs while a message or question is open, as events would under a real dialog.
    std::function<void()> whileOpen;
};

// A save dialog that records the proposed path and answers with `chosen` (empty: cancel).
class FakeSaveDialog : public SaveDialog
{
public:
    QString choose(QWidget *, const QString &proposedPath) override
    {
        proposed << proposedPath;
        return chosen;
    }
    QStringList proposed;
    QString chosen;
};

// A printer dialog that records each showing; without onShow the user cancels.
class FakePrinterDialog : public PrinterDialog
{
public:
    bool choose(QPrinter &printer, bool selectionDisabled, QWidget *) override
    {
        selectionDisabledAtShowing.push_back(selectionDisabled);
        return onShow ? onShow(printer) : false;
    }

    std::function<bool(QPrinter &)> onShow;
    std::vector<bool> selectionDisabledAtShowing;
};

// Seams and sources whose parts stay reachable through the raw pointers after the window takes
// them.
struct TestSeams
{
    TestRandom *random;
    FixedTicks *ticks;
    RecordingMessenger *messenger;
    FakePrinterDialog *printerDialog;
    FakeSaveDialog *saveDialog;
    // set_up.ini goes into a folder of the test's own, never beside the test program.
    QTemporaryDir folder;
    WindowSeams seams;
    LotterySources sources;

    explicit TestSeams(unsigned seed = 1, int32_t tickValue = 0)
    {
        auto r = std::make_unique<TestRandom>(seed);
        auto t = std::make_unique<FixedTicks>(tickValue);
        auto m = std::make_unique<RecordingMessenger>();
        auto p = std::make_unique<FakePrinterDialog>();
        auto d = std::make_unique<FakeSaveDialog>();
        random = r.get();
        ticks = t.get();
        messenger = m.get();
        printerDialog = p.get();
        saveDialog = d.get();
        sources.random = std::move(r);
        sources.ticks = std::move(t);
        seams.messenger = std::move(m);
        seams.printerDialog = std::move(p);
        seams.saveDialog = std::move(d);
        seams.settingsPath = folder.filePath(QStringLiteral("set_up.ini"));
    }
};
