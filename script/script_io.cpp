#include "script/script_io.h"

#include "app/app.h"
#include "app/atomic_file.h"
#include "control/control_panel.h"
#include "script/script_file.h"
#include "video/displays.h"

#include <QFile>
#include <QFileInfo>

namespace vv {

namespace {

using Guard = AppState::ScriptGuard;

// Before a file that held the user's own lines is first rewritten, its bytes
// are kept once in name.bak (an existing backup is never replaced).
bool keepBackup(App& app, const QString& path)
{
    const QString backup = path + QStringLiteral(".bak");
    if (QFileInfo::exists(backup))
        return true;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError || !writeFileAtomically(backup, data))
        return false;
    app.InfoDisplay().INITIALIZE(QStringLiteral("ORIGINAL KEPT AS ") + QFileInfo(backup).fileName(), 3);
    return true;
}

} // namespace

void LOADscript(App& app, const QString& path)
{
    ScriptList list;
    const ScriptReadResult read = readScriptFile(list, path);
    app.menu().ListSCRIPT->setEntries(list);
    app.st.ScriptGuards.remove(path);
    if (!read.ok || read.dropped > 0)
        app.st.ScriptGuards.insert(path, Guard::Blocked);
    else if (read.foreign > 0)
        app.st.ScriptGuards.insert(path, Guard::BackupFirst);
    if (!read.ok) {
        // An unreadable script is left alone on disk: nothing is written
        // over it from the empty list.
        app.InfoDisplay().INITIALIZE(QStringLiteral("SCRIPT CANNOT BE READ!"), 3);
        return;
    }
    if (read.dropped > 0) {
        app.InfoDisplay().INITIALIZE(QStringLiteral("SCRIPT TOO LONG - NOT ALL ENTRIES LOADED!"), 3);
        return;
    }
    if (read.repaired)
        SAVEscript(app, path);
}

void NEWscript(App& app, const QString& path)
{
    ScriptList list;
    fillNewScript(list, app.st.DurationFrames);
    app.menu().ListSCRIPT->setEntries(list);
    app.st.ScriptGuards.remove(path);
    SAVEscript(app, path);
}

bool SAVEscript(App& app, const QString& path)
{
    const auto guard = app.st.ScriptGuards.constFind(path);
    bool allowed = guard == app.st.ScriptGuards.constEnd();
    if (!allowed && *guard == Guard::BackupFirst && keepBackup(app, path)) {
        app.st.ScriptGuards.remove(path);
        allowed = true;
    }
    QString error;
    if (allowed && writeScriptFile(app.menu().ListSCRIPT->entries(), path, &error))
        return true;
    // The list stays in memory; the next change tries again.
    if (!error.isEmpty())
        qWarning("%s: %s", qPrintable(path), qPrintable(error));
    app.InfoDisplay().INITIALIZE(QStringLiteral("SCRIPT CANNOT BE SAVED!"), 3);
    return false;
}

} // namespace vv
