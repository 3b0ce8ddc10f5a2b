#pragma once

class QWidget;

// What a screen reader says for each control, in Japanese, and Enter on a focused button.
// Called once, after the controls exist.
void describeControlsForScreenReaders(QWidget &form);
void letEnterPressButtons(QWidget &form);
