#include "linenumberarea.h"

#include "tcleditor.h"

linenumberarea::linenumberarea(tcleditor* editor) : QWidget(editor), codeEditor(editor) {}

QSize linenumberarea::sizeHint() const
{
    return QSize(codeEditor->lineNumberAreaWidth(), 0);
}

void linenumberarea::paintEvent(QPaintEvent* event)
{
    codeEditor->lineNumberAreaPaintEvent(event);
}
