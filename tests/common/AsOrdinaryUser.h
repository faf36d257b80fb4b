#pragma once

// Runs a check in a child process under an ordinary user, so that file permissions apply even
// when the tests run as the superuser (who reads and writes whatever the permissions say).

#include <functional>
#include <sys/wait.h>
#include <unistd.h>

namespace AsOrdinaryUser {

// The user "nobody" of Debian.
constexpr uid_t nobody = 65534;

// The check's answer, from a child that is "nobody" when the tests run as root and the caller
// itself otherwise. Files it must reach need permissions for that user.
inline bool run(const std::function<bool()>& check) {
    const pid_t child = fork();
    if (child == 0) {
        if (geteuid() == 0 && (setgid(nobody) != 0 || setuid(nobody) != 0))
            _exit(2);
        _exit(check() ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// The owner that files must have for the check's user.
inline uid_t user() {
    return geteuid() == 0 ? nobody : geteuid();
}

} // namespace AsOrdinaryUser
