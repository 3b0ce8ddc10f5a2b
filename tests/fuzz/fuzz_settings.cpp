// libFuzzer entry: every input is a set_up.ini; a broken check or a sanitizer report is a finding.
#include "settings_harness.h"

#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static QTemporaryDir folder;
    if (!folder.isValid()) {
        std::fprintf(stderr, "fuzz_settings: no temporary folder: %s\n", qPrintable(folder.errorString()));
        std::abort();
    }
    const QString problem = fuzz::settingsProblem(
        QByteArrayView(reinterpret_cast<const char *>(data), qsizetype(size)), folder.path());
    if (!problem.isEmpty()) {
        std::fprintf(stderr, "fuzz_settings: %s\n", qPrintable(problem));
        std::abort();
    }
    return 0;
}
