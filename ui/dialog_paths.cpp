#include "ui/dialog_paths.h"

#include <QFileInfo>
#include <algorithm>

namespace tallix {

QString DialogFilter(const QString& filterName, const QString& pattern) {
    return filterName + u'(' + pattern + u')';
}

QString StartingFolder(const QString& initDir) {
    if (initDir.isEmpty()) return QString();
    const QFileInfo info(initDir);
    return info.isDir() ? initDir : info.path();
}

QString NormaliseSavePath(const QString& path, const QString& pattern) {
    const qsizetype nameStart =
        std::max(path.lastIndexOf(u'/'), path.lastIndexOf(u'\\')) + 1;  // 0 when no folder
    const QString result = path.first(nameStart) + path.mid(nameStart).toUpper();
    const qsizetype patternDot = pattern.indexOf(u'.');
    const QString extension = patternDot < 0 ? QString() : pattern.mid(patternDot).toUpper();
    const qsizetype lastDot = result.lastIndexOf(u'.');
    if (lastDot < 0 || result.mid(lastDot) != extension) return result + extension;
    return result;
}

}  // namespace tallix
