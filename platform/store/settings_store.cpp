#include "platform/store/settings_store.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>

#include "platform/store/atomic_file.h"
#include "platform/text/ascii_case.h"

namespace platform::store {
namespace {

constexpr std::string_view kHeader = "# Settings of ";

struct Section {
    std::string name;
    std::vector<std::pair<std::string, std::string>> values;
};
using Settings = std::vector<Section>;

// --- escaping -------------------------------------------------------------

bool MustEscape(std::string_view text, size_t i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c < 0x20 || c == 0x7F || c == '%' || c == '=' || c == '[' || c == ']') return true;
    if (c == ' ' && (i == 0 || i + 1 == text.size())) return true;
    return i == 0 && (c == '#' || c == ';');
}

std::string Escape(std::string_view text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (MustEscape(text, i)) {
            const auto c = static_cast<unsigned char>(text[i]);
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 15];
        } else {
            out += text[i];
        }
    }
    return out;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

std::optional<std::string> Unescape(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x20 || c == 0x7F) return std::nullopt;  // never written raw
        if (c != '%') {
            out += text[i];
            continue;
        }
        const int hi = i + 1 < text.size() ? HexDigit(text[i + 1]) : -1;
        const int lo = i + 2 < text.size() ? HexDigit(text[i + 2]) : -1;
        if (hi < 0 || lo < 0) return std::nullopt;
        out += static_cast<char>(hi * 16 + lo);
        i += 2;
    }
    return out;
}

// --- file format ----------------------------------------------------------

std::optional<Settings> Parse(std::string_view text) {
    Settings settings;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        if (line.ends_with('\r')) line.remove_suffix(1);
        if (line.empty() || line.front() == '#') continue;
        if (line.front() == '[') {
            if (!line.ends_with(']')) return std::nullopt;
            auto name = Unescape(line.substr(1, line.size() - 2));
            if (!name) return std::nullopt;
            settings.push_back({std::move(*name), {}});
            continue;
        }
        const size_t eq = line.find('=');
        if (eq == std::string_view::npos || settings.empty()) return std::nullopt;
        auto key = Unescape(line.substr(0, eq));
        auto value = Unescape(line.substr(eq + 1));
        if (!key || !value) return std::nullopt;
        settings.back().values.emplace_back(std::move(*key), std::move(*value));
    }
    return settings;
}

std::string Serialize(std::string_view appKey, const Settings& settings) {
    std::string out(kHeader);
    out += appKey;
    out += '\n';
    for (const Section& section : settings) {
        if (section.values.empty()) continue;
        out += '[' + Escape(section.name) + "]\n";
        for (const auto& [key, value] : section.values) out += Escape(key) + '=' + Escape(value) + '\n';
    }
    return out;
}

template <typename SettingsT>  // Settings or const Settings
auto FindSection(SettingsT& settings, std::string_view name) -> decltype(&settings.front()) {
    for (auto& s : settings)
        if (text::EqualsNoCase(s.name, name)) return &s;
    return nullptr;
}

void Put(Settings& settings, std::string_view section, std::string_view key, std::string_view value) {
    Section* s = FindSection(settings, section);
    if (!s) s = &settings.emplace_back(Section{std::string(section), {}});
    for (auto& [k, v] : s->values) {
        if (text::EqualsNoCase(k, key)) {
            v = value;
            return;
        }
    }
    s->values.emplace_back(std::string(key), std::string(value));
}

// --- loading with a cache and the damaged-file rule -----------------------

// Readers ask for one value at a time: they share the parsed file while its
// identity on disk stays the same, rather than copying it per value.
using SharedSettings = std::shared_ptr<const Settings>;
struct Cached {
    FileIdentity identity;
    SharedSettings settings;
};
std::mutex gMutex;
std::vector<std::pair<std::string, Cached>> gCache;

// Moves a damaged file aside under a name that no other file has; link()
// never replaces an existing name, so nothing is lost even in a race. Through
// a symbolic link the link's target is moved, so the link stays and the next
// write creates its target afresh. An error says why no copy could be made:
// the file must then stay as it is.
std::error_code SetAside(const std::filesystem::path& path) {
    std::error_code ec;
    const std::filesystem::path file = FinalTarget(path, ec);
    if (ec) return ec;
    if ((ec = InjectedFault(WriteStep::KeepAside))) return ec;
    char stamp[32];
    const std::time_t now = std::time(nullptr);
    std::tm tm{};
    ::localtime_r(&now, &tm);
    std::strftime(stamp, sizeof stamp, "%Y%m%dT%H%M%S", &tm);
    const std::string base = file.string() + ".damaged-" + stamp;
    for (int n = 0; n < 1000; ++n) {
        const std::string target = n == 0 ? base : base + "-" + std::to_string(n);
        if (::link(file.c_str(), target.c_str()) == 0) {
            ::unlink(file.c_str());
            return {};
        }
        if (errno != EEXIST) return {errno, std::generic_category()};
    }
    return std::make_error_code(std::errc::file_exists);
}

SharedSettings NoSettings() { return std::make_shared<const Settings>(); }

// The current settings; an unreadable file (other than a missing one) is an
// error (null) so that a write never replaces values it could not see. A
// file over the size limit counts as damaged: nothing of it is read.
SharedSettings Load(const std::filesystem::path& file, std::error_code& ec, bool locked) {
    const auto identity = IdentityOf(file, ec);
    if (!identity) {
        if (ec) return nullptr;
        return NoSettings();
    }
    const std::string key = file.string();
    {
        const std::lock_guard lock(gMutex);
        for (const auto& [path, c] : gCache)
            if (path == key && c.identity == *identity) return c.settings;
    }
    auto version = ReadFileVersion(file, ec);
    if (!version && ec == std::errc::no_such_file_or_directory) {
        ec.clear();
        return NoSettings();
    }
    if (!version && ec != FileError::TooLarge) return nullptr;
    auto parsed = version ? Parse(version->content) : std::nullopt;
    if (!parsed) {
        if (!locked) {
            // Re-check under the lock: a writer may just have replaced the file.
            const FileLock lock(file);
            if (lock.error()) return NoSettings();
            return Load(file, ec, true);
        }
        // Reading then gives the defaults; a write must not replace the only copy.
        if ((ec = SetAside(file))) return nullptr;
        return NoSettings();
    }
    auto shared = std::make_shared<const Settings>(std::move(*parsed));
    const std::lock_guard lock(gMutex);
    std::erase_if(gCache, [&](const auto& entry) { return entry.first == key; });
    gCache.emplace_back(key, Cached{version->identity, shared});
    return shared;
}

std::error_code Modify(std::string_view appKey, const std::function<void(Settings&)>& change) {
    const std::filesystem::path file = SettingsFilePath(appKey);
    if (auto ec = CreateFolders(file.parent_path())) return ec;
    const FileLock lock(file);
    if (lock.error()) return lock.error();
    std::error_code ec;
    const SharedSettings loaded = Load(file, ec, true);
    if (!loaded) return ec;
    Settings settings = *loaded;
    change(settings);
    return WriteFileAtomically(file, Serialize(appKey, settings), 0600);
}

}  // namespace

std::filesystem::path SettingsFilePath(std::string_view appKey) {
    std::filesystem::path base;
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg == '/') {
        base = xdg;
    } else {
        const char* home = std::getenv("HOME");
        base = std::filesystem::path(home && *home ? home : "/") / ".config";
    }
    // Each "\"-separated part of the key is one folder; "." and ".." parts are
    // dropped so that a key can never point outside the configuration folder.
    std::string_view rest = appKey;
    while (!rest.empty()) {
        const size_t cut = rest.find('\\');
        const std::string_view part = rest.substr(0, cut);
        rest = cut == std::string_view::npos ? std::string_view{} : rest.substr(cut + 1);
        if (!part.empty() && part != "." && part != ".." && part.find('/') == std::string_view::npos)
            base /= std::string(part);
    }
    return base / "settings.ini";
}

std::string GetSetting(std::string_view appKey, std::string_view section, std::string_view key,
                       std::string_view defaultValue) {
    std::error_code ec;
    if (const SharedSettings settings = Load(SettingsFilePath(appKey), ec, false)) {
        if (const Section* s = FindSection(*settings, section)) {
            for (const auto& [k, v] : s->values)
                if (text::EqualsNoCase(k, key)) return v;
        }
    }
    return std::string(defaultValue);
}

namespace {

void RemoveKey(Section& section, std::string_view key) {
    std::erase_if(section.values, [&](const auto& kv) { return text::EqualsNoCase(kv.first, key); });
}

}  // namespace

std::error_code SaveSetting(std::string_view appKey, std::string_view section, std::string_view key,
                            std::string_view value) {
    return Modify(appKey, [&](Settings& s) { Put(s, section, key, value); });
}

std::error_code SaveSettings(std::string_view appKey, std::string_view section,
                             const std::vector<std::pair<std::string, std::string>>& values) {
    return ReplaceSettings(appKey, section, values, {});
}

std::error_code ReplaceSettings(std::string_view appKey, std::string_view section,
                                const std::vector<std::pair<std::string, std::string>>& values,
                                const std::vector<std::string>& removals) {
    return Modify(appKey, [&](Settings& settings) {
        if (Section* s = FindSection(settings, section))
            for (const std::string& key : removals) RemoveKey(*s, key);
        for (const auto& [key, value] : values) Put(settings, section, key, value);
    });
}

std::error_code DeleteSetting(std::string_view appKey, std::string_view section, std::string_view key) {
    return Modify(appKey, [&](Settings& settings) {
        if (Section* s = FindSection(settings, section)) RemoveKey(*s, key);
    });
}

std::error_code DeleteSetting(std::string_view appKey, std::string_view section) {
    return Modify(appKey, [&](Settings& settings) {
        std::erase_if(settings, [&](const Section& s) { return text::EqualsNoCase(s.name, section); });
    });
}

}  // namespace platform::store
