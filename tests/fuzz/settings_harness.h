#pragma once
// Any bytes as set_up.ini, taken through reading, the lottery's start-up with its repairs, and a
// write; shared by the fuzzer (in memory) and the corpus replay test (also through files).

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace fuzz {

// What went wrong with the bytes as set_up.ini, or an empty text when every check holds:
// the group is 1..7, every group opens with 2..37 participants, the mode is 0..2 after the
// mode step, the window edges are usable, and the bytes the next save writes are 326 CR LF
// lines that read back to lines whose next write gives the same bytes. All in memory, so that
// the fuzzer runs many inputs a second.
QString settingsProblem(QByteArrayView input);

// The same, and then through files in `folder`: the input read from a file gives the lines its
// bytes give, and the file that saving writes holds exactly the bytes checked above.
QString settingsFileProblem(QByteArrayView input, const QString &folder);

// What is wrong with the bytes of a written file: anything but 326 lines each ended by CR LF.
QString fileFormProblem(const QByteArray &bytes);

} // namespace fuzz
