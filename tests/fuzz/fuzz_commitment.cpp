// libFuzzer entry: every input is a saved commitment text; a broken check or a sanitizer report is
// a finding.
#include "commitment_harness.h"

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString problem =
        fuzz::commitmentProblem(QByteArrayView(reinterpret_cast<const char *>(data), qsizetype(size)));
    if (!problem.isEmpty()) {
        std::fprintf(stderr, "fuzz_commitment: %s\n", qPrintable(problem));
        std::abort();
    }
    return 0;
}
