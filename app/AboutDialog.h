// The About dialog: the program's version, what it is, and the library versions in use.
#pragma once

#include <QDialog>

class AboutDialog : public QDialog {
    Q_OBJECT
public:
    explicit AboutDialog(QWidget* parent = nullptr);

    // One line per library, e.g. "Qt 5.15.8"; also used by --version.
    static QStringList libraryVersions();
    static QString aboutText();
};
