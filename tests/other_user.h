#pragma once

// Runs a piece of a test as a user whom permissions bind. Root passes every permission
// test, so a test of what an unreadable folder does runs the code under test in a child
// process that has become "nobody" (when the tests run as root) and hands back what it
// found as text. Windows has no such permission bits: there the piece is not run.

#include <functional>
#include <optional>
#include <string>

#ifdef _WIN32

namespace tallix::testing {

inline std::optional<std::string> AsOtherUser(const std::function<std::string()>&) {
    return std::nullopt;
}

}  // namespace tallix::testing

#else

#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

namespace tallix::testing {

inline constexpr uid_t kOtherUser = 65534;  // nobody

// What `run` returned in the child, or nothing when the child could not become the user.
inline std::optional<std::string> AsOtherUser(const std::function<std::string()>& run) {
    int ends[2];
    if (::pipe(ends) != 0) {
        return std::nullopt;
    }
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(ends[0]);
        const bool bound =
            ::geteuid() != 0 || (::setgroups(0, nullptr) == 0 && ::setgid(kOtherUser) == 0 &&
                                 ::setuid(kOtherUser) == 0);
        if (!bound) {
            ::_exit(125);
        }
        const std::string answer = run();
        const bool written =
            ::write(ends[1], answer.data(), answer.size()) == static_cast<ssize_t>(answer.size());
        ::_exit(written ? 0 : 1);
    }
    ::close(ends[1]);
    std::string answer;
    char buffer[4096];
    for (ssize_t got; (got = ::read(ends[0], buffer, sizeof buffer)) > 0;) {
        answer.append(buffer, static_cast<std::size_t>(got));
    }
    ::close(ends[0]);
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status) ||
        WEXITSTATUS(status) != 0) {
        return std::nullopt;
    }
    return answer;
}

}  // namespace tallix::testing

#endif  // _WIN32
