// The main window: the shell's frame, created at the size the preferences
// give (800 x 800 by default). It never writes its size back.
#pragma once

#include "framework/FrameWindow.h"

class CMPanoramaMainFrame : public framework::FrameWindow {
public:
    bool PreCreateWindow(CreateStruct& cs) override;

    int32_t m_nWindowWidth = 800;
    int32_t m_nWindowHeight = 800;
};
