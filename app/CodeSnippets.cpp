#include "CodeSnippets.h"

#include <QFile>
#include <QFileInfo>
#include <QTextStream>

QByteArray defaultSnippetContent()
{
    static const char* const lines[] = {
        "#>>Rayleigh Damping",
        "set xDamp 0.05;",
        "set nEigenI 1;",
        "set nEigenJ 2;",
        "set lambdaN [eigen [expr $nEigenJ]];",
        "set lambdaI [lindex $lambdaN [expr $nEigenI-1]];",
        "set lambdaJ [lindex $lambdaN [expr $nEigenJ-1]];",
        "set omegaI [expr pow($lambdaI,0.5)];",
        "set omegaJ [expr pow($lambdaJ,0.5)];",
        "set alphaM [expr $xDamp*(2*$omegaI*$omegaJ)/($omegaI+$omegaJ)];",
        "set betaKcurr [expr 2.*$xDamp/($omegaI+$omegaJ)];",
        "rayleigh $alphaM $betaKcurr 0 0;",
    };
    QByteArray content;
    for (const char* line : lines)
        content.append(line).append("\r\n");
    return content;
}

bool ensureSnippetFile(const QString& path)
{
    if (QFileInfo(path).isFile())
        return true;
    QFile file(path);
    // Binary mode keeps the CR LF line ends byte for byte.
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const QByteArray content = defaultSnippetContent();
    return file.write(content) == content.size();
}

Snippets parseSnippets(QTextStream& in)
{
    Snippets result;
    QString body;
    while (!in.atEnd()) {
        const QString line = in.readLine();
        if (line.startsWith(QLatin1String("#>>"))) {
            if (!result.titles.isEmpty())
                result.bodies.append(body);
            result.titles.append(line.mid(3));
            body.clear();
        } else {
            body += line + QLatin1Char('\n');
        }
    }
    if (!result.titles.isEmpty())
        result.bodies.append(body);
    return result;
}

Snippets readSnippetFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    QTextStream in(&file);
    in.setCodec("UTF-8");
    return parseSnippets(in);
}
