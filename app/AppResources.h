// The program's menu, accelerator table and icon.
#pragma once

#include <QIcon>
#include <vector>

#include "framework/FrameWindow.h"

std::vector<framework::MenuSpec> MainMenu();
std::vector<framework::AcceleratorSpec> MainAccelerators();
// The application icon at 96, 48, 32 and 16 pixels.
QIcon ApplicationIcon();
