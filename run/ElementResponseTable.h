// The element response table: for every element type the solver can record, the response names
// its element recorder accepts. Held as one text, a row per line: type name, then responses.
//
//   for (const QString& row : elementResponseTableLines()) { QStringList w = row.split(' '); ... }
//   responsesOf("elasticBeamColumn");  // globalForces localForces basicForces deformations
#pragma once

#include <QStringList>

// The whole table, rows separated by line feeds, ending with one.
const char* elementResponseTable();
// The rows in table order (119), without the final empty line.
QStringList elementResponseTableLines();
// The responses listed for TYPE (exact, case-sensitive), empty when none or not in the table.
QStringList responsesOf(const QString& type);
