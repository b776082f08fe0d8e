#include "help/linux/LinuxShell.h"

#include <QFileInfo>
#include <QProcess>

#include <stdexcept>

namespace tessarline {

QString FileSystemName(const std::wstring& text) {
    const QString name = QString::fromStdWString(text);
    // What is not Unicode does not come back unchanged.
    if (text.find(L'\0') != std::wstring::npos || name.toStdWString() != text) {
        throw std::runtime_error("path is not valid text for the file system");
    }
    return name;
}

std::wstring LinuxShell::Dir(const std::wstring& path) {
    QString name;
    try {
        name = FileSystemName(path);
    } catch (const std::runtime_error&) {
        return {};
    }
    const QFileInfo file(name);
    if (name.isEmpty() || !file.isFile() || file.fileName().startsWith(QLatin1Char('.'))) {
        return {};
    }
    return file.fileName().toStdWString();
}

void LinuxShell::StartProcess(const std::wstring& path) {
    const QString program = FileSystemName(path);
    // A bare name would be looked up on PATH, and a relative one in the current directory.
    if (!program.startsWith(QLatin1Char('/'))) {
        throw std::runtime_error("not an absolute path: " + program.toStdString());
    }
    // Qt reports a failed exec, and its detached start reaps the intermediate process itself.
    if (!QProcess::startDetached(program, {})) {
        throw std::runtime_error("cannot start " + program.toStdString());
    }
}

} // namespace tessarline
