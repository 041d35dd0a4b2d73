// The single-document template: the document string and how the document,
// its frame and its view are made.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "framework/Document.h"

class QWindow;

namespace framework {

class FrameWindow;

// A view as the shell holds it: a native window for the frame, and the
// document's view of it.
struct ViewParts {
    QWindow* window = nullptr;      // owned by the frame once put into it
    DocumentView* view = nullptr;   // the same object seen by the document
};

struct DocTemplate {
    // Seven fields separated by line breaks: window title, document name,
    // name for New, filter name, extension list, file type id, file type name.
    std::string docString;
    std::function<std::unique_ptr<Document>()> createDocument;
    std::function<std::unique_ptr<FrameWindow>()> createFrame;
    // Makes the view for a frame and a document; an empty result when the
    // view cannot be created (it has said why).
    std::function<ViewParts(FrameWindow&, Document&)> createView;

    enum DocStringIndex {
        windowTitle = 0,
        docName = 1,
        fileNewName = 2,
        filterName = 3,
        filterExt = 4,
        regFileTypeId = 5,
        regFileTypeName = 6,
    };
    // False when the field is missing.
    bool GetDocString(std::string& text, DocStringIndex index) const;
};

}  // namespace framework
