#include "tests/support/unprivileged.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

namespace vv::test {

bool runUnprivileged(const std::function<bool()>& check)
{
    if (geteuid() != 0)
        return check();
    const pid_t child = fork();
    if (child < 0)
        return false;
    if (child == 0) {
        constexpr uid_t nobody = 65534;
        if (setgroups(0, nullptr) != 0 || setgid(nobody) != 0 || setuid(nobody) != 0)
            _exit(2);
        _exit(check() ? 0 : 1);
    }
    int status = 0;
    if (waitpid(child, &status, 0) != child)
        return false;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
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
