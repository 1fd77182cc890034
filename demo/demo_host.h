// The sample host: freezes the screen in a full-screen overlay, lets the person select on it
// through SPXHK110, and writes each selection as a PNG and a line of JSON.
#pragma once

#include "control_panel.h"
#include "demo_options.h"
#include "input_arrival.h"
#include "screen_image.h"
#include "script.h"
#include "script_player.h"
#include "window_standins.h"

#include "spxhk110.h"

#include <memory>
#include <vector>

class DemoHost {
public:
    DemoHost(const DemoOptions &options, std::vector<ScriptStep> steps);
    ~DemoHost();
    DemoHost(const DemoHost &) = delete;
    DemoHost &operator=(const DemoHost &) = delete;

    // Runs until the person or the script is done; returns the exit status.
    int Run();

private:
    static LRESULT CALLBACK NotifyProc(HWND, UINT, WPARAM, LPARAM);
    static LRESULT CALLBACK OverlayProc(HWND, UINT, WPARAM, LPARAM);

    bool CreateWindows();
    bool Arm(const RECT *pInitialRect);
    void Disarm();
    void ApplyPanelSettings();
    bool ApplyStartingShape();
    int SetShape(DWORD dwSet, DWORD dwStart, const RECT *pBox = nullptr);
    void ResizeBox(int nWidth, int nHeight);
    void SetSelectionOption(DWORD dwOption, bool bOn);
    void EraseWindowFrame();
    void OnSelection(LPARAM lParam);
    bool WriteSelection(LPARAM lParam);
    std::string NextCropFile(const std::string &mode);
    void SettleBeforeScript();
    void Finish(int nExitCode);

    DemoOptions m_options;
    std::vector<ScriptStep> m_steps; // handed to the player when it starts
    InputArrival m_arrival;          // the input this thread takes in; outlives the player
    std::unique_ptr<ScriptPlayer> m_player;
    PixelImage m_frozen;
    HostRecord m_record;
    ControlPanel m_panel;
    WindowStandIns m_standIns; // window mode: the frozen windows, for the hook to find
    HWND m_hwndOverlay = nullptr;
    HWND m_hwndNotify = nullptr;
    bool m_bArmed = false;
    int m_nSelections = 0;
    int m_nLastCrop = 0; // the number in the name of the last crop written
    int m_nExitCode = 0;
    DWORD m_dwSelectionOptions = 0; // as this host last set them (SetSelectionOptions)
    bool m_bFinished = false;
    POINT m_ptBoxTopLeft = {}; // of the last live rectangle or selection: where a resized box goes
    bool m_bHasBoxTopLeft = false;
};
