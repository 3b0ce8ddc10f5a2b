#pragma once

#include <QString>

#include <cstdint>
#include <memory>
#include <random>

class QPrinter;
class QMessageBox;
class QWidget;

// The program's one random generator: uniform single-precision values in [0, 1).
class RandomSource
{
public:
    virtual ~RandomSource() = default;
    virtual float next() = 0;
};

// Mersenne Twister. The program seeds it once per run from the operating system's entropy, so
// that nobody can know a lottery in advance; tools and tests pass a seed of their own.
class TwisterRandom : public RandomSource
{
public:
    TwisterRandom();
    explicit TwisterRandom(uint32_t seed) : m_engine(seed) {}

    float next() override;

private:
    std::mt19937 m_engine;
};

// A random row index: the value times the count, rounded down.
int randomIndex(RandomSource &random, int count);

// Milliseconds since the system started, wrapped to a signed 32-bit value.
class TickSource
{
public:
    virtual ~TickSource() = default;
    virtual int32_t ticks() = 0;
};

class BootClockTicks : public TickSource
{
public:
    int32_t ticks() override;
};

// Every message to the user: modal, one OK button, no icon, title "確認". A question has the
// buttons Yes and No instead and tells whether the user said yes.
class Messenger
{
public:
    virtual ~Messenger() = default;
    virtual void show(QWidget *parent, const QString &text) = 0;
    virtual bool ask(QWidget *parent, const QString &text) = 0;
};

class MessageBoxMessenger : public Messenger
{
public:
    void show(QWidget *parent, const QString &text) override;
    bool ask(QWidget *parent, const QString &text) override;
};

// The standard dialog that chooses where a picture is saved: the chosen path, or empty when the
// user cancels.
class SaveDialog
{
public:
    virtual ~SaveDialog() = default;
    virtual QString choose(QWidget *parent, const QString &proposedPath) = 0;
};

class SystemSaveDialog : public SaveDialog
{
public:
    QString choose(QWidget *parent, const QString &proposedPath) override;
};

// The printer dialog: false when the user cancels or the dialog fails. From the second print on
// the window asks for the choice of printing a selection to be disabled.
class PrinterDialog
{
public:
    virtual ~PrinterDialog() = default;
    virtual bool choose(QPrinter &printer, bool selectionDisabled, QWidget *parent) = 0;
};

class SystemPrinterDialog : public PrinterDialog
{
public:
    bool choose(QPrinter &printer, bool selectionDisabled, QWidget *parent) override;
};
// The box MessageBoxMessenger shows, built apart so that its look can be checked without showing it.
std::unique_ptr<QMessageBox> confirmationBox(QWidget *parent, const QString &text);

// What the window needs from its surroundings; tests replace any of them.
struct Seams
{
    std::unique_ptr<RandomSource> random = std::make_unique<TwisterRandom>();
    std::unique_ptr<TickSource> ticks = std::make_unique<BootClockTicks>();
    std::unique_ptr<Messenger> messenger = std::make_unique<MessageBoxMessenger>();
    std::unique_ptr<PrinterDialog> printerDialog = std::make_unique<SystemPrinterDialog>();
    std::unique_ptr<SaveDialog> saveDialog = std::make_unique<SystemSaveDialog>();
    // set_up.ini; empty for the one beside the program.
    QString settingsPath;
};
