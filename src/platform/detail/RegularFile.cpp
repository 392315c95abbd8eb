#include "platform/detail/RegularFile.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

bool ReadRegularFile(const char* path, size_t limit, std::string& content) {
    content.clear();
    if (path == nullptr) return false;
    // Non-blocking, so that opening a FIFO without a writer returns at once; fstat then
    // refuses it. The flag changes nothing for the regular file that is read.
    const int fd = open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat info;
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        close(fd);
        return false;
    }
    content.reserve(std::min(limit, static_cast<size_t>(std::max<off_t>(info.st_size, 0))));
    char buffer[65536];
    bool ok = true;
    while (content.size() < limit) {
        const ssize_t n = read(fd, buffer, std::min(sizeof buffer, limit - content.size()));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            ok = n == 0;
            break;
        }
        content.append(buffer, static_cast<size_t>(n));
    }
    close(fd);
    return ok;
}
