// Executing a script entry, and the INTERACT display: up to nine interaction
// windows over the bottom of the video window, one per entry around the
// current position.

#include "app/app.h"
#include "app/numbers.h"
#include "app/twips.h"
#include "control/command_window.h"
#include "control/control_panel.h"
#include "control/transport.h"
#include "index/scene_window.h"
#include "script/marks.h"
#include "script/overlay_layout.h"
#include "script/overlays.h"
#include "script/script_entries.h"
#include "video/displays.h"
#include "video/loading.h"
#include "video/player_window.h"

namespace vv {

void SCRIPTaction(App& app, const QString& Befehlszeile)
{
    if (isPreviousVideoEntry(Befehlszeile)) {
        LOADpreviousVIDEO(app);
        HIDEall(app);
        return;
    }
    if (isNextVideoEntry(Befehlszeile)) {
        LOADnextVIDEO(app);
        HIDEall(app);
        return;
    }
    const std::int32_t start = entryStart(Befehlszeile);
    const std::int32_t end = entryEnd(Befehlszeile);
    // Start and end decide, not the word: a LOOP on one frame is a JUMP.
    if (entryAction(Befehlszeile) == EntryAction::Loop) {
        app.InfoDisplay().INITIALIZE(QStringLiteral("LOOPING"), 2);
        SETmarkin(app, start);
        SETmarkout(app, end);
        ControlPanel& menu = app.menu();
        menu.CommandMarkIN->setEnabled(true);
        menu.CommandMarkOUT->setEnabled(true);
        menu.CommandMARK->setEnabled(true);
        menu.CommandMARK->setText(QStringLiteral("RESET"));
    } else {
        app.InfoDisplay().INITIALIZE(QStringLiteral("JUMPING"), 2);
        RESETmarks(app);
    }
    GOTOposition(app, start);
}

void SHOWinteraction(App& app)
{
    const ScriptList& list = app.menu().ListSCRIPT->entries();
    if (list.isEmpty()) {
        app.InfoDisplay().INITIALIZE(QStringLiteral("NO SCRIPT FOUND!"), 3);
        return;
    }
    HIDEall(app);
    app.InfoDisplay().INITIALIZE(QStringLiteral("INTERACT"), -1);

    const std::int32_t position = roundEven32(app.video().currentPosition());
    const QStringList entries = list.entries();
    const int current = currentEntryIndex(entries, position);
    const EntryRange shown = shownEntryRange(list.count(), current);

    for (int k = 0; k < InteractionWindowCount; ++k) {
        CommandWindow& window = app.FormCommand(k);
        const int i = shown.first + k;
        if (i <= shown.last) {
            window.Label1->setText(interactionCaption(k, entries.at(i)));
            window.Label1->setToolTip(interactionToolTip(i));
            window.Shape1->setVisible(i == current);
        } else {
            window.Label1->setText(QString());
            window.Shape1->setVisible(false);
        }
    }

    const PlayerWindow& player = app.Player();
    const auto cells =
        interactionGrid(player.widthTw(), player.heightTw(), heightTw(&app.FormCommand(0)), shown.count());
    for (int k = 0; k < InteractionWindowCount; ++k) {
        CommandWindow& window = app.FormCommand(k);
        const CellRect& cell = cells.at(static_cast<std::size_t>(k));
        setGeometryTw(&window, cell.left, cell.top, cell.width, heightTw(&window));
        window.show();
        window.raise();
    }
    app.st.ActiveMode = 6;
}

} // namespace vv
