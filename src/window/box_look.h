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

// The text colour of a box that shows no result.
constexpr uint32_t kPlainTextColor = 0x000000;
// 準備完了 waits in red while a ladder is drawn and the entries can still change.
constexpr uint32_t kStandbyWaitingColor = 0x0000FF;
// A name box whose path is running, in light orange.
constexpr uint32_t kRunningNameColor = 0x80D0FF;

// Control colours, 0xBBGGRR (blue in the high byte, red in the low one) or a system colour.
void setBackColor(QWidget *control, uint32_t color);
void setTextColor(QWidget *control, uint32_t color);
