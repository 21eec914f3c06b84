#pragma once
// The line-number gutter on the left of a tcleditor; all sizing and painting is the editor's.

#include <QWidget>

class tcleditor;

class linenumberarea : public QWidget {
    Q_OBJECT

public:
    explicit linenumberarea(tcleditor* editor);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    tcleditor* codeEditor;
};
