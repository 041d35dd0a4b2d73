// The document of the application shell, free of any toolkit: its path and
// title, the views attached to it, and the open, new and close steps that a
// program's document overrides. The shell (DocManager) drives these.
#pragma once

#include <string>
#include <vector>

class UserMessages;

namespace framework {

// Anything the shell attaches to a document as its view.
class DocumentView {
public:
    virtual ~DocumentView() = default;
};

// What a document asks of the user interface while it works.
class DocumentUi {
public:
    virtual ~DocumentUi() = default;
    virtual void BeginWaitCursor() {}
    virtual void EndWaitCursor() {}
};

class Document {
public:
    Document();
    virtual ~Document() = default;
    Document(const Document&) = delete;
    Document& operator=(const Document&) = delete;

    // Empties the path and clears the modified flag.
    virtual bool OnNewDocument();
    // Opens the file for reading and closes it again (the document reads
    // nothing through the shell). False, after the open-failure message,
    // when the file cannot be opened for reading.
    virtual bool OnOpenDocument(const std::string& path);
    virtual void OnCloseDocument() {}

    const std::string& PathName() const { return m_pathName; }
    void SetPathName(const std::string& path) { m_pathName = path; }
    // The title: the file name of the path, or "Unbenannt" without one.
    std::string Title() const;

    void AddView(DocumentView* view) { m_views.push_back(view); }
    void RemoveView(DocumentView* view);
    DocumentView* FirstView() const { return m_views.empty() ? nullptr : m_views.front(); }

    void SetUserMessages(UserMessages* messages);
    UserMessages& Messages() const { return *m_messages; }
    void SetUi(DocumentUi* ui) { m_ui = ui ? ui : &m_noUi; }
    DocumentUi& Ui() const { return *m_ui; }

private:
    std::string m_pathName;
    std::vector<DocumentView*> m_views;
    UserMessages* m_messages;
    DocumentUi m_noUi;
    DocumentUi* m_ui = &m_noUi;
};

// The shell's own texts.
extern const char* const kUntitled;          // "Unbenannt"
extern const char* const kOpenFailedMessage; // "Fehler beim Öffnen des Dokuments."

}  // namespace framework
