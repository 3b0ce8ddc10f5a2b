#pragma once
// Deterministic stand-ins for the window's seams and the lottery's sources.

#include "support/fake_sources.h"
#include "window_seams.h"

#include <QSettings>
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
    // An error is shown like any message, and noted as one.
    void showError(QWidget *parent, const QString &text) override
    {
        errors << text;
        show(parent, text);
    }
    QStringList shown;
    QStringList asked;
    QStringList errors;
    bool answer = true;
    // Runs while a message or question is open, as events would under a real dialog.
    std::function<void()> whileOpen;
};

// A save dialog that records the proposed path and answers with `chosen` (empty: cancel).
class FakeSaveDialog : public SaveDialog
{
public:
    QString choose(QWidget *, const QString &proposedPath, const QString &, const QString &) override
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

// An open dialog that answers with `chosen` (empty: cancel).
class FakeOpenDialog : public OpenDialog
{
public:
    QString choose(QWidget *) override
    {
        ++shown;
        return chosen;
    }
    int shown = 0;
    QString chosen;
};

// A preview that records the names it was shown and answers with `take`.
class FakeNamePreview : public NamePreview
{
public:
    bool confirm(QWidget *, const QString &path, const names::NameListRead &read) override
    {
        paths << path;
        shownNames = read.names;
        shown = read;
        return take;
    }
    QStringList paths;
    QStringList shownNames;
    names::NameListRead shown;
    bool take = true;
};

// Seams and sources whose parts stay reachable through the raw pointers after the window takes
// them.
struct TestSeams
{
    TestRandom *random;
    FixedTicks *ticks;
    CountingNonce *nonces;
    RecordingMessenger *messenger;
    FakePrinterDialog *printerDialog;
    FakeSaveDialog *saveDialog;
    FakeOpenDialog *openDialog;
    FakeNamePreview *namePreview;
    // set_up.ini goes into a folder of the test's own, never beside the test program.
    QTemporaryDir folder;
    WindowSeams seams;
    LotterySources sources;

    explicit TestSeams(unsigned seed = 1, int32_t tickValue = 0)
    {
        auto r = std::make_unique<TestRandom>(seed);
        auto t = std::make_unique<FixedTicks>(tickValue);
        auto n = std::make_unique<CountingNonce>();
        auto m = std::make_unique<RecordingMessenger>();
        auto p = std::make_unique<FakePrinterDialog>();
        auto d = std::make_unique<FakeSaveDialog>();
        auto o = std::make_unique<FakeOpenDialog>();
        auto v = std::make_unique<FakeNamePreview>();
        random = r.get();
        ticks = t.get();
        nonces = n.get();
        messenger = m.get();
        printerDialog = p.get();
        saveDialog = d.get();
        openDialog = o.get();
        namePreview = v.get();
        sources.random = std::move(r);
        sources.ticks = std::move(t);
        sources.nonce = std::move(n);
        seams.messenger = std::move(m);
        seams.printerDialog = std::move(p);
        seams.saveDialog = std::move(d);
        seams.openDialog = std::move(o);
        seams.namePreview = std::move(v);
        seams.settingsPath = folder.filePath(QStringLiteral("set_up.ini"));
        // The remembered zoom, too, is the test's own.
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, folder.path());
    }
};
