#include "DeformationScale.h"

#include <algorithm>

#include "ModelRecord.h"

double modelExtent(const ModelRecord& model)
{
    const QVector<double>* axes[] = {&model.nodeX, &model.nodeY, &model.nodeZ};
    double extent = 0.0;
    for (const QVector<double>* axis : axes) {
        if (axis->isEmpty())
            continue;
        const auto [lo, hi] = std::minmax_element(axis->cbegin(), axis->cend());
        extent = std::max(extent, *hi - *lo);
    }
    return extent;
}

double automaticScale(double extent, double largestDisplacement)
{
    if (extent <= 0.0 || largestDisplacement <= 0.0)
        return 1.0;
    return 0.1 * extent / largestDisplacement;
}
