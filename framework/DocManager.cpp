#include "DocManager.h"

#include <QFileDialog>
#include <QFileInfo>

namespace framework {

DocManager::~DocManager() { CloseAll(); }

void DocManager::AddDocTemplate(std::unique_ptr<DocTemplate> docTemplate) {
    m_templates.push_back(std::move(docTemplate));
}

void DocManager::RegisterShellFileTypes(bool) {}

void DocManager::SetRecentFileList(std::unique_ptr<RecentFileList> list) { m_recent = std::move(list); }

bool DocManager::EnsureFrame() {
    if (m_frame) return true;
    DocTemplate* t = Template();
    if (!t) return false;
    if (!m_document) m_document = t->createDocument();
    m_frame = t->createFrame();
    if (!m_frame) return false;
    const ViewParts parts = t->createView(*m_frame, *m_document);
    if (!parts.window) {
        m_frame.reset();
        return false;
    }
    m_frame->SetView(parts.window);
    m_view = parts.view;
    m_document->AddView(m_view);
    if (onFrameCreated) onFrameCreated(*m_frame);
    UpdateFrame();
    return true;
}

void DocManager::UpdateFrame() {
    if (!m_frame) return;
    m_frame->SetDocumentTitle(QString::fromStdString(m_document->Title()));
    if (m_recent) m_frame->SetRecentFiles(m_recent->Entries());
}

bool DocManager::OnFileNew() {
    const bool made = !m_frame;
    if (!EnsureFrame()) return false;
    if (!m_document->OnNewDocument()) {
        if (made) CloseAll();
        return false;
    }
    UpdateFrame();
    return true;
}

void DocManager::OnFileOpen() {
    std::string filterName;
    Template()->GetDocString(filterName, DocTemplate::filterName);
    QFileDialog dialog(m_frame.get(), QString::fromUtf8("Öffnen"));
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    // Qt reads the patterns between the parentheses split at spaces, so the
    // document string's "(*.orvp;*.orvp2)" is shown as "(*.orvp *.orvp2)";
    // "all files" is "*" here, since a Linux file name need not have a dot.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setNameFilters({QString::fromStdString(filterName).replace(';', ' '),
                           QString::fromUtf8("Alle Dateien (*)")});
    dialog.setDefaultSuffix("orvp");
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
    OpenDocumentFile(dialog.selectedFiles().front().toStdString());
}

bool DocManager::OpenDocumentFile(const std::string& relativePath) {
    // Documents are known by their full path, as the recent-file list keeps
    // them; links are not resolved.
    const std::string path =
        relativePath.empty() ? relativePath : QFileInfo(QString::fromStdString(relativePath)).absoluteFilePath().toStdString();
    const bool made = !m_frame;
    if (!EnsureFrame()) return false;
    if (!m_document->OnOpenDocument(path)) {
        if (made) CloseAll();  // the frame made for this file goes again
        else UpdateFrame();
        return false;
    }
    m_document->SetPathName(path);
    if (m_recent) {
        m_recent->Add(path);
        m_recent->Save();
    }
    UpdateFrame();
    return true;
}

void DocManager::OpenRecentFile(size_t index) {
    if (!m_recent || index >= m_recent->Entries().size()) return;
    const std::string path = m_recent->Entries()[index];
    if (!OpenDocumentFile(path)) {
        m_recent->Remove(index);
        m_recent->Save();
        UpdateFrame();
    }
}

void DocManager::CloseAll() {
    if (m_document && m_frame) m_document->OnCloseDocument();
    if (m_document && m_view) m_document->RemoveView(m_view);
    m_view = nullptr;
    m_frame.reset();  // destroys the view window with it
}

}  // namespace framework
