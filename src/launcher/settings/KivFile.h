#pragma once

#include <QString>

// The settings file kiv.ini in the folder that holds it (settingsFolder()),
// and its one section, "KIV".

QString kivFilePath(const QString &settingsFolder);

inline const QString kKivSection = QStringLiteral("KIV");
