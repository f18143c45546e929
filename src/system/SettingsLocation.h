#pragma once

#include <QString>

// What decides where the settings file lives, as the platform finds it.
struct SettingsLocationFacts {
    QString programFolder;       // the folder the program was started from
    QString installedBinFolder;  // the install prefix's bin folder, as built
    bool programFolderWritable = false;
    QString xdgConfigHome;  // $XDG_CONFIG_HOME, empty when unset
    QString home;           // $HOME, empty when unset
};

// The folder that holds kiv.ini. A program run from a folder its user can
// write, other than the installed bin folder, keeps it beside itself (a build
// or a copied, portable folder). An installed program, or one in a folder its
// user cannot write, keeps it in $XDG_CONFIG_HOME/kalvo, by default
// ~/.config/kalvo; root running the installed program so writes nothing into
// the bin folder. Without a usable home the program folder is all there is.
QString settingsFolder(const SettingsLocationFacts &facts);
