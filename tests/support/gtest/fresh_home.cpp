// Each test case runs in a home of its own, as it does when CTest runs it
// alone: whatever one case leaves under HOME, the XDG configuration, cache and
// runtime folders or TMPDIR is gone before the next begins, so a program of
// tests also passes run whole. The XDG data folders stay the process's: the
// desktop library reads them once (tests that install applications keep a
// desktop of their own, tests/app/forms/desktop_files.h).
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

namespace {

namespace fs = std::filesystem;

const char* const kVariables[] = {"HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_RUNTIME_DIR", "TMPDIR"};

class FreshHome : public testing::EmptyTestEventListener {
    void OnTestStart(const testing::TestInfo&) override {
        saved_.clear();
        for (const char* name : kVariables) {
            const char* value = std::getenv(name);
            saved_.push_back({name, value != nullptr, value != nullptr ? value : ""});
        }
        const char* tmp = std::getenv("TMPDIR");
        std::string pattern = std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") + "/case.XXXXXX";
        if (::mkdtemp(pattern.data()) == nullptr) return;
        root_ = pattern;
        const fs::path home = root_ / "home";
        const std::pair<const char*, fs::path> folders[] = {{"HOME", home},
                                                            {"XDG_CONFIG_HOME", home / ".config"},
                                                            {"XDG_CACHE_HOME", home / ".cache"},
                                                            {"XDG_RUNTIME_DIR", root_ / "run"},
                                                            {"TMPDIR", root_ / "tmp"}};
        for (const auto& [name, folder] : folders) {
            fs::create_directories(folder);
            ::setenv(name, folder.c_str(), 1);
        }
        ::chmod((root_ / "run").c_str(), 0700);
    }

    void OnTestEnd(const testing::TestInfo&) override {
        for (const Saved& s : saved_) {
            if (s.set)
                ::setenv(s.name, s.value.c_str(), 1);
            else
                ::unsetenv(s.name);
        }
        if (root_.empty()) return;
        // A case may leave a folder without write permission behind.
        std::error_code ignored;
        for (auto it = fs::recursive_directory_iterator(root_, ignored);
             it != fs::recursive_directory_iterator(); it.increment(ignored))
            if (it->is_directory(ignored) && !it->is_symlink(ignored))
                fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ignored);
        fs::remove_all(root_, ignored);
        root_.clear();
    }

    struct Saved {
        const char* name;
        bool set;
        std::string value;
    };
    std::vector<Saved> saved_;
    fs::path root_;
};

const bool kRegistered = [] {
    testing::UnitTest::GetInstance()->listeners().Append(new FreshHome);
    return true;
}();

}  // namespace
