#pragma once
// The services of the running program: real message boxes, the real
// directory chooser, a real end of the process, real time and randomness.

#include <random>

#include "app/services.h"

namespace vv {

class App;

class ProgramServices : public Services {
public:
    void attach(App* app) { app_ = app; }

    void messageBox(const QString& text, Icon icon, const QString& title) override;
    QString selectDirectory(const QString& title, const QString& startPath) override;
    [[noreturn]] void endProgram() override;
    void processEvents() override;
    void runEventsFor(int milliseconds) override;
    void setWaitCursor(bool on) override;
    double secondsSinceMidnight() override;
    void randomize() override;
    float rnd() override;

private:
    App* app_ = nullptr;
    std::mt19937 random_{12345u};
    bool waitCursor_ = false;
};

} // namespace vv
