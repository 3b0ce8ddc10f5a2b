#pragma once
// Checking a saved commitment text: its hash computed again, its code printed with its results,
// and compared with the code the room saw at standby (given on the command line) or, without it,
// with the hash the history recorded at standby.

#include <QString>
#include <QStringList>

class History;

struct Verdict
{
    // 0 for a match; 1 for a mismatch, nothing to compare with, or a file that cannot be read;
    // 2 for a code that is no code.
    int status = 1;
    // The code, the results and "一致" for standard output; the reasons for standard error.
    QStringList out;
    QStringList err;
};

// The text at path checked; code as the user typed it ("1a2b-3c4d", empty for none). history may
// be null (none could be read).
Verdict verifyCommitment(const QString &path, const QString &code, const History *history);

// `amidakuji --verify FILE [CODE]`: the history at its default place read without changing it,
// the verdict printed. Needs a QCoreApplication; returns the exit status.
int runVerify(const QString &path, const QString &code);
