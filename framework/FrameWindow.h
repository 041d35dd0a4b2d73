// The main frame of the shell: a window with the menu and accelerators of
// the program's resources, the title "<document> - <window title>", the
// view filling its client area, and files dropped on it opened one after
// the other. Commands go to one handler the application sets.
#pragma once

#include <QKeySequence>
#include <QMainWindow>
#include <functional>
#include <string>
#include <vector>

class QMenu;
class QMimeData;

namespace framework {

struct MenuItemSpec {
    const char* text;  // null for a separator
    int command;
    bool grayed = false;
};

struct MenuSpec {
    const char* title;
    std::vector<MenuItemSpec> items;
};

struct AcceleratorSpec {
    QKeySequence keys;
    int command;
};

class FrameWindow : public QMainWindow {
public:
    // The size the window is created with; a frame class may set it.
    struct CreateStruct {
        int cx = 0;
        int cy = 0;
    };

    FrameWindow();
    // Called twice while the frame is created, as the framework does: once
    // with an empty record, once for the window itself.
    virtual bool PreCreateWindow(CreateStruct& cs);

    // Builds the window from its resources. Returns false when it cannot.
    bool LoadFrame(const std::vector<MenuSpec>& menus, const std::vector<AcceleratorSpec>& accelerators,
                   const QIcon& icon, const QString& windowTitle);

    // The view: a native window put into the client area.
    void SetView(QWindow* view);
    QWidget* ViewContainer() const { return m_container; }

    void SetCommandHandler(std::function<void(int)> handler) { m_onCommand = std::move(handler); }
    void SetDropHandler(std::function<void(const std::vector<std::string>&)> handler) {
        m_onDrop = std::move(handler);
    }
    void SetDocumentTitle(const QString& documentTitle);
    // The recent-file entries in the File menu, in place of the grayed item.
    void SetRecentFiles(const std::vector<std::string>& paths);
    void AcceptDroppedFiles(bool accept) { setAcceptDrops(accept); }

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Command(int id);

    std::function<void(int)> m_onCommand;
    std::function<void(const std::vector<std::string>&)> m_onDrop;
    QString m_windowTitle;
    QWidget* m_container = nullptr;
    QMenu* m_fileMenu = nullptr;
    QAction* m_recentPlaceholder = nullptr;
    std::vector<QAction*> m_recentActions;
};

// Paths of the local files in a drop, in the order the drop lists them.
std::vector<std::string> DroppedPaths(const QMimeData* data);

}  // namespace framework
