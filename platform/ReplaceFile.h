#pragma once

#include <string>
#include <string_view>

// Replaces a file's contents in one step: the bytes go to a new file beside
// it, which is written, closed and checked, and only then renamed over the
// name. A reader sees the old file or the new one, never part of one; a
// failure leaves the old file as it was, removes the new one and throws
// std::system_error with the reason of the step that failed. A new file gets
// the permissions the umask leaves; a replaced one keeps its own where the
// file system lets it. A symbolic link of that name is replaced, not written
// through, so a shared folder cannot redirect the write.
void replaceFile(const std::string& path, std::string_view bytes);
