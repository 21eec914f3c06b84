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

QString configDirectory()
{
    const QString appDir = QCoreApplication::applicationDirPath();
    if (directoryWritable(appDir))
        return appDir;
    // An installed binary's folder is often read-only: fall back to the user's folder.
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

bool writeDefaults(const QString& path)
{
    QSettings s(path, QSettings::IniFormat);
    s.beginGroup(QStringLiteral("EXEPATH"));
    s.setValue(QStringLiteral("OSPath"), defaultSolverPath());
    s.endGroup();
    s.beginGroup(QStringLiteral("MODELCOLOR"));
    for (int i = 0; i < modelColorKeys.size(); ++i)
        s.setValue(modelColorKeys[i], defaultModelColors()[i]);
    s.endGroup();
    s.beginGroup(QStringLiteral("MODELTRANSPARENCY"));
    for (const QString& key : modelTransparencyKeys)
        s.setValue(key, 5);
    s.endGroup();
    s.beginGroup(QStringLiteral("SIZEANDWIDTH"));
    s.setValue(QStringLiteral("PointSize"), 5);
    s.setValue(QStringLiteral("LineWidth"), 5);
    s.setValue(QStringLiteral("LabelSize"), 20);
    s.endGroup();
    s.beginGroup(QStringLiteral("LABELCOLOR"));
    for (int i = 0; i < labelColorKeys.size(); ++i)
        s.setValue(labelColorKeys[i], defaultLabelColors()[i]);
    s.endGroup();
    s.sync();
    return s.status() == QSettings::NoError;
}

QColor color(const QString& path, const QString& key)
{
    return QSettings(path, QSettings::IniFormat).value(key).value<QColor>();
}

int integer(const QString& path, const QString& key)
{
    return QSettings(path, QSettings::IniFormat).value(key).toInt();
}

double opacity(const QString& path, const QString& key)
{
    return QSettings(path, QSettings::IniFormat).value(key).toDouble() / 10.0;
}

QString solverPath(const QString& path)
{
    return QSettings(path, QSettings::IniFormat).value(QStringLiteral("EXEPATH/OSPath")).toString();
}

}  // namespace SettingsStore
