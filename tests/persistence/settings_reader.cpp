// Prints what a settings file holds, one key's value a line, "<absent>" for a key it lacks:
// the second process of the settings tests, which read back what the first one stored.
// Usage: settings_reader INI_FILE KEY...

#include <cstdio>

#include <QString>

#include "persistence/qt/qt_settings_store.h"

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fputs("usage: settings_reader INI_FILE KEY...\n", stderr);
        return 2;
    }
    const tallix::QtSettingsStore store =
        tallix::QtSettingsStore::InIniFile(QString::fromLocal8Bit(argv[1]));
    for (int i = 2; i < argc; ++i) {
        std::printf("%s\n", store.LoadSetting(argv[i]).value_or("<absent>").c_str());
    }
    return 0;
}
