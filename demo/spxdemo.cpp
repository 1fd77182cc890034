// spxdemo: a sample host of SPXHK110. It freezes the screen, lets the person (or a script)
// select a rectangle, an ellipse, a polygon or a window on it, and writes each selection as a PNG
// and one line of JSON on standard output. spxdemo --help lists the options.
#include "demo_host.h"
#include "demo_options.h"
#include "png_file.h"
#include "script.h"

#include <windows.h>

#include <cstdio>
#include <fstream>
#include <sstream>

namespace {

bool MakeFolder(const std::string &dir) {
    return CreateDirectoryA(dir.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS;
}

} // namespace

int main(int argc, char **argv) {
    const ParsedOptions parsed = ParseDemoOptions(std::vector<std::string>(argv + 1, argv + argc));
    if (!parsed.error.empty()) {
        std::fprintf(stderr, "spxdemo: %s\n", parsed.error.c_str());
        return 2;
    }
    const DemoOptions &options = parsed.options;
    if (options.bHelp) {
        std::fputs(kDemoUsage, stdout);
        return 0;
    }

    std::vector<ScriptStep> steps;
    if (!options.scriptFile.empty()) {
        std::ifstream file(options.scriptFile, std::ios::binary);
        if (!file.is_open()) {
            std::fprintf(stderr, "spxdemo: --script: cannot read '%s'\n",
                         options.scriptFile.c_str());
            return 2;
        }
        std::ostringstream text;
        text << file.rdbuf();
        ParsedScript script = ParseScript(text.str());
        if (!script.error.empty()) {
            std::fprintf(stderr, "spxdemo: %s: %s\n", options.scriptFile.c_str(),
                         script.error.c_str());
            return 2;
        }
        steps = std::move(script.steps);
    }
    if (!MakeFolder(options.outDir)) {
        std::fprintf(stderr, "spxdemo: --out: cannot make the folder '%s'\n",
                     options.outDir.c_str());
        return 2;
    }
    if (!options.snapshotDir.empty() && !MakeFolder(options.snapshotDir)) {
        std::fprintf(stderr, "spxdemo: --snapshots: cannot make the folder '%s'\n",
                     options.snapshotDir.c_str());
        return 2;
    }

    const GdiplusSession gdiplus;
    if (!gdiplus.ok()) {
        std::fprintf(stderr, "spxdemo: GDI+ could not be started\n");
        return 1;
    }
    DemoHost host(options, std::move(steps));
    return host.Run();
}
