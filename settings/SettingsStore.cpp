#include "SettingsStore.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace SettingsStore {

const QStringList modelColorKeys = {"Points",    "Restraints", "Frames",  "AreaFace", "AreaEdge", "SolidFace",
                                    "SolidEdge", "Background", "Scalars", "EqualDOF", "RigidLink"};
const QStringList modelTransparencyKeys = {"Points",    "Restraints", "Frames",   "AreaFace", "AreaEdge",
                                           "SolidFace", "SolidEdge",  "EqualDOF", "RigidLink"};
const QStringList sizeKeys = {"PointSize", "LineWidth", "LabelSize"};
const QStringList labelColorKeys = {"Points", "Restraints", "Elements"};

namespace {

bool directoryWritable(const QString& dir)
{
    const QFileInfo info(dir);
    return info.isDir() && info.isWritable();
}

const QVector<QColor>& defaultModelColors()
{
    static const QVector<QColor> colors = {
        QColor(128, 128, 128), QColor(0, 255, 0),     QColor(0, 0, 255), QColor(255, 128, 255),
        QColor(128, 0, 0),     QColor(255, 128, 255), QColor(128, 0, 0), QColor(255, 255, 255),
        QColor(0, 0, 0),       QColor(87, 171, 193),  QColor(234, 32, 0)};
    return colors;
}

const QVector<QColor>& defaultLabelColors()
{
    static const QVector<QColor> colors = {QColor(128, 128, 128), QColor(0, 255, 0), QColor(0, 0, 255)};
    return colors;
}

QString findOnPath(const QString& name)
{
    return QStandardPaths::findExecutable(name);
}

}  // namespace

QString sharedDataDirectory()
{
    const QDir shared(QCoreApplication::applicationDirPath() + QStringLiteral("/../share/tolvane"));
    return shared.exists() ? shared.canonicalPath() : QString();
}

QString configDirectory()
{
    const QString appDir = QCoreApplication::applicationDirPath();
    // An installed program never keeps settings beside its binary, not even when run as root.
    if (sharedDataDirectory().isEmpty() && directoryWritable(appDir))
        return appDir;
    const QString userDir = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    QDir().mkpath(userDir);
    return userDir;
}

QString settingsFilePath()
{
    return configDirectory() + QStringLiteral("/config.ini");
}

QString snippetFilePath()
{
    return configDirectory() + QStringLiteral("/codeSnippet.txt");
}

QString snippetFileToRead()
{
    const QString user = snippetFilePath();
    const QString shared = sharedDataDirectory() + QStringLiteral("/codeSnippet.txt");
    if (QFileInfo(user).isFile() || sharedDataDirectory().isEmpty() || !QFileInfo(shared).isFile())
        return user;
    return shared;
}

QString defaultSolverPath()
{
#ifdef Q_OS_WIN
    return QStringLiteral("D:/Program Files/OpenSees/OpenSees.exe");
#else
    const QString onPath = findOnPath(QStringLiteral("OpenSees"));
    if (!onPath.isEmpty())
        return onPath;
    return QCoreApplication::applicationDirPath() + QStringLiteral("/tolvane-standin");
#endif
}

QVariant defaultValue(const QString& key)
{
    const QString group = key.section(QLatin1Char('/'), 0, 0);
    const QString name = key.section(QLatin1Char('/'), 1);
    if (group == QLatin1String("EXEPATH") && name == QLatin1String("OSPath"))
        return defaultSolverPath();
    if (group == QLatin1String("EXEPATH") && name == QLatin1String("TrustScripts"))
        return false;
    if (group == QLatin1String("MODELCOLOR") && modelColorKeys.contains(name))
        return defaultModelColors()[modelColorKeys.indexOf(name)];
    if (group == QLatin1String("MODELTRANSPARENCY") && modelTransparencyKeys.contains(name))
        return 5;
    if (group == QLatin1String("SIZEANDWIDTH") && sizeKeys.contains(name))
        return name == QLatin1String("LabelSize") ? 20 : 5;
    if (group == QLatin1String("LABELCOLOR") && labelColorKeys.contains(name))
        return defaultLabelColors()[labelColorKeys.indexOf(name)];
    return QVariant();
}

bool writeDefaults(const QString& path)
{
    QSettings s(path, QSettings::IniFormat);
    const QPair<QString, QStringList> groups[] = {
        {QStringLiteral("EXEPATH"), {QStringLiteral("OSPath"), QStringLiteral("TrustScripts")}},
        {QStringLiteral("MODELCOLOR"), modelColorKeys},
        {QStringLiteral("MODELTRANSPARENCY"), modelTransparencyKeys},
        {QStringLiteral("SIZEANDWIDTH"), sizeKeys},
        {QStringLiteral("LABELCOLOR"), labelColorKeys}};
    for (const auto& group : groups) {
        s.beginGroup(group.first);
        for (const QString& key : group.second)
            s.setValue(key, defaultValue(group.first + QLatin1Char('/') + key));
        s.endGroup();
    }
    s.sync();
    return s.status() == QSettings::NoError;
}

QColor color(const QString& path, const QString& key)
{
    // A colour written by hand as text ("#ff8000", "red") is read as that colour.
    const QColor stored = QSettings(path, QSettings::IniFormat).value(key).value<QColor>();
    return stored.isValid() ? stored : defaultValue(key).value<QColor>();
}

int integer(const QString& path, const QString& key)
{
    bool ok = false;
    const int stored = QSettings(path, QSettings::IniFormat).value(key).toInt(&ok);
    const bool transparency = key.startsWith(QLatin1String("MODELTRANSPARENCY/"));
    const bool inRange = transparency ? stored >= 0 && stored <= 10 : stored >= 1;
    return ok && inRange ? stored : defaultValue(key).toInt();
}

double opacity(const QString& path, const QString& key)
{
    return integer(path, key) / 10.0;
}

QString solverPath(const QString& path)
{
    const QString key = QStringLiteral("EXEPATH/OSPath");
    const QString stored = QSettings(path, QSettings::IniFormat).value(key).toString();
    return stored.isEmpty() ? defaultValue(key).toString() : stored;
}

bool trustScripts(const QString& path)
{
    // Only a plain yes lets scripts out of the safe interpreter; anything unreadable is a no.
    const QString stored = QSettings(path, QSettings::IniFormat).value(QStringLiteral("EXEPATH/TrustScripts")).toString();
    return stored == QLatin1String("true") || stored == QLatin1String("1");
}

}  // namespace SettingsStore
