// The program's document manager: the shell's, with a file-type registration
// that ties each extension of the template to the file type on its own, and
// makes the desktop follow it.
#pragma once

#include "framework/DocManager.h"

class CMDocManager : public framework::DocManager {
public:
    void RegisterShellFileTypes(bool compatibility) override;
};
