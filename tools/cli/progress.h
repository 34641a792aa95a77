// A progress line on standard error for long streams, only when standard error is a terminal.
#ifndef GEOXFORM_CLI_PROGRESS_H
#define GEOXFORM_CLI_PROGRESS_H

#include <chrono>

namespace cli {

class Progress {
public:
    Progress();
    // Counts converted points; from three seconds on, redraws the line about once a second.
    void Count(long long n);
    // Ends the line when one was drawn.
    void Finish();

private:
    using Clock = std::chrono::steady_clock;
    bool m_bTerminal;
    bool m_bShown = false;
    long long m_nPoints = 0;
    Clock::time_point m_start;
    Clock::time_point m_lastDrawn;
};

} // namespace cli

#endif
