#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>

#include "process.h"

extern char** environ;

const char* const PIPE_NEWLINE = "\n";

struct Child::Handles {
    pid_t pid = -1;
    int out = -1;
    int err = -1;
    int status = -1;
};

Child::~Child() {
    stop();
    if (h_) {
        if (h_->out >= 0) close(h_->out);
        if (h_->err >= 0) close(h_->err);
        delete h_;
    }
}

bool Child::start(const std::vector<std::string>& args, bool refused_output) {
    // Inherited across exec: a child's write to a pipe with no reader
    // fails with EPIPE instead of ending it.
    signal(SIGPIPE, SIG_IGN);
    int out[2], err[2];
    if (pipe(out) != 0 || pipe(err) != 0) return false;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_adddup2(&actions, err[1], 2);
    if (refused_output) posix_spawn_file_actions_addopen(&actions, 1, "/dev/full", O_WRONLY, 0);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    posix_spawn_file_actions_addclose(&actions, err[0]);
    std::vector<char*> argv;
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    h_ = new Handles;
    int rc = posix_spawn(&h_->pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    close(err[1]);
    h_->out = out[0];
    h_->err = err[0];
    if (rc != 0) h_->pid = -1;
    return rc == 0;
}

void Child::pump(int timeout_ms) {
    pollfd p[2] = {{h_->out, POLLIN, 0}, {h_->err, POLLIN, 0}};  // poll skips -1
    if (poll(p, 2, timeout_ms) <= 0) return;
    char block[65536];
    if (p[0].revents & POLLIN) {
        ssize_t n = read(h_->out, block, sizeof block);
        if (n > 0) out_.append(block, static_cast<std::size_t>(n));
    }
    if (p[1].revents & POLLIN) {
        ssize_t n = read(h_->err, block, sizeof block);
        if (n > 0) err_.append(block, static_cast<std::size_t>(n));
    }
}

int Child::exit_status() { return h_->status; }

bool Child::running() {
    if (h_->pid < 0) return false;
    int status;
    if (waitpid(h_->pid, &status, WNOHANG) == 0) return true;
    h_->status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    h_->pid = -1;
    return false;
}

void Child::stop() {
    if (h_ && running()) {
        kill(h_->pid, SIGKILL);
        wait(5000);
    }
}

void Child::close_output() {
    close(h_->out);
    h_->out = -1;
}

std::string Child::error_text() {
    char block[4096];
    ssize_t n;
    while ((n = read(h_->err, block, sizeof block)) > 0) err_.append(block, static_cast<std::size_t>(n));
    return err_;
}

ScopedVariable::ScopedVariable(const char* name, const std::string& value) : name_(name) {
    const char* old = std::getenv(name);
    had_ = old != nullptr;
    if (had_) old_ = old;
    setenv(name, value.c_str(), 1);
}

ScopedVariable::~ScopedVariable() {
    if (had_) {
        setenv(name_.c_str(), old_.c_str(), 1);
    } else {
        unsetenv(name_.c_str());
    }
}
