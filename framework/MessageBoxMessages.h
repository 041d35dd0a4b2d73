// Messages as modal message boxes: the warning icon, an OK button and the
// application's name as caption.
#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>

#include "framework/UserMessages.h"

namespace framework {

class MessageBoxMessages : public UserMessages {
public:
    explicit MessageBoxMessages(QString caption) : m_caption(std::move(caption)) {}
    void SetParent(QWidget* parent) { m_parent = parent; }
    void ShowWarning(const std::string& text) override;

private:
    QString m_caption;
    QPointer<QWidget> m_parent;
};

}  // namespace framework
