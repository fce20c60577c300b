// Prints what a settings file holds, one key's value a line, "<absent>" for a key it lacks:
// the second process of the settings tests, which read back what the first one stored.
// Usage: settings_reader INI_FILE KEY...

#include <cstdio>

#include "persistence/settings_store.h"

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fputs("usage: settings_reader INI_FILE KEY...\n", stderr);
        return 2;
    }
    const tallix::SettingsStore store =
        tallix::SettingsStore::InIniFile(QString::fromLocal8Bit(argv[1]));
    for (int i = 2; i < argc; ++i) {
        const QString value =
            store.LoadSetting(QString::fromUtf8(argv[i]), QStringLiteral("<absent>"));
        std::printf("%s\n", value.toUtf8().constData());
    }
    return 0;
}
