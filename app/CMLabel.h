// A label that acts as a hyperlink: its own colour and font (the stock GUI
// font, underlined once the dialog sets it), a hand cursor over it, and a
// click that hands its text to the desktop to open.
#pragma once

#include <QLabel>

class CMLabel : public QLabel {
public:
    explicit CMLabel(QWidget* parent = nullptr);

    void SetTextColor(const QColor& color);
    void SetUnderline(bool underline);
    void SetLinkCursor(const QCursor& cursor);

    // How the text is opened; the desktop's handler unless a test sets one.
    std::function<void(const QString&)> opener;

protected:
    void mousePressEvent(QMouseEvent* event) override;
};
