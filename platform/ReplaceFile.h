#pragma once

#include <string>
#include <string_view>
#include <unistd.h>

// Replaces a file's contents in one step: the bytes go to a new file beside
// it, which is written, closed and checked, and only then renamed over the
// name. A reader sees the old file or the new one, never part of one; a
// failure (a write that makes no progress included) leaves the old file as it
// was, removes the new one and throws std::system_error with the reason of
// the step that failed. The new file takes the permission bits of the plain
// file it replaces, never its setuid, setgid or sticky bit; where the name
// was a symbolic link or nothing, it gets 0666 less the umask. A link is
// replaced, never written through nor asked for a mode, so a shared folder
// cannot redirect the write or lend the file another's permissions.
// write is a parameter only so that tests can stall it, as FUSE and network
// file systems may.
void replaceFile(const std::string& path, std::string_view bytes,
                 ssize_t (*write)(int, const void*, std::size_t) = ::write);
