// Starting one of the built programs for an end-to-end test, with its
// standard output and standard error on pipes.
#pragma once

#include <string>
#include <vector>

// What a line feed written in text mode looks like once it reaches a pipe:
// standard error's lines and the usage; the log's bytes pass exactly.
extern const char* const PIPE_NEWLINE;

class Child {
public:
    Child() = default;
    ~Child();
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;

    // args[0] is the program's path as the platform names it (see
    // program_path). With refused_output, standard output is a file that
    // fails every write, as a full disk does.
    bool start(const std::vector<std::string>& args, bool refused_output = false);
#ifdef _WIN32
    // The program with a command line written as a launcher or a batch file
    // writes it, in UTF-8.
    bool start_command_line(const std::string& program, const std::string& line,
                            bool refused_output = false);
#endif
    // Reads standard output until it holds at least bytes or timeout_ms
    // pass; gives all read so far.
    const std::string& read_at_least(std::size_t bytes, int timeout_ms);
    bool running();
    // Waits for the end and gives the exit status, or -1 on timeout.
    int wait(int timeout_ms);
    void stop();
    // Closes the reading end of standard output, as a reader that has gone.
    // Children on POSIX run with SIGPIPE ignored, so that they see the
    // failed write as a Windows program does.
    void close_output();
    // Standard error, read once the child has ended.
    std::string error_text();
    // Keeps both pipes drained for a while; what arrived is in output()
    // and errors().
    void pump_for(int milliseconds);
    const std::string& output() const { return out_; }
    const std::string& errors() const { return err_; }

private:
    // Reads what has arrived on either pipe, waiting at most timeout_ms.
    void pump(int timeout_ms);
    // The exit status of a child that has ended.
    int exit_status();
    std::string out_;
    std::string err_;
    struct Handles;
    Handles* h_ = nullptr;
};

// An environment variable set, in UTF-8, for the children started while
// it lives; what was there before comes back after.
class ScopedVariable {
public:
    ScopedVariable(const char* name, const std::string& value);
    ~ScopedVariable();
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

private:
    std::string name_, old_;
    bool had_ = false;
};
