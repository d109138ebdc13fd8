#pragma once

#include <QList>

class AppModel;
class Preferences;
class QAction;
class WebDataStore;

// What the pages of the settings window work on.
struct SettingsContext {
    AppModel &model;
    Preferences &preferences;
    // Null where no web engine is at hand (a test without one).
    WebDataStore *webData = nullptr;
    bool hasTray = false;
    // The application-wide commands with their shortcuts (the main menu's).
    QList<QAction *> applicationActions;
};
