// The demo's input scripts: plain text, one step a line, parsed without any window or display.
//
//   # a comment; blank lines are skipped
//   move X Y          put the cursor on a screen pixel
//   press [left|right]    press a mouse button (left when none is named)
//   release [left|right]  release it
//   key NAME          press and release a key: enter, escape, tab, space, backspace, delete,
//                     left, right, up, down, pageup, pagedown, shift, ctrl (or control), a
//                     letter or a digit
//   hold NAME         press a key and keep it down over the steps after it
//   letgo NAME        release a held key
//   wait MS           let the host run for a while before the next step
#pragma once

#include <string>
#include <vector>

struct ScriptStep {
    enum Kind { Move, Press, Release, Key, Hold, LetGo, Wait } kind;
    int x = 0, y = 0;       // Move
    bool bRight = false;    // Press, Release
    unsigned short nVk = 0; // Key, Hold, LetGo: the virtual-key code
    int nMilliseconds = 0;  // Wait
    int nLine = 0;          // where the step stands in the file, for messages
    std::string text;       // the line as written, for messages
};

struct ParsedScript {
    std::vector<ScriptStep> steps;
    std::string error; // empty when the whole text was read; else "line N: what is wrong"
};

// Reads a whole script, UTF-8 with or without a byte-order mark. The first malformed line stops the
// reading and is named in error.
ParsedScript ParseScript(const std::string &text);

// The virtual-key code of a key name as a script writes it (case does not matter); 0 if unknown.
unsigned short VirtualKeyOfName(const std::string &name);
