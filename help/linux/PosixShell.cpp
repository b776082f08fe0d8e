#include "help/linux/PosixShell.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace tessarline {

namespace {

class Pipe {
public:
    Pipe() {
        if (::pipe2(fds_, O_CLOEXEC) != 0) {
            throw std::runtime_error(std::string("pipe: ") + std::strerror(errno));
        }
    }
    Pipe(const Pipe&) = delete;
    Pipe& operator=(const Pipe&) = delete;
    ~Pipe() {
        CloseRead();
        CloseWrite();
    }
    int Read() const { return fds_[0]; }
    int Write() const { return fds_[1]; }
    void CloseRead() { Close(fds_[0]); }
    void CloseWrite() { Close(fds_[1]); }

private:
    static void Close(int& fd) {
        if (fd >= 0) {
            ::close(fd);
            fd = -1;
        }
    }
    int fds_[2] = {-1, -1};
};

// In a forked child only async-signal-safe calls are allowed: report errno and leave.
[[noreturn]] void ReportAndExit(int fd, int error) {
    ssize_t written;
    do {
        written = ::write(fd, &error, sizeof error);
    } while (written < 0 && errno == EINTR);
    ::_exit(127);
}

} // namespace

std::string ToFileSystemBytes(const std::wstring& text) {
    std::string out;
    out.reserve(text.size());
    for (wchar_t wc : text) {
        const auto c = static_cast<std::uint32_t>(wc);
        if (c == 0 || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
            throw std::runtime_error("path is not valid text for the file system");
        }
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
        } else if (c < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (c >> 6)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else if (c < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (c >> 12)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (c >> 18)));
            out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
    }
    return out;
}

std::wstring PosixShell::Dir(const std::wstring& path) {
    std::string bytes;
    try {
        bytes = ToFileSystemBytes(path);
    } catch (const std::runtime_error&) {
        return {};
    }
    struct stat st {};
    if (bytes.empty() || ::stat(bytes.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) {
        return {};
    }
    const std::size_t slash = path.rfind(L'/');
    std::wstring name = slash == std::wstring::npos ? path : path.substr(slash + 1);
    if (name.empty() || name.front() == L'.') {
        return {};
    }
    return name;
}

void PosixShell::StartProcess(const std::wstring& path) {
    const std::string program = ToFileSystemBytes(path);
    if (program.empty()) {
        throw std::runtime_error("no program to start");
    }
    // The pipe closes on a successful exec; an errno arrives on it when the start fails.
    Pipe pipe;
    const pid_t child = ::fork();
    if (child < 0) {
        throw std::runtime_error(std::string("fork: ") + std::strerror(errno));
    }
    if (child == 0) {
        // The intermediate child: a new session, so the tool outlives this program's terminal
        // and process group, then a second fork so that init, not this program, reaps it.
        ::setsid();
        const pid_t grandchild = ::fork();
        if (grandchild < 0) {
            ReportAndExit(pipe.Write(), errno);
        }
        if (grandchild > 0) {
            ::_exit(0);
        }
        sigset_t none;
        ::sigemptyset(&none);
        ::sigprocmask(SIG_SETMASK, &none, nullptr);
        // None of this program's descriptors belongs to the tool.
        ::close_range(3U, ~0U, CLOSE_RANGE_CLOEXEC);
        char* const argv[] = {const_cast<char*>(program.c_str()), nullptr};
        ::execv(program.c_str(), argv);
        ReportAndExit(pipe.Write(), errno);
    }
    pipe.CloseWrite();
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    int error = 0;
    ssize_t got;
    do {
        got = ::read(pipe.Read(), &error, sizeof error);
    } while (got < 0 && errno == EINTR);
    if (got > 0) {
        throw std::runtime_error("cannot start " + program + ": " + std::strerror(error));
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        throw std::runtime_error("cannot start " + program);
    }
}

} // namespace tessarline
