// The main window's inspection commands: a click in the 3-D view names the node or element under
// the pointer and where the script made it, a double click opens that line, and an editor's
// "Show in Model" outlines what its line made. The texts and look-ups are ModelInspection's.
#include "Tolvane.h"

#include <QVTKOpenGLNativeWidget.h>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QShortcut>
#include <QStatusBar>

#include "ModelInspection.h"
#include "ModelRecord.h"
#include "customMouseInteractorStyle.h"
#include "tcleditor.h"
#include "vtkdraw.h"
#include "zor_monitor_nodedisp_panel.h"

void Tolvane::setUpInspection()
{
    scene->setIsometricFirst3DView(true);
    scene->style()->onClick = [this](int x, int y, bool doubleClick) { pickInView(x, y, doubleClick); };
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), ui->qvtkwidget);
    escape->setContext(Qt::WidgetWithChildrenShortcut);
    connect(escape, &QShortcut::activated, this, &Tolvane::clearInspection);
}

void Tolvane::pickInView(int x, int y, bool doubleClick)
{
    const PickedItem item = scene->pick(x, y);
    scene->highlight(item);
    scene->render();
    const ModelRecord& model = *modelRecord();
    if (!item.found()) {
        ui->statusBar->clearMessage();
        return;
    }
    const bool node = item.kind == PickedItem::Node;
    // An open node choice takes the picked node.
    if (node && nodeChooser)
        nodeChooser->setNodeTag(model.nodeTags.value(item.entry));
    // Shown until the next pick.
    ui->statusBar->showMessage(node ? nodeStatusText(model, item.entry)
                                    : elementStatusText(model, item.entry));
    if (!doubleClick)
        return;
    const SourcePlace at = sourceOf(model, node ? ItemKind::Node : ItemKind::Element, item.entry);
    if (!at.file.isEmpty())
        showSourceLine(at.file, at.line);
}

// The editor of PATH in front, opened when it is not open yet (without reading the script:
// the model on display stays the one of the script that was read), its cursor on LINE.
tcleditor* Tolvane::showSourceLine(const QString& path, int line)
{
    QMdiSubWindow* sub = findMdiChild(path);
    if (!sub) {
        tcleditor* child = createMdiChild();
        if (!child->loadFile(path)) {
            child->parentWidget()->close();
            ui->statusBar->showMessage(QStringLiteral("Cannot read %1").arg(path), 5000);
            return nullptr;
        }
        child->showMaximized();
        sub = qobject_cast<QMdiSubWindow*>(child->parentWidget());
    }
    ui->mdiArea->setActiveSubWindow(sub);
    auto* editor = qobject_cast<tcleditor*>(sub->widget());
    editor->goToLine(line);
    return editor;
}

void Tolvane::showLineInModel(int line)
{
    auto* editor = qobject_cast<tcleditor*>(sender());
    LineItems made;
    if (editor && !editor->isUntitledFile())
        made = itemsMadeByLine(*modelRecord(), editor->currentFile(), line);
    if (made.count() > 0)
        scene->highlight(made);
    else
        scene->clearHighlight();
    scene->render();
    ui->statusBar->showMessage(lineItemsText(made));
}

void Tolvane::clearInspection()
{
    scene->clearHighlight();
    scene->render();
    ui->statusBar->clearMessage();
}
