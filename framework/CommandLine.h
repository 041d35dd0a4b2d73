// The command line of the program: nothing (a new, empty document), a file
// path (open it), "/p" and a path (print it, which ends the program), or
// "/pt", a path, a printer, a driver and a port (the same). On Linux an
// absolute path begins with '/', so only these exact switches (or their '-'
// forms, in any letter case) count as switches; every other argument is a
// path, and only the first path is used.
#pragma once

#include <string>
#include <vector>

namespace framework {

struct CommandLineInfo {
    enum class Action { FileNew, FileOpen, FilePrint, FilePrintTo };
    Action action = Action::FileNew;
    std::string fileName;
    std::string printerName, driverName, portName;
};

CommandLineInfo ParseCommandLine(const std::vector<std::string>& args);

}  // namespace framework
