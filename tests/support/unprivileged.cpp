#include "tests/support/unprivileged.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <csignal>
#include <grp.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace vv::test {

namespace {

// Runs check in a child process after prepare (which returns false when the
// child cannot be set up); true when both returned true.
bool runInChild(const std::function<bool()>& prepare, const std::function<bool()>& check)
{
    const pid_t child = fork();
    if (child == 0)
        _exit(!prepare() ? 2 : check() ? 0 : 1);
    int status = 0;
    return child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

} // namespace

bool runUnprivileged(const std::function<bool()>& check)
{
    if (geteuid() != 0)
        return check();
    // 65534: the user and group "nobody".
    return runInChild([] { return setgroups(0, nullptr) == 0 && setgid(65534) == 0 && setuid(65534) == 0; },
                      check);
}

bool runWithFileSizeLimit(long maxBytes, const std::function<bool()>& check)
{
    const rlimit limit{rlim_t(maxBytes), rlim_t(maxBytes)};
    return runInChild([&] { return signal(SIGXFSZ, SIG_IGN) != SIG_ERR && setrlimit(RLIMIT_FSIZE, &limit) == 0; },
                      check);
}

void openForOthers(const QString& dir)
{
    const QString temp = QDir(QDir::tempPath()).canonicalPath();
    QString path = QFileInfo(dir).canonicalFilePath();
    while (!path.isEmpty() && path != temp && path.startsWith(temp + QLatin1Char('/'))) {
        QFile::setPermissions(path, QFile::permissions(path) | QFileDevice::ReadOther | QFileDevice::ExeOther);
        path = QFileInfo(path).path();
    }
}

} // namespace vv::test
