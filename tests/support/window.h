#pragma once
// The one window fixture: a Form1 started the way the program starts it, from a set_up.ini of the
// test's own (or none), with test seams, and driven only through its controls, found by name.

#include "box_look.h"
#include "form1.h"
#include "units.h"
#include "support/file_bytes.h"
#include "settings/settings_file.h"
#include "support/fake_seams.h"
#include "support/setup_lines.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <memory>

constexpr int kWinnerMode = 0;
constexpr int kLotteryMode = 1;
constexpr int kNumberMode = 2;

struct Window
{
    TestSeams ts;
    // set_up.ini inside the test's own folder (a sub-path makes a folder that may not exist).
    QString path;
    std::unique_ptr<Form1> form;

    explicit Window(unsigned seed = 1, int32_t ticks = 0,
                    const QString &relativePath = QStringLiteral("set_up.ini"))
        : ts(seed, ticks)
        , path(ts.folder.filePath(relativePath))
    {
        ts.seams.settingsPath = path;
    }

    // Writes the given lines (others empty) as the program would before start-up.
    bool writeLines(const Lines &lines) { return settings::writeSettingsFile(path, setupLines(lines)).ok; }
    bool writeFile(const QByteArray &bytes) { return writeBytes(path, bytes); }
    QByteArray written() const { return fileBytes(path); }
    bool fileExists() const { return QFile::exists(path); }
    settings::SetupLines fileLines() const
    {
        settings::SetupLines lines;
        settings::readSettingsFile(path, lines);
        return lines;
    }

    // Creating the window runs its load handler; only once per fixture.
    Form1 &start()
    {
        form = std::make_unique<Form1>(std::move(ts.seams), std::move(ts.sources));
        return *form;
    }

    // Controls by object name.
    template<typename Control = QWidget>
    Control *control(const QString &name) const
    {
        auto *found = form->findChild<Control *>(name);
        if (!found)
            qFatal("no control named %s", qPrintable(name));
        return found;
    }
    QPushButton *button(const char *name) const { return control<QPushButton>(QLatin1String(name)); }
    QLabel *label(const char *name) const { return control<QLabel>(QLatin1String(name)); }
    QLineEdit *nameBox(int i) const { return control<QLineEdit>(QStringLiteral("man_%1").arg(i)); }
    QLineEdit *prizeBox(int i) const { return control<QLineEdit>(QStringLiteral("ans_%1").arg(i)); }
    QLineEdit *memo() const { return control<QLineEdit>(QStringLiteral("txt_mem")); }
    QTimer *timer() const { return control<QTimer>(QStringLiteral("tmr_1")); }
    // An entry of the window's menu, by object name.
    QAction *entry(const char *name) const { return control<QAction>(QLatin1String(name)); }
    const QStringList &messages() const { return ts.messenger->shown; }

    // What the window shows of its state.
    bool shown(QWidget *control) const { return control->isVisibleTo(form.get()); }
    int participants() const
    {
        int count = 0;
        while (count < kBoxCount && shown(nameBox(count)))
            ++count;
        return count;
    }
    int mode() const
    {
        const QString caption = button("cmd_mode")->text();
        return caption == QStringLiteral("あたりモード") ? kWinnerMode
            : caption == QStringLiteral("くじ引きモード") ? kLotteryMode
            : caption == QStringLiteral("番号モード") ? kNumberMode
                                                       : -1;
    }
    // The winner count from "あたりN本".
    int winners() const
    {
        QString caption = label("lbl_atari")->text();
        return caption.remove(QStringLiteral("あたり")).remove(QStringLiteral("本")).toInt();
    }
    QImage picture() const { return form->grab().toImage(); }
    // The strip between the two columns where the ladder and the paths are drawn, from below the
    // buttons down to the third line (a window of two participants shows that much).
    QImage ladderPicture(int heightTwips = 900) const
    {
        return form->grab(QRect(twipsToPixels(1400), twipsToPixels(1000), twipsToPixels(5600),
                                twipsToPixels(heightTwips))).toImage();
    }

    // Brought to a mode, a count and a winner count through the buttons.
    bool toMode(int wanted)
    {
        for (int i = 0; i < 3 && mode() != wanted; ++i)
            button("cmd_mode")->click();
        return mode() == wanted;
    }
    bool toCount(int count)
    {
        for (int i = 0; i < 40 && participants() < count; ++i)
            button("cmd_up")->click();
        for (int i = 0; i < 40 && participants() > count; ++i)
            button("cmd_down")->click();
        return participants() == count;
    }
    bool toWinners(int count)
    {
        for (int i = 0; i < 40 && winners() < count; ++i)
            button("cmd_up2")->click();
        for (int i = 0; i < 40 && winners() > count; ++i)
            button("cmd_dn2")->click();
        return winners() == count;
    }

    // Names N0.. (and in lottery mode prizes P0..) in the shown rows.
    void fillEntries()
    {
        for (int i = 0; i < participants(); ++i) {
            nameBox(i)->setText(QStringLiteral("N%1").arg(i));
            if (mode() == kLotteryMode)
                prizeBox(i)->setText(QStringLiteral("P%1").arg(i));
        }
    }

    // A first run brought to a mode, a participant count and (winner mode) a winner count, with
    // every shown row filled in.
    bool prepare(int wanted, int count, int winnerCount = 1)
    {
        if (!form)
            start();
        if (!toMode(wanted) || !toCount(count) || (wanted == kWinnerMode && !toWinners(winnerCount)))
            return false;
        fillEntries();
        return true;
    }

    // "準備完了"; true when the window went into the reveal phase.
    bool standby()
    {
        button("cmd_standby")->click();
        return !button("cmd_standby")->isEnabled();
    }

    // A click on a name box, as the mouse gives it.
    void clickName(int i) { QTest::mouseClick(nameBox(i), Qt::LeftButton); }
    void traceAll()
    {
        for (int i = 0; i < participants(); ++i)
            clickName(i);
    }
};
