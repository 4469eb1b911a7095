#pragma once
// The transport commands.

#include <QString>
#include <cstdint>

namespace vv {

class App;

void PLAYstop(App& app);
void GOnextFRAME(App& app);
void GOpreviousFRAME(App& app);
void GOforward(App& app);
void GOrewind(App& app);
void GOfastFORWARD(App& app);
void GOfastREWIND(App& app);
void SPEEDup(App& app);
void SPEEDdown(App& app);
// The present rate plus delta, set through SETspeed (the keys' speed steps).
void SPEEDstep(App& app, double delta);
// Clamps rate to 0.1..2.0, rounds it to a tenth, shows "SPEED x.y x" and sets
// it; the clamped rate is left in the caller's variable.
void SETspeed(App& app, float& rate);
void JUMPindex(App& app, std::int16_t n);
void SELECTindex(App& app);
void LOADpreviousVIDEO(App& app);
void LOADnextVIDEO(App& app);
void FULLSCREENswitch(App& app);
void VIDEOLISTswitch(App& app, const QString& startDirectory);
void EXITplayer(App& app);

// The PLAY button's action: load the next playlist video when nothing is
// loaded, otherwise PLAYstop.
void CommandPLAY_Click(App& app);

} // namespace vv
