#include "demo_options.h"

#include <cerrno>
#include <cstdlib>

const char *const kDemoUsage =
    "usage: spxdemo [options]\n"
    "  --mode rectangle|ellipse|polygon|window   what to select (default rectangle)\n"
    "  --adjust | --no-adjust          show a finished selection in a box first (default on)\n"
    "  --highlight | --no-highlight    frame the window under the cursor in window mode (on)\n"
    "  --rubber-edge                   while a polygon is placed, a line follows the cursor from\n"
    "                                  its last vertex (default off; the panel has it too)\n"
    "  --snap                          edges being drawn or dragged snap to the edges of windows,\n"
    "                                  of their controls and of the monitors near them (default\n"
    "                                  off; the panel has it too)\n"
    "  --rect L,T,R,B                  an initial rectangle, shown in its box at the start\n"
    "  --repeat                        after a selection, wait for the next one\n"
    "  --out DIR                       where the cropped PNGs go (default .); made if missing,\n"
    "                                  an earlier crop there is never overwritten\n"
    "  --script FILE                   play these input steps (move, press, release, key,\n"
    "                                  hold, letgo, wait)\n"
    "  --snapshots DIR                 save every monitor as one PNG after each script step\n"
    "  --step-delay MS                 pause after each script step (default 60); a step is\n"
    "                                  played once the one before has reached the host\n"
    "Each selection is a PNG and one line of JSON (UTF-8) on standard output:\n"
    "  {\"mode\":...,\"rect\":[left,top,right,bottom],\"file\":...}, right and bottom excluded\n"
    "  (the PNG is right - left by bottom - top pixels); a polygon adds \"vertices\", a picked\n"
    "  window \"window\".\n"
    "Escape or the panel's Quit button ends the program.\n";

namespace {

bool ReadLong(const std::string &text, long &nOut) {
    if (text.empty())
        return false;
    char *pEnd = nullptr;
    errno = 0;
    nOut = std::strtol(text.c_str(), &pEnd, 10);
    return *pEnd == '\0' && errno == 0 && nOut >= -32768 && nOut <= 32767;
}

bool ReadRect(const std::string &text, long rect[4]) {
    size_t nStart = 0;
    for (int i = 0; i < 4; ++i) {
        const size_t nComma = i < 3 ? text.find(',', nStart) : text.size();
        if (nComma == std::string::npos || !ReadLong(text.substr(nStart, nComma - nStart), rect[i]))
            return false;
        nStart = nComma + 1;
    }
    return rect[0] < rect[2] && rect[1] < rect[3];
}

} // namespace

const char *ModeName(int nMode) {
    switch (nMode) {
    case 3:
        return "rectangle";
    case 4:
        return "ellipse";
    case 5:
        return "polygon";
    default:
        return "window";
    }
}

ParsedOptions ParseDemoOptions(const std::vector<std::string> &args) {
    ParsedOptions parsed;
    DemoOptions &o = parsed.options;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string &arg = args[i];
        auto fail = [&parsed](const std::string &what) {
            parsed.error = what;
            return parsed;
        };
        // Options with a value take it from the next argument or after '='.
        std::string name = arg, value;
        bool bHasValue = false;
        const size_t nEquals = arg.find('=');
        if (arg.compare(0, 2, "--") == 0 && nEquals != std::string::npos) {
            name = arg.substr(0, nEquals);
            value = arg.substr(nEquals + 1);
            bHasValue = true;
        }
        const bool bTakesValue = name == "--mode" || name == "--rect" || name == "--out" ||
                                 name == "--script" || name == "--snapshots" ||
                                 name == "--step-delay";
        if (bTakesValue && !bHasValue) {
            if (i + 1 >= args.size())
                return fail(name + " needs a value");
            value = args[++i];
        } else if (!bTakesValue && bHasValue) {
            return fail(name + " takes no value");
        }

        if (name == "--mode") {
            static const struct {
                const char *szName;
                int nMode;
            } modes[] = {{"rectangle", 3}, {"ellipse", 4}, {"polygon", 5}, {"window", 0}};
            bool bKnown = false;
            for (const auto &m : modes)
                if (value == m.szName) {
                    o.nMode = m.nMode;
                    bKnown = true;
                }
            if (!bKnown)
                return fail("--mode: '" + value + "' is not rectangle, ellipse, polygon or window");
        } else if (name == "--rect") {
            if (!ReadRect(value, o.initialRect))
                return fail("--rect: '" + value +
                            "' is not L,T,R,B with left below right and top below bottom");
            o.bHasInitialRect = true;
        } else if (name == "--step-delay") {
            long n = 0;
            if (!ReadLong(value, n) || n < 0 || n > 10000)
                return fail("--step-delay: '" + value + "' is not milliseconds from 0 to 10000");
            o.nStepDelayMs = int(n);
        } else if (name == "--out" || name == "--script" || name == "--snapshots") {
            if (value.empty())
                return fail(name + " needs a value");
            (name == "--out"      ? o.outDir
             : name == "--script" ? o.scriptFile
                                  : o.snapshotDir) = value;
        } else if (name == "--adjust" || name == "--no-adjust") {
            o.bAdjustable = name == "--adjust";
        } else if (name == "--highlight" || name == "--no-highlight") {
            o.bHighlightWindows = name == "--highlight";
        } else if (name == "--rubber-edge") {
            o.bRubberEdge = true;
        } else if (name == "--snap") {
            o.bSnapEdges = true;
        } else if (name == "--repeat") {
            o.bRepeat = true;
        } else if (name == "--help" || name == "-h" || name == "/?") {
            o.bHelp = true;
        } else {
            return fail("unknown option '" + arg + "' (--help lists them)");
        }
    }
    return parsed;
}

std::string JoinPath(const std::string &dir, const std::string &name) {
    if (dir.empty())
        return name;
    const char last = dir.back();
    if (last == '/' || last == '\\')
        return dir + name;
    const bool bSlash = dir.find('/') != std::string::npos && dir.find('\\') == std::string::npos;
    return dir + (bSlash ? "/" : "\\") + name;
}
