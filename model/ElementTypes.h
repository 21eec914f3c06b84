#pragma once
// The element type table: for every solver element name the canonical name it is stored under and
// the number of node tags that follow the element tag, or that the name is accepted and ignored.

#include <QString>
#include <QStringList>

struct ElementType {
    QString canonical;  // empty for an ignored or unknown name
    int nodeCount = 0;
};

// The entry for NAME as typed in a script (case-sensitive); an empty canonical name means
// that the element is accepted without being recorded.
ElementType lookupElementType(const QString& name);
// The same for a word as Tcl holds it (UTF-8); no allocation on the way.
const ElementType& lookupElementType(const char* name);

// Every recorded name (aliases included) and every ignored name, for tests and tools.
QStringList recordedElementNames();
QStringList ignoredElementNames();
