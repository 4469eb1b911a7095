#pragma once
// Permissions do not bind root, and the tests may run as root (a build
// server's container). These run a check as the unprivileged user "nobody"
// in a child process when this process is root, so that a read-only folder or
// an unreadable file really is one.

#include <QString>
#include <functional>

namespace vv::test {

// Runs check (as "nobody" in a child process when running as root, else
// here) and returns its verdict; false when the user cannot be switched.
bool runUnprivileged(const std::function<bool()>& check);

// Lets other users enter and read dir and the folders above it that belong
// to the test (up to, not including, the system's temporary folder).
void openForOthers(const QString& dir);

// Runs check in a child process whose files cannot grow beyond maxBytes,
// with SIGXFSZ ignored: a write past the limit fails with EFBIG, as a write
// to a full disk fails with ENOSPC. True when check returned true.
bool runWithFileSizeLimit(long maxBytes, const std::function<bool()>& check);

} // namespace vv::test
