#include "platform/ReplaceFile.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace {

[[noreturn]] void fail(int reason)
{
    throw std::system_error(reason, std::generic_category());
}

// A name beside path that no file has yet, created empty and open for writing.
// O_EXCL refuses a name that is already taken, a symbolic link included.
int createBeside(const std::string& path, std::string& name)
{
    static const char letters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    static std::minstd_rand random(std::random_device{}());
    std::uniform_int_distribution<std::size_t> pick(0, sizeof letters - 2);
    for (int attempt = 0; attempt < 64; ++attempt) {
        name = path + '.';
        for (int i = 0; i < 6; ++i)
            name += letters[pick(random)];
        const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

bool writeAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno != EINTR)
            return false;
        if (written > 0)
            bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

} // namespace

void replaceFile(const std::string& path, std::string_view bytes)
{
    std::string name;
    const int fd = createBeside(path, name);
    if (fd < 0)
        fail(errno);
    const auto abandon = [&name](int reason) {
        ::unlink(name.c_str());
        fail(reason);
    };
    struct stat old {};
    if (::stat(path.c_str(), &old) == 0 && S_ISREG(old.st_mode))
        ::fchmod(fd, old.st_mode & 07777); // refused by some file systems: keep the new mode then
    if (!writeAll(fd, bytes)) {
        const int reason = errno;
        ::close(fd);
        abandon(reason);
    }
    // Some file systems (network, quota) report a failed write only here.
    if (::close(fd) != 0)
        abandon(errno);
    if (std::rename(name.c_str(), path.c_str()) != 0)
        abandon(errno);
}
