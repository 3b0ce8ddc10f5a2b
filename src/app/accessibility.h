#pragma once

class Form1;

// What a screen reader says for each control, in Japanese, and Enter on a focused button.
// Called once, after the controls exist.
void describeControlsForScreenReaders(Form1 &form);
void letEnterPressButtons(Form1 &form);
