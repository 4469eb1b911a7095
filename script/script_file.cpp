#include "script/script_file.h"

#include "app/atomic_file.h"
#include "app/text_codec.h"

#include <QFile>

#include <algorithm>

namespace vv {

namespace {

bool blankOnly(const QByteArray& line)
{
    for (const char c : line) {
        if (c != ' ')
            return false;
    }
    return true;
}

// "dddddd-dddddd JUMP " or "... LOOP ": the prefix the player writes.
bool hasEntryLayout(const QString& text)
{
    if (text.size() < EntryPrefixLength)
        return false;
    for (int i = 0; i < 13; ++i) {
        if (i == 6 ? text[i] != u'-' : (text[i] < u'0' || text[i] > u'9'))
            return false;
    }
    const QStringView word = QStringView(text).mid(13, 6);
    return word == u" JUMP " || word == u" LOOP ";
}

} // namespace

ScriptReadResult parseScript(ScriptList& list, const QByteArray& data)
{
    ScriptReadResult result;
    list.clear();
    for (const QByteArray& line : splitLines(data)) {
        if (blankOnly(line))
            continue;
        bool legacy = false;
        const QString text = decodeTextLine(line, &legacy);
        if (!hasEntryLayout(text) && !isPreviousVideoEntry(text) && !isNextVideoEntry(text))
            ++result.foreign;
        if (!list.appendLegacy(text, legacy))
            ++result.dropped;
    }
    list.sortEntries();

    if (list.isEmpty() || !isPreviousVideoEntry(list.at(0))) {
        // Only what is missing is added: a file whose first line sorts before
        // the previous-video entry must not grow by two lines at every load.
        const QStringList entries = list.entries();
        for (const QString& pseudo : {PreviousVideoEntry, NextVideoEntry}) {
            if (!entries.contains(pseudo) && list.insert(pseudo) >= 0)
                result.repaired = true;
        }
    }
    return result;
}

ScriptReadResult readScriptFile(ScriptList& list, const QString& path)
{
    list.clear();
    QFile file(path);
    if (file.open(QIODevice::ReadOnly)) {
        QByteArray data = file.read(MaxScriptFileBytes + 1);
        if (file.error() == QFileDevice::NoError) {
            const bool cut = data.size() > MaxScriptFileBytes;
            if (cut)
                data.truncate(std::max(data.lastIndexOf('\n', MaxScriptFileBytes - 1), data.lastIndexOf('\r', MaxScriptFileBytes - 1)) + 1);
            ScriptReadResult result = parseScript(list, data);
            if (cut)
                result.dropped = std::max(result.dropped, 1);
            return result;
        }
    }
    ScriptReadResult result;
    result.ok = false;
    result.error = file.errorString();
    return result;
}

QByteArray formatScript(const ScriptList& list)
{
    QByteArray out;
    for (int i = 0; i < list.count(); ++i) {
        QByteArray bytes;
        if (!list.isLegacy(i) || !encodeWindows1252(list.at(i), &bytes))
            bytes = list.at(i).toUtf8();
        out += bytes;
        out += "\r\n";
    }
    return out;
}

bool writeScriptFile(const ScriptList& list, const QString& path, QString* error)
{
    return writeFileAtomically(path, formatScript(list), error);
}

void fillNewScript(ScriptList& list, std::int32_t durationFrames)
{
    list.clear();
    for (const QString& entry : newScriptEntries(durationFrames))
        list.insert(entry);
}

} // namespace vv
