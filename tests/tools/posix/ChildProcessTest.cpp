// A child's output ends with the child: a process it leaves behind holding the pipe open neither
// delays the result nor makes the child look hung.
#include <gtest/gtest.h>

#include <chrono>

#include "tools/vsthost/host/ChildProcess.h"

TEST(ChildProcess, EndsWithTheChildNotThePipe) {
    auto start = std::chrono::steady_clock::now();
    ChildResult r = RunChildProcess("/bin/sh", {"-c", "sleep 20 & echo done; exit 3"}, 15);
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_TRUE(r.started);
    EXPECT_FALSE(r.timedOut);
    EXPECT_EQ(r.exitCode, 3);
    EXPECT_EQ(r.output, "done\n");
    EXPECT_LT(seconds, 5.0);
}
