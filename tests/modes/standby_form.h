#pragma once
// A window started the way the program starts it (from a set_up.ini of the test's own, or from
// none), then brought to a mode, counts and entries through its own controls.

#include "app/form1.h"
#include "settings/file_bytes.h"
#include "support/fake_seams.h"

#include <QFile>
#include <QLineEdit>
#include <QPushButton>

constexpr int kWinnerMode = 0;
constexpr int kLotteryMode = 1;
constexpr int kNumberMode = 2;

// Where set_up.ini goes, relative to the test's own folder.
inline Seams &&seamsWithFile(TestSeams &ts, const QString &relativePath)
{
    ts.seams.settingsPath = ts.folder.filePath(relativePath);
    return std::move(ts.seams);
}

struct StandbyForm
{
    TestSeams ts;
    Form1 form;

    explicit StandbyForm(unsigned seed = 1, const QString &relativePath = QStringLiteral("set_up.ini"))
        : ts(seed), form(seamsWithFile(ts, relativePath))
    {
    }

    QString path() const { return form.settingsPath(); }
    bool fileExists() const { return QFile::exists(path()); }
    QByteArray written() const { return fileBytes(path()); }

    // Start-up; with bytes, they are the set_up.ini it reads.
    bool load(const QByteArray &file = {})
    {
        if (!file.isNull() && !writeBytes(path(), file))
            return false;
        form.Form_Load();
        return true;
    }

    // The mode button steps lottery -> number -> winner -> lottery.
    bool toMode(int mode)
    {
        for (int i = 0; i < 3 && form.st.draw_mode != mode; ++i)
            form.cmd_mode->click();
        return form.st.draw_mode == mode;
    }

    bool toCount(int count)
    {
        while (form.st.man_count < count && form.cmd_up->isEnabled())
            form.cmd_up->click();
        while (form.st.man_count > count && form.cmd_down->isEnabled())
            form.cmd_down->click();
        return form.st.man_count == count;
    }

    bool toWinners(int count)
    {
        for (int i = 0; i < 40 && form.st.atari_count < count; ++i)
            form.cmd_up2->click();
        for (int i = 0; i < 40 && form.st.atari_count > count; ++i)
            form.cmd_dn2->click();
        return form.st.atari_count == count;
    }

    // Names N0.. (and in lottery mode prizes P0..) in the shown rows.
    void fillEntries()
    {
        for (int i = 0; i < form.st.man_count; ++i) {
            form.man[i]->setText(QStringLiteral("N%1").arg(i));
            if (form.st.draw_mode == kLotteryMode)
                form.ans[i]->setText(QStringLiteral("P%1").arg(i));
        }
    }

    // A first run brought to a mode, a participant count and (winner mode) a winner count, with
    // every shown row filled in.
    bool prepare(int mode, int count, int winners = 1)
    {
        if (!load() || !toMode(mode) || !toCount(count) || (mode == kWinnerMode && !toWinners(winners)))
            return false;
        fillEntries();
        return true;
    }
};
