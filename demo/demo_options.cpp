#include "demo_options.h"

#include <cerrno>
#include <cstdlib>

const char *const kDemoUsage =
    "usage: spxdemo [options]\n"
    "  --mode rectangle|ellipse|polygon|window   what to select (default rectangle)\n"
    "  --adjust | --no-adjust          show a finished selection in a box first (default on)\n"
    "  --highlight | --no-highlight    frame the window under the cursor in window mode (on)\n"
    "  --elements                      window mode with highlighting picks what the pointer is\n"
    "                                  on: the deepest control or UI Automation element, Page\n"
    "                                  Up and the wheel away step out to what holds it (up to\n"
    "                                  the monitor), Page Down and the wheel towards back in\n"
    "                                  (default off; the panel has it too)\n"
    "  --rubber-edge                   while a polygon is placed, a line follows the cursor from\n"
    "                                  its last vertex (default off; the panel has it too)\n"
    "  --snap                          edges being drawn or dragged snap to the edges of windows,\n"
    "                                  of their controls and of the monitors near them (default\n"
    "                                  off; the panel has it too)\n"
    "  --loupe                         while a band is drawn, a vertex placed or the pointer\n"
    "                                  moves in the box, a loupe beside the pointer shows the\n"
    "                                  pixels around it magnified, with its place and the centre\n"
    "                                  pixel's colour (default off; the panel has it too)\n"
    "  --rect L,T,R,B                  an initial rectangle, shown in its box at the start\n"
    "  --vertices X,Y,X,Y,...          a starting region of 3 to 50 vertices, shown in its box at\n"
    "                                  the start (a polygon; its bounds in the other modes)\n"
    "  --last-region                   each selection after the first starts from the one\n"
    "                                  committed before, shown in its box (the panel has it too)\n"
    "  --ratio W:H                     the band and the box keep this ratio, e.g. 16:9 (each 1\n"
    "                                  to 10000; the panel has it too)\n"
    "  --fixed WxH                     a box of this size follows the pointer and is placed by a\n"
    "                                  click or Space, e.g. 640x360 (rectangle and ellipse)\n"
    "  --repeat                        after a selection, wait for the next one\n"
    "  --dpi-unaware                   the host runs DPI unaware, as most capture programs do\n"
    "                                  (SetThreadDpiAwarenessContext, where the system has it):\n"
    "                                  its frozen screen, windows and crops in its own scaled\n"
    "                                  pixels; the JSON and the script stay in physical pixels\n"
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
    "  window \"window\", and with --elements \"target\":{\"kind\":\"element\"|\"window\"|\n"
    "  \"monitor\",\"name\":...,\"type\":N} (name and UI Automation control type where the\n"
    "  target has them). Coordinates are physical pixels; a DPI-unaware host on a scaled\n"
    "  monitor adds \"hostRect\", where it cut the PNG from its own scaled screen.\n"
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

// X,Y pairs, 3 to 50 of them.
bool ReadVertices(const std::string &text, std::vector<long> &coordinates) {
    coordinates.clear();
    for (size_t nStart = 0;;) {
        const size_t nComma = text.find(',', nStart);
        long n = 0;
        if (!ReadLong(text.substr(nStart, nComma - nStart), n))
            return false;
        coordinates.push_back(n);
        if (nComma == std::string::npos)
            break;
        nStart = nComma + 1;
    }
    return coordinates.size() % 2 == 0 && coordinates.size() >= 6 && coordinates.size() <= 100;
}

} // namespace

bool ReadSizePair(const std::string &text, char separator, long nMax, long size[2]) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    size_t nSeparator = std::string::npos;
    for (size_t i = 0; i < text.size() && nSeparator == std::string::npos; ++i)
        if (lower(text[i]) == lower(separator))
            nSeparator = i;
    if (nSeparator == std::string::npos)
        return false;
    auto trimmed = [&text](size_t nFrom, size_t nTo) {
        while (nFrom < nTo && text[nFrom] == ' ')
            ++nFrom;
        while (nTo > nFrom && text[nTo - 1] == ' ')
            --nTo;
        return text.substr(nFrom, nTo - nFrom);
    };
    const std::string parts[2] = {trimmed(0, nSeparator), trimmed(nSeparator + 1, text.size())};
    long read[2] = {};
    for (int i = 0; i < 2; ++i) {
        // Digits only: no sign, no spaces inside.
        if (parts[i].find_first_not_of("0123456789") != std::string::npos ||
            !ReadLong(parts[i], read[i]) || read[i] < 1 || read[i] > nMax)
            return false;
    }
    size[0] = read[0];
    size[1] = read[1];
    return true;
}

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
                                 name == "--step-delay" || name == "--vertices" ||
                                 name == "--ratio" || name == "--fixed";
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
        } else if (name == "--vertices") {
            if (!ReadVertices(value, o.vertices))
                return fail("--vertices: '" + value + "' is not X,Y,X,Y,... of 3 to 50 vertices");
        } else if (name == "--ratio") {
            if (!ReadSizePair(value, ':', 10000, o.ratio))
                return fail("--ratio: '" + value + "' is not W:H with each from 1 to 10000");
        } else if (name == "--fixed") {
            if (!ReadSizePair(value, 'x', 32767, o.fixedSize))
                return fail("--fixed: '" + value + "' is not WxH with each from 1 to 32767");
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
        } else if (name == "--loupe") {
            o.bLoupe = true;
        } else if (name == "--elements") {
            o.bPickElements = true;
        } else if (name == "--last-region") {
            o.bLastRegion = true;
        } else if (name == "--repeat") {
            o.bRepeat = true;
        } else if (name == "--dpi-unaware") {
            o.bDpiUnaware = true;
        } else if (name == "--help" || name == "-h" || name == "/?") {
            o.bHelp = true;
        } else {
            return fail("unknown option '" + arg + "' (--help lists them)");
        }
    }
    // A starting region is shown in the box: without one there is nothing to show it in.
    if (!o.bAdjustable && (!o.vertices.empty() || o.bLastRegion))
        parsed.error = std::string(o.bLastRegion ? "--last-region" : "--vertices") +
                       ": a starting region needs --adjust";
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
