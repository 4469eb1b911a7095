#include "control/transport.h"

#include "app/app.h"

namespace vv {

void PLAYstop(App&) {}
void GOnextFRAME(App&) {}
void GOpreviousFRAME(App&) {}
void GOforward(App&) {}
void GOrewind(App&) {}
void GOfastFORWARD(App&) {}
void GOfastREWIND(App&) {}
void SPEEDup(App&) {}
void SPEEDdown(App&) {}
void SETspeed(App&, float&) {}
void JUMPindex(App&, std::int16_t) {}
void SELECTindex(App&) {}
void LOADpreviousVIDEO(App&) {}
void LOADnextVIDEO(App&) {}
void FULLSCREENswitch(App&) {}
void VIDEOLISTswitch(App&, const QString&) {}

void EXITplayer(App& app)
{
    app.video().pause();
    app.video().setFileName(QString());
    app.sv.endProgram();
}

void CommandPLAY_Click(App&) {}

} // namespace vv
