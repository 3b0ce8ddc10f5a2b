// The menu's entries for showing the lottery to a room: full screen (F11, Esc to leave) and zoom
// in steps, done by the window's view.
#include "dialog_scale.h"
#include "form1.h"

#include <QMenu>

void Form1::mnu_fullScreen_Click()
{
    windowView.toggleFullScreen();
}

void Form1::mnu_zoomIn_Click()
{
    windowView.zoomIn();
}

void Form1::mnu_zoomOut_Click()
{
    windowView.zoomOut();
}

void Form1::mnu_zoomReset_Click()
{
    windowView.zoomReset();
}

void Form1::mnu_sound_Click()
{
    sounds->setOn(actions->sound->isChecked());
}

// The controls and the drawing laid out at the view shown.
void Form1::showView(const View &shown, bool changed)
{
    surface.ensureSize(windowView.contentSize(), devicePixelRatioF());
    surface.setScale(shown.scale);
    if (changed) {
        placeControls(shown);
        // Messages, dialogs and the menu follow the window's scale.
        setShownScale(this, shown.scale);
        takeShownScale(actions->menu(), this);
    }
    update();
}
