#include <QTextStream>

#include "BatchCommands.h"

int renderMain(const RenderOptions& options)
{
    QTextStream(stderr) << "tolvane: --render is not available yet (" << options.script << ")\n";
    return 2;
}
