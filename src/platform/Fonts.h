#pragma once

#include <QFont>
#include <QString>

// The Japanese Gothic face of both windows. Asked for by its Windows name, which
// registerFontSubstitutes maps to the Gothic faces Linux systems carry, so
// Japanese text never shows as boxes.
inline const QString kGothicFontFamily = QStringLiteral("ＭＳ ゴシック");

void registerFontSubstitutes();

QFont gothicFont(qreal pointSize, bool bold = false, bool italic = false);
