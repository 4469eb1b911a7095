#pragma once
// The media library: a recursive search of a directory tree for files that
// match a pattern, kept as two parallel lists - the full paths in the order
// found, and the display names sorted for the user, each carrying the index
// of its path. Used for videos and for music ("*.mp3;*.wav").

#include <QString>
#include <QStringList>
#include <QVector>
#include <cstdint>
#include <functional>

namespace vv {

inline const QString VideoPatterns =
    QStringLiteral("*.avi;*.mpg;*.dat;*.mp4;*.m4v;*.mkv;*.webm;*.mov");
inline const QString MusicPatterns = QStringLiteral("*.mp3;*.wav");

// Message reported when the list is full; the search ends there.
inline const QString ListFullMessage =
    QStringLiteral("You've filled the list box. Abandoning search...");

struct FoundEntry {
    QString name;             // display name
    std::int32_t pathIndex;   // index of its full path in the path list
};

// The path list and the sorted display list. Both always have the same
// number of entries.
class FoundMedia {
public:
    static constexpr int DefaultMaxEntries = 32767;

    explicit FoundMedia(int maxEntries = DefaultMaxEntries) : maxEntries_(maxEntries) {}

    void clear();
    int count() const { return static_cast<int>(entries_.size()); }
    bool isEmpty() const { return entries_.isEmpty(); }
    bool isFull() const { return count() >= maxEntries_; }
    int maxEntries() const { return maxEntries_; }

    // Full paths in the order found.
    const QStringList& paths() const { return paths_; }
    // Display entries in display order.
    const QVector<FoundEntry>& entries() const { return entries_; }
    // Display name of display entry i ("" when i is not an index).
    QString nameAt(int i) const;
    // Full path of display entry i ("" when i is not an index).
    QString pathAt(int i) const;
    // Display names in display order.
    QStringList names() const;

    // Appends fullPath to the path list and inserts displayName into the
    // display list at its sorted place, after any entry whose name compares
    // equal. Returns the display index, or -1 (nothing added) when the lists
    // already hold maxEntries() entries.
    int add(const QString& fullPath, const QString& displayName);
    // Appends to both lists without sorting (false when full); a search
    // collects this way and puts the display list in order once at its end
    // with sortEntries, which keeps the order of add.
    bool append(const QString& fullPath, const QString& displayName);
    void sortEntries();

private:
    int maxEntries_;
    QStringList paths_;
    QVector<FoundEntry> entries_;
};

// The display order: case-insensitive (case-folded) comparison; <0, 0, >0.
int compareDisplayNames(const QString& a, const QString& b);

// The name order in which a directory's subdirectories and files are taken:
// case-insensitive, names equal but for case ordered case-sensitively.
bool nameOrderLess(const QString& a, const QString& b);

// True when fileName matches one of the ";"-separated wildcard patterns
// ("*" any run of characters, "?" one character), ignoring letter case.
bool matchesPatterns(const QString& fileName, const QString& patterns);

// How many characters at the end of a media path its extension takes, dot
// included: four for the usual three-letter extensions (and for anything
// shorter, as the names were always cut), the whole extension and its dot
// when the extension is longer (clip.webm: 5).
qsizetype extensionCut(const QString& path);

// A file beside a media file, named by extension (no dot): the path without
// its last three characters followed by extension (clip.avi -> clip.txt), or,
// for an extension longer than three letters, the name without its extension
// followed by "." and extension (clip.webm -> clip.txt).
QString besideMedia(const QString& path, const QString& extension);

// The display name of a found file: the full path without its first
// cutLength characters (the length of the directory setting the list is made
// for) and without its extension (extensionCut). A path too short for that
// cut keeps its whole text without the extension.
QString displayNameFor(const QString& fullPath, int cutLength);

// The first entry of list whose text, from its third character on, begins
// with searchdata (case-sensitive); "" when none does.
QString ScanList(const QStringList& list, const QString& searchdata);

struct ScanCallbacks {
    // Called once for every directory before it is searched (the player lets
    // pending window events run here). Returning false abandons the search;
    // the entries found so far stay.
    std::function<bool(const QString& directory)> directory;
    // Called once when the list is full, with ListFullMessage; the search
    // then ends and the entries found so far stay.
    std::function<void(const QString& message)> listFull;
};

struct ScanResult {
    enum class End { Completed, ListFull, Abandoned, StartUnreadable };
    End end = End::Completed;
    // Directories that could not be listed and were skipped (the start
    // directory too, when End is StartUnreadable).
    QStringList unreadable;
    // Directories not searched a second time because they had been searched
    // already under another path (symbolic links, loops).
    QStringList repeated;
};

// Empties both lists and searches startPath and everything below it:
// - depth first, the subdirectories of a directory from the last in name
//   order to the first, a directory's own matching files after everything
//   below it (post-order), its files in name order;
// - the full path of a file is the directory's path followed by "/" (no
//   second "/" when the directory path already ends in "/", as the root
//   does) and the file name; a trailing "/" of startPath is dropped first
//   (except for the root);
// - names beginning with "." (hidden files and folders) are not listed;
// - symbolic links are followed, but no directory is searched twice
//   (compared by device and inode), so a link loop ends;
// - a directory that cannot be listed is skipped and recorded;
// - the display names are made by displayNameFor(path, cutLength).
ScanResult scanMedia(FoundMedia& lists, const QString& startPath, const QString& patterns,
                     int cutLength, const ScanCallbacks& callbacks = {});

} // namespace vv
