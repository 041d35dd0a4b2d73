// The document manager of the shell: the one template, the one document with
// its frame and view (made at the first New or Open and reused for the whole
// run), the Open dialog, the recent-file list and the shell registration,
// which a program's manager overrides.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "framework/DocTemplate.h"
#include "framework/FrameWindow.h"
#include "framework/RecentFileList.h"

namespace framework {

class DocManager {
public:
    virtual ~DocManager();

    void AddDocTemplate(std::unique_ptr<DocTemplate> docTemplate);
    const std::vector<std::unique_ptr<DocTemplate>>& Templates() const { return m_templates; }

    // Writes the file-type registration; the base does nothing.
    virtual void RegisterShellFileTypes(bool compatibility);

    // The framework's New: makes the document, frame and view if there are
    // none yet and asks the document for a new document.
    bool OnFileNew();
    // The Open dialog, then opening the chosen file.
    void OnFileOpen();
    // Opens a file as a command-line path would: makes the document, frame
    // and view if needed, asks the document to open it, then sets the title
    // and the recent-file list. When the document cannot open the file, a
    // frame made by this call is destroyed again; false.
    bool OpenDocumentFile(const std::string& path);
    // A recent-file entry; one that no longer opens is removed.
    void OpenRecentFile(size_t index);

    Document* TheDocument() const { return m_document.get(); }
    FrameWindow* Frame() const { return m_frame.get(); }
    DocTemplate* Template() const { return m_templates.empty() ? nullptr : m_templates.front().get(); }

    void SetRecentFileList(std::unique_ptr<RecentFileList> list);
    RecentFileList* Recent() const { return m_recent.get(); }
    // Runs before the frame is shown, so the frame can be wired to the
    // application's commands.
    std::function<void(FrameWindow&)> onFrameCreated;

    // Closes the document (releasing its scene while the view exists) and
    // destroys the frame and view.
    void CloseAll();

private:
    bool EnsureFrame();
    void UpdateFrame();

    std::vector<std::unique_ptr<DocTemplate>> m_templates;
    std::unique_ptr<Document> m_document;
    std::unique_ptr<FrameWindow> m_frame;
    DocumentView* m_view = nullptr;
    std::unique_ptr<RecentFileList> m_recent;
};

}  // namespace framework
