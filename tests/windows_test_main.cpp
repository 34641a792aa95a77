// The test programs' main on Windows: as GoogleTest's own, and an unhandled exception (an
// access violation, say) ends the process with a failing exit code, which Wine does not
// always report otherwise.
#include <cstdio>
#include <cstdlib>

#include <gtest/gtest.h>
#include <windows.h>

namespace {

LONG WINAPI FailOnUnhandledException(EXCEPTION_POINTERS* pInfo) {
    std::fprintf(stderr, "unhandled exception 0x%08lx\n",
                 static_cast<unsigned long>(pInfo->ExceptionRecord->ExceptionCode));
    std::fflush(stderr);
    TerminateProcess(GetCurrentProcess(), 3);
    return EXCEPTION_EXECUTE_HANDLER;
}

} // namespace

int main(int argc, char** argv) {
    SetUnhandledExceptionFilter(FailOnUnhandledException);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
