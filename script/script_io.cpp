#include "script/script_io.h"

#include "app/app.h"
#include "control/control_panel.h"
#include "script/script_file.h"
#include "video/displays.h"

namespace vv {

void LOADscript(App& app, const QString& path)
{
    ScriptList list;
    const ScriptReadResult read = readScriptFile(list, path);
    app.menu().ListSCRIPT->setEntries(list);
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
    SAVEscript(app, path);
}

bool SAVEscript(App& app, const QString& path)
{
    QString error;
    if (writeScriptFile(app.menu().ListSCRIPT->entries(), path, &error))
        return true;
    // The list stays in memory; the next change tries again.
    app.InfoDisplay().INITIALIZE(QStringLiteral("SCRIPT CANNOT BE SAVED!"), 3);
    return false;
}

} // namespace vv
