// Linked into amidakuji_save_pause alone, the program built again for tst_killed_while_saving:
// every write into a regular file of the program's own folder (set_up.ini being saved) goes out in
// parts with a pause after each, and '<' goes to standard output as the first part is written, so
// that the test can kill the program in the middle of a save. This write() stands in for the C
// library's (the executable exports it), so Qt's file writing comes through it too.
#include <dlfcn.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstring>
#include <ctime>

namespace {

constexpr size_t kParts = 8;
constexpr long kPauseNanoseconds = 25'000'000;

using WriteFunction = ssize_t (*)(int, const void *, size_t);

WriteFunction libraryWrite()
{
    static const auto function = reinterpret_cast<WriteFunction>(dlsym(RTLD_NEXT, "write"));
    return function;
}

// Reads the target of a /proc/self link.
bool readLink(const char *link, char (&target)[PATH_MAX])
{
    const ssize_t length = readlink(link, target, sizeof target - 1);
    if (length <= 0)
        return false;
    target[length] = '\0';
    return true;
}

bool inProgramFolder(int fd)
{
    struct stat info;
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode))
        return false;
    char program[PATH_MAX];
    char file[PATH_MAX];
    char link[64];
    std::snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    if (!readLink("/proc/self/exe", program) || !readLink(link, file))
        return false;
    const char *slash = std::strrchr(program, '/');
    const size_t folderLength = size_t(slash - program) + 1;
    return std::strncmp(program, file, folderLength) == 0 && !std::strchr(file + folderLength, '/');
}

void pauseAfterPart()
{
    timespec remaining{0, kPauseNanoseconds};
    while (nanosleep(&remaining, &remaining) != 0) {
    }
}

} // namespace

extern "C" ssize_t write(int fd, const void *buffer, size_t size)
{
    const WriteFunction write = libraryWrite();
    if (size < kParts || !inProgramFolder(fd))
        return write(fd, buffer, size);
    const char mark = '<';
    if (write(STDOUT_FILENO, &mark, 1) != 1)
        return -1;
    const char *bytes = static_cast<const char *>(buffer);
    const size_t partSize = (size + kParts - 1) / kParts;
    size_t done = 0;
    while (done < size) {
        const ssize_t written = write(fd, bytes + done, std::min(partSize, size - done));
        if (written < 0)
            return done > 0 ? ssize_t(done) : -1;
        done += size_t(written);
        pauseAfterPart();
    }
    return ssize_t(done);
}
