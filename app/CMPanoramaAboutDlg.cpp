#include "CMPanoramaAboutDlg.h"

#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>

#include "app/AppResources.h"
#include "app/CMLabel.h"

const char* const kProductName = "Tessaly CAD Panorama 1.0";
const char* const kCopyright = "Copyright © 2026 Orvalen-Projekt";
const char* const kCompany = "Orvalen-Projekt";
const char* const kStreet = "Am Bildrand 6";
const char* const kCity = "12345 Kubusstadt";
const char* const kWebAddress = "https://orvalen.example.org/";

namespace {

// Dialog units of the dialog's template to pixels, from the font's average
// character size, as dialog templates are laid out.
struct DialogUnits {
    explicit DialogUnits(const QFont& font) {
        const QFontMetrics m(font);
        baseX = m.horizontalAdvance("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz") / 52.0;
        baseY = m.height();
    }
    QRect operator()(int x, int y, int w, int h) const {
        return QRect(qRound(x * baseX / 4), qRound(y * baseY / 8), qRound(w * baseX / 4), qRound(h * baseY / 8));
    }
    double baseX, baseY;
};

}  // namespace

CMPanoramaAboutDlg::CMPanoramaAboutDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QString::fromUtf8("Über Panorama"));
    setModal(true);
    const DialogUnits du(font());
    setFixedSize(du(0, 0, 235, 97).size());

    auto text = [&](const char* content, QRect where) {
        auto* label = new QLabel(QString::fromUtf8(content), this);
        label->setTextFormat(Qt::PlainText);
        label->setGeometry(where);
        return label;
    };
    text(kProductName, du(68, 10, 119, 8));
    text(kCopyright, du(68, 20, 119, 8));
    auto* ok = new QPushButton("OK", this);
    ok->setGeometry(du(178, 7, 50, 16));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    text(kCompany, du(68, 40, 119, 8));
    text(kStreet, du(68, 51, 119, 8));
    text(kCity, du(68, 62, 119, 8));
    QLabel* link = text(kWebAddress, du(68, 80, 119, 8));
    link->setObjectName("link");
    auto* icon = new QLabel(this);
    icon->setPixmap(ApplicationIcon().pixmap(32, 32));
    icon->setGeometry(du(9, 9, 20, 20));
    OnInitDialog();
    ok->setFocus();
}

bool CMPanoramaAboutDlg::OnInitDialog() {
    // The label takes the place of the plain text control.
    auto* plain = findChild<QLabel*>("link");
    m_linkLabel = new CMLabel(this);
    m_linkLabel->setText(plain->text());
    m_linkLabel->setGeometry(plain->geometry());
    m_linkLabel->setObjectName("link");
    delete plain;
    m_linkLabel->SetLinkCursor(Qt::PointingHandCursor);
    m_linkLabel->SetTextColor(QColor(0, 0, 255));
    m_linkLabel->SetUnderline(true);
    return true;
}
