#include "script/script_file.h"

#include "app/atomic_file.h"
#include "app/text_codec.h"

#include <QFile>

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
        if (list.insertLegacy(text, legacy) < 0)
            ++result.dropped;
    }

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
        const QByteArray data = file.readAll();
        if (file.error() == QFileDevice::NoError)
            return parseScript(list, data);
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
