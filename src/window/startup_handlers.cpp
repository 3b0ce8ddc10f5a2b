// Form_Load: brings the window back to the state the settings file recorded, or to the
// first-run state without one. A step that fails is skipped and start-up goes on.
#include "box_look.h"
#include "form1.h"

#include <QLineEdit>
#include <QPushButton>

void Form1::Form_Load()
{
    settings::SetupLines lines;
    settings::readSettingsFile(seams.settingsPath.isEmpty() ? settings::settingsReadPath() : seams.settingsPath,
                               lines);
    showStartup(lottery.start(lines));
}

void Form1::showStartup(const Startup &opening)
{
    showGroup(opening.group);
    if (opening.top)
        windowView.moveTwips(windowView.leftTwips(), *opening.top);
    if (opening.left)
        windowView.moveTwips(*opening.left, windowView.topTwips());
    if (opening.layout)
        man_set(*opening.layout);
    cmd_auto->hide();
    atari_set(lottery.winners());
    if (opening.mode)
        showMode(*opening.mode);
}

// A group's memo and names in their boxes.
void Form1::showGroup(const GroupTexts &group)
{
    setBoxText(txt_mem, group.memo);
    for (int i = 0; i < kBoxCount; ++i)
        setBoxText(man[i], group.names[i]);
}
