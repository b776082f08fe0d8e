// The one stand-in for each interface the core talks to, shared by every test program.
#pragma once

#include "board/core/Form1.h"
#include "help/core/frmAbout.h"

#include <cstring>
#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace tessarline::testing {

// Counts what the board asks of its window and keeps the accounts it was given.
struct FakeBoardWindow : BoardWindow {
    void Show() override { ++shows; }
    void Changed(const BoardNews& n) override {
        ++changes;
        news.push_back(n);
    }
    void Beep() override { ++beeps; }
    void ShowHelp() override { ++helps; }
    int shows = 0, changes = 0, beeps = 0, helps = 0;
    std::vector<BoardNews> news;
};

// Keys below HKEY_LOCAL_MACHINE by path, holding values by name; records every call.
struct FakeRegistry : Registry {
    struct Value {
        std::uint32_t type;
        std::string data;
    };
    RegStatus RegOpenKeyExA(RegKey root, const std::string& subKey, std::uint32_t options,
                            std::uint32_t sam, RegKey* result) override {
        opens.push_back(subKey);
        if (root != kHKeyLocalMachine || options != 0 || sam != kKeyAccessMask ||
            !keys.contains(subKey)) {
            return kErrorFileNotFound;
        }
        *result = ++lastHandle;
        open[*result] = subKey;
        return kErrorSuccess;
    }
    RegStatus RegQueryValueExA(RegKey key, const std::string& name, std::uint32_t* type,
                               std::uint8_t* data, std::uint32_t* size) override {
        if (!open.contains(key) || *size != 1024) {
            return kErrorInvalidHandle;
        }
        queries.push_back(name);
        const auto& values = keys[open[key]];
        const auto it = values.find(name);
        if (it == values.end()) {
            return kErrorFileNotFound;
        }
        *type = it->second.type;
        const auto n = static_cast<std::uint32_t>(it->second.data.size());
        if (n > *size) {
            *size = n;
            return overstate ? kErrorSuccess : kErrorMoreData;
        }
        std::memcpy(data, it->second.data.data(), n);
        *size = n;
        return kErrorSuccess;
    }
    RegStatus RegCloseKey(RegKey key) override {
        closes.push_back(key);
        return open.erase(key) == 1 ? kErrorSuccess : kErrorInvalidHandle;
    }
    void Set(const std::string& key, const std::string& name, std::uint32_t type,
             std::string data) {
        keys[key][name] = {type, std::move(data)};
    }

    std::map<std::string, std::map<std::string, Value>> keys;
    bool overstate = false; // reports success with a size beyond the buffer
    RegKey lastHandle = 100;
    std::map<RegKey, std::string> open;
    std::vector<std::string> opens, queries;
    std::vector<RegKey> closes;
};

// Files that exist, and the programs started.
struct FakeShell : SystemShell {
    std::wstring Dir(const std::wstring& path) override {
        dirs.push_back(path);
        if (failDir) {
            throw std::runtime_error("drive not ready");
        }
        return files.contains(path) ? path.substr(path.find_last_of(L'\\') + 1) : L"";
    }
    void StartProcess(const std::wstring& path) override {
        if (failStart) {
            throw std::runtime_error("cannot start");
        }
        started.push_back(path);
    }
    std::set<std::wstring> files;
    bool failDir = false, failStart = false;
    std::vector<std::wstring> dirs, started;
};

struct FakeAboutWindow : AboutWindow {
    void SetCaption(const std::wstring& text) override { caption = text; }
    void SetTitleLabel(const std::wstring& text) override { title = text; }
    void Unload() override { ++unloads; }
    void ShowMessage(const std::wstring& text, const std::wstring& heading) override {
        messages.emplace_back(text, heading);
    }
    std::wstring caption, title;
    int unloads = 0;
    std::vector<std::pair<std::wstring, std::wstring>> messages;
};

} // namespace tessarline::testing
