#include "script/marks.h"

#include "app/app.h"

namespace vv {

void SETmarkin(App& app, std::int32_t frame) { app.st.MarkIn = frame; }
void SETmarkout(App& app, std::int32_t frame) { app.st.MarkOut = frame; }
void RESETmarks(App& app)
{
    app.st.MarkIn = -1;
    app.st.MarkOut = -1;
}
void CommandMarkIN_Click(App&) {}
void CommandMarkOUT_Click(App&) {}
void CommandMARK_Click(App&) {}
void CommandLEARN_Click(App&) {}
void CommandDELETE_Click(App&) {}
void ListSCRIPT_Click(App&) {}
void ListSCRIPT_DblClick(App&) {}
void ListSCRIPT_RightButton(App&) {}

} // namespace vv
