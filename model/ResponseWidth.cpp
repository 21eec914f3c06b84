#include "ResponseWidth.h"

#include <iterator>

namespace {

struct Width {
    const char* type;
    const char* response;
    int values;
};

// Responses whose width is not the element's node count times ndf. The beams' end forces are that
// default (2 x ndf), so they need no row.
const Width fixedWidths[] = {
    {"truss", "axialForce", 1},     {"corotTruss", "axialForce", 1}, {"truss", "deformations", 1},
    {"quad", "stresses", 12},       {"stdBrick", "stresses", 48},    {"stdBrick", "strains", 48},
    {"ShellMITC4", "stresses", 32}, {"ShellMITC4", "strains", 32},
};

// A two-node beam-column's basic system has 3 values in 2-D and 6 in 3-D: its ndf.
const char* const basicResponses[] = {"basicForces", "basicForce", "basicDeformation", "plasticDeformation"};

// The element's end forces: node count times ndf values.
const char* const nodalResponses[] = {"forces",       "force",      "globalForce",
                                      "globalForces", "localForce", "localForces"};

bool listed(const QString& response, const char* const* names, std::size_t count)
{
    for (std::size_t i = 0; i < count; ++i)
        if (response == QLatin1String(names[i]))
            return true;
    return false;
}

}  // namespace

int knownElementResponseWidth(const QString& type, int nodeCount, const QString& response, int ndf)
{
    for (const Width& w : fixedWidths)
        if (type == QLatin1String(w.type) && response == QLatin1String(w.response))
            return w.values;
    if (nodeCount == 2 && listed(response, basicResponses, std::size(basicResponses)))
        return ndf;
    if (listed(response, nodalResponses, std::size(nodalResponses)))
        return (type.isEmpty() ? 2 : nodeCount) * ndf;
    return 0;
}

int elementResponseWidth(const QString& type, int nodeCount, const QString& response, int ndf)
{
    const int known = knownElementResponseWidth(type, nodeCount, response, ndf);
    return known > 0 ? known : (type.isEmpty() ? 2 : nodeCount) * ndf;
}
