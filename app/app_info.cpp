#include "app/app_info.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace tallix {

QString ApplicationName() {
    return QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
}

QString ProgramFolder() {
    return QDir::toNativeSeparators(QCoreApplication::applicationDirPath());
}

}  // namespace tallix
