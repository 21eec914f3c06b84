// Small solver scripts for the --render tests.
#pragma once

#include <QFile>
#include <QString>

namespace rendertest {

// A portal frame in the XZ plane: two columns and a beam, fixed feet.
inline const char* portalScript()
{
    return "model basic -ndm 3 -ndf 6\n"
           "node 1 0 0 0\nnode 2 4 0 0\nnode 3 0 0 3\nnode 4 4 0 3\n"
           "fix 1 1 1 1 1 1 1\nfix 2 1 1 1 1 1 1\n"
           "geomTransf Linear 1 0 1 0\n"
           "element elasticBeamColumn 1 1 3 0.01 2e8 8e7 1e-4 1e-4 1e-4 1\n"
           "element elasticBeamColumn 2 3 4 0.01 2e8 8e7 1e-4 1e-4 1e-4 1\n"
           "element elasticBeamColumn 3 2 4 0.01 2e8 8e7 1e-4 1e-4 1e-4 1\n";
}

inline bool writeFile(const QString& path, const QByteArray& text)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(text) == text.size();
}

}  // namespace rendertest
