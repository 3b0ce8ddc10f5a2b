// Records lotteries into the history given on the command line, one after another, until it is
// killed: each is recorded as standby does, its paths traced one by one, then completed or
// abandoned, with a short pause after
// each step as a user would leave (so that another copy recording at once gets its turn). Writes "<N" to standard
// output before lottery N is recorded and ">N" once its last step is committed, so that whoever
// kills it knows which lottery was under way.
#include "loop_lottery.h"

#include <QCoreApplication>

#include <cstdio>
#include <unistd.h>

namespace {

constexpr unsigned kPauseMicroseconds = 300;

void mark(char what, qint64 sequence)
{
    // Unbuffered, so the mark is in the pipe before the next step begins.
    const QByteArray line = what + QByteArray::number(sequence) + '\n';
    if (::write(STDOUT_FILENO, line.constData(), size_t(line.size())) != line.size())
        std::_Exit(3);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc != 3) {
        std::fputs("usage: record_loop <history file> <first sequence number>\n", stderr);
        return 2;
    }
    History history;
    if (!history.open(QString::fromLocal8Bit(argv[1]))) {
        std::fprintf(stderr, "record_loop: %s\n", qPrintable(history.error()));
        return 1;
    }
    for (qint64 sequence = QByteArray(argv[2]).toLongLong();; ++sequence) {
        mark('<', sequence);
        const HistoryLottery made = record_loop::lottery(sequence);
        const qint64 id = history.recordStandby(made);
        ::usleep(kPauseMicroseconds);
        bool traced = id > 0;
        for (int i = 0; traced && i < record_loop::tracedCount(sequence); ++i) {
            traced = history.recordTrace(id, i, made.rows[i].result);
            ::usleep(kPauseMicroseconds);
        }
        const bool finished = traced
            && (record_loop::abandoned(sequence) ? history.abandon(id)
                                                 : history.complete(id, record_loop::finishedAt(sequence)));
        if (!finished) {
            std::fprintf(stderr, "record_loop: lottery %lld: %s\n", sequence, qPrintable(history.error()));
            return 1;
        }
        mark('>', sequence);
        ::usleep(kPauseMicroseconds);
    }
}
