#include "CodeSnippets.h"

#include <QFile>
#include <QFileInfo>
#include <QTextStream>

QByteArray defaultSnippetContent()
{
    // The same file is installed as the shared snippets; the user's copy keeps Windows line ends.
    QFile builtIn(QStringLiteral(":/Tolvane/codeSnippet.txt"));
    if (!builtIn.open(QIODevice::ReadOnly))
        return QByteArray();
    return builtIn.readAll().replace("\r\n", "\n").replace("\n", "\r\n");
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
