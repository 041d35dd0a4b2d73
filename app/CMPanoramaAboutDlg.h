// The About dialog: the icon, the product name, a copyright line, the maker's
// address and web address, the last as a link.
#pragma once

#include <QDialog>

class CMLabel;

class CMPanoramaAboutDlg : public QDialog {
public:
    explicit CMPanoramaAboutDlg(QWidget* parent = nullptr);
    CMLabel* LinkLabel() const { return m_linkLabel; }

private:
    bool OnInitDialog();
    CMLabel* m_linkLabel = nullptr;
};

// The maker's texts.
extern const char* const kProductName;
extern const char* const kCopyright;
extern const char* const kCompany;
extern const char* const kStreet;
extern const char* const kCity;
extern const char* const kWebAddress;
