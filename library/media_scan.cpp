#include "library/media_scan.h"

#include <QFile>
#include <QScopeGuard>

#include <algorithm>
#include <set>
#include <utility>

#include <cerrno>

#include <dirent.h>
#include <sys/stat.h>

namespace vv {

// --- FoundMedia -------------------------------------------------------------

void FoundMedia::clear()
{
    paths_.clear();
    entries_.clear();
}

QString FoundMedia::nameAt(int i) const
{
    return (i >= 0 && i < count()) ? entries_.at(i).name : QString();
}

QString FoundMedia::pathAt(int i) const
{
    if (i < 0 || i >= count())
        return QString();
    const std::int32_t p = entries_.at(i).pathIndex;
    return (p >= 0 && p < paths_.size()) ? paths_.at(p) : QString();
}

QStringList FoundMedia::names() const
{
    QStringList list;
    list.reserve(entries_.size());
    for (const FoundEntry& e : entries_)
        list.append(e.name);
    return list;
}

int FoundMedia::add(const QString& fullPath, const QString& displayName)
{
    if (isFull())
        return -1;
    paths_.append(fullPath);
    const auto at = std::upper_bound(entries_.begin(), entries_.end(), displayName,
                                     [](const QString& name, const FoundEntry& e) {
                                         return compareDisplayNames(name, e.name) < 0;
                                     });
    const int index = static_cast<int>(at - entries_.begin());
    entries_.insert(index, FoundEntry{displayName, static_cast<std::int32_t>(paths_.size() - 1)});
    return index;
}

bool FoundMedia::append(const QString& fullPath, const QString& displayName)
{
    if (isFull())
        return false;
    paths_.append(fullPath);
    entries_.append(FoundEntry{displayName, static_cast<std::int32_t>(paths_.size() - 1)});
    return true;
}

void FoundMedia::sortEntries()
{
    std::stable_sort(entries_.begin(), entries_.end(), [](const FoundEntry& a, const FoundEntry& b) {
        return compareDisplayNames(a.name, b.name) < 0;
    });
}

// --- Names and patterns -----------------------------------------------------

int compareDisplayNames(const QString& a, const QString& b)
{
    return QString::compare(a, b, Qt::CaseInsensitive);
}

bool nameOrderLess(const QString& a, const QString& b)
{
    const int folded = QString::compare(a, b, Qt::CaseInsensitive);
    if (folded != 0)
        return folded < 0;
    return QString::compare(a, b, Qt::CaseSensitive) < 0;
}

namespace {

// Wildcard match of case-folded texts: "*" any run, "?" one character.
bool wildcardMatch(const QString& name, const QString& pattern)
{
    qsizetype n = 0, p = 0;
    qsizetype starP = -1, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern.at(p) == QLatin1Char('?') || pattern.at(p) == name.at(n))) {
            ++n;
            ++p;
        } else if (p < pattern.size() && pattern.at(p) == QLatin1Char('*')) {
            starP = p++;
            starN = n;
        } else if (starP >= 0) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern.at(p) == QLatin1Char('*'))
        ++p;
    return p == pattern.size();
}

// The ";"-separated patterns, each trimmed and case-folded.
QStringList foldedPatterns(const QString& patterns)
{
    QStringList list = patterns.split(QLatin1Char(';'), Qt::SkipEmptyParts);
    for (QString& pattern : list)
        pattern = pattern.trimmed().toCaseFolded();
    return list;
}

bool matchesFolded(const QString& fileName, const QStringList& folded)
{
    const QString name = fileName.toCaseFolded();
    return std::any_of(folded.begin(), folded.end(),
                       [&](const QString& pattern) { return wildcardMatch(name, pattern); });
}

} // namespace

bool matchesPatterns(const QString& fileName, const QString& patterns)
{
    return matchesFolded(fileName, foldedPatterns(patterns));
}

qsizetype extensionCut(const QString& path)
{
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    const qsizetype extension = path.size() - dot - 1;
    if (dot < 0 || path.indexOf(QLatin1Char('/'), dot) >= 0 || extension <= 3)
        return 4;
    return extension + 1;
}

QString besideMedia(const QString& path, const QString& extension)
{
    const qsizetype cut = extensionCut(path);
    if (cut > 4)
        return path.left(path.size() - cut + 1) + extension;
    return path.left(std::max<qsizetype>(path.size() - 3, 0)) + extension;
}

QString displayNameFor(const QString& fullPath, int cutLength)
{
    const qsizetype length = fullPath.size();
    const qsizetype cut = std::max(cutLength, 0);
    const qsizetype extension = extensionCut(fullPath);
    if (length >= cut + extension)
        return fullPath.mid(cut, length - cut - extension);
    return fullPath.left(std::max<qsizetype>(length - extension, 0));
}

QString ScanList(const QStringList& list, const QString& searchdata)
{
    for (const QString& entry : list) {
        if (QStringView(entry).mid(std::min<qsizetype>(2, entry.size())).startsWith(searchdata))
            return entry;
    }
    return QString();
}

// --- The search -------------------------------------------------------------

namespace {

using DirId = std::pair<dev_t, ino_t>;

class Search {
public:
    Search(FoundMedia& lists, const QString& patterns, int cutLength, const ScanCallbacks& callbacks,
           ScanResult& result)
        : lists_(lists), patterns_(foldedPatterns(patterns)), cutLength_(cutLength), callbacks_(callbacks),
          result_(result)
    {
    }

    // Searches path and everything below it; false when the search ends
    // (list full or abandoned).
    bool directory(const QString& path)
    {
        if (callbacks_.directory && !callbacks_.directory(path)) {
            result_.end = ScanResult::End::Abandoned;
            return false;
        }
        const QByteArray native = QFile::encodeName(path);
        struct stat st {};
        if (::stat(native.constData(), &st) != 0 || !S_ISDIR(st.st_mode)) {
            result_.unreadable.append(path);
            return true;
        }
        if (!visited_.insert(DirId{st.st_dev, st.st_ino}).second) {
            result_.repeated.append(path);
            return true;
        }
        const QString prefix = path.endsWith(QLatin1Char('/')) ? path : path + QLatin1Char('/');
        QStringList subdirectories, files;
        if (!list(prefix, native, &subdirectories, &files)) {
            result_.unreadable.append(path);
            return true;
        }
        for (qsizetype n = subdirectories.size(); n > 0; --n) {
            if (!directory(prefix + subdirectories.at(n - 1)))
                return false;
        }
        for (const QString& file : files) {
            const QString fullPath = prefix + file;
            if (!lists_.append(fullPath, displayNameFor(fullPath, cutLength_))) {
                result_.end = ScanResult::End::ListFull;
                if (callbacks_.listFull)
                    callbacks_.listFull(ListFullMessage);
                return false;
            }
        }
        return true;
    }

private:
    // The visible subdirectories and matching files of a directory (its path
    // with a closing "/" in prefix), each in name order. False when the
    // directory cannot be listed.
    bool list(const QString& prefix, const QByteArray& native, QStringList* subdirectories,
              QStringList* files)
    {
        DIR* dir = ::opendir(native.constData());
        if (!dir)
            return false;
        const auto closer = qScopeGuard([dir] { ::closedir(dir); });
        for (;;) {
            errno = 0;
            const dirent* e = ::readdir(dir);
            if (!e) {
                if (errno != 0)
                    return false;   // the listing broke off
                break;
            }
            const QString name = QFile::decodeName(e->d_name);
            if (name.startsWith(QLatin1Char('.')))
                continue;   // ".", ".." and hidden entries
            bool isDirectory = e->d_type == DT_DIR;
            bool isFile = e->d_type == DT_REG;
            if (!isDirectory && !isFile) {
                // A link (followed here) or a file system that does not say.
                if (e->d_type != DT_LNK && e->d_type != DT_UNKNOWN)
                    continue;
                struct stat st {};
                if (::stat(QFile::encodeName(prefix + name).constData(), &st) != 0)
                    continue;   // a dangling link or an entry that vanished
                isDirectory = S_ISDIR(st.st_mode);
                isFile = S_ISREG(st.st_mode);
            }
            if (isDirectory)
                subdirectories->append(name);
            else if (isFile && matchesFolded(name, patterns_))
                files->append(name);
        }
        std::sort(subdirectories->begin(), subdirectories->end(), nameOrderLess);
        std::sort(files->begin(), files->end(), nameOrderLess);
        return true;
    }

    FoundMedia& lists_;
    const QStringList patterns_;  // split and folded once for the whole search
    int cutLength_;
    const ScanCallbacks& callbacks_;
    ScanResult& result_;
    std::set<DirId> visited_;
};

} // namespace

ScanResult scanMedia(FoundMedia& lists, const QString& startPath, const QString& patterns,
                     int cutLength, const ScanCallbacks& callbacks)
{
    lists.clear();
    ScanResult result;
    QString start = startPath;
    while (start.size() > 1 && start.endsWith(QLatin1Char('/')))
        start.chop(1);
    if (start.isEmpty()) {
        result.end = ScanResult::End::StartUnreadable;
        result.unreadable.append(startPath);
        return result;
    }
    Search search(lists, patterns, cutLength, callbacks, result);
    search.directory(start);
    lists.sortEntries();
    // The start directory is the first one searched: when it could not be
    // listed, nothing else was.
    if (result.end == ScanResult::End::Completed && !result.unreadable.isEmpty()
        && result.unreadable.first() == start)
        result.end = ScanResult::End::StartUnreadable;
    return result;
}

} // namespace vv
