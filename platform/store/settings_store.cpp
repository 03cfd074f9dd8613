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
#include <utility>

#include "platform/store/atomic_file.h"
#include "platform/text/ascii_case.h"
#include "platform/text/line_ends.h"

namespace platform::store {
namespace {

constexpr std::string_view kHeader = "# Settings of ";

struct Section {
    std::string name;
    std::vector<std::pair<std::string, std::string>> values;
    // Lines of the section that read as no setting, written back as they
    // stand so that nothing a person typed is lost.
    std::vector<std::string> unread;
};
struct Settings {
    std::vector<std::string> unread;  // such lines before the first section
    std::vector<Section> sections;
};

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

// What the writer escapes comes back; a "%" that starts no escape is the
// character itself, as a person typing it means. A raw control character
// other than TAB is never written and no person types one: such a text is
// no setting.
std::optional<std::string> Unescape(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if ((c < 0x20 && c != '\t') || c == 0x7F) return std::nullopt;
        const int hi = c == '%' && i + 1 < text.size() ? HexDigit(text[i + 1]) : -1;
        const int lo = hi >= 0 && i + 2 < text.size() ? HexDigit(text[i + 2]) : -1;
        if (lo < 0) {
            out += text[i];
            continue;
        }
        out += static_cast<char>(hi * 16 + lo);
        i += 2;
    }
    return out;
}

// --- file format ----------------------------------------------------------

template <typename SettingsT>  // Settings or const Settings
auto FindSection(SettingsT& settings, std::string_view name) -> decltype(&settings.sections.front()) {
    for (auto& s : settings.sections)
        if (text::EqualsNoCase(s.name, name)) return &s;
    return nullptr;
}

// Raw blanks are the file's layout: the writer escapes those a text holds.
std::string_view TrimRaw(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

std::optional<std::string> SectionName(std::string_view line) {
    if (line.size() < 2 || line.back() != ']') return std::nullopt;
    return Unescape(TrimRaw(line.substr(1, line.size() - 2)));
}

std::optional<std::pair<std::string, std::string>> NameAndValue(std::string_view line) {
    const size_t eq = line.find('=');
    if (eq == std::string_view::npos) return std::nullopt;
    auto key = Unescape(TrimRaw(line.substr(0, eq)));
    auto value = Unescape(TrimRaw(line.substr(eq + 1)));
    if (!key || key->empty() || !value) return std::nullopt;
    return std::pair{std::move(*key), std::move(*value)};
}

// Reads what the writer writes and what a person's editor makes of it: a
// byte-order mark, LF, CR LF or CR alone as line ends, blanks and tabs around
// names and "=", no line end on the last line, a section named twice. A line
// that is no setting, comments included, stays in its section, unread; only
// the writer's own first line is left out. nullopt when no line is a setting
// while the file holds anything more: such a file is no settings file, and
// writing over it would lose what it holds.
std::optional<Settings> Parse(std::string_view text) {
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
    Settings settings;
    Section* current = nullptr;
    bool anyValue = false, anyOther = false;
    while (!text.empty()) {
        const std::string_view raw = text::NextLine(text);
        const std::string_view line = TrimRaw(raw);
        if (line.empty() || line.starts_with(kHeader)) continue;
        anyOther = true;
        if (line.front() == '[') {
            if (auto name = SectionName(line)) {
                current = FindSection(settings, *name);
                if (!current) current = &settings.sections.emplace_back(Section{std::move(*name), {}, {}});
                continue;
            }
            current = nullptr;  // what follows a broken header belongs to no section
        } else if (auto value = current && line.front() != '#' && line.front() != ';' ? NameAndValue(line)
                                                                                      : std::nullopt) {
            current->values.push_back(std::move(*value));
            anyValue = true;
            continue;
        }
        (settings.sections.empty() ? settings.unread : settings.sections.back().unread).emplace_back(raw);
    }
    if (anyOther && !anyValue) return std::nullopt;
    return settings;
}

std::string Serialize(std::string_view appKey, const Settings& settings) {
    std::string out(kHeader);
    out += appKey;
    out += '\n';
    for (const std::string& line : settings.unread) out += line + '\n';
    for (const Section& section : settings.sections) {
        if (section.values.empty() && section.unread.empty()) continue;
        out += '[' + Escape(section.name) + "]\n";
        for (const auto& [key, value] : section.values) out += Escape(key) + '=' + Escape(value) + '\n';
        for (const std::string& line : section.unread) out += line + '\n';
    }
    return out;
}

void Put(Settings& settings, std::string_view section, std::string_view key, std::string_view value) {
    Section* s = FindSection(settings, section);
    if (!s) s = &settings.sections.emplace_back(Section{std::string(section), {}, {}});
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
// Files set aside and not yet taken by TakeSetAsideFiles; a file that stays
// in place is listed once only, though every read meets it again.
std::vector<SetAsideFile> gSetAside;
std::vector<std::filesystem::path> gListedUnmoved;

void List(SetAsideFile file) {
    const std::lock_guard lock(gMutex);
    if (file.copy.empty()) {
        if (std::find(gListedUnmoved.begin(), gListedUnmoved.end(), file.file) != gListedUnmoved.end())
            return;
        gListedUnmoved.push_back(file.file);
    }
    gSetAside.push_back(std::move(file));
}

// Moves a damaged file aside under a name that no other file has; link()
// never replaces an existing name, so nothing is lost even in a race. Through
// a symbolic link the link's target is moved, so the link stays and the next
// write creates its target afresh. An error says why no copy could be made:
// the file must then stay as it is. copy is the new name of the file.
std::error_code SetAside(const std::filesystem::path& path, std::filesystem::path& copy) {
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
            copy = target;
            return {};
        }
        if (errno != EEXIST) return {errno, std::generic_category()};
    }
    return std::make_error_code(std::errc::file_exists);
}

SharedSettings NoSettings() { return std::make_shared<const Settings>(); }

// A file that exists but cannot be read: listed so that its owner is told,
// and an error (null) so that a write never replaces values it could not see.
SharedSettings Unreadable(const std::filesystem::path& file, std::error_code ec) {
    List({file, {}, ec, true});
    return nullptr;
}

// The current settings, or null for a file that exists but cannot be read.
// A file over the size limit counts as damaged: nothing of it is read.
SharedSettings Load(const std::filesystem::path& file, std::error_code& ec, bool locked) {
    const auto identity = IdentityOf(file, ec);
    if (!identity) {
        if (ec) return Unreadable(file, ec);
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
    if (!version && ec != FileError::TooLarge) return Unreadable(file, ec);
    auto parsed = version ? Parse(version->content) : std::nullopt;
    if (!parsed) {
        if (!locked) {
            // Re-check under the lock: a writer may just have replaced the file.
            const FileLock lock(file);
            if (lock.error()) return NoSettings();
            return Load(file, ec, true);
        }
        // Reading then gives the defaults; a write must not replace the only copy.
        std::filesystem::path copy;
        ec = SetAside(file, copy);
        List({file, copy, ec, false});
        return ec ? nullptr : NoSettings();
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

std::vector<std::string> SettingNames(std::string_view appKey, std::string_view section) {
    std::vector<std::string> names;
    std::error_code ec;
    if (const SharedSettings settings = Load(SettingsFilePath(appKey), ec, false)) {
        if (const Section* s = FindSection(*settings, section)) {
            names.reserve(s->values.size());
            for (const auto& value : s->values) names.push_back(value.first);
        }
    }
    return names;
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

std::vector<SetAsideFile> TakeSetAsideFiles() {
    const std::lock_guard lock(gMutex);
    return std::exchange(gSetAside, {});
}

std::error_code DeleteSetting(std::string_view appKey, std::string_view section) {
    return Modify(appKey, [&](Settings& settings) {
        std::erase_if(settings.sections,
                      [&](const Section& s) { return text::EqualsNoCase(s.name, section); });
    });
}

}  // namespace platform::store
