#include <windows.h>

#include "process.h"
#include "start_win32.h"
#include "wide_win32.h"

const char* const PIPE_NEWLINE = "\r\n";

struct Child::Handles {
    PROCESS_INFORMATION pi{};
    HANDLE out = nullptr;
    HANDLE err = nullptr;
};

// The quoting that the runtime's argument splitting undoes exactly.
static std::string quoted(const std::string& arg) {
    std::string q = "\"";
    std::size_t backslashes = 0;
    for (char c : arg) {
        if (c == '\\') {
            ++backslashes;
        } else {
            if (c == '"') q.append(backslashes + 1, '\\');
            backslashes = 0;
        }
        q += c;
    }
    q.append(backslashes, '\\');
    return q + "\"";
}

Child::~Child() {
    stop();
    if (h_) {
        CloseHandle(h_->out);
        CloseHandle(h_->err);
        CloseHandle(h_->pi.hProcess);
        CloseHandle(h_->pi.hThread);
        delete h_;
    }
}

bool Child::start(const std::vector<std::string>& args, bool refused_output) {
    std::string line = quoted(args[0]);
    for (std::size_t i = 1; i < args.size(); ++i) line += " " + quoted(args[i]);
    return start_command_line(args[0], line, refused_output);
}

bool Child::start_command_line(const std::string& program, const std::string& line,
                               bool refused_output) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE out_w, err_w;
    h_ = new Handles;
    if (!CreatePipe(&h_->out, &out_w, &inherit, 0) ||
        !CreatePipe(&h_->err, &err_w, &inherit, 1 << 16)) {
        return false;
    }
    SetHandleInformation(h_->out, HANDLE_FLAG_INHERIT, 0);
    SetHandleInformation(h_->err, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    // Opened for reading only, the null device fails every write.
    HANDLE refusing = refused_output ? CreateFileW(L"NUL", GENERIC_READ, 0, &inherit, OPEN_EXISTING,
                                                   0, nullptr)
                                     : nullptr;
    si.hStdOutput = refusing ? refusing : out_w;
    si.hStdError = err_w;
    // Wide, so that arguments outside the code page reach the child as
    // they would from any shell. A console program started with its output
    // redirected would still share this console, its title and its window,
    // which a follow that cannot open its log hides behind its box: each
    // child gets a console of its own with no window, as from a service or
    // a scheduled task, and tells such failures on standard error.
    std::wstring wide_line = widen(line);
    BOOL ok = start_patiently(program, [&] {
        std::wstring attempt = wide_line;  // which CreateProcessW may write to
        return CreateProcessW(widen(program).c_str(), attempt.data(), nullptr, nullptr, TRUE,
                              CREATE_NO_WINDOW, nullptr, nullptr, &si, &h_->pi);
    });
    CloseHandle(out_w);
    CloseHandle(err_w);
    if (refusing) CloseHandle(refusing);
    return ok;
}

// Reads what a pipe holds without waiting; gives false when it is empty.
static bool drain(HANDLE pipe, std::string& into) {
    DWORD avail = 0;
    if (!PeekNamedPipe(pipe, nullptr, 0, nullptr, &avail, nullptr) || avail == 0) return false;
    char block[65536];
    DWORD n = 0;
    if (ReadFile(pipe, block, avail < sizeof block ? avail : sizeof block, &n, nullptr)) {
        into.append(block, n);
    }
    return true;
}

void Child::pump(int timeout_ms) {
    bool got = drain(h_->out, out_);
    got = drain(h_->err, err_) || got;
    if (!got) Sleep(static_cast<DWORD>(timeout_ms));
}

int Child::exit_status() {
    DWORD code = 0;
    GetExitCodeProcess(h_->pi.hProcess, &code);
    return static_cast<int>(code);
}

bool Child::running() {
    return h_->pi.hProcess && WaitForSingleObject(h_->pi.hProcess, 0) == WAIT_TIMEOUT;
}

void Child::stop() {
    if (h_ && running()) {
        TerminateProcess(h_->pi.hProcess, 137);
        wait(5000);
    }
}

void Child::close_output() {
    CloseHandle(h_->out);
    h_->out = nullptr;
}

std::string Child::error_text() {
    while (drain(h_->err, err_)) {
    }
    return err_;
}

ScopedVariable::ScopedVariable(const char* name, const std::string& value) : name_(name) {
    std::wstring wide_name = widen(name);
    std::wstring old(32767, L'\0');
    SetLastError(0);
    DWORD n = GetEnvironmentVariableW(wide_name.c_str(), old.data(), 32767);
    had_ = n > 0 || GetLastError() != ERROR_ENVVAR_NOT_FOUND;
    old_ = to_code_page(old.substr(0, n), CP_UTF8);
    SetEnvironmentVariableW(wide_name.c_str(), widen(value).c_str());
}

ScopedVariable::~ScopedVariable() {
    SetEnvironmentVariableW(widen(name_).c_str(), had_ ? widen(old_).c_str() : nullptr);
}
