#include "library/directory_browser.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

#include "library/media_scan.h"

namespace vv {

QString chooserPathText(const QString& path)
{
    QString text = QDir::cleanPath(QDir(path).absolutePath());
    while (text.size() > 1 && text.endsWith(QLatin1Char('/')))
        text.chop(1);
    return text;
}

QString parentDirectory(const QString& path)
{
    const QString text = chooserPathText(path);
    const qsizetype slash = text.lastIndexOf(QLatin1Char('/'));
    return slash <= 0 ? QStringLiteral("/") : text.left(slash);
}

QStringList subdirectoryNames(const QString& path)
{
    const QDir dir(path);
    QStringList names = dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    names.erase(std::remove_if(names.begin(), names.end(),
                               [](const QString& name) { return name.startsWith(QLatin1Char('.')); }),
                names.end());
    std::sort(names.begin(), names.end(), nameOrderLess);
    return names;
}

namespace {

// The directories directly below parent, as full paths (none when parent
// is missing), leaving out the one named skip.
QStringList childDirectories(const QString& parent, const QString& skip = QString())
{
    QStringList paths;
    if (!QFileInfo(parent).isDir())
        return paths;
    const QString base = chooserPathText(parent);
    for (const QString& name : subdirectoryNames(base)) {
        if (name == skip)
            continue;
        paths.append(base == QLatin1String("/") ? base + name : base + QLatin1Char('/') + name);
    }
    return paths;
}

bool isAncestorOrSelf(const QString& ancestor, const QString& path)
{
    if (ancestor == path)
        return true;
    const QString prefix = ancestor.endsWith(QLatin1Char('/')) ? ancestor : ancestor + QLatin1Char('/');
    return path.startsWith(prefix);
}

} // namespace

QStringList chooserRoots(const QString& home, const QString& user, const QString& systemRoot)
{
    const QString root = chooserPathText(systemRoot);
    const QString under = root == QLatin1String("/") ? root : root + QLatin1Char('/');
    QStringList roots{root};
    if (!home.isEmpty() && QFileInfo(home).isDir())
        roots.append(chooserPathText(home));
    if (!user.isEmpty()) {
        roots += childDirectories(under + QStringLiteral("media/") + user);
        roots += childDirectories(under + QStringLiteral("run/media/") + user);
    }
    roots += childDirectories(under + QStringLiteral("media"), user);
    roots += childDirectories(under + QStringLiteral("mnt"));
    roots.removeDuplicates();
    return roots;
}

QString rootOf(const QStringList& roots, const QString& path)
{
    const QString text = chooserPathText(path);
    QString best;
    for (const QString& root : roots) {
        if (isAncestorOrSelf(root, text) && root.size() > best.size())
            best = root;
    }
    return best;
}

QString nearestExistingDirectory(const QString& path)
{
    QString dir = chooserPathText(path);
    while (dir != QLatin1String("/") && !QFileInfo(dir).isDir())
        dir = parentDirectory(dir);
    return dir;
}

} // namespace vv
