// The platform services start-up brings up before anything else. On Linux
// none of them needs starting, but each stays a step that can fail, so that
// the program's messages for a failed start stay reachable (tests put a
// failing one in place).
#pragma once

class PlatformStartup {
public:
    virtual ~PlatformStartup() = default;
    virtual void InitCommonControls() {}
    virtual bool InitOle() { return true; }
    virtual bool StartImageLibrary() { return true; }
    virtual void StopImageLibrary() {}
};
