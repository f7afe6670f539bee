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

ChildResult RunChildProcess(const std::string& program, const std::vector<std::string>& args,
                            double timeoutSeconds) {
    ChildResult result;
    int pipeFds[2];
    if (pipe2(pipeFds, O_CLOEXEC) != 0) {
        result.error = std::string("cannot create a pipe: ") + std::strerror(errno);
        return result;
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
        return result;
    }
    if (pid == 0) {
        dup2(pipeFds[1], STDOUT_FILENO);
        dup2(pipeFds[1], STDERR_FILENO);
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    close(pipeFds[1]);
    result.started = true;
    const auto deadline = std::chrono::steady_clock::now() +
                          std::chrono::milliseconds(static_cast<long long>(timeoutSeconds * 1000));
    char buffer[4096];
    // Reads whatever the pipe holds within waitMs; false at the end of the pipe.
    auto readSome = [&](int waitMs) {
        pollfd fd{pipeFds[0], POLLIN, 0};
        int ready = poll(&fd, 1, waitMs);
        if (ready <= 0) return ready == 0 || errno == EINTR;
        ssize_t n = read(pipeFds[0], buffer, sizeof buffer);
        if (n < 0) return errno == EINTR;
        if (n == 0) return false;
        size_t room = kMaxChildOutput - std::min(result.output.size(), kMaxChildOutput);
        result.output.append(buffer, std::min(static_cast<size_t>(n), room));
        return true;
    };
    // The output ends with the child, not with the pipe: a process the child started may hold the
    // pipe open long after the child is gone.
    int status = 0;
    bool exited = false;
    for (;;) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline -
                                                                          std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            result.timedOut = true;
            kill(pid, SIGKILL);
            break;
        }
        if (!readSome(static_cast<int>(std::min<long long>(left.count(), 50)))) break;
        pid_t done = waitpid(pid, &status, WNOHANG);
        if (done == pid) {
            exited = true;
            // What it wrote before it ended, without waiting for anyone else (bounded, in case
            // someone else keeps writing).
            for (size_t k = 0; k < 2 * kMaxChildOutput / sizeof buffer; ++k) {
                pollfd fd{pipeFds[0], POLLIN, 0};
                if (poll(&fd, 1, 0) <= 0 || !readSome(0)) break;
            }
            break;
        }
    }
    close(pipeFds[0]);
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
