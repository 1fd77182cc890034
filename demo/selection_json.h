// The one line of JSON the demo prints for each selection; made without any window or display.
#pragma once

#include <string>
#include <utility>
#include <vector>

struct SelectionReport {
    std::string mode; // "rectangle", "ellipse", "polygon", "window"
    // The image's rectangle on the screen, right and bottom excluded: a polygon's is its rcBounds
    // with one added to right and bottom.
    long left = 0, top = 0, right = 0, bottom = 0;
    // Where the image was cut from the host's own picture of the screen, when that is not the
    // rectangle: a host told a scaled screen (DPI unaware, on a scaled monitor).
    bool bHasHostRect = false;
    long hostLeft = 0, hostTop = 0, hostRight = 0, hostBottom = 0;
    std::vector<std::pair<long, long>> vertices; // polygon vertices, in the order placed
    bool bHasWindow = false;                     // a window was reported: window is its handle
    unsigned long window = 0;
    // What the library picked (SPX_OPT_PICK_ELEMENTS): "element", "window" or "monitor"; empty
    // when nothing was. Its name (UTF-8) and UI Automation control type, where it has them.
    std::string targetKind;
    std::string targetName;
    long nTargetType = 0;
    std::string file; // the PNG written
};

// {"mode":...,"rect":[l,t,r,b],"hostRect":[l,t,r,b],"vertices":[[x,y],...],"window":"0x...",
// "target":{"kind":...,"name":...,"type":N},"file":...} on one line, without a line end; text is
// UTF-8 and passes as it is. hostRect stands only where there is one, vertices only in polygon
// reports, window only where one was reported, target only where one was picked, with its name
// only when not empty and its type only when not 0.
std::string SelectionJson(const SelectionReport &report);

// s as a JSON string, quotes included.
std::string JsonString(const std::string &s);
