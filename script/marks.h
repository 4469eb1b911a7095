#pragma once
// The range marks, LEARN and DELETE, and the description of an entry.
//
// MarkIn and MarkOut are frames (-1 = not set), taken from the player's
// position rounded half to even. The caption of the control panel's MARK
// button is the state of marking: "SET START" (no marks), "SET END" (a start
// mark), "RESET" (both marks: playback loops between them).

#include <QString>
#include <cstdint>

namespace vv {

class App;

// Sets the start mark and shows the slider's IN button.
void SETmarkin(App& app, std::int32_t frame);
// Sets the end mark, puts the pair in ascending order and shows the slider's
// OUT button.
void SETmarkout(App& app, std::int32_t frame);
// Clears both marks ("RESET" on the information display); nothing at all
// when no mark is set.
void RESETmarks(App& app);

// The control panel's marking buttons and list events.
void CommandMarkIN_Click(App& app);
void CommandMarkOUT_Click(App& app);
void CommandMARK_Click(App& app);
void CommandLEARN_Click(App& app);
void CommandDELETE_Click(App& app);
void ListSCRIPT_Click(App& app);
void ListSCRIPT_DblClick(App& app);
void ListSCRIPT_RightButton(App& app);

// OK of the description dialog: the entry selected at this moment gets the
// typed text as its description, and the script is saved.
void TextEntryConfirmed(App& app, const QString& typed);

} // namespace vv
