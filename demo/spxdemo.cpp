// spxdemo: a sample host of SPXHK110. It freezes the screen, lets the person (or a script)
// select a rectangle, an ellipse, a polygon or a window on it, and writes each selection as a PNG
// and one line of JSON on standard output. spxdemo --help lists the options.
#include "demo_host.h"
#include "demo_options.h"
#include "png_file.h"
#include "script.h"
#include "thread_dpi.h"
#include "utf8_text.h"

#include <windows.h>

#include <shellapi.h>

#include <cstdio>

namespace {

// The arguments after the program name, as UTF-8: read from the platform's Unicode command line,
// so that a path in any script comes through whole.
std::vector<std::string> Arguments() {
    std::vector<std::string> args;
    int nArgs = 0;
    LPWSTR *ppArgs = CommandLineToArgvW(GetCommandLineW(), &nArgs);
    if (!ppArgs)
        return args;
    for (int i = 1; i < nArgs; ++i)
        args.push_back(Utf8FromWide(ppArgs[i]));
    LocalFree(ppArgs);
    return args;
}

// The whole content of a file; false when it cannot be read.
bool ReadWholeFile(const std::string &path, std::string &text) {
    const HANDLE hFile = CreateFileW(WideFromUtf8(path).c_str(), GENERIC_READ, FILE_SHARE_READ,
                                     nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        return false;
    text.clear();
    char buffer[4096];
    DWORD nRead = 0;
    bool bOk;
    while ((bOk = ReadFile(hFile, buffer, sizeof(buffer), &nRead, nullptr)) && nRead)
        text.append(buffer, nRead);
    CloseHandle(hFile);
    return bOk;
}

// Makes the folder, and the folders above it that are missing; the error, or 0.
DWORD MakeFolders(const std::wstring &dir) {
    if (CreateDirectoryW(dir.c_str(), nullptr))
        return 0;
    const DWORD dwError = GetLastError();
    if (dwError != ERROR_PATH_NOT_FOUND)
        return dwError;
    const size_t nEnd = dir.find_last_not_of(L"/\\");
    const size_t nSeparator = nEnd == std::wstring::npos ? nEnd : dir.find_last_of(L"/\\", nEnd);
    if (nSeparator == std::wstring::npos || nSeparator == 0)
        return dwError;
    const DWORD dwParent = MakeFolders(dir.substr(0, nSeparator));
    if (dwParent != 0 && dwParent != ERROR_ALREADY_EXISTS)
        return dwError;
    return CreateDirectoryW(dir.c_str(), nullptr) ? 0 : GetLastError();
}

// Checks an output folder before anything is played, making it when it is missing: empty, or a
// line for the person that names the option and the path.
std::string PrepareFolder(const char *szOption, const std::string &dir) {
    const std::wstring wide = WideFromUtf8(dir);
    const DWORD dwError = MakeFolders(wide);
    const DWORD dwAttributes = GetFileAttributesW(wide.c_str());
    if (dwAttributes == INVALID_FILE_ATTRIBUTES)
        return std::string(szOption) + ": cannot make the folder '" + dir + "' (error " +
               std::to_string(dwError) + ")";
    if (!(dwAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return std::string(szOption) + ": '" + dir + "' is a file, not a folder";
    return {};
}

} // namespace

int main() {
    const ParsedOptions parsed = ParseDemoOptions(Arguments());
    if (!parsed.error.empty()) {
        std::fprintf(stderr, "spxdemo: %s\n", parsed.error.c_str());
        return 2;
    }
    const DemoOptions &options = parsed.options;
    if (options.bHelp) {
        std::fputs(kDemoUsage, stdout);
        return 0;
    }

    // Before any window: a window keeps the awareness of the thread that made it.
    if (options.bDpiUnaware && !MakeThreadDpiUnaware())
        std::fprintf(stderr, "spxdemo: --dpi-unaware: this system cannot run a thread DPI unaware; "
                             "the host stays per-monitor aware\n");

    std::vector<ScriptStep> steps;
    if (!options.scriptFile.empty()) {
        std::string text;
        if (!ReadWholeFile(options.scriptFile, text)) {
            std::fprintf(stderr, "spxdemo: --script: cannot read '%s'\n",
                         options.scriptFile.c_str());
            return 2;
        }
        ParsedScript script = ParseScript(text);
        if (!script.error.empty()) {
            std::fprintf(stderr, "spxdemo: %s: %s\n", options.scriptFile.c_str(),
                         script.error.c_str());
            return 2;
        }
        steps = std::move(script.steps);
    }
    for (const auto &folder : {std::make_pair("--out", options.outDir),
                               std::make_pair("--snapshots", options.snapshotDir)}) {
        if (folder.second.empty())
            continue;
        const std::string problem = PrepareFolder(folder.first, folder.second);
        if (!problem.empty()) {
            std::fprintf(stderr, "spxdemo: %s\n", problem.c_str());
            return 2;
        }
    }

    const GdiplusSession gdiplus;
    if (!gdiplus.ok()) {
        std::fprintf(stderr, "spxdemo: GDI+ could not be started\n");
        return 1;
    }
    DemoHost host(options, std::move(steps));
    return host.Run();
}
