#pragma once
// Text reaching a box as a user gives it: typed key by key, pasted, or committed by an input method.

#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>

// Each character as one key press carrying its text, a surrogate pair as one (QTest::keyClicks
// knows only ASCII).
inline void typeText(QWidget *box, const QString &text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const qsizetype length = text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, text.mid(i, length));
        QApplication::sendEvent(box, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, text.mid(i, length));
        QApplication::sendEvent(box, &release);
        i += length - 1;
    }
}

inline void pasteText(QLineEdit *box, const QString &text)
{
    QGuiApplication::clipboard()->setText(text);
    box->paste();
}

inline void commitFromInputMethod(QWidget *box, const QString &text)
{
    QInputMethodEvent commit;
    commit.setCommitString(text);
    QApplication::sendEvent(box, &commit);
}
