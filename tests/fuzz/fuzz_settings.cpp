// libFuzzer entry: every input is a set_up.ini; a broken check or a sanitizer report is a finding.
// The checks run in memory only; the corpus replay adds the ones through files.
#include "settings_harness.h"

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString problem =
        fuzz::settingsProblem(QByteArrayView(reinterpret_cast<const char *>(data), qsizetype(size)));
    if (!problem.isEmpty()) {
        std::fprintf(stderr, "fuzz_settings: %s\n", qPrintable(problem));
        std::abort();
    }
    return 0;
}
