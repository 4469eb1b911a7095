#include "script/marks.h"

#include <utility>

#include "app/app.h"
#include "app/numbers.h"
#include "control/control_panel.h"
#include "script/mark_rules.h"
#include "script/overlays.h"
#include "script/script_io.h"
#include "script/slider_window.h"
#include "script/text_entry_dialog.h"
#include "video/displays.h"

namespace vv {

namespace {

// Marks are whole frames: the player's position rounded half to even.
std::int32_t currentFrame(App& app)
{
    return roundEven32(app.video().currentPosition());
}

void inform(App& app, const QString& text, std::int32_t seconds)
{
    app.InfoDisplay().INITIALIZE(text, seconds);
}

// Marking and learning need a video; without one they only say so.
bool videoLoaded(App& app)
{
    if (!app.st.LoadedVideo.isEmpty())
        return true;
    inform(app, QStringLiteral("LOAD VIDEO FIRST!"), 3);
    return false;
}

void setMarkCaption(App& app, const QString& caption)
{
    app.menu().CommandMARK->setText(caption);
}

const QString SetStart = QStringLiteral("SET START");
const QString SetEnd = QStringLiteral("SET END");
const QString Reset = QStringLiteral("RESET");

} // namespace

void SETmarkin(App& app, std::int32_t frame)
{
    app.st.MarkIn = frame;
    app.FormSlider().placeInButton();
}

void SETmarkout(App& app, std::int32_t frame)
{
    AppState& st = app.st;
    st.MarkOut = frame;
    const bool exchanged = st.MarkIn > st.MarkOut;
    if (exchanged)
        std::swap(st.MarkIn, st.MarkOut);
    app.FormSlider().placeOutButton(exchanged);
}

void RESETmarks(App& app)
{
    AppState& st = app.st;
    if (st.MarkIn == -1 && st.MarkOut == -1)
        return;
    inform(app, QStringLiteral("RESET"), 2);
    st.MarkIn = -1;
    st.MarkOut = -1;
    setMarkCaption(app, SetStart);
    if (app.hasFormSlider())
        app.FormSlider().hideMarkButtons();
    app.menu().CommandMarkOUT->setEnabled(false);
}

namespace {

// A start mark at the position: "START SET", MARK then reads "SET END".
bool markStart(App& app)
{
    if (!videoLoaded(app))
        return false;
    inform(app, QStringLiteral("START SET"), 2);
    SETmarkin(app, currentFrame(app));
    setMarkCaption(app, SetEnd);
    return true;
}

// An end mark at the position: "LOOPING", MARK then reads "RESET".
void markEnd(App& app)
{
    if (!videoLoaded(app))
        return;
    inform(app, QStringLiteral("LOOPING"), 2);
    SETmarkout(app, currentFrame(app));
    setMarkCaption(app, Reset);
}

} // namespace

void CommandMarkIN_Click(App& app)
{
    if (!markStart(app))
        return;
    // Unlike MARK, IN makes the end reachable by its own button.
    ControlPanel& menu = app.menu();
    menu.CommandMARK->setEnabled(true);
    menu.CommandMarkOUT->setEnabled(true);
}

void CommandMarkOUT_Click(App& app)
{
    markEnd(app);
}

void CommandMARK_Click(App& app)
{
    const QString caption = app.menu().CommandMARK->text();
    if (caption == SetStart)
        markStart(app);
    else if (caption == SetEnd)
        markEnd(app);
    else if (caption == Reset)
        RESETmarks(app);
}

void CommandLEARN_Click(App& app)
{
    if (!videoLoaded(app))
        return;
    const AppState& st = app.st;
    const std::optional<QString> entry = learnedEntry(st.MarkIn, st.MarkOut, currentFrame(app));
    if (!entry) {
        inform(app, QStringLiteral("POSITION TOO LARGE FOR SCRIPT!"), 3);
        return;
    }
    ScriptListBox& list = *app.menu().ListSCRIPT;
    const int at = list.addEntry(*entry);
    if (at < 0) {
        inform(app, QStringLiteral("SCRIPT IS FULL!"), 3);
        return;
    }
    list.setListIndex(at);
    SAVEscript(app, st.ScriptFile);
}

void CommandDELETE_Click(App& app)
{
    ScriptListBox& list = *app.menu().ListSCRIPT;
    const int removed = list.ListIndex();
    if (removed < 0)
        return;
    list.removeEntry(removed);
    const int next = selectionAfterRemoval(removed, list.entries().count());
    if (next >= 0)
        list.setListIndex(next);
    SAVEscript(app, app.st.ScriptFile);
}

void ListSCRIPT_Click(App& app)
{
    ControlPanel& menu = app.menu();
    if (!menu.ListSCRIPT->entries().isEmpty())
        menu.CommandDELETE->setEnabled(true);
}

void ListSCRIPT_DblClick(App& app)
{
    const ScriptList& entries = app.menu().ListSCRIPT->entries();
    if (entries.selected() < 0)
        return;
    SCRIPTaction(app, entries.selectedEntry());
}

void ListSCRIPT_RightButton(App& app)
{
    const ScriptList& entries = app.menu().ListSCRIPT->entries();
    if (entries.isEmpty() || entries.selected() < 0)
        return;
    // The pseudo-entries (and hand-made lines without the full prefix) have
    // no description to edit.
    const QString entry = entries.selectedEntry();
    if (!hasEntryPrefix(entry))
        return;
    app.FormTexteingabe().INITIALIZE(entryDescription(entry));
}

void TextEntryConfirmed(App& app, const QString& typed)
{
    ScriptListBox& list = *app.menu().ListSCRIPT;
    const int i = list.ListIndex();
    // The dialog does not hold the list: the entry selected now is the one
    // that gets the text, unless it has no description to take (nothing
    // selected any more, or a pseudo-entry, which must keep its exact text).
    if (i < 0 || !hasEntryPrefix(list.entries().at(i)))
        return;
    list.replaceEntry(i, withDescription(list.entries().at(i), cleanDescription(typed)));
    SAVEscript(app, app.st.ScriptFile);
}

} // namespace vv
