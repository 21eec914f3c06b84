// ResultCheck: what is wrong with loaded node result lines, in words an engineer can act on,
// so that Load Result never shows an empty animation without saying why.
//
//   const ResultCheck check = checkNodeLines("NodeDisp.file", lines, modelRecord()->nodeTags.size());
//   if (!check.usable) refuse(check.problem); else if (!check.problem.isEmpty()) warn(check.problem);
#pragma once

#include <QString>
#include <QStringList>

struct ResultCheck {
    bool usable = false;   // at least one step can be drawn
    QString problem;       // empty when every line is as the model needs
    int firstBadLine = 0;  // 1-based, 0 when none
};

// Lines of a node result file must each hold the time and three values per node, all numbers.
ResultCheck checkNodeLines(const QString& fileName, const QStringList& lines, int nodeCount);
