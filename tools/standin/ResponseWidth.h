// How many values an element recorder writes per element and step, as the solver does for the
// responses Tolvane asks for.
//
//   const int w = elementResponseWidth("quad", 4, "stresses", 2);  // 12
#pragma once

#include <QString>

// TYPE is the canonical element name (empty for a tag the model does not have, which counts as
// two nodes); RESPONSE is the first response word of the recorder.
int elementResponseWidth(const QString& type, int nodeCount, const QString& response, int ndf);
