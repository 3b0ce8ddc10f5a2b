#pragma once
// Any bytes as a saved commitment text, through the reader that --verify uses; shared by the
// fuzzer and the corpus replay test.

#include <QByteArrayView>
#include <QString>

namespace fuzz {

// What went wrong, or an empty text when every check holds: a text that is read writes back to
// exactly its bytes and reads again to the same content; a text that is refused names a line
// inside it (or one past its end, 0 for the whole) and a reason.
QString commitmentProblem(QByteArrayView input);

} // namespace fuzz
