#pragma once
// Everything the player needs from outside itself besides media: message
// boxes, the directory chooser, ending the process, letting pending window
// events run, the wait cursor, the clock and the random generator. The program
// uses ProgramServices; tests replace it so that nothing ever blocks on a
// modal dialog and every random draw is known.

#include <QString>

namespace vv {

class Services {
public:
    enum class Icon { None, Information, Critical };

    virtual ~Services() = default;

    // A modal message box with a single OK button. An empty title means the
    // application's title. Returns when the user has closed it.
    virtual void messageBox(const QString& text, Icon icon = Icon::None,
                            const QString& title = QString()) = 0;

    // The modal directory chooser; returns the chosen directory, "" when the
    // user cancelled.
    virtual QString selectDirectory(const QString& title, const QString& startPath) = 0;

    // Ends the program at once. In the program this does not return; a
    // replacement records the request and returns, so callers return
    // straight after calling it.
    virtual void endProgram() = 0;

    // Let pending window events run once.
    virtual void processEvents() = 0;

    // Let window events run for about the given time (the pace of the
    // player's animation loops: crazy vision, the held zoom buttons).
    virtual void runEventsFor(int milliseconds) = 0;

    // The hourglass for the whole screen while a long operation runs.
    virtual void setWaitCursor(bool on) = 0;

    // Seconds since midnight, local time.
    virtual double secondsSinceMidnight() = 0;

    // The uniform pseudo-random generator: reseed it from the time of day,
    // then draw numbers in [0, 1).
    virtual void randomize() = 0;
    virtual float rnd() = 0;
};

} // namespace vv
