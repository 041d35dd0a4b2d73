// Records the messages the document would show the user.
#pragma once

#include <string>
#include <vector>

#include "framework/UserMessages.h"

namespace orv::test {

class RecordingMessages : public UserMessages {
public:
    void ShowWarning(const std::string& text) override { shown.push_back(text); }
    std::vector<std::string> shown;
};

}  // namespace orv::test
