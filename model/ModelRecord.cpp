#include "ModelRecord.h"

QVector<int>& ModelRecord::elementNodes(int k)
{
    QVector<int>* lists[] = {&elementNodes1, &elementNodes2, &elementNodes3, &elementNodes4,
                             &elementNodes5, &elementNodes6, &elementNodes7, &elementNodes8};
    return *lists[k - 1];
}

const QVector<int>& ModelRecord::elementNodes(int k) const
{
    return const_cast<ModelRecord*>(this)->elementNodes(k);
}

bool ModelRecord::isEmpty() const
{
    return nodeTags.isEmpty() && elementTypes.isEmpty() && fixNodeTags.isEmpty() &&
           equalDofRetainedNodes.isEmpty() && rigidLinkRetainedNodes.isEmpty();
}

QVector<int>& ModelRecord::fixDofs(int k)
{
    QVector<int>* lists[] = {&fixDofs1, &fixDofs2, &fixDofs3, &fixDofs4, &fixDofs5, &fixDofs6};
    return *lists[k - 1];
}

const QVector<int>& ModelRecord::fixDofs(int k) const
{
    return const_cast<ModelRecord*>(this)->fixDofs(k);
}

QVector<double>& ModelRecord::nodalLoadValues(int k)
{
    QVector<double>* lists[] = {&nodalLoadValues1, &nodalLoadValues2, &nodalLoadValues3,
                                &nodalLoadValues4, &nodalLoadValues5, &nodalLoadValues6};
    return *lists[k - 1];
}

const QVector<double>& ModelRecord::nodalLoadValues(int k) const
{
    return const_cast<ModelRecord*>(this)->nodalLoadValues(k);
}

ModelRecord* modelRecord()
{
    static ModelRecord* record = [] {
        auto* r = new ModelRecord;
        r->statusMessage = QStringLiteral("Everything's Okay!");
        return r;
    }();
    return record;
}

void resetModelRecord()
{
    *modelRecord() = ModelRecord();
}
