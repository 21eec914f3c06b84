// Test helper: checks chosen fields of a JSON object and names every one that differs.
#pragma once

#include <QJsonDocument>
#include <QJsonObject>

// The keys of EXPECTED whose values in ACTUAL differ, each with the value found; empty when all agree.
inline QString jsonDifferences(const QJsonObject& actual, const QJsonObject& expected)
{
    QString out;
    for (auto it = expected.begin(); it != expected.end(); ++it)
        if (actual.value(it.key()) != it.value())
            out +=
                it.key() + ": " +
                QJsonDocument(QJsonObject{{"found", actual.value(it.key())}}).toJson(QJsonDocument::Compact);
    return out;
}

// The same with EXPECTED written as JSON text; a text that does not parse is a difference too.
inline QString jsonDifferences(const QJsonObject& actual, const QByteArray& expected)
{
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(expected, &error);
    if (error.error != QJsonParseError::NoError || !doc.isObject())
        return "expected text does not parse: " + error.errorString();
    return jsonDifferences(actual, doc.object());
}
