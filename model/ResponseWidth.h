// How many values an element writes per element and step for a response, as the solver does for
// the responses Tolvane asks for: the stand-in's recorders and the interpreter's eleResponse
// answers are as long as the solver's.
//
//   const int w = elementResponseWidth("quad", 4, "stresses", 2);  // 12
#pragma once

#include <QString>

// TYPE is the canonical element name (empty for a tag the model does not have, which counts as
// two nodes); RESPONSE is the first response word of the recorder or query. Responses not known
// here count as node count times ndf.
int elementResponseWidth(const QString& type, int nodeCount, const QString& response, int ndf);

// The same, but 0 for a response not known here.
int knownElementResponseWidth(const QString& type, int nodeCount, const QString& response, int ndf);
