#include "DocTemplate.h"

namespace framework {

bool DocTemplate::GetDocString(std::string& text, DocStringIndex index) const {
    size_t start = 0;
    for (int i = 0; i < index; ++i) {
        start = docString.find('\n', start);
        if (start == std::string::npos) return false;
        ++start;
    }
    const size_t end = docString.find('\n', start);
    text = docString.substr(start, end == std::string::npos ? std::string::npos : end - start);
    return true;
}

}  // namespace framework
