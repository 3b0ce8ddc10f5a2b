// Form_Load: brings the window back to the state the settings file recorded, or to the
// first-run state without one. A step that fails is skipped and start-up goes on.
#include "app/form1.h"

#include <QLineEdit>
#include <QPushButton>

void Form1::Form_Load()
{
    settings::SetupLines lines;
    settings::readSettingsFile(settingsReadPath, lines);
    restore(lines);
}

void Form1::restore(const settings::SetupLines &lines)
{
    const Opening opening = lottery.open(lines);
    showGroup(opening.group);
    if (opening.top)
        moveTwips(leftTwips(), *opening.top);
    if (opening.left)
        moveTwips(*opening.left, topTwips());
    handle([this] { man_set(); });
    cmd_auto->hide();
    cmd_test->hide();
    lottery.openWinnerCount();
    handle([this] { atari_set(); });
    lottery.openDrawMode();
    handle([this] { cmd_mode_Click(); });
}

// A group's memo and names in their boxes.
void Form1::showGroup(const GroupTexts &group)
{
    setBoxText(txt_mem, group.memo);
    for (int i = 0; i < BoxCount; ++i)
        setBoxText(man[i], group.names[i]);
}
