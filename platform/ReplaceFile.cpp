#include "platform/ReplaceFile.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <optional>
#include <sys/stat.h>
#include <system_error>

namespace {

[[noreturn]] void fail(int reason)
{
    throw std::system_error(reason, std::generic_category());
}

// The umask as the kernel reports it. umask() can only be read by setting
// it, and a file another thread creates in that moment would get a mode
// nobody asked for.
std::optional<mode_t> currentUmask()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.compare(0, 6, "Umask:") == 0)
            return static_cast<mode_t>(std::strtoul(line.c_str() + 6, nullptr, 8) & 0777);
    return std::nullopt;
}

// The mode for the new file: the permission bits of the plain file it
// replaces, else what creating a file would give. Nothing where the umask
// cannot be read: the new file then keeps its 0600, narrower than either.
std::optional<mode_t> modeFor(const std::string& path)
{
    struct stat old {};
    if (::lstat(path.c_str(), &old) == 0 && S_ISREG(old.st_mode))
        return old.st_mode & 0777;
    if (const auto mask = currentUmask())
        return 0666 & ~*mask;
    return std::nullopt;
}

// 0, or the reason the bytes could not all be written.
int writeAll(int fd, std::string_view bytes, ssize_t (*write)(int, const void*, std::size_t))
{
    while (!bytes.empty()) {
        const ssize_t written = write(fd, bytes.data(), bytes.size());
        if (written > 0)
            bytes.remove_prefix(static_cast<std::size_t>(written));
        else if (written == 0)
            return EIO; // no progress: asking again would spin for ever
        else if (errno != EINTR)
            return errno;
    }
    return 0;
}

} // namespace

void replaceFile(const std::string& path, std::string_view bytes,
                 ssize_t (*write)(int, const void*, std::size_t))
{
    // mkostemp takes a name no file has, a symbolic link included.
    std::string name = path + ".XXXXXX";
    const int fd = ::mkostemp(name.data(), O_CLOEXEC);
    if (fd < 0)
        fail(errno);
    const auto abandon = [&name](int reason) {
        ::unlink(name.c_str());
        fail(reason);
    };
    if (const auto mode = modeFor(path))
        ::fchmod(fd, *mode); // refused by some file systems: the new file stays 0600 then
    if (const int reason = writeAll(fd, bytes, write)) {
        ::close(fd);
        abandon(reason);
    }
    // Some file systems (network, quota) report a failed write only here.
    if (::close(fd) != 0)
        abandon(errno);
    if (std::rename(name.c_str(), path.c_str()) != 0)
        abandon(errno);
}
