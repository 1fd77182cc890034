// The demo's command line, read without any window or display.
#pragma once

#include <string>
#include <vector>

struct DemoOptions {
    int nMode = 3;           // the library's mode: 3 rectangle, 4 ellipse, 5 polygon, 0 window
    bool bAdjustable = true; // show a finished selection in a resizing box
    bool bHighlightWindows = true; // frame the window under the cursor in window mode
    bool bRubberEdge = false;      // a line from a polygon's last vertex follows the cursor
    bool bSnapEdges = false;       // moving edges snap to window, control and monitor edges
    bool bLoupe = false;           // a loupe beside the pointer magnifies the pixels under it
    bool bPickElements = false;    // window mode: pick the control or element under the pointer
    bool bHasInitialRect = false;  // initialRect is to be shown in a box at the start
    long initialRect[4] = {};      // left, top, right, bottom
    std::vector<long> vertices;    // x, y of each vertex of a starting region; empty: none
    long ratio[2] = {};            // width to height kept by the band and the box; 0, 0: none
    long fixedSize[2] = {};        // width and height of a box placed by a click; 0, 0: none
    bool bLastRegion = false;      // each selection starts from the one committed before
    bool bRepeat = false;          // after a selection, wait for the next one
    bool bDpiUnaware = false;      // the host's thread runs DPI unaware, as most capture programs
    std::string outDir = ".";      // where the cropped PNGs go
    std::string scriptFile;        // input steps to play; empty: none
    std::string snapshotDir;       // where the step snapshots go; empty: none
    int nStepDelayMs = 60;         // pause after each script step
    bool bHelp = false;
};

struct ParsedOptions {
    DemoOptions options;
    std::string
        error; // empty when the command line was understood; else one line naming the option
};

// Reads the arguments after the program name.
ParsedOptions ParseDemoOptions(const std::vector<std::string> &args);

// Reads "W<separator>H" (spaces allowed around the separator; 'x' also matches 'X') into
// size[0] and size[1], each from 1 to nMax. The panel's size fields read their text with it too.
bool ReadSizePair(const std::string &text, char separator, long nMax, long size[2]);

// The name the JSON line and the file names give a mode.
const char *ModeName(int nMode);

extern const char *const kDemoUsage;

// dir and name joined with the separator dir already uses ('/' or '\').
std::string JoinPath(const std::string &dir, const std::string &name);
