#include "CommandLine.h"

#include <algorithm>
#include <cctype>

namespace framework {
namespace {

std::string Lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::tolower(c); });
    return s;
}

}  // namespace

CommandLineInfo ParseCommandLine(const std::vector<std::string>& args) {
    CommandLineInfo info;
    bool print = false, printTo = false;
    std::vector<std::string> params;
    for (const std::string& arg : args) {
        const std::string flag = Lower(arg);
        if (flag == "/p" || flag == "-p") print = true;
        else if (flag == "/pt" || flag == "-pt") printTo = true;
        else params.push_back(arg);
    }
    if (params.empty()) return info;
    info.fileName = params[0];
    info.action = CommandLineInfo::Action::FileOpen;
    if (printTo) {
        info.action = CommandLineInfo::Action::FilePrintTo;
        if (params.size() > 1) info.printerName = params[1];
        if (params.size() > 2) info.driverName = params[2];
        if (params.size() > 3) info.portName = params[3];
    } else if (print) {
        info.action = CommandLineInfo::Action::FilePrint;
    }
    return info;
}

}  // namespace framework
