#pragma once
// How the window's boxes and buttons show their texts and colours.

#include <QtGlobal>

#include <cstdint>

class QLineEdit;
class QString;
class QWidget;

// A box accepts 12 typed characters; QLineEdit's own maximum stands for "no limit".
constexpr int kBoxTypingLimit = 12;
constexpr int kNoLengthLimit = 32767;

// Puts a text into a box whole, even past the box's typing limit, showing its start.
void setBoxText(QLineEdit *box, const QString &text);

// Control colours, 0xBBGGRR or a system colour.
void setBackColor(QWidget *control, uint32_t color);
void setTextColor(QWidget *control, uint32_t color);
