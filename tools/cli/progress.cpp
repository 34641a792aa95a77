#include "progress.h"

#include <cstdio>

#if defined(_WIN32)
#include <io.h>
#define GX_ISATTY(fd) _isatty(fd)
#else
#include <unistd.h>
#define GX_ISATTY(fd) isatty(fd)
#endif

namespace cli {

namespace {

const auto kQuietStart = std::chrono::seconds(3);
const auto kRedraw = std::chrono::seconds(1);

} // namespace

Progress::Progress()
    : m_bTerminal(GX_ISATTY(2) != 0), m_start(Clock::now()), m_lastDrawn(m_start) {}

void Progress::Count(long long n) {
    m_nPoints += n;
    if (!m_bTerminal || (m_nPoints & 0x3FF) != 0) return; // look at the clock now and then
    const Clock::time_point now = Clock::now();
    if (now - m_start < kQuietStart || now - m_lastDrawn < kRedraw) return;
    const double seconds = std::chrono::duration<double>(now - m_start).count();
    std::fprintf(stderr, "\r%lld points, %.0f per second ", m_nPoints, m_nPoints / seconds);
    std::fflush(stderr);
    m_lastDrawn = now;
    m_bShown = true;
}

void Progress::Finish() {
    if (m_bShown) std::fprintf(stderr, "\n");
}

} // namespace cli
