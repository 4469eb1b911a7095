#pragma once
// The range marks, LEARN and DELETE.

#include <cstdint>

namespace vv {

class App;

void SETmarkin(App& app, std::int32_t frame);
void SETmarkout(App& app, std::int32_t frame);
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

} // namespace vv
