// Code snippets: pieces of script text kept in a plain file whose title lines
// start with "#>>". The main window lists them in the "Code Snippets" menu.
//
//   ensureSnippetFile(path);
//   const Snippets s = readSnippetFile(path);   // s.titles[i] inserts s.bodies[i]
#pragma once

#include <QByteArray>
#include <QString>
#include <QVector>

class QTextStream;

struct Snippets {
    QVector<QString> titles;
    QVector<QString> bodies;
};

// The built-in Rayleigh damping snippet, with CR LF line ends.
QByteArray defaultSnippetContent();

// Writes the default content when no regular file exists at path.
// Returns false only when the file was missing and could not be created.
bool ensureSnippetFile(const QString& path);

// Titles and bodies in file order; each body line ends with "\n" whatever the
// file's own line ends were.
Snippets parseSnippets(QTextStream& in);
// An unreadable file gives no snippets.
Snippets readSnippetFile(const QString& path);
