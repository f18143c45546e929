#pragma once

class QCoreApplication;

// Installs Qt's own Japanese texts (the standard buttons "はい(&Y)" and
// "いいえ(&N)", the file chooser, the text fields' context menus), whatever
// the user's locale, since every other word on screen is Japanese. False,
// leaving Qt's English texts, when the translation is not installed.
bool installQtJapanese(QCoreApplication &app);
