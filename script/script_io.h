#pragma once
// The interaction list of the control panel and its script file.

#include <QString>

namespace vv {

class App;

// Empties the interaction list and fills it from the script file (repairing a
// script without its pseudo-entries and writing it back). A file holding
// lines that are no entries is kept once as name.bak before its first
// rewrite. A file read only in part (too long, unreadable) is never written
// afterwards: changes stay in the list and SAVEscript refuses them.
void LOADscript(App& app, const QString& path);
// Empties the list, adds the four entries of a new script and saves them.
void NEWscript(App& app, const QString& path);
// Writes the whole list to path. A script that cannot be written stays in
// memory and the information display says so (the system's reason goes to
// the log). Returns whether it was written.
bool SAVEscript(App& app, const QString& path);

} // namespace vv
