#pragma once
// Deterministic stand-ins for the window's seams.

#include "app/seams.h"

#include <QStringList>
#include <QTemporaryDir>

#include <functional>
#include <random>
#include <vector>

// A seeded generator that counts its draws; it can also replay a fixed list first.
class TestRandom : public RandomSource
{
public:
    explicit TestRandom(unsigned seed = 1, std::vector<float> script = {})
        : m_engine(seed), m_script(std::move(script)) {}

    float next() override
    {
        ++draws;
        if (m_position < m_script.size())
            return m_script[m_position++];
        return float(m_engine() >> 8) * 0x1p-24f;
    }

    long long draws = 0;

private:
    std::mt19937 m_engine;
    std::vector<float> m_script;
    size_t m_position = 0;
};

class FixedTicks : public TickSource
{
public:
    explicit FixedTicks(int32_t value = 0) : value(value) {}
    int32_t ticks() override { return value; }
    int32_t value;
};

class RecordingMessenger : public Messenger
{
public:
    void show(QWidget *, const QString &text) override { shown << text; }
    bool ask(QWidget *, const QString &text) override
    {
        asked << text;
        return answer;
    }
    QStringList shown;
    QStringList asked;
    bool answer = true;
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

// Seams whose parts stay reachable through the raw pointers after the window takes them.
struct TestSeams
{
    TestRandom *random;
    FixedTicks *ticks;
    RecordingMessenger *messenger;
    FakePrinterDialog *printerDialog;
    FakeSaveDialog *saveDialog;
    // set_up.ini goes into a folder of the test's own, never beside the test program.
    QTemporaryDir folder;
    Seams seams;

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
        seams.random = std::move(r);
        seams.ticks = std::move(t);
        seams.messenger = std::move(m);
        seams.printerDialog = std::move(p);
        seams.saveDialog = std::move(d);
        seams.settingsPath = folder.filePath(QStringLiteral("set_up.ini"));
    }
};
