// random_user: a long random sequence of a user's steps at the real editor.
//   random_user [-n STEPS] [-s SEED] [-log FILE]
// Prints its seed first; the same seed makes the same choices, so a failure
// found once comes back with `-s SEED`. Exits 0 when the editor survived every
// step and every sound undid back to how it was made, 1 otherwise.
#include "RandomUser.h"

#include <chrono>
#include <cstdio>
#include <cwchar>
#include <string>

int wmain(int argc, wchar_t** argv) {
    int steps = 150;
    std::uint64_t seed = GetTickCount();
    std::wstring logName;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::wstring flag = argv[i];
        if (flag == L"-n") steps = _wtoi(argv[i + 1]);
        else if (flag == L"-s") seed = std::wcstoull(argv[i + 1], nullptr, 10);
        else if (flag == L"-log") logName = argv[i + 1];
    }
    std::printf("random-user: seed %llu, %d steps\n", static_cast<unsigned long long>(seed), steps);
    std::fflush(stdout);

    const std::filesystem::path folder = e2e::freshInstall(L"random-user-" + std::to_wstring(seed));
    const std::filesystem::path logPath = logName.empty() ? folder / L"random-user.log" : std::filesystem::path(logName);
    std::FILE* log = _wfopen(logPath.c_str(), L"w");
    if (!log) log = stderr;
    std::printf("random-user: log in %s\n", e2e::unixPath(logPath).c_str());

    const auto begin = std::chrono::steady_clock::now();
    bool ok;
    std::string failure;
    int checks, undone, restarts;
    std::map<std::string, int> counts;
    {
        rnd::RandomUser user(seed, folder, log);
        ok = user.run(steps);
        failure = user.failure().what;
        checks = user.checks();
        undone = user.undone();
        restarts = user.restarts();
        counts = user.counts();
        if (!ok) e2e::runUnix("import -window root " + e2e::quoted(folder / L"failure.png"));
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
    for (const auto& [what, n] : counts) std::fprintf(log, "count %6d  %s\n", n, what.c_str());
    if (log != stderr) std::fclose(log);

    std::printf("random-user: %d undo checks passed (%d steps undone), %d restarts of the editor, %.1f s\n", checks,
                undone, restarts, seconds);
    if (!ok) {
        std::printf("random-user: FAILED with seed %llu: %s\n", static_cast<unsigned long long>(seed), failure.c_str());
        std::printf("random-user: screenshot in %s\n", e2e::unixPath(folder / L"failure.png").c_str());
        return 1;
    }
    std::printf("random-user: passed\n");
    return 0;
}
