#include "MessageBoxMessages.h"

#include <QApplication>
#include <QMessageBox>

namespace framework {

void MessageBoxMessages::ShowWarning(const std::string& text) {
    // The wait cursor of a load in progress must not hide the box's button.
    const bool overridden = QApplication::overrideCursor() != nullptr;
    if (overridden) QApplication::setOverrideCursor(Qt::ArrowCursor);
    QMessageBox box(QMessageBox::Warning, m_caption, QString::fromStdString(text), QMessageBox::Ok, m_parent);
    box.exec();
    if (overridden) QApplication::restoreOverrideCursor();
}

}  // namespace framework
