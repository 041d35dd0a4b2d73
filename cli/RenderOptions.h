// The command line of the headless renderer:
//   orvalen-render [--size WxH] [--yaw DEG] [--pitch DEG] [--half-fov DEG] FILE -o OUT.png
//   orvalen-render --thumbnail SIZE FILE -o OUT.png
#pragma once

#include <string>
#include <vector>

struct RenderOptions {
    int width = 800;
    int height = 600;
    double yaw = 0;
    double pitch = 0;
    double halfFov = 30;
    std::string input;
    std::string output;
    // A preview for file managers: at most thumbnail x thumbnail pixels, faces
    // at reduced resolution, and nothing written but the output file.
    int thumbnail = 0;
};

extern const char* const kRenderUsage;

// False, with the reason in *error, for arguments that do not form a
// command line of the renderer.
bool ParseRenderOptions(const std::vector<std::string>& args, RenderOptions* options, std::string* error);
