#include "CMLabel.h"

#include <QDesktopServices>
#include <QFontDatabase>
#include <QMouseEvent>
#include <QUrl>

CMLabel::CMLabel(QWidget* parent) : QLabel(parent) {
    setFont(QFontDatabase::systemFont(QFontDatabase::GeneralFont));
    opener = [](const QString& text) { QDesktopServices::openUrl(QUrl::fromUserInput(text)); };
}

void CMLabel::SetTextColor(const QColor& color) {
    QPalette p = palette();
    p.setColor(QPalette::WindowText, color);
    setPalette(p);
    repaint();
}

void CMLabel::SetUnderline(bool underline) {
    QFont f = font();
    f.setUnderline(underline);
    setFont(f);
    repaint();
}

void CMLabel::SetLinkCursor(const QCursor& cursor) { setCursor(cursor); }

void CMLabel::mousePressEvent(QMouseEvent* event) {
    // The text exactly as it stands; a failure to open is not reported.
    if (event->button() == Qt::LeftButton && opener) opener(text());
    QLabel::mousePressEvent(event);
}
