// Where the settings file lives and how its keys are read. Every reader opens the
// file at the moment of use, so a change made by the options dialog shows at once.
//
//   QColor c = SettingsStore::color(SettingsStore::settingsFilePath(), "MODELCOLOR/Frames");
//   double opacity = SettingsStore::opacity(path, "MODELTRANSPARENCY/Frames");
#pragma once

#include <QColor>
#include <QString>
#include <QStringList>
#include <QVariant>

namespace SettingsStore {

// "config.ini" in the application directory, or in the per-user configuration directory when
// Tolvane is installed (its shared data lie beside the binary's folder, as in /usr/share/tolvane)
// or the application directory cannot be written.
QString settingsFilePath();
// The user's "codeSnippet.txt", found the same way as the settings file.
QString snippetFilePath();
// The folder both files live in (created when missing).
QString configDirectory();
// The installed shared data ("share/tolvane" beside the binary's "bin"); empty when not installed.
QString sharedDataDirectory();
// The snippets to read: the user's file when there is one, else the installed shared one, else
// the user's path (which the caller may create).
QString snippetFileToRead();

// Keys in the order they are written, group by group.
extern const QStringList modelColorKeys;         // Points ... RigidLink (11)
extern const QStringList modelTransparencyKeys;  // Points ... RigidLink (9)
extern const QStringList sizeKeys;               // PointSize, LineWidth, LabelSize
extern const QStringList labelColorKeys;         // Points, Restraints, Elements

// The solver path used when the settings file is first written.
QString defaultSolverPath();

// The default of KEY, a combined path such as "MODELCOLOR/Frames": a QColor, an int, a bool or the
// solver path; an invalid QVariant for a key that does not exist.
QVariant defaultValue(const QString& key);

// Writes every key with its default, in group order. Returns false when the file
// could not be written.
bool writeDefaults(const QString& path);

// Readers. A key that is missing, or whose value cannot be what the key holds (a colour that is
// not one, a transparency step outside 0 to 10, a size below 1, an empty solver path), reads as
// its default: a partial or hand-edited file still draws the model as the defaults would.
QColor color(const QString& path, const QString& key);
int integer(const QString& path, const QString& key);
// A transparency step divided by 10: the opacity the scene uses.
double opacity(const QString& path, const QString& key);
QString solverPath(const QString& path);
// Whether opening a script evaluates it with the whole of Tcl instead of safely; false when missing.
bool trustScripts(const QString& path);

}  // namespace SettingsStore
