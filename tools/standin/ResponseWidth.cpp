#include "ResponseWidth.h"

namespace {

struct Width {
    const char* type;
    const char* response;
    int values;
};

// Responses whose width is not the element's node count times ndf. The beams' forces are that
// default (2 x ndf), so they need no row.
const Width fixedWidths[] = {
    {"truss", "axialForce", 1},   {"corotTruss", "axialForce", 1}, {"quad", "stresses", 12},
    {"stdBrick", "stresses", 48}, {"ShellMITC4", "stresses", 32},
};

}  // namespace

int elementResponseWidth(const QString& type, int nodeCount, const QString& response, int ndf)
{
    for (const Width& w : fixedWidths)
        if (type == QLatin1String(w.type) && response == QLatin1String(w.response))
            return w.values;
    return (type.isEmpty() ? 2 : nodeCount) * ndf;
}
