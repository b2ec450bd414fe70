#include "differential_perl.h"

#include <stdexcept>
#include <string>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/wait.h>
#include <unistd.h>
#endif

#ifndef DIFFERENTIAL_PERL
#define DIFFERENTIAL_PERL "/usr/bin/perl"
#endif
#ifndef DIFFERENTIAL_ORACLE_SCRIPT
#error "DIFFERENTIAL_ORACLE_SCRIPT must name differential_oracle.pl"
#endif

namespace differential {

#ifdef _WIN32

// The Windows build runs under Wine, which starts a Linux program given its
// path on the drive that maps the root folder. Arguments reach Perl as they
// are, so the files are named by their Linux paths, which Wine tells.
std::string linuxPath(const std::filesystem::path &path) {
    using UnixName = char *(CDECL *)(const WCHAR *);
    const auto unixName = reinterpret_cast<UnixName>(
        reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    if (!unixName) throw std::runtime_error("the differential test starts Perl through Wine");
    char *name = unixName(path.wstring().c_str());
    if (!name) throw std::runtime_error("no Linux path for " + path.string());
    std::string result = name;
    HeapFree(GetProcessHeap(), 0, name);
    return result;
}

// Wine cannot wait for a Linux process it started, nor hand it pipes; the
// script makes its results file appear whole, so waiting for the file waits.
void runPerlOracle(const std::filesystem::path &folder, const std::string &cases, const std::string &results) {
    std::wstring perl = L"Z:";
    for (const char *c = DIFFERENTIAL_PERL; *c; ++c) perl += static_cast<wchar_t>(*c == '/' ? '\\' : *c);
    const std::string line = std::string("perl ") + DIFFERENTIAL_ORACLE_SCRIPT + " " + linuxPath(folder / cases) +
                             " " + linuxPath(folder / results);
    std::wstring wideLine(line.begin(), line.end());
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(perl.c_str(), wideLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process))
        throw std::runtime_error("cannot start " + std::string(DIFFERENTIAL_PERL) + " (error " +
                                 std::to_string(GetLastError()) + ")");
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    for (int waited = 0; !std::filesystem::exists(folder / results); waited += 20) {
        if (waited > 240000) throw std::runtime_error("no results from Perl after 240 s: " + line);
        Sleep(20);
    }
}

#else

void runPerlOracle(const std::filesystem::path &folder, const std::string &cases, const std::string &results) {
    const pid_t child = ::fork();
    if (child < 0) throw std::runtime_error("cannot start " + std::string(DIFFERENTIAL_PERL));
    if (child == 0) {
        if (::chdir(folder.c_str()) == 0)
            ::execl(DIFFERENTIAL_PERL, "perl", DIFFERENTIAL_ORACLE_SCRIPT, cases.c_str(), results.c_str(),
                    static_cast<char *>(nullptr));
        ::_exit(127);
    }
    int status = 0;
    while (::waitpid(child, &status, 0) < 0) {
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        throw std::runtime_error("perl failed on " + cases + " in " + folder.string());
}

#endif

}  // namespace differential
