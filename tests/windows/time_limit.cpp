// Runs one test program within a time limit, so that a test that hangs
// cannot hold the whole run:
//
//   time-limit SECONDS PROGRAM [ARG...]
//
// Gives the program's exit status. When the time is up, it ends the program
// with every process the program started, gives 124 and says so on standard
// error in a line of its own, "time-limit: still running after", which
// tells its 124 from a program's; a program that cannot be started gives
// 125.
#include <windows.h>

#include <cstdio>
#include <cwchar>

namespace {

// Past one argument of a command line and the blanks after it, as the
// runtime splits them; the rest goes to the program exactly as written.
const wchar_t* skip_argument(const wchar_t* line) {
    bool quoted = false;
    for (; *line && (quoted || (*line != L' ' && *line != L'\t')); ++line) {
        if (*line == L'"') quoted = !quoted;
    }
    while (*line == L' ' || *line == L'\t') ++line;
    return line;
}

}  // namespace

int main() {
    const wchar_t* seconds_text = skip_argument(GetCommandLineW());
    const wchar_t* program_line = skip_argument(seconds_text);
    wchar_t* end = nullptr;
    const unsigned long seconds = std::wcstoul(seconds_text, &end, 10);
    if (end == seconds_text || seconds == 0 || !*program_line) {
        std::fputs("usage: time-limit SECONDS PROGRAM [ARG...]\n", stderr);
        return 2;
    }
    // A program that crashes ends at once with its status: Windows Error
    // Reporting's dialog would hold it until the time is up, and the crash
    // would pass for a hang. Every process started from here inherits this.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
    // Every process the program starts joins its job, and ends with it.
    HANDLE job = CreateJobObjectW(nullptr, nullptr);
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    if (job) SetInformationJobObject(job, JobObjectExtendedLimitInformation, &limits, sizeof limits);

    static wchar_t line[32768];
    std::wcsncpy(line, program_line, 32767);
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(nullptr, line, nullptr, nullptr, TRUE, CREATE_SUSPENDED, nullptr, nullptr,
                        &si, &pi)) {
        std::fprintf(stderr, "time-limit: cannot start %ls (error %lu)\n", program_line,
                     GetLastError());
        return 125;
    }
    if (job) AssignProcessToJobObject(job, pi.hProcess);
    ResumeThread(pi.hThread);
    if (WaitForSingleObject(pi.hProcess, seconds * 1000) == WAIT_TIMEOUT) {
        if (job) TerminateJobObject(job, 124);
        TerminateProcess(pi.hProcess, 124);
        std::fprintf(stderr, "time-limit: still running after %lu s, so ended\n", seconds);
        return 124;
    }
    DWORD status = 1;
    GetExitCodeProcess(pi.hProcess, &status);
    return static_cast<int>(status);
}
