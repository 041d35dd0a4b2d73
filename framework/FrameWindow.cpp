#include "FrameWindow.h"

#include <QAction>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QUrl>
#include <QWindow>

#include "framework/Commands.h"

namespace framework {

std::vector<std::string> DroppedPaths(const QMimeData* data) {
    std::vector<std::string> paths;
    if (!data || !data->hasUrls()) return paths;
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile()) paths.push_back(url.toLocalFile().toStdString());
    }
    return paths;
}

FrameWindow::FrameWindow() = default;

bool FrameWindow::PreCreateWindow(CreateStruct&) { return true; }

bool FrameWindow::LoadFrame(const std::vector<MenuSpec>& menus, const std::vector<AcceleratorSpec>& accelerators,
                            const QIcon& icon, const QString& windowTitle) {
    CreateStruct probe;  // the first call only looks for the window class
    PreCreateWindow(probe);
    CreateStruct cs;
    if (!PreCreateWindow(cs)) return false;
    if (cs.cx > 0 && cs.cy > 0) resize(cs.cx, cs.cy);

    m_windowTitle = windowTitle;
    setWindowIcon(icon);
    for (const MenuSpec& menuSpec : menus) {
        QMenu* menu = menuBar()->addMenu(QString::fromUtf8(menuSpec.title));
        for (const MenuItemSpec& item : menuSpec.items) {
            if (!item.text) {
                menu->addSeparator();
                continue;
            }
            QAction* action = menu->addAction(QString::fromUtf8(item.text));
            action->setEnabled(!item.grayed);
            const int id = item.command;
            connect(action, &QAction::triggered, this, [this, id] { Command(id); });
            if (id == ID_FILE_MRU_FILE1) {
                m_fileMenu = menu;
                m_recentPlaceholder = action;
            }
        }
    }
    // Accelerators are actions of their own, not menu shortcuts: the menu
    // items carry no shortcut text.
    for (const AcceleratorSpec& accel : accelerators) {
        auto* action = new QAction(this);
        action->setShortcut(accel.keys);
        action->setShortcutContext(Qt::WindowShortcut);
        const int id = accel.command;
        connect(action, &QAction::triggered, this, [this, id] { Command(id); });
        addAction(action);
    }
    SetDocumentTitle(QString());
    return true;
}

void FrameWindow::SetView(QWindow* view) {
    m_container = QWidget::createWindowContainer(view, this);
    m_container->setFocusPolicy(Qt::StrongFocus);
    m_container->setAcceptDrops(true);
    m_container->installEventFilter(this);
    setCentralWidget(m_container);
    m_container->setFocus();
}

void FrameWindow::SetDocumentTitle(const QString& documentTitle) {
    setWindowTitle(documentTitle.isEmpty() ? m_windowTitle : documentTitle + " - " + m_windowTitle);
}

void FrameWindow::SetRecentFiles(const std::vector<std::string>& paths) {
    if (!m_fileMenu || !m_recentPlaceholder) return;
    for (QAction* a : m_recentActions) {
        m_fileMenu->removeAction(a);
        a->deleteLater();
    }
    m_recentActions.clear();
    m_recentPlaceholder->setVisible(paths.empty());
    for (size_t i = 0; i < paths.size(); ++i) {
        // "&1 path": the number is the mnemonic; an '&' in a path is shown as one.
        QString label = QString::fromStdString(paths[i]);
        label.replace('&', "&&").replace('\n', ' ');
        auto* action = new QAction(QString("&%1 %2").arg(i + 1).arg(label), m_fileMenu);
        m_fileMenu->insertAction(m_recentPlaceholder, action);
        const int id = ID_FILE_MRU_FILE1 + static_cast<int>(i);
        connect(action, &QAction::triggered, this, [this, id] { Command(id); });
        m_recentActions.push_back(action);
    }
}

void FrameWindow::Command(int id) {
    if (m_onCommand) m_onCommand(id);
}

void FrameWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (acceptDrops() && !DroppedPaths(event->mimeData()).empty()) event->acceptProposedAction();
}

void FrameWindow::dropEvent(QDropEvent* event) {
    const auto paths = DroppedPaths(event->mimeData());
    event->acceptProposedAction();
    activateWindow();
    if (m_onDrop && !paths.empty()) m_onDrop(paths);
}

bool FrameWindow::eventFilter(QObject* watched, QEvent* event) {
    // Drops over the view arrive at its container.
    if (watched == m_container && acceptDrops()) {
        if (event->type() == QEvent::DragEnter) {
            dragEnterEvent(static_cast<QDragEnterEvent*>(event));
            return true;
        }
        if (event->type() == QEvent::Drop) {
            dropEvent(static_cast<QDropEvent*>(event));
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

}  // namespace framework
