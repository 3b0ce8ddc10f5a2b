#pragma once
// What the window needs from the desktop around it: message boxes, the printer dialog, the file
// dialogs and the preview of a list of names. Tests replace any of them.

#include "names/name_list.h"

#include <QString>
#include <QStringList>

#include <memory>

class QPrinter;
class QWidget;

// Every message to the user: modal, one OK button, no icon, title "確認". A question has the
// buttons Yes and No instead and tells whether the user said yes. A fault the user should know
// of (the history could not be used) is an error: a warning icon and a title that says so.
class Messenger
{
public:
    virtual ~Messenger() = default;
    virtual void show(QWidget *parent, const QString &text) = 0;
    virtual bool ask(QWidget *parent, const QString &text) = 0;
    virtual void showError(QWidget *parent, const QString &text) = 0;
};

class MessageBoxMessenger : public Messenger
{
public:
    void show(QWidget *parent, const QString &text) override;
    bool ask(QWidget *parent, const QString &text) override;
    void showError(QWidget *parent, const QString &text) override;
};

// The standard dialog that chooses where a file (a picture, the history as CSV) is saved: the
// chosen path, or empty when the user cancels.
class SaveDialog
{
public:
    virtual ~SaveDialog() = default;
    virtual QString choose(QWidget *parent, const QString &proposedPath, const QString &title,
                           const QString &filter) = 0;
};

class SystemSaveDialog : public SaveDialog
{
public:
    QString choose(QWidget *parent, const QString &proposedPath, const QString &title,
                   const QString &filter) override;
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

// The standard dialog that picks a list of names to open: the chosen path, or empty when the
// user cancels.
class OpenDialog
{
public:
    virtual ~OpenDialog() = default;
    virtual QString choose(QWidget *parent) = 0;
};

class SystemOpenDialog : public OpenDialog
{
public:
    QString choose(QWidget *parent) override;
};

// The preview of a list of names read from a file: true when the user takes the names in.
class NamePreview
{
public:
    virtual ~NamePreview() = default;
    virtual bool confirm(QWidget *parent, const QString &path, const names::NameListRead &read) = 0;
};

class NamePreviewDialogShown : public NamePreview
{
public:
    bool confirm(QWidget *parent, const QString &path, const names::NameListRead &read) override;
};

// The show's sounds: a soft tick as a running path crosses a rung, a chime when it arrives, a
// brighter fanfare when it reaches a win. Playing never holds up the window; where there is no
// audio device the program is silent.
enum class ShowSound { Tick, Chime, Fanfare };

class SoundOutput
{
public:
    virtual ~SoundOutput() = default;
    virtual void play(ShowSound sound) = 0;
};

struct WindowSeams
{
    std::unique_ptr<Messenger> messenger = std::make_unique<MessageBoxMessenger>();
    std::unique_ptr<PrinterDialog> printerDialog = std::make_unique<SystemPrinterDialog>();
    std::unique_ptr<SaveDialog> saveDialog = std::make_unique<SystemSaveDialog>();
    std::unique_ptr<OpenDialog> openDialog = std::make_unique<SystemOpenDialog>();
    std::unique_ptr<NamePreview> namePreview = std::make_unique<NamePreviewDialogShown>();
    // None: silent.
    std::unique_ptr<SoundOutput> soundOutput;
    // set_up.ini; empty for the one beside the program (or in the user's configuration folder).
    QString settingsPath;
};
