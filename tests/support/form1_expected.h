#pragma once

// What Form1 shows and does on every back end, from form1_expected.json
// (VORLITH_FORM1_EXPECTED is its path), which the web page's tests read too.

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>

namespace vorlith::testing {

inline const QJsonObject& form1_expected() {
    static const QJsonObject expected = [] {
        QFile file(QStringLiteral(VORLITH_FORM1_EXPECTED));
        if (!file.open(QIODevice::ReadOnly)) qFatal("cannot read %s", VORLITH_FORM1_EXPECTED);
        return QJsonDocument::fromJson(file.readAll()).object();
    }();
    return expected;
}

inline QStringList expected_strings(const char* key) {
    QStringList strings;
    for (const QJsonValue& value : form1_expected()[QLatin1String(key)].toArray()) {
        strings << value.toString();
    }
    return strings;
}

}  // namespace vorlith::testing
