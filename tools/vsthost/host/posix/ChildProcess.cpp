#include "tools/vsthost/host/ChildProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>

std::string SelfExecutablePath() {
    char path[4096];
    ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    if (n <= 0) return {};
    path[n] = '\0';
    return path;
}

namespace {

constexpr size_t kReadBytes = 4096;

// The child running program with args, its output and errors into a new pipe whose reading end
// is readFd; -1 with result.error when it cannot be started.
pid_t StartChild(const std::string& program, const std::vector<std::string>& args, int& readFd,
                 ChildResult& result) {
    int pipeFds[2];
    if (pipe2(pipeFds, O_CLOEXEC) != 0) {
        result.error = std::string("cannot create a pipe: ") + std::strerror(errno);
        return -1;
    }
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    pid_t pid = fork();
    if (pid < 0) {
        result.error = std::string("cannot start a child process: ") + std::strerror(errno);
        close(pipeFds[0]);
        close(pipeFds[1]);
        return -1;
    }
    if (pid == 0) {
        dup2(pipeFds[1], STDOUT_FILENO);
        dup2(pipeFds[1], STDERR_FILENO);
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    close(pipeFds[1]);
    readFd = pipeFds[0];
    return pid;
}

// Reads whatever the pipe holds within waitMs into output (up to kMaxChildOutput); false at the
// end of the pipe.
bool ReadSome(int fd, std::string& output, int waitMs) {
    char buffer[kReadBytes];
    pollfd pfd{fd, POLLIN, 0};
    int ready = poll(&pfd, 1, waitMs);
    if (ready <= 0) return ready == 0 || errno == EINTR;
    ssize_t n = read(fd, buffer, sizeof buffer);
    if (n < 0) return errno == EINTR;
    if (n == 0) return false;
    size_t room = kMaxChildOutput - std::min(output.size(), kMaxChildOutput);
    output.append(buffer, std::min(static_cast<size_t>(n), room));
    return true;
}

// Collects the child's output until it ends or the time is up (then kills it). The output ends
// with the child, not with the pipe: a process the child started may hold the pipe open long
// after the child is gone. True when the child was reaped here, its status in status.
bool WatchChild(pid_t pid, int fd, double timeoutSeconds, ChildResult& result, int& status) {
    const auto deadline = std::chrono::steady_clock::now() +
                          std::chrono::milliseconds(static_cast<long long>(timeoutSeconds * 1000));
    for (;;) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline -
                                                                          std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            result.timedOut = true;
            kill(pid, SIGKILL);
            return false;
        }
        if (!ReadSome(fd, result.output, static_cast<int>(std::min<long long>(left.count(), 50))))
            return false;
        if (waitpid(pid, &status, WNOHANG) == pid) {
            // What it wrote before it ended, without waiting for anyone else (bounded, in case
            // someone else keeps writing).
            for (size_t k = 0; k < 2 * kMaxChildOutput / kReadBytes; ++k) {
                pollfd pfd{fd, POLLIN, 0};
                if (poll(&pfd, 1, 0) <= 0 || !ReadSome(fd, result.output, 0)) break;
            }
            return true;
        }
    }
}

}  // namespace

ChildResult RunChildProcess(const std::string& program, const std::vector<std::string>& args,
                            double timeoutSeconds) {
    ChildResult result;
    int fd = -1;
    const pid_t pid = StartChild(program, args, fd, result);
    if (pid < 0) return result;
    result.started = true;
    int status = 0;
    const bool exited = WatchChild(pid, fd, timeoutSeconds, result, status);
    close(fd);
    while (!exited && waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (WIFSIGNALED(status)) {
        result.signaled = true;
        result.exitCode = WTERMSIG(status);
    } else if (WIFEXITED(status)) {
        result.exitCode = WEXITSTATUS(status);
    }
    return result;
}
