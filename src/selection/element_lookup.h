// The UI Automation elements under a point, looked up on a thread of the library's own: the
// platform's calls cross into other processes and may take long, and the host's thread never
// waits for them. COM is initialised on that thread alone; UI Automation is loaded there, the
// first time a look-up is started.
#pragma once

#include <windows.h>

enum { kMaxElementLevels = 12 };

struct ElementLevel {
    RECT rc;           // physical screen pixels
    LONG nControlType; // the element's control type, 0 when it gave none
    WCHAR szName[256]; // its name, cut to 255 characters
};

// What the look-up found at pt inside hwndControl: the elements there from the deepest out,
// each with a rectangle that holds pt, the control's own element left out. None where the
// control serves no elements of its own.
struct ElementAnswer {
    unsigned nRequest;
    POINT pt;
    HWND hwndControl;
    int nLevels;
    ElementLevel aLevels[kMaxElementLevels];
};

// How long an answer is waited for: a look-up still under way after this is given up, and the
// next one goes to a fresh thread.
enum { kElementAnswerBoundMs = 500 };

// Starts the look-up thread (once: later calls return at once); answers come to pfnAnswer on this
// thread, as it takes its messages. False when the thread cannot be had.
bool StartElementLookup(void (*pfnAnswer)(const ElementAnswer &answer));
// Asks for the elements at pt inside hwndControl; a question not yet taken up is replaced. The
// question's number, which its answer carries; 0 when no look-up runs.
unsigned AskForElements(POINT pt, HWND hwndControl);
// Stops asking: the thread ends once its call in hand returns (never waited for), and its
// answers are dropped.
void StopElementLookup();
