#include "CMPanoramaMainFrame.h"

#include "settings/CMSettingsStore.h"

bool CMPanoramaMainFrame::PreCreateWindow(CreateStruct& cs) {
    CMSettingsStore store;
    // The members are the defaults, so the second call takes what the first
    // one read. Stored values are used as they are.
    m_nWindowWidth = static_cast<int32_t>(store.GetDword("WindowWidth", static_cast<uint32_t>(m_nWindowWidth)));
    m_nWindowHeight = static_cast<int32_t>(store.GetDword("WindowHeight", static_cast<uint32_t>(m_nWindowHeight)));
    cs.cx = m_nWindowWidth;
    cs.cy = m_nWindowHeight;
    return FrameWindow::PreCreateWindow(cs);
}
