#include <QTextStream>

#include "BatchCommands.h"

int dumpModelMain(const QString& script)
{
    QTextStream(stderr) << "tolvane: --dump-model is not available yet (" << script << ")\n";
    return 2;
}
