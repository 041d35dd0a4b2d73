#include "Document.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

#include "framework/UserMessages.h"

namespace framework {

const char* const kUntitled = "Unbenannt";
const char* const kOpenFailedMessage = "Fehler beim Öffnen des Dokuments.";

namespace {
StandardErrorMessages g_standardError;
}

Document::Document() : m_messages(&g_standardError) {}

void Document::SetUserMessages(UserMessages* messages) { m_messages = messages ? messages : &g_standardError; }

bool Document::OnNewDocument() {
    m_pathName.clear();
    return true;
}

bool Document::OnOpenDocument(const std::string& path) {
    // Read-only: a panorama file is never written, renamed or truncated.
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat st;
    const bool ok = fd >= 0 && fstat(fd, &st) == 0 && !S_ISDIR(st.st_mode);
    if (fd >= 0) close(fd);
    if (!ok) m_messages->ShowWarning(kOpenFailedMessage);
    return ok;
}

std::string Document::Title() const {
    if (m_pathName.empty()) return kUntitled;
    const size_t slash = m_pathName.find_last_of('/');
    return slash == std::string::npos ? m_pathName : m_pathName.substr(slash + 1);
}

void Document::RemoveView(DocumentView* view) {
    m_views.erase(std::remove(m_views.begin(), m_views.end(), view), m_views.end());
}

}  // namespace framework
