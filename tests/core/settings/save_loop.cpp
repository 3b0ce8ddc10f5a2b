// Saves set_up.ini through the program's own writeSettingsFile over and over, alternating two
// contents, until it is killed. Writes '<' to standard output before each save and '>' after
// it, so whoever kills it knows which save was under way.
#include "support/save_contents.h"

#include <cstdio>
#include <unistd.h>

namespace {

void mark(char c)
{
    // Unbuffered, so the mark is in the pipe before the next step begins.
    if (::write(STDOUT_FILENO, &c, 1) != 1)
        std::_Exit(3);
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc != 2) {
        std::fputs("usage: save_loop <path of set_up.ini>\n", stderr);
        return 2;
    }
    const QString path = QString::fromLocal8Bit(argv[1]);
    const settings::SetupLines contents[2] = {save_test::contents(0), save_test::contents(1)};
    for (int save = 1;; ++save) {
        mark('<');
        const settings::SaveResult result = settings::writeSettingsFile(path, contents[save % 2]);
        if (!result.ok) {
            std::fprintf(stderr, "save_loop: %s\n", qPrintable(result.message));
            return 1;
        }
        mark('>');
    }
}
